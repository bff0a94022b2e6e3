#pragma once

#include <cstdint>

#include "engine/search_host.h"
#include "engine/tour_search.h"
#include "engine/tour_state.h"

namespace saltor::reference {

// The tour search written the plain way: one 64-cell copy of the board per level, tried squares
// marked -100 - depth in that copy, the isolation test as a scan of every square. It is slow on
// purpose; the fast search must give exactly its results.
class ReferenceSearch {
public:
    ReferenceSearch(TourState& tour, SearchHost& host) : tour_(tour), host_(host) {}

    bool Solve(bool complete, uint32_t budgetMs);
    const SearchStats& Stats() const { return stats_; }

private:
    bool Search(VisitBoard board, Square from);
    Square NextCandidate(const VisitBoard& board, Square from) const;

    TourState& tour_;
    SearchHost& host_;
    uint32_t budgetMs_ = 0;
    SearchStats stats_;
};

}  // namespace saltor::reference
