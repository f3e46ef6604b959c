// The OpenGL 1.1 and GLU declarations for the drawing code. Included by the
// render sources and their tests; on Windows the GL headers need the system's
// declarations first, which the platform-types header brings.
#pragma once

// clang-format off
#include "state/PlatformTypes.h"
#include <GL/gl.h>
#include <GL/glu.h>
// clang-format on

// OpenGL 1.2's edge clamp; the GL 1.1 headers MinGW ships do not name it.
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif
