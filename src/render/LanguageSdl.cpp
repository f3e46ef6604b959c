// The native game's language: what it implements of Language.h, through the
// C library's gettext (domain "kolvex"), the game's UTF-16 texts turned into
// the catalogues' UTF-8 msgids and the translations back, and the chosen
// catalogue's language's data-LL.qv for pictures; a damaged catalogue or
// archive is named on standard error and not used. Lacks nothing of the
// seam. Main thread only; each translation is kept for the run.
#include <libintl.h>

#include <cctype>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "assets/AssetLibrary.h"
#include "assets/Sound.h"
#include "morvane/Archive.h"
#include "render/Language.h"
#include "render/TextSdl.h"

namespace {

constexpr char kDomain[] = "kolvex";

// A malformed sequence in a catalogue (a stray byte, a cut-off character)
// becomes one U+FFFD, never a stray unit.
std::u16string Utf16(const std::string& text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = text[i];
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        int taken = 1;  // the lead and the continuation bytes that follow it
        while (length != 0 && taken < length && i + taken < text.size() &&
               (static_cast<unsigned char>(text[i + taken]) & 0xC0) == 0x80)
            c = c << 6 | (static_cast<unsigned char>(text[i + taken++]) & 0x3F);
        constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        i += taken;
        if (length == 0 || taken < length || c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
            out += u'\uFFFD';
        } else if (c < 0x10000) {
            out += char16_t(c);
        } else {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

// Keyed by context and msgid; a node stays where it is, so views into it last.
std::map<std::pair<std::string, std::u16string>, std::u16string> translations;

std::u16string_view Look(const char* context, std::u16string_view text) {
    const std::pair<std::string, std::u16string> key{context != nullptr ? context : "", std::u16string(text)};
    if (const auto known = translations.find(key); known != translations.end()) return known->second;
    // A msgctxt is glued to its msgid with EOT in the catalogue, as pgettext does.
    const std::string utf8 = Utf8FromUtf16(text.data(), int(text.size()));
    const std::string msgid = context != nullptr ? std::string(context) + '\004' + utf8 : utf8;
    // gettext hands back the very msgid it was given where it has no translation.
    const char* found = dgettext(kDomain, msgid.c_str());
    return translations.emplace(key, found != msgid.c_str() ? Utf16(found) : std::u16string(text)).first->second;
}

// Whether `path` holds what gettext reads as a catalogue: the magic number
// either way round, and tables and strings inside the file. gettext passes
// over a damaged one without a word; the game says so.
bool WholeCatalogue(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 28) return false;
    const auto word = [&](std::size_t at, bool swapped) {
        std::uint32_t value = 0;
        for (int k = 0; k < 4; ++k)
            value |= std::uint32_t(static_cast<unsigned char>(bytes[at + k])) << 8 * (swapped ? 3 - k : k);
        return value;
    };
    const bool swapped = word(0, false) != 0x950412de;
    if (word(0, swapped) != 0x950412de || word(4, swapped) >> 16 > 1) return false;
    const std::uint64_t count = word(8, swapped);
    for (const std::size_t table : {std::size_t(12), std::size_t(16)}) {
        const std::uint64_t start = word(table, swapped);
        if (start + 8 * count > bytes.size()) return false;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t length = word(start + 8 * i, swapped);
            const std::uint64_t offset = word(start + 8 * i + 4, swapped);
            if (offset + length + 1 > bytes.size()) return false;
        }
    }
    return true;
}

// The catalogues gettext may open for the languages asked for, as it looks
// for them: LANGUAGE's list unless the messages' locale is C, then that
// locale's name, each also without its codeset and its territory.
std::vector<std::string> CataloguesAskedFor() {
    const std::string locale = std::setlocale(LC_MESSAGES, nullptr);
    std::vector<std::string> names;
    if (const char* list = std::getenv("LANGUAGE"); list != nullptr && locale != "C" && locale != "POSIX") {
        std::stringstream languages(list);
        for (std::string name; std::getline(languages, name, ':');)
            if (!name.empty()) names.push_back(name);
    }
    names.push_back(locale);
    std::vector<std::string> asked;
    for (const std::string& name : names) {
        for (std::string candidate = name;;) {
            asked.push_back(candidate);
            const std::size_t cut = candidate.find_last_of("@._");
            if (cut == std::string::npos || cut == 0) break;
            candidate.erase(cut);
        }
    }
    return asked;
}

// The language of the catalogue gettext took for the game's texts, from its
// header's Language field ("de", "zh_CN"), so that pictures follow the very
// choice the texts did; empty where it took none.
std::string CatalogueLanguage() {
    const std::string header = dgettext(kDomain, "");
    const std::size_t field = header.find("Language: ");
    if (field == std::string::npos) return "";
    const std::size_t start = field + 10;
    std::string language = header.substr(start, header.find('\n', start) - start);
    // It names a file: nothing but a plain language tag.
    for (const char c : language)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '@') return "";
    return language;
}

// Width and height of picture `name` of `archive` as the game's decoder sees
// it; {0, 0} where it cannot be read or decoded.
std::pair<int, int> DecodedSize(const char* archive, const char* name) {
    ArchiveEntry entry{};
    if (ReadQV(archive, name, &entry) == 0) return {0, 0};
    DecodedImage image{};
    JPEG24bitQV(&entry, &image);
    const std::pair<int, int> size = image.pixels != nullptr ? std::pair{image.width, image.height} : std::pair{0, 0};
    Free24BMP(&image);
    FreeQV(&entry);
    return size;
}

// The pictures a language's archive holds, each of which decodes to the
// size of the picture it stands for; else why the archive is refused.
std::string PicturesProblem(const std::string& archive, std::set<std::string>& held) {
    std::vector<morvane::IndexEntry> index;
    std::string problem;
    if (!morvane::ReadIndexFile(archive.c_str(), index, problem)) return problem;
    for (const morvane::IndexEntry& entry : index) {
        const std::pair<int, int> own = DecodedSize(kArchiveName, entry.name.c_str());
        if (own.first == 0) return entry.name + " is not a picture of the game";
        const std::pair<int, int> size = DecodedSize(archive.c_str(), entry.name.c_str());
        if (size.first == 0) return entry.name + " does not decode";
        if (size != own) return entry.name + " is not the size of the game's own";
        held.insert(entry.name);
    }
    return "";
}

std::string pictureArchive;
std::set<std::string> languagePictures;

void ChoosePictures() {
    pictureArchive.clear();
    languagePictures.clear();
    const std::string language = CatalogueLanguage();
    if (language.empty()) return;
    const std::string archive = "data-" + language + ".qv";
    std::error_code unreadable;
    if (!std::filesystem::exists(archive, unreadable)) return;
    std::set<std::string> held;
    if (const std::string problem = PicturesProblem(archive, held); !problem.empty()) {
        std::fprintf(stderr, "kolvex: the pictures in %s cannot be used (%s), so the game shows its own\n",
                     archive.c_str(), problem.c_str());
        return;
    }
    pictureArchive = archive;
    languagePictures = std::move(held);
}

}  // namespace

const char* PictureArchive(const char* entry) {
    return languagePictures.count(entry) != 0 ? pictureArchive.c_str() : kArchiveName;
}

std::u16string_view LocalText(std::u16string_view text) {
    return Look(nullptr, text);
}

std::u16string_view LocalTextIn(const char* context, std::u16string_view text) {
    return Look(context, text);
}

void ChooseLanguage(const char* catalogues) {
    // The messages' category only: numbers and the rest keep the C locale.
    std::setlocale(LC_MESSAGES, "");
    static const std::filesystem::path systemFolder = bindtextdomain(kDomain, nullptr);
    const std::filesystem::path folder = catalogues != nullptr ? catalogues : systemFolder;
    bool whole = true;
    for (const std::string& language : CataloguesAskedFor()) {
        const std::filesystem::path file = folder / language / "LC_MESSAGES" / "kolvex.mo";
        std::error_code unreadable;
        if (!std::filesystem::exists(file, unreadable) || WholeCatalogue(file)) continue;
        std::fprintf(stderr, "kolvex: the catalogue %s is damaged, so the game shows its own texts\n", file.c_str());
        whole = false;
        break;
    }
    // Bound to a folder that holds none, gettext gives every text as it is.
    bindtextdomain(kDomain, whole ? folder.c_str() : "/nonexistent");
    bind_textdomain_codeset(kDomain, "UTF-8");
    translations.clear();
    ChoosePictures();
}
