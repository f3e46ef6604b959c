// qvpack as a player uses it: pack, list and extract round trip; one clear
// line and the right exit code for every mistake; and `check` naming each
// picture or sound the game could not use.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sstream>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "AssetChecks.h"
#include "GameEntries.h"
#include "Qvpack.h"
#include "ScratchFolder.h"
#include "morvane/Archive.h"
#include "morvane/TestKit.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome Qvpack(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    int code = qvpack::RunQvpack(args, out, err);
    return {code, out.str(), err.str()};
}

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

void Put(const std::string& path, const Bytes& bytes) {
    std::string problem;
    ASSERT_TRUE(morvane::WriteWholeFile(path.c_str(), bytes, problem)) << problem;
}

Bytes Get(const std::string& path) {
    Bytes bytes;
    std::string problem;
    EXPECT_TRUE(morvane::ReadWholeFile(path.c_str(), bytes, problem)) << path << ": " << problem;
    return bytes;
}

void StoreU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

class QvpackTest : public ::testing::Test {
protected:
    ScratchFolder folder;
};

TEST_F(QvpackTest, CreateListExtractRoundTrip) {
    std::filesystem::create_directory("art");
    const Bytes picture = morvane::SolidColourJpeg(8, 8, 1, 2, 3);
    const Bytes sound = morvane::PcmWav(1, 8, 11025, 50);
    Put("art/t1.jpg", picture);
    Put("s.wav", sound);

    Outcome create = Qvpack({"create", "out.qv", "art/t1.jpg", "s.wav"});
    ASSERT_EQ(create.code, qvpack::kExitOk) << create.err;

    Outcome list = Qvpack({"list", "out.qv"});
    ASSERT_EQ(list.code, qvpack::kExitOk) << list.err;
    ASSERT_EQ(Lines(list.out), 2);
    std::istringstream lines(list.out);
    std::string name;
    std::size_t size = 0;
    lines >> name >> size;
    EXPECT_EQ(name, "t1.jpg");  // stored without its folder
    EXPECT_EQ(size, picture.size());
    lines.ignore(1000, '\n');
    lines >> name >> size;
    EXPECT_EQ(name, "s.wav");
    EXPECT_EQ(size, sound.size());

    std::filesystem::create_directory("x");
    ASSERT_EQ(Qvpack({"extract", "out.qv", "t1.jpg", "x/copy.jpg"}).code, qvpack::kExitOk);
    EXPECT_EQ(Get("x/copy.jpg"), picture);
    std::filesystem::current_path("x");
    ASSERT_EQ(Qvpack({"extract", "../out.qv", "s.wav"}).code, qvpack::kExitOk);
    EXPECT_EQ(Get("s.wav"), sound);
}

TEST_F(QvpackTest, MistakesGiveOneLineAndTheirExitCode) {
    Put("a.bin", {1, 2, 3});
    ASSERT_EQ(Qvpack({"create", "good.qv", "a.bin"}).code, qvpack::kExitOk);
    Put("bad.qv", {'n', 'o', 'p', 'e'});

    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{}, qvpack::kExitUsage},
        {{"pack", "x.qv"}, qvpack::kExitUsage},
        {{"create", "x.qv"}, qvpack::kExitUsage},
        {{"list", "good.qv", "more"}, qvpack::kExitUsage},
        {{"extract", "good.qv", "../escape"}, qvpack::kExitUsage},
        {{"create", "x.qv", "a.bin", "missing.bin"}, qvpack::kExitFailed},
        {{"create", "x.qv", "a.bin", "a.bin"}, qvpack::kExitFailed},
        {{"create", "no/such/folder/x.qv", "a.bin"}, qvpack::kExitFailed},
        {{"list", "bad.qv"}, qvpack::kExitFailed},
        {{"extract", "good.qv", "b.bin"}, qvpack::kExitFailed},
        {{"check", "bad.qv"}, qvpack::kExitFailed},
    };
    for (const auto& [args, code] : cases) {
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        SCOPED_TRACE(joined);
        Outcome run = Qvpack(args);
        EXPECT_EQ(run.code, code);
        EXPECT_EQ(Lines(run.err), 1) << run.err;
        EXPECT_EQ(run.err.rfind("qvpack: ", 0), 0u) << run.err;
        EXPECT_EQ(run.out, "");
    }
    // A failed create leaves no half-made archive behind.
    EXPECT_FALSE(std::filesystem::exists("x.qv"));
    EXPECT_FALSE(std::filesystem::exists("escape"));

    Outcome help = Qvpack({"--help"});
    EXPECT_EQ(help.code, qvpack::kExitOk);
    EXPECT_NE(help.out.find("qvpack check ARCHIVE"), std::string::npos);
    EXPECT_EQ(help.err, "");
}

#ifndef _WIN32
// A create that fails part-way (here: a file-size limit, as a full disk would)
// must leave the archive that was there, and no partial file beside it.
TEST_F(QvpackTest, FailedCreateKeepsTheArchiveItWouldHaveReplaced) {
    Put("big.bin", Bytes(64 * 1024, 7));
    Put("a.bin", {1, 2, 3});
    ASSERT_EQ(Qvpack({"create", "data.qv", "a.bin"}).code, qvpack::kExitOk);
    const Bytes before = Get("data.qv");

    pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16 * 1024, 16 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(Qvpack({"create", "data.qv", "big.bin"}).code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), qvpack::kExitFailed);
    EXPECT_EQ(Get("data.qv"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator()), 3);
}
#endif

TEST_F(QvpackTest, ListShowsControlBytesInNamesEscaped) {
    Bytes archive;
    std::string problem;
    ASSERT_TRUE(morvane::BuildArchive({{"abcdefg.jpg", {1, 2}}}, archive, problem)) << problem;
    std::memcpy(&archive[morvane::kHeaderSize], "\x1b]2;x\a\r.jpg", 11);
    Put("hostile.qv", archive);
    Outcome list = Qvpack({"list", "hostile.qv"});
    ASSERT_EQ(list.code, qvpack::kExitOk) << list.err;
    EXPECT_EQ(list.out.substr(0, 20), "\\x1b]2;x\\x07\\x0d.jpg");
}

// A complete set of usable entries, to be spoiled one way at a time.
std::vector<morvane::WriterEntry> GameSet() {
    std::vector<morvane::WriterEntry> entries;
    const Bytes picture = morvane::SolidColourJpeg(64, 32, 90, 90, 200);
    for (const char* name : qvpack::kPictureNames) entries.push_back({name, picture});
    for (const char* name : qvpack::kSoundNames) entries.push_back({name, morvane::PcmWav(2, 16, 22050, 2000)});
    return entries;
}

Outcome CheckWith(std::vector<morvane::WriterEntry> entries) {
    std::string problem = morvane::WriteTestArchive("game.qv", entries);
    EXPECT_EQ(problem, "");
    return Qvpack({"check", "game.qv"});
}

void Replace(std::vector<morvane::WriterEntry>& entries, const std::string& name, Bytes bytes) {
    for (auto& entry : entries) {
        if (entry.name == name) entry.bytes = std::move(bytes);
    }
}

TEST_F(QvpackTest, CheckPassesACompleteSetAndNamesEachProblem) {
    Outcome good = CheckWith(GameSet());
    EXPECT_EQ(good.code, qvpack::kExitOk) << good.err;
    EXPECT_EQ(good.err, "");

    auto entries = GameSet();
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const auto& e) { return e.name == "zp4.jpg" || e.name == "move.wav"; }),
                  entries.end());
    Replace(entries, "t3.jpg", morvane::SolidColourJpeg(512, 256, 0, 0, 0));
    Replace(entries, "l2.jpg", morvane::SolidColourJpeg(48, 64, 0, 0, 0));
    Replace(entries, "ss1.jpg", morvane::SolidColourJpeg(2, 2, 0, 0, 0));
    Replace(entries, "bk.jpg", morvane::PcmWav(1, 8, 8000, 10));
    // Noise, so that most of the file is scan data and the cut lands there.
    Bytes noise(64 * 64 * 3);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<unsigned char>(i * 7919 % 251);
    Bytes cut = morvane::EncodeJpeg(noise.data(), 64, 64);
    cut.resize(cut.size() * 2 / 3);
    Replace(entries, "d.jpg", cut);
    Bytes floatWav = morvane::PcmWav(1, 16, 22050, 100);
    floatWav[20] = 3;  // IEEE float
    Replace(entries, "down.wav", floatWav);
    Bytes longRiff = morvane::PcmWav(1, 16, 22050, 100);
    StoreU32(longRiff, 4, static_cast<std::uint32_t>(longRiff.size()));
    Replace(entries, "s.wav", longRiff);

    Outcome bad = CheckWith(entries);
    EXPECT_EQ(bad.code, qvpack::kExitFailed);
    const std::vector<std::pair<std::string, std::string>> named = {
        {"zp4.jpg", "missing"},
        {"move.wav", "missing"},
        {"t3.jpg", "512x256 is larger"},
        {"l2.jpg", "48x64: each side must be a power of two"},
        {"ss1.jpg", "2x2: each side must be a power of two"},
        {"bk.jpg", "not a JPEG or its header is damaged"},
        {"d.jpg", "does not decode"},
        {"down.wav", "not PCM"},
        {"s.wav", "RIFF size runs past"},
    };
    for (const auto& [name, why] : named) {
        EXPECT_NE(bad.err.find(name + ": " + why), std::string::npos) << name << " in:\n" << bad.err;
    }
    EXPECT_EQ(Lines(bad.err), static_cast<int>(named.size()) + 1);  // plus the count
    EXPECT_EQ(bad.out, "");
}

TEST_F(QvpackTest, ALanguageArchiveHoldsOnlyUsablePicturesOfTheGame) {
    const Bytes picture = morvane::SolidColourJpeg(64, 64, 200, 160, 60);
    ASSERT_EQ(morvane::WriteTestArchive("de.qv", {{"d.jpg", picture}, {"s1.jpg", picture}}), "");
    const Outcome good = Qvpack({"check", "--language", "de.qv"});
    EXPECT_EQ(good.code, qvpack::kExitOk) << good.err;
    EXPECT_EQ(good.out, "de.qv: 2 pictures, all usable\n");

    ASSERT_EQ(morvane::WriteTestArchive("de.qv", {{"d.jpg", picture},
                                                  {"S1.jpg", picture},
                                                  {"move.wav", morvane::PcmWav(1, 16, 22050, 2000)},
                                                  {"j.jpg", morvane::SolidColourJpeg(48, 64, 0, 0, 0)}}),
              "");
    const Outcome bad = Qvpack({"check", "--language", "de.qv"});
    EXPECT_EQ(bad.code, qvpack::kExitFailed);
    for (const char* said : {"S1.jpg: not one of the game's pictures", "move.wav: not one of the game's pictures",
                             "j.jpg: 48x64: each side must be a power of two", "de.qv: 3 problems"})
        EXPECT_NE(bad.err.find(said), std::string::npos) << said << " in:\n" << bad.err;
}

// Builds a WAV from chunks, with a RIFF size that covers them exactly.
Bytes Riff(const std::vector<std::pair<std::string, Bytes>>& chunks) {
    Bytes wav = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const auto& [tag, body] : chunks) {
        wav.insert(wav.end(), tag.begin(), tag.end());
        wav.resize(wav.size() + 4);
        StoreU32(wav, wav.size() - 4, static_cast<std::uint32_t>(body.size()));
        wav.insert(wav.end(), body.begin(), body.end());
        if (body.size() & 1) wav.push_back(0);
    }
    StoreU32(wav, 4, static_cast<std::uint32_t>(wav.size() - 8));
    return wav;
}

Bytes Fmt(int tag, int channels, int rate, int bits) {
    Bytes fmt(16);
    const int align = channels * bits / 8;
    fmt[0] = static_cast<unsigned char>(tag);
    fmt[2] = static_cast<unsigned char>(channels);
    StoreU32(fmt, 4, static_cast<std::uint32_t>(rate));
    StoreU32(fmt, 8, static_cast<std::uint32_t>(rate * align));
    fmt[12] = static_cast<unsigned char>(align);
    fmt[14] = static_cast<unsigned char>(bits);
    return fmt;
}

TEST(SoundCheck, WalksChunksAsAPlayerWould) {
    const Bytes mono8 = Fmt(1, 1, 8000, 8);
    EXPECT_EQ(qvpack::SoundProblem(Riff({{"fmt ", mono8}, {"data", Bytes(101)}})), "");
    // Other chunks, odd-sized and padded, may come before the samples.
    EXPECT_EQ(
        qvpack::SoundProblem(Riff({{"LIST", Bytes(5)}, {"fmt ", mono8}, {"fact", Bytes(3)}, {"data", Bytes(10)}})), "");
    EXPECT_EQ(qvpack::SoundProblem(Riff({{"fmt ", mono8}})), "no data chunk");
    EXPECT_EQ(qvpack::SoundProblem(Riff({{"data", Bytes(10)}, {"fmt ", mono8}})), "data chunk before the fmt chunk");
    EXPECT_EQ(qvpack::SoundProblem(Riff({{"LIST", Bytes(4)}})), "no fmt chunk");
    EXPECT_EQ(qvpack::SoundProblem(Riff({{"fmt ", Fmt(1, 2, 8000, 16)}, {"data", Bytes(6)}})),
              "data chunk is empty or ends mid-sample");
    EXPECT_NE(qvpack::SoundProblem(Riff({{"fmt ", Fmt(1, 3, 8000, 16)}, {"data", Bytes(12)}})), "");
    EXPECT_NE(qvpack::SoundProblem(Riff({{"fmt ", Bytes(mono8.begin(), mono8.begin() + 14)}, {"data", Bytes(2)}})), "");

    Bytes chunkPastEnd = Riff({{"fmt ", mono8}, {"data", Bytes(10)}});
    StoreU32(chunkPastEnd, chunkPastEnd.size() - 14, 0xFFFFFFF0u);
    EXPECT_EQ(qvpack::SoundProblem(chunkPastEnd), "a chunk runs past the RIFF size");
    EXPECT_EQ(qvpack::SoundProblem({'R', 'I', 'F', 'F'}), "not a RIFF WAVE file");
    EXPECT_EQ(qvpack::SoundProblem({}), "not a RIFF WAVE file");
}

}  // namespace
