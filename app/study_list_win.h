#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "board/chess_board_wnd_win.h"
#include "files/game_file_win.h"
#include "winkit/desktop_win.h"

namespace saltor {

// The study list: the main window's combo box of study names, kept in step with the game file.
// Names are compared here, as the file compares them, and not with the combo's own searches,
// which take prefixes and whose case rules differ from the file's. A study that cannot be saved
// or deleted is reported through the desktop's message box.
class StudyList {
public:
    StudyList(HWND combo, const GameFile& file, Desktop& desktop)
        : combo_(combo), file_(file), desktop_(desktop) {}

    // Every name of the file, made lower case, in the combo's sorted order.
    void Fill();
    // The study named in the edit field replaces the board's tour and challenge, repainted at
    // once.
    void Load(CChessBoardWnd& board);
    // The board's tour and challenge are written under the typed name, or the first free number.
    void Save(const CChessBoardWnd& board);
    // The study at `index` leaves the file and the list (nothing happens for CB_ERR).
    void Delete(int index);

    // The list's names, in list order.
    std::vector<std::wstring> Names() const;

private:
    int FindExact(const std::wstring& name) const;
    bool KeepChallenge(const std::wstring& name, const std::wstring& challenge) const;
    void Report(UINT formatId, const std::wstring& subject) const;

    HWND combo_;
    const GameFile& file_;
    Desktop& desktop_;
};

}  // namespace saltor
