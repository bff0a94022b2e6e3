#pragma once

#include <array>
#include <cstdint>

#include "engine/challenge.h"
#include "engine/square.h"

namespace saltor {

// 99 stands for "complete" in moveCount and for "none" in the two marks; comparisons of a move
// index with a mark rely on it exceeding every index.
inline constexpr int32_t TourComplete = 99;
inline constexpr int32_t NoMark = 99;

// The tour in progress, the judge's marks, the report's counters and the search's working fields.
// The board window that owns it gives the search its window through the search host, not here.
struct TourState {
    VisitBoard visits{};
    std::array<Square, 64> moves{};
    int32_t moveCount = 0;
    int32_t firstDoubtfulMove = NoMark;
    std::array<Square, 64> searchPath{};
    int32_t searchDepth = 0;
    int32_t movesPlayed = 0;
    int32_t errorCount = 0;
    uint32_t searchStartTick = 0;
    int32_t firstLostMove = NoMark;
    // True from the start of a search until it is cancelled, runs out of time or ends. Kept apart
    // from searchStartTick because a tick of 0 is a legitimate start time.
    bool searchRunning = false;
    // The kind of tour the judge, the hint and the solve command work towards; a new game keeps
    // it.
    Challenge challenge;

    TourState() { Reset(); }

    bool IsComplete() const { return moveCount == TourComplete; }
    // Squares on the board: moveCount, or 64 for a complete tour.
    int32_t SquaresOnBoard() const { return IsComplete() ? 64 : moveCount; }

    void Reset();
    bool IsLegal(Square s) const;
    void Play(Square s);
    void TakeBack();
};

bool AreKnightMoveApart(Square a, Square b);

// True when some unvisited (negative) cell has no unvisited knight neighbour.
bool HasIsolatedSquare(const VisitBoard& board);

}  // namespace saltor
