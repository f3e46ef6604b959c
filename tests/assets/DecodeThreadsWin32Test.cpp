// Morvane keeps COM and WIC on the first thread that decodes; every other
// thread must still decode, whatever its COM mode, and keep its COM state.
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
    ASSERT_TRUE(Decodes(jpeg));  // this thread keeps WIC from here on
    std::thread([&] {
        EXPECT_TRUE(Decodes(jpeg));
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK) << "COM left initialised here";
        CoUninitialize();
    }).join();
    std::thread([&] {
        // WIC's apartment request meets RPC_E_CHANGED_MODE here.
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_TRUE(Decodes(jpeg));
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE) << "this thread's COM was undone";
        CoUninitialize();
        CoUninitialize();
    }).join();
    EXPECT_TRUE(Decodes(jpeg));
}

}  // namespace
