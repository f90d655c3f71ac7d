#include "hrpt_tool/core/level1b_import.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "avhrr/frame.h"
#include "common/core/binary_file.h"
#include "common/core/replacing_file.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/pass_start.h"

namespace qiv::swathly {
namespace {

using avhrr::Level1bDataType;
using avhrr::Level1bFile;

// Records move in blocks of about a megabyte of Level 1b (64 KLM records of 15872 bytes): one
// read of the records and one write of their lines per block.
constexpr std::int64_t kRecordsPerBlock = 64;

static_assert(avhrr::kFrameBytes == kLineBytes, "an HRP line is one HRPT minor frame");

// Where line 1's time comes from: the first record whose time names a moment, and how many lines
// lie before it.
struct FirstTime {
    avhrr::Level1bTime Time;
    std::int64_t Record = 0;
};

void SetSatellite(LineHeaderRecord& header, const Level1bFile& file) {
    const char* title = file.Spacecraft != nullptr ? file.Spacecraft->Title : "NOAA-?? ";
    header.SatId = file.Spacecraft != nullptr ? file.Spacecraft->SatId : 0;
    std::memcpy(header.Title.data(), title, header.Title.size());
}

}  // namespace

std::optional<Refused<Refusal>> Level1bRefusalOf(const Level1bFile& file) {
    if (file.Verdict != avhrr::Level1bVerdict::Recognised) {
        return Refused<Refusal>{Refusal::NotLevel1b};
    }
    switch (file.DataType) {
        case Level1bDataType::Gac:
            return Refused<Refusal>{Refusal::Level1bGac};
        case Level1bDataType::Unknown:
            return Refused<Refusal>{Refusal::Level1bUnknownType};
        case Level1bDataType::Lac:
        case Level1bDataType::Hrpt:
        case Level1bDataType::Frac:
            break;
    }
    if (!file.VersionKnown) {
        return Refused<Refusal>{Refusal::Level1bVersion, file.Version};
    }
    if (file.SampleBits != 10) {
        return Refused<Refusal>{Refusal::Level1bUnpacked, file.SampleBits};
    }
    if (file.RecordsToRead() == 0) {
        return Refused<Refusal>{Refusal::Level1bNoRecord, file.TrailingBytes, file.RecordBytes};
    }
    return std::nullopt;
}

bool IsLevel1b(std::span<const std::uint8_t> fileStart, std::int64_t fileSize) {
    return avhrr::DetectLevel1b(fileStart, fileSize).Verdict == avhrr::Level1bVerdict::Recognised;
}

CommandOutcome ImportLevel1b(const std::string& level1bPath, const std::string& outputPath,
                             Level1bImportSummary& summary) {
    summary = {};
    BinaryFile input(FileRole::Input);
    if (Failure failure = input.Open(level1bPath, BinaryFile::Mode::Read)) {
        return failure;
    }
    if (SameFile(level1bPath, outputPath)) {
        return Failure(Failure::Details{FileProblem::IsTheInput, FileRole::Output, outputPath, {}});
    }
    std::int64_t size = 0;
    if (Failure failure = input.Size(size)) {
        return failure;
    }
    // Everything that refuses the file is decided from its first bytes and its size, before the
    // output is touched and before a record is read.
    std::vector<std::uint8_t> start(
        static_cast<std::size_t>(std::min(size, avhrr::kLevel1bDetectBytes)));
    if (Failure failure = input.ReadAt(0, start)) {
        return failure;
    }
    const Level1bFile file = avhrr::DetectLevel1b(start, size);
    if (const std::optional<Refused<Refusal>> refused = Level1bRefusalOf(file)) {
        return *refused;
    }
    if (file.RecordsToRead() > kMostHrpLines) {
        Failure::Details details = *input.Fail(FileProblem::TooLong);
        details.Needed = kMostHrpLines;
        details.Size = file.RecordsToRead();
        return Failure(std::move(details));
    }

    ReplacingFile output;
    if (Failure failure = output.Open(outputPath, ".import")) {
        return failure;
    }
    const std::int64_t records = file.RecordsToRead();
    const std::int64_t perBlock = std::min(records, kRecordsPerBlock);
    std::vector<std::uint8_t> in(static_cast<std::size_t>(perBlock * file.RecordBytes));
    std::vector<std::uint8_t> out(static_cast<std::size_t>(perBlock * kLineBytes));
    std::optional<FirstTime> first;
    avhrr::Level1bTime last;
    std::int64_t bad = 0;
    for (std::int64_t done = 0; done < records;) {
        const std::int64_t count = std::min(records - done, kRecordsPerBlock);
        const std::span<std::uint8_t> recordBytes(
            in.data(), static_cast<std::size_t>(count * file.RecordBytes));
        if (Failure failure =
                input.ReadAt(file.FirstRecordAt + done * file.RecordBytes, recordBytes)) {
            return failure;
        }
        for (std::int64_t r = 0; r < count; ++r) {
            const auto line = std::span<std::uint8_t, static_cast<std::size_t>(kLineBytes)>(
                out.data() + r * kLineBytes, static_cast<std::size_t>(kLineBytes));
            const avhrr::RecordFacts facts = avhrr::DecodeRecord(
                file.Kind, file.Version,
                recordBytes.subspan(static_cast<std::size_t>(r * file.RecordBytes),
                                    static_cast<std::size_t>(file.RecordBytes)),
                line);
            bad += facts.Bad() ? 1 : 0;
            if (!facts.MissingTime) {
                if (!first) {
                    first = FirstTime{facts.Time, done + r};
                }
                last = facts.Time;
            }
        }
        if (Failure failure = output.WriteAt(
                done * kLineBytes, std::span<const std::uint8_t>(
                                       out.data(), static_cast<std::size_t>(count * kLineBytes)))) {
            return failure;
        }
        done += count;
    }

    LineHeaderRecord header;
    SetSatellite(header, file);
    if (first) {
        SetPassStart(header, first->Time.Year, first->Time.DayOfYear, first->Time.Millisecond,
                     first->Record);
    }
    header.RowsLow = static_cast<std::uint8_t>(records & 0xFF);
    header.RowsHigh = static_cast<std::uint8_t>(records >> 8);
    if (Failure failure = output.WriteAt(0, EncodeLineHeader(header))) {
        return failure;
    }
    if (Failure failure = output.Commit()) {
        return failure;
    }
    summary.Kind = file.Kind;
    summary.Version = file.Version;
    summary.DataType = file.DataType;
    summary.ArchiveHeaderBytes = file.ArchiveHeaderBytes;
    summary.SpacecraftCode = file.SpacecraftCode;
    summary.SpacecraftKnown = file.Spacecraft != nullptr;
    summary.Header = header;
    summary.Records = records;
    summary.StatedRecords = file.StatedRecords;
    summary.TimeFound = first.has_value();
    if (first) {
        summary.First = first->Time;
        summary.Last = last;
    }
    summary.BadRecords = bad;
    summary.RecordsPastCount = file.WholeRecords - records;
    summary.BytesLeftOver = file.TrailingBytes;
    return {};
}

}  // namespace qiv::swathly
