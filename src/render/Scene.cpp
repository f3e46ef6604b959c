// The projection and the fixed OpenGL state every frame relies on. The window
// code calls ResizeScene on creation and on every WM_SIZE, and InitGL once
// after the context is made current.
#include "render/GL.h"
#include "render/Render.h"

namespace {
// Kept as the float the game has always used; gluPerspective widens it.
constexpr float kNearPlane = 0.1f;
constexpr double kFarPlane = 100.0;
constexpr double kFieldOfView = 45.0;
}  // namespace

void ResizeScene(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, static_cast<double>(width) / static_cast<double>(height), kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

int InitGL() {
    if (!LoadAssets()) return 0;
    BuildDisplayLists();
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    return 1;
}
