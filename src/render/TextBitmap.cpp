// The OpenGL half of DrawGLText, the same on every side: the state around a
// line, and a line the platform has rasterised into one-bit rows put into
// the frame with glBitmap at the raster position. Called by the Windows, SDL
// and test-double DrawGLText.
#include "render/GL.h"
#include "render/Text.h"

void DrawAtTextPosition(float x, float y, float red, float green, float blue, void (*draw)(void* line), void* line) {
    GLboolean lightingWasOn = GL_FALSE;
    GLboolean texturingWasOn = GL_FALSE;
    glGetBooleanv(GL_LIGHTING, &lightingWasOn);
    glGetBooleanv(GL_TEXTURE_2D, &texturingWasOn);

    // The identity is what gets pushed, so the caller finds the identity afterwards.
    glLoadIdentity();
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -10.0f);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);

    // Before glRasterPos: the raster position takes the current colour for glBitmap.
    glColor3f(red, green, blue);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glRasterPos2f(x, y);
    // Outside the view the raster position is invalid: nothing is drawn.
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (valid) draw(line);

    if (lightingWasOn) glEnable(GL_LIGHTING);
    if (texturingWasOn) glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
}

namespace {

struct BitmapLine {
    int width;
    int height;
    const unsigned char* rows;
};

void DrawBitmapLine(void* line) {
    const auto& bitmap = *static_cast<const BitmapLine*>(line);
    static const GLubyte kNoRows = 0;
    glBitmap(bitmap.width, bitmap.height, 0.0f, 0.0f, 0.0f, 0.0f, bitmap.rows != nullptr ? bitmap.rows : &kNoRows);
}

}  // namespace

void DrawTextBitmap(int width, int height, const unsigned char* rows, float x, float y, float red, float green,
                    float blue) {
    BitmapLine line{width, height, rows};
    DrawAtTextPosition(x, y, red, green, blue, DrawBitmapLine, &line);
}
