#pragma once

#include <windows.h>

#include <string>

#include "board/chess_board_wnd.h"
#include "engine/search_host.h"

namespace saltor {

// The core on its own: a clock and nothing else.
class BareHost final : public SearchHost {
public:
    uint32_t TickCount() override { return GetTickCount(); }
    bool PollCancel() override { return false; }
    void ShowBusy() override {}
    void SearchEnded() override {}
};

// No beeps and no message boxes while a benchmark plays.
class SilentFeedback final : public BoardFeedback {
public:
    void Beep(BeepKind) override {}
    void Report(HWND, const std::wstring&) override {}
};

// A silent board window of 70-pixel squares in a plain top-level window standing in for the
// main window, with hints on and the given search budget.
class BenchBoard {
public:
    explicit BenchBoard(uint32_t budgetMs) : board_(settings_) {
        settings_.CalcDuration = budgetMs;
        settings_.HintsEnabled = true;
        settings_.CellSize = 70;
        board_.SetFeedback(&silent_);
        board_.Game().cellSize = settings_.CellSize;
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SaltorBenchParent";
        RegisterClassW(&wc);
        parent_ = CreateWindowExW(0, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, 0, 800, 700, nullptr, nullptr, wc.hInstance, nullptr);
        if (parent_ != nullptr) {
            board_.Create(parent_);
        }
    }
    ~BenchBoard() {
        if (parent_ != nullptr) {
            DestroyWindow(parent_);
        }
    }
    BenchBoard(const BenchBoard&) = delete;
    BenchBoard& operator=(const BenchBoard&) = delete;

    bool Valid() const { return board_.Hwnd() != nullptr; }
    AppSettings& Settings() { return settings_; }
    CChessBoardWnd& Board() { return board_; }

private:
    AppSettings settings_;
    SilentFeedback silent_;
    CChessBoardWnd board_;
    HWND parent_ = nullptr;
};

}  // namespace saltor
