// Shared by the render tests on both sides: an 800 x 600 OpenGL context with
// the game's projection, a test archive holding one solid colour per picture
// slot (so a pixel tells which list drew it), and probes at eye-space points.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "morvane/TestKit.h"

constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;
constexpr int kBlack = -1;  // SlotAt: background
constexpr int kOther = -2;  // SlotAt: no slot's colour

// Defined once per side: OSMesa on the host, a real window with WGL on Windows.
void OpenTestContext();
void CloseTestContext();

struct Rgb {
    int red, green, blue;
};
struct ScreenPoint {
    int x, y;  // window pixels, origin bottom left
};

// Slot k's test colour: channels from {0, 85, 170, 255}, never black or white.
Rgb SlotColour(int slot);
// 30 solid-colour 16 x 16 pictures and three short sounds under the game's names.
std::vector<morvane::WriterEntry> TestArchiveEntries();
void RemoveEntry(std::vector<morvane::WriterEntry>& entries, const std::string& name);
void ReplaceEntry(std::vector<morvane::WriterEntry>& entries, const std::string& name,
                  std::vector<unsigned char> bytes);

// Where the game's projection puts an eye-space point, worked out apart from GL.
ScreenPoint Project(float x, float y, float z);
Rgb PixelAt(ScreenPoint point);
int SlotOf(Rgb pixel);
int SlotAt(ScreenPoint point);
// The slot showing on the face nearest the eye of a 2-unit cube or square centred at (x, y, z).
int FaceSlot(float x, float y, float z);
// True if a pixel of `slot` lies within 2 pixels of `point` along the row (or column).
bool LineNear(ScreenPoint point, bool acrossRow, int slot);

// Writes the frame as KOLVEX_SHOTS/<name>.png when that variable is set.
void SaveShot(const std::string& name);

// Each test runs in a folder of its own, holding the archive as data.qv.
class RenderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes data.qv into the test's folder and makes the context current.
    void UseArchive(const std::vector<morvane::WriterEntry>& entries);

    std::filesystem::path folder;
    std::filesystem::path startFolder;
};

// What a text test reads back from a grey frame: pixels lit white by glyphs
// (and their extent, per row and column), and black ones (a background box).
struct LitPixels {
    int count = 0, black = 0;
    int minX = kFrameWidth, minY = kFrameHeight, maxX = -1, maxY = -1;
    std::map<int, int> perRow, perColumn;
};
LitPixels ScanLitPixels();

// The text checks both sides' DrawGLText must pass, each on a grey frame:
// the sound-off notice's glyphs start just right of and above the projected
// point, on one line; a line started just outside the view draws nothing at
// all; a line running past the right edge is clipped there.
void ExpectNoticeAtItsProjectedPoint(const std::string& shotName);
void ExpectNothingFromAStartOutsideTheView();
void ExpectLineClippedAtTheRightEdge();
