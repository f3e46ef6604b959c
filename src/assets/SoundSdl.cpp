// Playing a clip on the native build: what it implements of ClipPlayer.h,
// with one queued audio device, opened in the clips' own format, fed a whole
// clip at a time; a new clip clears the queue so it cuts off the one
// playing. Adds a device to open and close (SoundSdl.h): the entry opens it
// before the timer thread and closes it after that thread has ended. The
// opening runs on a thread of its own, so a slow or absent sound server never
// holds up the first frame; a clip asked for meanwhile waits for it.
#include "assets/SoundSdl.h"

#include <SDL.h>

#include <algorithm>
#include <mutex>
#include <vector>

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

// The clip's format and samples. Every clip the game holds passed this check
// when it was read, so its own RIFF size bounds what may be read.
bool ReadClip(const unsigned char* wavBytes, morvane::WavFormat* format) {
    if (wavBytes == nullptr) return false;
    const std::size_t size = (std::size_t(wavBytes[4]) | std::size_t(wavBytes[5]) << 8 |
                              std::size_t(wavBytes[6]) << 16 | std::size_t(wavBytes[7]) << 24) +
                             8;
    return morvane::WavProblem(wavBytes, size, format).empty();
}

SDL_AudioFormat SampleFormat(const morvane::WavFormat& format) {
    return format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
}

// With clipLock held and the device open: the clip replaces whatever is queued.
void QueueClip(const morvane::WavFormat& format) {
    // The queue holds copies, so no playback reads the entry after this call.
    SDL_ClearQueuedAudio(device);
    if (SampleFormat(format) == deviceSpec.format && int(format.channels) == deviceSpec.channels &&
        int(format.sampleRate) == deviceSpec.freq) {
        SDL_QueueAudio(device, format.samples, format.sampleBytes);
        return;
    }
    SDL_AudioStream* stream = SDL_NewAudioStream(SampleFormat(format), Uint8(format.channels), int(format.sampleRate),
                                                 deviceSpec.format, deviceSpec.channels, deviceSpec.freq);
    if (stream == nullptr) return;
    std::vector<unsigned char> converted;
    if (SDL_AudioStreamPut(stream, format.samples, int(format.sampleBytes)) == 0 && SDL_AudioStreamFlush(stream) == 0) {
        converted.resize(std::size_t(SDL_AudioStreamAvailable(stream)));
        const int got = SDL_AudioStreamGet(stream, converted.data(), int(converted.size()));
        if (got > 0) SDL_QueueAudio(device, converted.data(), Uint32(got));
    }
    SDL_FreeAudioStream(stream);
}

int OpenDevice(void*) {
    // Audio on its own: a machine without sound must not take the window down.
    audioStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    // No changes allowed: SDL converts to whatever the hardware takes.
    const SDL_AudioDeviceID opened = audioStarted ? SDL_OpenAudioDevice(nullptr, 0, &wanted, &deviceSpec, 0) : 0;
    std::lock_guard<std::mutex> hold(clipLock);
    deviceOpening = false;
    device = opened;
    morvane::WavFormat format{};
    if (opened != 0 && ReadClip(pendingClip, &format)) QueueClip(format);
    pendingClip = nullptr;
    if (opened != 0) SDL_PauseAudioDevice(opened, 0);
    return 0;
}

}  // namespace

void OpenClipDevice() {
    // The clips' shared format, or one that loses nothing of any of them.
    wanted = {};
    bool first = true;
    for (const ArchiveEntry* clip : {&gameState.soundLineClear, &gameState.soundRotate, &gameState.soundMenu}) {
        morvane::WavFormat format{};
        if (!ReadClip(clip->data, &format)) continue;
        if (first || format.bitsPerSample > SDL_AUDIO_BITSIZE(wanted.format)) wanted.format = SampleFormat(format);
        wanted.freq = first ? int(format.sampleRate) : std::max(wanted.freq, int(format.sampleRate));
        wanted.channels = first ? Uint8(format.channels) : std::max(wanted.channels, Uint8(format.channels));
        first = false;
    }
    if (first) {
        wanted.freq = 22050;
        wanted.format = AUDIO_S16LSB;
        wanted.channels = 1;
    }
    // About 23 ms at 22050 Hz: how late a clip may start, or go on after it is cut.
    wanted.samples = 512;

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
        QueueClip(format);
    } else if (deviceOpening) {
        pendingClip = wavBytes;
    }
}

void StopClips() {
    std::lock_guard<std::mutex> hold(clipLock);
    pendingClip = nullptr;
    if (device != 0) SDL_ClearQueuedAudio(device);
}
