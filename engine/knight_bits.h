#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "engine/square.h"

// Sets of squares as 64-bit masks, bit i for the square at board index i (column-major).
namespace saltor::knight_bits {

constexpr uint64_t Bit(int index) {
    return uint64_t{1} << index;
}

constexpr std::array<uint64_t, 64> MakeKnightMoves() {
    std::array<uint64_t, 64> moves{};
    for (int index = 0; index < 64; ++index) {
        const Square from = SquareAt(index);
        for (const Square& offset : KnightOffsets) {
            const Square to{from.column + offset.column, from.row + offset.row};
            if (IsOnBoard(to)) {
                moves[index] |= Bit(IndexOf(to));
            }
        }
    }
    return moves;
}

constexpr bool HasTwoOrMore(uint64_t squares) {
    return (squares & (squares - 1)) != 0;
}

constexpr int Lowest(uint64_t squares) {
    return std::countr_zero(squares);
}

// The number of squares in a set. Without a popcount instruction in the target, std::popcount is
// a library call, which costs the search more than these few inline operations.
constexpr int CountSquares(uint64_t squares) {
#ifdef __POPCNT__
    return std::popcount(squares);
#else
    squares -= (squares >> 1) & 0x5555555555555555ull;
    squares = (squares & 0x3333333333333333ull) + ((squares >> 2) & 0x3333333333333333ull);
    squares = (squares + (squares >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((squares * 0x0101010101010101ull) >> 56);
#endif
}

// Whether a set holds an even number of squares. Folded by hand: without a popcount instruction
// in the target, the library's popcount is a call.
constexpr bool IsEvenCount(uint64_t squares) {
    for (int shift = 32; shift > 0; shift /= 2) {
        squares ^= squares >> shift;
    }
    return (squares & 1) == 0;
}

// The knight moves of each square.
inline constexpr std::array<uint64_t, 64> KnightMoves = MakeKnightMoves();

constexpr uint64_t EveryColumn = 0x0101010101010101ull;

// The squares whose column and row add up to an even number (a1 is dark); a knight's move always
// changes the colour.
constexpr uint64_t DarkSquares = 0xAA55AA55AA55AA55ull;

constexpr bool IsDark(int index) {
    return (DarkSquares >> index & 1) != 0;
}

// The eight knight moves of every square of a set at once, one mask per move. A row offset must
// not carry into the next column, so sources are limited to the rows it keeps on the board;
// column overflow shifts out of the word.
struct KnightShifts {
    uint64_t to[8];

    constexpr explicit KnightShifts(uint64_t squares) : to{} {
        const uint64_t up1 = squares & (EveryColumn * 0x7F), up2 = squares & (EveryColumn * 0x3F);
        const uint64_t down1 = squares & (EveryColumn * 0xFE);
        const uint64_t down2 = squares & (EveryColumn * 0xFC);
        to[0] = up1 << 17;  // two columns right, one row up
        to[1] = up1 >> 15;  // two columns left, one row up
        to[2] = down1 << 15;
        to[3] = down1 >> 17;
        to[4] = up2 << 10;  // one column right, two rows up
        to[5] = up2 >> 6;   // one column left, two rows up
        to[6] = down2 << 6;
        to[7] = down2 >> 10;
    }
};

// Every square with a knight neighbour in `squares`.
constexpr uint64_t KnightReach(uint64_t squares) {
    const KnightShifts s(squares);
    return s.to[0] | s.to[1] | s.to[2] | s.to[3] | s.to[4] | s.to[5] | s.to[6] | s.to[7];
}

}  // namespace saltor::knight_bits
