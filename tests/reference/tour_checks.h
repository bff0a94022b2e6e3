#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/tour_state.h"

namespace saltor {

// True when the 64 squares visit every square once, each a knight's move from the one before.
inline bool IsKnightsTour(const std::array<Square, 64>& path) {
    std::array<bool, 64> seen{};
    for (int i = 0; i < 64; ++i) {
        if (!IsOnBoard(path[i]) || seen[IndexOf(path[i])]) {
            return false;
        }
        seen[IndexOf(path[i])] = true;
        if (i > 0 && !AreKnightMoveApart(path[i - 1], path[i])) {
            return false;
        }
    }
    return true;
}

// A small deterministic generator: the same positions on every compiler and platform.
class TestRandom {
public:
    explicit TestRandom(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state_ >> 33);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

private:
    uint64_t state_;
};

// A random legal next square, or NoSquare when the knight has none.
inline Square RandomLegalMove(const TourState& tour, TestRandom& random) {
    Square legal[8];
    int count = 0;
    const Square from = tour.moves[tour.moveCount - 1];
    for (const Square& offset : KnightOffsets) {
        const Square to{from.column + offset.column, from.row + offset.row};
        if (tour.IsLegal(to)) {
            legal[count++] = to;
        }
    }
    return count == 0 ? NoSquare : legal[random.Below(count)];
}

// Plays up to `moves` random legal moves from an empty board; stops early at a dead end.
inline void PlayRandomly(TourState& tour, TestRandom& random, int moves) {
    tour.Reset();
    tour.Play(SquareAt(random.Below(64)));
    while (tour.moveCount < moves) {
        const Square next = RandomLegalMove(tour, random);
        if (IsNoSquare(next)) {
            return;
        }
        tour.Play(next);
    }
}

// Onward moves from `to` once the knight stands there: its unvisited knight neighbours.
inline int OnwardMoves(const TourState& tour, Square to) {
    int count = 0;
    for (const Square& offset : KnightOffsets) {
        const Square next{to.column + offset.column, to.row + offset.row};
        if (IsOnBoard(next) && tour.visits[IndexOf(next)] < 0) {
            ++count;
        }
    }
    return count;
}

// A player who mostly follows the fewest-exits rule, breaks ties as he likes and now and then
// plays any move at all.
inline Square HumanLikeMove(const TourState& tour, TestRandom& random) {
    Square legal[8];
    int degree[8];
    int count = 0;
    int fewest = 9;
    const Square from = tour.moves[tour.moveCount - 1];
    for (const Square& offset : KnightOffsets) {
        const Square to{from.column + offset.column, from.row + offset.row};
        if (tour.IsLegal(to)) {
            degree[count] = OnwardMoves(tour, to);
            if (degree[count] < fewest && (degree[count] > 0 || tour.moveCount == 63)) {
                fewest = degree[count];
            }
            legal[count++] = to;
        }
    }
    if (count == 0) {
        return NoSquare;
    }
    if (random.Below(4) == 0 || fewest == 9) {
        return legal[random.Below(count)];
    }
    int ties[8];
    int tieCount = 0;
    for (int i = 0; i < count; ++i) {
        if (degree[i] == fewest) {
            ties[tieCount++] = i;
        }
    }
    return legal[ties[random.Below(tieCount)]];
}

// Plays up to `moves` human-like moves from a random square; stops early at a dead end.
inline void PlayHumanLike(TourState& tour, TestRandom& random, int moves) {
    tour.Reset();
    tour.Play(SquareAt(random.Below(64)));
    while (tour.moveCount < moves) {
        const Square next = HumanLikeMove(tour, random);
        if (IsNoSquare(next)) {
            return;
        }
        tour.Play(next);
    }
}

}  // namespace saltor
