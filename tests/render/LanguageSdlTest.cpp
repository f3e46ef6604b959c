// The native game's language through the C library's gettext and the game's
// own catalogues (bin/locale, built beside the test): chosen as every gettext
// program chooses, the original for anything no catalogue has, and neither a
// damaged catalogue nor a malformed translation draws garbage.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

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

}  // namespace
