#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "board/board_game.h"
#include "engine/tour_search.h"
#include "reference/scripted_host.h"
#include "settings/app_settings.h"

namespace saltor {

// Records what a game asks of its window.
class RecordingView : public BoardView {
public:
    std::vector<BeepKind> beeps;
    std::vector<PixelRect> invalidated;
    int fullRedraws = 0;
    std::vector<std::array<int, 3>> reports;  // moves played, errors, hints
    std::vector<CursorKind> cursors;
    std::vector<std::wstring> reviews;

    void Beep(BeepKind kind) override { beeps.push_back(kind); }
    void Invalidate(const PixelRect& rect, bool) override { invalidated.push_back(rect); }
    void RedrawAll() override { ++fullRedraws; }
    void ShowReport(int movesPlayed, int errors, int hints) override {
        reports.push_back({movesPlayed, errors, hints});
    }
    void ShowReview(const std::wstring& text) override { reviews.push_back(text); }
    void ShowCursor(CursorKind kind) override { cursors.push_back(kind); }
};

// A game with a recording view and a scripted host (a clock that stands still, no key presses).
struct FakeBoard {
    AppSettings settings;
    RecordingView view;
    ScriptedHost host;
    BoardGame game{view, host, settings};

    // Puts `squares` on the board as a game without judgement leaves them: no marks.
    void Place(std::initializer_list<Square> squares) {
        for (Square s : squares) {
            game.tour.Play(s);
        }
        game.tour.firstDoubtfulMove = game.tour.firstLostMove = NoMark;
    }
    // Offers `s` as the hint for the current position, as a finished search leaves it (not in
    // browse mode).
    void Hint(Square s) {
        game.tour.searchPath[game.tour.SquaresOnBoard()] = s;
        game.hintSquare = s;
    }
};

// A tour from a1 as the search finds it (it needs no back-up from there).
inline std::array<Square, 64> TourFromA1() {
    TourState tour;
    tour.Play({0, 0});
    ScriptedHost host;
    TourSearch(tour, host).Solve(true, 0xFFFFFFFFu);
    return tour.moves;
}

}  // namespace saltor
