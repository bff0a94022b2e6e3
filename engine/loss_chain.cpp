#include "engine/loss_chain.h"

#include <cstddef>

#include "engine/knight_bits.h"

namespace saltor {
namespace {

using namespace knight_bits;

// Bounds the work on a position that no short chain settles, so that the tooltip stays quick.
constexpr int kMostNodes = 20'000;

// What every state of one search shares.
struct Position {
    uint64_t visited;
    uint64_t open;  // the free squares
    int from;
    uint64_t lastColour;   // the colour the number of free squares gives the last square
    uint64_t lastSquares;  // those the challenge allows
};

// The moves the rest of the tour may still use, those the steps so far force, and the pieces of
// path these make, as the prover keeps them.
struct State {
    uint64_t usable[64];
    uint64_t forced[64];
    int8_t otherEnd[64];   // for an end of a piece of path, its other end; a lone square is both
    int8_t last = -1;      // the square that must end the tour, once known
    uint64_t touched = 0;  // squares whose ways the steps changed: the next step starts there
};

class ChainSearch {
public:
    explicit ChainSearch(const Position& p) : p_(p) {}

    State Start() const {
        State s;
        const uint64_t all = p_.open | Bit(p_.from);
        for (int v = 0; v < 64; ++v) {
            s.usable[v] = (all >> v & 1) != 0 ? KnightMoves[v] & all : 0;
            s.forced[v] = 0;
            s.otherEnd[v] = static_cast<int8_t>(v);
        }
        const uint64_t ends = p_.open & p_.lastColour & p_.lastSquares;
        if (p_.lastSquares != ~uint64_t{0} && ends != 0 && !HasTwoOrMore(ends)) {
            s.last = static_cast<int8_t>(Lowest(ends));  // the one square the tour may end on
        }
        return s;
    }

    // The shortest chain from `s` within `budget` steps.
    bool Find(const State& s, int budget, bool mayBranch, LossChain& chain) {
        for (int length = 0; length <= budget; ++length) {
            std::vector<ChainStep> steps;
            if (Walk(s, length, mayBranch, steps, chain)) {
                return true;
            }
        }
        return false;
    }

private:
    int Need(const State& s, int v) const { return v == p_.from || v == s.last ? 1 : 2; }
    int Head(const State& s) const { return s.otherEnd[p_.from]; }

    bool MayBeLast(const State& s, int v) const {
        return v != p_.from && s.last < 0 && ((p_.lastColour & p_.lastSquares) >> v & 1) != 0 &&
               s.otherEnd[v] != p_.from;  // the end of the knight's path goes on
    }

    // A square that uses all the moves it needs gives up its others.
    void Saturate(State& s, int v) const {
        if (CountSquares(s.forced[v]) < Need(s, v)) {
            return;
        }
        for (uint64_t drop = s.usable[v] & ~s.forced[v]; drop != 0; drop &= drop - 1) {
            s.usable[Lowest(drop)] &= ~Bit(v);
            s.touched |= Bit(Lowest(drop));
        }
        s.usable[v] = s.forced[v];
    }

    // False when the move would close a piece of path into a loop.
    bool Force(State& s, int a, int b) const {
        if ((s.forced[a] >> b & 1) != 0) {
            return true;
        }
        const int endA = s.otherEnd[a], endB = s.otherEnd[b];
        if (endA == b) {
            return false;
        }
        s.forced[a] |= Bit(b);
        s.forced[b] |= Bit(a);
        s.otherEnd[endA] = static_cast<int8_t>(endB);
        s.otherEnd[endB] = static_cast<int8_t>(endA);
        s.touched |= Bit(a) | Bit(b);
        Saturate(s, a);
        Saturate(s, b);
        return true;
    }

    bool Apply(State& s, const ChainStep& step) const {
        const int v = step.square;
        switch (step.kind) {
            case ChainStep::Kind::Through:
                return Force(s, v, Lowest(step.ways)) &&
                       Force(s, v, Lowest(step.ways & (step.ways - 1)));
            case ChainStep::Kind::Last:
                s.last = static_cast<int8_t>(v);
                // Squares of the last colour with two ways now cannot be last: both are used.
                s.touched |= p_.open & p_.lastColour;
                return Force(s, v, Lowest(step.ways));
            case ChainStep::Kind::Jump:
                return Force(s, v, Lowest(step.ways));
            case ChainStep::Kind::NoLoop:
                s.usable[v] &= ~step.ways;
                s.usable[Lowest(step.ways)] &= ~Bit(v);
                s.touched |= Bit(v) | step.ways;
                return true;
        }
        return false;
    }

    std::vector<ChainStep> Candidates(const State& s, uint64_t relevant) const {
        std::vector<ChainStep> steps;
        const int head = Head(s);
        for (uint64_t rest = relevant & (p_.open | Bit(p_.from)); rest != 0; rest &= rest - 1) {
            const int v = Lowest(rest);
            const uint64_t ways = s.usable[v], free = ways & ~s.forced[v];
            if (free == 0 || v == s.last || CountSquares(s.forced[v]) >= Need(s, v)) {
                continue;
            }
            if (v == head) {
                if (!HasTwoOrMore(free)) {
                    steps.push_back({ChainStep::Kind::Jump, v, free, -1});
                }
                continue;
            }
            const int count = CountSquares(ways);
            if (count == 2 && !MayBeLast(s, v)) {
                steps.push_back(
                    {ChainStep::Kind::Through, v, ways, (ways >> head & 1) ? head : -1});
            } else if (count == 1 && MayBeLast(s, v) && ways != Bit(head)) {
                steps.push_back({ChainStep::Kind::Last, v, ways, -1});
            }
            const int w = s.otherEnd[v];
            if (w != v && (free >> w & 1) != 0 && (count <= 3 || CountSquares(s.usable[w]) <= 3)) {
                steps.push_back({ChainStep::Kind::NoLoop, v, Bit(w), -1});
            }
        }
        return steps;
    }

    // Whether `step` may be taken in `s`: its square has the ways it names (the knight's path
    // brought up to date).
    bool Holds(const State& s, ChainStep& step) const {
        for (const ChainStep& now : Candidates(s, Bit(step.square))) {
            if (now.kind == step.kind && now.ways == step.ways) {
                step.knight = now.knight;
                return true;
            }
        }
        return false;
    }

    bool Replay(State& s, std::vector<ChainStep>& steps) const {
        for (ChainStep& step : steps) {
            if (!Holds(s, step) || !Apply(s, step)) {
                return false;
            }
        }
        return true;
    }

    // Whether the chain still proves the loss, each step holding where it comes; its ends are
    // brought up to date.
    bool Replay(LossChain& chain) const {
        State s = Start();
        if (!Replay(s, chain.steps)) {
            return false;
        }
        if (chain.branches.empty()) {
            chain.end = End(s);
            return chain.end.cut != Cut::None;
        }
        const int v = chain.branchSquare;
        uint64_t ways = 0;
        for (const ChainBranch& branch : chain.branches) {
            ways |= Bit(branch.to);
        }
        // The branches must be every way the path may take there.
        const bool atHead = v == Head(s);
        if (ways != (s.usable[v] & ~s.forced[v]) ||
            (!atHead && (v == s.last || MayBeLast(s, v) || CountSquares(s.forced[v]) != 1))) {
            return false;
        }
        chain.branchAtKnight = atHead;
        chain.branchJoined = atHead ? 0 : s.forced[v];
        for (ChainBranch& branch : chain.branches) {
            State next = s;
            if (!Force(next, v, branch.to) || !Replay(next, branch.steps)) {
                return false;
            }
            branch.end = End(next);
            if (branch.end.cut == Cut::None) {
                return false;
            }
        }
        return true;
    }

    static std::vector<ChainStep>& StepsOf(LossChain& chain, int list) {
        return list < 0 ? chain.steps : chain.branches[static_cast<std::size_t>(list)].steps;
    }

public:
    // Drops every deduction the proof holds without, last first, and numbers the steps left.
    bool Shorten(LossChain& chain) const {
        for (int list = -1; list < static_cast<int>(chain.branches.size()); ++list) {
            for (std::size_t i = StepsOf(chain, list).size(); i-- > 0;) {
                LossChain without = chain;
                std::vector<ChainStep>& steps = StepsOf(without, list);
                steps.erase(steps.begin() + static_cast<std::ptrdiff_t>(i));
                if (Replay(without)) {
                    chain = without;
                }
            }
            int round = -1, previous = -1;
            for (ChainStep& step : StepsOf(chain, list)) {
                round += step.round != previous ? 1 : 0;
                previous = step.round;
                step.round = round;
            }
        }
        return Replay(chain);
    }

private:
    // The squares of `region` reachable from `square` over usable moves.
    static uint64_t Reach(const State& s, int square, uint64_t region) {
        uint64_t reached = Bit(square), frontier = reached;
        while (frontier != 0) {
            const uint64_t fresh = s.usable[Lowest(frontier)] & region & ~reached;
            frontier = (frontier & (frontier - 1)) | fresh;
            reached |= fresh;
        }
        return reached;
    }

    // The first reason the state shows, in the order of the board's own reasons.
    CutReason End(const State& s) const {
        uint64_t path = Bit(p_.from);
        int head = p_.from;
        for (uint64_t next = s.forced[head]; next != 0; next = s.forced[head] & ~path) {
            head = Lowest(next);
            path |= Bit(head);
        }
        const uint64_t rest = p_.open & ~path;
        if (rest == 0) {
            return {};
        }
        if ((s.usable[head] & ~s.forced[head]) == 0) {
            return {Cut::NoWayOn, Bit(head), 0, head};
        }
        uint64_t none = 0, one = 0, two = 0;
        for (uint64_t left = rest; left != 0; left &= left - 1) {
            const int v = Lowest(left);
            const int ways = CountSquares(s.usable[v]);
            none |= ways == 0 ? Bit(v) : 0;
            one |= ways == 1 && v != s.last ? Bit(v) : 0;
            two |= ways == 2 && v != s.last && !MayBeLast(s, v) ? Bit(v) : 0;
        }
        if (none != 0) {
            return {Cut::Unreachable, none, 0, -1};
        }
        if (one != 0 && (s.last >= 0 || HasTwoOrMore(one))) {
            return {Cut::TwoLastSquares, one | (s.last >= 0 ? Bit(s.last) : 0), 0, -1};
        }
        if ((one & ~p_.lastColour) != 0) {
            return {Cut::LastSquareColour, one, 0, Lowest(one)};
        }
        if ((one & ~p_.lastSquares) != 0) {
            return {Cut::LastNotAllowed, one, 0, Lowest(one)};
        }
        CutReason split{Cut::Split, rest, 0, -1};
        for (uint64_t left = rest; left != 0; ++split.parts) {
            const uint64_t piece = Reach(s, Lowest(left), rest);
            split.squares =
                CountSquares(piece) < CountSquares(split.squares) ? piece : split.squares;
            left &= ~piece;
        }
        if (split.parts > 1) {
            return split;
        }
        for (uint64_t left = two; left != 0; left &= left - 1) {
            const int v = Lowest(left);
            const uint64_t ways = s.usable[v] & ~s.forced[v];
            if (HasTwoOrMore(ways) && s.otherEnd[Lowest(ways)] == Lowest(ways & (ways - 1))) {
                return {Cut::Loop, s.usable[v] | Bit(v), 0, v};
            }
            if (!HasTwoOrMore(ways) && ways != 0 && s.otherEnd[v] == Lowest(ways)) {
                return {Cut::Loop, s.usable[v] | Bit(v), 0, v};
            }
        }
        // Squares with two ways that cannot be last pass through both: no square takes more
        // of them than it has moves, the end of the knight's path one more.
        for (uint64_t left = rest | Bit(head); left != 0; left &= left - 1) {
            const int v = Lowest(left);
            const uint64_t sides = s.usable[v] & two;
            if (v == head && HasTwoOrMore(sides)) {
                return {Cut::ForcedThrough, sides, 0, head};
            }
            if (v != head && CountSquares(sides) > Need(s, v)) {
                return {Cut::ForcedThrough, sides | Bit(v), 0, v};
            }
        }
        // The board's own reasons, for the knight brought to the end of its path: those the
        // moves the steps rule out do not show (a challenge's, a chain of last squares).
        return ExplainCut(p_.visited | path, head, p_.lastSquares);
    }

    bool Walk(const State& s, int budget, bool mayBranch, std::vector<ChainStep>& steps,
              LossChain& chain) {
        if (++nodes_ > kMostNodes) {
            return false;
        }
        const CutReason end = End(s);
        if (end.cut != Cut::None) {
            chain.steps = steps;
            chain.end = end;
            return true;
        }
        // Each step follows from those before: it turns on squares they changed.
        const uint64_t relevant = s.touched == 0 ? ~uint64_t{0} : s.touched;
        if (budget > 0) {
            // One step takes every deduction that holds, in turn; Shorten keeps those needed.
            State next = s;
            const std::size_t before = steps.size();
            const int round = steps.empty() ? 0 : steps.back().round + 1;
            for (ChainStep step : Candidates(s, relevant)) {
                State tried = next;
                if (Holds(next, step) && Apply(tried, step)) {
                    next = tried;
                    step.round = round;
                    steps.push_back(step);
                }
            }
            if (steps.size() > before && Walk(next, budget - 1, mayBranch, steps, chain)) {
                return true;
            }
            steps.resize(before);
        }
        if (mayBranch) {
            const int head = Head(s);
            if (Branch(s, head, s.usable[head] & ~s.forced[head], budget, steps, chain)) {
                return true;
            }
            for (uint64_t rest = relevant & p_.open & ~Bit(head); rest != 0; rest &= rest - 1) {
                const int v = Lowest(rest);
                const uint64_t free = s.usable[v] & ~s.forced[v];
                if (v != s.last && !MayBeLast(s, v) && CountSquares(s.forced[v]) == 1 &&
                    CountSquares(free) == 2 && Branch(s, v, free, budget, steps, chain)) {
                    return true;
                }
            }
        }
        return false;
    }

    // Whichever of `ways` the path takes from `v`, a short chain ends it.
    bool Branch(const State& s, int v, uint64_t ways, int budget,
                const std::vector<ChainStep>& steps, LossChain& chain) {
        if (!HasTwoOrMore(ways) || CountSquares(ways) > MostBranches) {
            return false;
        }
        std::vector<ChainBranch> branches;
        for (uint64_t rest = ways; rest != 0; rest &= rest - 1) {
            State next = s;
            LossChain found;
            if (!Force(next, v, Lowest(rest)) || !Find(next, budget, false, found)) {
                return false;
            }
            budget -= found.StepCount();
            branches.push_back({Lowest(rest), found.steps, found.end});
        }
        chain.steps = steps;
        chain.end = {};
        chain.branchSquare = v;
        chain.branchAtKnight = v == Head(s);
        chain.branchJoined = s.forced[v];
        chain.branches = branches;
        return true;
    }

    const Position& p_;
    int nodes_ = 0;
};

}  // namespace

uint64_t ChainStep::Squares() const {
    return Bit(square) | ways;
}

namespace {

int Rounds(const std::vector<ChainStep>& steps) {
    return steps.empty() ? 0 : steps.back().round + 1;
}

}  // namespace

int LossChain::StepCount() const {
    int count = Rounds(steps);
    for (const ChainBranch& branch : branches) {
        count += Rounds(branch.steps);
    }
    return count;
}

bool LossChain::IsJumpDeep() const {
    if (steps.size() == 1 && branches.empty()) {
        return steps[0].kind == ChainStep::Kind::Jump && steps[0].square == from;
    }
    return steps.empty() && branchAtKnight && branchSquare == from && StepCount() == 0;
}

std::vector<uint64_t> LossChain::Lines() const {
    std::vector<uint64_t> lines;
    if (IsJumpDeep()) {
        uint64_t squares = end.squares;
        for (const ChainStep& step : steps) {
            squares |= step.ways;
        }
        for (const ChainBranch& branch : branches) {
            squares |= Bit(branch.to) | branch.end.squares;
        }
        return {squares};
    }
    for (const ChainStep& step : steps) {
        if (static_cast<std::size_t>(step.round) == lines.size()) {
            lines.push_back(0);
        }
        lines.back() |= step.Squares();
    }
    if (branches.empty()) {
        lines.push_back(end.squares);
        return lines;
    }
    uint64_t choice = Bit(branchSquare) | (branchAtKnight ? 0 : branchJoined);
    for (const ChainBranch& branch : branches) {
        choice |= Bit(branch.to);
    }
    lines.push_back(choice);
    for (const ChainBranch& branch : branches) {
        uint64_t squares = Bit(branch.to) | branch.end.squares;
        for (const ChainStep& step : branch.steps) {
            squares |= step.Squares();
        }
        lines.push_back(squares);
    }
    return lines;
}

bool FindLossChain(uint64_t visited, int from, uint64_t lastSquares, LossChain& chain) {
    const uint64_t open = ~visited;
    const uint64_t knightColour = IsDark(from) ? DarkSquares : ~DarkSquares;
    const Position p{visited, open, from, IsEvenCount(open) ? knightColour : ~knightColour,
                     lastSquares};
    ChainSearch search(p);
    chain.from = from;
    return search.Find(search.Start(), MostChainSteps, true, chain) && search.Shorten(chain);
}

}  // namespace saltor
