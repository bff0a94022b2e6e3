// DecodeTour on any text: the tour it leaves must be one the game could have played from the
// text's first squares, and its own encoding must bring back the same tour.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/tour_state.h"
#include "files/tour_text.h"
#include "fuzz/fuzz_input.h"

namespace {

using namespace saltor;

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = fuzz::WideFromBytes(data, size);
    // A board that already holds a game with marks, as when a study is loaded over one.
    TourState tour;
    tour.Play({1, 0});
    tour.Play({2, 2});
    tour.errorCount = 3;
    tour.firstDoubtfulMove = 1;
    DecodeTour(tour, text);

    const int count = tour.SquaresOnBoard();
    SALTOR_FUZZ_CHECK(tour.moveCount <= 63 || tour.IsComplete());
    SALTOR_FUZZ_CHECK(tour.movesPlayed == count && tour.errorCount == 0);
    SALTOR_FUZZ_CHECK(tour.firstDoubtfulMove == NoMark);
    SALTOR_FUZZ_CHECK(tour.firstLostMove == NoMark || tour.firstLostMove < count);
    // The moves are the text's first squares, each a knight's move on, each square marked with
    // its own index and no other; decoding went on as long as it could: the next token, if
    // any, names no square the tour could take.
    size_t pos = 0;
    int visited = 0;
    for (int i = 0; i <= count && i < 64; ++i) {
        while (pos < text.size() && text[pos] == L';') {
            ++pos;
        }
        const size_t end = std::min(text.find(L';', pos), text.size());
        const Square named =
            pos < text.size() ? TokenSquare(text.substr(pos, end - pos)) : NoSquare;
        pos = end;
        if (i == count) {
            SALTOR_FUZZ_CHECK(IsNoSquare(named) || !tour.IsLegal(named));
            break;
        }
        SALTOR_FUZZ_CHECK(named == tour.moves[i] && tour.visits[IndexOf(named)] == i);
        SALTOR_FUZZ_CHECK(i == 0 || AreKnightMoveApart(tour.moves[i - 1], named));
    }
    for (int i = 0; i < 64; ++i) {
        visited += tour.visits[i] >= 0;
        SALTOR_FUZZ_CHECK(i < count || IsNoSquare(tour.moves[i]));
    }
    SALTOR_FUZZ_CHECK(visited == count);

    const std::wstring encoded = EncodeTour(tour);
    SALTOR_FUZZ_CHECK(encoded.size() == static_cast<size_t>(std::max(3 * count - 1, 0)));
    TourState back;
    DecodeTour(back, encoded);
    SALTOR_FUZZ_CHECK(back.moveCount == tour.moveCount && back.moves == tour.moves &&
                      back.visits == tour.visits && back.firstLostMove == tour.firstLostMove);
    return 0;
}
