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

using Bytes = std::vector<unsigned char>;

// WIC and libjpeg upsample chroma differently: at a sharp colour edge Wine's
// WIC was seen up to 66 levels from djpeg, and up to 7.4 on average in a
// picture 3 rows high. Flipped rows, swapped channels or garbage go far past.
constexpr int kWorstChannelDifference = 72;
constexpr double kMeanChannelDifference = 8.0;

Bytes Load(const std::string& path) {
    Bytes bytes;
    std::string problem;
    EXPECT_TRUE(morvane::ReadWholeFile(path.c_str(), bytes, problem)) << path << ": " << problem;
    return bytes;
}

struct Reference {
    int width = 0;
    int height = 0;
    Bytes rgb;  // top row first, as djpeg writes it
};

// djpeg's binary PPM (colour) or PGM (grey), grey widened to RGB.
Reference LoadPnm(const std::string& path) {
    Bytes file = Load(path);
    std::istringstream header(std::string(file.begin(), file.end()));
    std::string magic;
    int maxValue = 0;
    Reference ref;
    header >> magic >> ref.width >> ref.height >> maxValue;
    header.get();
    const auto start = static_cast<std::size_t>(header.tellg());
    const int channels = magic == "P5" ? 1 : 3;
    EXPECT_TRUE((magic == "P5" || magic == "P6") && maxValue == 255) << path;
    EXPECT_EQ(file.size() - start, std::size_t(ref.width) * ref.height * channels) << path;
    for (std::size_t i = start; i + channels <= file.size(); i += channels) {
        for (int c = 0; c < 3; ++c) ref.rgb.push_back(file[i + (channels == 1 ? 0 : c)]);
    }
    return ref;
}

#ifndef _WIN32
bool PowerOfTwoFrom4(int n) {
    return n >= 4 && (n & (n - 1)) == 0;
}
#endif

TEST(JpegCorpus, EveryFileGetsItsVerdictAndUsableOnesDjpegsPixels) {
    const std::string folder = KOLVEX_JPEG_CORPUS;
    std::ifstream listing(folder + "/expected.txt");
    ASSERT_TRUE(listing.good()) << folder;
    std::string name;
    std::string verdict;
    int files = 0;
    while (listing >> name >> verdict) {
        SCOPED_TRACE(name);
        ++files;
        const bool usable = verdict == "usable";
        Bytes bytes = Load(folder + "/" + name + ".jpg");
        ArchiveEntry entry{bytes.data(), static_cast<std::uint32_t>(bytes.size())};
        DecodedImage image;
        JPEG24bitQV(&entry, &image);
        EXPECT_EQ(image.pixels != nullptr, usable);
        Reference ref = usable ? LoadPnm(folder + "/" + name + ".pnm") : Reference{};
        EXPECT_EQ(image.width, ref.width);
        EXPECT_EQ(image.height, ref.height);
        if (usable && image.pixels != nullptr && image.width == ref.width && image.height == ref.height) {
            int worst = 0;
            double total = 0;
            const std::size_t stride = std::size_t(ref.width) * 3;
            for (int row = 0; row < ref.height; ++row) {
                // The decoder's first row is the picture's bottom one.
                const unsigned char* ours = image.pixels + (ref.height - 1 - row) * stride;
                const unsigned char* theirs = ref.rgb.data() + row * stride;
                for (std::size_t i = 0; i < stride; ++i) {
                    const int difference = std::abs(int(ours[i]) - int(theirs[i]));
                    worst = std::max(worst, difference);
                    total += difference;
                }
            }
            EXPECT_LE(worst, kWorstChannelDifference);
            EXPECT_LE(total / double(ref.rgb.size()), kMeanChannelDifference);
        }
#ifndef _WIN32
        // qvpack check says usable for what the game decodes, less sides that
        // are not powers of two.
        const bool square = usable && PowerOfTwoFrom4(image.width) && PowerOfTwoFrom4(image.height);
        const std::string problem = qvpack::PictureProblem(bytes);
        EXPECT_EQ(problem.empty(), square) << problem;
#endif
        Free24BMP(&image);
    }
    EXPECT_GT(files, 30);
}

}  // namespace
