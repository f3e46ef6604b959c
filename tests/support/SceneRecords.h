// The game records of the screens both the native window and the page draw
// for comparison: the menu, play, help, challenge and credits, each set up
// whole and the same on every build. Used by the frame-shot programs
// (tests/e2e/FrameShotsSdl.cpp, tests/web/FrameShotsWeb.cpp).
#pragma once

// The screens' names, in the order the programs draw them.
extern const char* const kSceneNames[5];
// Makes gameState the named screen's record (after NewGame); false for a
// name not in the list. The caller holds the lock.
bool SetSceneRecord(const char* name);
