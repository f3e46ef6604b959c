// Host-only: the platform doubles for this test program, which check that
// shutdown stops playback while the clips' bytes are still held. (The
// Windows build of the same tests links the real PlaySoundW instead.)
#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "assets/Sound.h"
#include "morvane/TestKit.h"
#include "state/GameState.h"

namespace {

struct Calls {
    std::vector<const unsigned char*> played;
    int stops = 0;
    int clipsHeldAtStop = 0;
    unsigned bytesSeenAtStop = 0;
} calls;

}  // namespace

void PlayClip(const unsigned char* wavBytes) {
    calls.played.push_back(wavBytes);
}

void StopClips() {
    calls.stops += 1;
    calls.clipsHeldAtStop = 0;
    // Read every clip as a player still playing it would; the address
    // sanitizer objects if any was already freed.
    for (const ArchiveEntry* clip : {&gameState.soundLineClear, &gameState.soundRotate, &gameState.soundMenu}) {
        if (clip->data == nullptr) continue;
        calls.clipsHeldAtStop += 1;
        for (int i = 0; i < 44; ++i) calls.bytesSeenAtStop += clip->data[i];
    }
}

namespace {

TEST(SoundRelease, PlaybackStopsBeforeTheClipsAreFreed) {
    ScratchFolder folder;
    gameState = GameState{};
    gameState.soundOn = true;
    calls = Calls{};
    ASSERT_EQ(morvane::WriteTestArchive(kArchiveName, {{"down.wav", morvane::PcmWav(1, 8, 8000, 100)},
                                                       {"move.wav", morvane::PcmWav(1, 8, 8000, 200)},
                                                       {"s.wav", morvane::PcmWav(1, 8, 8000, 300)}}),
              "");
    ASSERT_TRUE(LoadSounds());
    PlayEffect(gameState.soundMenu);
    ASSERT_EQ(calls.played.size(), 1u);
    EXPECT_EQ(calls.played[0], gameState.soundMenu.data);

    ReleaseSounds();
    EXPECT_EQ(calls.stops, 1);
    EXPECT_EQ(calls.clipsHeldAtStop, 3);
    EXPECT_GT(calls.bytesSeenAtStop, 0u);
    EXPECT_EQ(gameState.soundMenu.data, nullptr);
    gameState = GameState{};
}

}  // namespace
