// Every language's help lines and sound notice (each catalogue built beside
// the test, the original, and one made too long on purpose) laid out and
// lettered by the native game's own text path at the sizes a 640 x 480
// window, the 800 x 600 one and a 1920 x 1080 screen show the picture at:
// each piece stays inside the picture, below the one before it, clear of the
// turning piece, and the notice stays left of the well.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "RenderTestKit.h"
#include "render/Language.h"
#include "render/Render.h"
#include "render/TextSdl.h"

namespace {

// The picture's own size, the well's left wall in it (800 x 600 pixels), and
// how low the keys and rules may go before the turning piece's reach.
constexpr double kPictureWidth = 800;
constexpr double kPictureHeight = 600;
constexpr double kWellWall = 327;
constexpr float kAbovePiece = -0.8f;
constexpr float kCreditsTop = -3.0f;

std::string Utf8(std::u16string_view text) {
    return Utf8FromUtf16(text.data(), int(text.size()));
}

// Checks one language's layout at the current scale.
void CheckLayout(const std::string& language, double scale) {
    const std::vector<HelpLine> laid = HelpLayout();
    for (std::size_t i = 0; i < laid.size(); ++i) {
        const HelpLine& piece = laid[i];
        const TextBitmap line = RasteriseText(piece.text.data(), int(piece.text.size()));
        const ScreenPoint start = Project(piece.x, piece.y, -10.0f);
        const std::string where = language + " at " + std::to_string(scale) + ": " + Utf8(piece.text);
        EXPECT_GE(start.x, 0) << where;
        EXPECT_LE(start.x + line.width / scale, kPictureWidth - 2) << where;
        EXPECT_LE(start.y + 16, kPictureHeight) << where;
        if (i > 0) {
            EXPECT_LE(piece.y, laid[i - 1].y - kHelpLinePitch + 0.01f) << where << ": overlaps the line above";
        }
        if (piece.y > kCreditsTop + 0.01f) {
            EXPECT_GE(piece.y, kAbovePiece) << where << ": reaches the turning piece";
        }
    }
}

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
            CheckLayout(language, scale);
            const std::u16string_view notice = LocalText(SoundOffNotice());
            const double end =
                Project(-5.5f, 3.6f, -10.0f).x + RasteriseText(notice.data(), int(notice.size())).width / scale;
            EXPECT_LT(end, kWellWall) << language << " at " << scale << ": the sound notice reaches the well";
        }
    }
    SetTextScale(1.0);
    CloseGameFont();
}

TEST(HelpFit, ALineTooWideGoesOnBelowAndTheLinesUnderItMoveDown) {
    ASSERT_TRUE(OpenGameFont()) << GameFontFailure();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kolvex-help-wrap-test";
    std::filesystem::create_directories(folder / "de/LC_MESSAGES");
    // Each about one and a half lines: a rules line of words, a heading of
    // one long word, and a Chinese credits line with no spaces at all. What
    // the rules block can take before the turning piece.
    std::string words;
    for (int i = 0; i < 12; ++i) words += "Wortlänge ";
    std::ofstream(folder / "de.po") << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                                    << "msgid \"一共7个等级,随等级增加下落速度也增加,消行满一定数会增加等级.\"\n"
                                    << "msgstr \"" << words << "\"\n\n"
                                    << "msgid \"设定介绍:\"\nmsgstr \"" << std::string(60, 'X') << "\"\n\n"
                                    << "msgid \"图片/音效: Kolvex 美术组\"\nmsgstr \"";
    std::ofstream(folder / "de.po", std::ios::app) << [] {
        std::string chinese;
        for (int i = 0; i < 8; ++i) chinese += "图片音效美术";
        return chinese;
    }() << "\"\n";
    const std::string make =
        "msgfmt -o '" + (folder / "de/LC_MESSAGES/kolvex.mo").string() + "' '" + (folder / "de.po").string() + "'";
    ASSERT_EQ(std::system(make.c_str()), 0);
    setenv("LANGUAGE", "de", 1);
    setenv("LC_ALL", "C.UTF-8", 1);
    ChooseLanguage(folder.c_str());
    SetTextScale(1.0);
    const std::vector<HelpLine> laid = HelpLayout();
    EXPECT_EQ(laid.size(), HelpLines().size() + 3) << "each long line went on over one more";
    CheckLayout("a catalogue with long lines", 1.0);
    // The rules below the long ones moved down by as many lines as those took.
    const std::u16string_view rows = LocalText(HelpLines()[13].text);
    const auto moved =
        std::find_if(laid.begin(), laid.end(), [&](const HelpLine& piece) { return piece.text == rows; });
    ASSERT_NE(moved, laid.end());
    EXPECT_NEAR(moved->y, HelpLines()[13].y - 2 * kHelpLinePitch, 0.01f);
    std::filesystem::remove_all(folder);
    CloseGameFont();
}

}  // namespace
