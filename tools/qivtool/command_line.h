// qivtool's command line: every routine of Rastel_Qiv and Swathly_Qiv for scripts and batch
// work. Each subcommand has its own options (qivtool SUBCOMMAND --help); exit status 0 when the
// work is done, 1 when a routine refuses (its reason on stderr), 2 for bad usage.
//
// The program (main.cpp) only hands its arguments and streams to RunQivtool, so that the whole
// command line also runs inside another process, as the fuzz target runs it.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/qivtool/raster_commands.h"

namespace qiv::qivtool {

// Gives the drawer of `plot`: the program loads the module qivtool-plot.so (plot_loader.h). It is
// called only when the command line asks for a plot, so that no other subcommand loads Qt.
using PlotLoader = std::function<PlotDrawer()>;

// Reads the command line `args` (without the program's name), runs its subcommand and returns
// the exit status (kDone, kRefused, kBadUsage). Results and help go to out, every message to
// err; with `progress` (err is a terminal) the progress line shows on err while work runs.
int RunQivtool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               bool progress, const PlotLoader& loadPlot);

}  // namespace qiv::qivtool
