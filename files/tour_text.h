#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/tour_state.h"

namespace saltor {

// A tour as the game file keeps it: its squares in move order as a capital file letter and a
// rank digit, separated by ";" (A1;B3;C5).
std::wstring EncodeTour(const TourState& tour);

// Replaces the tour by the one the text describes, as far as it is legal: the tour is reset, then
// squares are played in order until one is malformed, off the board or not a legal move.
void DecodeTour(TourState& tour, std::wstring_view text);

// A square as the player types it: a file letter in either case and a rank digit ("e4", "E4"),
// spaces around allowed; nothing for any other text.
std::optional<Square> ParseSquareName(std::wstring_view text);

// A study's challenge as the game file keeps it, apart from its tour: "ferme" for a closed
// tour, "arrivee H8" for an arrival (plain "arrivee" while none is marked), empty for an open
// tour. Anything else reads as an open tour.
std::wstring EncodeChallenge(const Challenge& challenge);
Challenge DecodeChallenge(std::wstring_view text);

}  // namespace saltor
