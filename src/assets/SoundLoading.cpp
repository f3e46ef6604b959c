// Loading and releasing the three sound effects. The clips stay in memory
// from start-up to shutdown and play straight from it (called by start-up
// and shutdown only).
#include "assets/LoadFailure.h"
#include "assets/Sound.h"
#include "state/GameState.h"

LoadFailure firstLoadFailure;

bool LoadSounds() {
    ArchiveEntry* const fields[] = {&gameState.soundLineClear, &gameState.soundRotate, &gameState.soundMenu};
    const char* const names[] = {"down.wav", "move.wav", "s.wav"};
    for (int i = 0; i < 3; ++i) {
        // ReadQV hands out only well-formed PCM WAVs, so a sound it refuses
        // fails here like a missing one.
        if (ReadQV(kArchiveName, names[i], fields[i]) == 0) {
            if (firstLoadFailure.entry == nullptr) firstLoadFailure = {names[i], false, LoadStep::kRead};
            // Start-up ends with this failure: leave nothing allocated.
            while (i-- > 0) FreeQV(fields[i]);
            return false;
        }
    }
    return true;
}

void ReleaseSounds() {
    // An asynchronous clip may still be reading its bytes: stop it first.
    StopClips();
    FreeQV(&gameState.soundLineClear);
    FreeQV(&gameState.soundRotate);
    FreeQV(&gameState.soundMenu);
}
