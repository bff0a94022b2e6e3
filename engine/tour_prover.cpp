#include "engine/tour_prover.h"

#include "engine/knight_bits.h"

namespace saltor {
namespace {

using namespace knight_bits;

constexpr int NoSquareIndex = -1;

// The squares still to visit and the knight's, with the moves between them that the rest of the
// tour may still use, those it must use, and the pieces of path the forced moves make.
struct Moves {
    uint64_t usable[64];
    uint64_t forced[64];
    int8_t otherEnd[64];  // for an end of a piece of path, its other end; a lone square is both
    int8_t last;          // the square that must end the tour, once known
    int8_t forcedCount;
};

// What the whole proof shares: the position and the squares that may be last: of the colour
// the number of squares left fixes (moves alternate colours), and allowed by the challenge.
struct Problem {
    uint64_t open;
    int from;
    uint64_t lastColour;
    int moves;  // a tour's rest makes one move per square left

    int Need(const Moves& m, int v) const { return v == from || v == m.last ? 1 : 2; }
};

// Works out what the choices made imply, square by square, until nothing changes.
class Propagation {
public:
    Propagation(Moves& m, const Problem& p) : m_(m), p_(p) {}

    void QueueAll() { queue_ |= p_.open | Bit(p_.from); }

    // False when the moves left can no longer form a tour's rest.
    bool Settle() {
        while (queue_ != 0) {
            const int v = Lowest(queue_);
            queue_ &= queue_ - 1;
            if (!Check(v)) {
                return false;
            }
        }
        return Connected();
    }

    bool Force(int a, int b) {
        if ((m_.forced[a] >> b & 1) != 0) {
            return true;
        }
        m_.forced[a] |= Bit(b);
        m_.forced[b] |= Bit(a);
        const int endA = m_.otherEnd[a], endB = m_.otherEnd[b];
        if (endA == b) {
            return false;  // the move would close a loop
        }
        m_.otherEnd[endA] = static_cast<int8_t>(endB);
        m_.otherEnd[endB] = static_cast<int8_t>(endA);
        ++m_.forcedCount;
        queue_ |= Bit(a) | Bit(b);
        if ((m_.usable[endA] >> endB & 1) != 0 && (m_.forced[endA] >> endB & 1) == 0) {
            Drop(endA, endB);  // joining the new piece's ends would close a loop
        }
        return EndsMeetOnlyLast();
    }

    void Drop(int a, int b) {
        m_.usable[a] &= ~Bit(b);
        m_.usable[b] &= ~Bit(a);
        queue_ |= Bit(a) | Bit(b);
    }

private:
    // The piece from the knight and the piece to the last square may only be joined by the
    // tour's final move.
    bool EndsMeetOnlyLast() {
        if (m_.last == NoSquareIndex) {
            return true;
        }
        const int head = m_.otherEnd[p_.from], tail = m_.otherEnd[m_.last];
        if (head == m_.last) {
            return m_.forcedCount == p_.moves;
        }
        if (m_.forcedCount + 1 < p_.moves && (m_.usable[head] >> tail & 1) != 0) {
            Drop(head, tail);
        }
        return true;
    }

    bool Check(int v) {
        const uint64_t usable = m_.usable[v];
        const int ways = CountSquares(usable);
        if (ways == 0) {
            return false;
        }
        if (ways == 1 && v != p_.from && v != m_.last) {
            // Entered and never left: the last square, if none is yet and the colour fits.
            if (m_.last != NoSquareIndex || (p_.lastColour >> v & 1) == 0) {
                return false;
            }
            m_.last = static_cast<int8_t>(v);
            QueueAll();  // squares with two ways that might have been last now are not
            if (!EndsMeetOnlyLast()) {
                return false;
            }
        }
        const int need = p_.Need(m_, v);
        const int used = CountSquares(m_.forced[v]);
        if (used > need) {
            return false;
        }
        if (used == need) {
            for (uint64_t drop = usable & ~m_.forced[v]; drop != 0; drop &= drop - 1) {
                Drop(v, Lowest(drop));
            }
            return true;
        }
        const bool mayBeLast =
            v != p_.from && m_.last == NoSquareIndex && (p_.lastColour >> v & 1) != 0;
        if (ways == need && (need == 1 || !mayBeLast)) {
            for (uint64_t add = usable & ~m_.forced[v]; add != 0; add &= add - 1) {
                if (!Force(v, Lowest(add))) {
                    return false;
                }
            }
        }
        return true;
    }

    // Every square left can still be reached from the knight over usable moves.
    bool Connected() const {
        uint64_t reached = Bit(p_.from), frontier = reached;
        while (frontier != 0) {
            const int v = Lowest(frontier);
            frontier &= frontier - 1;
            const uint64_t fresh = m_.usable[v] & ~reached;
            reached |= fresh;
            frontier |= fresh;
        }
        return (p_.open & ~reached) == 0;
    }

    Moves& m_;
    const Problem& p_;
    uint64_t queue_ = 0;
};

class Proving {
public:
    Proving(const Problem& p, const std::function<bool()>& shouldStop, uint64_t& choices)
        : p_(p), shouldStop_(shouldStop), choices_(choices) {}

    // Each choice is whether one move is used: first with it, then without it.
    Proof Search(Moves& m) {
        for (;;) {
            if (m.forcedCount == p_.moves) {
                tour_ = m;
                return Proof::Found;
            }
            ++choices_;
            if (shouldStop_()) {
                return Proof::Stopped;
            }
            const int v = NarrowestSquare(m);
            const int u = FewestWays(m, m.usable[v] & ~m.forced[v]);
            Moves with = m;
            Propagation withMove(with, p_);
            if (withMove.Force(v, u) && withMove.Settle()) {
                const Proof proof = Search(with);
                if (proof != Proof::Lost) {
                    return proof;
                }
            }
            Propagation without(m, p_);
            without.Drop(v, u);
            if (!without.Settle()) {
                return Proof::Lost;
            }
        }
    }

    void WritePath(std::array<int8_t, 64>& path) const {
        int previous = NoSquareIndex, current = p_.from;
        for (int i = 0; i <= p_.moves; ++i) {
            path[i] = static_cast<int8_t>(current);
            const uint64_t next = tour_.forced[current] & ~(previous < 0 ? 0 : Bit(previous));
            previous = current;
            current = Lowest(next);
        }
    }

private:
    // The square still short of moves with the fewest moves to choose from.
    int NarrowestSquare(const Moves& m) const {
        int best = NoSquareIndex, fewest = 99;
        for (uint64_t rest = p_.open | Bit(p_.from); rest != 0; rest &= rest - 1) {
            const int v = Lowest(rest);
            const int used = CountSquares(m.forced[v]);
            if (used < p_.Need(m, v)) {
                const int choices = CountSquares(m.usable[v]) - used;
                if (choices < fewest) {
                    fewest = choices;
                    best = v;
                }
            }
        }
        return best;
    }

    static int FewestWays(const Moves& m, uint64_t squares) {
        int best = NoSquareIndex, fewest = 99;
        for (; squares != 0; squares &= squares - 1) {
            const int u = Lowest(squares);
            const int ways = CountSquares(m.usable[u]);
            if (ways < fewest) {
                fewest = ways;
                best = u;
            }
        }
        return best;
    }

    const Problem& p_;
    const std::function<bool()>& shouldStop_;
    uint64_t& choices_;
    Moves tour_{};
};

}  // namespace

Proof TourProver::Prove(uint64_t visited, int from, std::array<int8_t, 64>& path,
                        uint64_t lastSquares) {
    const uint64_t open = ~visited;
    const uint64_t knightColour = IsDark(from) ? DarkSquares : ~DarkSquares;
    const Problem p{open, from, (IsEvenCount(open) ? knightColour : ~knightColour) & lastSquares,
                    CountSquares(open)};
    Moves m;
    const uint64_t all = open | Bit(from);
    for (int v = 0; v < 64; ++v) {
        m.usable[v] = (all >> v & 1) != 0 ? KnightMoves[v] & all : 0;
        m.forced[v] = 0;
        m.otherEnd[v] = static_cast<int8_t>(v);
    }
    m.last = NoSquareIndex;
    m.forcedCount = 0;
    if (lastSquares != ~uint64_t{0} && p.moves > 0) {
        const uint64_t ends = open & p.lastColour;
        if (ends == 0) {
            return Proof::Lost;
        }
        if (!HasTwoOrMore(ends)) {
            m.last = static_cast<int8_t>(Lowest(ends));  // the one square the tour may end on
        }
    }
    Propagation start(m, p);
    start.QueueAll();
    if (p.moves > 0 && !start.Settle()) {
        return Proof::Lost;
    }
    Proving proving(p, shouldStop_, choices_);
    const Proof proof = proving.Search(m);
    if (proof == Proof::Found) {
        proving.WritePath(path);
    }
    return proof;
}

}  // namespace saltor
