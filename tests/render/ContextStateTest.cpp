// The GL state the frame relies on, checked on both sides: the projection
// ResizeScene sets, and what DrawGLText leaves behind for the help screen
// (the real GDI version under Wine, the host stand-in natively).
#include <cmath>
#include <numbers>
#include <tuple>

#include "RenderTestKit.h"
#include "render/GL.h"
#include "render/Render.h"

namespace {

class ContextState : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        OpenTestContext();
        ResizeScene(kFrameWidth, kFrameHeight);
    }
};

TEST_F(ContextState, LeavesIdentityItsColourDepthTestOnAndTightUnpackingWhateverCameBefore) {
    for (bool lightingAndTexturing : {true, false}) {
        SCOPED_TRACE(lightingAndTexturing);
        glLoadIdentity();
        glTranslatef(1.0f, 2.0f, -3.0f);
        glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
        glColor3f(0.9f, 0.9f, 0.9f);
        glDisable(GL_DEPTH_TEST);
        for (GLenum cap : {GL_LIGHTING, GL_TEXTURE_2D}) lightingAndTexturing ? glEnable(cap) : glDisable(cap);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

        DrawGLText(u"Kolvex 方块", 9, -1.0f, 0.0f, 0.25f, 0.5f, 0.75f);

        GLfloat matrix[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(matrix[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
        GLint value = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &value);
        EXPECT_EQ(value, 1);
        glGetIntegerv(GL_MATRIX_MODE, &value);
        EXPECT_EQ(value, GL_MODELVIEW);
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
        EXPECT_EQ(value, 1);
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_FLOAT_EQ(colour[0], 0.25f);
        EXPECT_FLOAT_EQ(colour[1], 0.5f);
        EXPECT_FLOAT_EQ(colour[2], 0.75f);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_EQ(bool(glIsEnabled(GL_LIGHTING)), lightingAndTexturing);
        EXPECT_EQ(bool(glIsEnabled(GL_TEXTURE_2D)), lightingAndTexturing);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(ContextState, ProjectionIs45DegreesWithTheSizesAspectAndAZeroHeightCountsAsOne) {
    const double f = 1.0 / std::tan(std::numbers::pi / 8.0);
    const double nearPlane = double(0.1f), farPlane = 100.0;
    for (auto [width, height, aspect] : {std::tuple{800, 600, 800.0 / 600.0}, std::tuple{640, 0, 640.0}}) {
        SCOPED_TRACE(height);
        glMatrixMode(GL_PROJECTION);
        glTranslatef(3.0f, 0.0f, 0.0f);  // ResizeScene starts the projection afresh
        ResizeScene(width, height);
        GLint viewport[4], mode = 0;
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], width);
        EXPECT_EQ(viewport[3], height == 0 ? 1 : height);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
        GLdouble m[16];
        glGetDoublev(GL_PROJECTION_MATRIX, m);
        EXPECT_NEAR(m[0], f / aspect, 1e-6);
        EXPECT_NEAR(m[5], f, 1e-6);
        EXPECT_NEAR(m[10], (farPlane + nearPlane) / (nearPlane - farPlane), 1e-6);
        EXPECT_NEAR(m[14], 2 * farPlane * nearPlane / (nearPlane - farPlane), 1e-6);
        EXPECT_EQ(m[11], -1.0);
        EXPECT_EQ(m[12], 0.0);
    }
}

}  // namespace
