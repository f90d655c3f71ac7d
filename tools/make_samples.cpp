// Writes the sample files of both programs into the folder given on the command line.
#include <iostream>

#include "hrpt_samples.h"
#include "raster_samples.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: qiv_make_samples <folder>\n";
        return 2;
    }
    auto problem = qiv::samples::WriteRasterSamples(argv[1]);
    if (!problem) {
        problem = qiv::samples::WriteHrptSamples(argv[1]);
    }
    if (problem) {
        std::cerr << "qiv_make_samples: " << *problem << '\n';
        return 1;
    }
    return 0;
}
