// How long the histogram pass takes over a large image (the pass blocks the window meanwhile).
// Usage: bench_histogram_pass [rows cols]   (default 4096 x 4096)
#include <chrono>
#include <cstdlib>
#include <iostream>

#include "histogram_pass.h"
#include "memory_canvas.h"
#include "raster_samples.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

int main(int argc, char* argv[]) {
    const std::int32_t rows = argc == 3 ? std::atoi(argv[1]) : 4096;
    const std::int32_t cols = argc == 3 ? std::atoi(argv[2]) : 4096;
    qiv::testing::TempDir dir;
    qiv::rastel::ViewerState state;
    state.ImagePath = dir.Write("bench.raw", qiv::samples::SyntheticScene(rows, cols, 7u)).string();
    state.FileChosen = qiv::rastel::kTrue;
    state.ImageRows = rows;
    state.ImageCols = cols;
    qiv::testing::ScriptedDialogs dialogs;
    qiv::MemoryCanvas waitArea(81, 25);

    const auto start = std::chrono::steady_clock::now();
    const auto result = qiv::rastel::HistogramPass(state, dialogs, waitArea);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;

    std::cout << "histogram pass over " << rows << " x " << cols << ": " << took.count() << " ms"
              << " (LowCut " << result.LowCut << ", HighCut " << result.HighCut << ")\n";
    return result.Outcome == qiv::rastel::PassOutcome::Built ? 0 : 1;
}
