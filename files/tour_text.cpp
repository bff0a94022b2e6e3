#include "files/tour_text.h"

namespace saltor {

std::wstring EncodeTour(const TourState& tour) {
    std::wstring text;
    const int count = tour.SquaresOnBoard();
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            text += L';';
        }
        text += static_cast<wchar_t>(L'A' + tour.moves[i].column);
        text += static_cast<wchar_t>(L'1' + tour.moves[i].row);
    }
    return text;
}

namespace {

// Only ASCII capitals are folded: the reader must not depend on the locale.
wchar_t FoldAsciiCapital(wchar_t ch) {
    return (ch >= L'A' && ch <= L'Z') ? ch - L'A' + L'a' : ch;
}

// The square of a file letter and a rank digit, in either case; NoSquare for any other pair.
Square SquareOf(wchar_t fileLetter, wchar_t rank) {
    const wchar_t file = FoldAsciiCapital(fileLetter);
    if (file < L'a' || file > L'h' || rank < L'1' || rank > L'8') {
        return NoSquare;
    }
    return Square{static_cast<int32_t>(file - L'a'), static_cast<int32_t>(rank - L'1')};
}

// Plays one token; false when decoding must stop there.
bool PlayToken(TourState& tour, std::wstring_view token) {
    if (token.size() < 2) {
        return false;
    }
    // Characters after the second are ignored.
    const Square square = SquareOf(token[0], token[1]);
    if (IsNoSquare(square) || !tour.IsLegal(square)) {
        return false;
    }
    tour.Play(square);
    return true;
}

}  // namespace

std::optional<Square> ParseSquareName(std::wstring_view text) {
    const size_t first = text.find_first_not_of(L' ');
    const size_t last = text.find_last_not_of(L' ');
    if (first == std::wstring_view::npos || last != first + 1) {
        return std::nullopt;
    }
    const Square square = SquareOf(text[first], text[last]);
    return IsNoSquare(square) ? std::nullopt : std::optional(square);
}

void DecodeTour(TourState& tour, std::wstring_view text) {
    tour.Reset();
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == L';') {
            ++pos;  // separators at the start or in runs make no empty tokens
            continue;
        }
        size_t end = text.find(L';', pos);
        if (end == std::wstring_view::npos) {
            end = text.size();
        }
        if (!PlayToken(tour, text.substr(pos, end - pos))) {
            return;
        }
        pos = end;
    }
}

std::wstring EncodeChallenge(const Challenge& challenge) {
    switch (challenge.kind) {
        case TourKind::Closed:
            return L"ferme";
        case TourKind::Arrival: {
            TourState square;
            square.Play(challenge.arrival);
            return IsOnBoard(challenge.arrival) ? L"arrivee " + EncodeTour(square) : L"arrivee";
        }
        case TourKind::Open:
            break;
    }
    return L"";
}

Challenge DecodeChallenge(std::wstring_view text) {
    if (text == L"ferme") {
        return {TourKind::Closed, NoSquare};
    }
    if (text == L"arrivee") {
        return {TourKind::Arrival, NoSquare};
    }
    if (text.starts_with(L"arrivee ")) {
        TourState square;
        DecodeTour(square, text.substr(8));
        if (square.moveCount == 1) {
            return {TourKind::Arrival, square.moves[0]};
        }
    }
    return {};
}

}  // namespace saltor
