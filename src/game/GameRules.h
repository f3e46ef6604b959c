// The game rules over the shared record: starting a game, the falling piece's
// moves, locking, row clearing and levels. Called by key handling and the
// gravity timers, always with the game-state lock held by the caller.
#pragma once

#include <cstdint>

void NewGame();
void SpawnNextPiece();
bool PieceFits(std::int32_t dx, std::int32_t dy);
bool OrientationFits(std::int32_t orientation);
void StepDown();
void HardDrop();
void RotatePiece();
void LockPiece();
void ClearFullRows();

// Sideways moves of the Left and Right keys: one column if it fits.
void MovePieceLeft();
void MovePieceRight();

// Draws the next kind from the program's one generator (0..6).
std::int32_t DrawKind();
