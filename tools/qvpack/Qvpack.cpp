// The qvpack commands: pack files into a .qv archive, list it, take one
// entry out, and check that an archive holds everything the game needs.
#include "Qvpack.h"

#include <cstdio>
#include <filesystem>
#include <iomanip>

#include "AssetChecks.h"
#include "GameEntries.h"
#include "assets/AssetLibrary.h"
#include "morvane/Archive.h"

namespace qvpack {

namespace {

constexpr const char* kUsage =
    "usage: qvpack create OUT FILE...        pack FILEs into archive OUT, each under its file name\n"
    "       qvpack list ARCHIVE              show each entry's name, size and CRC-32\n"
    "       qvpack extract ARCHIVE NAME [OUT] write entry NAME to OUT (default: NAME)\n"
    "       qvpack check ARCHIVE             check that the game's 30 pictures and 3 sounds are usable\n"
    "       qvpack check --language ARCHIVE  check a language's archive: each entry one of the game's\n"
    "                                        pictures, and usable (the game takes the rest from data.qv)\n"
    "       qvpack --help                    show this text\n";

int Usage(std::ostream& err, const std::string& why) {
    err << "qvpack: " << why << " (qvpack --help shows the usage)\n";
    return kExitUsage;
}

int Failed(std::ostream& err, const std::string& what, const std::string& why) {
    err << "qvpack: " << what << ": " << why << "\n";
    return kExitFailed;
}

int Create(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 3) return Usage(err, "create needs an archive name and at least one file");
    std::vector<morvane::WriterEntry> entries;
    std::string problem;
    for (std::size_t i = 2; i < args.size(); ++i) {
        morvane::WriterEntry entry{std::filesystem::path(args[i]).filename().string(), {}};
        if (!morvane::ReadWholeFile(args[i].c_str(), entry.bytes, problem)) return Failed(err, args[i], problem);
        entries.push_back(std::move(entry));
    }
    if (!morvane::WriteArchive(args[1].c_str(), entries, problem)) return Failed(err, args[1], problem);
    out << args[1] << ": " << entries.size() << " entries\n";
    return kExitOk;
}

// A hostile archive's names must not drive the terminal: control bytes and
// anything outside printable ASCII are shown as \xNN.
std::string Printable(const std::string& name) {
    std::string shown;
    for (unsigned char c : name) {
        if (c >= ' ' && c <= '~' && c != '\\') {
            shown += static_cast<char>(c);
        } else {
            const char* digits = "0123456789abcdef";
            shown += {'\\', 'x', digits[c >> 4], digits[c & 15]};
        }
    }
    return shown;
}

int List(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) return Usage(err, "list needs exactly one archive");
    std::vector<morvane::IndexEntry> index;
    std::string problem;
    if (!morvane::ReadIndexFile(args[1].c_str(), index, problem)) return Failed(err, args[1], problem);
    for (const morvane::IndexEntry& entry : index) {
        out << std::left << std::setw(static_cast<int>(morvane::kMaxNameLength)) << Printable(entry.name) << ' '
            << std::right << std::setw(9) << entry.size << "  " << std::hex << std::setw(8) << std::setfill('0')
            << entry.crc << std::dec << std::setfill(' ') << "\n";
    }
    return kExitOk;
}

int Extract(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 3 && args.size() != 4) return Usage(err, "extract needs an archive, a name and maybe an output");
    const std::string& name = args[2];
    // An entry name is only used as a file name when it cannot reach outside
    // the current folder.
    if (args.size() == 3 && !morvane::IsStorableName(name)) {
        return Usage(err, "'" + name + "' is not a plain file name; give an output file");
    }
    const std::string& target = args.size() == 4 ? args[3] : name;
    std::vector<unsigned char> bytes;
    std::string problem;
    if (morvane::ReadEntryFile(args[1].c_str(), name.c_str(), bytes, problem) != morvane::EntryRead::kRead) {
        return Failed(err, args[1] + ": " + name, problem);
    }
    if (!morvane::WriteWholeFile(target.c_str(), bytes, problem)) return Failed(err, target, problem);
    out << target << ": " << bytes.size() << " bytes\n";
    return kExitOk;
}

// A language's archive holds only the pictures its words change; an entry the
// game never reads would be a translator's typo that silently shows nothing.
int CheckLanguage(const std::string& path, const std::vector<morvane::IndexEntry>& index, std::ostream& out,
                  std::ostream& err) {
    int problems = 0;
    for (const morvane::IndexEntry& entry : index) {
        std::string why = "not one of the game's pictures";
        for (const char* name : kPictureNames) {
            if (entry.name != name) continue;
            std::vector<unsigned char> bytes;
            if (morvane::ReadEntryFile(path.c_str(), name, bytes, why) == morvane::EntryRead::kRead)
                why = PictureProblem(bytes);
        }
        if (!why.empty()) {
            err << "qvpack: " << path << ": " << entry.name << ": " << why << "\n";
            ++problems;
        }
    }
    if (problems > 0) return Failed(err, path, std::to_string(problems) + (problems == 1 ? " problem" : " problems"));
    out << path << ": " << index.size() << " pictures, all usable\n";
    return kExitOk;
}

int Check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const bool language = args.size() == 3 && args[1] == "--language";
    if (args.size() != 2 && !language) return Usage(err, "check needs exactly one archive");
    const std::string& path = args.back();
    std::vector<morvane::IndexEntry> index;
    std::string problem;
    if (!morvane::ReadIndexFile(path.c_str(), index, problem)) return Failed(err, path, problem);
    if (language) return CheckLanguage(path, index, out, err);

    int problems = 0;
    auto checkEntry = [&](const char* name, std::string (*problemOf)(const std::vector<unsigned char>&)) {
        std::vector<unsigned char> bytes;
        std::string why;
        switch (morvane::ReadEntryFile(path.c_str(), name, bytes, why)) {
            case morvane::EntryRead::kRead:
                why = problemOf(bytes);
                break;
            case morvane::EntryRead::kMissing:
                why = "missing";
                break;
            case morvane::EntryRead::kFailed:
                break;
        }
        if (!why.empty()) {
            err << "qvpack: " << path << ": " << name << ": " << why << "\n";
            ++problems;
        }
    };
    for (const char* name : kPictureNames) checkEntry(name, PictureProblem);
    for (const char* name : kSoundNames) checkEntry(name, SoundProblem);
    if (problems > 0) {
        err << "qvpack: " << path << ": " << problems << " problem" << (problems == 1 ? "" : "s") << "\n";
        return kExitFailed;
    }
    out << path << ": " << kPictureNames.size() << " pictures and " << kSoundNames.size() << " sounds, all usable\n";
    return kExitOk;
}

}  // namespace

int RunQvpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return Usage(err, "no command given");
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        out << kUsage;
        return kExitOk;
    }
    if (command == "create") return Create(args, out, err);
    if (command == "list") return List(args, out, err);
    if (command == "extract") return Extract(args, out, err);
    if (command == "check") return Check(args, out, err);
    return Usage(err, "unknown command '" + command + "'");
}

}  // namespace qvpack
