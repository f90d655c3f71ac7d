// The cases of qiv_bench, grouped by program.
#pragma once

#include <filesystem>

namespace qiv::bench {

struct Sizes {
    int runs = 5;           // timed runs per figure (after one warm-up run)
    int passSide = 8192;    // histogram pass and subset source: passSide x passSide
    int subsetSide = 4096;  // the subset cut out of it
    int paintSide = 2048;   // painting
    int hrpLines = 6000;    // HRP file of the quicklook and the cut
    int cutLines = 3000;    // lines the cut keeps
    int calLines = 1500;    // CAL product of the quicklook
};

inline Sizes FullSizes() {
    return {};
}
inline Sizes QuickSizes() {
    return {3, 1024, 512, 512, 600, 300, 150};
}

// argc/argv reach the Qt picture-area cases, which need a QApplication.
void RunRastelCases(const std::filesystem::path& dir, const Sizes& sizes, int argc, char* argv[]);
void RunSwathlyCases(const std::filesystem::path& dir, const Sizes& sizes);

}  // namespace qiv::bench
