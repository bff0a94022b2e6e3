#pragma once

#include <array>
#include <cstdint>

#include "engine/tour_state.h"

namespace saltor {

// True when the `count` squares of `path` go on from `from` by knight moves, each to a square on
// the board that is not yet in `seen`, and every square has been seen at the end.
inline bool FinishesTour(uint64_t seen, Square from, const Square* path, int count) {
    for (int i = 0; i < count; from = path[i++]) {
        if (!IsOnBoard(path[i]) || (seen >> IndexOf(path[i]) & 1) != 0 ||
            !AreKnightMoveApart(from, path[i])) {
            return false;
        }
        seen |= uint64_t{1} << IndexOf(path[i]);
    }
    return seen == ~uint64_t{0};
}

// True when the 64 squares visit every square once, each a knight's move from the one before.
inline bool IsKnightsTour(const std::array<Square, 64>& path) {
    return IsOnBoard(path[0]) &&
           FinishesTour(uint64_t{1} << IndexOf(path[0]), path[0], &path[1], 63);
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

// A legal next square, or NoSquare when the knight has none: any at random, or like a player
// who mostly follows the fewest-exits rule, breaks ties as he likes and now and then plays any
// move at all.
inline Square NextMove(const TourState& tour, TestRandom& random, bool humanLike) {
    Square legal[8];
    int degree[8], count = 0, fewest = 9;
    const Square from = tour.moves[tour.moveCount - 1];
    for (const Square& offset : KnightOffsets) {
        const Square to{from.column + offset.column, from.row + offset.row};
        if (tour.IsLegal(to)) {
            degree[count] = 0;  // onward moves once the knight stands there
            for (const Square& onward : KnightOffsets) {
                const Square next{to.column + onward.column, to.row + onward.row};
                degree[count] += IsOnBoard(next) && tour.visits[IndexOf(next)] < 0;
            }
            if (degree[count] < fewest && (degree[count] > 0 || tour.moveCount == 63)) {
                fewest = degree[count];
            }
            legal[count++] = to;
        }
    }
    if (count == 0) {
        return NoSquare;
    }
    if (!humanLike || random.Below(4) == 0 || fewest == 9) {
        return legal[random.Below(count)];
    }
    int ties[8], tieCount = 0;
    for (int i = 0; i < count; ++i) {
        if (degree[i] == fewest) {
            ties[tieCount++] = i;
        }
    }
    return legal[ties[random.Below(tieCount)]];
}

// Plays up to `moves` such moves from a random square; stops early at a dead end.
inline void PlayFromRandomStart(TourState& tour, TestRandom& random, int moves, bool humanLike) {
    tour.Reset();
    tour.Play(SquareAt(random.Below(64)));
    for (Square next;
         tour.moveCount < moves && !IsNoSquare(next = NextMove(tour, random, humanLike));) {
        tour.Play(next);
    }
}
inline void PlayRandomly(TourState& tour, TestRandom& random, int moves) {
    PlayFromRandomStart(tour, random, moves, false);
}
inline void PlayHumanLike(TourState& tour, TestRandom& random, int moves) {
    PlayFromRandomStart(tour, random, moves, true);
}

}  // namespace saltor
