// The platform-neutral half of the test kit: solid-colour pictures, WAV
// files and test archives. EncodeJpeg itself is per platform.
#include "morvane/TestKit.h"

namespace morvane {

std::vector<unsigned char> SolidColourJpeg(int width, int height, std::uint8_t red, std::uint8_t green,
                                           std::uint8_t blue) {
    if (width <= 0 || height <= 0) return {};
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = red;
        rgb[i + 1] = green;
        rgb[i + 2] = blue;
    }
    return EncodeJpeg(rgb.data(), width, height);
}

namespace {

void PutU16(std::vector<unsigned char>& out, std::uint32_t value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void PutU32(std::vector<unsigned char>& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void PutTag(std::vector<unsigned char>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(tag[i]));
}

}  // namespace

std::vector<unsigned char> PcmWav(int channels, int bitsPerSample, int sampleRate, int sampleCount) {
    const std::uint32_t blockAlign = static_cast<std::uint32_t>(channels * bitsPerSample / 8);
    const std::uint32_t dataSize = blockAlign * static_cast<std::uint32_t>(sampleCount);
    std::vector<unsigned char> wav;
    PutTag(wav, "RIFF");
    PutU32(wav, 36 + dataSize + (dataSize & 1));
    PutTag(wav, "WAVE");
    PutTag(wav, "fmt ");
    PutU32(wav, 16);
    PutU16(wav, 1);
    PutU16(wav, static_cast<std::uint32_t>(channels));
    PutU32(wav, static_cast<std::uint32_t>(sampleRate));
    PutU32(wav, static_cast<std::uint32_t>(sampleRate) * blockAlign);
    PutU16(wav, blockAlign);
    PutU16(wav, static_cast<std::uint32_t>(bitsPerSample));
    PutTag(wav, "data");
    PutU32(wav, dataSize);
    for (int frame = 0; frame < sampleCount; ++frame) {
        bool high = (frame / 20) % 2 == 0;
        for (int c = 0; c < channels; ++c) {
            if (bitsPerSample == 8) {
                wav.push_back(high ? 0x90 : 0x70);
            } else {
                PutU16(wav, high ? 0x0800 : 0xF800);
            }
        }
    }
    if (dataSize & 1) wav.push_back(0);
    return wav;
}

std::string WriteTestArchive(const std::string& path, const std::vector<WriterEntry>& entries) {
    std::string problem;
    if (!WriteArchive(path.c_str(), entries, problem)) return problem.empty() ? "write failed" : problem;
    return {};
}

}  // namespace morvane
