// The import of a NOAA Level 1b file into an HRP file, against a plain read of the Level 1b file
// plus a plain write of the HRP file's bytes into a new file.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "avhrr/level1b_writer.h"
#include "common/core/binary_file.h"
#include "hrpt_tool/core/level1b_import.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "tools/bench/bench_cases.h"
#include "tools/bench/bench_support.h"

namespace qiv::bench {
namespace {

namespace w = avhrr::l1b_writer;

void ThrowIf(const swathly::CommandOutcome& outcome) {
    if (!outcome.Done()) {
        throw std::runtime_error(swathly::MessageFor(outcome));
    }
}

// A KLM version 5 HRPT file of NOAA-19 after an ARS header, `records` data records long. The
// import's work does not depend on what the records hold, so sixteen records made by the test
// writer are written over and over, which keeps the writing quick.
std::filesystem::path Level1bFile(const std::filesystem::path& file, int records) {
    w::File plan;
    plan.ArchiveHeader = true;
    plan.Start = {2024, 158, 34'890'500};
    plan.End = plan.Start;
    plan.StatedRecords = records;
    std::vector<w::Bytes> kinds;
    for (int i = 0; i < 16; ++i) {
        w::Record r;
        r.ScanLine = i + 1;
        r.When = plan.Start;
        r.FrameWords = w::PatternFrameWords(i);
        r.Counts = w::PatternCounts(i);
        kinds.push_back(w::KlmRecord(plan, r));
    }
    BinaryFile out(FileRole::Output);
    ThrowIf(out.Open(file, BinaryFile::Mode::WriteTruncate));
    w::Bytes block = w::ArsHeader(plan);
    const w::Bytes header = w::KlmHeader(plan);
    block.insert(block.end(), header.begin(), header.end());
    std::int64_t at = 0;
    for (int i = 0; i < records; ++i) {
        const w::Bytes& record = kinds[static_cast<std::size_t>(i % 16)];
        block.insert(block.end(), record.begin(), record.end());
        if (block.size() >= (4u << 20) || i + 1 == records) {
            ThrowIf(out.WriteAt(at, block));
            at += static_cast<std::int64_t>(block.size());
            block.clear();
        }
    }
    return file;
}

// Writes `bytes` bytes into a new file in 4 MiB blocks.
void PlainWrite(const std::filesystem::path& file, std::int64_t bytes) {
    BinaryFile out(FileRole::Output);
    ThrowIf(out.Open(file, BinaryFile::Mode::CreateNew));
    const std::vector<std::uint8_t> block(4u << 20, 0x5A);
    for (std::int64_t done = 0; done < bytes;) {
        const auto want = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(block.size()), bytes - done));
        ThrowIf(out.WriteAt(done, std::span(block.data(), want)));
        done += static_cast<std::int64_t>(want);
    }
}

}  // namespace

void RunLevel1bCases(const std::filesystem::path& dir, const Sizes& sizes) {
    const int records = sizes.HrpLines;
    const auto input = Level1bFile(dir / "pass.l1b", records);
    const auto output = dir / "imported-l1b.hrp";
    // As for the recording import: nothing left to write out from earlier cases.
    ::sync();
    const double seconds = MedianSeconds(sizes.Runs, [&] {
        std::filesystem::remove(output);
        swathly::Level1bImportSummary summary;
        ThrowIf(swathly::ImportLevel1b(input.string(), output.string(), summary));
    });
    std::filesystem::remove(output);
    const auto floorFile = dir / "import-l1b-floor.hrp";
    ::sync();
    const double floor = MedianSeconds(sizes.Runs, [&] {
        std::filesystem::remove(floorFile);
        PlainRead(input);
        PlainWrite(floorFile, static_cast<std::int64_t>(records) * swathly::kLineBytes);
    });
    std::filesystem::remove(floorFile);
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(input));
    std::filesystem::remove(input);
    Report("import_level1b_" + std::to_string(records), bytes, seconds, floor);
}

}  // namespace qiv::bench
