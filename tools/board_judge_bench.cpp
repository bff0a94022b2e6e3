// Judges positions as the game does after the player's move, inside a real board window: the
// last move is clicked on the board, the board's judge searches through the window's host, which
// polls the window's queue, and the verdict is read from the tour's marks. The core judges the
// same positions with a bare host and the same budget. Prints both side by side and every
// position where the answers differ.
//
//   board_judge_bench.exe FILE... [--budget MS]    (default 1000)

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "board/chess_board_wnd.h"
#include "engine/tour_search.h"
#include "files/tour_text.h"
#include "tools/perf_clock_win.h"

namespace saltor {
namespace {

enum class Verdict { Found, Lost, Doubtful };

const char* Name(Verdict verdict) {
    return verdict == Verdict::Found ? "found" : verdict == Verdict::Lost ? "lost" : "doubtful";
}

// What the judge left in the tour after judging its last move.
Verdict VerdictOf(const TourState& tour, bool found) {
    if (found) {
        return Verdict::Found;
    }
    return tour.firstLostMove == tour.moveCount - 1 ? Verdict::Lost : Verdict::Doubtful;
}

class BareHost final : public SearchHost {
public:
    uint32_t TickCount() override { return GetTickCount(); }
    bool PollCancel() override { return false; }
    void ShowBusy() override {}
    void SearchEnded() override {}
};

class SilentFeedback final : public BoardFeedback {
public:
    void Beep(BeepKind) override {}
    void Report(HWND, const std::wstring&) override {}
};

struct Column {
    std::vector<double> times, decided;
    int found = 0, lost = 0;

    void Add(Verdict verdict, double ms) {
        times.push_back(ms);
        if (verdict != Verdict::Doubtful) {
            decided.push_back(ms);
        }
        found += verdict == Verdict::Found;
        lost += verdict == Verdict::Lost;
    }
    double Share(double withinMs) const {
        const auto count = std::count_if(decided.begin(), decided.end(),
                                         [&](double ms) { return ms <= withinMs; });
        return 100.0 * static_cast<double>(count) / static_cast<double>(times.size());
    }
    double Percentile(double p) {
        std::sort(times.begin(), times.end());
        return times[static_cast<size_t>(p * static_cast<double>(times.size() - 1) + 0.5)];
    }
};

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND CreateParent() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SaltorJudgeBenchParent";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"judge", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           800, 700, nullptr, nullptr, wc.hInstance, nullptr);
}

int Main(const std::vector<std::string>& files, uint32_t budgetMs) {
    AppSettings settings;
    settings.CalcDuration = budgetMs;
    settings.HintsEnabled = true;
    settings.CellSize = 70;
    const HWND parent = CreateParent();
    CChessBoardWnd board(settings);
    SilentFeedback silent;
    board.SetFeedback(&silent);
    board.Game().cellSize = settings.CellSize;
    if (parent == nullptr || board.Create(parent) == nullptr) {
        std::fprintf(stderr, "board_judge_bench: cannot create the board window\n");
        return 1;
    }
    Column window, core;
    int differ = 0, toursDiffer = 0;
    for (const std::string& name : files) {
        std::ifstream in(name);
        if (!in) {
            std::fprintf(stderr, "board_judge_bench: cannot read %s\n", name.c_str());
            return 1;
        }
        std::string line;
        while (std::getline(in, line)) {
            const std::wstring text(line.begin(), line.end());
            TourState position;
            DecodeTour(position, text);
            if (position.moveCount < 2) {
                continue;
            }
            // The board holds every move but the last, which the player then clicks.
            BoardGame& game = board.Game();
            game.NewGame();
            DecodeTour(game.tour, text.substr(0, text.rfind(L';')));
            const Square last = position.moves[position.moveCount - 1];
            const int x = last.column * settings.CellSize + settings.CellSize / 2;
            const int y = (7 - last.row) * settings.CellSize + settings.CellSize / 2;
            double start = PerfSeconds();
            SendMessageW(board.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
            const double windowMs = (PerfSeconds() - start) * 1000;
            const TourState& judged = game.tour;
            const Verdict inWindow = VerdictOf(
                judged, judged.firstDoubtfulMove == NoMark && judged.firstLostMove == NoMark);
            window.Add(inWindow, windowMs);

            TourState alone = position;
            BareHost host;
            start = PerfSeconds();
            const bool found = TourSearch(alone, host).Solve(false, budgetMs);
            const double coreMs = (PerfSeconds() - start) * 1000;
            const Verdict inCore = VerdictOf(alone, found);
            core.Add(inCore, coreMs);

            if (inWindow != inCore) {
                ++differ;
                std::printf("differ: window %s in %.1f ms, core %s in %.1f ms: %s\n",
                            Name(inWindow), windowMs, Name(inCore), coreMs, line.c_str());
            } else if (found && judged.searchPath != alone.searchPath) {
                ++toursDiffer;
                std::printf("other tour: %s\n", line.c_str());
            }
        }
    }
    std::printf(
        "| judged by | found | lost | decided in 10 ms | in 100 ms | in %u ms | median | "
        "99th percentile |\n|---|---:|---:|---:|---:|---:|---:|---:|\n",
        budgetMs);
    for (auto [label, column] :
         {std::pair{"the board window (click)", &window}, std::pair{"the core alone", &core}}) {
        std::printf("| %s | %d | %d | %.2f %% | %.2f %% | %.2f %% | %.3f ms | %.3f ms |\n", label,
                    column->found, column->lost, column->Share(10), column->Share(100),
                    column->Share(budgetMs), column->Percentile(0.5), column->Percentile(0.99));
    }
    std::printf("\npositions: %zu; verdicts that differ: %d; tours that differ: %d\n",
                window.times.size(), differ, toursDiffer);
    DestroyWindow(parent);
    return differ == 0 && toursDiffer == 0 ? 0 : 2;
}

}  // namespace
}  // namespace saltor

int main(int argc, char** argv) {
    std::vector<std::string> files;
    uint32_t budget = 1000;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--budget") == 0 && i + 1 < argc) {
            budget = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else {
            files.emplace_back(argv[i]);
        }
    }
    if (files.empty() || budget == 0) {
        std::fprintf(stderr, "usage: board_judge_bench.exe FILE... [--budget MS]\n");
        return 1;
    }
    return saltor::Main(files, budget);
}
