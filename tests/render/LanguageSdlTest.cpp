// The native game's language through the C library's gettext and the game's
// own catalogues (bin/locale, built beside the test): chosen as every gettext
// program chooses, the original for anything no catalogue has, and neither a
// damaged catalogue nor a malformed translation draws garbage; pictures from
// the chosen catalogue's language archive only where every one is usable.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "morvane/TestKit.h"
#include "render/Language.h"

namespace {

const std::filesystem::path kBuilt = std::filesystem::absolute("locale");

struct Chosen {
    const char* language;  // LANGUAGE, or null for none
    const char* all;       // LC_ALL
};

std::u16string Looked(Chosen chosen, const std::filesystem::path& catalogues, std::u16string_view text,
                      const char* context = nullptr) {
    if (chosen.language != nullptr) {
        setenv("LANGUAGE", chosen.language, 1);
    } else {
        unsetenv("LANGUAGE");
    }
    setenv("LC_ALL", chosen.all, 1);
    ChooseLanguage(catalogues.c_str());
    return std::u16string(context != nullptr ? LocalTextIn(context, text) : LocalText(text));
}

TEST(Language, ChosenAsGettextChoosesWithTheOriginalWhereNoCatalogueHasTheText) {
    ASSERT_TRUE(std::filesystem::exists(kBuilt / "de/LC_MESSAGES/kolvex.mo")) << "built by the catalogues target";
    const std::u16string_view rules = u"设定介绍:";
    const struct {
        const char* what;
        Chosen chosen;
        std::u16string_view text;
        std::u16string expected;
    } cases[] = {
        {"German by LANGUAGE", {"de", "C.UTF-8"}, rules, u"Spielregeln:"},
        {"English by LANGUAGE", {"en", "C.UTF-8"}, rules, u"Rules:"},
        {"the first language of the list that has a catalogue", {"xx:de:en", "C.UTF-8"}, rules, u"Spielregeln:"},
        {"a language without a catalogue", {"xx", "C.UTF-8"}, rules, std::u16string(rules)},
        {"no language asked for", {nullptr, "C.UTF-8"}, rules, std::u16string(rules)},
        {"the C locale, where gettext ignores LANGUAGE", {"de", "C"}, rules, std::u16string(rules)},
        {"a text no catalogue has", {"de", "C.UTF-8"}, u"没有这句", u"没有这句"},
        {"accents come through as UTF-16", {"de", "C.UTF-8"}, u"ESC 键--菜单", u"Esc--Menü"},
    };
    for (const auto& c : cases) EXPECT_EQ(Looked(c.chosen, kBuilt, c.text), c.expected) << c.what;
}

TEST(Language, ADamagedCatalogueOrAMalformedTranslationNeverDrawsGarbage) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kolvex-language-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "de/LC_MESSAGES");
    std::filesystem::create_directories(folder / "en/LC_MESSAGES");
    std::ofstream(folder / "de/LC_MESSAGES/kolvex.mo", std::ios::binary) << "\xde\x12\x04\x95 not a catalogue";
    // A catalogue whose one translation is a lone continuation byte and a
    // cut-off sequence, as a broken tool might write: msgfmt keeps bytes.
    const std::filesystem::path po = folder / "en.po";
    std::ofstream(po) << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                         "msgctxt \"plaque\"\nmsgid \"等\"\nmsgstr \"A\\200B\\347\\255\"\n";
    const std::string make =
        "msgfmt -o '" + (folder / "en/LC_MESSAGES/kolvex.mo").string() + "' '" + po.string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0);

    testing::internal::CaptureStderr();
    EXPECT_EQ(Looked({"de", "C.UTF-8"}, folder, u"设定介绍:"), u"设定介绍:") << "a damaged catalogue is ignored";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "kolvex: the catalogue " +
                                                          (folder / "de/LC_MESSAGES/kolvex.mo").string() +
                                                          " is damaged, so the game shows its own texts\n");
    EXPECT_EQ(Looked({"en", "C.UTF-8"}, folder, u"等", "plaque"), u"A\uFFFDB\uFFFD");
    EXPECT_EQ(Looked({"en", "C.UTF-8"}, folder, u"等"), u"等") << "the msgid without its context is another text";
    std::filesystem::remove_all(folder);
}

TEST(Language, PicturesComeFromTheChosenLanguagesArchiveOnlyWhereItIsWhollyUsable) {
    const std::filesystem::path built = std::filesystem::current_path();
    ASSERT_TRUE(std::filesystem::exists(built / "data.qv")) << "built beside the test";
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kolvex-pictures-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(built / "data.qv", folder / "data.qv");
    std::filesystem::current_path(folder);

    const std::vector<unsigned char> banner = morvane::SolidColourJpeg(128, 128, 40, 190, 150);
    std::vector<unsigned char> cut = morvane::SolidColourJpeg(128, 128, 40, 190, 150);
    cut.resize(cut.size() / 2);
    const std::vector<morvane::WriterEntry> usable = {{"s1.jpg", banner}, {"a2.jpg", banner}};
    const std::string refused = "kolvex: the pictures in data-de.qv cannot be used (";
    const struct {
        const char* what;
        const char* language;
        std::vector<morvane::WriterEntry> archive;  // none written where empty
        std::string said;                           // the start of what stderr gets
        const char* s1;
    } cases[] = {
        {"a usable archive", "de", usable, "", "data-de.qv"},
        {"the catalogue's language decides, not the name asked for", "de_AT:en", usable, "", "data-de.qv"},
        {"no catalogue for the language", "xx", usable, "", "data.qv"},
        {"no archive", "de", {}, "", "data.qv"},
        {"a picture of another size",
         "de",
         {{"s1.jpg", morvane::SolidColourJpeg(64, 64, 0, 0, 0)}},
         refused,
         "data.qv"},
        {"a picture that does not decode", "de", {{"a2.jpg", banner}, {"s1.jpg", cut}}, refused, "data.qv"},
        {"an entry the game has no picture for", "de", {{"s1.jpg", banner}, {"x.jpg", banner}}, refused, "data.qv"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(folder / "data-de.qv");
        if (!c.archive.empty()) {
            ASSERT_EQ(morvane::WriteTestArchive("data-de.qv", c.archive), "");
        }
        testing::internal::CaptureStderr();
        Looked({c.language, "C.UTF-8"}, built / "locale", u"");
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.substr(0, c.said.size()), c.said) << c.what;
        EXPECT_EQ(said.empty(), c.said.empty()) << c.what << ": " << said;
        EXPECT_STREQ(PictureArchive("s1.jpg"), c.s1) << c.what;
        EXPECT_STREQ(PictureArchive("bk.jpg"), "data.qv") << c.what << ": a picture the language lacks";
    }
    // A damaged archive, not only a damaged picture.
    std::ofstream("data-de.qv", std::ios::binary) << "KVQV but no more";
    testing::internal::CaptureStderr();
    Looked({"de", "C.UTF-8"}, built / "locale", u"");
    EXPECT_EQ(testing::internal::GetCapturedStderr().substr(0, refused.size()), refused);
    EXPECT_STREQ(PictureArchive("s1.jpg"), "data.qv");
    std::filesystem::current_path(built);
    std::filesystem::remove_all(folder);
}

}  // namespace
