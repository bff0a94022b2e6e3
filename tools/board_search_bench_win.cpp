// Measures how fast the search places squares inside a real board window, where it polls the
// window's queue and sets the wait cursor, against the bare core with a host that does nothing.
// The window's polling must not cost the search more than half its speed. The search runs in the
// plain order, cuts included: the game hands a long search to the prover, which places few
// squares, so the plain order is where a poll per square weighs most. The solve command itself,
// as the game runs it, is timed per position.
//
//   board_search_bench.exe [seconds per measurement, default 0.5]

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "board/chess_board_wnd_win.h"
#include "board/search_host_win.h"
#include "engine/tour_search.h"
#include "files/tour_text.h"
#include "resources/resource.h"
#include "tools/bench_board_win.h"
#include "tools/perf_clock_win.h"

namespace saltor {
namespace {

// Positions of random and human-like play that still take the search real work (0.2 to 5
// million squares placed): two with a tour, three lost and searched to the end.
constexpr const wchar_t* kMidGames[] = {
    L"B4;D3;E1;G2;E3;G4;F6;G8;E7",
    L"F8;E6;D4;C2;A1;B3;C1;D3;F4;G6",
    L"H2;F1;E3;F5;G3;H5;F4;D5;C3;E2;G1;F3",
    L"D7;B8;A6;C7;A8;B6;C8;A7;B5;A3;C4;B2;A4;C3;B1;D2;F3;H2;G4;H6;G8;E7;D5",
    L"E7;F5;G7;H5;F4;H3;G5;E4;C5;A4;B6;D5;B4;C6",
};
// A position whose search runs for many seconds: the cancel latency is measured on it.
constexpr const wchar_t kLongSearch[] = L"B1;C3;B5;D6;B7;D8;C6;E7;G8";

constexpr uint32_t kUnlimited = 0xFFFFFFFFu;

constexpr SearchCuts kPlainOrder{true, SearchCuts{}.rememberAfterBackups, 0, 0};

double Seconds() {
    return PerfSeconds();
}

struct Job {
    const wchar_t* name;
    TourState position;
};

struct Measure {
    uint64_t squares = 0;
    double seconds = 0;
    double Rate() const { return seconds > 0 ? static_cast<double>(squares) / seconds : 0; }
};

// Solves every position once with `solve`, which returns the squares it placed, and adds the
// work and the time to `measure`.
template <typename Solve>
void RunOnce(const std::vector<Job>& jobs, Measure& measure, Solve solve) {
    const double start = Seconds();
    for (const Job& job : jobs) {
        measure.squares += solve(job.position);
    }
    measure.seconds += Seconds() - start;
}

void PrintRow(const char* name, const Measure& m) {
    std::printf("%-28s %14llu %9.2f %14.0f\n", name, static_cast<unsigned long long>(m.squares),
                m.seconds, m.Rate());
}

// Posts a key press to the board while the search in the plain order works on the long
// position through the board's host and measures how long the search takes to return after it.
double CancelLatencyMs(CChessBoardWnd& board) {
    TourState tour;
    DecodeTour(tour, kLongSearch);
    WinSearchHost host(board.Hwnd());
    std::atomic<double> posted{0};
    std::thread poster([&] {
        Sleep(150);
        posted = Seconds();
        PostMessageW(board.Hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    });
    TourSearch(tour, host, kPlainOrder).Solve(true, 20000);
    const double returned = Seconds();
    poster.join();
    return (returned - posted.load()) * 1000;
}

int Main(double minSeconds) {
    std::vector<Job> jobs;
    TourState d4;
    d4.Play({3, 3});
    jobs.push_back({L"D4", d4});
    for (const wchar_t* text : kMidGames) {
        TourState position;
        DecodeTour(position, text);
        jobs.push_back({text, position});
    }

    BenchBoard bench(kUnlimited);
    if (!bench.Valid()) {
        std::fprintf(stderr, "board_search_bench: cannot create the board window\n");
        return 1;
    }
    CChessBoardWnd& board = bench.Board();

    // The work of each position, and the same answer from every host.
    std::vector<uint64_t> squares;
    for (const Job& job : jobs) {
        TourState core = job.position, window = job.position;
        BareHost bare;
        TourSearch coreSearch(core, bare, kPlainOrder);
        coreSearch.Solve(true, kUnlimited);
        WinSearchHost host(board.Hwnd());
        TourSearch(window, host, kPlainOrder).Solve(true, kUnlimited);
        if (core.moves != window.moves ||
            host.PlacedSquares() != coreSearch.Stats().squaresPlaced) {
            std::fprintf(stderr, "board_search_bench: the hosts disagree on %ls\n", job.name);
            return 1;
        }
        squares.push_back(coreSearch.Stats().squaresPlaced);
        std::printf("%-90ls %9llu squares, %s\n", job.name,
                    static_cast<unsigned long long>(squares.back()),
                    core.IsComplete() ? "tour" : "lost");
    }
    const auto coreSolve = [](const TourState& position) {
        TourState tour = position;
        BareHost host;
        TourSearch search(tour, host, kPlainOrder);
        search.Solve(true, kUnlimited);
        return search.Stats().squaresPlaced;
    };
    WinSearchHost windowHost(board.Hwnd());
    const auto windowSolve = [&](const TourState& position) {
        TourState tour = position;
        const uint64_t before = windowHost.PlacedSquares();
        TourSearch(tour, windowHost, kPlainOrder).Solve(true, kUnlimited);
        return windowHost.PlacedSquares() - before;
    };
    // The whole command as the main window sends it, the game's judge and the board's repaint
    // included; counted in positions, not squares.
    const auto commandSolve = [&](const TourState& position) {
        board.Game().tour = position;
        SendMessageW(board.Hwnd(), WM_COMMAND, IDC_LAST, 0);
        return uint64_t{1};
    };
    // Taken in turns, so that a machine busy with something else slows all three alike.
    Measure core, window, command;
    do {
        RunOnce(jobs, core, coreSolve);
        RunOnce(jobs, window, windowSolve);
        RunOnce(jobs, command, commandSolve);
    } while (core.seconds < minSeconds);
    const uint64_t queuePolls = windowHost.QueuePolls();
    // d4 alone: a short search, where what each search costs once (cursor, mouse move) shows.
    const std::vector<Job> d4Only(jobs.begin(), jobs.begin() + 1);
    Measure coreD4, windowD4, commandD4;
    do {
        RunOnce(d4Only, coreD4, coreSolve);
        RunOnce(d4Only, windowD4, windowSolve);
        RunOnce(d4Only, commandD4, commandSolve);
    } while (coreD4.seconds < minSeconds / 4);

    std::printf("\n%-28s %14s %9s %14s\n", "host", "squares placed", "seconds", "squares/s");
    PrintRow("core (bare host)", core);
    PrintRow("Win32 host in the window", window);
    PrintRow("d4 only: core", coreD4);
    PrintRow("d4 only: Win32 host", windowD4);
    std::printf(
        "\nsolve command (WM_COMMAND, the game's judge, repaint included): %.2f ms per "
        "position, d4 alone %.2f ms\n",
        1000 * command.seconds / static_cast<double>(command.squares),
        1000 * commandD4.seconds / static_cast<double>(commandD4.squares));
    std::printf("Win32 host / core: %.2f; queue looked at %.0f times/s\n",
                window.Rate() / core.Rate(), static_cast<double>(queuePolls) / window.seconds);

    double worst = 0;
    for (int i = 0; i < 5; ++i) {
        const double latency = CancelLatencyMs(board);
        worst = latency > worst ? latency : worst;
        std::printf("cancel seen after %.1f ms\n", latency);
    }
    std::printf("worst cancel latency: %.1f ms\n", worst);
    return window.Rate() * 2 >= core.Rate() ? 0 : 2;
}

}  // namespace
}  // namespace saltor

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 0.5;
    return saltor::Main(seconds > 0 ? seconds : 0.5);
}
