#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "app/html_help.h"
#include "app/message_loop.h"
#include "app/study_list.h"
#include "app/window_base.h"
#include "board/chess_board_wnd.h"
#include "settings/app_settings.h"

namespace saltor {

// The main window: a modeless dialog with the board on the left and a column of controls on the
// right. It forwards the game buttons and keys to the board as commands, keeps the two run-time
// switches of the settings in step with its check boxes, lays itself out around the board, and
// brings its buttons up to date each time the message queue runs dry.
class CMainDlg : public CDialogBase, public CMessageFilter, public CIdleHandler {
public:
    explicit CMainDlg(AppSettings& settings);
    ~CMainDlg() override;

    // Creates the window from its template, with no owner.
    HWND Create(HINSTANCE instance);

    CChessBoardWnd& Board() { return board_; }
    bool PanelShown() const { return panelShown_; }

    // Before Create: the game file of the studies (the program's own by default), and the
    // study error box (null puts back the message box). The window does not own the feedback.
    void SetGameFilePath(std::wstring path) { gameFile_ = GameFile(std::move(path)); }
    void SetStudyFeedback(StudyFeedback* feedback);
    // Before the help command: who opens help pages in a browser (null puts back the system's).
    void SetHelpBrowser(HelpBrowser* browser);

    bool PreTranslateMessage(MSG* msg) override;
    bool OnIdle() override;

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void OnInitDialog();
    void OnDestroy();
    void OnCommand(int id);
    void Layout();
    void TogglePanel();
    void OpenPreferences();
    void SendBoardCommand(int command);
    bool IsOverSplitter(POINT clientPoint) const;
    void UpdateCursor(POINT clientPoint) const;
    bool TranslateBoardKey(const MSG& msg);
    void DeleteStudyOnKey(const MSG& msg);

    AppSettings& settings_;
    CChessBoardWnd board_;
    bool panelShown_ = true;
    bool recentre_ = true;
    bool inLayout_ = false;
    bool restoring_ = false;  // minimised: the next size change is the restore
    HINSTANCE instance_ = nullptr;
    HWND studyList_ = nullptr;
    GameFile gameFile_;
    StudyFeedback defaultStudyFeedback_;
    StudyFeedback* studyFeedback_ = &defaultStudyFeedback_;
    HelpBrowser defaultHelpBrowser_;
    HelpBrowser* helpBrowser_ = &defaultHelpBrowser_;
    std::unique_ptr<StudyList> studies_;
    HACCEL accelerators_ = nullptr;
};

}  // namespace saltor
