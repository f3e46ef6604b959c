// A small Windows console tool the end-to-end tests run beside the game:
// finds the game's window by class and title and prints where its client
// area lies on the screen, posts it a close request, or asks it to make way
// for the end of the session as Windows' Restart Manager does.
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
    if (std::strcmp(command, "end-session") == 0) {
        // Sent, not posted, as Windows sends them: each returns once handled.
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, &answer))
            return 3;
        std::printf("query=%d\n", answer != 0 ? 1 : 0);
        if (answer == 0) return 4;
        return SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, &answer)
                   ? 0
                   : 5;
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
