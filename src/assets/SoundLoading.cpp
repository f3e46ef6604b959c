// Loading and releasing the three sound effects. The clips stay in memory
// from start-up to shutdown and play straight from it (called by start-up
// and shutdown only).
#include "assets/Sound.h"
#include "state/GameState.h"

bool LoadSounds() {
    return ReadQV(kArchiveName, "down.wav", &gameState.soundLineClear) != 0 &&
           ReadQV(kArchiveName, "move.wav", &gameState.soundRotate) != 0 &&
           ReadQV(kArchiveName, "s.wav", &gameState.soundMenu) != 0;
}

void ReleaseSounds() {
    // An asynchronous clip may still be reading its bytes: stop it first.
    StopClips();
    FreeQV(&gameState.soundLineClear);
    FreeQV(&gameState.soundRotate);
    FreeQV(&gameState.soundMenu);
}
