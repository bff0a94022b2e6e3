#pragma once

#include <cstdint>
#include <vector>

#include "engine/tour_cuts.h"

namespace saltor {

// One forced step of a chain: what a square's ways leave the rest of the tour no choice about.
// A square's ways are its knight neighbours the rest of the tour may still use: free squares,
// and the end of the knight's path; a square the path passes through (entered and left) takes
// no other, nor does the knight's square once the path leaves it.
struct ChainStep {
    enum class Kind : int8_t {
        Through,  // `square` has only the two ways `ways` and cannot be last: the path goes
                  // from one of them through it to the other
        Last,     // `square` has only the way `ways`: it is the tour's last square
        Jump,     // the knight, on `square` or brought there by the path, has one jump left
        NoLoop,   // the path already joins `square` to `ways`: the jump between them would close
                  // it on itself, so it is not used
    };
    Kind kind = Kind::Through;
    int square = -1;
    uint64_t ways = 0;
    int knight = -1;  // Through: the one of `ways` the knight's path ends on, if any
    int round = 0;    // the deductions of one step hold together, those of the steps before made

    uint64_t Squares() const;
};

// Where the path must take one of two or three ways, and each way followed to a reason.
struct ChainBranch {
    int to = -1;
    std::vector<ChainStep> steps;
    CutReason end;
};

// A proof a player can follow that a position has no tour: forced steps, each following from
// the position and the steps before, ending in a reason that shows on the board; or, once, a
// choice of ways that each end so.
// A step is one or more deductions, each holding once those before it are made.
struct LossChain {
    int from = -1;  // the knight's square
    std::vector<ChainStep> steps;
    CutReason end;  // without branches
    int branchSquare = -1;
    bool branchAtKnight = false;  // the branches are the knight's jumps from `branchSquare`
    uint64_t branchJoined = 0;    // else the square the path already joins `branchSquare` to
    std::vector<ChainBranch> branches;

    int StepCount() const;
    // Each of the knight's jumps leads at once to a reason: told in one sentence, unnumbered.
    bool IsJumpDeep() const;
    // The squares each numbered line of the explanation names, in order: the steps, then the
    // reason, or the choice and each branch.
    std::vector<uint64_t> Lines() const;
};

// A chain longer than this is no longer a proof a player follows at a glance.
inline constexpr int MostChainSteps = 4;
// A choice of more ways than this would make the explanation too long.
inline constexpr int MostBranches = 3;

// A chain of at most MostChainSteps steps (those of every branch counted), keeping only the
// deductions the proof needs, from the knight on
// `from` to a reason, the squares outside `visited` still to visit and the tour to end on one
// of `lastSquares`; false when there is none of that size.
bool FindLossChain(uint64_t visited, int from, uint64_t lastSquares, LossChain& chain);

}  // namespace saltor
