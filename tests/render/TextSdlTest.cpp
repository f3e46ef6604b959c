// The native game's real text path drawn into OSMesa: the face it finds (or,
// when that file is broken, another), where the glyph pixels land against the
// projection, upright and unmirrored rows, nothing from a start outside the
// view, clipping at the window's edge. Also the message box's fallback when
// there is no display.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "RenderTestKit.h"
#include "render/GL.h"
#include "render/MessageBoxSdl.h"
#include "render/Render.h"
#include "render/TextSdl.h"

namespace {

class SdlText : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        ASSERT_TRUE(OpenGameFont());
        OpenTestContext();
        ResizeScene(kFrameWidth, kFrameHeight);
        // Grey, so a background box drawn with the glyphs would show as black.
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override {
        SetTextScale(1.0);
        CloseGameFont();
        RenderTest::TearDown();
    }
};

TEST_F(SdlText, NoticeGlyphsStartJustRightOfAndAboveTheProjectedPoint) {
    ExpectNoticeAtItsProjectedPoint("sdl-notice");
}

TEST_F(SdlText, ChineseGlyphsAreAsHighAsTheCharacterHeight) {
    // The face matched by character height: a 14-pixel em, not a 14-pixel cell.
    DrawGLText(u"声音关闭", 4, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    const LitPixels lit = ScanLitPixels();
    EXPECT_GE(lit.maxY - lit.minY + 1, 12);
    EXPECT_LE(lit.maxY - lit.minY + 1, 14);
    EXPECT_GE(lit.maxX - lit.minX + 1, 4 * 12);
    EXPECT_LE(lit.maxX - lit.minX + 1, 4 * 14);
}

TEST_F(SdlText, ALineKeptAtOneScaleIsRasterisedAfreshAtTheNext) {
    // A full-screen picture letters at its own size, not with the lines the window kept.
    auto height = [] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawGLText(u"声音关闭", 4, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f);
        const LitPixels lit = ScanLitPixels();
        return lit.maxY - lit.minY + 1;
    };
    const int window = height();
    SetTextScale(1.8);
    const int fullScreen = height();
    SetTextScale(1.0);
    EXPECT_EQ(height(), window);
    EXPECT_GE(fullScreen, window * 17 / 10);
}

TEST_F(SdlText, AKeptLineDrawsExactlyThePixelsGlBitmapDoes) {
    // Kept lines are drawn as textures; a texel off by one would blur or shift the glyphs.
    auto frame = [] {
        std::vector<unsigned char> pixels(std::size_t(kFrameWidth) * kFrameHeight * 3);
        glReadPixels(0, 0, kFrameWidth, kFrameHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return pixels;
    };
    const std::u16string lines[] = {u"声音关闭[M]键切换", u"2级-10行 3级-30行 4级-60行 5级-100行 6级-150行 7级-210行"};
    for (const std::u16string& line : lines) {
        for (const float x : {-2.5f, -0.83f, 3.9f}) {
            const TextBitmap bitmap = RasteriseText(line.data(), int(line.size()));
            DrawTextBitmap(bitmap.stride, bitmap.height, bitmap.rows.data(), x, 1.03f, 1.0f, 0.5f, 0.25f);
            const std::vector<unsigned char> byBitmap = frame();
            DrawGLText(line.data(), int(line.size()), x, 1.03f, 1.0f, 0.5f, 0.25f);
            DrawGLText(line.data(), int(line.size()), x, 1.03f, 1.0f, 0.5f, 0.25f);  // kept, drawn again
            EXPECT_TRUE(byBitmap == frame()) << "at x " << x;
        }
    }
}

TEST_F(SdlText, GlyphsAreUprightAndUnmirrored) {
    // "L" has its fullest column on the left and its fullest row at the bottom.
    DrawGLText(u"L", 1, -2.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    const LitPixels lit = ScanLitPixels();
    auto fullest = [](const std::map<int, int>& counts) {
        return std::max_element(counts.begin(), counts.end(), [](auto a, auto b) { return a.second < b.second; })
            ->first;
    };
    EXPECT_LE(fullest(lit.perColumn), lit.minX + 1);
    EXPECT_LE(fullest(lit.perRow), lit.minY + 1);
}

TEST_F(SdlText, StartOutsideTheViewDrawsNothingAtAll) {
    ExpectNothingFromAStartOutsideTheView();
}

TEST_F(SdlText, LineRunningPastTheRightEdgeIsClippedThere) {
    ExpectLineClippedAtTheRightEdge();
}

// The file fontconfig's current configuration matches for a Chinese "Terminal".
std::string MatchedFile() {
    FcConfig* config = FcInitLoadConfigAndFonts();
    FcPattern* request = FcNameParse(reinterpret_cast<const FcChar8*>("Terminal:lang=zh-cn"));
    FcConfigSubstitute(config, request, FcMatchPattern);
    FcDefaultSubstitute(request);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, request, &result);
    FcChar8* file = nullptr;
    std::string path;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        path = reinterpret_cast<const char*>(file);
    if (match != nullptr) FcPatternDestroy(match);
    FcPatternDestroy(request);
    FcConfigDestroy(config);
    return path;
}

TEST_F(SdlText, WhenTheMatchedFaceFileIsBrokenAnotherFaceDrawsTheText) {
    CloseGameFont();
    // A configuration of two copies of the system's face; the copy matched
    // is then overwritten in place, as a damaged install would leave it.
    // fontconfig keeps offering it from its cache, which the folder's
    // unchanged time keeps valid.
    const std::string system = MatchedFile();
    ASSERT_FALSE(system.empty());
    const std::filesystem::path fonts = folder / "fonts";
    std::filesystem::create_directories(fonts);
    std::filesystem::copy_file(system, fonts / "one.ttc");
    std::filesystem::copy_file(system, fonts / "two.ttc");
    std::ofstream(folder / "fonts.conf") << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << fonts.string()
                                         << "</dir><cachedir>" << (folder / "cache").string()
                                         << "</cachedir></fontconfig>\n";
    setenv("FONTCONFIG_FILE", (folder / "fonts.conf").c_str(), 1);
    const std::string broken = MatchedFile();
    ASSERT_EQ(std::filesystem::path(broken).parent_path(), fonts);
    const auto size = std::filesystem::file_size(broken);
    std::fstream(broken, std::ios::in | std::ios::out | std::ios::binary) << std::string(size, '\0');
    ASSERT_EQ(MatchedFile(), broken);

    const bool opened = OpenGameFont();
    unsetenv("FONTCONFIG_FILE");
    ASSERT_TRUE(opened);
    DrawGLText(u"声音关闭", 4, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_GT(ScanLitPixels().count, 100);
}

TEST(SdlMessageBox, WithNoDisplayTheMessageGoesToStandardError) {
    // Only X11 to try, and no server to reach: nothing may block or be lost.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("SDL_VIDEODRIVER", "x11", 1);
    testing::internal::CaptureStderr();
    ShowMessageBoxSdl(u"不能创建窗口,程序错误.", u"\"Kolvex\"可能存在一些问题");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "\"Kolvex\"可能存在一些问题: 不能创建窗口,程序错误.\n");
}

}  // namespace
