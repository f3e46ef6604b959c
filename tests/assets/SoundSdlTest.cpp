// The native clip player against SDL's disk driver writing into a FIFO: the
// device cannot finish opening until this test starts reading, so a clip
// asked for before then is one the opening has not caught up with.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "assets/Sound.h"
#include "assets/SoundSdl.h"
#include "morvane/TestKit.h"
#include "morvane/Wav.h"

// SDL's audio start opens a D-Bus connection whose buffers libdbus keeps
// until dbus_shutdown, which SDL never calls: not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}

namespace {

TEST(SdlClips, AClipAskedForWhileTheDeviceOpensPlaysOnceItIsOpen) {
    const std::filesystem::path fifo =
        std::filesystem::temp_directory_path() / ("kolvex-audio-" + std::to_string(getpid()));
    std::filesystem::remove(fifo);  // left by an earlier run whose process had this id
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", fifo.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);  // as fast as it is read

    // In the default format the device opens with when no sounds are held.
    const std::vector<unsigned char> wav = morvane::PcmWav(1, 16, 22050, 2000);
    morvane::WavFormat format{};
    ASSERT_EQ(morvane::WavProblem(wav.data(), wav.size(), &format), "");
    const std::vector<unsigned char> samples(format.samples, format.samples + format.sampleBytes);

    OpenClipDevice();
    PlayClip(wav.data());  // the device waits in its open of the FIFO

    // The first stretch of output is kept; the rest is drained until the
    // device closes its end.
    const std::size_t kept = samples.size() + 16384;
    std::promise<std::vector<unsigned char>> heard;
    std::thread listener([&] {
        std::FILE* output = std::fopen(fifo.c_str(), "rb");
        std::vector<unsigned char> bytes;
        unsigned char chunk[4096];
        std::size_t got = 0;
        while (output != nullptr && (got = std::fread(chunk, 1, sizeof chunk, output)) > 0) {
            if (bytes.size() < kept) {
                bytes.insert(bytes.end(), chunk, chunk + got);
                if (bytes.size() >= kept) heard.set_value(bytes);
            }
        }
        if (bytes.size() < kept) heard.set_value(bytes);
        if (output != nullptr) std::fclose(output);
    });
    const std::vector<unsigned char> output = heard.get_future().get();
    CloseClipDevice();
    listener.join();
    std::filesystem::remove(fifo);

    EXPECT_NE(std::search(output.begin(), output.end(), samples.begin(), samples.end()), output.end())
        << "the clip is not in the first " << output.size() << " bytes played";
}

}  // namespace
