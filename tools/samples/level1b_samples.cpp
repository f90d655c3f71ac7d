#include "tools/samples/level1b_samples.h"

#include <vector>

#include "avhrr/frame.h"
#include "avhrr/level1b_writer.h"
#include "common/core/binary_file.h"
#include "tools/samples/hrpt_samples.h"

namespace qiv::samples {
namespace {

namespace w = avhrr::l1b_writer;

// The spacecraft and data type codes of the KLM User's Guide, table 8.3.1.3.2-1.
constexpr int kNoaa19Code = 8;
constexpr int kHrptType = 3;
constexpr int kYear = 2024;
constexpr int kDay = 158;
constexpr std::uint32_t kFirstMillisecond = (9 * 3600 + 41 * 60 + 30) * 1000 + 500;
// The quality indicators' "do not use" bit (KLM guide, table 8.3.1.3.3.1-1, bit 31).
constexpr std::uint32_t kDoNotUse = 1u << 31;

std::uint16_t Word(const std::vector<std::uint8_t>& frame, int k) {
    return static_cast<std::uint16_t>(avhrr::WordOf(frame, k));
}

}  // namespace

Failure WriteLevel1bSample(const std::filesystem::path& file, std::int32_t records) {
    w::File plan;
    plan.Version = 5;
    plan.Spacecraft = kNoaa19Code;
    plan.DataType = kHrptType;
    plan.ArchiveHeader = true;
    plan.Start = {kYear, kDay, kFirstMillisecond};
    plan.End = {kYear, kDay,
                kFirstMillisecond + static_cast<std::uint32_t>((records - 1) * 1000 / 6)};
    // The archive's name of a NOAA-19 ("NP") HRPT pass of day 158 of 2024 from 09:41 to 09:42.
    plan.DataSetName = "NSS.HRPT.NP.D24158.S0941.E0942.B7777777.WI";
    for (std::int32_t line = 1; line <= records; ++line) {
        const std::vector<std::uint8_t> frame = RecordingFrame(line, records);
        w::Record r;
        r.ScanLine = line;
        r.When = {kYear, kDay,
                  kFirstMillisecond + static_cast<std::uint32_t>((line - 1) * 1000 / 6)};
        r.Quality = line == 40 || line == 41 || line == 170 ? kDoNotUse : 0;
        for (int k = 1; k <= avhrr::kSyncDeltaWord; ++k) {
            r.FrameWords.push_back(Word(frame, k));
        }
        for (int k = avhrr::kEarthViewWords.First; k <= avhrr::kEarthViewWords.Last(); ++k) {
            r.Counts.push_back(Word(frame, k));
        }
        plan.Records.push_back(std::move(r));
    }
    BinaryFile out(FileRole::Output);
    if (Failure failure = out.Open(file, BinaryFile::Mode::WriteTruncate)) {
        return failure;
    }
    return out.WriteAt(0, w::Write(plan));
}

}  // namespace qiv::samples
