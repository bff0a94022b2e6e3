#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "main_dlg_fixture.h"
#include "resources/resource.h"

namespace saltor {
namespace {

class MainDlgTest : public MainDlgFixture {
protected:
    // The game controls in a row: '-' hidden, 'o' shown but disabled, 'X' shown and enabled.
    std::string Panel() const {
        std::string states;
        for (int id : {IDC_FIRST, IDC_BACK, IDC_FORWARD, IDC_LAST, IDC_BROWSE_FRAME, IDC_HINT,
                       IDC_SOLVE, IDC_NEW_GAME, IDC_SAVE_STUDY, IDC_LOAD_STUDY}) {
            const bool shown = (GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0;
            states += !shown ? '-' : IsWindowEnabled(Item(id)) ? 'X' : 'o';
        }
        return states;
    }

    void ClickSquares(std::initializer_list<Square> squares) {
        for (const Square s : squares) {
            const LPARAM at = MAKELPARAM(s.column * 70 + 35, (7 - s.row) * 70 + 35);
            SendMessageW(BoardWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(BoardWnd(), WM_LBUTTONUP, 0, at);
        }
        Pump();
    }

    // Where a control lies in the dialog's client area.
    RECT InDlg(int id) const {
        RECT r{};
        GetWindowRect(Item(id), &r);
        MapWindowPoints(nullptr, Dlg(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

TEST_F(MainDlgTest, ButtonsFollowTheGameAndHintAndSolveStepAndEndInBrowseMode) {
    EXPECT_EQ(GetFocus(), BoardWnd());  // not "Quitter", which Enter would press
    EXPECT_EQ(Panel(), "-o---ooooo");
    ClickSquares({{0, 0}});
    EXPECT_EQ(Panel(), "-X---oXXXo");  // a hint needs a position to search from
    ClickSquares({{1, 2}});
    EXPECT_EQ(Panel(), "-X---XXXXo");
    Click(IDC_SOLVE);
    ASSERT_EQ(Game().tour.moveCount, 99);
    EXPECT_EQ(GetFocus(), BoardWnd());  // handed over by the button that was disabled

    // Solved, the knight stands on move 2 (0: nothing sent). Then each browse button, and the
    // hidden Hint and the disabled Solve: one step forward and to the end.
    // clang-format off
    const std::tuple<int, int, const char*> steps[] = {
        {0, 1, "XXXXX-oXXo"}, {IDC_FIRST, 0, "ooXXX-oXXo"}, {IDC_FORWARD, 1, "XXXXX-oXXo"},
        {IDC_LAST, 63, "XXooX-oXXo"}, {IDC_BACK, 62, "XXXXX-oXXo"}, {IDC_FIRST, 0, "ooXXX-oXXo"},
        {IDC_HINT, 1, "XXXXX-oXXo"}, {IDC_SOLVE, 63, "XXooX-oXXo"}};
    // clang-format on
    for (const auto& [command, browseIndex, panel] : steps) {
        SendMessageW(Dlg(), WM_COMMAND, command, 0);
        Pump();
        EXPECT_EQ(Game().browseIndex, browseIndex) << command;
        EXPECT_EQ(Panel(), panel) << command;
    }
}

// B3, D4 and C2 leave A1 without a way in, which the judge calls at once; B3 again is refused.
// The first row clicks no box but New game once more.
TEST_F(MainDlgTest, NoHintsSilencesOnlyTheJudgeAndMuteSilencesEverything) {
    const std::pair<int, std::vector<BeepKind>> boxes[] = {
        {IDC_NEW_GAME, {BeepKind::Exclamation, BeepKind::Exclamation, BeepKind::Plain}},
        {IDC_NO_HINTS, {BeepKind::Plain}},
        {IDC_MUTE, {}}};
    for (const auto& [box, expected] : boxes) {
        Click(IDC_NEW_GAME);
        Click(box);
        desktop_.beeps.clear();
        ClickSquares({{1, 2}, {3, 3}, {2, 1}, {4, 0}, {1, 2}});
        EXPECT_EQ(desktop_.beeps, expected) << box;
        Click(box);
    }
    EXPECT_TRUE(settings_.HintsEnabled && !settings_.Mute);
}

TEST_F(MainDlgTest, LaysOutBesideTheBoardAndCtrlZAndSpaceWorkWhereverTheFocusIs) {
    RECT client{}, before{}, now{};
    GetClientRect(Dlg(), &client);
    EXPECT_EQ(client.bottom, 560);
    EXPECT_EQ(InDlg(IDC_SPLITTER).left, 560);
    EXPECT_EQ(InDlg(IDCANCEL).left, 570);
    EXPECT_EQ(InDlg(IDCANCEL).bottom, 550);
    SetWindowPos(Dlg(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(Dlg(), &before);

    ClickSquares({{0, 0}, {1, 2}, {3, 3}, {5, 4}, {7, 5}});
    SetFocus(StudyEdit());
    Key(StudyEdit(), 'X');
    wchar_t typed[8] = {};
    GetWindowTextW(StudyEdit(), typed, 8);
    ASSERT_EQ(std::wstring(typed), L"x");  // the field does take keys

    int moves = 5;
    for (HWND focus : {BoardWnd(), StudyEdit(), Item(IDC_NEW_GAME), Item(IDC_MUTE)}) {
        SetFocus(focus);
        Key(focus, 'Z', true);
        EXPECT_EQ(Game().tour.moveCount, --moves);
        const bool wasShown = dlg_->PanelShown();
        Key(focus, VK_SPACE);
        EXPECT_NE(dlg_->PanelShown(), wasShown);
        // Hidden: the board and the splitter only, in the same place; shown: as before.
        RECT expected = before;
        expected.right = wasShown ? 40 + 560 + 20 : before.right;
        GetWindowRect(Dlg(), &now);
        EXPECT_TRUE(EqualRect(&now, &expected));
    }
    EXPECT_EQ(InDlg(IDC_PREFERENCES).left, 570);  // the column is moved back once, not twice
    // A new square size, as Preferences will set it: the column moves once, to the new edge.
    settings_.CellSize = 80;
    dlg_->Board().FollowSettings();
    SendMessageW(Dlg(), WM_SIZE, 0, 0);
    EXPECT_EQ(InDlg(IDC_PREFERENCES).left, 650);
    EXPECT_EQ(InDlg(IDCANCEL).bottom, 630);
    GetWindowTextW(StudyEdit(), typed, 8);
    EXPECT_EQ(std::wstring(typed), L"x");
    EXPECT_EQ(Game().tour.moveCount, 1);  // "Nouvelle partie" not pressed
    EXPECT_FALSE(settings_.Mute);
}

TEST_F(MainDlgTest, EnterPressesTheFocusedButtonButNeverQuits) {
    // The focus moved as Tab moves it, which makes the button the default one.
    const auto focusAndEnter = [this](int id) {
        SendMessageW(Dlg(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
        Key(Item(id), VK_RETURN);
    };
    ClickSquares({{0, 0}});
    focusAndEnter(IDCANCEL);
    ASSERT_TRUE(IsWindow(Dlg()));
    focusAndEnter(IDC_NEW_GAME);
    EXPECT_EQ(Game().tour.moveCount, 0);
}

// Pixels that the window no longer holds, as a closing dialog leaves them under X until its area
// is repainted: larger squares, as Preferences applies them, must leave nothing of them, and so
// must the panel hidden and shown again. What shows is what a full repaint draws.
TEST_F(MainDlgTest, LargerSquaresAndThePanelLeaveNoControlUnpainted) {
    const auto fullRepaint = [this] {
        RedrawWindow(Dlg(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return Capture();
    };
    const auto stain = [this] {
        RECT client{};
        GetClientRect(Dlg(), &client);
        const WindowDc dc(Dlg());
        FillRect(dc.Get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    };
    Paint();
    stain();
    settings_.CellSize = 90;
    dlg_->Board().FollowSettings();
    SendMessageW(Dlg(), WM_SIZE, 0, 0);
    Paint();
    const std::vector<uint32_t> shown = Capture();
    ASSERT_FALSE(shown.empty());
    EXPECT_TRUE(shown == fullRepaint());

    for (int toggle = 0; toggle < 2; ++toggle) {
        Key(BoardWnd(), VK_SPACE);
        Paint();
        EXPECT_TRUE(Capture() == fullRepaint()) << toggle;
    }
}

}  // namespace
}  // namespace saltor
