#include <ostream>

#include "engine/tour_search.h"
#include "tourtool/tourtool.h"

namespace saltor::tourtool {

// What the solve command gives after a single square has been played.
int RunStarts(std::ostream& out, uint32_t budgetMs) {
    for (int index = 0; index < 64; ++index) {
        TourState tour;
        tour.Play(SquareAt(index));
        SteadyHost host;
        TourSearch search(tour, host);
        const bool found = search.Solve(true, budgetMs);
        out << PathText(tour.moves, 1) << ' ' << (found ? PathText(tour.moves, 64) : "-") << ' '
            << search.Stats().squaresPlaced << ' ' << search.Stats().backups << '\n';
    }
    return 0;
}

}  // namespace saltor::tourtool
