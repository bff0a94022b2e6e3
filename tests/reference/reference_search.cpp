#include "reference/reference_search.h"

#include <cstdlib>

namespace saltor::reference {
namespace {

// The knight's neighbours of `s` on the board, in the order the game's scans meet them.
template <typename Visit>
void ForEachNeighbour(Square s, Visit visit) {
    for (int dc = -2; dc <= 2; ++dc) {
        for (int dr = -2; dr <= 2; ++dr) {
            const Square n{s.column + dc, s.row + dr};
            if (dc != 0 && dr != 0 && std::abs(dc) + std::abs(dr) == 3 && IsOnBoard(n)) {
                visit(n);
            }
        }
    }
}

}  // namespace

bool ReferenceSearch::Solve(bool complete, uint32_t budgetMs) {
    TourState& t = tour_;
    if (t.moveCount == 99 || t.moveCount == 0 || (!complete && t.moveCount == 1)) {
        return true;
    }
    if (t.firstLostMove < t.moveCount) {
        return false;
    }
    budgetMs_ = budgetMs;
    t.searchPath = t.moves;
    t.searchDepth = t.moveCount - 1;
    t.searchStartTick = host_.TickCount();
    t.searchRunning = true;
    const bool found = Search(t.visits, t.moves[t.moveCount - 1]);
    if (found) {
        t.firstDoubtfulMove = 99;
    } else {
        if (t.searchRunning) {
            t.firstLostMove = t.moveCount - 1;
        }
        if (t.firstDoubtfulMove == 99) {
            t.firstDoubtfulMove = t.moveCount - 1;
        }
        t.errorCount += 1;
    }
    t.searchStartTick = 0;
    t.searchRunning = false;
    if (found && complete) {
        for (int i = 0; i < 64; ++i) {
            t.moves[i] = t.searchPath[i];
            t.visits[t.searchPath[i].column * 8 + t.searchPath[i].row] = i;
        }
        t.moveCount = 99;
    }
    host_.SearchEnded();
    return found;
}

bool ReferenceSearch::Search(VisitBoard board, Square from) {
    TourState& t = tour_;
    const int d = t.searchDepth += 1;
    if (d >= 64) {
        return true;
    }
    for (;;) {
        const Square c = NextCandidate(board, from);
        if (!IsOnBoard(c) || (d < 63 && HasIsolatedSquare(board))) {
            t.searchDepth -= 1;
            return false;
        }
        board[c.column * 8 + c.row] = d;
        t.searchPath[d] = c;
        stats_.squaresPlaced += 1;
        if (host_.PollCancel()) {
            t.searchRunning = false;
            t.searchStartTick = 0;
        }
        host_.ShowBusy();
        if (Search(board, c)) {
            return true;
        }
        if (!t.searchRunning ||
            static_cast<uint32_t>(host_.TickCount() - t.searchStartTick) > budgetMs_) {
            t.searchDepth -= 1;
            t.searchRunning = false;
            t.searchStartTick = 0;
            return false;
        }
        board[c.column * 8 + c.row] = -100 - d;  // tried at this depth
        stats_.backups += 1;
    }
}

// Fewest onward moves first, the first of equals kept; a square with none only as the last.
Square ReferenceSearch::NextCandidate(const VisitBoard& board, Square from) const {
    const int d = tour_.searchDepth;
    Square best = NoSquare;
    int bestDegree = 9;
    ForEachNeighbour(from, [&](Square c) {
        const int v = board[c.column * 8 + c.row];
        if (v >= 0 || v == -100 - d || (d == 63 && IsOnBoard(best))) {
            return;
        }
        int degree = 0;
        ForEachNeighbour(c, [&](Square n) { degree += board[n.column * 8 + n.row] < 0; });
        if (d == 63 || (degree != 0 && degree < bestDegree)) {
            best = c;
            bestDegree = degree;
        }
    });
    return best;
}

}  // namespace saltor::reference
