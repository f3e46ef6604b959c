// libFuzzer entry for ReadQV: each input becomes an archive file in the
// temporary folder and is read through the library's own file path.
#include <unistd.h>

#include <string>

#include "FuzzBodies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/kolvex-fuzz-readqv-" + std::to_string(getpid()) + ".qv";
    morvane::FuzzReadQVOnce(data, size, path.c_str());
    return 0;
}
