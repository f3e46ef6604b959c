// The three sound effects: loading and releasing them, and playing one. The
// portable side decides whether a clip plays; the platform call that actually
// plays it (PlayClip) is defined once per side: PlaySoundW on Windows, a
// recorder in the host tests.
#pragma once

#include "assets/AssetLibrary.h"

// Plays `clip` asynchronously from memory, but only while sound is on.
void PlayEffect(const ArchiveEntry& clip);

bool LoadSounds();
void ReleaseSounds();

// Platform side.
void PlayClip(const unsigned char* wavBytes);
void StopClips();

constexpr const char* kArchiveName = "data.qv";
