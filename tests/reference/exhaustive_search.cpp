#include "reference/exhaustive_search.h"

#include <bit>
#include <cstddef>
#include <set>
#include <utility>
#include <vector>

namespace saltor::reference {
namespace {

class Prover {
public:
    Prover(const VisitBoard& visits, uint64_t nodeLimit, bool endRule, uint64_t lastSquares)
        : nodeLimit_(nodeLimit), endRule_(endRule), lastSquares_(lastSquares) {
        for (int i = 0; i < 64; ++i) {
            visited_ |= uint64_t{visits[i] >= 0} << i;
            for (const Square& offset : KnightOffsets) {
                const Square to{SquareAt(i).column + offset.column, SquareAt(i).row + offset.row};
                if (IsOnBoard(to)) {
                    neighbours_[i].push_back(IndexOf(to));
                }
            }
        }
    }

    Completion From(int knight) {
        const bool done = Walk(knight);
        return nodes_ > nodeLimit_ ? Completion::Unknown
               : done              ? Completion::Possible
                                   : Completion::Impossible;
    }

private:
    bool Visited(int square) const { return (visited_ >> square & 1) != 0; }
    int Left() const { return 64 - std::popcount(visited_); }

    // Breadth-first from the knight over unvisited squares.
    bool AllReachable(int knight) const {
        uint64_t seen = 0;
        std::vector<int> queue{knight};
        for (size_t head = 0; head < queue.size(); ++head) {
            for (const int next : neighbours_[queue[head]]) {
                if (!Visited(next) && (seen >> next & 1) == 0) {
                    seen |= uint64_t{1} << next;
                    queue.push_back(next);
                }
            }
        }
        return std::popcount(seen) == Left();
    }

    // The path ends once: at most one unvisited square may lack a way in and a way out, it must
    // be one the path may end on, and moves alternate colours, so the number of squares left
    // says which colour it must have.
    bool EndsPossible(int knight) const {
        int deadEnds = 0;
        for (int square = 0; square < 64; ++square) {
            int ways = 0;
            for (const int next : neighbours_[square]) {
                ways += !Visited(next) || next == knight;
            }
            const Square a = SquareAt(square), b = SquareAt(knight);
            const bool sameColour = (a.column + a.row + b.column + b.row) % 2 == 0;
            if (!Visited(square) && ways < 2 &&
                (++deadEnds > 1 || sameColour != (Left() % 2 == 0) ||
                 (lastSquares_ >> square & 1) == 0)) {
                return false;
            }
        }
        return true;
    }

    // Some square the path may end on is still free.
    bool EndFree() const { return (~visited_ & lastSquares_) != 0; }

    bool Walk(int knight) {
        if (Left() == 0) {
            return (lastSquares_ >> knight & 1) != 0;
        }
        if (++nodes_ > nodeLimit_ || !AllReachable(knight) || !EndFree() ||
            (endRule_ && Left() > 1 && !EndsPossible(knight))) {
            return false;
        }
        const std::pair here{visited_, knight};
        if (failed_.count(here) != 0) {
            return false;
        }
        for (const int next : neighbours_[knight]) {
            if (!Visited(next)) {
                visited_ |= uint64_t{1} << next;
                const bool done = Walk(next);
                visited_ &= ~(uint64_t{1} << next);
                if (done || nodes_ > nodeLimit_) {
                    return done;
                }
            }
        }
        failed_.insert(here);
        return false;
    }

    uint64_t visited_ = 0;
    std::vector<int> neighbours_[64];
    uint64_t nodes_ = 0;
    const uint64_t nodeLimit_;
    const bool endRule_;
    const uint64_t lastSquares_;
    std::set<std::pair<uint64_t, int>> failed_;  // positions known to have no path on
};

}  // namespace

Completion CanComplete(const VisitBoard& visits, Square knight, uint64_t nodeLimit, bool endRule,
                       uint64_t lastSquares) {
    return Prover(visits, nodeLimit, endRule, lastSquares).From(IndexOf(knight));
}

}  // namespace saltor::reference
