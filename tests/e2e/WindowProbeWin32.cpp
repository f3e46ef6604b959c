// A small Windows console tool the end-to-end tests run beside the game:
// finds the game's window by class and title and prints where its client
// area lies on the screen, or posts it a close request.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const char* command = argc > 1 ? argv[1] : "find";
    HWND window = FindWindowW(L"kvtn", L"Kolvex");
    if (window == nullptr) {
        std::printf("not-found\n");
        return 1;
    }
    if (std::strcmp(command, "close") == 0) {
        return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 2;
    }
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    std::printf("class=%ls client=%ldx%ld origin=%ld,%ld visible=%d\n", className, client.right - client.left,
                client.bottom - client.top, origin.x, origin.y, IsWindowVisible(window) ? 1 : 0);
    return 0;
}
