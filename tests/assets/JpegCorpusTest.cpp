// Holds the JPEG decoder to the corpus make-jpeg-corpus.py builds: every file
// gets the verdict the corpus expects, and usable ones decode to djpeg's
// pixels within a small tolerance. Natively this is libjpeg and qvpack
// check's picture rule; under Wine, WIC through the real Morvane.dll.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "assets/AssetLibrary.h"
#include "morvane/Archive.h"
#ifndef _WIN32
#include "AssetChecks.h"
#endif

namespace {

// WIC and libjpeg upsample chroma differently: at a sharp colour edge Wine's
// WIC was seen up to 66 levels from djpeg, and up to 7.4 on average in a
// picture 3 rows high. Flipped rows, swapped channels or garbage go far past.
constexpr int kWorstChannelDifference = 72;
constexpr double kMeanChannelDifference = 8.0;

std::vector<unsigned char> Load(const std::string& path) {
    std::vector<unsigned char> bytes;
    std::string problem;
    EXPECT_TRUE(morvane::ReadWholeFile(path.c_str(), bytes, problem)) << path << ": " << problem;
    return bytes;
}

TEST(JpegCorpus, EveryFileGetsItsVerdictAndUsableOnesDjpegsPixels) {
    const std::string folder = KOLVEX_JPEG_CORPUS;
    std::ifstream listing(folder + "/expected.txt");
    ASSERT_TRUE(listing.good()) << folder;
    int files = 0;
    for (std::string line; std::getline(listing, line); ++files) {
        std::istringstream fields(line);
        std::string name, verdict;
        int width = 0, height = 0;
        fields >> name >> verdict >> width >> height;
        SCOPED_TRACE(name);
        std::vector<unsigned char> bytes = Load(folder + "/" + name + ".jpg");
        ArchiveEntry entry{bytes.data(), static_cast<std::uint32_t>(bytes.size())};
        DecodedImage image;
        JPEG24bitQV(&entry, &image);
        EXPECT_EQ(image.pixels != nullptr, verdict == "usable");
        EXPECT_EQ(image.width, width);
        EXPECT_EQ(image.height, height);
        if (image.pixels != nullptr && image.width == width && image.height == height) {
            const std::vector<unsigned char> reference = Load(folder + "/" + name + ".rgb");
            const std::size_t stride = std::size_t(width) * 3;
            ASSERT_EQ(reference.size(), stride * height);
            int worst = 0;
            double total = 0;
            for (int row = 0; row < height; ++row) {
                // The decoder's first row is the picture's bottom one.
                const unsigned char* ours = image.pixels + (height - 1 - row) * stride;
                for (std::size_t i = 0; i < stride; ++i) {
                    const int difference = std::abs(int(ours[i]) - int(reference[row * stride + i]));
                    worst = std::max(worst, difference);
                    total += difference;
                }
            }
            EXPECT_LE(worst, kWorstChannelDifference);
            EXPECT_LE(total / double(reference.size()), kMeanChannelDifference);
        }
#ifndef _WIN32
        // qvpack check: usable for what the game decodes, less sides that are
        // not powers of two from 4.
        auto square = [](int n) { return n >= 4 && (n & (n - 1)) == 0; };
        const std::string problem = qvpack::PictureProblem(bytes);
        EXPECT_EQ(problem.empty(), verdict == "usable" && square(width) && square(height)) << problem;
#endif
        Free24BMP(&image);
    }
    EXPECT_GT(files, 30);
}

}  // namespace
