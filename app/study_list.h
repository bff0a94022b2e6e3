#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "board/chess_board_wnd.h"
#include "files/game_file_win.h"

namespace saltor {

// The message box that tells the player a study could not be saved or deleted. Tests put in one
// that records instead of waiting for a click.
class StudyFeedback {
public:
    virtual ~StudyFeedback() = default;
    virtual void Report(HWND owner, const std::wstring& text);
};

// The study list: the main window's combo box of study names, kept in step with the game file.
// Names are compared here, as the file compares them, and not with the combo's own searches,
// which take prefixes and whose case rules differ from the file's.
class StudyList {
public:
    StudyList(HWND combo, const GameFile& file, StudyFeedback& feedback)
        : combo_(combo), file_(file), feedback_(feedback) {}

    // Every name of the file, made lower case, in the combo's sorted order.
    void Fill();
    // The study named in the edit field replaces the board's tour, repainted at once.
    void Load(CChessBoardWnd& board);
    // The board's tour is written under the typed name, or the first free number.
    void Save(const CChessBoardWnd& board);
    // The study at `index` leaves the file and the list (nothing happens for CB_ERR).
    void Delete(int index);

    // The list's names, in list order.
    std::vector<std::wstring> Names() const;

private:
    int FindExact(const std::wstring& name) const;
    std::wstring EditText() const;
    void Report(UINT formatId, const wchar_t* fallback, const std::wstring& subject) const;

    HWND combo_;
    const GameFile& file_;
    StudyFeedback& feedback_;
};

}  // namespace saltor
