#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_module.h"
#include "app/main_dlg.h"
#include "app/message_loop.h"
#include "resources/resource.h"
#include "settings/settings_file_win.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

class RecordingFeedback : public BoardFeedback {
public:
    void Beep(BeepKind kind) override { beeps.push_back(kind); }
    void Report(HWND, const std::wstring&) override {}
    std::vector<BeepKind> beeps;
};

std::wstring TextOf(HWND hwnd) {
    wchar_t text[128] = {};
    GetWindowTextW(hwnd, text, 128);
    return text;
}

bool SameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

// The real main window on this thread, driven by messages through a registered loop as in the
// program. This test program's settings file is put aside, so squares are 70 pixels.
class MainDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        settingsPath_ = SettingsFilePath();
        if (std::ifstream in{settingsPath_, std::ios::binary}) {
            backup_ = std::string(std::istreambuf_iterator<char>(in), {});
        }
        fs::remove(settingsPath_);
        g_module.Init(GetModuleHandleW(nullptr));
        g_module.AddMessageLoop(&loop_);
        dlg_ = std::make_unique<CMainDlg>(settings_);
        dlg_->Board().SetFeedback(&feedback_);
        ASSERT_NE(dlg_->Create(GetModuleHandleW(nullptr)), nullptr);
        ShowWindow(Dlg(), SW_SHOW);
        Pump();
    }

    void TearDown() override {
        dlg_.reset();
        g_module.RemoveMessageLoop();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        if (backup_) {
            std::ofstream(settingsPath_, std::ios::binary | std::ios::trunc) << *backup_;
        }
    }

    // Runs the loop over everything queued, then the idle pass of a drained queue.
    void Pump() {
        PostQuitMessage(0);
        loop_.Run();
        if (Dlg() != nullptr) {
            dlg_->OnIdle();
        }
    }

    HWND Dlg() const { return dlg_->Hwnd(); }
    HWND Item(int id) const { return GetDlgItem(Dlg(), id); }
    HWND BoardWnd() const { return dlg_->Board().Hwnd(); }
    HWND StudyEdit() const { return GetWindow(Item(IDC_STUDY_LIST), GW_CHILD); }
    const BoardGame& Game() const { return dlg_->Board().Game(); }
    bool Shown(int id) const { return (GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

    void ClickSquares(std::initializer_list<Square> squares) {
        for (const Square s : squares) {
            const LPARAM at = MAKELPARAM(s.column * 70 + 35, (7 - s.row) * 70 + 35);
            SendMessageW(BoardWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(BoardWnd(), WM_LBUTTONUP, 0, at);
        }
        Pump();
    }
    // B3, D4, C2 leaves A1 without a way in: from there on every move is judged lost.
    void PlayALosingLine() { ClickSquares({{1, 2}, {3, 3}, {2, 1}, {4, 0}}); }

    void Click(int id) {
        SendMessageW(Item(id), BM_CLICK, 0, 0);
        Pump();
    }

    // A key as the keyboard queues it for `target`, with Control held down or not.
    void Key(HWND target, WPARAM vk, bool ctrl = false) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = static_cast<BYTE>(ctrl ? 0x80 : 0);
        SetKeyboardState(keys);
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), 0)) << 16;
        PostMessageW(target, WM_KEYDOWN, vk, 1 | scan);
        PostMessageW(target, WM_KEYUP, vk, 1 | scan | 0xC0000000);
        Pump();
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }

    RECT WindowRectOf(HWND hwnd) const {
        RECT r{};
        GetWindowRect(hwnd, &r);
        return r;
    }
    RECT ChildRect(int id) const {
        RECT r = WindowRectOf(Item(id));
        MapWindowPoints(nullptr, Dlg(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    LONG ClientHeight(HWND hwnd) const {
        RECT r{};
        GetClientRect(hwnd, &r);
        return r.bottom;
    }

    fs::path settingsPath_;
    std::optional<std::string> backup_;
    CMessageLoop loop_;
    AppSettings settings_;
    RecordingFeedback feedback_;
    std::unique_ptr<CMainDlg> dlg_;
};

TEST_F(MainDlgTest, OpensWithTheBoardFocusedAndTheControlsOfAnEmptyBoard) {
    EXPECT_EQ(TextOf(Dlg()), L"Cavalier Saltor");
    EXPECT_EQ(TextOf(Item(ID_APP_ABOUT)), L"\u00c0 propos\u2026");  // the script's UTF-8 holds
    EXPECT_NE(SendMessageW(Item(IDC_HINT), BM_GETIMAGE, IMAGE_ICON, 0), 0);
    EXPECT_EQ(GetFocus(), BoardWnd());  // not "Quitter", which Enter would press
    for (int id : {IDC_FIRST, IDC_FORWARD, IDC_LAST, IDC_BROWSE_FRAME}) {
        EXPECT_FALSE(Shown(id)) << id;
    }
    for (int id : {IDC_BACK, IDC_HINT, IDC_SOLVE, IDC_NEW_GAME, IDC_SAVE_STUDY, IDC_LOAD_STUDY}) {
        EXPECT_TRUE(Shown(id) && !Enabled(id)) << id;
    }
}

TEST_F(MainDlgTest, ButtonsFollowTheGameIntoBrowseModeAndToBothEnds) {
    ClickSquares({{0, 0}});
    EXPECT_TRUE(Enabled(IDC_NEW_GAME) && Enabled(IDC_BACK) && Enabled(IDC_SAVE_STUDY) &&
                Enabled(IDC_SOLVE));
    EXPECT_FALSE(Enabled(IDC_HINT));
    ClickSquares({{1, 2}});
    EXPECT_TRUE(Enabled(IDC_HINT));

    Click(IDC_SOLVE);
    ASSERT_EQ(Game().tour.moveCount, 99);
    EXPECT_FALSE(Shown(IDC_HINT));
    EXPECT_FALSE(Enabled(IDC_SOLVE));
    EXPECT_EQ(GetFocus(), BoardWnd());  // handed over by the button that was disabled
    for (int id : {IDC_FIRST, IDC_BACK, IDC_FORWARD, IDC_LAST}) {
        EXPECT_TRUE(Shown(id) && Enabled(id)) << id;  // the knight stands on move 2 of 64
    }
    EXPECT_TRUE(Shown(IDC_BROWSE_FRAME));

    Click(IDC_FIRST);
    EXPECT_FALSE(Enabled(IDC_FIRST) || Enabled(IDC_BACK));
    Click(IDC_LAST);
    EXPECT_FALSE(Enabled(IDC_FORWARD) || Enabled(IDC_LAST));
    EXPECT_TRUE(Enabled(IDC_FIRST) && Enabled(IDC_BACK));
}

TEST_F(MainDlgTest, HintAndSolutionAreSentAsTheBoardsForwardAndLastCommands) {
    ClickSquares({{0, 0}, {1, 2}});
    SendMessageW(Dlg(), WM_COMMAND, IDC_HINT, 0);
    EXPECT_EQ(Game().hintCount, 1);
    SendMessageW(Dlg(), WM_COMMAND, IDC_SOLVE, 0);
    ASSERT_EQ(Game().tour.moveCount, 99);
    SendMessageW(Dlg(), WM_COMMAND, IDC_HINT, 0);  // in browse mode: one step forward
    EXPECT_EQ(Game().browseIndex, 2);
    SendMessageW(Dlg(), WM_COMMAND, IDC_SOLVE, 0);  // and the end of the tour
    EXPECT_EQ(Game().browseIndex, 63);
}

TEST_F(MainDlgTest, NoHintsStopsTheJudgeAtOnceAndMuteSilencesTheBoard) {
    PlayALosingLine();
    ASSERT_FALSE(feedback_.beeps.empty());
    EXPECT_EQ(feedback_.beeps.front(), BeepKind::Exclamation);

    Click(IDC_NEW_GAME);
    feedback_.beeps.clear();
    InvalidateRect(BoardWnd(), nullptr, TRUE);
    SendMessageW(Item(IDC_NO_HINTS), BM_CLICK, 0, 0);
    EXPECT_FALSE(settings_.HintsEnabled);
    EXPECT_FALSE(GetUpdateRect(BoardWnd(), nullptr, FALSE));  // repainted before returning
    PlayALosingLine();
    EXPECT_TRUE(feedback_.beeps.empty());
    Click(IDC_NO_HINTS);
    EXPECT_TRUE(settings_.HintsEnabled);

    Click(IDC_NEW_GAME);
    Click(IDC_MUTE);
    EXPECT_TRUE(settings_.Mute);
    PlayALosingLine();
    ClickSquares({{1, 2}});  // visited already: refused
    EXPECT_TRUE(feedback_.beeps.empty());
    Click(IDC_MUTE);
    ClickSquares({{1, 2}});
    EXPECT_EQ(feedback_.beeps, std::vector<BeepKind>{BeepKind::Plain});
}

TEST_F(MainDlgTest, LaysOutBesideA560PixelBoardAndTogglesThePanelInPlace) {
    EXPECT_EQ(ClientHeight(BoardWnd()), 560);
    EXPECT_EQ(ClientHeight(Dlg()), 560);
    EXPECT_EQ(ChildRect(IDC_PREFERENCES).left, 570);
    EXPECT_EQ(ChildRect(IDCANCEL).left, 570);
    EXPECT_EQ(ChildRect(IDCANCEL).bottom, 550);
    EXPECT_EQ(ChildRect(IDC_SPLITTER).left, 560);

    SetWindowPos(Dlg(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const RECT before = WindowRectOf(Dlg());
    Key(BoardWnd(), VK_SPACE);
    EXPECT_FALSE(dlg_->PanelShown());
    EXPECT_EQ(WindowRectOf(Dlg()).right, 40 + 560 + 20);
    Key(BoardWnd(), VK_SPACE);
    EXPECT_TRUE(SameRect(WindowRectOf(Dlg()), before));

    // The splitter stays in view with the panel hidden: a click there brings the panel back.
    SendMessageW(Dlg(), WM_MOUSEMOVE, 0, MAKELPARAM(562, 200));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));
    SendMessageW(Dlg(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(562, 200));
    EXPECT_FALSE(dlg_->PanelShown());
    SendMessageW(Dlg(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(562, 200));
    EXPECT_TRUE(SameRect(WindowRectOf(Dlg()), before));

    // Back from the task bar the window stays where the player put it.
    ShowWindow(Dlg(), SW_MINIMIZE);
    ShowWindow(Dlg(), SW_RESTORE);
    Pump();
    EXPECT_TRUE(SameRect(WindowRectOf(Dlg()), before));
    EXPECT_EQ(ChildRect(IDC_PREFERENCES).left, 570);
}

// What Preferences will do after OK: a new square size, the board told first, then the window.
TEST_F(MainDlgTest, ANewSquareSizeMovesTheColumnOnceAndCentresTheWindowAgain) {
    SetWindowPos(Dlg(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    settings_.CellSize = dlg_->Board().Game().cellSize = 80;
    SendMessageW(BoardWnd(), WM_SIZE, 0, 0);
    SendMessageW(Dlg(), WM_SIZE, 0, 0);
    EXPECT_EQ(ClientHeight(Dlg()), 640);
    EXPECT_EQ(ChildRect(IDC_PREFERENCES).left, 650);
    EXPECT_EQ(ChildRect(IDCANCEL).left, 650);
    EXPECT_EQ(ChildRect(IDCANCEL).bottom, 630);
    EXPECT_GT(WindowRectOf(Dlg()).left, 0);
}

TEST_F(MainDlgTest, CtrlZAndSpaceWorkWhereverTheFocusIsAndSpaceTypesNothing) {
    ClickSquares({{0, 0}, {1, 2}, {3, 3}, {5, 4}, {7, 5}});
    for (HWND focus : {BoardWnd(), StudyEdit(), Item(IDC_NEW_GAME), Item(IDC_MUTE)}) {
        SetFocus(focus);
        const int before = Game().tour.moveCount;
        Key(focus, 'Z', true);
        EXPECT_EQ(Game().tour.moveCount, before - 1);
    }
    SetFocus(StudyEdit());
    Key(StudyEdit(), 'X');
    ASSERT_EQ(TextOf(StudyEdit()), L"x");  // the field does take keys
    Key(StudyEdit(), VK_SPACE);
    EXPECT_EQ(TextOf(StudyEdit()), L"x");
    EXPECT_FALSE(dlg_->PanelShown());

    SetFocus(Item(IDC_NEW_GAME));  // Space does not press the focused button either
    Key(Item(IDC_NEW_GAME), VK_SPACE);
    EXPECT_TRUE(dlg_->PanelShown());
    EXPECT_EQ(Game().tour.moveCount, 1);
}

TEST_F(MainDlgTest, BoardKeysWorkOnlyWhileTheBoardHasTheFocus) {
    ClickSquares({{0, 0}, {1, 2}, {3, 3}});
    SetFocus(BoardWnd());
    Key(BoardWnd(), VK_BACK);
    EXPECT_EQ(Game().tour.moveCount, 2);
    Key(BoardWnd(), 'C');
    EXPECT_EQ(Game().hintCount, 1);
    Key(BoardWnd(), 'S');
    ASSERT_EQ(Game().tour.moveCount, 99);
    Key(BoardWnd(), VK_HOME);
    Key(BoardWnd(), VK_RIGHT);
    Key(BoardWnd(), 'A');
    Key(BoardWnd(), VK_LEFT);
    EXPECT_EQ(Game().browseIndex, 1);
    Key(BoardWnd(), VK_END);
    EXPECT_EQ(Game().browseIndex, 63);

    SetFocus(Item(IDC_PREFERENCES));
    Key(Item(IDC_PREFERENCES), VK_F2);
    EXPECT_EQ(Game().tour.moveCount, 99);
    SetFocus(BoardWnd());
    Key(BoardWnd(), VK_F2);
    EXPECT_EQ(Game().tour.moveCount, 0);
}

TEST_F(MainDlgTest, EnterAndEscapeNeverCloseTheWindowButQuitterEndsTheLoopWithTwo) {
    for (HWND focus : {BoardWnd(), StudyEdit()}) {
        SetFocus(focus);
        Key(focus, VK_RETURN);
        Key(focus, VK_ESCAPE);
    }
    ASSERT_TRUE(IsWindow(Dlg()));
    const HWND dlg = Dlg();
    PostMessageW(Item(IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(loop_.Run(), 2);
    EXPECT_FALSE(IsWindow(dlg));
}

}  // namespace
}  // namespace saltor
