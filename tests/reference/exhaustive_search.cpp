#include "reference/exhaustive_search.h"

#include <array>
#include <cstddef>
#include <unordered_set>
#include <vector>

namespace saltor::reference {
namespace {

struct Position {
    uint64_t visitedKey;
    int knight;
    bool operator==(const Position&) const = default;
};

struct PositionHash {
    size_t operator()(const Position& p) const {
        return std::hash<uint64_t>()(p.visitedKey) ^ (static_cast<size_t>(p.knight) * 0x9E37u);
    }
};

class Prover {
public:
    Prover(const VisitBoard& visits, uint64_t nodeLimit, bool endRule)
        : nodeLimit_(nodeLimit), endRule_(endRule) {
        for (int i = 0; i < 64; ++i) {
            visited_[i] = visits[i] >= 0;
            if (!visited_[i]) {
                ++left_;
            }
            const Square from = SquareAt(i);
            for (const Square& offset : KnightOffsets) {
                const Square to{from.column + offset.column, from.row + offset.row};
                if (IsOnBoard(to)) {
                    neighbours_[i].push_back(IndexOf(to));
                }
            }
        }
    }

    Completion From(int knight) {
        const bool done = Walk(knight);
        if (nodes_ > nodeLimit_) {
            return Completion::Unknown;
        }
        return done ? Completion::Possible : Completion::Impossible;
    }

private:
    uint64_t Key() const {
        uint64_t key = 0;
        for (int i = 0; i < 64; ++i) {
            if (visited_[i]) {
                key |= uint64_t{1} << i;
            }
        }
        return key;
    }

    // Breadth-first from the knight over unvisited squares.
    bool AllReachable(int knight) const {
        std::array<bool, 64> seen{};
        std::vector<int> queue{knight};
        int reached = 0;
        for (size_t head = 0; head < queue.size(); ++head) {
            for (const int next : neighbours_[queue[head]]) {
                if (!visited_[next] && !seen[next]) {
                    seen[next] = true;
                    ++reached;
                    queue.push_back(next);
                }
            }
        }
        return reached == left_;
    }

    // The path ends once: at most one unvisited square may lack a way in and a way out, and
    // moves alternate colours, so the number of squares left says which colour it must have.
    bool EndsPossible(int knight) const {
        int deadEnds = 0;
        for (int square = 0; square < 64; ++square) {
            if (visited_[square]) {
                continue;
            }
            int ways = 0;
            for (const int next : neighbours_[square]) {
                ways += !visited_[next] || next == knight;
            }
            if (ways < 2) {
                const bool sameColourAsKnight = (SquareAt(square).column + SquareAt(square).row +
                                                 SquareAt(knight).column + SquareAt(knight).row) %
                                                    2 ==
                                                0;
                if (++deadEnds > 1 || sameColourAsKnight != (left_ % 2 == 0)) {
                    return false;
                }
            }
        }
        return true;
    }

    bool Walk(int knight) {
        if (left_ == 0) {
            return true;
        }
        if (++nodes_ > nodeLimit_ || !AllReachable(knight) ||
            (endRule_ && left_ > 1 && !EndsPossible(knight))) {
            return false;
        }
        const Position here{Key(), knight};
        if (failed_.count(here) != 0) {
            return false;
        }
        for (const int next : neighbours_[knight]) {
            if (visited_[next]) {
                continue;
            }
            visited_[next] = true;
            --left_;
            const bool done = Walk(next);
            visited_[next] = false;
            ++left_;
            if (done) {
                return true;
            }
            if (nodes_ > nodeLimit_) {
                return false;
            }
        }
        failed_.insert(here);
        return false;
    }

    std::array<bool, 64> visited_{};
    std::array<std::vector<int>, 64> neighbours_;
    int left_ = 0;
    uint64_t nodes_ = 0;
    const uint64_t nodeLimit_;
    const bool endRule_;
    std::unordered_set<Position, PositionHash> failed_;
};

}  // namespace

Completion CanComplete(const VisitBoard& visits, Square knight, uint64_t nodeLimit, bool endRule) {
    return Prover(visits, nodeLimit, endRule).From(IndexOf(knight));
}

}  // namespace saltor::reference
