#include <ostream>

#include "reference/tour_checks.h"
#include "tourtool/tourtool.h"

namespace saltor::tourtool {

// Positions for the judge: `count` from random legal play of 8 to 30 moves, or from human-like
// play of 8 to 50 moves; none where the knight got stuck first, and none already known lost by
// the model's own dead-end test.
int RunCorpus(std::ostream& out, bool humanLike, int count, uint64_t seed) {
    TestRandom random(seed);
    for (int written = 0; written < count;) {
        TourState tour;
        const int length = humanLike ? 8 + random.Below(43) : 8 + random.Below(23);
        if (humanLike) {
            PlayHumanLike(tour, random, length);
        } else {
            PlayRandomly(tour, random, length);
        }
        if (tour.moveCount == length && tour.firstLostMove == NoMark) {
            out << PathText(tour.moves, tour.moveCount) << '\n';
            ++written;
        }
    }
    return 0;
}

}  // namespace saltor::tourtool
