// The Windows side of playing a clip: the multimedia call, asynchronous and
// from memory. Linked into Kolvex.exe and the Windows-layer tests only.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include "assets/Sound.h"

void PlayClip(const unsigned char* wavBytes) {
    PlaySoundW(reinterpret_cast<LPCWSTR>(wavBytes), nullptr, SND_ASYNC | SND_MEMORY);
}

void StopClips() {
    PlaySoundW(nullptr, nullptr, 0);
}
