// Start-up's textures and display lists against a test archive of solid
// colours: every slot its own texture, every list its slot and shape, the
// grid square's borrowed tint, the failures that must stop start-up, and
// edges that clamp where squares meet.
#include <ostream>
#include <set>

#include "RenderTestKit.h"
#include "render/GL.h"
#include "render/Render.h"
#include "state/GameState.h"

namespace {

class Textures : public RenderTest {
protected:
    // Draws list `list` alone, centred 10 units in front of the eye, turned by `turn` about the vertical.
    static void DrawListAlone(int list, float turn = 0.0f) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -10.0f);
        glRotatef(turn, 0.0f, 1.0f, 0.0f);
        glCallList(GLuint(list));
    }
    static GLint BoundTexture() {
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        return bound;
    }
    static void ExpectTextureCoordinate01() {
        GLfloat coordinate[4] = {};
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coordinate);
        EXPECT_EQ(coordinate[0], 0.0f);
        EXPECT_EQ(coordinate[1], 1.0f);
    }
    static int CountRow(int y, int slot) {
        int count = 0;
        for (int x = 0; x < kFrameWidth; ++x) count += SlotAt({x, y}) == slot;
        return count;
    }
};

TEST_F(Textures, EverySlotIsItsOwnTextureAndListNDrawsSlotNMinusOne) {
    UseArchive(TestArchiveEntries());
    ASSERT_EQ(InitGL(), 1);
    std::set<GLuint> names(std::begin(gameState.textureIds), std::end(gameState.textureIds));
    EXPECT_EQ(names.size(), 30u);
    EXPECT_EQ(names.count(0), 0u);

    const ScreenPoint centre = Project(0.0f, 0.0f, -9.0f);
    for (int list = 1; list <= kTextureCount; ++list) {
        SCOPED_TRACE(list);
        glBindTexture(GL_TEXTURE_2D, 0);
        DrawListAlone(list);
        // Needs the linear filters too: the default minification filter wants mipmaps and shows no picture.
        EXPECT_EQ(SlotAt(centre), list - 1);
        // Left behind for whatever comes next, the grid's lines above all.
        EXPECT_EQ(BoundTexture(), GLint(gameState.textureIds[list - 1]));
        ExpectTextureCoordinate01();
    }
    // Nothing beyond the 31 numbered lists.
    EXPECT_TRUE(glIsList(kGridList));
    EXPECT_FALSE(glIsList(kGridList + 1));
}

TEST_F(Textures, ListsUpToEighteenAreCubesTheRestFlatSquares) {
    UseArchive(TestArchiveEntries());
    ASSERT_EQ(InitGL(), 1);
    // Turned edge-on, a square shrinks to a sliver while a cube shows a whole side face.
    const int row = Project(0.0f, 0.0f, -10.0f).y;
    for (int list = 1; list <= kTextureCount; ++list) {
        SCOPED_TRACE(list);
        DrawListAlone(list, 90.0f);
        if (list <= kLastCubeList) {
            EXPECT_GT(CountRow(row, list - 1), 100);
        } else {
            EXPECT_LT(CountRow(row, list - 1), 30);
        }
    }
}

TEST_F(Textures, GridSquareIsAnOutlineInTheTintTheListBeforeLeft) {
    UseArchive(TestArchiveEntries());
    ASSERT_EQ(InitGL(), 1);
    DrawListAlone(5);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    glCallList(kGridList);
    SaveShot("grid-square");
    EXPECT_EQ(BoundTexture(), GLint(gameState.textureIds[4]));
    ExpectTextureCoordinate01();
    // Four closed sides at the front face, nothing inside.
    EXPECT_TRUE(LineNear(Project(-1.0f, 0.0f, -9.0f), true, 4));
    EXPECT_TRUE(LineNear(Project(1.0f, 0.0f, -9.0f), true, 4));
    EXPECT_TRUE(LineNear(Project(0.0f, -1.0f, -9.0f), false, 4));
    EXPECT_TRUE(LineNear(Project(0.0f, 1.0f, -9.0f), false, 4));
    EXPECT_EQ(SlotAt(Project(0.0f, 0.0f, -9.0f)), kBlack);
}

TEST_F(Textures, PictureRowsReachTheTextureUnchangedWhateverTheirWidth) {
    // 10 pixels: 30-byte rows, which a 4-byte unpack alignment would skew.
    // Top half blue, bottom half red, as the picture file holds them.
    std::vector<unsigned char> rgb(10 * 8 * 3);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            unsigned char* p = &rgb[(y * 10 + x) * 3];
            p[0] = y < 4 ? 0 : 255;
            p[2] = y < 4 ? 255 : 0;
            p[1] = std::uint8_t(x * 20);
        }
    }
    auto entries = TestArchiveEntries();
    ReplaceEntry(entries, "s1.jpg", morvane::EncodeJpeg(rgb.data(), 10, 8));
    UseArchive(entries);
    ASSERT_EQ(InitGL(), 1);

    ArchiveEntry entry;
    DecodedImage decoded;
    ASSERT_NE(ReadQV("data.qv", "s1.jpg", &entry), 0);
    JPEG24bitQV(&entry, &decoded);
    ASSERT_EQ(decoded.width, 10);
    const std::vector<unsigned char> expected(decoded.pixels, decoded.pixels + 10 * 8 * 3);
    Free24BMP(&decoded);
    FreeQV(&entry);

    std::vector<unsigned char> uploaded(expected.size());
    glBindTexture(GL_TEXTURE_2D, gameState.textureIds[19]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, uploaded.data());
    EXPECT_EQ(uploaded, expected);

    // The first stored row is the picture's bottom, shown at the bottom of the face.
    DrawListAlone(20);
    const Rgb low = PixelAt(Project(0.0f, -0.6f, -9.0f));
    const Rgb high = PixelAt(Project(0.0f, 0.6f, -9.0f));
    EXPECT_GT(low.red, 200);
    EXPECT_LT(low.blue, 60);
    EXPECT_GT(high.blue, 200);
    EXPECT_LT(high.red, 60);
}

TEST_F(Textures, MissingPictureStopsStartUpAfterTheSlotsBeforeIt) {
    auto entries = TestArchiveEntries();
    RemoveEntry(entries, "ss1.jpg");
    UseArchive(entries);
    EXPECT_EQ(InitGL(), 0);
    std::set<GLuint> made(gameState.textureIds, gameState.textureIds + 29);
    EXPECT_EQ(made.size(), 29u);
    EXPECT_EQ(made.count(0), 0u);
    EXPECT_EQ(gameState.textureIds[29], 0u);
    EXPECT_EQ(gameState.soundLineClear.data, nullptr);
    // InitGL stopped before the lists and the fixed state.
    EXPECT_FALSE(glIsList(1));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(Textures, MissingSoundStopsStartUpAfterAllPicturesWithNoSoundHeld) {
    auto entries = TestArchiveEntries();
    RemoveEntry(entries, "s.wav");
    UseArchive(entries);
    EXPECT_FALSE(LoadAssets());
    EXPECT_NE(gameState.textureIds[29], 0u);
    // The two sounds read before it are released again: start-up ends here.
    EXPECT_EQ(gameState.soundLineClear.data, nullptr);
    EXPECT_EQ(gameState.soundRotate.data, nullptr);
    EXPECT_EQ(gameState.soundMenu.data, nullptr);
}

// Pictures that must not be uploaded: start-up fails at them instead.
struct BadPicture {
    const char* what;
    std::vector<unsigned char> (*make)();
};

void PrintTo(const BadPicture& p, std::ostream* os) {
    *os << p.what;
}

class UnusablePicture : public Textures, public ::testing::WithParamInterface<BadPicture> {};

TEST_P(UnusablePicture, StopsStartUpWithoutUploadingIt) {
    auto entries = TestArchiveEntries();
    ReplaceEntry(entries, "t3.jpg", GetParam().make());
    UseArchive(entries);
    EXPECT_EQ(InitGL(), 0);
    EXPECT_NE(gameState.textureIds[2], 0u);
    EXPECT_EQ(gameState.textureIds[3], 0u);
    EXPECT_FALSE(glIsList(1));
}

INSTANTIATE_TEST_SUITE_P(Pictures, UnusablePicture,
                         ::testing::Values(BadPicture{"NotAJpeg",
                                                      [] {
                                                          return std::vector<unsigned char>{'n', 'o', 't', 0xFF, 0xD8};
                                                      }},
                                           BadPicture{"Empty", [] { return std::vector<unsigned char>{}; }},
                                           BadPicture{"Larger",
                                                      [] { return morvane::SolidColourJpeg(257, 256, 200, 0, 0); }}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(Textures, TheLargestPictureThatFitsIsTaken) {
    auto entries = TestArchiveEntries();
    ReplaceEntry(entries, "t3.jpg", morvane::SolidColourJpeg(256, 256, 200, 0, 0));
    UseArchive(entries);
    ASSERT_EQ(InitGL(), 1);
    DrawListAlone(4);
    const Rgb centre = PixelAt(Project(0.0f, 0.0f, -9.0f));
    EXPECT_GT(centre.red, 180);
}

TEST_F(Textures, SquaresThatMeetShowNoSeamFromTheOppositeEdge) {
    // Left half red, right half blue, for both squares of the first menu
    // entry: at the seam blue meets red, and any blend of the two there is
    // an edge sampling the opposite one.
    std::vector<unsigned char> rgb(16 * 16 * 3, 0);
    for (int i = 0; i < 16 * 16; ++i) rgb[i * 3 + (i % 16 < 8 ? 0 : 2)] = 255;
    const std::vector<unsigned char> split = morvane::EncodeJpeg(rgb.data(), 16, 16);
    auto entries = TestArchiveEntries();
    ReplaceEntry(entries, "s1.jpg", split);
    ReplaceEntry(entries, "s2.jpg", split);
    UseArchive(entries);
    ASSERT_EQ(InitGL(), 1);
    gameState.soundOn = true;
    gameState.menuOpen = true;
    gameState.menuBlink[0] = true;
    DrawFrame();
    SaveShot("menu-seam");

    for (float y : {4.5f, 5.0f, 5.5f}) {
        const ScreenPoint seam = Project(-9.0f, y, -24.0f);
        for (int x = seam.x - 4; x <= seam.x + 4; ++x) {
            const Rgb pixel = PixelAt({x, seam.y});
            const bool red = pixel.red > 215 && pixel.blue < 40;
            const bool blue = pixel.blue > 215 && pixel.red < 40;
            EXPECT_TRUE(red || blue) << "(" << x << ", " << seam.y << "): " << pixel.red << " " << pixel.green << " "
                                     << pixel.blue;
        }
    }
}

}  // namespace
