#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "board/chess_board_wnd.h"
#include "engine/tour_search.h"
#include "files/tour_text.h"
#include "reference/scripted_host.h"

namespace saltor {
namespace {

constexpr int kCell = 60;

class RecordingFeedback : public BoardFeedback {
public:
    std::vector<BeepKind> beeps;
    std::vector<std::wstring> reports;
    std::vector<HWND> owners;

    void Beep(BeepKind kind) override { beeps.push_back(kind); }
    void Report(HWND owner, const std::wstring& text) override {
        owners.push_back(owner);
        reports.push_back(text);
    }
};

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A plain top-level window with the arrow as its class cursor, standing in for the main window.
HWND CreateParent() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    if (!GetClassInfoW(instance, L"BoardTestParent", &wc)) {
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"BoardTestParent";
        RegisterClassW(&wc);
    }
    return CreateWindowExW(0, L"BoardTestParent", L"Saltor", WS_POPUP | WS_VISIBLE, 100, 100, 700,
                           600, nullptr, nullptr, instance, nullptr);
}

// A tour from a1 as the search finds it.
std::array<Square, 64> TourFromA1() {
    TourState tour;
    tour.Play({0, 0});
    ScriptedHost host;
    TourSearch(tour, host).Solve(true, 0xFFFFFFFFu);
    return tour.moves;
}

LPARAM CentreOf(Square s) {
    return MAKELPARAM(s.column * kCell + kCell / 2, (7 - s.row) * kCell + kCell / 2);
}

// GDI objects of this process. Wine answers 0 from GetGuiResources, but it accepts a GDI handle
// given by its table index alone, so there the live objects can be counted one by one.
DWORD GdiObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) {
        return reported;
    }
    DWORD count = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) {
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0 ? 1 : 0;
    }
    return count;
}

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM counter) {
    ++*reinterpret_cast<DWORD*>(counter);
    EnumChildWindows(hwnd, CountWindow, counter);
    return TRUE;
}

// USER objects of this process; under Wine, where GetGuiResources answers 0, the windows of
// this thread (the USER objects the board could leak).
DWORD UserObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (reported != 0) {
        return reported;
    }
    DWORD count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

class ChessBoardWndTest : public testing::Test {
protected:
    void SetUp() override {
        settings.CellSize = kCell;
        settings.CalcDuration = 60000;
        parent = CreateParent();
        ASSERT_NE(parent, nullptr);
        board = std::make_unique<CChessBoardWnd>(settings);
        board->SetFeedback(&feedback);
        board->Game().cellSize = kCell;
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
    // Places the pointer on a point of the board's client area.
    void PointAt(int x, int y) {
        POINT p{x, y};
        ClientToScreen(hwnd, &p);
        SetCursorPos(p.x, p.y);
    }
    SIZE WindowSize() const {
        RECT r{};
        GetWindowRect(hwnd, &r);
        return {r.right - r.left, r.bottom - r.top};
    }

    AppSettings settings;
    RecordingFeedback feedback;
    HWND parent = nullptr;
    std::unique_ptr<CChessBoardWnd> board;
    HWND hwnd = nullptr;
};

TEST_F(ChessBoardWndTest, IsAVisibleChildOfEightSquaresAtTheParentsOrigin) {
    EXPECT_EQ(GetParent(hwnd), parent);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(GetDlgCtrlID(hwnd), 0);
    EXPECT_EQ(GetClassLongPtrW(hwnd, GCLP_HCURSOR), 0u);  // the board chooses its cursors itself
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(WindowSize().cx, 8 * kCell);
    EXPECT_EQ(WindowSize().cy, 8 * kCell);
    EXPECT_EQ(Tour().moveCount, 0);

    // Any size notice brings it back to eight squares of the setting's size.
    SetWindowPos(hwnd, nullptr, 0, 0, 100, 30, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(WindowSize().cx, 8 * kCell);
    settings.CellSize = 75;
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(480, 480));
    EXPECT_EQ(WindowSize().cx, 600);
    EXPECT_EQ(WindowSize().cy, 600);

    // Destroying the object takes the window with it, while the parent lives on.
    board.reset();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(IsWindow(parent));
}

TEST_F(ChessBoardWndTest, TheBackgroundEraseDrawsTheBoard) {
    settings.SolidColor = true;
    settings.WhiteBgColor = 0x00C0FFEE;
    settings.BlackBgColor = 0x00123456;
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 8 * kCell, 8 * kCell);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(dc, bitmap);

    EXPECT_NE(SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
    // a8 and h1 are white squares, a7 a black one.
    EXPECT_EQ(GetPixel(dc, 2, 2), settings.WhiteBgColor);
    EXPECT_EQ(GetPixel(dc, 8 * kCell - 2, 8 * kCell - 2), settings.WhiteBgColor);
    EXPECT_EQ(GetPixel(dc, 2, kCell + 2), settings.BlackBgColor);

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// The rules themselves are tested natively; here, that the messages reach them.
TEST_F(ChessBoardWndTest, ClicksAndCommandsReachTheGame) {
    SetFocus(parent);
    Click({0, 0});
    EXPECT_EQ(GetFocus(), hwnd);
    Click({1, 2});
    Click({1, 2});                                              // visited: refused
    SendMessageW(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(-5, 10));  // off the board: ignored
    EXPECT_EQ(Tour().moveCount, 2);
    EXPECT_EQ(feedback.beeps, std::vector<BeepKind>{BeepKind::Plain});

    for (const int command : {CmdForwardOrHint, CmdBack, CmdLastOrSolve, CmdFirstOrRestart}) {
        EXPECT_EQ(Command(command), 0);
    }
    EXPECT_EQ(board->Game().hintCount, 1);
    EXPECT_TRUE(Tour().IsComplete());
    EXPECT_EQ(board->Game().browseIndex, 0);
    EXPECT_EQ(Command(CmdNewGame), 0);
    EXPECT_EQ(Tour().moveCount, 0);
}

TEST_F(ChessBoardWndTest, FinishingByHandReportsInFrench) {
    const std::array<Square, 64> tour = TourFromA1();
    for (int i = 0; i < 30; ++i) {
        Click(tour[i]);
    }
    Command(CmdForwardOrHint);
    for (int i = 30; i < 64; ++i) {
        Click(tour[i]);
    }
    ASSERT_TRUE(Tour().IsComplete());
    EXPECT_TRUE(feedback.beeps.empty());
    ASSERT_EQ(feedback.reports.size(), 1u);
    EXPECT_EQ(feedback.reports[0],
              L"Bravo !\n\nRésultats :\n - coups joués :\t64\n - erreurs :\t0\n"
              L" - conseils :\t1");
    EXPECT_EQ(feedback.owners[0], hwnd);
}

TEST(ChessBoardReportTest, CountersFillTheDirectivesInOrder) {
    EXPECT_EQ(FormatReport(L"%d-%d-%d", 7, -1, 0), L"7--1-0");
    EXPECT_EQ(FormatReport(L"100%% %d", 3, 4, 5), L"100% 3");
    // Directives beyond the three counters, or of another kind, are left as they are.
    EXPECT_EQ(FormatReport(L"%d %s %d %d %d%", 1, 2, 3), L"1 %s 2 3 %d%");
    EXPECT_EQ(LoadResourceString(65000, L"absent"), L"absent");
}

TEST_F(ChessBoardWndTest, AKeyPressQueuedBeforeASolveCancelsItAndIsConsumed) {
    Click({3, 3});  // from d4 alone the search has to back up
    PostMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    const DWORD start = GetTickCount();
    Command(CmdLastOrSolve);
    EXPECT_LT(GetTickCount() - start, 5000u);  // far below the minute it was allowed
    EXPECT_EQ(Tour().moveCount, 1);
    EXPECT_EQ(Tour().errorCount, 1);
    EXPECT_EQ(Tour().firstDoubtfulMove, 0);
    EXPECT_EQ(Tour().firstLostMove, NoMark);
    EXPECT_EQ(feedback.beeps, std::vector<BeepKind>{BeepKind::Exclamation});
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, hwnd, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));

    // A click is taken the same way, and plays nothing.
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, CentreOf({1, 2}));
    Command(CmdLastOrSolve);
    EXPECT_EQ(Tour().moveCount, 1);
    EXPECT_EQ(Tour().errorCount, 2);
    EXPECT_FALSE(PeekMessageW(&msg, hwnd, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));

    // With nothing in the queue the same search runs to its tour.
    Command(CmdLastOrSolve);
    EXPECT_TRUE(Tour().IsComplete());
}

TEST_F(ChessBoardWndTest, AKeyPressDuringALongSearchStopsItAtOnce) {
    // Its search goes on for much longer than the budget below.
    DecodeTour(board->Game().tour, L"F3;D4;B5;C3;D1;F2;H1;G3;H5;F4;E6;C7;E8;D6;E4;G5;H7;F6;G4");
    ASSERT_EQ(Tour().moveCount, 19);
    settings.CalcDuration = 20000;
    std::atomic<DWORD> posted{0};
    std::thread poster([&] {
        Sleep(200);
        posted = GetTickCount();
        PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    Command(CmdLastOrSolve);
    const DWORD returned = GetTickCount();
    poster.join();
    ASSERT_NE(posted.load(), 0u);
    // Seen within a few milliseconds; the bound leaves room for a busy machine.
    EXPECT_LT(returned - posted.load(), 1000u);
    EXPECT_EQ(Tour().moveCount, 19);
    EXPECT_EQ(Tour().errorCount, 1);
    EXPECT_EQ(Tour().firstLostMove, NoMark);
}

TEST_F(ChessBoardWndTest, TheCursorFollowsTheGameAndIsRestoredAfterASearch) {
    const HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR no = LoadCursorW(nullptr, IDC_NO);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);

    SendMessageW(hwnd, WM_MOUSEMOVE, 0, CentreOf({2, 2}));
    EXPECT_EQ(GetCursor(), hand);
    board->SetBoardCursorSource([cross] { return cross; });
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, CentreOf({2, 2}));
    EXPECT_EQ(GetCursor(), cross);

    Click({0, 0});
    EXPECT_EQ(GetCursor(), no);
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, CentreOf({1, 2}));
    EXPECT_EQ(GetCursor(), cross);
    SetCursor(arrow);
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(8 * kCell + 5, 10));  // off the board
    EXPECT_EQ(GetCursor(), arrow);

    // After a search the board picks the cursor for the square under the pointer, and off the
    // board the window under the pointer does, rather than leave the wait cursor up until the
    // mouse moves. The search must take a while: a brief one never shows the wait cursor.
    constexpr wchar_t kLongerSearch[] = L"A7;B5;D6;B7;A5;C6;D8;E6;C5;A4;B2;D3;E1;F3;H2;G4;F6;H5";
    DecodeTour(board->Game().tour, kLongerSearch);
    PointAt(kCell / 2, kCell / 2);
    SetCursor(cross);
    Command(CmdLastOrSolve);
    ASSERT_TRUE(Tour().IsComplete());
    EXPECT_EQ(GetCursor(), no);  // browse mode: no square takes the knight

    DecodeTour(board->Game().tour, kLongerSearch);
    PointAt(8 * kCell + 40, 40);
    SetCursor(cross);
    Command(CmdLastOrSolve);
    ASSERT_TRUE(Tour().IsComplete());
    EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(ChessBoardWndTest, PlayingGamesLeaksNoGdiOrUserObjects) {
    const std::array<Square, 64> tour = TourFromA1();
    const auto playGames = [&] {
        for (int game = 0; game < 3; ++game) {
            Command(CmdNewGame);
            for (const Square& s : tour) {
                Click(s);
            }
            Command(CmdForwardOrHint);
            Command(CmdLastOrSolve);
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
    };
    playGames();  // first use may load what stays loaded (fonts, cursors)
    const DWORD gdi = GdiObjects();
    const DWORD user = UserObjects();
    ASSERT_GT(gdi + user, 0u);
    playGames();
    EXPECT_TRUE(Tour().IsComplete());
    EXPECT_EQ(feedback.reports.size(), 6u);
    EXPECT_EQ(GdiObjects(), gdi);
    EXPECT_EQ(UserObjects(), user);
}

}  // namespace
}  // namespace saltor
