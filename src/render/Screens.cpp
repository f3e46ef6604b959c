// The three screens besides the play field: the blinking menu, the help
// screen (its lines laid out for the chosen language) with its turning
// demonstration piece, and the credits picture.
// DrawFrame calls them; they only draw what the game record holds.
#include <cstddef>
#include <string_view>
#include <vector>

#include "game/Shapes.h"
#include "render/GL.h"
#include "render/Language.h"
#include "render/Render.h"
#include "state/GameState.h"

namespace {

// Colons, commas, full stops, hyphens, brackets and slashes are ASCII on purpose.
constexpr HelpLine kHelpLines[] = {
    {u"Kolvex", -0.8f, 3.0f},
    // TRANSLATORS: the help screen's heading over the keys ("controls:").
    {TextMark(u"操作说明:"), -1.2f, 2.6f},
    // TRANSLATORS: help screen, the keys: "Esc key -- menu".
    {TextMark(u"ESC 键--菜单"), -0.8f, 2.4f},
    // TRANSLATORS: help screen, the keys: "Enter key -- choose" (in the menu).
    {TextMark(u"回车键--确定"), -0.8f, 2.2f},
    // TRANSLATORS: help screen, the keys: "Up arrow -- turn the piece".
    {TextMark(u"上方向键--改变形状"), -0.8f, 2.0f},
    // TRANSLATORS: help screen, the keys: "Left arrow -- move left".
    {TextMark(u"左方向键--向左移动"), -0.8f, 1.8f},
    // TRANSLATORS: help screen, the keys: "Right arrow -- move right".
    {TextMark(u"右方向键--向右移动"), -0.8f, 1.6f},
    // TRANSLATORS: help screen, the keys: "Down arrow -- move down".
    {TextMark(u"下方向键--向下移动"), -0.8f, 1.4f},
    // TRANSLATORS: help screen, the keys: "Space -- drop to the bottom".
    {TextMark(u"空格键--直接到底"), -0.8f, 1.2f},
    // TRANSLATORS: help screen, the keys: "[M] key -- sound effects on and off".
    {TextMark(u"[M]键--声效开关切换"), -0.8f, 1.0f},
    // TRANSLATORS: help screen, under the [M] line, in brackets: "(with the
    // sound off, the top left corner says so)".
    {TextMark(u"(声音关闭后左上角会显示)"), -0.8f, 0.8f},
    // TRANSLATORS: the help screen's heading over the rules ("the rules:").
    {TextMark(u"设定介绍:"), -1.2f, 0.4f},
    // TRANSLATORS: help screen, the rules: "7 levels in all; each level falls
    // faster; clearing enough rows raises the level."
    {TextMark(u"一共7个等级,随等级增加下落速度也增加,消行满一定数会增加等级."), -2.5f, 0.2f},
    // TRANSLATORS: help screen, the rules: the rows cleared that reach each
    // level ("level 2 - 10 rows", ...). Keep the numbers.
    {TextMark(u"2级-10行 3级-30行 4级-60行 5级-100行 6级-150行 7级-210行"), -2.5f, 0.0f},
    // TRANSLATORS: help screen, the rules: the menu's first game, "classic
    // mode" -- played the traditional way. Name it as the menu's banner does.
    {TextMark(u"\"经典模式\"---传统模式的方式进行游戏"), -1.5f, -0.2f},
    // TRANSLATORS: help screen, the rules: the menu's second game, "challenge
    // mode" -- adds hiding and showing the settled blocks in turn.
    {TextMark(u"\"挑战模式\"---追加 隐藏/显示 切换"), -1.5f, -0.4f},
    // TRANSLATORS: help screen, the credits at the bottom: "Kolvex" programming:
    // the Kolvex developers.
    {TextMark(u"\"Kolvex\" 程序设计: Kolvex 开发组"), -1.4f, -3.0f},
    // TRANSLATORS: help screen, the credits at the bottom: pictures and sounds:
    // the Kolvex artists.
    {TextMark(u"图片/音效: Kolvex 美术组"), -1.2f, -3.4f},
};

// Pixels per unit of the text plane (10 units in front of the eye, a 45
// degree view) in the 800 x 600 picture, whose middle is x = 0.
constexpr float kTextPlanePixels = 300.0f / (10.0f * 0.41421356f);

// How many characters of `text` go on a line with `room` pixels: all that fit,
// back to the last space among them if there is one; never none, and never
// half of a surrogate pair.
std::size_t PieceThatFits(std::u16string_view text, float room) {
    if (float(TextWidth(text.data(), int(text.size()))) <= room) return text.size();
    std::size_t fits = 1;
    while (fits < text.size() && float(TextWidth(text.data(), int(fits + 1))) <= room) ++fits;
    if (fits < text.size() && text[fits - 1] >= 0xD800 && text[fits - 1] < 0xDC00 && fits > 1) --fits;
    const std::size_t space = text.substr(0, fits + 1).find_last_of(u' ');
    return space != std::u16string_view::npos && space > 0 ? space : fits;
}

}  // namespace

std::span<const HelpLine> HelpLines() {
    return kHelpLines;
}

float HelpLineStart(const HelpLine& line) {
    return 400.0f + line.x * kTextPlanePixels;
}

std::vector<HelpLine> HelpLayout() {
    std::vector<HelpLine> laid;
    for (const HelpLine& line : kHelpLines) {
        std::u16string_view text = LocalText(line.text);
        // Below the last piece laid, if that went lower than this line's place.
        float y = line.y;
        if (!laid.empty() && laid.back().y - kHelpLinePitch < y - 0.01f) y = laid.back().y - kHelpLinePitch;
        // The game's own lines are known to fit: they are never measured, so
        // the Windows program draws its frames exactly as it always has.
        if (text.data() == line.text.data()) {
            laid.push_back({text, line.x, y});
            continue;
        }
        const float room = kHelpRightEdge - HelpLineStart(line);
        while (!text.empty()) {
            const std::size_t piece = PieceThatFits(text, room);
            laid.push_back({text.substr(0, piece), line.x, y});
            text.remove_prefix(piece);
            while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
            y -= kHelpLinePitch;
        }
    }
    return laid;
}

void DrawMenu() {
    // Every translation is made whether or not its entry shows, so a hidden
    // entry leaves a gap and the others stay put.
    glTranslatef(-10.0f, 5.0f, -25.0f);
    if (gameState.menuBlink[0]) glCallList(20);
    glTranslatef(2.0f, 0.0f, 0.0f);
    if (gameState.menuBlink[0]) glCallList(21);

    glTranslatef(-2.0f, -3.0f, 0.0f);
    if (gameState.menuBlink[1]) glCallList(30);
    glTranslatef(2.0f, 0.0f, 0.0f);
    if (gameState.menuBlink[1]) glCallList(21);

    glTranslatef(-2.0f, -3.0f, 0.0f);
    if (gameState.menuBlink[2]) glCallList(18);
    glTranslatef(2.0f, 0.0f, 0.0f);
    if (gameState.menuBlink[2]) glCallList(19);

    glTranslatef(-2.0f, -3.0f, 0.0f);
    if (gameState.menuBlink[3]) glCallList(22);
    glTranslatef(2.0f, 0.0f, 0.0f);
    if (gameState.menuBlink[3]) glCallList(23);

    // Net (12, 0, -5): the field behind the menu stands right of it and farther back.
    glTranslatef(20.0f, 4.0f, 20.0f);
}

void DrawHelp() {
    const float* color = gameState.helpTextColor;
    for (const HelpLine& line : HelpLayout())
        DrawGLText(line.text.data(), int(line.text.size()), line.x, line.y, color[0], color[1], color[2]);
    // The text left the identity matrix and its own colour behind.
    glColor3f(1.0f, 1.0f, 1.0f);
    glTranslatef(-2.0f, -9.5f, -60.0f);
    glRotatef(gameState.helpTilt[0], 1.0f, 0.0f, 0.0f);
    glRotatef(gameState.helpTilt[1], 0.0f, 1.0f, 0.0f);
    glRotatef(gameState.helpTilt[2], 0.0f, 0.0f, 1.0f);
    DrawShapeFrame(ShapeTable[gameState.helpShapeIndex]);
}

void DrawCredits() {
    glColor3f(1.0f, 1.0f, 1.0f);
    glTranslatef(-2.0f, 0.9f, -7.0f);
    glCallList(24);
    glTranslatef(2.0f, 0.0f, 0.0f);
    glCallList(25);
    glTranslatef(2.0f, 0.0f, 0.0f);
    glCallList(26);
    glTranslatef(-4.0f, -2.0f, 0.0f);
    glCallList(27);
    glTranslatef(2.0f, 0.0f, 0.0f);
    glCallList(28);
    glTranslatef(2.0f, 0.0f, 0.0f);
    glCallList(29);
}
