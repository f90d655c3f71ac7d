// qivtool: the command line of command_line.h, with the plot module loaded from beside the
// program or from the package's library folder.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/qivtool/command_line.h"
#include "tools/qivtool/plot_loader.h"

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return qiv::qivtool::RunQivtool(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0,
                                    qiv::qivtool::LoadPlotDrawer);
}
