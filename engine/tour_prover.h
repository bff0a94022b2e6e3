#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace saltor {

enum class Proof { Found, Lost, Stopped };

// Decides whether the knight on `from` can still visit every square outside `visited` once. It
// chooses, one after the other, which knight moves the rest of the tour uses, starting where the
// choice is narrowest wherever that is on the board, and after each choice works out what
// follows: moves forced, moves no longer usable, pieces of path that may not close into a loop.
// A position lost for a reason far from the knight is then settled in a few choices, where
// trying the knight's next squares would walk through every way of getting there. It does not
// meet the tours in the knight's order, so it decides; it does not choose the tour to show.
class TourProver {
public:
    // `shouldStop` is asked at every choice; true abandons the proof.
    explicit TourProver(std::function<bool()> shouldStop) : shouldStop_(std::move(shouldStop)) {}

    // On Found, `path` holds the squares of a tour's rest from the knight's square on, ending on
    // one of `lastSquares`.
    Proof Prove(uint64_t visited, int from, std::array<int8_t, 64>& path,
                uint64_t lastSquares = ~uint64_t{0});

    // Choices made so far, over every proof of this prover.
    uint64_t Choices() const { return choices_; }

private:
    std::function<bool()> shouldStop_;
    uint64_t choices_ = 0;
};

}  // namespace saltor
