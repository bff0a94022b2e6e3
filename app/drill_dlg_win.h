#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "board/chess_board_wnd_win.h"
#include "journal/drill_schedule.h"
#include "settings/app_settings.h"
#include "winkit/desktop_win.h"
#include "winkit/window_base_win.h"

namespace saltor {

// The drill's board: the game's board window with the marks off, taking one move while asked,
// and telling its parent each move played (IDC_DRILL_MOVED). The right button does nothing.
class CDrillBoard : public CChessBoardWnd {
public:
    using CChessBoardWnd::CChessBoardWnd;
    bool takesMove = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
};

// "Exercices": the positions before the first losing move of the journal's lost games, served
// one after another while due (a Leitner schedule kept in exercices.tsv beside the journal).
// The player plays one move; it is judged exactly at once, the sound moves are outlined, a
// wrong one is explained, the answer is journalled and the drill rescheduled.
class CDrillDlg : public CDialogBase {
public:
    CDrillDlg(const AppSettings& settings, Desktop& desktop);

    INT_PTR DoModal(HWND owner);
    HWND CreateModeless(HWND owner);

    CDrillBoard& Board() { return board_; }
    const std::vector<Drill>& Drills() const { return drills_; }

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void OnInitDialog();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void FitSquaresToScreen();
    int Margin() const { return MulDiv(8, dpi_, 96); }
    void Layout();
    void ServeNext();
    void Answer();
    void Tell(int message, const std::wstring& path, bool& told);

    AppSettings settings_;  // the player's, with the marks off
    Desktop& desktop_;
    CDrillBoard board_;
    std::vector<Drill> drills_;
    std::vector<size_t> due_;  // this session's, in order
    size_t served_ = 0;
    int32_t today_ = 0;
    int dpi_ = 96;
    int done_ = 0, right_ = 0;
    uint32_t shownTick_ = 0;
    bool journalFailureTold_ = false, scheduleFailureTold_ = false;
};

}  // namespace saltor
