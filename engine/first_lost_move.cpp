#include "engine/first_lost_move.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/knight_bits.h"
#include "engine/tour_prover.h"

namespace saltor {
namespace {

// Whether the first `squares` of `moves` leave no tour meeting the challenge; nothing when the
// prover was stopped.
std::optional<bool> LostAfter(std::span<const Square> moves, int squares,
                              const Challenge& challenge, TourProver& prover) {
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
    const Proof proof = prover.Prove(visited, IndexOf(moves[squares - 1]), path,
                                     AllowedLastSquares(challenge, moves[0]));
    if (proof == Proof::Stopped) {
        return std::nullopt;
    }
    return proof == Proof::Lost;
}

}  // namespace

std::optional<int> FirstLostMove(std::span<const Square> moves, const Challenge& challenge,
                                 SearchHost& host, uint32_t budgetMs) {
    const int count = static_cast<int>(std::min<size_t>(moves.size(), 64));
    if (count < 2) {
        return 0;  // a lone square is never judged
    }
    const uint32_t start = host.TickCount();
    TourProver prover([&] { return host.TickCount() - start > budgetMs; });
    const auto lost = [&](int squares) { return LostAfter(moves, squares, challenge, prover); };
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

std::optional<uint64_t> SoundMoves(std::span<const Square> moves, const Challenge& challenge,
                                   SearchHost& host, uint32_t budgetMs) {
    if (moves.empty() || moves.size() >= 64) {
        return 0;
    }
    const uint32_t start = host.TickCount();
    TourProver prover([&] { return host.TickCount() - start > budgetMs; });
    std::vector<Square> after(moves.begin(), moves.end());
    after.push_back(NoSquare);
    uint64_t sound = 0;
    for (const Square offset : KnightOffsets) {
        const Square to{moves.back().column + offset.column, moves.back().row + offset.row};
        if (!IsOnBoard(to) || std::find(moves.begin(), moves.end(), to) != moves.end()) {
            continue;
        }
        after.back() = to;
        const std::optional<bool> lost =
            LostAfter(after, static_cast<int>(after.size()), challenge, prover);
        if (!lost) {
            return std::nullopt;
        }
        sound |= *lost ? 0 : knight_bits::Bit(IndexOf(to));
    }
    return sound;
}

}  // namespace saltor
