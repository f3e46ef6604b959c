// Recording doubles for PlayClip and StopClips, linked into every test program
// that exercises portable code without the real Windows layer.
#include "support/PlatformDouble.h"

#include "assets/Sound.h"
#include "state/GameState.h"

PlatformCalls platformCalls;

void PlayClip(const unsigned char* wavBytes) {
    platformCalls.clipsPlayed.push_back(wavBytes);
}

void StopClips() {
    platformCalls.stopCount += 1;
}

void ResetTestWorld() {
    platformCalls = PlatformCalls{};
    gameState = GameState{};
}
