// Measures one full repaint of the board (colours, 16 texture tiles, the knight, 40 numbers) at
// several square sizes, with the built-in pictures, into a screen-compatible memory bitmap as a
// window's background erase would draw it. Also times the image cache's rebuild.
//
//   paint_bench.exe [repaints per size, default 200]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "board/board_painter_win.h"
#include "board/chess_board_wnd_win.h"
#include "files/tour_text.h"
#include "tools/bench_board_win.h"
#include "tools/perf_clock_win.h"
#include "winkit/handles_win.h"

namespace saltor {
namespace {

constexpr const wchar_t kGame[] =
    L"E4;C3;D5;E7;G8;F6;D7;E5;F3;H2;G4;F2;D3;E1;G2;H4;F5;G7;H5;F4;E2;D4;B3;A1;C2;A3;B1;D2;F1;"
    L"H2";

double Milliseconds() {
    return PerfSeconds() * 1000.0;
}

// Median of `runs` timings of `work`, in milliseconds.
template <typename Work>
double Median(int runs, Work work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Milliseconds();
        work();
        times.push_back(Milliseconds() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int Run(int runs) {
    AppSettings settings;
    SilentDesktop desktop;
    CChessBoardWnd board(settings, desktop);
    DecodeTour(board.Game().tour, kGame);
    const WindowDc screen(nullptr);
    std::printf("cell  repaint ms: textures  solid  one texture missing    rebuild ms\n");
    for (const int cell : {70, 100, 125}) {
        settings.CellSize = cell;
        board.Game().cellSize = cell;
        const double rebuild = Median(std::max(runs / 20, 3), [&] { board.BuildImageCache(); });
        const UniqueBitmap canvas(CreateCompatibleBitmap(screen.Get(), 8 * cell, 8 * cell));
        const UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
        const SelectedObject selected(dc.Get(), canvas.Get());
        settings.SolidColor = false;
        const auto paint = [&] { PaintBoard(dc.Get(), board.Game(), settings, &board.Images()); };
        paint();  // fonts and the like loaded once
        const double textured = Median(runs, paint);
        const bool opaque = board.Images().WhiteLook() == BoardImages::Look::Opaque &&
                            board.Images().BlackLook() == BoardImages::Look::Opaque;
        settings.SolidColor = true;
        const double solid = Median(runs, paint);
        // A texture that failed to load: the tile is alpha-blended over the colours.
        settings.SolidColor = false;
        settings.BlackImage = L"missing.png";
        board.BuildImageCache();
        const double holed = Median(runs, paint);
        settings.BlackImage.clear();
        std::printf("%4d  %18.3f  %5.3f  %19.3f  %12.2f%s\n", cell, textured, solid, holed, rebuild,
                    opaque ? "" : "  (built-in tile not opaque!)");
    }
    return 0;
}

}  // namespace
}  // namespace saltor

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    return saltor::Run(runs);
}
