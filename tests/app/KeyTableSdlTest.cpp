// The native build's key translation: every key of a PC keyboard reaches the
// game with the code Windows gives it, so held keys repeat on any press.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/KeyTableSdl.h"

namespace {

// The key a US layout gives: letters type themselves, other keys are named by place.
std::uint8_t Code(SDL_Scancode scancode, Uint16 modifiers = KMOD_NUM) {
    const bool letter = scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z;
    const SDL_Keycode sym = letter ? SDLK_a + (scancode - SDL_SCANCODE_A) : SDL_SCANCODE_TO_KEYCODE(scancode);
    return VirtualKeyFromSdl(sym, scancode, modifiers);
}

// The 105 keys of an ISO PC keyboard (the 104 US keys and the extra one
// beside left Shift).
std::vector<SDL_Scancode> PcKeyboard() {
    std::vector<SDL_Scancode> keys;
    for (int s = SDL_SCANCODE_A; s <= SDL_SCANCODE_KP_PERIOD; ++s) keys.push_back(SDL_Scancode(s));
    for (int s = SDL_SCANCODE_LCTRL; s <= SDL_SCANCODE_RGUI; ++s) keys.push_back(SDL_Scancode(s));
    keys.push_back(SDL_SCANCODE_NONUSBACKSLASH);
    keys.push_back(SDL_SCANCODE_APPLICATION);
    return keys;
}

TEST(KeyTableSdl, EveryPcKeyHasOneCodeSharedOnlyByItsTwin) {
    std::map<std::uint8_t, int> users;
    for (SDL_Scancode key : PcKeyboard()) {
        const std::uint8_t code = Code(key);
        EXPECT_NE(code, kKeyWithoutCode) << SDL_GetScancodeName(key);
        users[code] += 1;
    }
    // Left and right modifiers, the two Enters, and the apostrophe with the
    // ISO hash key are one code each on Windows too.
    for (auto [code, count] : users) {
        const bool twins = code == 0x0D || code == 0x10 || code == 0x11 || code == 0x12 || code == 0xDE;
        EXPECT_TRUE(count == 1 || twins) << int(code);
    }
}

TEST(KeyTableSdl, KeypadEnterIsEnterAndTheKeypadWithoutNumLockNavigates) {
    EXPECT_EQ(Code(SDL_SCANCODE_KP_ENTER), 0x0D);
    EXPECT_EQ(Code(SDL_SCANCODE_KP_8), 0x68);
    EXPECT_EQ(Code(SDL_SCANCODE_KP_8, KMOD_NONE), 0x26);  // Up: turns the piece
    EXPECT_EQ(Code(SDL_SCANCODE_KP_2, KMOD_NONE), 0x28);
    EXPECT_EQ(Code(SDL_SCANCODE_KP_DIVIDE, KMOD_NONE), 0x6F);
}

TEST(KeyTableSdl, LettersFollowTheLayoutDigitsThePlace) {
    // AZERTY: the key left of Z types "a"; the top-row "1" key types "&".
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_a, SDL_SCANCODE_Q, KMOD_NONE), 'A');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_AMPERSAND, SDL_SCANCODE_1, KMOD_NONE), '1');
    // A Cyrillic layout types no Latin letter: Windows keeps the US letter.
    EXPECT_EQ(VirtualKeyFromSdl(SDL_Keycode(0x439), SDL_SCANCODE_Q, KMOD_NONE), 'Q');
}

TEST(KeyTableSdl, KeysWithoutAWindowsCodeGetOneOfTheirOwnNotZero) {
    // Windows' own code for keys it cannot name; 0 would be dropped as no key.
    EXPECT_EQ(Code(SDL_SCANCODE_UNKNOWN), kKeyWithoutCode);
    EXPECT_EQ(Code(SDL_SCANCODE_AC_BOOKMARKS), kKeyWithoutCode);
}

TEST(KeyTableSdl, AltAndF10AreSystemKeysUnlessCtrlIsHeld) {
    EXPECT_TRUE(IsSystemKeySdl(0x12, KMOD_LALT));
    EXPECT_TRUE(IsSystemKeySdl(0x79, KMOD_NONE));
    EXPECT_TRUE(IsSystemKeySdl('Q', KMOD_RALT));
    EXPECT_FALSE(IsSystemKeySdl('Q', KMOD_RALT | KMOD_LCTRL));
    EXPECT_FALSE(IsSystemKeySdl(0x26, KMOD_SHIFT | KMOD_NUM));
}

}  // namespace
