// What both clip players share (ClipQueueSdl.h): the device's format and the
// queueing of a clip in it. Called by SoundSdl.cpp and SoundWeb.cpp, always
// with their own lock held where another thread may queue.
#include "assets/ClipQueueSdl.h"

#include <algorithm>
#include <vector>

#include "state/GameState.h"

// The clip's format and samples. Every clip the game holds passed this check
// when it was read, so its own RIFF size bounds what may be read.
bool ReadClip(const unsigned char* wavBytes, morvane::WavFormat* format) {
    if (wavBytes == nullptr) return false;
    const std::size_t size = (std::size_t(wavBytes[4]) | std::size_t(wavBytes[5]) << 8 |
                              std::size_t(wavBytes[6]) << 16 | std::size_t(wavBytes[7]) << 24) +
                             8;
    return morvane::WavProblem(wavBytes, size, format).empty();
}

namespace {

SDL_AudioFormat SampleFormat(const morvane::WavFormat& format) {
    return format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
}

}  // namespace

void QueueClip(SDL_AudioDeviceID device, const SDL_AudioSpec& deviceSpec, const morvane::WavFormat& format) {
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

SDL_AudioSpec ClipDeviceSpec() {
    SDL_AudioSpec wanted{};
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
    wanted.samples = 512;
    return wanted;
}
