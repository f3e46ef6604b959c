// The SDL side of playing a clip: one queued audio device, opened in the
// clips' own format, fed a whole clip at a time; a new clip clears the queue
// so it cuts off the one playing. PlayClip runs under the game lock on either
// thread; the entry opens the device before the timer thread and closes it
// after that thread has ended.
#include "assets/SoundSdl.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

#include "assets/Sound.h"
#include "morvane/Wav.h"
#include "state/GameState.h"

namespace {

SDL_AudioDeviceID device = 0;
SDL_AudioSpec deviceSpec{};

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
    // Audio on its own: a machine without sound must not take the window down.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;

    // The clips' shared format, or one that loses nothing of any of them.
    SDL_AudioSpec want{};
    bool first = true;
    for (const ArchiveEntry* clip : {&gameState.soundLineClear, &gameState.soundRotate, &gameState.soundMenu}) {
        morvane::WavFormat format{};
        if (!ReadClip(clip->data, &format)) continue;
        if (first || format.bitsPerSample > SDL_AUDIO_BITSIZE(want.format)) want.format = SampleFormat(format);
        want.freq = first ? int(format.sampleRate) : std::max(want.freq, int(format.sampleRate));
        want.channels = first ? Uint8(format.channels) : std::max(want.channels, Uint8(format.channels));
        first = false;
    }
    if (first) {
        want.freq = 22050;
        want.format = AUDIO_S16LSB;
        want.channels = 1;
    }
    // About 23 ms at 22050 Hz: how late a clip may start, or go on after it is cut.
    want.samples = 512;

    // No changes allowed: SDL converts to whatever the hardware takes.
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &deviceSpec, 0);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    SDL_PauseAudioDevice(device, 0);
}

void CloseClipDevice() {
    if (device == 0) return;
    SDL_CloseAudioDevice(device);
    device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void PlayClip(const unsigned char* wavBytes) {
    morvane::WavFormat format{};
    if (device == 0 || !ReadClip(wavBytes, &format)) return;
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

void StopClips() {
    if (device != 0) SDL_ClearQueuedAudio(device);
}
