#include <cstdint>
#include <stdexcept>
#include <string>

#include "bench_cases.h"
#include "bench_support.h"
#include "histogram_pass.h"
#include "memory_canvas.h"
#include "scripted_dialogs.h"

namespace qiv::bench {
namespace {

using rastel::ViewerState;

ViewerState ImageState(const std::filesystem::path& image, int rows, int cols) {
    ViewerState state;
    state.ImagePath = image.string();
    state.FileChosen = rastel::kTrue;
    state.ImageRows = rows;
    state.ImageCols = cols;
    return state;
}

void HistogramPassCase(const std::filesystem::path& image, int side, int runs) {
    ViewerState state = ImageState(image, side, side);
    testing::ScriptedDialogs dialogs;
    MemoryCanvas waitArea(81, 25);
    const double seconds = MedianSeconds(runs, [&] {
        state.TablesReady = rastel::kFalse;  // the pass runs once per Close otherwise
        if (rastel::HistogramPass(state, dialogs, waitArea).Outcome != rastel::PassOutcome::Built) {
            throw std::runtime_error("histogram pass refused its image");
        }
    });
    const double floor = MedianSeconds(runs, [&] { PlainRead(image); });
    Report("histogram_pass_" + std::to_string(side), static_cast<std::int64_t>(side) * side, seconds,
           floor);
}

}  // namespace

void RunRastelCases(const std::filesystem::path& dir, const Sizes& sizes, int /*argc*/, char* /*argv*/[]) {
    const auto big = dir / "big.raw";
    WriteNoiseFile(big, static_cast<std::int64_t>(sizes.passSide) * sizes.passSide, 1);
    HistogramPassCase(big, sizes.passSide, sizes.runs);
}

}  // namespace qiv::bench
