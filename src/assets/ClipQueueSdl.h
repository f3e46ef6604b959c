// What the native and the page's clip players share (SoundSdl.cpp,
// SoundWeb.cpp): the device format that loses nothing of the game's clips,
// and a clip put on an SDL audio queue in the device's format. Both players
// differ only in when and on which thread the device is opened.
#pragma once

#include <SDL_audio.h>

#include "morvane/Wav.h"

// The clip's format and samples: false for no clip, or one that fails the check.
bool ReadClip(const unsigned char* wavBytes, morvane::WavFormat* format);
// The clips' shared format, or one that loses nothing of any of them, with a
// buffer of about 23 ms: how late a clip may start, or go on after it is cut.
SDL_AudioSpec ClipDeviceSpec();
// The clip replaces whatever `device` (open in `deviceFormat`) has queued.
void QueueClip(SDL_AudioDeviceID device, const SDL_AudioSpec& deviceFormat, const morvane::WavFormat& format);
