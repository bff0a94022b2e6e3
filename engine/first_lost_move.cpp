#include "engine/first_lost_move.h"

#include <algorithm>
#include <array>

#include "engine/knight_bits.h"
#include "engine/tour_prover.h"

namespace saltor {

std::optional<int> FirstLostMove(std::span<const Square> moves, const Challenge& challenge,
                                 SearchHost& host, uint32_t budgetMs) {
    const int count = static_cast<int>(std::min<size_t>(moves.size(), 64));
    if (count < 2) {
        return 0;  // a lone square is never judged
    }
    const uint32_t start = host.TickCount();
    TourProver prover([&] { return host.TickCount() - start > budgetMs; });
    const uint64_t lastSquares = AllowedLastSquares(challenge, moves[0]);
    // Whether the first `squares` moves leave no tour; nothing when out of time.
    const auto lost = [&](int squares) -> std::optional<bool> {
        if (squares == 64) {
            std::array<Square, 64> tour{};
            std::copy(moves.begin(), moves.begin() + 64, tour.begin());
            return !MeetsChallenge(challenge, tour);
        }
        uint64_t visited = 0;
        for (int i = 0; i < squares; ++i) {
            visited |= knight_bits::Bit(IndexOf(moves[i]));
        }
        std::array<int8_t, 64> path{};
        const Proof proof = prover.Prove(visited, IndexOf(moves[squares - 1]), path, lastSquares);
        if (proof == Proof::Stopped) {
            return std::nullopt;
        }
        return proof == Proof::Lost;
    };
    const std::optional<bool> lastLost = lost(count);
    if (!lastLost || !*lastLost) {
        return lastLost ? std::optional(0) : std::nullopt;
    }
    int low = 2, high = count;  // the first lost prefix lies in [low, high]
    while (low < high) {
        const int middle = (low + high) / 2;
        const std::optional<bool> middleLost = lost(middle);
        if (!middleLost) {
            return std::nullopt;
        }
        *middleLost ? high = middle : low = middle + 1;
    }
    return low;
}

}  // namespace saltor
