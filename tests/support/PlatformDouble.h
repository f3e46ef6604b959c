// Test-side stand-ins for the platform calls portable code makes. They record
// every call so tests can count sounds and inspect text draws.
#pragma once

#include <vector>

struct PlatformCalls {
    std::vector<const unsigned char*> clipsPlayed;
    int stopCount = 0;
};

extern PlatformCalls platformCalls;

// Clears the record of platform calls and puts the game record back to zero.
void ResetTestWorld();
