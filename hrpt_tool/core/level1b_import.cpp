#include "hrpt_tool/core/level1b_import.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "avhrr/frame.h"
#include "common/core/binary_file.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/pass_start.h"
#include "hrpt_tool/core/pending_output.h"

namespace qiv::swathly {
namespace {

using avhrr::Level1bDataType;
using avhrr::Level1bFile;

// Records move in blocks of about a megabyte of Level 1b (64 KLM records of 15872 bytes): one
// read of the records and one write of their lines per block.
constexpr std::int64_t kRecordsPerBlock = 64;

static_assert(avhrr::kFrameBytes == kLineBytes, "an HRP line is one HRPT minor frame");

std::string KindName(const Level1bFile& file) {
    return file.Kind == avhrr::Level1bKind::Klm ? "KLM" : "POD";
}

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

std::optional<Level1bRefusal> Level1bRefusalOf(const Level1bFile& file) {
    if (file.Verdict != avhrr::Level1bVerdict::Recognised) {
        return Level1bRefusal::NotLevel1b;
    }
    switch (file.DataType) {
        case Level1bDataType::Gac:
            return Level1bRefusal::Gac;
        case Level1bDataType::Unknown:
            return Level1bRefusal::UnknownDataType;
        case Level1bDataType::Lac:
        case Level1bDataType::Hrpt:
        case Level1bDataType::Frac:
            break;
    }
    if (!file.VersionKnown) {
        return Level1bRefusal::UnsupportedVersion;
    }
    if (file.SampleBits != 10) {
        return Level1bRefusal::Unpacked;
    }
    if (file.RecordsToRead() == 0) {
        return Level1bRefusal::NoRecords;
    }
    if (file.RecordsToRead() > kMostHrpLines) {
        return Level1bRefusal::TooLong;
    }
    return std::nullopt;
}

bool IsLevel1b(std::span<const std::uint8_t> fileStart, std::int64_t fileSize) {
    return avhrr::DetectLevel1b(fileStart, fileSize).Verdict == avhrr::Level1bVerdict::Recognised;
}

std::string Level1bRefusalText(Level1bRefusal refusal, const Level1bFile& file) {
    switch (refusal) {
        case Level1bRefusal::NotLevel1b:
            return "It is no NOAA Level 1b file: neither a KLM nor a POD header stands at its "
                   "start. Nothing was written.";
        case Level1bRefusal::Gac:
            return "It is a Level 1b GAC file: its lines of 409 samples (4 km) cannot become HRP "
                   "lines of 2048 samples. Only LAC, HRPT and FRAC files can be imported. Nothing "
                   "was written.";
        case Level1bRefusal::UnknownDataType:
            return "It is a Level 1b file of a data type the guides do not name (neither LAC, "
                   "HRPT, FRAC nor GAC). Nothing was written.";
        case Level1bRefusal::UnsupportedVersion:
            return "It is a Level 1b file of " + KindName(file) + " format version " +
                   std::to_string(file.Version) +
                   "; only versions 2 to 5 can be read. Nothing was written.";
        case Level1bRefusal::Unpacked:
            return "It is an archive copy of a Level 1b file whose samples were unpacked into " +
                   std::to_string(file.SampleBits) +
                   " bits; only files of packed 10-bit samples can be imported. Nothing was "
                   "written.";
        case Level1bRefusal::NoRecords:
            return "It is a Level 1b file without one whole data record after its header (" +
                   std::to_string(file.TrailingBytes) + " bytes of a record of " +
                   std::to_string(file.RecordBytes) + "). Nothing was written.";
        case Level1bRefusal::TooLong:
            return "It holds " + std::to_string(file.RecordsToRead()) + " records, more than the " +
                   std::to_string(kMostHrpLines) +
                   " lines an HRP header can count. Nothing was written.";
    }
    return {};
}

Failure ImportLevel1b(const std::string& level1bPath, const std::string& outputPath,
                      Level1bImportSummary& summary) {
    summary = {};
    BinaryFile input(FileRole::Input);
    if (Failure failure = input.Open(level1bPath, BinaryFile::Mode::Read)) {
        return failure;
    }
    if (SameFile(level1bPath, outputPath)) {
        return OutputFailure(FileProblem::IsTheInput, outputPath, {});
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
    if (const std::optional<Level1bRefusal> refusal = Level1bRefusalOf(file)) {
        if (*refusal == Level1bRefusal::TooLong) {
            Failure::Details details = *input.Fail(FileProblem::TooLong);
            details.Needed = kMostHrpLines;
            details.Size = file.RecordsToRead();
            return details;
        }
        return input.Fail(FileProblem::Refused, Level1bRefusalText(*refusal, file));
    }

    PendingOutput output(outputPath);
    if (Failure failure = output.Open()) {
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
