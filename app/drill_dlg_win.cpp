#include "app/drill_dlg_win.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

#include "board/mark_text.h"
#include "engine/first_lost_move.h"
#include "engine/loss_explanation.h"
#include "journal/journal_file_win.h"
#include "resources/resource.h"
#include "winkit/resource_string_win.h"
#include "winkit/text_format.h"
#include "winkit/window_helpers_win.h"

namespace saltor {
namespace {

// The exact judging of a drill's moves: the prover settles such positions in milliseconds.
constexpr uint32_t kJudgeBudgetMs = 2000;

}  // namespace

LRESULT CDrillBoard::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (msg == WM_RBUTTONDOWN || (msg == WM_LBUTTONDOWN && !takesMove)) {
        handled = true;
        return 0;
    }
    const int before = Game().tour.moveCount;
    const LRESULT result = CChessBoardWnd::HandleMessage(msg, wParam, lParam, handled);
    if (msg == WM_LBUTTONDOWN && Game().tour.moveCount != before) {
        takesMove = false;
        SendMessageW(GetParent(Hwnd()), WM_COMMAND, MAKEWPARAM(IDC_DRILL_MOVED, 0), 0);
    }
    return result;
}

CDrillDlg::CDrillDlg(const AppSettings& settings, Desktop& desktop)
    : settings_(settings), desktop_(desktop), board_(settings_, desktop) {
    settings_.HintsEnabled = false;
}

INT_PTR CDrillDlg::DoModal(HWND owner) {
    return CDialogBase::DoModal(GetModuleHandleW(nullptr), IDD_DRILL, owner);
}

HWND CDrillDlg::CreateModeless(HWND owner) {
    return CDialogBase::CreateModeless(GetModuleHandleW(nullptr), IDD_DRILL, owner);
}

INT_PTR CDrillDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (msg == WM_INITDIALOG) {
        OnInitDialog();
        handled = true;
        return TRUE;
    }
    if (msg == WM_DPICHANGED) {
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;  // left to the dialog manager too, which scales its controls' fonts
    }
    if (msg == kRelayoutMessage) {
        Layout();
        handled = true;
        return 0;
    }
    if (msg != WM_COMMAND) {
        return 0;
    }
    handled = true;
    switch (LOWORD(wParam)) {
        case IDC_DRILL_MOVED:
            Answer();
            break;
        case IDC_DRILL_NEXT:
            ServeNext();
            break;
        case IDCANCEL:
            EndDialog(IDCANCEL);
            break;
        default:
            break;
    }
    return 0;
}

void CDrillDlg::OnInitDialog() {
    today_ = LocalToday();
    const std::vector<JournalRecord> journal = ReadJournal(JournalFilePath());
    DrillFileUpdate update = UpdateDrillFile(DrillFilePath(), [&](std::vector<Drill>& drills) {
        return AddDrillsFromJournal(drills, journal, today_);
    });
    drills_ = std::move(update.drills);
    if (!update.saved) {
        Tell(IDS_DRILL_SAVE_FAILED, DrillFilePath(), scheduleFailureTold_);
    }
    due_ = DueDrills(drills_, today_);
    dpi_ = WindowDpi(Hwnd());
    CentreWindow(Hwnd());  // on the owner's monitor first, whose height the squares fit
    FitSquaresToScreen();
    board_.Create(Hwnd());
    Layout();
    ServeNext();
    CentreWindow(Hwnd());
}

// Carried to a monitor of another scale, the squares keep their size to the eye.
void CDrillDlg::OnDpiChanged(int dpi, const RECT& suggested) {
    settings_.CellSize = RescaleCellSize(settings_.CellSize, std::exchange(dpi_, dpi), dpi,
                                         AppSettings::MaxCellSize());
    SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitSquaresToScreen();
    board_.FollowSettings();
    Layout();
    PostMessageW(Hwnd(), kRelayoutMessage, 0, 0);
}

// The game's squares, unless the window's monitor is too low for them and the texts below.
void CDrillDlg::FitSquaresToScreen() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    RECT window{}, client{};
    GetWindowRect(Hwnd(), &window);
    GetClientRect(Hwnd(), &client);
    // What Layout puts around the board: margins, and under it the texts and the buttons' row.
    const int margin = Margin();
    int around = 3 * margin + 2 * (margin / 2) + (window.bottom - window.top) - client.bottom;
    for (const int id : {IDC_DRILL_COUNT, IDC_DRILL_TEXT, IDCANCEL}) {
        const RECT r = ChildRect(Hwnd(), GetDlgItem(Hwnd(), id));
        around += r.bottom - r.top;
    }
    const int room = static_cast<int>(monitor.rcWork.bottom - monitor.rcWork.top) - around;
    settings_.CellSize = std::clamp(room / 8, 16, settings_.CellSize);
}

// The board at the top left, a margin around it; the texts and buttons below, as wide as it.
void CDrillDlg::Layout() {
    const int margin = Margin();
    RECT board{};
    GetClientRect(board_.Hwnd(), &board);
    SetWindowPos(board_.Hwnd(), nullptr, margin, margin, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const int width = board.right;
    int y = margin + board.bottom + margin;
    for (const int id : {IDC_DRILL_COUNT, IDC_DRILL_TEXT}) {
        const RECT r = ChildRect(Hwnd(), GetDlgItem(Hwnd(), id));
        SetWindowPos(GetDlgItem(Hwnd(), id), nullptr, margin, y, width, r.bottom - r.top,
                     SWP_NOZORDER);
        y += r.bottom - r.top + margin / 2;
    }
    int right = margin + width;
    for (const int id : {IDCANCEL, IDC_DRILL_NEXT}) {
        const RECT r = ChildRect(Hwnd(), GetDlgItem(Hwnd(), id));
        right -= r.right - r.left;
        SetWindowPos(GetDlgItem(Hwnd(), id), nullptr, right, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        right -= margin;
    }
    const RECT button = ChildRect(Hwnd(), GetDlgItem(Hwnd(), IDCANCEL));
    RECT window{}, client{};
    GetWindowRect(Hwnd(), &window);
    GetClientRect(Hwnd(), &client);
    SetWindowPos(Hwnd(), nullptr, 0, 0,
                 (window.right - window.left) - client.right + width + 2 * margin,
                 (window.bottom - window.top) - client.bottom + button.bottom + margin,
                 SWP_NOMOVE | SWP_NOZORDER);
}

void CDrillDlg::ServeNext() {
    TourState& tour = board_.Game().tour;
    tour.Reset();
    board_.Game().Outline(0);
    EnableWindow(GetDlgItem(Hwnd(), IDC_DRILL_NEXT), FALSE);
    if (served_ >= due_.size()) {
        tour.challenge = {};
        board_.takesMove = false;
        SetDlgItemTextW(Hwnd(), IDC_DRILL_COUNT, L"");
        SetDlgItemTextW(
            Hwnd(), IDC_DRILL_TEXT,
            due_.empty()
                ? LoadResourceString(IDS_DRILL_NONE).c_str()
                : FormatNumbers(LoadResourceString(IDS_DRILL_DONE), {done_, right_}).c_str());
        board_.Refresh();
        SetFocus(GetDlgItem(Hwnd(), IDCANCEL));
        return;
    }
    const Drill& drill = drills_[due_[served_++]];
    tour.challenge = drill.challenge;
    for (const Square s : drill.position) {
        tour.Play(s);
    }
    board_.takesMove = true;
    SetDlgItemTextW(Hwnd(), IDC_DRILL_COUNT,
                    (L"Exercice " + std::to_wstring(served_) + L" sur " +
                     std::to_wstring(due_.size()) + L" (boîte " + std::to_wstring(drill.box) + L")")
                        .c_str());
    SetDlgItemTextW(Hwnd(), IDC_DRILL_TEXT, LoadResourceString(IDS_DRILL_PROMPT).c_str());
    board_.Refresh();
    SetFocus(board_.Hwnd());
    shownTick_ = GetTickCount();
}

void CDrillDlg::Answer() {
    Drill& drill = drills_[due_[served_ - 1]];
    const TourState& tour = board_.Game().tour;
    const Square played = tour.moves[tour.moveCount - 1];
    ClockHost clock;
    // Out of time (never seen: the prover settles these in milliseconds) the move is given the
    // benefit of the doubt, and nothing is outlined.
    const std::optional<uint64_t> sound =
        SoundMoves(std::span<const Square>(drill.position), drill.challenge, clock, kJudgeBudgetMs);
    const bool right = !sound || (*sound >> IndexOf(played) & 1) != 0;
    board_.Game().Outline(sound.value_or(0));
    std::wstring text = LoadResourceString(IDS_DRILL_RIGHT);
    if (!right) {
        text = FormatSubject(LoadResourceString(IDS_DRILL_WRONG),
                             ExplanationText(ExplainLoss(tour, tour.moveCount)));
    }
    SetDlgItemTextW(Hwnd(), IDC_DRILL_TEXT, text.c_str());
    ++done_;
    right_ += right ? 1 : 0;

    JournalRecord record;
    record.seconds = (GetTickCount() - shownTick_) / 1000;
    record.start = LocalTimeText(record.seconds);
    record.challenge = drill.challenge;
    record.issue = right ? GameIssue::DrillRight : GameIssue::DrillWrong;
    record.moves = 1;
    record.errors = right ? 0 : 1;
    record.firstLostMove = right ? 0 : tour.moveCount;
    record.path.assign(tour.moves.begin(), tour.moves.begin() + tour.moveCount);
    if (!AppendToJournal(JournalFilePath(), record)) {
        Tell(IDS_JOURNAL_WRITE_FAILED, JournalFilePath(), journalFailureTold_);
    }
    ScheduleAnswer(drill, right, today_);
    // Into the schedule as it is now: another copy of the game may have answered others.
    const auto answered = [&drill](std::vector<Drill>& drills) {
        PutDrill(drills, drill);
        return true;
    };
    if (!UpdateDrillFile(DrillFilePath(), answered).saved) {
        Tell(IDS_DRILL_SAVE_FAILED, DrillFilePath(), scheduleFailureTold_);
    }
    EnableWindow(GetDlgItem(Hwnd(), IDC_DRILL_NEXT), TRUE);
    SetFocus(GetDlgItem(Hwnd(), IDC_DRILL_NEXT));
}

void CDrillDlg::Tell(int message, const std::wstring& path, bool& told) {
    if (!std::exchange(told, true)) {
        desktop_.ShowMessage(Hwnd(), FormatSubject(LoadResourceString(message), path),
                             LoadResourceString(IDS_MAIN_CAPTION), MB_ICONWARNING | MB_OK);
    }
}

}  // namespace saltor
