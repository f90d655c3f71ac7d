// The cases of qiv_bench, grouped by program.
#pragma once

#include <filesystem>

namespace qiv::bench {

struct Sizes {
    int Runs = 5;                // timed runs per figure (after one warm-up run)
    int PassSide = 8192;         // histogram pass and subset source: PassSide x PassSide
    int SubsetSide = 4096;       // the subset cut out of it
    int PaintSide = 2048;        // painting
    int HrpLines = 6000;         // HRP file of the quicklook and the cut
    int CutLines = 3000;         // lines the cut keeps
    int CalLines = 1500;         // CAL product of the quicklook
    int RecordingFrames = 3600;    // raw recording of the import: a 10-minute pass
    int RenderMemorySide = 16384;  // qivtool render whose peak memory is measured
};

inline Sizes FullSizes() {
    return {};
}
inline Sizes QuickSizes() {
    return {3, 1024, 512, 512, 600, 300, 150, 360, 2048};
}

// argc/argv reach the Qt picture-area cases, which need a QApplication.
void RunRastelCases(const std::filesystem::path& dir, const Sizes& sizes, int argc, char* argv[]);
void RunSwathlyCases(const std::filesystem::path& dir, const Sizes& sizes);
// The CAL, SST and NDV products of the HRP pass `hrp`, written into dir.
void ProductsCase(const std::filesystem::path& hrp, const std::filesystem::path& dir, int runs);
// The Level 1b import, of a file of HrpLines records.
void RunLevel1bCases(const std::filesystem::path& dir, const Sizes& sizes);
// qivtool runs as a child process; the histogram-pass image of RunRastelCases must be there.
void RunQivtoolCases(const std::filesystem::path& dir, const Sizes& sizes);

}  // namespace qiv::bench
