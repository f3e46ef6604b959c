// Key evaluation: the held-key table turned into piece moves, menu actions
// and the sound switch. Called by the key step (Steps.h) after every press,
// whether a keyboard's or a pad's, with the game-state lock held.
#pragma once

#include <cstdint>

// Virtual-key codes the game listens to (the same values as Windows' VK_*).
constexpr std::uint8_t kKeyReturn = 0x0D;
constexpr std::uint8_t kKeyEscape = 0x1B;
constexpr std::uint8_t kKeySpace = 0x20;
constexpr std::uint8_t kKeyLeft = 0x25;
constexpr std::uint8_t kKeyUp = 0x26;
constexpr std::uint8_t kKeyRight = 0x27;
constexpr std::uint8_t kKeyDown = 0x28;
constexpr std::uint8_t kKeyM = 0x4D;
constexpr std::uint8_t kKeyQ = 0x51;
constexpr std::uint8_t kKeyV = 0x56;

// Menu entries, in the order they are drawn.
constexpr std::uint8_t kMenuClassic = 1;
constexpr std::uint8_t kMenuChallenge = 2;
constexpr std::uint8_t kMenuHelp = 3;
constexpr std::uint8_t kMenuQuit = 4;

void HandleKeys();

// The menu's start-up values, set by the program entry before the first game:
// the menu open on entry 1 over a classic game with the field shown.
void SetStartValues();

// Marks a key pressed or released; false (and nothing marked) for codes of
// 256 and above, which only come from programs posting made-up messages.
bool MarkKey(std::uintptr_t virtualKey, bool down);
