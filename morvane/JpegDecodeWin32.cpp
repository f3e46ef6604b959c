// JPEG24bitQV on Windows: decodes an archive entry from memory with the
// system's Windows Imaging Component into bottom-row-first RGB. Part of
// Morvane.dll, called by the game's texture loading.
#include <cstdlib>
#include <cstring>

#include "assets/AssetLibrary.h"
#include "morvane/ImageLimits.h"
#include "morvane/WicWin32.h"

namespace {

using morvane::ComPtr;

// Returns malloc'd RGB pixels, bottom row first, or null.
unsigned char* DecodeRgb(const unsigned char* data, DWORD size, int* width, int* height) {
    morvane::ComScope com;
    if (!com.usable()) return nullptr;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.out())))) {
        return nullptr;
    }
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.out()))) return nullptr;
    // WIC only reads from the stream; the cast is for its signature.
    if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), size))) return nullptr;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(
            factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.out()))) {
        return nullptr;
    }
    // WIC would happily decode a PNG or BMP; the archive's pictures are JPEG.
    GUID container{};
    if (FAILED(decoder->GetContainerFormat(&container)) || container != GUID_ContainerFormatJpeg) return nullptr;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.out()))) return nullptr;
    UINT w = 0;
    UINT h = 0;
    if (FAILED(frame->GetSize(&w, &h)) || !morvane::ImageSizeAccepted(static_cast<long>(w), static_cast<long>(h))) {
        return nullptr;
    }
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return nullptr;
    }
    const UINT stride = w * 3;
    const UINT total = stride * h;
    auto* bgr = static_cast<unsigned char*>(std::malloc(total));
    auto* pixels = static_cast<unsigned char*>(std::malloc(total));
    if (bgr == nullptr || pixels == nullptr || FAILED(converter->CopyPixels(nullptr, stride, total, bgr))) {
        std::free(bgr);
        std::free(pixels);
        return nullptr;
    }
    // WIC gives rows top first in blue-green-red; the game wants red-green-
    // blue with the bottom row first.
    for (UINT row = 0; row < h; ++row) {
        const unsigned char* from = bgr + static_cast<std::size_t>(row) * stride;
        unsigned char* to = pixels + static_cast<std::size_t>(h - 1 - row) * stride;
        for (UINT x = 0; x < stride; x += 3) {
            to[x] = from[x + 2];
            to[x + 1] = from[x + 1];
            to[x + 2] = from[x];
        }
    }
    std::free(bgr);
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return pixels;
}

}  // namespace

unsigned char* morvane::DecodeJpeg(const unsigned char* data, std::uint32_t size, int* width, int* height) {
    return DecodeRgb(data, size, width, height);
}
