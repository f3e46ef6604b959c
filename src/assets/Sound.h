// The three sound effects: loading and releasing them, and playing one. The
// portable side decides whether a clip plays; the platform call that actually
// plays it is the clip player's (ClipPlayer.h).
#pragma once

#include "assets/AssetLibrary.h"
#include "assets/ClipPlayer.h"

// Plays `clip` asynchronously from memory, but only while sound is on.
void PlayEffect(const ArchiveEntry& clip);

bool LoadSounds();
void ReleaseSounds();

constexpr const char* kArchiveName = "data.qv";
