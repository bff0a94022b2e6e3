// Judges positions as the game does after the player's move, inside a real board window: the
// last move is clicked on the board, the board's judge searches through the window's host, which
// polls the window's queue, and the verdict is read from the tour's marks. The core judges the
// same positions with a bare host and the same budget. Prints both side by side and every
// position where the answers differ.
//
//   board_judge_bench.exe FILE... [--budget MS]    (default 1000)

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "board/chess_board_wnd_win.h"
#include "engine/tour_search.h"
#include "files/tour_text.h"
#include "tools/bench_board_win.h"
#include "tools/perf_clock_win.h"
#include "tools/verdict_table.h"

namespace saltor {
namespace {

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

int Main(const std::vector<std::string>& files, uint32_t budgetMs) {
    BenchBoard bench(budgetMs);
    if (!bench.Valid()) {
        std::fprintf(stderr, "board_judge_bench: cannot create the board window\n");
        return 1;
    }
    CChessBoardWnd& board = bench.Board();
    const int cell = bench.Settings().CellSize;
    VerdictTable window, core;
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
            const int x = last.column * cell + cell / 2;
            const int y = (7 - last.row) * cell + cell / 2;
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
        "%s",
        MarkdownTable("judged by",
                      {{"the board window (click)", &window}, {"the core alone", &core}}, budgetMs)
            .c_str());
    std::printf("\npositions: %zu; verdicts that differ: %d; tours that differ: %d\n",
                window.Positions(), differ, toursDiffer);
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
