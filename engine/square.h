#pragma once

#include <array>
#include <cstdint>

namespace saltor {

// A board square: column 0..7 from the left (files A..H), row 0..7 from the bottom (ranks 1..8).
struct Square {
    int32_t column = -1;
    int32_t row = -1;

    friend bool operator==(const Square&, const Square&) = default;
};

inline constexpr Square NoSquare{-1, -1};

inline constexpr bool IsNoSquare(Square s) {
    return s.column == -1 && s.row == -1;
}
inline constexpr bool IsOnBoard(Square s) {
    return s.column >= 0 && s.column <= 7 && s.row >= 0 && s.row <= 7;
}

// Boards are stored column-major: the square (column, row) lives at index column * 8 + row.
inline constexpr int IndexOf(Square s) {
    return s.column * 8 + s.row;
}
inline constexpr Square SquareAt(int index) {
    return Square{index / 8, index % 8};
}

// Board of visit numbers: -1 unvisited, 0..63 the square's place in the tour. The search's
// private copies also hold other negative values, so "unvisited" means negative.
using VisitBoard = std::array<int32_t, 64>;

// The eight knight moves in the order every neighbour scan meets them: column offset from -2 to
// +2 in the outer loop, row offset from -2 to +2 in the inner one. Search results depend on it.
inline constexpr std::array<Square, 8> KnightOffsets{
    {{-2, -1}, {-2, +1}, {-1, -2}, {-1, +2}, {+1, -2}, {+1, +2}, {+2, -1}, {+2, +1}}};

}  // namespace saltor
