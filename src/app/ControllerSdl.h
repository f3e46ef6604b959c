// The SDL side of Controllers.h, beside it: SDL's game controllers arrive as
// events, which the window's event handling passes here. OpenControllers
// starts SDL's controller support once the window exists (the keyboard's
// repeat delay and rate are read from its display); PollControllers runs the
// held input's repeat.
#pragma once

#include <SDL_events.h>

#include <optional>

#include "app/ControllerHolds.h"
#include "app/Controllers.h"

// Acts on a controller event (device added or removed, button, axis): a press
// reaches the game as the key it stands for.
void HandleControllerEvent(const SDL_Event& event);

// For the main loop's wait: whether a controller is open (SDL reads them only
// when its events are pumped) and when the held input next repeats.
bool ControllersOpen();
std::optional<PadClock::time_point> NextControllerRepeat();
