// Morvane keeps COM and WIC on the first thread that decodes; these check
// that every other thread still decodes, whatever COM mode it is in, and
// that Morvane leaves such a thread's COM as it found it.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

#include <thread>

#include "assets/AssetLibrary.h"
#include "morvane/TestKit.h"

namespace {

bool Decodes(std::vector<unsigned char>& jpeg) {
    ArchiveEntry entry{jpeg.data(), static_cast<std::uint32_t>(jpeg.size())};
    DecodedImage image;
    JPEG24bitQV(&entry, &image);
    const bool decoded = image.pixels != nullptr && image.width == 8 && image.pixels[0] > 150;
    Free24BMP(&image);
    return decoded;
}

TEST(DecodeThreads, EveryThreadDecodesAndKeepsItsOwnComState) {
    std::vector<unsigned char> jpeg = morvane::SolidColourJpeg(8, 8, 200, 30, 30);
    ASSERT_FALSE(jpeg.empty());
    ASSERT_TRUE(Decodes(jpeg));  // this thread keeps WIC from here on

    std::thread([&] {
        // Another thread first, one without COM: nothing may be left behind.
        EXPECT_TRUE(Decodes(jpeg));
        EXPECT_TRUE(Decodes(jpeg));
        HRESULT fresh = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(fresh, S_OK) << "COM was left initialised on a thread Morvane does not keep";
        if (SUCCEEDED(fresh)) CoUninitialize();
    }).join();

    std::thread([&] {
        // A thread in the multithreaded mode: WIC's apartment request fails
        // with RPC_E_CHANGED_MODE, and its own initialisation must survive.
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_TRUE(Decodes(jpeg));
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE) << "the thread's COM was undone";
        CoUninitialize();
        CoUninitialize();
    }).join();

    EXPECT_TRUE(Decodes(jpeg));
}

}  // namespace
