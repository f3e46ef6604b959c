// Loading and releasing the three sound effects from data.qv: each clip in
// its own field, the first failure ending the loading, and release leaving
// nothing behind. Runs natively and, with the real PlaySoundW, under Wine.
#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "assets/Sound.h"
#include "morvane/Archive.h"
#include "morvane/TestKit.h"
#include "state/GameState.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Three clips that differ in length, so a clip in the wrong field shows.
const Bytes kLineClear = morvane::PcmWav(1, 16, 22050, 4000);
const Bytes kRotate = morvane::PcmWav(1, 8, 11025, 900);
const Bytes kMenu = morvane::PcmWav(2, 16, 22050, 300);

std::vector<morvane::WriterEntry> AllClips() {
    return {{"t1.jpg", morvane::SolidColourJpeg(8, 8, 0, 0, 0)},
            {"s.wav", kMenu},
            {"down.wav", kLineClear},
            {"move.wav", kRotate}};
}

std::vector<morvane::WriterEntry> Without(const std::string& name) {
    auto clips = AllClips();
    std::erase_if(clips, [&](const auto& e) { return e.name == name; });
    return clips;
}

// Marks a field as "never read": LoadSounds must not touch it.
unsigned char untouched;

bool Holds(const ArchiveEntry& entry, const Bytes& clip) {
    return entry.data != nullptr && entry.data != &untouched && Bytes(entry.data, entry.data + clip.size()) == clip;
}

class SoundLoadingTest : public ::testing::Test {
protected:
    SoundLoadingTest() {
        gameState = GameState{};
        gameState.soundOn = true;
    }
    ~SoundLoadingTest() override {
        for (ArchiveEntry* field : {&gameState.soundLineClear, &gameState.soundRotate, &gameState.soundMenu}) {
            if (field->data == &untouched) field->data = nullptr;
        }
        ReleaseSounds();
        gameState = GameState{};
    }

    void Archive(const std::vector<morvane::WriterEntry>& entries) {
        ASSERT_EQ(morvane::WriteTestArchive(kArchiveName, entries), "");
    }

    ScratchFolder folder;
};

TEST_F(SoundLoadingTest, EachClipLandsInItsFieldAndPlaysUntilReleased) {
    Archive(AllClips());
    ASSERT_TRUE(LoadSounds());
    EXPECT_TRUE(Holds(gameState.soundLineClear, kLineClear));
    EXPECT_TRUE(Holds(gameState.soundRotate, kRotate));
    EXPECT_TRUE(Holds(gameState.soundMenu, kMenu));

    // Straight from the archive's bytes, as the game plays them.
    PlayEffect(gameState.soundLineClear);
    PlayEffect(gameState.soundRotate);

    ReleaseSounds();
    EXPECT_EQ(gameState.soundLineClear.data, nullptr);
    EXPECT_EQ(gameState.soundRotate.data, nullptr);
    EXPECT_EQ(gameState.soundMenu.data, nullptr);
    ReleaseSounds();  // a second release finds nothing to free
}

TEST_F(SoundLoadingTest, FirstFailedReadEndsLoadingLeavingNothingAllocated) {
    for (const char* missing : {"down.wav", "move.wav", "s.wav"}) {
        SCOPED_TRACE(missing);
        Archive(Without(missing));
        gameState.soundLineClear = ArchiveEntry{&untouched, 0};
        gameState.soundRotate = ArchiveEntry{&untouched, 0};
        gameState.soundMenu = ArchiveEntry{&untouched, 0};

        EXPECT_FALSE(LoadSounds());
        // Clips read before the failure are released again; the ones after it are never read.
        bool reached = false;
        for (auto [name, field] :
             {std::pair{"down.wav", &gameState.soundLineClear}, std::pair{"move.wav", &gameState.soundRotate},
              std::pair{"s.wav", &gameState.soundMenu}}) {
            reached = reached || std::string(name) == missing;
            EXPECT_EQ(field->data, reached && std::string(name) != missing ? &untouched : nullptr) << name;
            if (field->data == &untouched) field->data = nullptr;
        }
    }
}

// Archives are shared between players: a sound whose own sizes lie, or that is
// no WAV at all, must never reach the player, which trusts those sizes.
TEST_F(SoundLoadingTest, SoundsThatAreNotWhatTheyClaimAreRefused) {
    Bytes lying = kRotate;
    lying[40] = 0x00, lying[41] = 0x00, lying[42] = 0x80, lying[43] = 0x00;  // data chunk claims 8 MiB
    Bytes riffLies = kRotate;
    riffLies[7] = 0x10;  // RIFF size far past the entry
    for (const Bytes& bad : {lying, riffLies, Bytes{}, Bytes(3000, 0x5A), Bytes(kRotate.begin(), kRotate.end() - 9)}) {
        auto clips = Without("move.wav");
        clips.push_back({"move.wav", bad});
        Archive(clips);
        EXPECT_FALSE(LoadSounds());
        EXPECT_EQ(gameState.soundLineClear.data, nullptr);
        EXPECT_EQ(gameState.soundRotate.data, nullptr);
    }
}

TEST_F(SoundLoadingTest, MissingArchiveFailsWithNothingHeld) {
    EXPECT_FALSE(LoadSounds());  // no data.qv in the folder at all
    EXPECT_EQ(gameState.soundLineClear.data, nullptr);
}

}  // namespace
