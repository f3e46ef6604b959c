// The real GDI text under Wine: where the glyph pixels land against the
// projection, that nothing is drawn from a start outside the view, clipping at
// the window's edge, no background box, and the font's release by GLFont.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "RenderTestKit.h"
#include "render/GL.h"
#include "render/Render.h"
#include "state/GameState.h"

namespace {

const char16_t kNotice[] = u"声音关闭[M]键切换";

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
    // Just left of the view, and just above it: the rest of each line would be visible.
    DrawGLText(kNotice, 10, -5.6f, 3.6f, 1.0f, 1.0f, 1.0f);
    DrawGLText(kNotice, 10, 0.0f, 4.2f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(ScanLitPixels().count, 0);
}

TEST_F(GdiText, LineRunningPastTheRightEdgeIsClippedThere) {
    DrawGLText(kNotice, 10, 5.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    const LitPixels lit = ScanLitPixels();
    EXPECT_GE(lit.minX, Project(5.0f, 0.0f, -10.0f).x);
    EXPECT_GE(lit.maxX, kFrameWidth - 4);
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
