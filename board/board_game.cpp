#include "board/board_game.h"

#include <algorithm>
#include <bit>
#include <span>
#include <utility>

#include "board/mark_text.h"
#include "board/practice_text.h"
#include "engine/first_lost_move.h"
#include "engine/loss_explanation.h"
#include "engine/tour_search.h"

namespace saltor {

Square BoardGame::SquareAtPoint(int x, int y) const {
    if (cellSize == 0) {
        return NoSquare;
    }
    // Division truncates toward zero, which would put a pixel just left of or above the board on
    // its edge squares; such points are off the board.
    if (x < 0 || y < 0) {
        return NoSquare;
    }
    const Square s{x / cellSize, 7 - y / cellSize};
    return IsOnBoard(s) ? s : NoSquare;
}

PixelRect BoardGame::SquareRect(Square s) const {
    return {s.column * cellSize, (7 - s.row) * cellSize, (s.column + 1) * cellSize,
            (8 - s.row) * cellSize};
}

void BoardGame::RedrawSquare(Square s) {
    view_.Invalidate(SquareRect(s), true);
}

void BoardGame::RedrawMove(int index) {
    if (index < 0 || index > 63 || IsNoSquare(tour.moves[index])) {
        return;
    }
    view_.Invalidate(SquareRect(tour.moves[index]), false);
}

// A move bears a mark when its index reaches either mark; a verdict can add marks or, when a
// search finds a tour again, take back every "?".
void BoardGame::RedrawChangedMarks(int doubtfulBefore, int lostBefore) {
    enum class Mark { None, Doubtful, Lost };
    const auto marked = [](int index, int doubtful, int lost) {
        return index >= lost ? Mark::Lost : index >= doubtful ? Mark::Doubtful : Mark::None;
    };
    const int moves = IsBrowsing() ? 64 : tour.moveCount;
    for (int i = 0; i < moves; ++i) {
        if (marked(i, doubtfulBefore, lostBefore) !=
            marked(i, tour.firstDoubtfulMove, tour.firstLostMove)) {
            RedrawMove(i);
        }
    }
}

void BoardGame::ClearHint(bool forget) {
    if (IsBrowsing() || IsNoSquare(hintSquare)) {
        return;
    }
    view_.Invalidate(SquareRect(hintSquare), false);
    if (forget) {
        hintSquare = NoSquare;
    }
}

void BoardGame::SetBrowseIndex(int index) {
    RedrawMove(browseIndex);
    browseIndex = std::clamp(index, 0, std::max(tour.SquaresOnBoard() - 1, 0));
    RedrawMove(browseIndex);
}

bool BoardGame::RunSearch(bool complete) {
    const int doubtfulBefore = tour.firstDoubtfulMove;
    TourSearch search(tour, host_);
    const bool found = search.Solve(complete, settings_.CalcDuration);
    if (tour.firstDoubtfulMove != doubtfulBefore) {
        doubtKnown_ = true;
        doubtBudgetMs_ =
            search.Stats().cancelled ? std::nullopt : std::optional(settings_.CalcDuration);
        doubtExamined_ = search.Stats().squaresPlaced + search.Stats().choices;
    }
    return found;
}

BoardGame::MarkTip BoardGame::ExplainMark(Square s) const {
    const int index = IsOnBoard(s) ? tour.visits[IndexOf(s)] : -1;
    if (!MarksShown() || index < 0 ||
        (index < tour.firstDoubtfulMove && index < tour.firstLostMove)) {
        return {};
    }
    MarkTip tip;
    std::wstring lost;
    if (tour.firstLostMove != NoMark) {
        const Explanation why = ExplainLoss(tour, tour.firstLostMove + 1);
        lost = ExplanationText(why);
        tip.squares = why.Squares();
        if (index >= tour.firstLostMove && why.Lines().size() > 1) {
            tip.steps = why.Lines();
        }
    }
    if (index >= tour.firstLostMove) {
        tip.text = lost;
    } else if (doubtKnown_) {
        tip.text = DoubtText(doubtBudgetMs_, doubtExamined_, lost, tour.firstLostMove + 1);
    } else {
        tip.text = L"Pas de verdict dans le temps imparti.";
    }
    return tip;
}

void BoardGame::Outline(uint64_t squares, const std::vector<uint64_t>& steps) {
    std::array<int8_t, 64> numbers{};
    for (size_t i = steps.size(); i-- > 0;) {
        for (uint64_t rest = steps[i]; rest != 0; rest &= rest - 1) {
            numbers[static_cast<size_t>(std::countr_zero(rest))] = static_cast<int8_t>(i + 1);
        }
    }
    uint64_t changed = outlined ^ squares;
    for (int i = 0; i < 64; ++i) {
        changed |= numbers[i] != outlineStep[i] ? uint64_t{1} << i : 0;
    }
    for (; changed != 0; changed &= changed - 1) {
        view_.Invalidate(SquareRect(SquareAt(std::countr_zero(changed))), false);
    }
    outlined = squares;
    outlineStep = numbers;
}

void BoardGame::Click(int x, int y) {
    const Square s = SquareAtPoint(x, y);
    if (!IsNoSquare(s)) {
        Play(s);
    }
}

bool BoardGame::Play(Square s) {
    ClearHint(true);
    if (ended || !tour.IsLegal(s)) {
        Slip();
        return false;
    }
    if (!std::exchange(played_, true) && onFirstMove) {
        onFirstMove();
    }
    tour.Play(s);
    view_.ShowCursor(CursorKind::Forbidden);
    const int doubtfulBefore = tour.firstDoubtfulMove;
    const int lostBefore = tour.firstLostMove;
    if (Judging() && !RunSearch(false) && !settings_.Mute && !exam) {
        view_.Beep(BeepKind::Exclamation);
    }
    RedrawChangedMarks(doubtfulBefore, lostBefore);
    RedrawSquare(s);
    if (Practising() && !KnightCanMove()) {
        EndPractice();
        return true;
    }
    if (!IsBrowsing()) {
        if (tour.moveCount >= 2) {
            RedrawSquare(tour.moves[tour.moveCount - 2]);  // the knight leaves it
        }
        return true;
    }
    RedrawSquare(tour.moves[62]);
    if (tour.challenge.kind == TourKind::Closed) {
        view_.RedrawAll();  // the closing jump crosses other squares
    }
    EndGame(GameIssue::Completed);
    view_.ShowReport(tour.movesPlayed, tour.errorCount, hintCount);
    return true;
}

// A finished game is browsed, not played: a square offered then is no slip.
void BoardGame::Slip() {
    if (!IsBrowsing()) {
        ++slips;
    }
    if (!settings_.Mute) {
        view_.Beep(BeepKind::Plain);
    }
}

bool BoardGame::KnightCanMove() const {
    for (int i = 0; i < 64; ++i) {
        if (tour.IsLegal(SquareAt(i))) {
            return true;
        }
    }
    return false;
}

void BoardGame::HandIn() {
    if (exam && !IsBrowsing() && tour.moveCount > 0) {
        EndPractice();
    }
}

// The game is browsed on the first move the judge marked (a "?" when it marked no "X"), with
// every mark, then the review tells what happened.
void BoardGame::EndPractice() {
    ended = true;
    hintSquare = NoSquare;
    // Where the silent judge ran out of time, the review settles the position exactly.
    if (MarksShown() && tour.firstLostMove == NoMark && tour.firstDoubtfulMove != NoMark) {
        const std::optional<int> lost =
            FirstLostMove(std::span<const Square>(tour.moves.data(), tour.SquaresOnBoard()),
                          tour.challenge, host_, kFirstLostBudgetMs);
        if (lost == 0) {
            tour.firstDoubtfulMove = NoMark;  // a tour remains after every move
        } else if (lost) {
            tour.firstLostMove = *lost - 1;
        }
    }
    // Told after the settling, so that the journal starts from the mark it found.
    EndGame(tour.IsComplete() ? GameIssue::Completed : GameIssue::Abandoned);
    const int last = tour.SquaresOnBoard() - 1;
    const int marked = tour.firstLostMove != NoMark ? tour.firstLostMove : tour.firstDoubtfulMove;
    browseIndex = MarksShown() ? std::min(marked, last) : last;
    view_.RedrawAll();
    view_.ShowReview(ReviewText(*this));
}

void BoardGame::ChooseModes(bool examChosen, bool blindChosen) {
    examChosen_ = examChosen;
    blindChosen_ = blindChosen;
    if (tour.moveCount == 0) {
        BeginGame();
    } else if (!ended) {
        blind = blindChosen;
    }
    view_.RedrawAll();
}

void BoardGame::BeginGame() {
    exam = examChosen_;
    blind = blindChosen_;
    slips = 0;
    ended = false;
}

void BoardGame::RightClick(int x, int y) {
    const Square s = SquareAtPoint(x, y);
    if (IsNoSquare(s) || IsBrowsing() || tour.visits[IndexOf(s)] >= 0) {
        return;
    }
    Challenge marked{TourKind::Arrival, s};
    if (tour.challenge == marked) {
        marked.arrival = NoSquare;
    }
    if (IsOnBoard(tour.challenge.arrival)) {
        RedrawSquare(tour.challenge.arrival);
    }
    SetChallenge(marked);
    RedrawSquare(s);
}

void BoardGame::SetChallenge(const Challenge& challenge) {
    const Challenge before = tour.challenge;
    tour.challenge = challenge;
    if (IsBrowsing() || tour.moveCount < 2 || !Judging() ||
        AllowedLastSquares(before, tour.moves[0]) == AllowedLastSquares(challenge, tour.moves[0])) {
        view_.RedrawAll();
        return;
    }
    // The earlier verdict was about another tour; a change of mind is no mistake of play.
    const int doubtfulBefore = tour.firstDoubtfulMove, lostBefore = tour.firstLostMove;
    const int errors = tour.errorCount;
    tour.firstLostMove = NoMark;
    ClearHint(true);
    if (RunSearch(false)) {
        tour.firstDoubtfulMove = NoMark;
    } else {
        tour.firstLostMove = std::min(tour.firstLostMove, lostBefore);
        tour.firstDoubtfulMove = std::min(tour.firstDoubtfulMove, doubtfulBefore);
        if (!settings_.Mute && !exam) {
            view_.Beep(BeepKind::Exclamation);
        }
    }
    tour.errorCount = errors;
    view_.RedrawAll();
}

BoardGame::Outcome BoardGame::ChallengeOutcome() const {
    if (!tour.IsComplete() || AllowedLastSquares(tour.challenge, tour.moves[0]) == AnyLastSquare) {
        return Outcome::NoChallenge;
    }
    return MeetsChallenge(tour.challenge, tour.moves) ? Outcome::Met : Outcome::Missed;
}

void BoardGame::MouseMove(int x, int y) {
    const Square s = SquareAtPoint(x, y);
    if (IsNoSquare(s)) {
        return;  // off the board the cursor is left as it is
    }
    if (tour.searchRunning) {
        view_.ShowCursor(CursorKind::Wait);
    } else {
        view_.ShowCursor(!ended && tour.IsLegal(s) ? CursorKind::Board : CursorKind::Forbidden);
    }
}

void BoardGame::Command(BoardCommand command) {
    const bool browsing = IsBrowsing();
    // An exam offers no help until it ends.
    if (exam && !browsing &&
        (command == BoardCommand::ForwardOrHint || command == BoardCommand::LastOrSolve)) {
        return;
    }
    switch (command) {
        case BoardCommand::NewGame:
            NewGame();
            break;
        case BoardCommand::Back:
            browsing ? SetBrowseIndex(browseIndex - 1) : TakeBack();
            break;
        case BoardCommand::ForwardOrHint:
            browsing ? SetBrowseIndex(browseIndex + 1) : Hint();
            break;
        case BoardCommand::FirstOrRestart:
            browsing ? SetBrowseIndex(0) : Restart();
            break;
        case BoardCommand::LastOrSolve:
            browsing ? SetBrowseIndex(63) : Solve();
            break;
    }
}

void BoardGame::NewGame() {
    Abandon();
    tour.Reset();
    hintSquare = NoSquare;
    browseIndex = 63;
    BeginGame();
    view_.RedrawAll();
}

void BoardGame::TakeBack() {
    ClearHint(true);
    RedrawMove(tour.moveCount - 1);
    RedrawMove(tour.moveCount - 2);
    tour.TakeBack();
}

void BoardGame::Hint() {
    ClearHint(true);  // a hint that fails leaves no sign of the last one
    const int doubtfulBefore = tour.firstDoubtfulMove;
    const int lostBefore = tour.firstLostMove;
    bool found = false;
    if (tour.moveCount == 1) {
        // A lone square is never judged, so the check search would not look for a tour and the
        // path would be whatever an earlier game left there. Completing a copy gives a real next
        // square; a copy stopped or without a tour charges and marks nothing.
        TourState probe = tour;
        found = TourSearch(probe, host_).Solve(true, settings_.CalcDuration);
        if (found) {
            tour.searchPath = probe.searchPath;
        }
    } else {
        found = RunSearch(false);
    }
    ++hintCount;
    RedrawChangedMarks(doubtfulBefore, lostBefore);
    const Square next = tour.searchPath[tour.moveCount];
    // The legality test keeps a path left over from another position from showing a square the
    // knight cannot reach.
    if (found && !IsNoSquare(next) && tour.IsLegal(next)) {
        hintSquare = next;
        ClearHint(false);  // asks for the repaint that draws the mark
        return;
    }
    if (!settings_.Mute) {
        view_.Beep(BeepKind::Plain);
    }
}

void BoardGame::Restart() {
    Abandon();
    tour.Reset();
    BeginGame();
    view_.RedrawAll();
}

void BoardGame::Solve() {
    browseIndex = std::max(tour.moveCount - 1, 0);
    if (!RunSearch(true) && !settings_.Mute) {
        view_.Beep(BeepKind::Exclamation);
    }
    view_.RedrawAll();
    if (IsBrowsing()) {
        EndGame(GameIssue::Solved);
    }
}

void BoardGame::Abandon() {
    if (tour.moveCount >= 1 && !IsBrowsing()) {
        EndGame(GameIssue::Abandoned);
    }
    played_ = false;
}

void BoardGame::EndGame(GameIssue issue) {
    if (std::exchange(played_, false) && onGameEnd) {
        onGameEnd(issue);
    }
}

}  // namespace saltor
