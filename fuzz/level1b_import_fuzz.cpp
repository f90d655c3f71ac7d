// Fuzz target over the import of NOAA Level 1b files into HRP files: a fuzzed file (KLM and POD,
// with and without an archive header, whole, cut short, GAC, unknown types and versions,
// unpacked archive copies) into a fuzzed choice of output name, through ImportLevel1b.
//
// Input (fuzz_support.h), choices:
//   bytes 0-1  the file's length: 16 x (byte 0 + 256 x (byte 1 & 15)) + (byte 1 >> 4), 0..65535
//              (as level1b_decode reads it, so that its seeds serve here too)
//   byte 2     bits 0-2  the output's name (fuzz::PathKind)
//              bit 3     the file is grown, sparse, by room for 65536 KLM records: a file whose
//                        header counts more than a pass header can, or none, must be refused
//                        from its size alone (a header that counts fewer is not run: the import
//                        would read them all)
// no replies, then the file as patches over zeros (level1b_sparse_file.h).
//
// The files lie in a folder "work" of the run folder, so that a temporary file beside an output
// named as that folder itself stays inside the run folder too.
//
// Beside the sanitizers it checks: the input is unchanged under every name; the import is refused
// exactly when the output is the input, the file is no Level 1b file, is GAC or of an unknown data
// type, has a KLM version other than 2-5, unpacked samples, no whole record or more records than
// a header counts (then nothing past its first bytes is read), or the output cannot be written; a
// refusal leaves the output as it was and no temporary file behind; a success writes the records
// to import x 22180 bytes, every line DecodeRecord's line of its record but for the 33 header
// bytes of line 1, whose header states the line count, the title and SatId of the spacecraft the
// header names, a date and time of day in range (all 0 when no record's time names a moment),
// Spare and TimeDiff 0; the summary agrees with the file; every file is closed.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "avhrr/level1b.h"
#include "common/testing/open_files.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/level1b_sparse_file.h"
#include "hrpt_tool/core/level1b_import.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/swathly_texts.h"

namespace qiv::swathly {
namespace {

namespace fs = std::filesystem;
using avhrr::Level1bDataType;
using avhrr::Level1bFile;
using fuzz::Broken;
using fuzz::Bytes;
using fuzz::PathKind;
using fuzz::Require;
using fuzz::Text;

constexpr std::size_t kChoiceBytes = 3;
constexpr std::size_t kMostInputBytes = 16384;
constexpr std::int64_t kGrowth = 65536 * avhrr::kKlmLacRecordBytes;

// The input's size and first bytes, as written before it was grown.
struct InputFile {
    fs::path Path;
    Bytes Written;
    std::int64_t Size = 0;
};

void RequireInputUnchanged(const InputFile& input, const fs::path& name) {
    std::error_code error;
    const auto size = fs::file_size(name, error);
    Bytes start(input.Written.size());
    std::ifstream in(name, std::ios::binary);
    in.read(reinterpret_cast<char*>(start.data()), static_cast<std::streamsize>(start.size()));
    Require(!error && static_cast<std::int64_t>(size) == input.Size && in && start == input.Written,
            "the Level 1b file changed under the name " + name.string());
}

// What must refuse the import, in the order the import must find it: a refusal of the program's
// own or a failure of a file; no value for a success.
using Expected = std::variant<Refusal, FileProblem>;

std::optional<Expected> ExpectedRefusal(const fuzz::NamedFile& output, PathKind kind,
                                        const Level1bFile& file) {
    if (output.IsInput) {
        return FileProblem::IsTheInput;
    }
    if (file.Verdict != avhrr::Level1bVerdict::Recognised) {
        return Refusal::NotLevel1b;
    }
    if (file.DataType == Level1bDataType::Gac) {
        return Refusal::Level1bGac;
    }
    if (file.DataType == Level1bDataType::Unknown) {
        return Refusal::Level1bUnknownType;
    }
    const bool versionRead = file.Kind == avhrr::Level1bKind::Klm
                                 ? file.Version >= 2 && file.Version <= 5
                                 : file.Version == 1;
    if (!versionRead) {
        return Refusal::Level1bVersion;
    }
    if (file.SampleBits != 10) {
        return Refusal::Level1bUnpacked;
    }
    if (file.RecordsToRead() == 0) {
        return Refusal::Level1bNoRecord;
    }
    if (file.RecordsToRead() > kMostHrpLines) {
        return FileProblem::TooLong;
    }
    if (kind == PathKind::MissingFolder) {
        return FileProblem::CannotOpen;
    }
    if (kind == PathKind::Folder) {
        return FileProblem::CannotWrite;
    }
    return std::nullopt;
}

bool SameAs(const CommandOutcome& outcome, const Expected& expected) {
    if (const Refusal* why = std::get_if<Refusal>(&expected)) {
        return outcome.Is(*why);
    }
    const Failure* failure = outcome.FileFailure();
    return failure != nullptr && (*failure)->Problem == std::get<FileProblem>(expected);
}

// The new file against the records it was made from; returns the summary it must come with.
Level1bImportSummary CheckImported(const fs::path& path, const Bytes& written,
                                   const Level1bFile& file) {
    const std::int64_t records = file.RecordsToRead();
    const std::optional<Bytes> hrp = fuzz::FileBytes(path);
    Require(hrp && static_cast<std::int64_t>(hrp->size()) == records * kLineBytes,
            "the new file does not hold " + Text(records) + " whole lines");
    Level1bImportSummary summary;
    std::optional<avhrr::Level1bTime> first;
    Bytes line(static_cast<std::size_t>(kLineBytes));
    for (std::int64_t r = 0; r < records; ++r) {
        const auto at = static_cast<std::size_t>(file.FirstRecordAt + r * file.RecordBytes);
        const avhrr::RecordFacts facts =
            avhrr::DecodeRecord(file.Kind, file.Version,
                                std::span<const std::uint8_t>(written).subspan(
                                    at, static_cast<std::size_t>(file.RecordBytes)),
                                std::span<std::uint8_t, static_cast<std::size_t>(kLineBytes)>(
                                    line.data(), line.size()));
        const std::size_t from = r == 0 ? static_cast<std::size_t>(kLineHeaderBytes) : 0;
        Require(std::equal(line.begin() + static_cast<std::ptrdiff_t>(from), line.end(),
                           hrp->begin() + r * kLineBytes + static_cast<std::ptrdiff_t>(from)),
                "line " + Text(r + 1) + " is not its record's");
        summary.BadRecords += facts.Bad() ? 1 : 0;
        if (!facts.MissingTime) {
            first = first.value_or(facts.Time);
            summary.Last = facts.Time;
        }
    }
    const LineHeaderRecord h = DecodeLineHeader(
        std::span<const std::uint8_t, kLineHeaderBytes>(hrp->data(), kLineHeaderBytes));
    Require(LineCountOf(h) == records,
            "the header states " + Text(LineCountOf(h)) + " lines, not " + Text(records));
    const char* title = file.Spacecraft != nullptr ? file.Spacecraft->Title : "NOAA-?? ";
    const std::int16_t satId = file.Spacecraft != nullptr ? file.Spacecraft->SatId : 0;
    Require(std::memcmp(h.Title.data(), title, h.Title.size()) == 0 && h.SatId == satId,
            "the title and SatId are not those of the spacecraft the header names");
    std::uint64_t timeDiffBits = 0;
    std::memcpy(&timeDiffBits, &h.TimeDiff, sizeof timeDiffBits);
    Require(h.Spare == 0 && timeDiffBits == 0, "Spare or TimeDiff is not 0");
    if (first) {
        using namespace std::chrono;
        const year_month_day date{std::chrono::year{h.Year}, month(static_cast<unsigned>(h.Month)),
                                  day(static_cast<unsigned>(h.Day))};
        Require(date.ok() && h.Year >= first->Year - 1 && h.Year <= first->Year,
                "the start date " + Text(h.Year) + "-" + Text(h.Month) + "-" + Text(h.Day) +
                    " is no date of the first time's year or the year before");
        Require(h.Hour >= 0 && h.Hour < 24 && h.Minute >= 0 && h.Minute < 60 && h.Secs >= 0 &&
                    h.Secs < 60,
                "the start time " + Text(h.Hour) + ":" + Text(h.Minute) + ":" + Text(h.Secs) +
                    " is no time of day");
    } else {
        Require(h.Year == 0 && h.Month == 0 && h.Day == 0 && h.Hour == 0 && h.Minute == 0 &&
                    h.Secs == 0,
                "without a record's time the date and the time must be 0");
    }
    summary.Kind = file.Kind;
    summary.Version = file.Version;
    summary.DataType = file.DataType;
    summary.ArchiveHeaderBytes = file.ArchiveHeaderBytes;
    summary.SpacecraftCode = file.SpacecraftCode;
    summary.SpacecraftKnown = file.Spacecraft != nullptr;
    summary.Header = h;
    summary.Records = records;
    summary.StatedRecords = file.StatedRecords;
    summary.TimeFound = first.has_value();
    summary.First = first.value_or(avhrr::Level1bTime{});
    summary.RecordsPastCount = file.WholeRecords - records;
    summary.BytesLeftOver = file.TrailingBytes;
    return summary;
}

bool SameTime(const avhrr::Level1bTime& a, const avhrr::Level1bTime& b) {
    return a.Year == b.Year && a.DayOfYear == b.DayOfYear && a.Millisecond == b.Millisecond;
}

bool SameSummary(const Level1bImportSummary& a, const Level1bImportSummary& b) {
    return a.Kind == b.Kind && a.Version == b.Version && a.DataType == b.DataType &&
           a.ArchiveHeaderBytes == b.ArchiveHeaderBytes && a.SpacecraftCode == b.SpacecraftCode &&
           a.SpacecraftKnown == b.SpacecraftKnown && a.Header == b.Header &&
           a.Records == b.Records && a.StatedRecords == b.StatedRecords &&
           a.TimeFound == b.TimeFound && SameTime(a.First, b.First) && SameTime(a.Last, b.Last) &&
           a.BadRecords == b.BadRecords && a.RecordsPastCount == b.RecordsPastCount &&
           a.BytesLeftOver == b.BytesLeftOver;
}

int Run(std::span<const std::uint8_t> data) {
    if (data.size() > kMostInputBytes) {
        return 0;
    }
    const fuzz::FuzzInput input(data, kChoiceBytes);
    const std::size_t length =
        16 * (input.Choice(0) + 256 * (input.Choice(1) & 15u)) + (input.Choice(1) >> 4);
    const PathKind outputKind = fuzz::PathKindOf(static_cast<std::uint8_t>(input.Choice(2) & 7));
    const bool grown = (input.Choice(2) & 8) != 0;

    InputFile level1b;
    level1b.Written = fuzz::BuildSparseFile(input.File(), length);
    level1b.Size = static_cast<std::int64_t>(length) + (grown ? kGrowth : 0);
    const std::span<const std::uint8_t> start =
        std::span<const std::uint8_t>(level1b.Written)
            .first(std::min<std::size_t>(length, avhrr::kLevel1bDetectBytes));
    const Level1bFile file = avhrr::DetectLevel1b(start, level1b.Size);
    if (grown && file.Verdict == avhrr::Level1bVerdict::Recognised &&
        file.RecordsToRead() <= kMostHrpLines) {
        return 0;
    }

    const fs::path& run = fuzz::FreshRunFolder();
    const fs::path work = run / "work";
    fs::create_directory(work);
    level1b.Path = work / "pass.l1b";
    fuzz::WriteFile(level1b.Path, level1b.Written);
    // Named before the file grows: a name of the input keeps its bytes as they were written.
    const fuzz::NamedFile output = fuzz::NameFile(outputKind, work, level1b.Path, "new.hrp", 1000);
    if (grown) {
        // Sparse: nothing of it is ever written out.
        fs::resize_file(level1b.Path, static_cast<std::uintmax_t>(level1b.Size));
    }
    std::set<std::string> allowed{level1b.Path.filename().string()};
    if (output.Path.parent_path() == work) {
        allowed.insert(output.Path.filename().string());
    }
    const int openBefore = testing::OpenFiles();

    const std::optional<std::int64_t> readBefore = fuzz::BytesRead();
    Level1bImportSummary summary;
    const CommandOutcome outcome =
        ImportLevel1b(level1b.Path.string(), output.Path.string(), summary);
    const std::optional<std::int64_t> readAfter = fuzz::BytesRead();
    const std::optional<Expected> refusal = ExpectedRefusal(output, outputKind, file);
    if (outcome.Done() == refusal.has_value()) {
        Broken(refusal ? "the import carried out what it must refuse"
                       : "the import refused what it must carry out: " + MessageFor(outcome));
    }
    if (refusal) {
        Require(SameAs(outcome, *refusal),
                "the import was refused for another reason: " + MessageFor(outcome));
    } else {
        Require(SameSummary(summary, CheckImported(output.Path, level1b.Written, file)),
                "the summary does not agree with the file");
    }
    if (grown && readBefore && readAfter) {
        // The first bytes, and the few bytes of /proc/self/io itself.
        Require(*readAfter - *readBefore < avhrr::kLevel1bDetectBytes + 512,
                "a file of more records than a header counts was read before its refusal: " +
                    Text(*readAfter - *readBefore) + " bytes");
    }

    RequireInputUnchanged(level1b, level1b.Path);
    if (output.IsInput) {
        RequireInputUnchanged(level1b, output.Path);
    } else if (!outcome.Done()) {
        fuzz::RequireUnchanged(output, "a refused import changed its output");
    }
    for (const auto& entry : fs::directory_iterator(run)) {
        Require(entry.path() == work,
                "a file was left beside the work folder: " + entry.path().filename().string());
    }
    for (const auto& entry : fs::directory_iterator(work)) {
        Require(allowed.count(entry.path().filename().string()) == 1,
                "a file was left in the work folder: " + entry.path().filename().string());
    }
    Require(testing::OpenFiles() == openBefore, "the import left a file open");
    return 0;
}

}  // namespace
}  // namespace qiv::swathly

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qiv::swathly::Run({data, size});
}
