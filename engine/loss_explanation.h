#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/loss_chain.h"
#include "engine/tour_cuts.h"
#include "engine/tour_state.h"

namespace saltor {

// Why a judged position has no tour, or why the judge had no verdict, in terms a player can
// follow on the board.
struct Explanation {
    enum class Kind {
        None,      // nothing to explain: the position has a tour
        Cut,       // a reason that shows on the board
        Chain,     // a few forced steps lead to such a reason
        Searched,  // only a search shows it, too long to tell
        Timeout,   // no verdict within the budget
    };
    Kind kind = Kind::None;
    CutReason cut;          // Cut
    LossChain chain;        // Chain
    uint64_t examined = 0;  // Searched, Timeout: positions examined
    uint32_t budgetMs = 0;  // Timeout
    Challenge challenge;    // the tour's, which some reasons name

    // The squares the explanation names, to show on the board.
    uint64_t Squares() const;
    // Those each numbered line of the text names, in order (one line but for a chain).
    std::vector<uint64_t> Lines() const;
};

// Why the position of the first `moveCount` moves of `tour` has no tour: a reason on the board,
// else a short chain of forced steps to one, else the number of positions the judge examines to
// prove it. Kind None when the position has a tour after all.
Explanation ExplainLoss(const TourState& tour, int moveCount);

}  // namespace saltor
