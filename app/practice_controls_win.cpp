#include "app/practice_controls_win.h"

#include <commctrl.h>

#include <optional>
#include <utility>

#include "board/practice_text.h"
#include "files/tour_text.h"
#include "resources/resource.h"
#include "settings/settings_file_win.h"
#include "winkit/resource_string_win.h"
#include "winkit/tooltip_win.h"
#include "winkit/window_helpers_win.h"

namespace saltor {

void PracticeControls::Init(HWND dialog) {
    dialog_ = dialog;
    options_ = LoadPracticeOptions();
    board_.Game().ChooseModes(options_.exam, options_.blind);
    const HWND entry = GetDlgItem(dialog_, IDC_SQUARE_ENTRY);
    SendMessageW(entry, EM_SETCUEBANNER, TRUE,
                 reinterpret_cast<LPARAM>(LoadResourceString(IDS_SQUARE_CUE).c_str()));
    SendMessageW(entry, EM_LIMITTEXT, 16, 0);
    statusTip_.Reset(CreateTooltipWindow(dialog_));
    if (statusTip_) {
        AddTooltipTool(statusTip_.Get(), GetDlgItem(dialog_, IDC_STATUS_LINE), 1, L"");
    }
    status_.clear();
}

// A mode toggled is kept for the next start (if the file cannot be written, for this session
// only); handing in ends the exam in progress.
bool PracticeControls::Command(int id) {
    BoardGame& game = board_.Game();
    if (id == ID_PRACTICE_HAND_IN) {
        game.HandIn();
    } else if (id == ID_PRACTICE_EXAM || id == ID_PRACTICE_BLIND) {
        bool& mode = id == ID_PRACTICE_EXAM ? options_.exam : options_.blind;
        mode = !mode;
        SavePracticeOptions(options_);
        game.ChooseModes(options_.exam, options_.blind);
    } else {
        return false;
    }
    board_.Refresh();
    return true;
}

bool PracticeControls::IsSquareBox(HWND window) const {
    return window != nullptr && window == GetDlgItem(dialog_, IDC_SQUARE_ENTRY);
}

// It never reaches the dialog manager, so Enter never closes the window.
bool PracticeControls::TranslateKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN || !IsSquareBox(msg.hwnd)) {
        return false;
    }
    PlayTypedSquare();
    return true;
}

// A square played empties the box; anything else (no square named, a move refused) beeps and
// leaves the text selected, to be typed over.
void PracticeControls::PlayTypedSquare() {
    const HWND entry = GetDlgItem(dialog_, IDC_SQUARE_ENTRY);
    const std::optional<Square> square = ParseSquareName(WindowText(entry));
    BoardGame& game = board_.Game();
    if (!square) {
        game.Slip();
    }
    if (square && game.Play(*square)) {
        SetWindowTextW(entry, L"");
    } else {
        SendMessageW(entry, EM_SETSEL, 0, -1);
    }
    board_.Refresh();
}

void PracticeControls::LayoutStatusLine(const RECT& column, int top, int height) {
    SetWindowPos(GetDlgItem(dialog_, IDC_STATUS_LINE), nullptr, column.left, top,
                 column.right - column.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    status_.clear();  // measured again for its tip at the next idle pass
}

void PracticeControls::Update() {
    const BoardGame& game = board_.Game();
    if (std::wstring text = StatusText(game); text != status_) {
        status_ = std::move(text);
        const HWND line = GetDlgItem(dialog_, IDC_STATUS_LINE);
        SetWindowTextW(line, status_.c_str());
        RECT client{};
        GetClientRect(line, &client);
        RECT needed = client;
        {
            const WindowDc dc(line);
            const SelectedObject font(
                dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(line, WM_GETFONT, 0, 0)));
            DrawTextW(dc.Get(), status_.c_str(), -1, &needed,
                      DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        }
        if (statusTip_) {
            MoveTooltipTool(statusTip_.Get(), line, 1, client,
                            needed.bottom > client.bottom ? status_ : L"");
        }
    }
    const HMENU menu = GetMenu(dialog_);
    const auto check = [](bool on) { return MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED); };
    CheckMenuItem(menu, ID_PRACTICE_EXAM, check(options_.exam));
    CheckMenuItem(menu, ID_PRACTICE_BLIND, check(options_.blind));
    const bool examInProgress = game.exam && !game.IsBrowsing() && game.tour.moveCount > 0;
    EnableMenuItem(menu, ID_PRACTICE_HAND_IN,
                   MF_BYCOMMAND | (examInProgress ? MF_ENABLED : MF_GRAYED));
}

}  // namespace saltor
