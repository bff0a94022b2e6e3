#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/search_host.h"
#include "engine/tour_state.h"
#include "journal/journal_record.h"
#include "settings/app_settings.h"

namespace saltor {

// The five game commands of the board's buttons and keys; each does one thing while a tour is
// played and another while a complete one is browsed.
enum class BoardCommand { NewGame, Back, ForwardOrHint, FirstOrRestart, LastOrSolve };

enum class BeepKind { Plain, Exclamation };
enum class CursorKind { Board, Forbidden, Wait };

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// What the game asks of the window it lives in.
class BoardView {
public:
    virtual ~BoardView() = default;
    virtual void Beep(BeepKind kind) = 0;
    // Asks for a repaint of one rectangle; `now` paints it before returning.
    virtual void Invalidate(const PixelRect& rect, bool now) = 0;
    virtual void RedrawAll() = 0;  // the whole board, at once
    virtual void ShowReport(int movesPlayed, int errors, int hints) = 0;
    // The end of a practice game: what the player did, and the first move that lost the tour.
    virtual void ShowReview(const std::wstring& text) = 0;
    virtual void ShowCursor(CursorKind kind) = 0;
};

// The board's game: the player's clicks, the five commands, hints, browse mode and the report.
// The board window turns its messages into these calls and does what the view is asked.
class BoardGame {
public:
    BoardGame(BoardView& view, SearchHost& host, const AppSettings& settings)
        : view_(view), host_(host), settings_(settings) {}

    // The side of a square in pixels: the settings' CellSize as the board window last took it.
    int32_t cellSize = 60;
    TourState tour;
    Square hintSquare = NoSquare;
    int32_t hintCount = 0;
    int32_t browseIndex = 63;

    // The squares the explanation on show names, outlined on the board; for a chain of steps,
    // the number of the first step naming each (0: none).
    uint64_t outlined = 0;
    std::array<int8_t, 64> outlineStep{};

    // The practice modes of the game in progress. In an exam the judge works silently: no mark,
    // no judging beep, no hint or solve until the game ends. Blind, the board shows neither
    // numbers nor knight until the game ends.
    bool exam = false;
    bool blind = false;
    // Moves refused during the game: squares visited or out of the knight's reach, typed text
    // that names no square.
    int32_t slips = 0;
    // A practice game that ended with the knight stuck, or handed in, or complete: it is browsed
    // with every mark, and no square can be played until a new game.
    bool ended = false;

    bool IsBrowsing() const { return tour.IsComplete() || ended; }
    bool Practising() const { return exam || blind; }
    // Whether the judge runs after each move, and whether its marks are on show.
    bool Judging() const { return exam || settings_.HintsEnabled; }
    bool MarksShown() const { return exam ? ended : settings_.HintsEnabled; }
    // Whether the knight has a free square to jump to.
    bool KnightCanMove() const;

    // The modes chosen for the next game. They apply at once while no square is played; "blind"
    // also during a game, while an exam begins or ends only with a game, so that no mark of an
    // exam in progress ever shows.
    void ChooseModes(bool examChosen, bool blindChosen);
    // A game begins (a new game, a restart, a study loaded): it takes the chosen modes.
    void BeginGame();

    // What the judgement mark on a square means, and the squares the explanation names; no text
    // when the square bears no mark.
    struct MarkTip {
        std::wstring text;
        uint64_t squares = 0;
        std::vector<uint64_t> steps;  // the squares each numbered line names, when numbered
    };
    MarkTip ExplainMark(Square s) const;
    // The explanation shows, or goes (0): its squares are outlined, or no longer; numbered by
    // step when `steps` are given.
    void Outline(uint64_t squares, const std::vector<uint64_t>& steps = {});

    // Pixel geometry: column = x / cellSize, row = 7 - y / cellSize.
    Square SquareAtPoint(int x, int y) const;
    PixelRect SquareRect(Square s) const;

    void Click(int x, int y);
    // The knight's move to `s`, clicked or typed; false when refused (beep, counted as a slip).
    bool Play(Square s);
    // A move refused before it reached the board (typed text that names no square).
    void Slip();
    // The player ends an exam in progress: the review, then the game is browsed.
    void HandIn();
    // The right button: marks a free square as the arrival, or clears the mark it bears.
    void RightClick(int x, int y);
    void MouseMove(int x, int y);
    // Another challenge for the game in progress: the position is judged anew under it, the
    // marks of earlier moves staying unless the position has a tour again.
    void SetChallenge(const Challenge& challenge);
    // For the end-of-game report: whether the finished tour meets a challenge (none for an open
    // tour, or an arrival never marked).
    enum class Outcome { NoChallenge, Met, Missed };
    Outcome ChallengeOutcome() const;
    void Command(BoardCommand command);

    void NewGame();

    // Told when the player plays the first move of a game, and when a game the player played a
    // move of ends: completed by the player or by "Solution", or abandoned (see Abandon).
    std::function<void()> onFirstMove;
    std::function<void(GameIssue issue)> onGameEnd;
    // The game in progress is given up (a new game, a restart, a study loaded, the program
    // closed): it ends as abandoned unless it has no move or has ended already.
    void Abandon();

private:
    void EndGame(GameIssue issue);

    void RedrawSquare(Square s);
    void RedrawMove(int index);
    void RedrawChangedMarks(int doubtfulBefore, int lostBefore);
    void ClearHint(bool forget);
    void SetBrowseIndex(int index);
    void TakeBack();
    void Hint();
    void Restart();
    void Solve();
    bool RunSearch(bool complete);
    void EndPractice();

    BoardView& view_;
    SearchHost& host_;
    const AppSettings& settings_;
    // The search that last set a "?": its budget (none when the player stopped it) and the
    // positions it examined.
    bool doubtKnown_ = false;
    bool examChosen_ = false;
    bool blindChosen_ = false;
    std::optional<uint32_t> doubtBudgetMs_;
    uint64_t doubtExamined_ = 0;
    // The player has played a move of the game, which has not been told as ended.
    bool played_ = false;
};

}  // namespace saltor
