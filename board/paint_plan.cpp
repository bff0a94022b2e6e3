#include "board/paint_plan.h"

#include <algorithm>
#include <bit>
#include <string>
#include <utility>

namespace saltor {

namespace {

bool IsWhiteSquare(Square s) {
    return (s.column + s.row) % 2 != 0;
}

// A height of 0 would ask GDI for its default font size, far larger than a tiny square.
int FontHeight(int pixels) {
    return std::max(1, pixels);
}

}  // namespace

PaintPlan MakePaintPlan(const BoardGame& game, const AppSettings& settings) {
    const TourState& tour = game.tour;
    const int c = game.cellSize;

    PaintPlan plan;
    plan.cellSize = c;
    plan.largeFontHeight = FontHeight(c / 2);
    plan.smallFontHeight = FontHeight(c / 5);
    plan.hintFontHeight = FontHeight(c);

    int n = 0;
    for (int column = 0; column < 8; ++column) {
        for (int row = 7; row >= 0; --row) {
            const Square s{column, row};
            plan.squares[n++] = {s, game.SquareRect(s),
                                 IsWhiteSquare(s) ? settings.WhiteBgColor : settings.BlackBgColor};
        }
    }

    // Each tile copy covers 2 x 2 squares whose top-left one is white, so its quadrants land on
    // squares of their own colour.
    plan.drawTiles = !settings.SolidColor;
    n = 0;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            plan.tileOrigins[n++] = {2 * c * i, 2 * c * j};
        }
    }

    const bool browsing = game.IsBrowsing();
    const int knightIndex = browsing ? game.browseIndex : tour.moveCount - 1;
    const int lastPlayed = browsing ? -1 : tour.moveCount - 1;
    // Blind, the board shows the squares' colours only, until the game ends.
    const bool hidden = game.blind && !browsing;
    const bool marks = game.MarksShown();

    int i = 0;
    for (; i < 64; ++i) {
        const Square s = tour.moves[i];
        // NoSquare ends the list; any other square off the board would be drawn outside it.
        if (!IsOnBoard(s)) {
            break;
        }
        const PixelRect rect = game.SquareRect(s);
        if (i == knightIndex && !hidden) {
            plan.knightSquare = s;
            plan.knightRect = rect;
        }

        PlanText number{PlanTextKind::Number,
                        s,
                        rect,
                        std::to_wstring(i + 1),
                        IsWhiteSquare(s) ? settings.WhiteFgColor : settings.BlackFgColor,
                        PlanFont::Large,
                        kTextCentered};
        // The square just played keeps its number small and out of the knight's way.
        if (i == lastPlayed) {
            number.font = PlanFont::Small;
            number.flags = kTextBottomRight;
        }
        if (!hidden) {
            plan.texts.push_back(std::move(number));
        }

        if (marks && (i >= tour.firstDoubtfulMove || i >= tour.firstLostMove)) {
            plan.texts.push_back({PlanTextKind::Mark, s, rect,
                                  i >= tour.firstLostMove ? L"X" : L"?", kMarkColor,
                                  PlanFont::Large, kTextBottomLeft});
        }
    }

    // Stopping on an unused entry means i moves are on the board, so searchPath[i] is the move
    // the last search proposes next: the hint shows only while it still is that move.
    const Square hint = game.hintSquare;
    if (i < 64 && IsOnBoard(hint) && hint == tour.searchPath[i]) {
        plan.hintSquare = hint;
        plan.hintRect = game.SquareRect(hint);
    }
    if (tour.challenge.kind == TourKind::Arrival && IsOnBoard(tour.challenge.arrival)) {
        plan.arrivalRect = game.SquareRect(tour.challenge.arrival);
    }
    if (tour.IsComplete() && tour.challenge.kind == TourKind::Closed &&
        MeetsChallenge(tour.challenge, tour.moves)) {
        const auto centre = [&](Square s) {
            const PixelRect r = game.SquareRect(s);
            return PixelPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        };
        plan.drawClosingJump = true;
        plan.closingFrom = centre(tour.moves[63]);
        plan.closingTo = centre(tour.moves[0]);
    }
    for (uint64_t rest = game.outlined; rest != 0; rest &= rest - 1) {
        const int index = std::countr_zero(rest);
        plan.outlines.push_back(game.SquareRect(SquareAt(index)));
        plan.outlineSteps.push_back(game.outlineStep[static_cast<size_t>(index)]);
    }
    plan.outlineWidth = std::max(2, c / 20);
    return plan;
}

}  // namespace saltor
