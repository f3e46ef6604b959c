// The one rule every sound follows: nothing plays while sound is off. The
// triggers (rotation, cleared rows, menu moves) all come through here.
#include "assets/Sound.h"
#include "state/GameState.h"

void PlayEffect(const ArchiveEntry& clip) {
    if (gameState.soundOn) PlayClip(clip.data);
}
