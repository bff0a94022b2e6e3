#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "engine/challenge.h"
#include "engine/search_host.h"
#include "engine/square.h"

namespace saltor {

// How long the exact search for a game's first lost move may take when the game ends.
inline constexpr uint32_t kFirstLostBudgetMs = 1000;

// The number of the first move after which no tour meeting `challenge` remains (the count of
// squares of the first lost position; 0 when a tour remains after the last move), judged exactly
// by the prover. Positions stay lost once lost, so the prefixes are searched by halves. Nothing
// when `budgetMs` of the host's clock ran out before it was settled.
std::optional<int> FirstLostMove(std::span<const Square> moves, const Challenge& challenge,
                                 SearchHost& host, uint32_t budgetMs);

// The squares the knight may jump to from the last of `moves` after which a tour meeting
// `challenge` remains, judged exactly; nothing when `budgetMs` ran out first.
std::optional<uint64_t> SoundMoves(std::span<const Square> moves, const Challenge& challenge,
                                   SearchHost& host, uint32_t budgetMs);

}  // namespace saltor
