// The OpenGL 1.1 and GLU headers for portable code. On Windows the GL headers
// need <windows.h> first, which PlatformTypes.h brings in on that side only.
#pragma once

#include "state/PlatformTypes.h"
// clang-format off
#include <GL/gl.h>
#include <GL/glu.h>
// clang-format on
