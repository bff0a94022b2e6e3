#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/tour_cuts.h"
#include "engine/tour_state.h"

namespace saltor {

// Why a judged position has no tour, or why the judge had no verdict, in terms a player can
// follow on the board.
struct Explanation {
    enum class Kind {
        None,      // nothing to explain: the position has a tour
        Cut,       // a reason that shows on the board
        Deeper,    // each jump the knight has leads to a position with such a reason
        Searched,  // only a search shows it
        Timeout,   // no verdict within the budget
    };
    Kind kind = Kind::None;
    CutReason cut;                                 // Cut
    std::vector<std::pair<int, CutReason>> jumps;  // Deeper: each square and why it fails
    uint64_t examined = 0;                         // Searched, Timeout: positions examined
    uint32_t budgetMs = 0;                         // Timeout
    Challenge challenge;                           // the tour's, which some reasons name

    // The squares the explanation names, to show on the board.
    uint64_t Squares() const;
};

// At most this many jumps are told one by one; with more, the sentence would be too long.
inline constexpr int MaxJumpsTold = 3;

// Why the position of the first `moveCount` moves of `tour` has no tour: a reason on the board,
// else one a jump deeper, else the number of positions the judge examines to prove it. Kind None
// when the position has a tour after all.
Explanation ExplainLoss(const TourState& tour, int moveCount);

}  // namespace saltor
