#include "board/practice_text.h"

#include <algorithm>

#include "board/mark_text.h"

namespace saltor {
namespace {

// Every text of the status line and of the review.
constexpr wchar_t kNoMoveYet[] = L"Aucun coup joué : cliquez une case ou tapez son nom (F6).";
constexpr wchar_t kMove[] = L"Coup ";
constexpr wchar_t kKnightOn[] = L" : cavalier en ";
constexpr wchar_t kNoJump[] = L", aucun saut libre.";
constexpr wchar_t kOneJump[] = L", 1 saut libre.";
constexpr wchar_t kJumps[] = L" sauts libres.";
constexpr wchar_t kStillPossible[] = L" Le parcours peut encore être achevé.";
constexpr wchar_t kLostSince[] = L" Perdu depuis le coup ";
constexpr wchar_t kDoubtSince[] = L" Pas de verdict depuis le coup ";
constexpr wchar_t kHint[] = L" Conseil : ";
constexpr wchar_t kBrowsing[] = L"Relecture : coup ";
constexpr wchar_t kOf[] = L" sur ";
constexpr wchar_t kOnSquare[] = L", case ";
constexpr wchar_t kMarkedLost[] = L" Marqué « X ».";
constexpr wchar_t kMarkedDoubt[] = L" Marqué « ? ».";

constexpr wchar_t kExamEnd[] = L"Fin de l'examen";
constexpr wchar_t kBlindEnd[] = L"Fin de la partie à l'aveugle";
constexpr wchar_t kComplete[] = L" : le parcours est complet.";
constexpr wchar_t kStuck[] = L" : le cavalier n'a plus de saut.";
constexpr wchar_t kHandedIn[] = L" : parcours rendu.";
constexpr wchar_t kSquaresVisited[] = L"\n\nCases parcourues : ";
constexpr wchar_t kMovesPlayed[] = L"\nCoups joués : ";
constexpr wchar_t kSlips[] = L"\nFaux pas : ";
constexpr wchar_t kFirstLost[] = L"\n\nPremier coup perdant : le coup ";
constexpr wchar_t kOnlyDoubt[] =
    L"\n\nLe juge n'a marqué aucun coup perdant, mais n'a pas pu trancher à temps à partir du "
    L"coup ";
constexpr wchar_t kNoneLost[] = L"\n\nAucun coup n'a perdu le parcours.";
constexpr wchar_t kNotJudged[] =
    L"\n\nLe juge était arrêté (« Pas d'indices ») : aucun coup n'a été jugé.";
constexpr wchar_t kShownOnMove[] =
    L"\n\nLa partie s'ouvre en relecture sur ce coup, avec toutes ses marques.";
constexpr wchar_t kShownWhole[] = L"\n\nLa partie s'ouvre en relecture, avec toutes ses marques.";
constexpr wchar_t kShownUnjudged[] = L"\n\nLa partie s'ouvre en relecture.";

// The explanation of a mark on one line, for the status line.
std::wstring OnOneLine(std::wstring text) {
    std::replace(text.begin(), text.end(), L'\n', L' ');
    return text;
}

int FreeJumps(const TourState& tour) {
    int count = 0;
    for (int i = 0; i < 64; ++i) {
        count += tour.IsLegal(SquareAt(i)) ? 1 : 0;
    }
    return count;
}

// "le coup 12 (e4)": a move by number and square.
std::wstring MoveAndSquare(const TourState& tour, int index) {
    return std::to_wstring(index + 1) + L" (" + SquareName(IndexOf(tour.moves[index])) + L")";
}

}  // namespace

std::wstring StatusText(const BoardGame& game) {
    const TourState& tour = game.tour;
    if (game.IsBrowsing()) {
        const int i = game.browseIndex;
        std::wstring text = kBrowsing + std::to_wstring(i + 1) + kOf +
                            std::to_wstring(tour.SquaresOnBoard()) + kOnSquare +
                            SquareName(IndexOf(tour.moves[i])) + L".";
        if (game.MarksShown() && i >= std::min(tour.firstLostMove, tour.firstDoubtfulMove)) {
            text += i >= tour.firstLostMove ? kMarkedLost : kMarkedDoubt;
        }
        return text;
    }
    if (tour.moveCount == 0) {
        return kNoMoveYet;
    }
    const int last = tour.moveCount - 1;
    const int jumps = FreeJumps(tour);
    std::wstring text = kMove + std::to_wstring(tour.moveCount) + kKnightOn +
                        SquareName(IndexOf(tour.moves[last])) +
                        (jumps == 0   ? kNoJump
                         : jumps == 1 ? kOneJump
                                      : L", " + std::to_wstring(jumps) + kJumps);
    if (game.MarksShown() && tour.moveCount >= 2) {
        const bool lost = tour.firstLostMove != NoMark;
        const int marked = lost ? tour.firstLostMove : tour.firstDoubtfulMove;
        if (marked == NoMark) {
            text += kStillPossible;
        } else {
            text += (lost ? kLostSince : kDoubtSince) + std::to_wstring(marked + 1) + L" : " +
                    OnOneLine(game.ExplainMark(tour.moves[marked]).text);
        }
    }
    if (IsOnBoard(game.hintSquare)) {
        text += kHint + SquareName(IndexOf(game.hintSquare)) + L".";
    }
    return text;
}

std::wstring ReviewText(const BoardGame& game) {
    const TourState& tour = game.tour;
    std::wstring text = game.exam ? kExamEnd : kBlindEnd;
    text += tour.IsComplete() ? kComplete : !game.KnightCanMove() ? kStuck : kHandedIn;
    text += kSquaresVisited + std::to_wstring(tour.SquaresOnBoard()) + L"/64" + kMovesPlayed +
            std::to_wstring(tour.movesPlayed) + kSlips + std::to_wstring(game.slips);
    if (!game.MarksShown()) {
        return text + kNotJudged + kShownUnjudged;
    }
    const bool lost = tour.firstLostMove != NoMark;
    const int marked = lost ? tour.firstLostMove : tour.firstDoubtfulMove;
    if (marked == NoMark) {
        return text + kNoneLost + kShownWhole;
    }
    return text + (lost ? kFirstLost : kOnlyDoubt) + MoveAndSquare(tour, marked) + L".\n" +
           game.ExplainMark(tour.moves[marked]).text + kShownOnMove;
}

}  // namespace saltor
