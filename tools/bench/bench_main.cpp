// qiv_bench: every heavy routine of both programs, run through the code the programs run, each
// against the floor the machine sets for it. Prints one line per case:
//   case=NAME bytes=N time_s=T floor_s=F ratio=R
// then peak_rss_mib=M for the whole run. Each figure is the median of warm runs.
//
// Floors: a plain sequential read of the routine's input in large blocks, plus, for routines
// that write, a plain copy of as many bytes as the routine writes.
//
// Usage: qiv_bench [--quick]   (--quick: small sizes, a few seconds in all)
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "tools/bench/bench_cases.h"
#include "tools/bench/bench_support.h"
#include "common/testing/temp_dir.h"

int main(int argc, char* argv[]) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    if (argc > 1 && !quick) {
        std::fprintf(stderr, "usage: %s [--quick]\n", argv[0]);
        return 2;
    }
    try {
        qiv::testing::TempDir dir;
        const qiv::bench::Sizes sizes = quick ? qiv::bench::QuickSizes() : qiv::bench::FullSizes();
        qiv::bench::RunRastelCases(dir.Path(), sizes, argc, argv);
        qiv::bench::RunSwathlyCases(dir.Path(), sizes);
        qiv::bench::RunLevel1bCases(dir.Path(), sizes);
        qiv::bench::RunQivtoolCases(dir.Path(), sizes);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qiv_bench: %s\n", error.what());
        return 1;
    }
    std::printf("peak_rss_mib=%.1f\n", qiv::bench::PeakRssMib());
    return 0;
}
