// Playing a clip, declared once for both programs: the platform call that
// PlayEffect (Sound.h) makes once it has decided a clip plays. Defined by
// SoundWin32.cpp (PlaySoundW, asynchronous, from memory) and SoundSdl.cpp (one
// queued SDL audio device); the host tests link a recorder. The native build
// also opens and closes its device (SoundSdl.h); Windows has no such step,
// since the multimedia call needs no device of ours.
#pragma once

// Plays a whole WAV file held in memory, cutting off the clip playing. Called
// under the game-state lock, from either thread; never blocks on the device.
void PlayClip(const unsigned char* wavBytes);
// Stops whatever plays, before the clips' bytes are freed.
void StopClips();
