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

struct LitPixels {
    int count = 0, black = 0;
    int minX = kFrameWidth, minY = kFrameHeight, maxX = -1, maxY = -1;
};

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
    static LitPixels Scan() {
        std::vector<unsigned char> rgb(std::size_t(kFrameWidth) * kFrameHeight * 3);
        glFinish();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kFrameWidth, kFrameHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        LitPixels lit;
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x < kFrameWidth; ++x) {
                const unsigned char* p = &rgb[(std::size_t(y) * kFrameWidth + x) * 3];
                lit.black += p[0] < 40 && p[1] < 40 && p[2] < 40;
                if (p[0] < 200 || p[1] < 200 || p[2] < 200) continue;
                lit.count += 1;
                lit.minX = std::min(lit.minX, x), lit.maxX = std::max(lit.maxX, x);
                lit.minY = std::min(lit.minY, y), lit.maxY = std::max(lit.maxY, y);
            }
        }
        return lit;
    }
};

TEST_F(GdiText, NoticeGlyphsStartJustRightOfAndAboveTheProjectedPoint) {
    DrawGLText(kNotice, 10, -5.5f, 3.6f, 1.0f, 1.0f, 1.0f);
    SaveShot("gdi-notice");
    const LitPixels lit = Scan();
    const ScreenPoint start = Project(-5.5f, 3.6f, -10.0f);
    EXPECT_GT(lit.count, 150);
    EXPECT_EQ(lit.black, 0);
    EXPECT_GE(lit.minX, start.x);
    EXPECT_LE(lit.minX, start.x + 4);
    EXPECT_GE(lit.minY, start.y);
    EXPECT_LE(lit.minY, start.y + 6);
    // One line of 14-pixel characters: seven wide ones and "[M]".
    EXPECT_LE(lit.maxY, start.y + 20);
    EXPECT_GE(lit.maxX, start.x + 100);
    EXPECT_LE(lit.maxX, start.x + 10 * 16);
}

TEST_F(GdiText, StartOutsideTheViewDrawsNothingAtAll) {
    // Just left of the view, and just above it: the rest of each line would be visible.
    DrawGLText(kNotice, 10, -5.6f, 3.6f, 1.0f, 1.0f, 1.0f);
    DrawGLText(kNotice, 10, 0.0f, 4.2f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(Scan().count, 0);
}

TEST_F(GdiText, LineRunningPastTheRightEdgeIsClippedThere) {
    DrawGLText(kNotice, 10, 5.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    const LitPixels lit = Scan();
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
