// The Qt part of `qivtool plot`: the histogram plot drawn by the display window's own routine
// into a QImage canvas in Qt's font, and written as a PNG file. The program reaches it through
// the module qivtool-plot.so (plot_module.cpp), which it loads only for `plot`, so that the
// other subcommands start without loading Qt; tests link it directly.
#pragma once

#include <string>

#include "common/core/failure.h"
#include "raster_viewer/core/histogram_plot.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::qivtool {

// Draws the plot of the tables in state into a picture just large enough for it (the title
// printed from (280, 10), the tick labels under the axis at 260) and writes it as PNG. Starts
// an application of the offscreen platform when the process has none.
Failure DrawPlotPng(rastel::ViewerState& state, rastel::LevelMapping kind,
                    const std::string& output);

// The name the module's entry point is looked up by, and its type.
inline constexpr const char* kDrawPlotSymbol = "QivtoolDrawPlotPng";
using DrawPlotEntry = void (*)(rastel::ViewerState* state, rastel::LevelMapping kind,
                               const std::string* output, Failure* result);

}  // namespace qiv::qivtool
