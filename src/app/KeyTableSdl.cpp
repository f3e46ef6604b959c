// The one translation from SDL's keys to Windows virtual-key codes, so that a
// key with no function of its own still re-runs the held keys' actions on the
// native build exactly as on Windows. Called for every key event.
#include "app/KeyTableSdl.h"

namespace {

constexpr std::uint8_t kNoKey = 0;

// Keypad digits and the decimal point without Num Lock are the navigation
// keys they are printed with.
std::uint8_t KeypadWithoutNumLock(SDL_Scancode scancode) {
    switch (scancode) {
        case SDL_SCANCODE_KP_0:
            return 0x2D;  // Insert
        case SDL_SCANCODE_KP_1:
            return 0x23;  // End
        case SDL_SCANCODE_KP_2:
            return 0x28;  // Down
        case SDL_SCANCODE_KP_3:
            return 0x22;  // Page Down
        case SDL_SCANCODE_KP_4:
            return 0x25;  // Left
        case SDL_SCANCODE_KP_5:
            return 0x0C;  // Clear
        case SDL_SCANCODE_KP_6:
            return 0x27;  // Right
        case SDL_SCANCODE_KP_7:
            return 0x24;  // Home
        case SDL_SCANCODE_KP_8:
            return 0x26;  // Up
        case SDL_SCANCODE_KP_9:
            return 0x21;  // Page Up
        case SDL_SCANCODE_KP_PERIOD:
            return 0x2E;  // Delete
        default:
            return kNoKey;
    }
}

std::uint8_t ByPlace(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return std::uint8_t('A' + (scancode - SDL_SCANCODE_A));
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return std::uint8_t('1' + (scancode - SDL_SCANCODE_1));
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return std::uint8_t(0x70 + (scancode - SDL_SCANCODE_F1));
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
        return std::uint8_t(0x7C + (scancode - SDL_SCANCODE_F13));
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return std::uint8_t(0x61 + (scancode - SDL_SCANCODE_KP_1));
    switch (scancode) {
        case SDL_SCANCODE_0:
            return '0';
        case SDL_SCANCODE_RETURN:
            return 0x0D;
        case SDL_SCANCODE_KP_ENTER:
            return 0x0D;
        case SDL_SCANCODE_ESCAPE:
            return 0x1B;
        case SDL_SCANCODE_BACKSPACE:
            return 0x08;
        case SDL_SCANCODE_TAB:
            return 0x09;
        case SDL_SCANCODE_SPACE:
            return 0x20;
        case SDL_SCANCODE_MINUS:
            return 0xBD;
        case SDL_SCANCODE_EQUALS:
            return 0xBB;
        case SDL_SCANCODE_LEFTBRACKET:
            return 0xDB;
        case SDL_SCANCODE_RIGHTBRACKET:
            return 0xDD;
        case SDL_SCANCODE_BACKSLASH:
            return 0xDC;
        case SDL_SCANCODE_NONUSHASH:
            return 0xDE;
        case SDL_SCANCODE_SEMICOLON:
            return 0xBA;
        case SDL_SCANCODE_APOSTROPHE:
            return 0xDE;
        case SDL_SCANCODE_GRAVE:
            return 0xC0;
        case SDL_SCANCODE_COMMA:
            return 0xBC;
        case SDL_SCANCODE_PERIOD:
            return 0xBE;
        case SDL_SCANCODE_SLASH:
            return 0xBF;
        case SDL_SCANCODE_NONUSBACKSLASH:
            return 0xE2;
        case SDL_SCANCODE_CAPSLOCK:
            return 0x14;
        case SDL_SCANCODE_PRINTSCREEN:
            return 0x2C;
        case SDL_SCANCODE_SCROLLLOCK:
            return 0x91;
        case SDL_SCANCODE_PAUSE:
            return 0x13;
        case SDL_SCANCODE_INSERT:
            return 0x2D;
        case SDL_SCANCODE_HOME:
            return 0x24;
        case SDL_SCANCODE_PAGEUP:
            return 0x21;
        case SDL_SCANCODE_DELETE:
            return 0x2E;
        case SDL_SCANCODE_END:
            return 0x23;
        case SDL_SCANCODE_PAGEDOWN:
            return 0x22;
        case SDL_SCANCODE_RIGHT:
            return 0x27;
        case SDL_SCANCODE_LEFT:
            return 0x25;
        case SDL_SCANCODE_DOWN:
            return 0x28;
        case SDL_SCANCODE_UP:
            return 0x26;
        case SDL_SCANCODE_NUMLOCKCLEAR:
            return 0x90;
        case SDL_SCANCODE_KP_DIVIDE:
            return 0x6F;
        case SDL_SCANCODE_KP_MULTIPLY:
            return 0x6A;
        case SDL_SCANCODE_KP_MINUS:
            return 0x6D;
        case SDL_SCANCODE_KP_PLUS:
            return 0x6B;
        case SDL_SCANCODE_KP_0:
            return 0x60;
        case SDL_SCANCODE_KP_PERIOD:
            return 0x6E;
        case SDL_SCANCODE_APPLICATION:
            return 0x5D;
        case SDL_SCANCODE_MUTE:
            return 0xAD;
        case SDL_SCANCODE_VOLUMEDOWN:
            return 0xAE;
        case SDL_SCANCODE_VOLUMEUP:
            return 0xAF;
        case SDL_SCANCODE_AUDIONEXT:
            return 0xB0;
        case SDL_SCANCODE_AUDIOPREV:
            return 0xB1;
        case SDL_SCANCODE_AUDIOSTOP:
            return 0xB2;
        case SDL_SCANCODE_AUDIOPLAY:
            return 0xB3;
        case SDL_SCANCODE_LANG1:
            return 0x15;  // Hangul / Kana
        case SDL_SCANCODE_LANG2:
            return 0x19;  // Hanja / Kanji
        // Windows reports either side's modifier as the plain one.
        case SDL_SCANCODE_LSHIFT:
        case SDL_SCANCODE_RSHIFT:
            return 0x10;
        case SDL_SCANCODE_LCTRL:
        case SDL_SCANCODE_RCTRL:
            return 0x11;
        case SDL_SCANCODE_LALT:
        case SDL_SCANCODE_RALT:
            return 0x12;
        case SDL_SCANCODE_LGUI:
            return 0x5B;
        case SDL_SCANCODE_RGUI:
            return 0x5C;
        default:
            return kNoKey;
    }
}

}  // namespace

std::uint8_t VirtualKeyFromSdl(SDL_Keycode sym, SDL_Scancode scancode, Uint16 modifiers) {
    if (sym >= SDLK_a && sym <= SDLK_z) return std::uint8_t('A' + (sym - SDLK_a));
    if ((modifiers & KMOD_NUM) == 0) {
        std::uint8_t navigation = KeypadWithoutNumLock(scancode);
        if (navigation != kNoKey) return navigation;
    }
    const std::uint8_t code = ByPlace(scancode);
    // A key Windows has no code for still reaches the game, as on Windows:
    // its press re-runs the held keys' actions like any other.
    return code != kNoKey ? code : kKeyWithoutCode;
}

bool IsSystemKeySdl(std::uint8_t virtualKey, Uint16 modifiers) {
    constexpr std::uint8_t kAlt = 0x12;
    constexpr std::uint8_t kF10 = 0x79;
    if ((modifiers & KMOD_CTRL) != 0) return false;
    return virtualKey == kAlt || virtualKey == kF10 || (modifiers & KMOD_ALT) != 0;
}
