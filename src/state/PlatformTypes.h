// The handful of Windows handle types the game record holds. On Windows they
// are the real ones; elsewhere (host tests, tools) they are opaque stand-ins of
// the same size, so portable code never has to include <windows.h> itself.
#pragma once

#include <cstdint>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
using TimerId = UINT_PTR;
#else
struct HINSTANCE__;
struct HWND__;
struct HDC__;
struct HGLRC__;
struct HFONT__;
using HINSTANCE = HINSTANCE__*;
using HWND = HWND__*;
using HDC = HDC__*;
using HGLRC = HGLRC__*;
using HFONT = HFONT__*;
using TimerId = std::uintptr_t;
#endif
