// The one GLU call the drawing code makes, for the page: its projection,
// computed by the web GL layer (GLWeb.cpp) as GLU computes it.
#pragma once

#include <GL/gl.h>

#ifndef GLWEB_DEFINING
#define gluPerspective GLWebPerspective
#endif
