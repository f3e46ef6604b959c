// Playing a clip on Windows: what it implements of ClipPlayer.h, with the
// multimedia call, asynchronous and from memory. Lacks a device of its own
// (the call needs none). Linked into Kolvex.exe and the Windows-layer tests.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include "assets/ClipPlayer.h"

void PlayClip(const unsigned char* wavBytes) {
    PlaySoundW(reinterpret_cast<LPCWSTR>(wavBytes), nullptr, SND_ASYNC | SND_MEMORY);
}

void StopClips() {
    PlaySoundW(nullptr, nullptr, 0);
}
