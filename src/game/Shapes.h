// The nineteen piece orientations and the order they rotate through. Read by
// the game rules, the play-field drawing and the help screen's demo piece.
#pragma once

#include <cstdint>

constexpr int kShapeCount = 19;
constexpr int kNoSuccessor = -1;

// Each orientation is a 4 x 4 frame stored column by column like the board:
// frame cell (i, j) is byte i * 4 + j, holding 0 or the kind's cell code.
extern const std::uint8_t ShapeTable[kShapeCount][16];

// The orientation a rotation asks for, or kNoSuccessor (the O piece).
extern const std::int8_t RotationTable[kShapeCount];

// Successor of any orientation value; out-of-range values have none.
int RotationSuccessor(int orientation);
