#include "raster_viewer/core/histogram_plot.h"

#include <algorithm>
#include <array>
#include <limits>

#include "raster_viewer/core/rastel_texts.h"
#include "common/core/typed_number.h"

namespace qiv::rastel {
namespace {

constexpr Colour kAxisColour = MakeColour(250, 0, 0);
constexpr Colour kBarColour = MakeColour(0, 0, 255);
constexpr int kBaseline = 250;

struct Tick {
    int X;
    std::string_view Label;
};
constexpr std::array<Tick, 6> kTicks{
    {{10, "0"}, {60, "50"}, {110, "100"}, {160, "150"}, {210, "200"}, {265, "255"}}};

}  // namespace

void PlotHistogram(ViewerState& state, LevelMapping kind, DisplayView& display) {
    Canvas& picture = display.Picture();
    picture.Clear();
    const std::string_view title = PlotTitle(kind);

    // The counts add up in 64 bits, so that the bar heights stay right for images of more
    // pixels than column 4 can hold; the column keeps them held at its limit.
    const std::array<std::int32_t, 256>* transfer = MappingColumn(state.Levels, kind);
    std::array<std::int64_t, 256> plotted{};
    for (int v = 0; v < 256; ++v) {
        const int target = transfer == nullptr ? v : std::clamp((*transfer)[v], 0, 255);
        plotted[target] += state.Levels.Count[v];
    }
    std::int64_t peak = 0;
    for (int v = 0; v < 256; ++v) {
        state.Levels.Plotted[v] = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(plotted[v], std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()));
        peak = std::max(peak, plotted[v]);
    }

    ShowDisplayWindow(state, display);

    picture.Line(10, kBaseline, 265, kBaseline, kAxisColour);
    for (const Tick& tick : kTicks) {
        picture.Line(tick.X, kBaseline, tick.X, kBaseline + 10, kAxisColour);
        picture.PrintLine(tick.Label);
    }

    if (peak > 0) {
        const auto scale = static_cast<float>(200.0 / static_cast<double>(peak));
        for (int v = 0; v < 256; ++v) {
            const auto top =
                static_cast<float>(kBaseline - static_cast<double>(scale) * plotted[v]);
            const auto y = static_cast<int>(RoundHalfEven(top));
            // A bar that rounds to no height is a line of no length: nothing is drawn, and
            // the axis stays visible under it.
            if (y != kBaseline) {
                picture.Line(v + 10, kBaseline, v + 10, y, kBarColour);
            }
        }
    }

    picture.Point(280, 10);
    picture.PrintLine(title);
    display.PlotShown(state.ImagePath);
}

CommandOutcome PlotFromMenu(ViewerState& state, LevelMapping kind, DisplayView& display) {
    if (!state.TablesReady) {
        return Refusal::TablesNotBuilt;
    }
    PlotHistogram(state, kind, display);
    return {};
}

}  // namespace qiv::rastel
