// Writes the seeds of the coastline_reader fuzz target into FOLDER/corpus/coastline_reader/NAME
// and an input at the edge of what it reads into FOLDER/reproducers/coastline_reader/NAME (run
// it on fuzz/ to make them again): small binned GSHHG files from the coastline test writer of
// the AVHRR library's tests, in netCDF's classic format, a few hundred bytes each.
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "avhrr/coastlines_test_writer.h"
#include "fuzz/fuzz_support.h"

namespace {

namespace fs = std::filesystem;
using qiv::avhrr::testing::BinnedFile;

bool Write(const fs::path& folder, const std::string& name, std::uint8_t box,
           const BinnedFile& content) {
    const fs::path scratch = fs::temp_directory_path() / ("qiv-coast-seed-" + name + ".nc");
    if (!qiv::avhrr::testing::WriteBinnedFile(scratch, content)) {
        return false;
    }
    const auto bytes = qiv::fuzz::FileBytes(scratch);
    fs::remove(scratch);
    if (!bytes) {
        return false;
    }
    const std::uint8_t choices[] = {box};
    fs::create_directories(folder);
    qiv::fuzz::WriteFile(folder / name, qiv::fuzz::FuzzInput::Encode(choices, {}, *bytes));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: qiv_make_coastline_seeds FUZZ_FOLDER\n";
        return 2;
    }
    const fs::path corpus = fs::path(argv[1]) / "corpus" / "coastline_reader";
    const fs::path reproducers = fs::path(argv[1]) / "reproducers" / "coastline_reader";
    bool ok = true;

    BinnedFile two;
    two.AddSegment(0, 1, {{0, 0}, {65535, 65535}, {40000, 10000}});
    two.AddSegment(0, 2, {{100, 100}, {200, 200}});
    two.AddSegment(1, 1, {{32768, 0}, {0, 65535}});
    ok = ok && Write(corpus, "two-bins-land-and-lake", 0, two);
    ok = ok && Write(corpus, "two-bins-across-the-dateline", 2, two);

    // 90° bins: 4 x 2, a segment in the bin over the Strait's longitudes north of the equator.
    BinnedFile eight;
    eight.BinMinutes = 5400;
    eight.BinsAround = 4;
    eight.BinsPoleToPole = 2;
    eight.BinsInFile = 8;
    eight.FirstSegment.assign(8, 0);
    eight.SegmentCount.assign(8, 0);
    eight.AddSegment(3, 1, {{60000, 26000}, {62000, 26500}, {64000, 25800}});
    eight.AddSegment(4, 1, {{0, 65535}, {1000, 60000}});
    ok = ok && Write(corpus, "eight-bins-gibraltar", 1, eight);

    // The first segment's points reach one past the end of the list.
    BinnedFile beyond = two;
    beyond.SegmentInfo[0] += 1 << 9;
    ok = ok && Write(reproducers, "segment-points-one-past-the-list", 0, beyond);

    if (!ok) {
        std::cerr << "qiv_make_coastline_seeds: cannot write the seeds\n";
        return 1;
    }
    return 0;
}
