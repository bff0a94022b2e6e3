#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "board/chess_board_wnd_win.h"
#include "recording_desktop.h"
#include "reference/board_fakes.h"
#include "resources/resource.h"

namespace saltor {
namespace {

constexpr int kCell = 60;

LPARAM CentreOf(Square s) {
    return MAKELPARAM(s.column * kCell + kCell / 2, (7 - s.row) * kCell + kCell / 2);
}

// The rules themselves are tested natively; here, that the window's messages reach them.
class ChessBoardWndTest : public testing::Test {
protected:
    void SetUp() override {
        settings.CellSize = kCell;
        settings.CalcDuration = 60000;
        // A plain top-level window stands in for the main window.
        parent = CreateWindowExW(0, L"STATIC", L"Saltor", WS_POPUP | WS_VISIBLE, 100, 100, 700, 600,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        board = std::make_unique<CChessBoardWnd>(settings, desktop);
        ASSERT_NE(board->Create(parent), nullptr);
        hwnd = board->Hwnd();
    }
    void TearDown() override {
        board.reset();
        DestroyWindow(parent);
    }

    const TourState& Tour() const { return board->Game().tour; }
    void Click(Square s) { SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(s)); }
    LRESULT Command(int id) { return SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::pair<LONG, LONG> WindowSize() const {
        RECT r{};
        GetWindowRect(hwnd, &r);
        return {r.right - r.left, r.bottom - r.top};
    }

    AppSettings settings;
    RecordingDesktop desktop;
    HWND parent = nullptr;
    std::unique_ptr<CChessBoardWnd> board;
    HWND hwnd = nullptr;
};

TEST_F(ChessBoardWndTest, AnySizeNoticeBringsBackEightSquaresOfTheSettingsSize) {
    SetWindowPos(hwnd, nullptr, 0, 0, 100, 30, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(WindowSize(), std::pair(8L * kCell, 8L * kCell));
    settings.CellSize = 75;
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(480, 480));
    EXPECT_EQ(WindowSize(), std::pair(600L, 600L));
}

TEST_F(ChessBoardWndTest, ClicksAndCommandsReachTheGame) {
    SetFocus(parent);
    Click({0, 0});
    EXPECT_EQ(GetFocus(), hwnd);
    Click({1, 2});
    Click({1, 2});  // visited: refused
    EXPECT_EQ(Tour().moveCount, 2);
    EXPECT_EQ(desktop.beeps, std::vector<BeepKind>{BeepKind::Plain});

    for (const int command : {IDC_FORWARD, IDC_BACK, IDC_LAST, IDC_FIRST}) {
        EXPECT_EQ(Command(command), 0);
    }
    EXPECT_EQ(board->Game().hintCount, 1);
    EXPECT_TRUE(Tour().IsComplete());
    EXPECT_EQ(board->Game().browseIndex, 0);
    Command(IDC_NEW_GAME);
    EXPECT_EQ(Tour().moveCount, 0);
}

TEST_F(ChessBoardWndTest, FinishingByHandReportsInFrench) {
    const std::array<Square, 64> tour = TourFromA1();
    for (int i = 0; i < 64; ++i) {
        Click(tour[i]);
        if (i == 30) {
            Command(IDC_FORWARD);
        }
    }
    EXPECT_EQ(desktop.Texts(), std::vector<std::wstring>{L"Bravo !\n\nRésultats :\n - coups "
                                                         L"joués :\t64\n - erreurs :\t0\n"
                                                         L" - conseils :\t1"});
}

TEST_F(ChessBoardWndTest, AKeyPressQueuedBeforeASolveCancelsItAndIsConsumed) {
    Click({3, 3});  // from d4 alone the search has to back up
    PostMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    Command(IDC_LAST);
    EXPECT_EQ(Tour().moveCount, 1);
    EXPECT_EQ(Tour().errorCount, 1);
    EXPECT_EQ(desktop.beeps, std::vector<BeepKind>{BeepKind::Exclamation});
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, hwnd, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));

    // With nothing in the queue the same search runs to its tour.
    Command(IDC_LAST);
    EXPECT_TRUE(Tour().IsComplete());
}

TEST_F(ChessBoardWndTest, AQuitRequestDuringASearchIsKeptForTheMessageLoop) {
    Click({3, 3});
    PostQuitMessage(7);
    Command(IDC_LAST);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(ChessBoardWndTest, ASearchWithNoBoardWindowLeavesTheQueueAlone) {
    WinSearchHost host;
    TourState tour;
    tour.Play({3, 3});
    PostMessageW(parent, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(TourSearch(tour, host).Solve(true, 60000));
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, parent, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
}

TEST_F(ChessBoardWndTest, PlayingGamesLeaksNoGdiObjects) {
    const std::array<Square, 64> tour = TourFromA1();
    const auto playGames = [&] {
        for (int game = 0; game < 3; ++game) {
            Command(IDC_NEW_GAME);
            for (const Square& s : tour) {
                Click(s);
            }
            Command(IDC_FORWARD);
            Command(IDC_LAST);
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
    };
    playGames();  // first use may load what stays loaded (fonts, cursors)
    const DWORD gdi = GdiObjects();
    ASSERT_GT(gdi, 0u);
    playGames();
    EXPECT_EQ(desktop.boxes.size(), 6u);
    EXPECT_EQ(GdiObjects(), gdi);
}

}  // namespace
}  // namespace saltor
