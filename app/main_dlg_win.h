#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "app/main_window_rules.h"
#include "app/practice_controls_win.h"
#include "app/study_list_win.h"
#include "board/chess_board_wnd_win.h"
#include "journal/journal_record.h"
#include "settings/app_settings.h"
#include "winkit/desktop_win.h"
#include "winkit/handles_win.h"
#include "winkit/message_loop_win.h"
#include "winkit/window_base_win.h"

namespace saltor {

// The main window: a modeless dialog with the board on the left and a column of controls on the
// right. It forwards the game buttons and keys to the board as commands, keeps the two run-time
// switches of the settings in step with its check boxes, lays itself out around the board, and
// brings its buttons up to date each time the message queue runs dry.
class CMainDlg : public CDialogBase, public CMessageFilter, public CIdleHandler {
public:
    // Beeps, boxes, file and colour dialogs and the browser go through `desktop`, for the
    // window and all it opens.
    CMainDlg(AppSettings& settings, Desktop& desktop);
    ~CMainDlg() override;

    // Creates the window from its template, with no owner.
    HWND Create(HINSTANCE instance);

    CChessBoardWnd& Board() { return board_; }
    bool PanelShown() const { return panelShown_; }

    // Before Create: the game file of the studies (the program's own by default).
    void SetGameFilePath(std::wstring path) { gameFile_ = GameFile(std::move(path)); }

    bool PreTranslateMessage(MSG* msg) override;
    bool OnIdle() override;

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void OnInitDialog();
    void OnDestroy();
    void OnCommand(int id);
    void ShowChallenge();
    void ChooseChallenge();
    void Layout();
    void Relayout();  // without recentring
    void SetIcons();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void TogglePanel();
    void OpenPreferences();
    void SendBoardCommand(int controlId);
    bool IsOverSplitter(POINT clientPoint) const;
    void UpdateCursor(POINT clientPoint) const;
    bool TranslateBoardKey(const MSG& msg);
    void DeleteStudyOnKey(const MSG& msg);

    // The journal of games and the "Entraînement" menu: a game that ends adds its line; a
    // failed write is told once per run and the game goes on.
    void JournalGame(GameIssue issue);

    void OpenDrills();
    void OpenProgress();

    AppSettings& settings_;
    Desktop& desktop_;
    CChessBoardWnd board_;
    bool panelShown_ = true;
    bool recentre_ = true;
    bool inLayout_ = false;
    bool restoring_ = false;  // minimised: the next size change is the restore
    int dpi_ = 96;            // the window's display scale, which its designed lengths follow
    HINSTANCE instance_ = nullptr;
    HWND studyList_ = nullptr;
    GameFile gameFile_;
    std::unique_ptr<StudyList> studies_;
    PracticeControls practice_{board_};
    bool journalFailureTold_ = false;
    DWORD gameStartTick_ = 0;  // the player's first move of the game on the board
    // Each window loads its own table (Wine makes a new one every time, Windows counts the
    // loads), so each gives its own back.
    UniqueAccelerators accelerators_;
    // By the size of the window's big icon: that icon, the small one, then the five navigation
    // buttons'.
    static constexpr size_t kIconCount = 7;
    std::map<int, std::array<UniqueIcon, kIconCount>> icons_;
};

}  // namespace saltor
