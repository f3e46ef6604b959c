// The OpenGL half of DrawGLText, the same on every side: a line the platform
// has rasterised into one-bit rows goes into the frame with glBitmap at a
// raster position. Called by the Windows, SDL and test-double DrawGLText.
#include "render/GL.h"
#include "render/Text.h"

void DrawTextBitmap(int width, int height, const unsigned char* rows, float x, float y, float red, float green,
                    float blue) {
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
    // Outside the view the raster position is invalid and glBitmap draws nothing.
    glRasterPos2f(x, y);
    static const GLubyte kNoRows = 0;
    glBitmap(width, height, 0.0f, 0.0f, 0.0f, 0.0f, rows != nullptr ? rows : &kNoRows);

    if (lightingWasOn) glEnable(GL_LIGHTING);
    if (texturingWasOn) glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
}
