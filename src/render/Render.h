// What the window code calls to draw: the textures and display lists made at
// start-up, the projection and fixed GL state, and one frame of whichever
// screen the game record asks for. Called by both window layers (at creation,
// on a size change, for every frame), always on the thread whose OpenGL
// context is current.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "render/Text.h"

struct GameState;

constexpr int kTextureCount = 30;
constexpr int kLastCubeList = 18;  // lists 1-18 are cubes, 19-30 flat squares
constexpr int kGridList = 31;      // the untextured outline of one well cell

// The largest picture the game takes: 256 x 256 pixels of three bytes.
constexpr int kWorkingBufferBytes = 256 * 256 * 3;

// Archive entry of each texture slot; slot k is drawn by display list k + 1.
extern const char TextureEntryNames[kTextureCount][10];

// Reads the 30 pictures into textures, then the three sounds. False at the
// first entry that is missing, does not decode or does not fit 256 x 256.
bool LoadAssets();
// Compiles display lists 1-31 from the textures LoadAssets made.
void BuildDisplayLists();

// Viewport and perspective for a client area; leaves the model-view matrix current.
void ResizeScene(int width, int height);
// Loads the assets, builds the lists and sets the fixed GL state: 1, or 0 when loading failed.
int InitGL();

// One whole frame from the game record. The caller holds gameStateLock and
// swaps buffers afterwards. Always true.
bool DrawFrame();
// The frame step both window layers take: DrawFrame under the lock, which is
// let go before the caller swaps (a swap may wait for the display). A caller
// that draws only on change gets the record the frame was drawn from.
void DrawFrameStep(GameState* drawnFrom = nullptr);

// The screens DrawFrame shows besides the play field. DrawMenu leaves the
// matrix moved by (12, 0, -5) for the field behind it; the other two end a frame.
void DrawMenu();
void DrawHelp();
void DrawCredits();

// The help screen's lines as written, each at its place in the plane 10 units
// in front of the eye, and the sound-off notice's text (drawn at (-5.5, 3.6)):
// the screens draw them through LocalText, and a test holds every language's
// lines to their places.
struct HelpLine {
    std::u16string_view text;
    float x, y;
};
std::span<const HelpLine> HelpLines();
// The help lines as drawn in the chosen language. A translation too wide for
// the picture from its place goes on over as many lines below as it needs,
// broken at spaces (between characters where it has none, as Chinese), and
// the lines under it move down only as far as that takes; the glyphs keep
// their size. The original's lines are where the table has them.
std::vector<HelpLine> HelpLayout();
// Where a help line starts and how far it may run, in pixels of the picture.
float HelpLineStart(const HelpLine& line);
constexpr float kHelpRightEdge = 792.0f;
constexpr float kHelpLinePitch = 0.2f;
std::u16string_view SoundOffNotice();

// Calls the lists of a 4 x 4 shape frame at 2-unit steps, column by column;
// moves the matrix 8 units to the right in all.
void DrawShapeFrame(const std::uint8_t* frame);
