// The generator of Random.h. The C runtime's rand() will not do: on Windows
// its state is per thread, so draws on the timer thread would ignore the seed
// and repeat the same kinds every run. The same recurrence as that runtime's
// keeps one seed giving the same kinds on every build.
#include "game/Random.h"

namespace {

// Only touched under the game-state lock.
std::uint32_t randomState = 1;

}  // namespace

void SeedRandom(std::uint32_t seed) {
    randomState = seed;
}

std::int32_t NextRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<std::int32_t>((randomState >> 16) & 0x7FFF);
}
