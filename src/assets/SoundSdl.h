// The SDL side of ClipPlayer.h, beside it: the audio device for the game's
// clips. The native entry opens it once the sounds are loaded, before the
// timer thread starts, and closes it at the very end, after the sounds are
// released.
#pragma once

#include "assets/ClipPlayer.h"

// Starts SDL audio on its own and opens a device in the clips' format, in the
// background: the last clip asked for before it is open plays once it is. On
// any failure the game stays silent: PlayClip then does nothing.
void OpenClipDevice();
// Waits for the opening to finish, then closes the device.
void CloseClipDevice();
