// Whole frames on the host, read back pixel by pixel: each object of the play
// field, the menu, the help and credits screens where the position tables put
// it, the screens chosen in their order, and the text lines asked for.
#include <cstring>
#include <ostream>
#include <string>

#include "RenderTestKit.h"
#include "game/GameRules.h"
#include "game/Shapes.h"
#include "render/GL.h"
#include "render/Render.h"
#include "state/GameState.h"
#include "support/TextDouble.h"

namespace {

const std::u16string kNotice = u"声音关闭[M]键切换";

class Frames : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        UseArchive(TestArchiveEntries());
        ASSERT_EQ(InitGL(), 1);
        NewGame();
        gameState.soundOn = true;
        gameState.fieldVisible = true;
        gameState.pieceColumn = 5;
        gameState.pieceRow = 1;
        gameState.pieceOrientation = 0;                         // flat I: slot 1
        std::memcpy(gameState.nextPreview, ShapeTable[3], 16);  // T: slot 4
        BoardCell(gameState.board, 3, 20) = 6;                  // a settled O block: slot 5
        textCalls.clear();
    }
    void Draw(const std::string& shot) {
        DrawFrame();
        glFinish();
        SaveShot(shot);
    }
    // Slot seen at board cell (c, r) of a field whose origin is (ox, oy, oz), turned 0 or 180 degrees.
    static int CellSlot(int c, int r, float ox = -5, float oy = 20, float oz = -60, bool turned = false) {
        const float x = turned ? ox - 2.0f * c : ox + 2.0f * c;
        return FaceSlot(x, oy - 2.0f * r, oz);
    }
};

TEST_F(Frames, PlayFieldObjectsStandWhereTheTableSays) {
    Draw("play");
    for (int c = 5; c <= 8; ++c) EXPECT_EQ(CellSlot(c, 1), 1) << "piece cell " << c;
    EXPECT_EQ(CellSlot(9, 1), kBlack);
    for (int r : {0, 10, 21}) {
        EXPECT_EQ(CellSlot(0, r), 0) << "left wall " << r;
        EXPECT_EQ(CellSlot(11, r), 0) << "right wall " << r;
    }
    EXPECT_EQ(CellSlot(6, 0), 0);   // ceiling
    EXPECT_EQ(CellSlot(6, 21), 0);  // floor
    EXPECT_EQ(CellSlot(3, 20), 5);
    EXPECT_EQ(CellSlot(12, 10), kBlack);
    // The T preview: frame cells (1, 0), (0, 1), (1, 1), (1, 2).
    EXPECT_EQ(FaceSlot(-16, 16, -60), 4);
    EXPECT_EQ(FaceSlot(-18, 14, -60), 4);
    EXPECT_EQ(FaceSlot(-16, 12, -60), 4);
    EXPECT_EQ(FaceSlot(-18, 16, -60), kBlack);
    EXPECT_EQ(FaceSlot(-18, 6, -60), 8);
    EXPECT_EQ(FaceSlot(-14, 6, -60), 9);
    EXPECT_EQ(FaceSlot(-16, 2, -60), 10);
    EXPECT_EQ(FaceSlot(-16, -2, -60), kBlack);
    // No grid outside challenge mode, and sound on means no notice.
    EXPECT_FALSE(LineNear(Project(-2, 0, -59), true, 0));
    EXPECT_TRUE(textCalls.empty());
}

TEST_F(Frames, HiddenChallengeShowsGridPreviewPicturesLampsAndPieceButNoBlocks) {
    gameState.challengeMode = true;
    gameState.fieldVisible = false;
    const bool reached[7] = {true, false, true, false, false, false, true};
    std::memcpy(gameState.levelReached, reached, sizeof reached);
    // Whatever the previous frame left bound tints the grid.
    glBindTexture(GL_TEXTURE_2D, gameState.textureIds[7]);
    Draw("challenge-hidden");

    EXPECT_EQ(CellSlot(0, 10), kBlack);
    EXPECT_EQ(CellSlot(11, 10), kBlack);
    EXPECT_EQ(CellSlot(6, 21), kBlack);
    EXPECT_EQ(CellSlot(3, 20), kBlack);
    EXPECT_EQ(CellSlot(5, 1), 1);
    EXPECT_EQ(FaceSlot(-16, 16, -60), 4);
    EXPECT_EQ(FaceSlot(-18, 6, -60), 8);
    EXPECT_EQ(FaceSlot(-14, 6, -60), 9);
    // Lamps stack downwards from level 1 at 4-unit steps, lit by levelReached.
    for (int n = 1; n <= 7; ++n) {
        EXPECT_EQ(FaceSlot(-16, 6.0f - 4 * n, -60), reached[n - 1] ? 9 + n : kBlack) << "lamp " << n;
    }
    // Grid lines on the well's outer edges, none a cell further out.
    EXPECT_TRUE(LineNear(Project(-4, 0, -59), true, 7));     // left edge of column 1
    EXPECT_TRUE(LineNear(Project(16, 0, -59), true, 7));     // right edge of column 10
    EXPECT_TRUE(LineNear(Project(1, 19, -59), false, 7));    // top edge of row 1
    EXPECT_TRUE(LineNear(Project(15, -21, -59), false, 7));  // bottom edge of row 20
    EXPECT_FALSE(LineNear(Project(-6, 0, -59), true, 7));
    EXPECT_FALSE(LineNear(Project(18, 0, -59), true, 7));
    EXPECT_FALSE(LineNear(Project(1, 21, -59), false, 7));
    EXPECT_FALSE(LineNear(Project(15, -23, -59), false, 7));
    EXPECT_EQ(SlotAt(Project(3, 0, -59)), kBlack);  // inside a cell
}

TEST_F(Frames, HiddenMenuEntryLeavesAGapAndTheOthersKeepTheirPlaces) {
    gameState.menuOpen = true;
    const bool blink[4] = {true, false, true, true};
    std::memcpy(gameState.menuBlink, blink, sizeof blink);
    Draw("menu");
    const int left[4] = {19, kBlack, 17, 21};
    const int right[4] = {20, kBlack, 18, 22};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(FaceSlot(-10, 8.0f - 3 * k, -25), left[k - 1]) << "entry " << k;
        EXPECT_EQ(FaceSlot(-8, 8.0f - 3 * k, -25), right[k - 1]) << "entry " << k;
    }
}

// Where the field stands and how it turns, for the two reasons it spins.
struct Placement {
    const char* what;
    bool menuOpen, windowInactive;
    float spinAngle;
    float originX, originZ;
    bool turned;
};

// Test listings show the case's name instead of the record's bytes.
void PrintTo(const Placement& p, std::ostream* os) {
    *os << p.what;
}

class FieldPlacement : public Frames, public ::testing::WithParamInterface<Placement> {};

TEST_P(FieldPlacement, FieldTurnsAboutBoardCellZeroZero) {
    const Placement& p = GetParam();
    gameState.menuOpen = p.menuOpen;
    gameState.windowInactive = p.windowInactive;
    gameState.spinAngle = p.spinAngle;
    Draw(std::string("field-") + p.what);
    // Cell (0, r) is on the axis and stays put; the rest swings round it.
    EXPECT_EQ(CellSlot(0, 20, p.originX, 20, p.originZ, p.turned), 0);
    EXPECT_EQ(CellSlot(11, 10, p.originX, 20, p.originZ, p.turned), 0);
    EXPECT_EQ(CellSlot(5, 1, p.originX, 20, p.originZ, p.turned), 1);
    EXPECT_EQ(CellSlot(8, 1, p.originX, 20, p.originZ, p.turned), 1);
}

INSTANTIATE_TEST_SUITE_P(Spin, FieldPlacement,
                         ::testing::Values(Placement{"Active", false, false, 180.0f, -5, -60, false},
                                           Placement{"Inactive", false, true, 180.0f, -5, -60, true},
                                           Placement{"Menu", true, false, 0.0f, 7, -65, false},
                                           Placement{"MenuTurned", true, false, 180.0f, 7, -65, true}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(Frames, HelpScreenReplacesEverythingAndItsPieceTurnsAboutItsPivot) {
    // Character counts and raster positions of the sixteen fixed lines, then the two credit lines.
    const std::size_t characters[16] = {6, 5, 9, 7, 10, 10, 10, 10, 9, 12, 13, 5, 32, 44, 20, 20};
    const float x[18] = {-0.8f, -1.2f, -0.8f, -0.8f, -0.8f, -0.8f, -0.8f, -0.8f, -0.8f,
                         -0.8f, -0.8f, -1.2f, -2.5f, -2.5f, -1.5f, -1.5f, -1.4f, -1.2f};
    const float y[18] = {3.0f, 2.6f, 2.4f, 2.2f, 2.0f, 1.8f,  1.6f,  1.4f,  1.2f,
                         1.0f, 0.8f, 0.4f, 0.2f, 0.0f, -0.2f, -0.4f, -3.0f, -3.4f};
    gameState.helpOpen = true;
    gameState.menuOpen = true;
    gameState.menuBlink[0] = true;
    gameState.soundOn = false;
    const float colour[3] = {0.5f, 0.25f, 0.75f};
    std::memcpy(gameState.helpTextColor, colour, sizeof colour);
    Draw("help");

    ASSERT_EQ(textCalls.size(), 19u);
    EXPECT_EQ(textCalls[0].text, kNotice);
    EXPECT_EQ(textCalls[1].text, u"Kolvex");
    for (std::size_t i = 0; i < 18; ++i) {
        const TextCall& call = textCalls[i + 1];
        SCOPED_TRACE(i + 1);
        if (i < 16) {
            EXPECT_EQ(call.text.size(), characters[i]);
        }
        EXPECT_FLOAT_EQ(call.x, x[i]);
        EXPECT_FLOAT_EQ(call.y, y[i]);
        // Punctuation and spaces are ASCII throughout, never their full-width forms.
        for (char16_t ch : call.text) EXPECT_FALSE(ch == u'\u3000' || (ch >= u'\uFF00' && ch <= u'\uFF65'));
        EXPECT_EQ(call.red, colour[0]);
        EXPECT_EQ(call.green, colour[1]);
        EXPECT_EQ(call.blue, colour[2]);
    }
    EXPECT_NE(textCalls[17].text.find(u"Kolvex"), std::u16string::npos);  // the credits name the game

    // The flat I in frame row 0 from the pivot, in its own colours (white again after the text).
    for (int i = 0; i < 4; ++i) EXPECT_EQ(FaceSlot(-2.0f + 2 * i, -9.5f, -60), 1) << i;
    EXPECT_EQ(CellSlot(11, 20), kBlack);
    EXPECT_EQ(CellSlot(5, 1), kBlack);
    EXPECT_EQ(FaceSlot(-10, 5, -25), kBlack);

    // x first, then y, each on the right: the row swings up above the pivot
    // (the other order would send it straight back behind the pivot).
    gameState.helpTilt[0] = 90.0f;
    gameState.helpTilt[1] = 90.0f;
    Draw("help-tilted");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(FaceSlot(-2.0f, -9.5f + 2 * i, -60), 1) << i;
    EXPECT_EQ(FaceSlot(0.0f, -9.5f, -60), kBlack);

    gameState.helpTilt[0] = gameState.helpTilt[1] = 0.0f;
    gameState.helpShapeIndex = 7;  // the upright I, in frame column 1
    Draw("help-upright");
    for (int j = 0; j < 4; ++j) EXPECT_EQ(FaceSlot(0.0f, -9.5f - 2 * j, -60), 1) << j;
    EXPECT_EQ(FaceSlot(-2.0f, -9.5f, -60), kBlack);
}

TEST_F(Frames, CreditsPictureReplacesEveryOtherScreenWhileQAndVAreHeld) {
    gameState.keyDown[0x51] = gameState.keyDown[0x56] = 1;
    gameState.helpOpen = true;
    gameState.menuOpen = true;
    gameState.soundOn = false;
    Draw("credits");
    ASSERT_EQ(textCalls.size(), 1u);
    const int slots[6] = {23, 24, 25, 26, 27, 28};
    for (int t = 0; t < 6; ++t) {
        EXPECT_EQ(FaceSlot(-2.0f + 2 * (t % 3), t < 3 ? 0.9f : -1.1f, -7), slots[t]) << "tile " << t + 1;
    }
    // Letting go of V brings the help screen back.
    gameState.keyDown[0x56] = 0;
    textCalls.clear();
    Draw("credits-released");
    EXPECT_EQ(textCalls.size(), 19u);
    EXPECT_EQ(FaceSlot(-2.0f, 0.9f, -7), kBlack);
}

TEST_F(Frames, SoundOffNoticeComesFirstOnEveryScreen) {
    gameState.soundOn = false;
    for (int screen = 0; screen < 4; ++screen) {
        gameState.menuOpen = screen == 1;
        gameState.helpOpen = screen == 2;
        gameState.keyDown[0x51] = gameState.keyDown[0x56] = screen == 3;
        textCalls.clear();
        Draw("notice-" + std::to_string(screen));
        ASSERT_FALSE(textCalls.empty()) << screen;
        const TextCall& notice = textCalls[0];
        EXPECT_EQ(notice.text, kNotice);
        EXPECT_FLOAT_EQ(notice.x, -5.5f);
        EXPECT_FLOAT_EQ(notice.y, 3.6f);
        EXPECT_EQ(notice.red, 1.0f);
        EXPECT_EQ(notice.green, 1.0f);
        EXPECT_EQ(notice.blue, 1.0f);
    }
}

}  // namespace
