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

TEST_F(SoundLoadingTest, FirstFailedReadEndsLoadingAndLaterClipsAreNotRead) {
    struct Case {
        const char* missing;
        bool lineClearLoaded;
        bool rotateLoaded;
    };
    for (const Case& c : {Case{"down.wav", false, false}, Case{"move.wav", true, false}, Case{"s.wav", true, true}}) {
        SCOPED_TRACE(c.missing);
        Archive(Without(c.missing));
        gameState.soundLineClear = ArchiveEntry{&untouched, 0};
        gameState.soundRotate = ArchiveEntry{&untouched, 0};
        gameState.soundMenu = ArchiveEntry{&untouched, 0};

        EXPECT_FALSE(LoadSounds());
        EXPECT_EQ(Holds(gameState.soundLineClear, kLineClear), c.lineClearLoaded);
        EXPECT_EQ(Holds(gameState.soundRotate, kRotate), c.rotateLoaded);
        // The failed read clears its field; the ones after it stay as they were.
        const ArchiveEntry* failed = !c.lineClearLoaded ? &gameState.soundLineClear
                                     : !c.rotateLoaded  ? &gameState.soundRotate
                                                        : &gameState.soundMenu;
        EXPECT_EQ(failed->data, nullptr);
        if (!c.lineClearLoaded) {
            EXPECT_EQ(gameState.soundRotate.data, &untouched);
        }
        if (!c.rotateLoaded) {
            EXPECT_EQ(gameState.soundMenu.data, &untouched);
        }

        for (ArchiveEntry* field : {&gameState.soundLineClear, &gameState.soundRotate, &gameState.soundMenu}) {
            if (field->data == &untouched) field->data = nullptr;
        }
        ReleaseSounds();
    }
}

TEST_F(SoundLoadingTest, MissingArchiveFailsWithNothingHeld) {
    EXPECT_FALSE(LoadSounds());  // no data.qv in the folder at all
    EXPECT_EQ(gameState.soundLineClear.data, nullptr);
}

}  // namespace
