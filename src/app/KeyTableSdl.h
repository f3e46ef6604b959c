// SDL key events in the Windows virtual-key codes that keyDown and HandleKeys
// are written in, for every key of a PC keyboard. Used by the SDL window's
// event handling (render/WindowSdl.cpp). The Windows build has none: its key
// messages carry these codes already.
#pragma once

#include <SDL_keyboard.h>

#include <cstdint>

// What Windows reports for a key it has no code for (a media or launcher key,
// one X11 knows by number only). No action of the game listens to it.
constexpr std::uint8_t kKeyWithoutCode = 0xFF;

// The virtual-key code Windows gives this key, or kKeyWithoutCode for a key
// it has none for. Letters follow the layout (what the key types), everything
// else the key's place on the board, as Windows does.
std::uint8_t VirtualKeyFromSdl(SDL_Keycode sym, SDL_Scancode scancode, Uint16 modifiers);

// True where Windows would send WM_SYSKEYDOWN/WM_SYSKEYUP instead of a key
// message: Alt itself, F10, and any key while Alt is held without Ctrl. The
// game window never sees those, so they neither mark nor release a key.
bool IsSystemKeySdl(std::uint8_t virtualKey, Uint16 modifiers);
