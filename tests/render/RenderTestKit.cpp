// The side-independent half of the render tests' kit: test archives, the
// projection worked out by hand, pixel probes and PNG shots.
#include "RenderTestKit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>

#include "assets/Sound.h"
#include "render/GL.h"
#include "render/Render.h"
#include "state/GameState.h"
#include "support/PlatformDouble.h"

namespace fs = std::filesystem;

Rgb SlotColour(int slot) {
    const int code = slot + 1;  // 1..30 in base 4: never 0 (black) nor 63 (white)
    return {85 * (code % 4), 85 * (code / 4 % 4), 85 * (code / 16)};
}

std::vector<morvane::WriterEntry> TestArchiveEntries() {
    std::vector<morvane::WriterEntry> entries;
    for (int slot = 0; slot < kTextureCount; ++slot) {
        Rgb c = SlotColour(slot);
        entries.push_back(
            {TextureEntryNames[slot],
             morvane::SolidColourJpeg(16, 16, std::uint8_t(c.red), std::uint8_t(c.green), std::uint8_t(c.blue))});
    }
    for (const char* sound : {"down.wav", "move.wav", "s.wav"}) {
        entries.push_back({sound, morvane::PcmWav(1, 8, 11025, 64)});
    }
    return entries;
}

void RemoveEntry(std::vector<morvane::WriterEntry>& entries, const std::string& name) {
    std::erase_if(entries, [&](const morvane::WriterEntry& e) { return e.name == name; });
}

void ReplaceEntry(std::vector<morvane::WriterEntry>& entries, const std::string& name,
                  std::vector<unsigned char> bytes) {
    for (auto& e : entries) {
        if (e.name == name) e.bytes = std::move(bytes);
    }
}

ScreenPoint Project(float x, float y, float z) {
    // 45 degrees vertical, 4:3, viewport 800 x 600.
    const double f = 1.0 / std::tan(std::numbers::pi / 8.0);
    const double ndcX = f / (4.0 / 3.0) * x / -z;
    const double ndcY = f * y / -z;
    return {int(std::floor((ndcX + 1.0) * kFrameWidth / 2)), int(std::floor((ndcY + 1.0) * kFrameHeight / 2))};
}

Rgb PixelAt(ScreenPoint point) {
    unsigned char rgb[3] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(point.x, point.y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

int SlotOf(Rgb pixel) {
    // JPEG keeps flat colours within a few levels; the slot colours are 85 apart.
    auto within = [](Rgb a, Rgb b) {
        return std::abs(a.red - b.red) <= 24 && std::abs(a.green - b.green) <= 24 && std::abs(a.blue - b.blue) <= 24;
    };
    if (within(pixel, {0, 0, 0})) return kBlack;
    for (int slot = 0; slot < kTextureCount; ++slot) {
        if (within(pixel, SlotColour(slot))) return slot;
    }
    return kOther;
}

int SlotAt(ScreenPoint point) {
    return SlotOf(PixelAt(point));
}

int FaceSlot(float x, float y, float z) {
    return SlotAt(Project(x, y, z + 1.0f));
}

bool LineNear(ScreenPoint point, bool acrossRow, int slot) {
    for (int d = -2; d <= 2; ++d) {
        ScreenPoint p = acrossRow ? ScreenPoint{point.x + d, point.y} : ScreenPoint{point.x, point.y + d};
        if (SlotAt(p) == slot) return true;
    }
    return false;
}

namespace {

void PutBig32(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(value >> shift));
}

void PutChunk(std::vector<unsigned char>& png, const char* type, const std::vector<unsigned char>& data) {
    PutBig32(png, std::uint32_t(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    PutBig32(png, morvane::Crc32(body.data(), body.size()));
}

}  // namespace

void SaveShot(const std::string& name) {
    const char* shots = std::getenv("KOLVEX_SHOTS");
    if (shots == nullptr || *shots == 0) return;
    std::vector<unsigned char> rgb(std::size_t(kFrameWidth) * kFrameHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kFrameWidth, kFrameHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());

    // An uncompressed PNG: rows top first, each behind filter byte 0, in stored deflate blocks.
    std::vector<unsigned char> raw;
    for (int y = kFrameHeight - 1; y >= 0; --y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb.begin() + y * kFrameWidth * 3, rgb.begin() + (y + 1) * kFrameWidth * 3);
    }
    std::vector<unsigned char> zlib = {0x78, 0x01};
    for (std::size_t at = 0; at < raw.size(); at += 65535) {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        zlib.push_back(at + n == raw.size() ? 1 : 0);
        zlib.insert(zlib.end(), {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(~n), std::uint8_t(~n >> 8)});
        zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + n);
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(zlib, b << 16 | a);

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBig32(header, kFrameWidth);
    PutBig32(header, kFrameHeight);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    fs::create_directories(shots);
    std::string problem;
    EXPECT_TRUE(morvane::WriteWholeFile((fs::path(shots) / (name + ".png")).string().c_str(), png, problem)) << problem;
}

void RenderTest::SetUp() {
    ResetTestWorld();
    startFolder = fs::current_path();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("kolvex-") + info->name() + "-" + std::to_string(std::random_device{}());
    std::replace(name.begin(), name.end(), '/', '-');  // parameterised test names
    folder = fs::temp_directory_path() / name;
    fs::create_directories(folder);
    fs::current_path(folder);
}

void RenderTest::TearDown() {
    ReleaseSounds();
    CloseTestContext();
    fs::current_path(startFolder);
    fs::remove_all(folder);
}

void RenderTest::UseArchive(const std::vector<morvane::WriterEntry>& entries) {
    ASSERT_EQ(morvane::WriteTestArchive("data.qv", entries), "");
    OpenTestContext();
    ResizeScene(kFrameWidth, kFrameHeight);
}

LitPixels ScanLitPixels() {
    std::vector<unsigned char> rgb(std::size_t(kFrameWidth) * kFrameHeight * 3);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kFrameWidth, kFrameHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    LitPixels lit;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const unsigned char* p = &rgb[(std::size_t(y) * kFrameWidth + x) * 3];
            lit.black += p[0] < 40 && p[1] < 40 && p[2] < 40;
            if (p[0] < 200 || p[1] < 200 || p[2] < 200) continue;
            lit.count += 1;
            lit.perRow[y] += 1, lit.perColumn[x] += 1;
            lit.minX = std::min(lit.minX, x), lit.maxX = std::max(lit.maxX, x);
            lit.minY = std::min(lit.minY, y), lit.maxY = std::max(lit.maxY, y);
        }
    }
    return lit;
}

namespace {

const char16_t kNotice[] = u"声音关闭[M]键切换";

}  // namespace

void ExpectNoticeAtItsProjectedPoint(const std::string& shotName) {
    DrawGLText(kNotice, 10, -5.5f, 3.6f, 1.0f, 1.0f, 1.0f);
    SaveShot(shotName);
    const LitPixels lit = ScanLitPixels();
    const ScreenPoint start = Project(-5.5f, 3.6f, -10.0f);
    EXPECT_GT(lit.count, 150);
    EXPECT_EQ(lit.black, 0);
    EXPECT_GE(lit.minX, start.x);
    EXPECT_LE(lit.minX, start.x + 4);
    EXPECT_GE(lit.minY, start.y);
    EXPECT_LE(lit.minY, start.y + 6);
    // One line of 14-pixel characters: seven wide ones and "[M]".
    EXPECT_LE(lit.maxY, start.y + 20);
    EXPECT_GE(lit.maxX, start.x + 100);
    EXPECT_LE(lit.maxX, start.x + 10 * 16);
}

void ExpectNothingFromAStartOutsideTheView() {
    // Just left of the view, and just above it: the rest of each line would be visible.
    DrawGLText(kNotice, 10, -5.6f, 3.6f, 1.0f, 1.0f, 1.0f);
    DrawGLText(kNotice, 10, 0.0f, 4.2f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(ScanLitPixels().count, 0);
}

void ExpectLineClippedAtTheRightEdge() {
    DrawGLText(kNotice, 10, 5.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    const LitPixels lit = ScanLitPixels();
    EXPECT_GE(lit.minX, Project(5.0f, 0.0f, -10.0f).x);
    EXPECT_GE(lit.maxX, kFrameWidth - 4);
}
