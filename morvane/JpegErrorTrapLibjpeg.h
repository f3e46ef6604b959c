// libjpeg reports fatal errors by calling a handler that must not return; ours
// jumps back to the caller's setjmp. Shared by the host decoder, the test
// kit's encoder and qvpack's picture checks.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdio>
// clang-format off
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
// clang-format on

namespace morvane {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] inline void Bail(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}

}  // namespace morvane
