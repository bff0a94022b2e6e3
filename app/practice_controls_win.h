#pragma once

#include <windows.h>

#include <string>

#include "board/chess_board_wnd_win.h"
#include "settings/practice_options.h"
#include "winkit/handles_win.h"

namespace saltor {

// The main window's practice controls: the modes of the menu "Entraînement", the box squares are
// typed in and the status line. The main window hands them its commands, keys, layout and idle
// passes.
class PracticeControls {
public:
    explicit PracticeControls(CChessBoardWnd& board) : board_(board) {}

    // The modes kept from the last run go to the game; the box and the line are set up.
    void Init(HWND dialog);
    // The menu's practice commands; false for any other.
    bool Command(int id);
    // Enter in the square box plays what it names; true when the key was taken.
    bool TranslateKey(const MSG& msg);
    bool IsSquareBox(HWND window) const;
    // The status line fills the width of `column` (a control's rectangle) from `top`.
    void LayoutStatusLine(const RECT& column, int top, int height);
    // The status line's text, its tip when the line cuts it, and the menu's states.
    void Update();

private:
    void PlayTypedSquare();

    CChessBoardWnd& board_;
    HWND dialog_ = nullptr;
    PracticeOptions options_;
    std::wstring status_;
    UniqueWindow statusTip_;  // the status line's whole text, when the line cuts it
};

}  // namespace saltor
