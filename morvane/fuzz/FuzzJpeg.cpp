// libFuzzer entry for JPEG24bitQV: each input is one archive entry's bytes.
#include "FuzzBodies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvane::FuzzJpegOnce(data, size);
    return 0;
}
