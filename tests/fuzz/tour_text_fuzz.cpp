// DecodeTour on any text: the tour it leaves must be one the game could have played, and its
// own encoding must bring back the same tour.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/tour_state.h"
#include "files/tour_text.h"
#include "fuzz/fuzz_input.h"

namespace saltor {
namespace {

void CheckTour(const TourState& tour) {
    SALTOR_FUZZ_CHECK((tour.moveCount >= 0 && tour.moveCount <= 63) || tour.IsComplete());
    const int count = tour.SquaresOnBoard();
    SALTOR_FUZZ_CHECK(tour.movesPlayed == count);
    SALTOR_FUZZ_CHECK(tour.errorCount == 0 && tour.firstDoubtfulMove == NoMark);
    SALTOR_FUZZ_CHECK(tour.firstLostMove == NoMark ||
                      (tour.firstLostMove >= 0 && tour.firstLostMove < count));
    for (int i = 0; i < 64; ++i) {
        const Square s = tour.moves[i];
        if (i >= count) {
            SALTOR_FUZZ_CHECK(IsNoSquare(s));
            continue;
        }
        SALTOR_FUZZ_CHECK(IsOnBoard(s) && tour.visits[IndexOf(s)] == i);
        SALTOR_FUZZ_CHECK(i == 0 || AreKnightMoveApart(tour.moves[i - 1], s));
    }
    // Each move's square holds its own index, so no square is visited twice; no other square
    // may be marked.
    int visited = 0;
    for (const int32_t v : tour.visits) {
        SALTOR_FUZZ_CHECK(v >= -1 && v < count);
        visited += v >= 0;
    }
    SALTOR_FUZZ_CHECK(visited == count);
}

// The square a token names by its first two characters, or NoSquare.
Square TokenSquare(std::wstring_view token) {
    if (token.size() < 2) {
        return NoSquare;
    }
    const wchar_t file = token[0] >= L'a' ? token[0] - (L'a' - L'A') : token[0];
    if (file < L'A' || file > L'H' || token[1] < L'1' || token[1] > L'8') {
        return NoSquare;
    }
    return {static_cast<int32_t>(file - L'A'), static_cast<int32_t>(token[1] - L'1')};
}

// The decoded moves are the text's first squares, and decoding went on as long as it could:
// the token after them, if any, names no square the tour could take next.
void CheckAgainstText(const TourState& tour, std::wstring_view text) {
    std::vector<std::wstring_view> tokens;
    for (size_t pos = 0; pos <= text.size();) {
        const size_t end = std::min(text.find(L';', pos), text.size());
        if (end > pos) {
            tokens.push_back(text.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    const size_t count = static_cast<size_t>(tour.SquaresOnBoard());
    SALTOR_FUZZ_CHECK(tokens.size() >= count);
    for (size_t i = 0; i < count; ++i) {
        SALTOR_FUZZ_CHECK(TokenSquare(tokens[i]) == tour.moves[i]);
    }
    if (count < tokens.size()) {
        const Square next = TokenSquare(tokens[count]);
        SALTOR_FUZZ_CHECK(IsNoSquare(next) || !tour.IsLegal(next));
    }
}

}  // namespace
}  // namespace saltor

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace saltor;
    const std::wstring text = fuzz::WideFromBytes(data, size);

    // A board that already holds a game with marks, as when a study is loaded over one.
    TourState tour;
    tour.Play({1, 0});
    tour.Play({2, 2});
    tour.errorCount = 3;
    tour.firstDoubtfulMove = 1;
    DecodeTour(tour, text);
    CheckTour(tour);
    CheckAgainstText(tour, text);

    const std::wstring encoded = EncodeTour(tour);
    SALTOR_FUZZ_CHECK(encoded.size() ==
                      static_cast<size_t>(std::max(3 * tour.SquaresOnBoard() - 1, 0)));
    TourState back;
    DecodeTour(back, encoded);
    SALTOR_FUZZ_CHECK(back.moveCount == tour.moveCount && back.moves == tour.moves &&
                      back.visits == tour.visits && back.firstLostMove == tour.firstLostMove);
    return 0;
}
