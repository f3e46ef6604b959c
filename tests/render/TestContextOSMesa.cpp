// The host render tests' OpenGL context: OSMesa drawing into memory, with
// the 16-bit depth buffer the game asks for.
#include <GL/osmesa.h>

#include <vector>

#include "RenderTestKit.h"

namespace {
OSMesaContext context = nullptr;
std::vector<unsigned char> colourBuffer;
}  // namespace

// OSMesa never frees a context's window-system buffer; that is Mesa's, not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libOSMesa.so\n";
}

void OpenTestContext() {
    context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    ASSERT_NE(context, nullptr);
    colourBuffer.assign(std::size_t(kFrameWidth) * kFrameHeight * 4, 0);
    ASSERT_TRUE(OSMesaMakeCurrent(context, colourBuffer.data(), GL_UNSIGNED_BYTE, kFrameWidth, kFrameHeight));
}

void CloseTestContext() {
    if (context == nullptr) return;
    // Mesa's glBitmap cache must be flushed while the context is still current,
    // or destroying the context trips over it.
    glFinish();
    OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
    OSMesaDestroyContext(context);
    context = nullptr;
}
