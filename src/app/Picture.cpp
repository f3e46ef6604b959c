// The comparison behind PictureDiffers: the fields DrawFrame and the screens
// read, screen by screen, and nothing else (a menu blink while playing, the
// gravity timers' bookkeeping, the keys held). Kept in step with Frame.cpp
// and Screens.cpp (src/render): a field a screen starts to read must be
// compared here too.
#include "app/Picture.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "app/Keys.h"

namespace {

bool CreditsShown(const GameState& state) {
    return state.keyDown[kKeyQ] && state.keyDown[kKeyV];
}

bool FieldSpins(const GameState& state) {
    return state.windowInactive || state.menuOpen;
}

template <typename T, std::size_t N>
bool Differ(const T (&a)[N], const T (&b)[N]) {
    return !std::equal(std::begin(a), std::end(a), std::begin(b));
}

bool HelpDiffers(const GameState& a, const GameState& b) {
    return a.helpShapeIndex != b.helpShapeIndex || Differ(a.helpTextColor, b.helpTextColor) ||
           Differ(a.helpTilt, b.helpTilt);
}

bool FieldDiffers(const GameState& a, const GameState& b) {
    if (FieldSpins(a) != FieldSpins(b) || (FieldSpins(b) && a.spinAngle != b.spinAngle)) return true;
    // An invisible field draws no cells, whatever they hold.
    if (a.fieldVisible != b.fieldVisible ||
        (b.fieldVisible && std::memcmp(a.board.cells, b.board.cells, sizeof a.board.cells) != 0))
        return true;
    return a.challengeMode != b.challengeMode || Differ(a.nextPreview, b.nextPreview) ||
           Differ(a.levelReached, b.levelReached) || a.pieceColumn != b.pieceColumn || a.pieceRow != b.pieceRow ||
           a.pieceOrientation != b.pieceOrientation;
}

}  // namespace

bool PictureDiffers(const GameState& shown, const GameState& now) {
    if (shown.soundOn != now.soundOn || CreditsShown(shown) != CreditsShown(now)) return true;
    if (CreditsShown(now)) return false;  // one still picture
    if (shown.helpOpen != now.helpOpen) return true;
    if (now.helpOpen) return HelpDiffers(shown, now);
    if (shown.menuOpen != now.menuOpen || (now.menuOpen && Differ(shown.menuBlink, now.menuBlink))) return true;
    return FieldDiffers(shown, now);
}
