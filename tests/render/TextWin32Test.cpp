// The real GDI text under Wine: where the glyph pixels land against the
// projection, that nothing is drawn from a start outside the view, clipping at
// the window's edge, no background box, and the font's release by GLFont.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "RenderTestKit.h"
#include "render/GL.h"
#include "render/Render.h"
#include "render/TextWin32.h"
#include "state/GameState.h"

namespace {

class GdiText : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        OpenTestContext();
        ResizeScene(kFrameWidth, kFrameHeight);
        // Grey, so a background box drawn with the glyphs would show as black.
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
};

TEST_F(GdiText, NoticeGlyphsStartJustRightOfAndAboveTheProjectedPoint) {
    ExpectNoticeAtItsProjectedPoint("gdi-notice");
}

TEST_F(GdiText, StartOutsideTheViewDrawsNothingAtAll) {
    ExpectNothingFromAStartOutsideTheView();
}

TEST_F(GdiText, LineRunningPastTheRightEdgeIsClippedThere) {
    ExpectLineClippedAtTheRightEdge();
}

TEST(GameFont, GLFontDestructorDeletesTheFont) {
    HFONT font = CreateGameFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(GetObjectType(font), DWORD(OBJ_FONT));
    gameState.hFont = font;
    { GLFont another; }
    EXPECT_EQ(GetObjectType(font), 0u);
    gameState.hFont = nullptr;  // the global instance deletes it again at exit otherwise
}

}  // namespace
