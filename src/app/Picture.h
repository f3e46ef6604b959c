// Whether two game records would draw different pictures: only what the
// screen the newer one shows reads is compared. The native loop draws a frame
// when a step changed the picture (and the timer thread wakes it when a tick
// did); the Windows build draws on every paint and never asks.
#pragma once

#include "state/GameState.h"

// True when a frame drawn from `now` would differ from one drawn from `shown`.
bool PictureDiffers(const GameState& shown, const GameState& now);
