// Writes the sample files of both programs into the folder given on the command line.
#include <filesystem>
#include <iostream>

#include "tools/samples/hrpt_samples.h"
#include "tools/samples/level1b_samples.h"
#include "tools/samples/raster_samples.h"
#include "hrpt_tool/core/swathly_texts.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: qiv_make_samples <folder>\n";
        return 2;
    }
    qiv::Failure failure = qiv::samples::WriteRasterSamples(argv[1]);
    if (!failure) {
        failure = qiv::samples::WriteHrptSamples(argv[1]);
    }
    if (!failure) {
        failure = qiv::samples::WriteHrptRecording(std::filesystem::path(argv[1]) /
                                                   "avhrr-recording.raw16");
    }
    if (!failure) {
        failure = qiv::samples::WriteLevel1bSample(std::filesystem::path(argv[1]) /
                                                   "avhrr-archive.l1b");
    }
    if (failure) {
        std::cerr << "qiv_make_samples: " << qiv::swathly::MessageFor(failure) << '\n';
        return 1;
    }
    return 0;
}
