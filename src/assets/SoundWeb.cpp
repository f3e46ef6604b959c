// Playing a clip on the page: what it implements of ClipPlayer.h and of the
// device steps in SoundSdl.h, with one queued SDL audio device on Web Audio,
// as the native player has. Lacks the native player's opening thread: a
// browser lets a page sound only after a key or a click, so the page's entry
// opens the device at the first key, on the page's one thread, and until
// then the game is silent. Every clip queued is counted on the page
// (Module.kolvexClipsQueued) for its tests.
#include <SDL.h>
#include <emscripten.h>

#include "assets/ClipQueueSdl.h"
#include "assets/Sound.h"
#include "assets/SoundSdl.h"

namespace {

SDL_AudioDeviceID device = 0;  // 0 until open, and on any failure
SDL_AudioSpec deviceSpec{};
bool audioStarted = false;

}  // namespace

void OpenClipDevice() {
    if (device != 0 || audioStarted) return;
    // Audio on its own: a browser without Web Audio keeps the game, silent.
    audioStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    const SDL_AudioSpec wanted = ClipDeviceSpec();
    device = audioStarted ? SDL_OpenAudioDevice(nullptr, 0, &wanted, &deviceSpec, 0) : 0;
    if (device != 0) SDL_PauseAudioDevice(device, 0);
}

void CloseClipDevice() {
    if (device != 0) SDL_CloseAudioDevice(device);
    device = 0;
    if (audioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioStarted = false;
}

void PlayClip(const unsigned char* wavBytes) {
    morvane::WavFormat format{};
    if (device == 0 || !ReadClip(wavBytes, &format)) return;
    QueueClip(device, deviceSpec, format);
    EM_ASM({ Module.kolvexClipsQueued = (Module.kolvexClipsQueued || 0) + 1; });
}

void StopClips() {
    if (device != 0) SDL_ClearQueuedAudio(device);
}
