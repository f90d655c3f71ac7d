// Writes the seeds of the level1b_decode and level1b_import fuzz targets into
// FOLDER/corpus/TARGET/NAME and an input at the edge of what each reads into
// FOLDER/reproducers/TARGET/NAME (run it on fuzz/ to make them again). The files come from the Level 1b test writer of the AVHRR library's
// tests: a header and two or three records of every KLM version and of POD, with and without an
// archive header, their counts set at the edges of the earth view only, so that each seed in the
// target's patch form is a few KB.
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "avhrr/level1b_writer.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/level1b_sparse_file.h"

namespace {

namespace fs = std::filesystem;
namespace w = qiv::avhrr::l1b_writer;

// The counts of the first and the last two samples, 0 between.
std::vector<std::uint16_t> EdgeCounts(int seed) {
    const std::vector<std::uint16_t> all = w::PatternCounts(seed);
    std::vector<std::uint16_t> counts(all.size(), 0);
    for (std::size_t i = 0; i < 10; ++i) {
        counts[i] = all[i];
        counts[counts.size() - 1 - i] = all[all.size() - 1 - i];
    }
    return counts;
}

w::Record SeedRecord(int line, w::Time when) {
    w::Record r;
    r.ScanLine = line;
    r.When = when;
    r.FrameWords = w::PatternFrameWords(line);
    r.Counts = EdgeCounts(line);
    r.LatLon = w::PatternLatLon(51.5, -1.25);
    r.LatLon.resize(3);
    return r;
}

void Write(const fs::path& folder, const std::string& name, const w::File& plan,
           std::uint8_t lastChoice = 0) {
    const w::Bytes file = w::Write(plan);
    const std::size_t length = file.size();
    const std::uint8_t choices[] = {
        static_cast<std::uint8_t>((length / 16) & 0xFF),
        static_cast<std::uint8_t>(((length / 16) >> 8 & 15) | (length % 16) << 4), lastChoice};
    fs::create_directories(folder);
    qiv::fuzz::WriteFile(folder / name, qiv::fuzz::FuzzInput::Encode(
                                            choices, {}, qiv::fuzz::EncodeSparseFile(file)));
}

w::File Klm(int version, int spacecraft, int dataType, bool ars) {
    w::File f;
    f.Version = version;
    f.Spacecraft = spacecraft;
    f.DataType = dataType;
    f.ArchiveHeader = ars;
    f.Start = {2009, 365, 86'399'500};
    f.End = {2010, 1, 400};
    f.Records = {SeedRecord(1, {2009, 365, 86'399'500}), SeedRecord(2, {2009, 365, 86'399'667}),
                 SeedRecord(3, {2010, 1, 66})};
    return f;
}

w::File Pod(int spacecraft, int dataType, bool tbm) {
    w::File f;
    f.Klm = false;
    f.Spacecraft = spacecraft;
    f.DataType = dataType;
    f.ArchiveHeader = tbm;
    f.Start = {1999, 365, 86'399'700};
    f.End = {2000, 1, 300};
    f.Records = {SeedRecord(1, {1999, 365, 86'399'700}), SeedRecord(2, {2000, 1, 33})};
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: qiv_make_level1b_seeds FOLDER\n";
        return 2;
    }
    const fs::path corpus = fs::path(argv[1]) / "corpus" / "level1b_decode";
    const fs::path edges = fs::path(argv[1]) / "reproducers" / "level1b_decode";
    // level1b_import reads the same first choices, and its third one at 0 imports into a new
    // file: every seed of the reader is one of the import too.
    const fs::path importCorpus = fs::path(argv[1]) / "corpus" / "level1b_import";
    const fs::path importEdges = fs::path(argv[1]) / "reproducers" / "level1b_import";
    const auto both = [&](const std::string& name, const w::File& plan) {
        Write(corpus, name, plan);
        Write(importCorpus, name, plan);
    };

    both("klm-v2-noaa15-lac-over-new-year", Klm(2, 4, 1, false));
    both("klm-v3-noaa17-hrpt-after-ars-header", Klm(3, 6, 3, true));
    both("klm-v4-noaa18-gac", Klm(4, 7, 2, false));
    both("klm-v5-metop-a-frac-after-ars-header", Klm(5, 12, 13, true));
    w::File badRecords = Klm(5, 8, 3, false);
    badRecords.Records[1].Quality = 1u << 31;
    badRecords.Records[2].Counts.clear();
    badRecords.Records[2].When = {2010, 0, 90'000'000};
    both("klm-v5-noaa19-bad-records", badRecords);
    w::File secondary = Klm(5, 13, 3, true);
    secondary.HeaderRecords = 2;
    secondary.Records.resize(2);
    both("klm-v5-metop-c-secondary-header-record", secondary);
    both("pod-noaa12-hrpt-after-tbm-header-over-new-year", Pod(5, 3, true));
    w::File pod14 = Pod(3, 1, false);
    pod14.StatedRecords = 5;
    both("pod-noaa14-lac-fewer-records-than-stated", pod14);

    w::File cut = Klm(5, 11, 4, true);
    cut.DropBytes = 1;
    Write(edges, "klm-last-record-one-byte-short", cut);

    // level1b_import's choices: bits 0-2 the output's name (1 a longer file, 5 a symbolic link to
    // the input), bit 3 the file grown by room for 65536 records.
    Write(importCorpus, "klm-v5-noaa19-into-longer-file", Klm(5, 8, 3, true), 1);
    Write(importCorpus, "pod-noaa14-onto-input-symlink", Pod(3, 1, false), 5);
    Write(importCorpus, "klm-last-record-one-byte-short", cut);
    w::File unpacked = Pod(5, 3, true);
    unpacked.TbmWordSize = "16";
    Write(importCorpus, "pod-noaa12-archive-copy-of-16-bit-samples", unpacked);
    w::File countsNone = Klm(5, 11, 13, true);
    countsNone.StatedRecords = 0;
    Write(importEdges, "grown-past-65535-records-header-counts-none", countsNone, 8);
    return 0;
}
