#pragma once

#include <array>
#include <cstdint>

#include "engine/knight_bits.h"
#include "engine/square.h"

namespace saltor {

// What a tour must do besides visiting every square once.
enum class TourKind : int8_t {
    Open,     // end anywhere
    Closed,   // end a knight's move from the first square, so the knight could jump back
    Arrival,  // end on the square the player marked
};

struct Challenge {
    TourKind kind = TourKind::Open;
    Square arrival = NoSquare;  // kept while another kind is chosen, so that it comes back

    friend bool operator==(const Challenge&, const Challenge&) = default;
};

// Every square: the last square of an open tour is free, and so is that of an arrival tour
// whose arrival is not marked yet.
inline constexpr uint64_t AnyLastSquare = ~uint64_t{0};

// The squares the 64th square may be, for a tour that starts on `first`.
inline uint64_t AllowedLastSquares(const Challenge& challenge, Square first) {
    if (challenge.kind == TourKind::Closed && IsOnBoard(first)) {
        return knight_bits::KnightMoves[IndexOf(first)];
    }
    if (challenge.kind == TourKind::Arrival && IsOnBoard(challenge.arrival)) {
        return knight_bits::Bit(IndexOf(challenge.arrival));
    }
    return AnyLastSquare;
}

// Whether a whole tour of 64 squares ends where the challenge asks.
inline bool MeetsChallenge(const Challenge& challenge, const std::array<Square, 64>& tour) {
    return IsOnBoard(tour[63]) &&
           (AllowedLastSquares(challenge, tour[0]) >> IndexOf(tour[63]) & 1) != 0;
}

}  // namespace saltor
