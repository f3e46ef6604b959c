// Decoding archive pictures the game's way: orientation and channel order
// (bottom row first, red-green-blue) and records left safe. The same cases
// run against libjpeg natively and WIC under Wine; which files are accepted
// is JpegCorpusTest's.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "ScratchFolder.h"
#include "assets/AssetLibrary.h"
#include "morvane/Archive.h"
#include "morvane/TestKit.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct Rgb {
    int r, g, b;
};

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kWhite{255, 255, 255};

// Pixels as an image file stores them: top row first.
Bytes Paint(int width, int height, const std::function<Rgb(int x, int y)>& colourAt) {
    Bytes rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb c = colourAt(x, y);
            rgb.insert(rgb.end(), {static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                                   static_cast<unsigned char>(c.b)});
        }
    }
    return rgb;
}

Bytes Jpeg(int width, int height, const std::function<Rgb(int x, int y)>& colourAt) {
    Bytes rgb = Paint(width, height, colourAt);
    return morvane::EncodeJpeg(rgb.data(), width, height);
}

class DecodeTest : public ::testing::Test {
protected:
    ~DecodeTest() override { Free24BMP(&image); }

    // Goes the game's way: pack, ReadQV, JPEG24bitQV. Returns its result.
    int Decode(const Bytes& file) {
        std::string problem = morvane::WriteTestArchive("pictures.qv", {{"p.jpg", file}});
        EXPECT_EQ(problem, "");
        ArchiveEntry entry;
        EXPECT_NE(ReadQV("pictures.qv", "p.jpg", &entry), 0);
        std::memset(&image, 0x5A, sizeof image);  // the game does not initialise it
        int result = JPEG24bitQV(&entry, &image);
        FreeQV(&entry);
        return result;
    }

    // Pixel (x, y) of the decoded image, y counted from the bottom row.
    Rgb At(int x, int y) const {
        const unsigned char* p = image.pixels + (static_cast<std::size_t>(y) * image.width + x) * 3;
        return {p[0], p[1], p[2]};
    }

    void ExpectNear(Rgb actual, Rgb wanted, const char* where) const {
        constexpr int kTolerance = 40;
        EXPECT_NEAR(actual.r, wanted.r, kTolerance) << where;
        EXPECT_NEAR(actual.g, wanted.g, kTolerance) << where;
        EXPECT_NEAR(actual.b, wanted.b, kTolerance) << where;
    }

    void ExpectRefused(int result) const {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(image.width, 0);
        EXPECT_EQ(image.height, 0);
        EXPECT_EQ(image.pixels, nullptr);
    }

    ScratchFolder folder;
    DecodedImage image{};
};

TEST_F(DecodeTest, RedOverBlueComesOutBlueRowsFirst) {
    Bytes jpeg = Jpeg(16, 16, [](int, int y) { return y < 8 ? kRed : kBlue; });
    ASSERT_FALSE(jpeg.empty());
    ASSERT_NE(Decode(jpeg), 0);
    ASSERT_EQ(image.width, 16);
    ASSERT_EQ(image.height, 16);
    ASSERT_NE(image.pixels, nullptr);
    for (int x : {0, 7, 15}) {
        ExpectNear(At(x, 0), kBlue, "first row in memory");
        ExpectNear(At(x, 5), kBlue, "lower part");
        ExpectNear(At(x, 10), kRed, "upper part");
        ExpectNear(At(x, 15), kRed, "last row in memory");
    }
}

TEST_F(DecodeTest, ColumnsKeepTheirOrderAndSidesTheirLengths) {
    Bytes jpeg = Jpeg(32, 8, [](int x, int) { return x < 16 ? kGreen : kWhite; });
    ASSERT_NE(Decode(jpeg), 0);
    ASSERT_EQ(image.width, 32);
    ASSERT_EQ(image.height, 8);
    for (int y : {0, 7}) {
        ExpectNear(At(0, y), kGreen, "left edge");
        ExpectNear(At(12, y), kGreen, "left half");
        ExpectNear(At(20, y), kWhite, "right half");
        ExpectNear(At(31, y), kWhite, "right edge");
    }
}

TEST_F(DecodeTest, EmptyOrReleasedRecordsAreHandledSafely) {
    ExpectRefused(Decode({}));

    ArchiveEntry released{};
    std::memset(&image, 0x5A, sizeof image);
    EXPECT_EQ(JPEG24bitQV(&released, &image), 0);
    ExpectRefused(0);
    EXPECT_EQ(JPEG24bitQV(nullptr, &image), 0);
    EXPECT_EQ(JPEG24bitQV(&released, nullptr), 0);

    ASSERT_NE(Decode(morvane::SolidColourJpeg(8, 8, 0, 0, 0)), 0);
    Free24BMP(&image);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 0);
    Free24BMP(&image);  // twice is harmless
    EXPECT_EQ(Free24BMP(nullptr), 0);
}

}  // namespace
