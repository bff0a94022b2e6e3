#include "app/main_dlg_win.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "app/about_dlg_win.h"
#include "app/drill_dlg_win.h"
#include "app/html_help_win.h"
#include "app/main_window_rules.h"
#include "app/program_paths.h"
#include "journal/game_record.h"
#include "journal/journal_file_win.h"
#include "journal/progress_dlg_win.h"
#include "resources/resource.h"
#include "settings/prefs_dlg_win.h"
#include "winkit/file_win.h"
#include "winkit/resource_string_win.h"
#include "winkit/text_format.h"
#include "winkit/window_helpers_win.h"

namespace saltor {

namespace {

// The column beside the board, moved as one block by the layout; the bottom three buttons are
// placed on their own.
constexpr int kColumnControls[] = {
    IDC_PREFERENCES, IDC_NO_HINTS,     IDC_MUTE,       IDC_NEW_GAME,   IDC_BROWSE_FRAME,
    IDC_FIRST,       IDC_BACK,         IDC_HINT,       IDC_FORWARD,    IDC_LAST,
    IDC_SOLVE,       IDC_LOAD_STUDY,   IDC_SAVE_STUDY, IDC_STUDY_LIST, IDC_CHALLENGE_LABEL,
    IDC_CHALLENGE,   IDC_SQUARE_ENTRY,
};

struct NavigationIcon {
    int control;
    int icon;
};
constexpr NavigationIcon kNavigationIcons[] = {
    {IDC_FIRST, IDI_NAV_FIRST},     {IDC_LAST, IDI_NAV_LAST}, {IDC_BACK, IDI_NAV_BACK},
    {IDC_FORWARD, IDI_NAV_FORWARD}, {IDC_HINT, IDI_NAV_HINT},
};

// A control that moves is painted anew where it lands. Its old pixels are not copied along: after
// Preferences they may be the dialog that has just closed, or the board that has just grown over
// them, and the control, counted as painted, would stay blank.
constexpr UINT kMoveControl = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;

// Moves a control sideways by dx and, when given, to a new top; its size, stacking order and
// activation stay as they are.
void ShiftControl(HWND parent, int id, int dx, std::optional<int> top = std::nullopt) {
    HWND control = GetDlgItem(parent, id);
    const RECT r = ChildRect(parent, control);
    const int newTop = top.value_or(r.top);
    if (dx == 0 && newTop == r.top) {
        return;
    }
    SetWindowPos(control, nullptr, r.left + dx, newTop, 0, 0, SWP_NOSIZE | kMoveControl);
    // The "Parcourir" frame paints only its lines and caption: inside, the window's background
    // shows, and it must be painted anew there too, or the frame's old lines stay where it now
    // overlaps its old place.
    const RECT landed = ChildRect(parent, control);
    RedrawWindow(parent, &landed, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Our own copy: a shared one of a size the system does not use would never be freed, and a change
// of display scale asks for new sizes.
UniqueIcon LoadIconSized(HINSTANCE instance, int id, int size) {
    return UniqueIcon(
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
}

}  // namespace

CMainDlg::CMainDlg(AppSettings& settings, Desktop& desktop)
    : settings_(settings),
      desktop_(desktop),
      board_(settings, desktop),
      gameFile_(GameFilePathFor(ProgramFilePath())) {}

CMainDlg::~CMainDlg() {
    // Destroyed here so that OnDestroy still runs on a whole object.
    if (Hwnd() != nullptr) {
        DestroyWindow(Hwnd());
    }
}

HWND CMainDlg::Create(HINSTANCE instance) {
    instance_ = instance;
    return CreateModeless(instance, IDD_MAINDLG, nullptr);
}

INT_PTR CMainDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (msg) {
        case WM_INITDIALOG:
            OnInitDialog();
            handled = true;
            return FALSE;  // the focus is set, on the board
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) {
                restoring_ = true;
            } else if (board_.Hwnd() != nullptr) {
                // Coming back from the task bar is no reason to jump to the screen's centre.
                const bool recentre = recentre_;
                if (restoring_) {
                    recentre_ = false;
                    restoring_ = false;
                }
                Layout();
                recentre_ = recentre;
            }
            handled = true;
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;  // left to the dialog manager too, which scales its controls' fonts
        case kRelayoutMessage:
            Relayout();
            handled = true;
            return 0;
        case WM_SETCURSOR:
            // Our own answer, or the class arrow would be set before every mouse move.
            if (reinterpret_cast<HWND>(wParam) == Hwnd() && LOWORD(lParam) == HTCLIENT) {
                POINT pt{};
                GetCursorPos(&pt);
                ScreenToClient(Hwnd(), &pt);
                if (IsOverSplitter(pt)) {
                    UpdateCursor(pt);
                    handled = true;
                    return TRUE;
                }
            }
            return 0;
        case WM_MOUSEMOVE:
            UpdateCursor(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_LBUTTONDOWN:
            if (IsOverSplitter(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
                TogglePanel();
            }
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            handled = true;
            return 0;
        case WM_HELP:
            // F1 already arrives as the accelerator's help command: the system's own F1 help
            // message would open the help a second time.
            handled = true;
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return 0;
    }
}

void CMainDlg::OnInitDialog() {
    settings_.Load();
    panelShown_ = true;
    recentre_ = true;

    // Both switches start on their defaults in a new process; the boxes show them anyway.
    CheckDlgButton(Hwnd(), IDC_NO_HINTS, settings_.HintsEnabled ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(Hwnd(), IDC_MUTE, settings_.Mute ? BST_CHECKED : BST_UNCHECKED);

    studyList_ = GetDlgItem(Hwnd(), IDC_STUDY_LIST);
    studies_ = std::make_unique<StudyList>(studyList_, gameFile_, desktop_);
    studies_->Fill();
    for (const int item : {IDS_CHALLENGE_OPEN, IDS_CHALLENGE_CLOSED, IDS_CHALLENGE_ARRIVAL}) {
        SendDlgItemMessageW(Hwnd(), IDC_CHALLENGE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(LoadResourceString(item).c_str()));
    }

    // The settings were loaded for the system's scale; the window may open on a monitor of another.
    dpi_ = WindowDpi(Hwnd());
    settings_.CellSize =
        RescaleCellSize(settings_.CellSize, SystemDpi(), dpi_, AppSettings::MaxCellSize());
    SetIcons();

    SetWindowTextW(Hwnd(), LoadResourceString(IDS_MAIN_CAPTION).c_str());

    board_.Create(Hwnd());
    practice_.Init(Hwnd());
    board_.Game().onFirstMove = [this] { gameStartTick_ = GetTickCount(); };
    board_.Game().onGameEnd = [this](GameIssue issue) { JournalGame(issue); };
    // The board starts with the keyboard focus (hence WM_INITDIALOG's FALSE): left to itself
    // the dialog would focus its first enabled button, "Quitter", and Enter would end the game.
    ShowChallenge();
    SetFocus(board_.Hwnd());
    // Tab onto a button makes it the default, and a click elsewhere may leave it so: on Windows
    // Enter on a check box would then press "Quitter". A default that no control has is
    // remembered instead, and Enter sends that command, which does nothing.
    SendMessageW(Hwnd(), DM_SETDEFID, IDOK, 0);

    accelerators_.Reset(LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME)));

    if (CMessageLoop* loop = CMessageLoop::Current()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }

    // Buttons and layout are right before the window is first shown, so nothing jumps.
    OnIdle();
    Layout();
}

// The window's and the navigation buttons' icons at the size the window's scale asks for (the
// system metrics are those of the system's scale).
void CMainDlg::SetIcons() {
    const auto size = [this](int metric) {
        return MulDiv(GetSystemMetrics(metric), dpi_, SystemDpi());
    };
    // Made once per size and kept: the window may go back and forth between two scales.
    const auto [at, made] = icons_.try_emplace(size(SM_CXICON));
    std::array<UniqueIcon, kIconCount>& icons = at->second;
    if (made) {
        icons[0] = LoadIconSized(instance_, IDR_MAINFRAME, size(SM_CXICON));
        icons[1] = LoadIconSized(instance_, IDR_MAINFRAME, size(SM_CXSMICON));
        for (size_t i = 0; i < std::size(kNavigationIcons); ++i) {
            icons[i + 2] = LoadIconSized(instance_, kNavigationIcons[i].icon, size(SM_CXSMICON));
        }
    }
    SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons[0].Get()));
    SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons[1].Get()));
    for (size_t i = 0; i < std::size(kNavigationIcons); ++i) {
        SendDlgItemMessageW(Hwnd(), kNavigationIcons[i].control, BM_SETIMAGE, IMAGE_ICON,
                            reinterpret_cast<LPARAM>(icons[i + 2].Get()));
    }
}

// The window moved to a monitor of another scale, or the scale changed: it goes where the system
// suggests, its squares scale with the DPI and everything sized by the DPI is made again. The
// game, its marks and the study list are not touched.
void CMainDlg::OnDpiChanged(int dpi, const RECT& suggested) {
    const int old = std::exchange(dpi_, dpi);
    settings_.CellSize = RescaleCellSize(settings_.CellSize, old, dpi, AppSettings::MaxCellSize());
    SetIcons();
    recentre_ = false;
    SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    board_.FollowSettings();
    Layout();
    recentre_ = true;
    RedrawWindow(Hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PostMessageW(Hwnd(), kRelayoutMessage, 0, 0);
}

void CMainDlg::OnDestroy() {
    // Nothing is saved: the settings are written by the Preferences dialog only.
    if (CMessageLoop* loop = CMessageLoop::Current()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
    accelerators_.Reset();
}

void CMainDlg::SendBoardCommand(int controlId) {
    if (board_.Hwnd() != nullptr) {
        SendMessageW(board_.Hwnd(), WM_COMMAND, MAKEWPARAM(controlId, 0), 0);
    }
}

void CMainDlg::OnCommand(int id) {
    switch (id) {
        case IDC_NEW_GAME:
        case IDC_BACK:
        case IDC_FORWARD:
        case IDC_FIRST:
        case IDC_LAST:
            SendBoardCommand(id);
            break;
        case IDC_HINT:
            SendBoardCommand(IDC_FORWARD);
            break;
        case IDC_SOLVE:
            SendBoardCommand(IDC_LAST);
            break;
        case IDC_NO_HINTS:
            // Read after the click has toggled the box; the judge's marks appear or go at once.
            settings_.HintsEnabled = IsDlgButtonChecked(Hwnd(), IDC_NO_HINTS) != BST_CHECKED;
            board_.Refresh();
            break;
        case IDC_MUTE:
            settings_.Mute = IsDlgButtonChecked(Hwnd(), IDC_MUTE) == BST_CHECKED;
            break;
        case ID_TOGGLE_PANEL:
            TogglePanel();
            break;
        case IDC_PREFERENCES:
            OpenPreferences();
            break;
        case IDC_HELP_BUTTON:
            ShowHelp(Hwnd(), settings_.HelpFilePath, desktop_);
            break;
        case ID_APP_ABOUT: {
            const HWND active = GetActiveWindow();
            CAboutDlg about;
            about.DoModal(active != nullptr ? active : Hwnd());
            break;
        }
        case IDC_LOAD_STUDY:
            if (studies_ != nullptr) {
                studies_->Load(board_);
                ShowChallenge();
            }
            break;
        case IDC_CHALLENGE:
            ChooseChallenge();
            break;
        case IDC_ARRIVAL_MARKED:
            ShowChallenge();
            break;
        case ID_PRACTICE_EXAM:
        case ID_PRACTICE_BLIND:
        case ID_PRACTICE_HAND_IN:
            practice_.Command(id);
            break;
        case ID_FOCUS_SQUARE_ENTRY:
            if (!panelShown_) {
                TogglePanel();
            }
            SendMessageW(Hwnd(), WM_NEXTDLGCTL,
                         reinterpret_cast<WPARAM>(GetDlgItem(Hwnd(), IDC_SQUARE_ENTRY)), TRUE);
            break;
        case IDC_SAVE_STUDY:
            if (studies_ != nullptr) {
                studies_->Save(board_);
            }
            break;
        case IDOK:
            break;  // Enter in the dialog: the window never closes on it
        case ID_DRILLS:
            OpenDrills();
            break;
        case ID_PROGRESS:
            OpenProgress();
            break;
        case IDCANCEL:
            board_.Game().Abandon();
            DestroyWindow(Hwnd());
            PostQuitMessage(2);
            break;
        default:
            break;
    }
}

void CMainDlg::JournalGame(GameIssue issue) {
    const int64_t seconds = (GetTickCount() - gameStartTick_) / 1000;
    ClockHost clock;
    const BoardGame& game = board_.Game();
    const std::wstring path = JournalFilePath();
    if (AppendToJournal(path, GameRecord(game.tour, game.hintCount, issue, LocalTimeText(seconds),
                                         seconds, ModeField(game.exam, game.blind), clock)) ||
        std::exchange(journalFailureTold_, true)) {
        return;
    }
    desktop_.ShowMessage(Hwnd(), FormatSubject(LoadResourceString(IDS_JOURNAL_WRITE_FAILED), path),
                         LoadResourceString(IDS_MAIN_CAPTION), MB_ICONWARNING | MB_OK);
}

void CMainDlg::OpenDrills() {
    const HWND active = GetActiveWindow();
    CDrillDlg drills(settings_, desktop_);
    drills.DoModal(active != nullptr ? active : Hwnd());
}

void CMainDlg::OpenProgress() {
    const HWND active = GetActiveWindow();
    CProgressDlg progress;
    progress.DoModal(active != nullptr ? active : Hwnd());
}

// The list shows the board's challenge, in TourKind order.
void CMainDlg::ShowChallenge() {
    SendDlgItemMessageW(Hwnd(), IDC_CHALLENGE, CB_SETCURSEL,
                        static_cast<WPARAM>(board_.Game().tour.challenge.kind), 0);
}

// Any notice of the list: only a choice that differs from the board's changes the game.
void CMainDlg::ChooseChallenge() {
    const LRESULT chosen = SendDlgItemMessageW(Hwnd(), IDC_CHALLENGE, CB_GETCURSEL, 0, 0);
    Challenge challenge = board_.Game().tour.challenge;
    if (chosen < 0 || chosen > 2 || chosen == static_cast<LRESULT>(challenge.kind)) {
        return;
    }
    challenge.kind = static_cast<TourKind>(chosen);
    board_.Game().SetChallenge(challenge);
}

// After OK everything applies at once: the new size and pictures, the board's and the window's
// layout (which centres the window again) and a repaint.
void CMainDlg::OpenPreferences() {
    const HWND active = GetActiveWindow();
    CPrefsDlg prefs(settings_, desktop_);
    if (prefs.DoModal(active != nullptr ? active : Hwnd()) != IDOK || board_.Hwnd() == nullptr) {
        return;
    }
    board_.FollowSettings();
    SendMessageW(Hwnd(), WM_SIZE, 0, 0);
    RedrawWindow(board_.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CMainDlg::TogglePanel() {
    panelShown_ = !panelShown_;
    Relayout();  // the window keeps its place when only the panel changes
    OnIdle();    // the column's controls go or come back with it
}

void CMainDlg::Relayout() {
    recentre_ = false;
    SendMessageW(Hwnd(), WM_SIZE, 0, 0);
    recentre_ = true;
}

void CMainDlg::Layout() {
    // Resizing the window below sends WM_SIZE again; that nested pass would move the column a
    // second time, so it is skipped. A minimised window has no client area to lay out.
    if (inLayout_ || board_.Hwnd() == nullptr || IsIconic(Hwnd())) {
        return;
    }
    inLayout_ = true;

    RECT boardClient{}, client{}, window{};
    GetClientRect(board_.Hwnd(), &boardClient);
    GetClientRect(Hwnd(), &client);
    GetWindowRect(Hwnd(), &window);
    const RECT prefs = ChildRect(Hwnd(), GetDlgItem(Hwnd(), IDC_PREFERENCES));
    int columnBottom = 0;
    for (int id : kColumnControls) {
        columnBottom =
            std::max<int>(columnBottom, ChildRect(Hwnd(), GetDlgItem(Hwnd(), id)).bottom);
    }

    LayoutInput in;
    in.boardWidth = boardClient.right - boardClient.left;
    in.boardHeight = boardClient.bottom - boardClient.top;
    in.clientHeight = client.bottom - client.top;
    in.windowHeight = window.bottom - window.top;
    in.buttonWidth = prefs.right - prefs.left;
    in.buttonHeight = prefs.bottom - prefs.top;
    in.buttonLeft = prefs.left;
    in.panelShown = panelShown_;
    in.columnBottom = columnBottom;
    in.dpi = dpi_;
    RECT statusLines{0, 0, 0, 32};  // four lines of text, in dialog units
    MapDialogRect(Hwnd(), &statusLines);
    in.statusMinHeight = statusLines.bottom;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
    in.maxClientHeight =
        monitor.rcWork.bottom - monitor.rcWork.top - (in.windowHeight - in.clientHeight);
    const LayoutResult r = ComputeLayout(in);

    SetWindowPos(GetDlgItem(Hwnd(), IDC_SPLITTER), nullptr, r.splitterLeft, 0, r.splitterWidth,
                 r.splitterHeight, kMoveControl);
    SetWindowPos(Hwnd(), nullptr, 0, 0, r.windowWidth, r.windowHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (panelShown_) {
        for (int id : kColumnControls) {
            ShiftControl(Hwnd(), id, r.columnShift);
        }
        ShiftControl(Hwnd(), IDC_HELP_BUTTON, r.columnShift, r.helpTop);
        ShiftControl(Hwnd(), ID_APP_ABOUT, r.columnShift, r.aboutTop);
        ShiftControl(Hwnd(), IDCANCEL, r.columnShift, r.quitTop);
        practice_.LayoutStatusLine(ChildRect(Hwnd(), GetDlgItem(Hwnd(), IDC_PREFERENCES)),
                                   r.statusTop, r.statusHeight);
    }

    if (recentre_) {
        CentreWindow(Hwnd());
    }
    inLayout_ = false;
}

bool CMainDlg::IsOverSplitter(POINT clientPoint) const {
    // The splitter is transparent to the mouse, so its messages come to the dialog.
    return ChildWindowFromPointEx(Hwnd(), clientPoint, CWP_SKIPINVISIBLE) ==
           GetDlgItem(Hwnd(), IDC_SPLITTER);
}

void CMainDlg::UpdateCursor(POINT clientPoint) const {
    static const HCURSOR sizing = LoadCursorW(nullptr, IDC_SIZEWE);
    static const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(IsOverSplitter(clientPoint) ? sizing : arrow);
}

bool CMainDlg::OnIdle() {
    const BoardGame& game = board_.Game();
    const bool hasStudies = studyList_ != nullptr && ComboBox_GetCount(studyList_) > 0;
    const bool nameTyped = studyList_ != nullptr && GetWindowTextLengthW(studyList_) > 0;
    const ButtonStates s = ComputeButtonStates(game.tour.moveCount, game.browseIndex, hasStudies,
                                               nameTyped, game.ended, game.exam);

    // Only real changes touch a control, so the idle pass after every key and click does not
    // make the column flicker. A control that loses the focus by going hands it to the board.
    // The hidden panel is clipped away, not moved: its controls are hidden too, so that neither
    // Tab nor Enter reaches one the player cannot see.
    auto apply = [this](int id, bool shown, bool enabled) {
        HWND control = GetDlgItem(Hwnd(), id);
        shown = shown && panelShown_;
        const HWND focus = GetFocus();
        if ((!shown || !enabled) && (focus == control || IsChild(control, focus)) &&
            board_.Hwnd() != nullptr) {
            SetFocus(board_.Hwnd());
        }
        const bool isShown = (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
        if (isShown != shown) {
            ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
        }
        if ((IsWindowEnabled(control) != FALSE) != enabled) {
            EnableWindow(control, enabled);
        }
    };
    apply(IDC_FIRST, s.browse, s.firstEnabled);
    apply(IDC_LAST, s.browse, s.lastEnabled);
    apply(IDC_FORWARD, s.browse, s.forwardEnabled);
    apply(IDC_BROWSE_FRAME, s.browse, true);
    apply(IDC_HINT, !s.browse, s.hintEnabled);
    apply(IDC_BACK, true, s.backEnabled);
    apply(IDC_SOLVE, true, s.solveEnabled);
    apply(IDC_NEW_GAME, true, s.newGameEnabled);
    apply(IDC_SAVE_STUDY, true, s.saveEnabled);
    apply(IDC_LOAD_STUDY, true, s.loadEnabled);
    for (int id : {IDC_PREFERENCES, IDC_NO_HINTS, IDC_MUTE, IDC_STUDY_LIST, IDC_CHALLENGE_LABEL,
                   IDC_CHALLENGE, IDC_HELP_BUTTON, ID_APP_ABOUT, IDCANCEL, IDC_SQUARE_ENTRY}) {
        apply(id, true, IsWindowEnabled(GetDlgItem(Hwnd(), id)) != FALSE);
    }
    // A screen too short may leave the status line no room at all.
    apply(IDC_STATUS_LINE,
          ChildRect(Hwnd(), GetDlgItem(Hwnd(), IDC_STATUS_LINE)).bottom >
              ChildRect(Hwnd(), GetDlgItem(Hwnd(), IDC_STATUS_LINE)).top,
          true);
    practice_.Update();
    return false;
}

// The board's keys, while the board has the keyboard focus. They go to the board as commands,
// like its buttons, and never reach the dialog's own keyboard handling.
bool CMainDlg::TranslateBoardKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.hwnd != board_.Hwnd() || msg.hwnd == nullptr) {
        return false;
    }
    int command = 0;  // the button the key stands for
    switch (msg.wParam) {
        case VK_BACK:
        case VK_LEFT:
            command = IDC_BACK;
            break;
        case 'A':
        case 'C':
        case VK_RIGHT:
            command = IDC_FORWARD;
            break;
        case VK_HOME:
            command = IDC_FIRST;
            break;
        case VK_END:
        case 'S':
            command = IDC_LAST;
            break;
        case VK_F2:
            command = IDC_NEW_GAME;
            break;
        default:
            return false;
    }
    SendBoardCommand(command);
    return true;
}

// Delete while the study list is dropped down deletes the selected study; the key then goes on
// as any other (in the edit field it deletes a character, as it always does).
void CMainDlg::DeleteStudyOnKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_DELETE || studies_ == nullptr ||
        !SendMessageW(studyList_, CB_GETDROPPEDSTATE, 0, 0)) {
        return;
    }
    studies_->Delete(static_cast<int>(SendMessageW(studyList_, CB_GETCURSEL, 0, 0)));
}

// Order: Enter in the square box, the accelerators (F1, Space, Ctrl+Z wherever the focus is; Space
// is consumed so it never presses the focused button), then the study list's Delete, then the
// board's keys, then the dialog's own keyboard navigation (Tab, arrows; Enter sends IDOK, which is
// ignored).
bool CMainDlg::PreTranslateMessage(MSG* msg) {
    if (Hwnd() == nullptr || (msg->hwnd != Hwnd() && !IsChild(Hwnd(), msg->hwnd))) {
        return false;
    }
    if (practice_.TranslateKey(*msg)) {
        return true;
    }
    // In the square box Space is typed, not the panel's key.
    const bool typedSpace = practice_.IsSquareBox(msg->hwnd) && msg->wParam == VK_SPACE;
    if (accelerators_ && !typedSpace && TranslateAcceleratorW(Hwnd(), accelerators_.Get(), msg)) {
        return true;
    }
    DeleteStudyOnKey(*msg);
    if (TranslateBoardKey(*msg)) {
        return true;
    }
    const bool keyboard =
        msg->message == WM_KEYDOWN || msg->message == WM_KEYUP || msg->message == WM_CHAR;
    // Escape would become "Quitter" in the dialog manager and end the game unsaved; it goes to
    // the focused control instead (it still closes the study list's drop-down).
    if (keyboard && msg->wParam == VK_ESCAPE) {
        return false;
    }
    // Enter presses the focused button, except "Quitter": Enter never ends the game.
    if (keyboard && msg->wParam == VK_RETURN && GetFocus() == GetDlgItem(Hwnd(), IDCANCEL)) {
        return true;
    }
    return IsDialogMessageW(Hwnd(), msg) != FALSE;
}

}  // namespace saltor
