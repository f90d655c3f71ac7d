// Finds and loads qivtool-plot.so for `qivtool plot`: beside the program in the build tree, or
// in the library folder the package installs it into.
#pragma once

#include "tools/qivtool/raster_commands.h"

namespace qiv::qivtool {

// The drawer of the loaded module; when the module cannot be loaded, a drawer that fails with
// the reason.
PlotDrawer LoadPlotDrawer();

}  // namespace qiv::qivtool
