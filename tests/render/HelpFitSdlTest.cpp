// Every language's help lines and sound notice (each catalogue built beside
// the test, and the original) lettered by the native game's own text path at
// the sizes a 640 x 480 window, the 800 x 600 one and a 1920 x 1080 screen
// show the picture at: each line stays inside the picture where it starts,
// and the notice stays left of the well. A translation too long for its
// place fails here, before a player sees it cut off.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RenderTestKit.h"
#include "render/Language.h"
#include "render/Render.h"
#include "render/TextSdl.h"

namespace {

// The picture's own width, and the well's left wall in it (800 x 600 pixels).
constexpr double kPictureWidth = 800;
constexpr double kWellWall = 327;

TEST(HelpFit, EveryLanguagesLinesStayInsideThePictureAtEverySize) {
    ASSERT_TRUE(OpenGameFont()) << GameFontFailure();
    const std::filesystem::path catalogues = std::filesystem::absolute("locale");
    std::vector<std::string> languages = {"xx"};  // no catalogue: the original
    for (const auto& entry : std::filesystem::directory_iterator(catalogues))
        languages.push_back(entry.path().filename().string());
    ASSERT_GE(languages.size(), 3u) << "the English and German catalogues are built beside the test";
    // 640 x 480, 800 x 600, and the 1440 x 1080 picture of a 1920 x 1080 screen.
    for (const double scale : {0.8, 1.0, 1.8}) {
        SetTextScale(scale);
        for (const std::string& language : languages) {
            setenv("LANGUAGE", language.c_str(), 1);
            setenv("LC_ALL", "C.UTF-8", 1);
            ChooseLanguage(catalogues.c_str());
            const auto extent = [&](std::u16string_view written, float x, float y) {
                const std::u16string_view text = LocalText(written);
                const TextBitmap line = RasteriseText(text.data(), int(text.size()));
                const double start = Project(x, y, -10.0f).x;
                return std::pair{start, start + line.width / scale};
            };
            for (const HelpLine& help : HelpLines()) {
                const auto [start, end] = extent(help.text, help.x, help.y);
                EXPECT_GE(start, 0.0);
                EXPECT_LE(end, kPictureWidth - 2)
                    << language << " at " << scale << ": "
                    << Utf8FromUtf16(LocalText(help.text).data(), int(LocalText(help.text).size()));
            }
            const auto [start, end] = extent(SoundOffNotice(), -5.5f, 3.6f);
            EXPECT_LT(end, kWellWall) << language << " at " << scale << ": the sound notice reaches the well";
        }
    }
    SetTextScale(1.0);
    CloseGameFont();
}

}  // namespace
