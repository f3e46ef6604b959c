// The Windows side of Text.h, beside it: making the game's GDI font, which
// start-up keeps in gameState.hFont. Called by WinMain, tests and benchmarks.
#pragma once

#include "render/Text.h"

// The game font from glFont's parameters: "Terminal" with the GB2312 charset,
// so the mapper picks a face that has the Chinese glyphs.
HFONT CreateGameFont();
