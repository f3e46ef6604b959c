// Playing a clip on the native build: what it implements of ClipPlayer.h,
// with one queued audio device, opened in the clips' own format, fed a whole
// clip at a time; a new clip clears the queue so it cuts off the one
// playing. Adds a device to open and close (SoundSdl.h): the entry opens it
// before the timer thread and closes it after that thread has ended. The
// opening runs on a thread of its own, so a slow or absent sound server never
// holds up the first frame; a clip asked for meanwhile waits for it.
#include "assets/SoundSdl.h"

#include <SDL.h>

#include <mutex>

#include "assets/ClipQueueSdl.h"
#include "assets/Sound.h"
#include "morvane/Wav.h"
#include "state/GameState.h"

namespace {

// Guards the device's publication, the clip waiting for it and every queue
// call: PlayClip and StopClips run on the game's threads, and the opening
// thread hands over the waiting clip when it is done.
std::mutex clipLock;
SDL_AudioDeviceID device = 0;  // 0 until open, and on any failure
bool deviceOpening = false;    // from OpenClipDevice until the opening thread is done
// The last clip asked for while the device was opening: it plays, late, once
// the device is open, instead of being lost. Its bytes live until
// ReleaseSounds, whose StopClips drops it first.
const unsigned char* pendingClip = nullptr;
SDL_AudioSpec deviceSpec{};  // the opening thread's until it publishes the device
bool audioStarted = false;   // the opening thread's; read after joining it
SDL_AudioSpec wanted{};      // set before the opening thread starts
// An SDL thread, not a std::thread: SDL frees what it keeps per thread (its
// error text) only for threads it started.
SDL_Thread* opening = nullptr;

int OpenDevice(void*) {
    // Audio on its own: a machine without sound must not take the window down.
    audioStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    // No changes allowed: SDL converts to whatever the hardware takes.
    const SDL_AudioDeviceID opened = audioStarted ? SDL_OpenAudioDevice(nullptr, 0, &wanted, &deviceSpec, 0) : 0;
    std::lock_guard<std::mutex> hold(clipLock);
    deviceOpening = false;
    device = opened;
    morvane::WavFormat format{};
    if (opened != 0 && ReadClip(pendingClip, &format)) QueueClip(device, deviceSpec, format);
    pendingClip = nullptr;
    if (opened != 0) SDL_PauseAudioDevice(opened, 0);
    return 0;
}

}  // namespace

void OpenClipDevice() {
    wanted = ClipDeviceSpec();

    {
        std::lock_guard<std::mutex> hold(clipLock);
        deviceOpening = true;
    }
    opening = SDL_CreateThread(OpenDevice, "kolvex audio", nullptr);
    if (opening == nullptr) {
        std::lock_guard<std::mutex> hold(clipLock);
        deviceOpening = false;
    }
}

void CloseClipDevice() {
    if (opening != nullptr) SDL_WaitThread(opening, nullptr);
    opening = nullptr;
    SDL_AudioDeviceID opened = 0;
    {
        std::lock_guard<std::mutex> hold(clipLock);
        opened = device;
        device = 0;
        pendingClip = nullptr;
    }
    if (opened != 0) SDL_CloseAudioDevice(opened);
    if (audioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioStarted = false;
}

void PlayClip(const unsigned char* wavBytes) {
    morvane::WavFormat format{};
    if (!ReadClip(wavBytes, &format)) return;
    std::lock_guard<std::mutex> hold(clipLock);
    if (device != 0) {
        QueueClip(device, deviceSpec, format);
    } else if (deviceOpening) {
        pendingClip = wavBytes;
    }
}

void StopClips() {
    std::lock_guard<std::mutex> hold(clipLock);
    pendingClip = nullptr;
    if (device != 0) SDL_ClearQueuedAudio(device);
}
