// The one record of all game state, its single instance `gameState`, and the
// one lock over it. Keys, timer callbacks and frames each hold the lock for a
// whole step; the game procedures themselves never take it.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "assets/AssetLibrary.h"
#include "state/PlatformTypes.h"

constexpr int kBoardColumns = 16;
constexpr int kBoardRows = 26;

// Cells stored column by column: cell (c, r) is byte c * 26 + r.
struct Board {
    std::uint8_t cells[kBoardColumns * kBoardRows];
};

inline std::uint8_t& BoardCell(Board& board, int column, int row) {
    return board.cells[column * kBoardRows + row];
}
inline std::uint8_t BoardCell(const Board& board, int column, int row) {
    return board.cells[column * kBoardRows + row];
}

struct GameState {
    // Game rules
    Board board;
    std::int32_t pieceColumn;
    std::int32_t pieceRow;
    std::int32_t pieceOrientation;
    std::int32_t nextKind;
    std::uint8_t nextPreview[16];
    std::uint32_t linesCleared;
    std::int32_t level;
    bool levelReached[7];
    bool fieldVisible;
    bool challengeMode;

    // Keyboard and menu
    std::uint8_t keyDown[256];
    bool menuOpen;
    bool helpOpen;
    bool quitRequested;  // see QuitRequested()/RequestQuit() below: written under the lock
    bool windowInactive;
    std::uint8_t menuChoice;

    // Timer-driven animation
    float spinAngle;
    bool menuBlink[4];
    float helpTextColor[3];
    float helpTiltTarget[3];
    float helpTilt[3];
    std::int32_t helpShapeIndex;
    TimerId timerIds[9];

    // Window, context, textures, font
    HINSTANCE hInstance;
    HWND hWnd;
    HDC hDC;
    HGLRC hGLRC;
    std::uint32_t textureIds[30];
    HFONT hFont;

    // Sounds
    ArchiveEntry soundLineClear;
    ArchiveEntry soundRotate;
    ArchiveEntry soundMenu;
    bool soundOn;
};

extern GameState gameState;

// Held by every key message, timer callback and frame for its whole run.
extern std::mutex gameStateLock;

// One rule for the flag: it is written only under gameStateLock (the timer
// thread copies the whole record under it), and always atomically, so that
// both loops may poll it without the lock through QuitRequested(). Only the
// start-up, before the timer thread exists, writes it without the lock.
// The page's C++ library (Emscripten 3.1.6's) has no std::atomic_ref; the
// compilers' own atomic built-ins are what it would have called.
inline bool QuitRequested() {
#if defined(__cpp_lib_atomic_ref)
    return std::atomic_ref<bool>(gameState.quitRequested).load(std::memory_order_acquire);
#else
    return __atomic_load_n(&gameState.quitRequested, __ATOMIC_ACQUIRE);
#endif
}
inline void StoreQuitRequest(bool requested) {
#if defined(__cpp_lib_atomic_ref)
    std::atomic_ref<bool>(gameState.quitRequested).store(requested, std::memory_order_release);
#else
    __atomic_store_n(&gameState.quitRequested, requested, __ATOMIC_RELEASE);
#endif
}
inline void RequestQuit() {
    StoreQuitRequest(true);
}
