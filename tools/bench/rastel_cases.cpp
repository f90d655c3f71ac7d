#include <QApplication>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "tools/bench/bench_cases.h"
#include "tools/bench/bench_support.h"
#include "raster_viewer/ui/display_window.h"
#include "raster_viewer/core/histogram_pass.h"
#include "common/testing/memory_canvas.h"
#include "raster_viewer/core/paint_image.h"
#include "raster_viewer/core/rastel_texts.h"
#include "common/testing/scripted_dialogs.h"
#include "raster_viewer/core/subset.h"

namespace qiv::bench {
namespace {

using rastel::ViewerState;

std::int64_t Pixels(int side) {
    return static_cast<std::int64_t>(side) * side;
}

void BuildTables(ViewerState& state) {
    MemoryCanvas waitArea = qiv::testing::WaitArea();
    state.TablesReady = false;  // the pass runs once per Close otherwise
    if (!rastel::HistogramPass(state, waitArea).Done()) {
        throw std::runtime_error("histogram pass refused its image");
    }
}

void HistogramPassCase(const std::filesystem::path& image, int side, int runs) {
    ViewerState state = ImageState(image, side, side);
    const double seconds = MedianSeconds(runs, [&] { BuildTables(state); });
    const double floor = MedianSeconds(runs, [&] { PlainRead(image); });
    Report("histogram_pass_" + std::to_string(side), Pixels(side), seconds, floor);
}

// The display window as the painting sees it, over an in-memory picture area.
class MemoryDisplay : public rastel::DisplayView {
public:
    explicit MemoryDisplay(int side) : picture_(side + 1, side + 1) {}
    void ShowSized(std::int32_t, std::int32_t) override {}
    void MoveTo(std::int32_t, std::int32_t) override {}
    Canvas& Picture() override { return picture_; }
    void PaintingShown(const rastel::PaintedImage&) override {}
    void PlotShown(std::string_view) override {}

private:
    MemoryCanvas picture_;
};

// Form1 as the subset sees it, with nothing to show.
class NoLabels : public rastel::MainView {
public:
    void ShowSubsetPath(std::string_view /*path*/) override {}
};

struct Scheme {
    const char* Name;
    rastel::ColourScheme Scheme;
};
constexpr Scheme kSchemes[] = {{"grey", rastel::ColourScheme::Grey},
                               {"continuous", rastel::ColourScheme::ContinuousSlicing},
                               {"random", rastel::ColourScheme::RandomSlicing}};

void PaintCases(const std::filesystem::path& image, int side, int runs,
                rastel::DisplayView& display, const std::string& target) {
    ViewerState state = ImageState(image, side, side);
    BuildTables(state);
    const double floor = MedianSeconds(runs, [&] { PlainRead(image); });
    for (const Scheme& scheme : kSchemes) {
        const double seconds = MedianSeconds(runs, [&] {
            if (Failure failure = rastel::PaintImage(state, rastel::LevelMapping::Equalised,
                                                     scheme.Scheme, display)) {
                throw std::runtime_error(rastel::MessageFor(failure));
            }
        });
        Report("paint_" + std::string(scheme.Name) + "_" + target + "_" + std::to_string(side),
               Pixels(side), seconds, floor);
    }
}

void SubsetCase(const std::filesystem::path& image, const std::filesystem::path& dir, int side,
                int subsetSide, int runs) {
    ViewerState state = ImageState(image, side, side);
    const auto output = dir / "subset.raw";
    const std::string start = std::to_string((side - subsetSide) / 2);
    const std::string count = std::to_string(subsetSide);
    MemoryCanvas waitArea = qiv::testing::WaitArea();
    NoLabels form1;
    const double seconds = MedianSeconds(runs, [&] {
        testing::ScriptedDialogs dialogs;
        dialogs.Answer(start).Answer(start).Answer(count).Answer(count).File(output.string());
        const rastel::CommandOutcome outcome =
            rastel::SubsetRequest(state, dialogs, form1, waitArea);
        if (!outcome.Done()) {
            throw std::runtime_error(rastel::MessageFor(outcome));
        }
    });
    const auto copy = dir / "subset-floor.raw";
    const double floor = MedianSeconds(runs, [&] { PlainCopy(image, copy, Pixels(subsetSide)); });
    Report("subset_" + std::to_string(subsetSide) + "_of_" + std::to_string(side),
           Pixels(subsetSide), seconds, floor);
}

}  // namespace

void RunRastelCases(const std::filesystem::path& dir, const Sizes& sizes, int argc, char* argv[]) {
    const auto big = dir / "big.raw";
    WriteNoiseFile(big, Pixels(sizes.PassSide), 1);
    HistogramPassCase(big, sizes.PassSide, sizes.Runs);
    SubsetCase(big, dir, sizes.PassSide, sizes.SubsetSide, sizes.Runs);

    const auto paintImage = dir / "paint.raw";
    WriteNoiseFile(paintImage, Pixels(sizes.PaintSide), 2);
    MemoryDisplay memory(sizes.PaintSide);
    PaintCases(paintImage, sizes.PaintSide, sizes.Runs, memory, "memory");

    // The real picture area of Form3, on the offscreen platform unless another one is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    rastel::DisplayWindow window;
    window.Picture().SetAreaSize(QSize(sizes.PaintSide + 1, sizes.PaintSide + 1));
    PaintCases(paintImage, sizes.PaintSide, sizes.Runs, window, "picture_area");
}

}  // namespace qiv::bench
