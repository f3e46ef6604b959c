// The program's one pseudo-random generator, shared by both threads (every
// draw is made under the game-state lock). NewGame seeds it; piece kinds and
// the help screen's colours and tilts draw from it.
#pragma once

#include <cstdint>

void SeedRandom(std::uint32_t seed);
// The next value, 0..32767.
std::int32_t NextRandom();
