// The raster subcommands of qivtool: the routines of Rastel_Qiv over an image named on the
// command line. Each returns the exit status: kDone, or kRefused with the reason on stderr.
#pragma once

#include <functional>
#include <string>

#include "tools/qivtool/console.h"
#include "common/core/failure.h"
#include "tools/qivtool/options.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::qivtool {

// The file size, the dimension header as read, and whether the file holds the whole image.
int RunInfo(const InfoOptions& options, Console& console);
// Writes the dimension header over the first four bytes of the image itself.
int RunHeader(const HeaderOptions& options, Console& console);
// The histogram pass (and a node stretch): level,count,equalised,stretched, one row per level.
int RunTables(const TablesOptions& options, Console& console);
// The painting of the whole image as a PNG file, one PNG pixel per image pixel.
int RunRender(const RenderOptions& options, Console& console);
// Draws the plot of the tables in state into a PNG file (plot_drawing.h). It is the one part of
// qivtool that needs Qt, so the program loads it only for `plot`.
using PlotDrawer = std::function<Failure(rastel::ViewerState& state, rastel::LevelMapping kind,
                                         const std::string& output)>;

// The histogram plot as the display window draws it, as a PNG file.
int RunPlot(const PlotOptions& options, Console& console, const PlotDrawer& draw);
// A rectangle of the image cut into a new raster file with its dimension header.
int RunSubset(const SubsetOptions& options, Console& console);

}  // namespace qiv::qivtool
