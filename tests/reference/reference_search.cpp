#include "reference/reference_search.h"

namespace saltor::reference {

bool ReferenceSearch::Solve(bool complete, uint32_t budgetMs) {
    TourState& t = tour_;
    if (t.moveCount == 99) {
        return true;
    }
    if (complete && t.moveCount == 0) {
        return true;
    }
    if (!complete && t.moveCount < 2) {
        return true;
    }
    if (t.firstLostMove < t.moveCount) {
        return false;
    }
    budgetMs_ = budgetMs;
    for (int i = 0; i < 64; ++i) {
        t.searchPath[i] = t.moves[i];
    }
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
    host_.SearchEnded();
    if (found && complete) {
        for (int i = 0; i < 64; ++i) {
            t.moves[i] = t.searchPath[i];
            t.visits[t.searchPath[i].column * 8 + t.searchPath[i].row] = i;
        }
        t.moveCount = 99;
    }
    return found;
}

bool ReferenceSearch::Search(VisitBoard board, Square from) {
    TourState& t = tour_;
    t.searchDepth += 1;
    const int d = t.searchDepth;
    if (d >= 64) {
        return true;
    }
    for (;;) {
        const Square c = NextCandidate(board, from);
        if (c.column < 0 || c.column > 7 || c.row < 0 || c.row > 7) {
            t.searchDepth -= 1;
            return false;
        }
        if (d < 63 && HasIsolatedSquare(board)) {
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
        board[c.column * 8 + c.row] = -100 - d;
        stats_.backups += 1;
    }
}

Square ReferenceSearch::NextCandidate(const VisitBoard& board, Square from) const {
    const int d = tour_.searchDepth;
    Square best = NoSquare;
    int bestDegree = 9;
    for (int dc = -2; dc <= 2; ++dc) {
        for (int dr = -2; dr <= 2; ++dr) {
            if (dc == 0 || dr == 0 || (dc < 0 ? -dc : dc) + (dr < 0 ? -dr : dr) != 3) {
                continue;
            }
            const Square c{from.column + dc, from.row + dr};
            if (c.column < 0 || c.column > 7 || c.row < 0 || c.row > 7) {
                continue;
            }
            const int v = board[c.column * 8 + c.row];
            if (v >= 0 || v == -100 - d) {
                continue;
            }
            if (d == 63) {
                return c;
            }
            int degree = 0;
            for (int ec = -2; ec <= 2; ++ec) {
                for (int er = -2; er <= 2; ++er) {
                    if (ec == 0 || er == 0 || (ec < 0 ? -ec : ec) + (er < 0 ? -er : er) != 3) {
                        continue;
                    }
                    const Square n{c.column + ec, c.row + er};
                    if (n.column >= 0 && n.column <= 7 && n.row >= 0 && n.row <= 7 &&
                        board[n.column * 8 + n.row] < 0) {
                        degree += 1;
                    }
                }
            }
            if (degree == 0) {
                continue;
            }
            if (degree < bestDegree) {
                best = c;
                bestDegree = degree;
            }
        }
    }
    return best;
}

}  // namespace saltor::reference
