// JPEG24bitQV on Windows: decodes an archive entry from memory with the
// system's Windows Imaging Component into bottom-row-first RGB. Part of
// Morvane.dll, called by the game's texture loading for its 30 pictures.
#include <cstdlib>
#include <cstring>

#include "assets/AssetLibrary.h"
#include "morvane/JpegRule.h"
#include "morvane/WicWin32.h"

namespace {

using morvane::ComPtr;

// The game decodes its 30 pictures in a row on one thread. Setting up COM and
// WIC for each of them was most of Morvane's share of start-up, so the first
// thread to decode keeps them: COM stays initialised on it (as the game's
// main thread, it pumps messages as an apartment thread must) and the kept
// objects are only ever used there. Other threads set up and tear down their
// own for each picture. kRetired marks a keeper thread that has ended, whose
// id Windows may hand out again.
constexpr LONG kNoKeeper = 0;
constexpr LONG kRetired = -1;
volatile LONG keeperThread = kNoKeeper;

// WIC's imaging factory (for streams and converters) and the JPEG decoder's
// class object, which makes a decoder without COM looking it up again.
struct Wic {
    IWICImagingFactory* factory = nullptr;
    IClassFactory* jpegDecoders = nullptr;
};
Wic kept;

bool Open(Wic& wic) {
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&wic.factory)))) {
        wic.factory = nullptr;
        return false;
    }
    if (FAILED(CoGetClassObject(CLSID_WICJpegDecoder, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                reinterpret_cast<void**>(&wic.jpegDecoders)))) {
        wic.jpegDecoders = nullptr;
        return false;
    }
    return true;
}

void Close(Wic& wic) {
    if (wic.jpegDecoders != nullptr) wic.jpegDecoders->Release();
    if (wic.factory != nullptr) wic.factory->Release();
    wic = Wic{};
}

// The kept objects when the calling thread is (or becomes) the keeper, else null.
const Wic* Kept() {
    const LONG self = static_cast<LONG>(GetCurrentThreadId());
    if (keeperThread == self) return kept.jpegDecoders != nullptr ? &kept : nullptr;
    if (InterlockedCompareExchange(&keeperThread, self, kNoKeeper) != kNoKeeper) return nullptr;
    // Our own hold on the thread's apartment keeps the kept objects alive. A
    // thread already in COM's other mode (RPC_E_CHANGED_MODE) gives us none,
    // so it keeps nothing and decodes as any other thread does.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return nullptr;
    if (!Open(kept)) Close(kept);
    return kept.jpegDecoders != nullptr ? &kept : nullptr;
}

// Rows from WIC come top first in blue-green-red or grey; the game wants red-
// green-blue with the bottom row first.
void StoreRows(const unsigned char* from, UINT w, UINT h, bool grey, unsigned char* to) {
    const std::size_t inStride = grey ? w : std::size_t{w} * 3;
    const std::size_t outStride = std::size_t{w} * 3;
    for (UINT row = 0; row < h; ++row) {
        const unsigned char* in = from + row * inStride;
        unsigned char* out = to + (h - 1 - row) * outStride;
        for (UINT x = 0; x < w; ++x) {
            const unsigned char* p = grey ? in + x : in + std::size_t{x} * 3;
            out[3 * x] = grey ? p[0] : p[2];
            out[3 * x + 1] = grey ? p[0] : p[1];
            out[3 * x + 2] = p[0];
        }
    }
}

// Returns malloc'd RGB pixels, bottom row first, or null.
unsigned char* DecodeWith(const Wic& wic, const unsigned char* data, DWORD size, int* width, int* height) {
    ComPtr<IWICStream> stream;
    if (FAILED(wic.factory->CreateStream(stream.out()))) return nullptr;
    // WIC only reads from the stream; the cast is for its signature.
    if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), size))) return nullptr;
    // The JPEG decoder itself, not WIC's search through every installed one:
    // that search is slow, and nothing but a JPEG decoder is to see the bytes.
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(wic.jpegDecoders->CreateInstance(nullptr, IID_IWICBitmapDecoder,
                                                reinterpret_cast<void**>(decoder.out()))) ||
        FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand))) {
        return nullptr;
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.out()))) return nullptr;
    UINT w = 0;
    UINT h = 0;
    if (FAILED(frame->GetSize(&w, &h)) || !morvane::ImageSizeAccepted(static_cast<long>(w), static_cast<long>(h))) {
        return nullptr;
    }
    // Colour comes as 24bppBGR and grey as 8bppGray, both copied straight
    // from the frame: WIC's converter from grey fails under Wine.
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetPixelFormat(&format))) return nullptr;
    const bool grey = format == GUID_WICPixelFormat8bppGray;
    ComPtr<IWICFormatConverter> converter;
    IWICBitmapSource* source = frame.get();
    if (!grey && format != GUID_WICPixelFormat24bppBGR) {
        if (FAILED(wic.factory->CreateFormatConverter(converter.out())) ||
            FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr,
                                         0.0, WICBitmapPaletteTypeCustom))) {
            return nullptr;
        }
        source = converter.get();
    }
    const UINT stride = grey ? w : w * 3;
    const UINT total = stride * h;
    auto* decoded = static_cast<unsigned char*>(std::malloc(total));
    auto* pixels = static_cast<unsigned char*>(std::malloc(std::size_t{w} * h * 3));
    if (decoded == nullptr || pixels == nullptr || FAILED(source->CopyPixels(nullptr, stride, total, decoded))) {
        std::free(decoded);
        std::free(pixels);
        return nullptr;
    }
    StoreRows(decoded, w, h, grey, pixels);
    std::free(decoded);
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return pixels;
}

unsigned char* DecodeOnOwnApartment(const unsigned char* data, DWORD size, int* width, int* height) {
    morvane::ComScope com;
    if (!com.usable()) return nullptr;
    Wic wic;
    unsigned char* pixels = Open(wic) ? DecodeWith(wic, data, size, width, height) : nullptr;
    Close(wic);
    return pixels;
}

}  // namespace

unsigned char* morvane::DecodeJpeg(const unsigned char* data, std::uint32_t size, int* width, int* height) {
    // Whatever reaches WIC is a JPEG of the kinds both decoders handle.
    if (CheckJpeg(data, size).verdict != JpegVerdict::kUsable) return nullptr;
    if (const Wic* wic = Kept()) return DecodeWith(*wic, data, size, width, height);
    return DecodeOnOwnApartment(data, size, width, height);
}

// Only notes that the keeper thread is gone: COM may not be called from here,
// and its apartment went with the thread.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_THREAD_DETACH) {
        InterlockedCompareExchange(&keeperThread, kRetired, static_cast<LONG>(GetCurrentThreadId()));
    }
    return TRUE;
}
