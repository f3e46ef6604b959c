// Storage for the game record and its lock. Zero-initialised as a static, so
// every field starts at false, 0, 0.0 or null until its owner sets it.
#include "state/GameState.h"

GameState gameState;
std::mutex gameStateLock;
