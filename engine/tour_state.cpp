#include "engine/tour_state.h"

#include <cstdlib>

namespace saltor {

void TourState::Reset() {
    visits.fill(-1);
    moves.fill(NoSquare);
    searchPath.fill(NoSquare);
    moveCount = 0;
    movesPlayed = 0;
    errorCount = 0;
    firstDoubtfulMove = NoMark;
    firstLostMove = NoMark;
}

bool AreKnightMoveApart(Square a, Square b) {
    const int dc = std::abs(a.column - b.column);
    const int dr = std::abs(a.row - b.row);
    return dc != 0 && dr != 0 && dc + dr == 3;
}

bool TourState::IsLegal(Square s) const {
    if (!IsOnBoard(s) || moveCount > 63) {
        return false;
    }
    if (moveCount == 0) {
        return true;
    }
    return AreKnightMoveApart(moves[moveCount - 1], s) && visits[IndexOf(s)] == -1;
}

void TourState::Play(Square s) {
    if (!IsOnBoard(s) || moveCount == TourComplete) {
        return;
    }
    visits[IndexOf(s)] = moveCount;
    moves[moveCount] = s;
    // From the 63rd square on an unreachable square is simply the last one, not a dead end.
    if (firstLostMove == NoMark && moveCount < 62 && HasIsolatedSquare(visits)) {
        firstLostMove = moveCount;
    }
    ++moveCount;
    ++movesPlayed;
    if (moveCount > 63) {
        moveCount = TourComplete;
    }
}

void TourState::TakeBack() {
    // A complete tour is browsed, never taken back; refusing it keeps moves[] in range.
    if (moveCount == TourComplete) {
        return;
    }
    if (moveCount == 0) {
        Reset();
        return;
    }
    --moveCount;
    visits[IndexOf(moves[moveCount])] = -1;
    moves[moveCount] = NoSquare;
    if (moveCount <= firstDoubtfulMove) {
        firstDoubtfulMove = NoMark;
    }
    if (moveCount <= firstLostMove) {
        firstLostMove = NoMark;
    }
    ++movesPlayed;
}

bool HasIsolatedSquare(const VisitBoard& board) {
    for (int column = 0; column < 8; ++column) {
        for (int row = 0; row < 8; ++row) {
            if (board[column * 8 + row] >= 0) {
                continue;
            }
            bool served = false;
            for (const Square& offset : KnightOffsets) {
                const Square n{column + offset.column, row + offset.row};
                if (IsOnBoard(n) && board[IndexOf(n)] < 0) {
                    served = true;
                    break;
                }
            }
            if (!served) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace saltor
