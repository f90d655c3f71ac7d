// Running one qivtool subcommand in the test process, with stdout and stderr caught.
#pragma once

#include <sstream>
#include <string>

#include "tools/qivtool/console.h"

namespace qiv::testing {

struct Ran {
    int Status = -1;
    std::string Out;
    std::string Err;
};

template <class Options>
Ran RunCommand(int (*run)(const Options&, qivtool::Console&), const Options& options) {
    std::ostringstream out;
    std::ostringstream err;
    qivtool::Console console("qivtool test", out, err, false);
    const int status = run(options, console);
    return {status, out.str(), err.str()};
}

}  // namespace qiv::testing
