// A stand-in for XInput 1.4 in the Windows end-to-end test (e2e.py
// xinput_controller): slot 0 reports the pad described in the file named by
// KOLVEX_XINPUT_STATE ("BUTTONS-HEX LX LY"; anything else is no pad), slots
// 1-3 none. Built as xinput1_4.dll, copied beside the game only in the test's folder.
#include <windows.h>
#include <xinput.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

ULONGLONG readAt = 0;
char lastText[64] = "-";
bool connected = false;
XINPUT_STATE pad = {};

// The game asks on every pass of its loop: the file is read at most every 10 ms.
void Refresh() {
    const ULONGLONG now = GetTickCount64();
    if (readAt != 0 && now - readAt < 10) return;
    readAt = now;
    char text[64] = {};
    const char* path = std::getenv("KOLVEX_XINPUT_STATE");
    if (std::FILE* file = path != nullptr ? std::fopen(path, "r") : nullptr) {
        if (std::fread(text, 1, sizeof text - 1, file) == 0) text[0] = 0;
        std::fclose(file);
    }
    if (std::strcmp(text, lastText) == 0) return;
    std::strcpy(lastText, text);
    unsigned buttons = 0;
    int x = 0;
    int y = 0;
    connected = std::sscanf(text, "%x %d %d", &buttons, &x, &y) == 3;
    pad.Gamepad = {static_cast<WORD>(buttons), 0, 0, static_cast<SHORT>(x), static_cast<SHORT>(y), 0, 0};
    ++pad.dwPacketNumber;
}

}  // namespace

DWORD WINAPI XInputGetState(DWORD slot, XINPUT_STATE* state) {
    Refresh();
    if (slot != 0 || !connected) return ERROR_DEVICE_NOT_CONNECTED;
    *state = pad;
    return ERROR_SUCCESS;
}
