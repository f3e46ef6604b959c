// Preloaded (LD_PRELOAD) into kolvex and the yardstick by scripts/native-perf.py:
// counts buffer swaps in a small shared file the script reads, notes when the
// first one finished, and on request ends the program right after it.
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>

namespace {

// The file's layout, shared with the script: two little-endian 64-bit words.
struct SwapRecord {
    std::atomic<std::uint64_t> firstSwapNs;  // CLOCK_MONOTONIC, as Python's time.monotonic_ns
    std::atomic<std::uint64_t> swaps;
};

SwapRecord* Record() {
    static SwapRecord* record = [] {
        const char* path = std::getenv("KOLVEX_SWAP_RECORD");
        const int fd = path != nullptr ? open(path, O_RDWR) : -1;
        if (fd < 0) return static_cast<SwapRecord*>(nullptr);
        void* mapped = mmap(nullptr, sizeof(SwapRecord), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        close(fd);
        return mapped == MAP_FAILED ? nullptr : static_cast<SwapRecord*>(mapped);
    }();
    return record;
}

}  // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window* window) {
    static auto* realSwap = reinterpret_cast<void (*)(SDL_Window*)>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    realSwap(window);
    SwapRecord* record = Record();
    if (record == nullptr) return;
    if (record->swaps.fetch_add(1) == 0) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        record->firstSwapNs = std::uint64_t(now.tv_sec) * 1000000000u + std::uint64_t(now.tv_nsec);
        if (std::getenv("KOLVEX_SWAP_EXIT") != nullptr) _exit(0);
    }
}
