// Constant shape data. The bytes are written in storage order (column by
// column) so they can be checked against the drawings cell by cell.
#include "game/Shapes.h"

const std::uint8_t ShapeTable[kShapeCount][16] = {
    {2, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0},  //  0 I flat
    {3, 0, 0, 0, 3, 0, 0, 0, 3, 3, 0, 0, 0, 0, 0, 0},  //  1 J
    {0, 4, 0, 0, 0, 4, 0, 0, 4, 4, 0, 0, 0, 0, 0, 0},  //  2 L
    {0, 5, 0, 0, 5, 5, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0},  //  3 T
    {6, 6, 0, 0, 6, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},  //  4 O
    {0, 7, 0, 0, 7, 7, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0},  //  5 S
    {8, 0, 0, 0, 8, 8, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0},  //  6 Z
    {0, 0, 0, 0, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0},  //  7 I upright
    {0, 0, 3, 0, 3, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0},  //  8 J
    {3, 3, 0, 0, 0, 3, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0},  //  9 J
    {3, 3, 3, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 10 J
    {4, 4, 4, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 11 L
    {4, 4, 0, 0, 4, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0},  // 12 L
    {4, 0, 0, 0, 4, 4, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 13 L
    {0, 5, 0, 0, 0, 5, 5, 0, 0, 5, 0, 0, 0, 0, 0, 0},  // 14 T
    {0, 0, 0, 0, 5, 5, 5, 0, 0, 5, 0, 0, 0, 0, 0, 0},  // 15 T
    {0, 5, 0, 0, 5, 5, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0},  // 16 T
    {7, 7, 0, 0, 0, 7, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 17 S upright
    {0, 8, 8, 0, 8, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 18 Z upright
};

// J and L turn one way, T the other: this is a table, not a formula.
const std::int8_t RotationTable[kShapeCount] = {
    7, 8, 11, 14, kNoSuccessor, 17, 18, 0, 9, 10, 1, 12, 13, 2, 15, 16, 3, 5, 6,
};

int RotationSuccessor(int orientation) {
    if (orientation < 0 || orientation >= kShapeCount) return kNoSuccessor;
    return RotationTable[orientation];
}
