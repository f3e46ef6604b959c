// The SDL side of playing a clip: one queued audio device, opened in the
// clips' own format, fed a whole clip at a time; a new clip clears the queue
// so it cuts off the one playing. PlayClip runs under the game lock on either
// thread; the entry opens the device before the timer thread and closes it
// after that thread has ended. The opening itself runs on a thread of its
// own, so a slow or absent sound server never holds up the first frame.
#include "assets/SoundSdl.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "assets/Sound.h"
#include "morvane/Wav.h"
#include "state/GameState.h"

namespace {

// Published by the opening thread once deviceSpec holds the device's format;
// until then, and on any failure, 0: clips are not played.
std::atomic<SDL_AudioDeviceID> device{0};
SDL_AudioSpec deviceSpec{};
bool audioStarted = false;  // the opening thread's; read after joining it
SDL_AudioSpec wanted{};     // set before the opening thread starts
// An SDL thread, not a std::thread: SDL frees what it keeps per thread (its
// error text) only for threads it started.
SDL_Thread* opening = nullptr;

int OpenDevice(void*) {
    // Audio on its own: a machine without sound must not take the window down.
    audioStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!audioStarted) return 0;
    // No changes allowed: SDL converts to whatever the hardware takes.
    const SDL_AudioDeviceID opened = SDL_OpenAudioDevice(nullptr, 0, &wanted, &deviceSpec, 0);
    if (opened == 0) return 0;
    SDL_PauseAudioDevice(opened, 0);
    device.store(opened, std::memory_order_release);
    return 0;
}

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

    opening = SDL_CreateThread(OpenDevice, "kolvex audio", nullptr);
}

void CloseClipDevice() {
    if (opening != nullptr) SDL_WaitThread(opening, nullptr);
    opening = nullptr;
    const SDL_AudioDeviceID opened = device.exchange(0);
    if (opened != 0) SDL_CloseAudioDevice(opened);
    if (audioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioStarted = false;
}

void PlayClip(const unsigned char* wavBytes) {
    const SDL_AudioDeviceID opened = device.load(std::memory_order_acquire);
    morvane::WavFormat format{};
    if (opened == 0 || !ReadClip(wavBytes, &format)) return;
    // The queue holds copies, so no playback reads the entry after this call.
    SDL_ClearQueuedAudio(opened);
    if (SampleFormat(format) == deviceSpec.format && int(format.channels) == deviceSpec.channels &&
        int(format.sampleRate) == deviceSpec.freq) {
        SDL_QueueAudio(opened, format.samples, format.sampleBytes);
        return;
    }
    SDL_AudioStream* stream = SDL_NewAudioStream(SampleFormat(format), Uint8(format.channels), int(format.sampleRate),
                                                 deviceSpec.format, deviceSpec.channels, deviceSpec.freq);
    if (stream == nullptr) return;
    std::vector<unsigned char> converted;
    if (SDL_AudioStreamPut(stream, format.samples, int(format.sampleBytes)) == 0 && SDL_AudioStreamFlush(stream) == 0) {
        converted.resize(std::size_t(SDL_AudioStreamAvailable(stream)));
        const int got = SDL_AudioStreamGet(stream, converted.data(), int(converted.size()));
        if (got > 0) SDL_QueueAudio(opened, converted.data(), Uint32(got));
    }
    SDL_FreeAudioStream(stream);
}

void StopClips() {
    const SDL_AudioDeviceID opened = device.load(std::memory_order_acquire);
    if (opened != 0) SDL_ClearQueuedAudio(opened);
}
