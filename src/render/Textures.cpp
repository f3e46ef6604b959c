// Start-up loading of the 30 pictures into textures and the compiling of
// display lists 1-31. InitGL calls LoadAssets and then BuildDisplayLists once,
// with the context current; every later drawing only calls lists by number.
#include <cstdint>
#include <cstring>

#include "assets/LoadFailure.h"
#include "assets/Sound.h"
#include "render/GL.h"
#include "render/Language.h"
#include "render/Render.h"
#include "state/GameState.h"

const char TextureEntryNames[kTextureCount][10] = {
    "bk.jpg", "t1.jpg", "t2.jpg", "t3.jpg",  "t4.jpg",  "t5.jpg",  "t6.jpg",  "t7.jpg",  "d.jpg",   "j.jpg",
    "l1.jpg", "l2.jpg", "l3.jpg", "l4.jpg",  "l5.jpg",  "l6.jpg",  "l7.jpg",  "a1.jpg",  "a2.jpg",  "s1.jpg",
    "s2.jpg", "o1.jpg", "o2.jpg", "zp1.jpg", "zp2.jpg", "zp3.jpg", "zp4.jpg", "zp5.jpg", "zp6.jpg", "ss1.jpg",
};

namespace {

// One entry, one decoded picture and one pixel buffer serve all 30 pictures.
ArchiveEntry pictureEntry;
DecodedImage pictureImage;
unsigned char workingBuffer[kWorkingBufferBytes];

// A picture that failed to decode, or is larger than the working buffer, would
// otherwise be uploaded as garbage or overrun the buffer.
bool FitsWorkingBuffer(const DecodedImage& image) {
    if (image.pixels == nullptr || image.width <= 0 || image.height <= 0) return false;
    return std::int64_t{image.width} * image.height * 3 <= kWorkingBufferBytes;
}

struct TexturedVertex {
    float s, t, x, y, z;
};

// Six faces, each showing the whole picture once; the front face comes first
// so the flat square is simply its first four vertices. The last vertex leaves
// texture coordinate (0, 1) current, which the grid's lines then sample.
constexpr TexturedVertex kCubeVertices[24] = {
    {0, 0, -1, -1, 1},  {1, 0, 1, -1, 1},  {1, 1, 1, 1, 1},  {0, 1, -1, 1, 1},   // front
    {1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}, {0, 1, 1, 1, -1}, {0, 0, 1, -1, -1},  // back
    {0, 1, -1, 1, -1},  {0, 0, -1, 1, 1},  {1, 0, 1, 1, 1},  {1, 1, 1, 1, -1},   // top
    {1, 1, -1, -1, -1}, {0, 1, 1, -1, -1}, {0, 0, 1, -1, 1}, {1, 0, -1, -1, 1},  // bottom
    {1, 0, 1, -1, -1},  {1, 1, 1, 1, -1},  {0, 1, 1, 1, 1},  {0, 0, 1, -1, 1},   // right
    {0, 0, -1, -1, -1}, {1, 0, -1, -1, 1}, {1, 1, -1, 1, 1}, {0, 1, -1, 1, -1},  // left
};
constexpr int kSquareVertexCount = 4;

void EmitQuads(int vertexCount) {
    glBegin(GL_QUADS);
    for (int v = 0; v < vertexCount; ++v) {
        const TexturedVertex& vertex = kCubeVertices[v];
        glTexCoord2f(vertex.s, vertex.t);
        glVertex3f(vertex.x, vertex.y, vertex.z);
    }
    glEnd();
}

// The front face's outline, closed by returning to its first corner. No
// texture of its own: it is tinted by whatever the previous list left bound.
void EmitLineSquare() {
    glBegin(GL_LINE_STRIP);
    glVertex3f(-1, -1, 1);
    glVertex3f(1, -1, 1);
    glVertex3f(1, 1, 1);
    glVertex3f(-1, 1, 1);
    glVertex3f(-1, -1, 1);
    glEnd();
}

}  // namespace

bool LoadAssets() {
    // Picture rows are packed without padding, whatever their width.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int slot = 0; slot < kTextureCount; ++slot) {
        const char* name = TextureEntryNames[slot];
        if (ReadQV(PictureArchive(name), name, &pictureEntry) == 0) {
            if (firstLoadFailure.entry == nullptr) firstLoadFailure = {name, true, LoadStep::kRead};
            return false;
        }
        pictureImage = DecodedImage{};
        JPEG24bitQV(&pictureEntry, &pictureImage);
        if (!FitsWorkingBuffer(pictureImage)) {
            if (firstLoadFailure.entry == nullptr) {
                firstLoadFailure = {name, true,
                                    pictureImage.pixels == nullptr ? LoadStep::kDecode : LoadStep::kTooLarge,
                                    pictureImage.width, pictureImage.height};
            }
            Free24BMP(&pictureImage);
            FreeQV(&pictureEntry);
            return false;
        }
        std::memcpy(workingBuffer, pictureImage.pixels, std::size_t(pictureImage.width) * pictureImage.height * 3);

        glGenTextures(1, &gameState.textureIds[slot]);
        glBindTexture(GL_TEXTURE_2D, gameState.textureIds[slot]);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, pictureImage.width, pictureImage.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     workingBuffer);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        // Linear filtering at a repeating edge blends in the opposite edge's
        // pixels: a seam wherever two squares meet.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

        Free24BMP(&pictureImage);
        FreeQV(&pictureEntry);
    }
    return LoadSounds();
}

void BuildDisplayLists() {
    // Cell codes are list numbers, so the lists take fixed numbers, not a block from glGenLists.
    for (GLuint list = 1; list <= kTextureCount; ++list) {
        glNewList(list, GL_COMPILE);
        glBindTexture(GL_TEXTURE_2D, gameState.textureIds[list - 1]);
        EmitQuads(list <= kLastCubeList ? 24 : kSquareVertexCount);
        glEndList();
    }
    glNewList(kGridList, GL_COMPILE);
    EmitLineSquare();
    glEndList();
}
