#include "hrpt_tool/core/level1b_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "avhrr/level1b_writer.h"
#include "common/testing/failure_check.h"
#include "common/testing/memory_canvas.h"
#include "common/testing/param_name.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "hrpt_tool/core/line_cut.h"
#include "hrpt_tool/core/line_header.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/quicklook.h"
#include "hrpt_tool/core/quicklook_image.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "hrpt_tool/testing/fake_main_view.h"

namespace qiv::swathly {
namespace {

namespace w = qiv::avhrr::l1b_writer;
using qiv::testing::Succeeded;
using qiv::testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

// The HRP line a record must become, from what the writer was given and the HRP layout alone:
// frame words 1-103 in words 1-103, the counts from word 751 on, zeros elsewhere.
Bytes ExpectedLine(const w::Record& r) {
    Bytes line(static_cast<std::size_t>(kLineBytes), 0);
    const auto put = [&](std::size_t word, std::uint16_t value) {
        line[2 * (word - 1)] = static_cast<std::uint8_t>(value & 0xFF);
        line[2 * (word - 1) + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    for (std::size_t k = 0; k < r.FrameWords.size(); ++k) {
        put(k + 1, r.FrameWords[k]);
    }
    for (std::size_t i = 0; i < r.Counts.size(); ++i) {
        put(751 + i, r.Counts[i]);
    }
    return line;
}

Bytes LineOf(const Bytes& file, std::int64_t line) {
    const auto from = file.begin() + (line - 1) * kLineBytes;
    return {from, from + kLineBytes};
}

LineHeaderRecord HeaderOf(const Bytes& file) {
    return DecodeLineHeader(
        std::span<const std::uint8_t, kLineHeaderBytes>(file.data(), kLineHeaderBytes));
}

std::string TitleOf(const LineHeaderRecord& h) {
    return {h.Title.begin(), h.Title.end()};
}

std::size_t FilesIn(const TempDir& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.Path()),
                                                  std::filesystem::directory_iterator()));
}

// Record i (from 0) of a pass that starts at `start`, 1/6 s a line, each with counts and frame
// words of its own.
w::Record PassRecord(int i, w::Time start) {
    w::Record r;
    r.ScanLine = i + 1;
    r.When = start;
    r.When.Millisecond += static_cast<std::uint32_t>(i * 1000 / 6);
    r.FrameWords = w::PatternFrameWords(i);
    r.Counts = w::PatternCounts(i);
    return r;
}

w::File PassFile(bool klm, int records, w::Time start = {2024, 158, 34'890'500}) {
    w::File f;
    f.Klm = klm;
    f.Start = start;
    f.End = start;
    for (int i = 0; i < records; ++i) {
        f.Records.push_back(PassRecord(i, start));
    }
    return f;
}

struct Start {
    int Year, Month, Day, Hour, Minute, Secs;
    friend bool operator==(const Start&, const Start&) = default;
    friend void PrintTo(const Start& s, std::ostream* os) {
        *os << s.Year << "-" << s.Month << "-" << s.Day << " " << s.Hour << ":" << s.Minute << ":"
            << s.Secs;
    }
};

Start StartOf(const LineHeaderRecord& h) {
    return {h.Year, h.Month, h.Day, h.Hour, h.Minute, h.Secs};
}

struct LayoutCase {
    const char* desc;
    bool klm;
    int version;
    int spacecraft;
    int dataType;
    bool archiveHeader;
    int headerRecords;
    int records;
    const char* title;
    std::int16_t satId;
    friend void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.desc; }
};

class Level1bLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Level1bLayoutTest, EveryRecordBecomesItsLine) {
    const LayoutCase& c = GetParam();
    w::File plan = PassFile(c.klm, c.records);
    plan.Version = c.version;
    plan.Spacecraft = c.spacecraft;
    plan.DataType = c.dataType;
    plan.ArchiveHeader = c.archiveHeader;
    plan.HeaderRecords = c.headerRecords;
    TempDir dir;
    const auto input = dir.Write("pass.l1b", w::Write(plan));
    const Bytes before = TempDir::Read(input);
    Level1bImportSummary summary;
    ASSERT_TRUE(Succeeded(ImportLevel1b(input.string(), (dir / "pass.hrp").string(), summary)));

    const Bytes hrp = TempDir::Read(dir / "pass.hrp");
    ASSERT_EQ(hrp.size(), static_cast<std::size_t>(c.records * kLineBytes));
    const Bytes first = ExpectedLine(plan.Records[0]);
    EXPECT_TRUE(std::equal(hrp.begin() + kLineHeaderBytes, hrp.begin() + kLineBytes,
                           first.begin() + kLineHeaderBytes));
    for (int k = 1; k < c.records; ++k) {
        ASSERT_EQ(LineOf(hrp, k + 1), ExpectedLine(plan.Records[static_cast<std::size_t>(k)]))
            << "line " << k + 1;
    }
    const LineHeaderRecord h = HeaderOf(hrp);
    EXPECT_EQ(TitleOf(h), c.title);
    EXPECT_EQ(h.SatId, c.satId);
    EXPECT_EQ(StartOf(h), (Start{2024, 6, 6, 9, 41, 30}));
    EXPECT_EQ(LineCountOf(h), c.records);
    EXPECT_EQ(h.Spare, 0);
    EXPECT_EQ(h.TimeDiff, 0.0);
    EXPECT_EQ(summary.Header, h);
    EXPECT_EQ(summary.Records, c.records);
    EXPECT_EQ(summary.Version, c.klm ? c.version : 1);
    EXPECT_EQ(summary.ArchiveHeaderBytes, c.archiveHeader ? (c.klm ? 512 : 122) : 0);
    EXPECT_EQ(summary.BadRecords, 0);
    EXPECT_EQ(summary.BytesLeftOver, 0);
    EXPECT_EQ(TempDir::Read(input), before);
    EXPECT_EQ(FilesIn(dir), 2u);
}

// Spacecraft codes: KLM guide table 8.3.1.3.2-1, POD guide section 2 (header byte 1).
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, Level1bLayoutTest,
    ::testing::Values(
        LayoutCase{"KLM version 2 NOAA-15 LAC", true, 2, 4, 1, false, 1, 3, "NOAA-15 ", 15},
        LayoutCase{"KLM version 3 NOAA-17 HRPT after an ARS header",
                   true, 3, 6, 3, true, 1, 3, "NOAA-17 ", 17},
        LayoutCase{"KLM version 4 NOAA-18 HRPT over two blocks of records",
                   true, 4, 7, 3, false, 1, 70, "NOAA-18 ", 18},
        LayoutCase{"KLM version 5 MetOp-A FRAC after an ARS header",
                   true, 5, 12, 13, true, 1, 3, "METOP-A ", 102},
        LayoutCase{"KLM version 5 MetOp-B FRAC of the guide's code",
                   true, 5, 11, 4, false, 1, 2, "METOP-B ", 101},
        LayoutCase{"KLM version 5 MetOp-C HRPT with a second header record",
                   true, 5, 13, 3, true, 2, 2, "METOP-C ", 103},
        LayoutCase{"KLM version 5 NOAA-19 with a code the guides do not list",
                   true, 5, 99, 3, false, 1, 1, "NOAA-?? ", 0},
        LayoutCase{"POD NOAA-12 HRPT after a TBM header",
                   false, 1, 5, 3, true, 1, 3, "NOAA-12 ", 12},
        LayoutCase{"POD NOAA-14 LAC", false, 1, 3, 1, false, 1, 66, "NOAA-14 ", 14}),
    qiv::testing::DescName<LayoutCase>);
// clang-format on

struct TimeCase {
    const char* desc;
    bool klm;
    std::vector<w::Time> times;  // of the records, in order
    bool found;
    Start start;
    friend void PrintTo(const TimeCase& c, std::ostream* os) { *os << c.desc; }
};

class Level1bTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(Level1bTimeTest, LineOneStartsAtTheRecordsOwnTime) {
    const TimeCase& c = GetParam();
    w::File plan = PassFile(c.klm, 0);
    for (std::size_t i = 0; i < c.times.size(); ++i) {
        w::Record r = PassRecord(static_cast<int>(i), c.times[i]);
        r.When = c.times[i];
        plan.Records.push_back(r);
    }
    TempDir dir;
    const auto input = dir.Write("pass.l1b", w::Write(plan));
    Level1bImportSummary summary;
    ASSERT_TRUE(Succeeded(ImportLevel1b(input.string(), (dir / "pass.hrp").string(), summary)));
    EXPECT_EQ(summary.TimeFound, c.found);
    EXPECT_EQ(StartOf(HeaderOf(TempDir::Read(dir / "pass.hrp"))), c.start);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, Level1bTimeTest,
    ::testing::Values(
        TimeCase{"cut down to whole seconds",
                 true, {{2024, 158, 34'890'999}}, true, {2024, 6, 6, 9, 41, 30}},
        TimeCase{"a leap day", true, {{2024, 60, 0}}, true, {2024, 2, 29, 0, 0, 0}},
        TimeCase{"a pass over midnight starts on the day before",
                 true, {{2023, 31, 86'399'900}, {2023, 32, 66}}, true, {2023, 1, 31, 23, 59, 59}},
        TimeCase{"a pass over New Year starts in the year before",
                 true, {{2009, 365, 86'399'500}, {2010, 1, 166}}, true, {2009, 12, 31, 23, 59, 59}},
        TimeCase{"record 1 with no time: record 2's taken back over midnight",
                 true, {{2023, 0, 0}, {2023, 32, 100}}, true, {2023, 1, 31, 23, 59, 59}},
        TimeCase{"record 1 with no time: record 2's taken back over New Year",
                 true, {{2024, 1, 90'000'000}, {2024, 1, 100}}, true, {2023, 12, 31, 23, 59, 59}},
        TimeCase{"POD's two-digit year 99 is 1999",
                 false, {{1999, 365, 86'399'700}, {2000, 1, 33}}, true, {1999, 12, 31, 23, 59, 59}},
        TimeCase{"POD's two-digit year 00 is 2000",
                 false, {{2000, 1, 33}}, true, {2000, 1, 1, 0, 0, 0}},
        TimeCase{"no record's time names a moment leaves date and time at 0",
                 true, {{2024, 0, 0}, {2024, 367, 0}}, false, {0, 0, 0, 0, 0, 0}}),
    qiv::testing::DescName<TimeCase>);
// clang-format on

struct SpacecraftCase {
    const char* desc;
    bool klm;
    int code;
    int year;
    const char* title;
    std::int16_t satId;
    friend void PrintTo(const SpacecraftCase& c, std::ostream* os) { *os << c.desc; }
};

class Level1bSpacecraftTest : public ::testing::TestWithParam<SpacecraftCase> {};

TEST_P(Level1bSpacecraftTest, TitleAndSatIdOfTheSatelliteTheCodeNames) {
    const SpacecraftCase& c = GetParam();
    w::File plan = PassFile(c.klm, 1, {c.year, 100, 0});
    plan.Spacecraft = c.code;
    TempDir dir;
    const auto input = dir.Write("pass.l1b", w::Write(plan));
    Level1bImportSummary summary;
    ASSERT_TRUE(Succeeded(ImportLevel1b(input.string(), (dir / "pass.hrp").string(), summary)));
    const LineHeaderRecord h = HeaderOf(TempDir::Read(dir / "pass.hrp"));
    EXPECT_EQ(TitleOf(h), c.title);
    EXPECT_EQ(h.SatId, c.satId);
    EXPECT_EQ(summary.SpacecraftCode, c.code);
    EXPECT_EQ(summary.SpacecraftKnown, c.satId != 0 || std::string(c.title) == "TIROS-N ");
}

// Codes of KLM guide table 8.3.1.3.2-1 and POD guide section 2; MetOp's SatIds are those the
// recording import and the calibration tables give them.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, Level1bSpacecraftTest,
    ::testing::Values(
        SpacecraftCase{"KLM 4 NOAA-15", true, 4, 2005, "NOAA-15 ", 15},
        SpacecraftCase{"KLM 2 NOAA-16", true, 2, 2005, "NOAA-16 ", 16},
        SpacecraftCase{"KLM 6 NOAA-17", true, 6, 2005, "NOAA-17 ", 17},
        SpacecraftCase{"KLM 7 NOAA-18", true, 7, 2010, "NOAA-18 ", 18},
        SpacecraftCase{"KLM 8 NOAA-19", true, 8, 2010, "NOAA-19 ", 19},
        SpacecraftCase{"KLM 12 MetOp-A", true, 12, 2010, "METOP-A ", 102},
        SpacecraftCase{"KLM 11 MetOp-B", true, 11, 2015, "METOP-B ", 101},
        SpacecraftCase{"KLM 13 MetOp-C", true, 13, 2020, "METOP-C ", 103},
        SpacecraftCase{"KLM code of no satellite", true, 3, 2020, "NOAA-?? ", 0},
        SpacecraftCase{"POD 5 NOAA-12", false, 5, 1995, "NOAA-12 ", 12},
        SpacecraftCase{"POD 3 NOAA-14", false, 3, 1998, "NOAA-14 ", 14},
        SpacecraftCase{"POD 1 before 1988 TIROS-N", false, 1, 1979, "TIROS-N ", 0},
        SpacecraftCase{"POD 1 from 1988 NOAA-11", false, 1, 1990, "NOAA-11 ", 11}),
    qiv::testing::DescName<SpacecraftCase>);
// clang-format on

// Bad records stay lines, so that line numbers keep step with the scan, and are counted.
TEST(Level1bRecords, BadRecordsAreKeptAndCounted) {
    w::File plan = PassFile(true, 5);
    plan.Records[0].Quality = 1u << 31;            // do not use
    plan.Records[1].Counts.clear();                // no counts
    plan.Records[2].When = {2024, 0, 34'890'833};  // no time
    plan.Records[3].Quality = 1u << 30;            // a time sequence error: doubt, not bad
    TempDir dir;
    const auto input = dir.Write("pass.l1b", w::Write(plan));
    Level1bImportSummary summary;
    ASSERT_TRUE(Succeeded(ImportLevel1b(input.string(), (dir / "pass.hrp").string(), summary)));
    const Bytes hrp = TempDir::Read(dir / "pass.hrp");
    ASSERT_EQ(hrp.size(), static_cast<std::size_t>(5 * kLineBytes));
    for (int k = 2; k <= 5; ++k) {
        EXPECT_EQ(LineOf(hrp, k), ExpectedLine(plan.Records[static_cast<std::size_t>(k - 1)]))
            << "line " << k;
    }
    EXPECT_EQ(summary.Records, 5);
    EXPECT_EQ(summary.BadRecords, 3);
    // Record 1 is bad, but its time names a moment.
    EXPECT_EQ(StartOf(summary.Header), (Start{2024, 6, 6, 9, 41, 30}));
    EXPECT_EQ(summary.Last.Millisecond, 34'890'500 + 4 * 1000 / 6);
}

struct CountCase {
    const char* desc;
    bool klm;
    int written;
    int stated;  // -1: as written
    std::size_t dropBytes;
    std::int64_t records, pastCount, leftOver;
    friend void PrintTo(const CountCase& c, std::ostream* os) { *os << c.desc; }
};

class Level1bCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(Level1bCountTest, WholeRecordsTheHeaderCountsBecomeLines) {
    const CountCase& c = GetParam();
    w::File plan = PassFile(c.klm, c.written);
    plan.StatedRecords = c.stated;
    plan.DropBytes = c.dropBytes;
    TempDir dir;
    const auto input = dir.Write("pass.l1b", w::Write(plan));
    Level1bImportSummary summary;
    ASSERT_TRUE(Succeeded(ImportLevel1b(input.string(), (dir / "pass.hrp").string(), summary)));
    const Bytes hrp = TempDir::Read(dir / "pass.hrp");
    ASSERT_EQ(hrp.size(), static_cast<std::size_t>(c.records * kLineBytes));
    EXPECT_EQ(LineOf(hrp, c.records),
              ExpectedLine(plan.Records[static_cast<std::size_t>(c.records - 1)]));
    EXPECT_EQ(LineCountOf(HeaderOf(hrp)), c.records);
    EXPECT_EQ(summary.Records, c.records);
    EXPECT_EQ(summary.RecordsPastCount, c.pastCount);
    EXPECT_EQ(summary.BytesLeftOver, c.leftOver);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, Level1bCountTest,
    ::testing::Values(
        CountCase{"a KLM record a byte short is left out", true, 3, -1, 1, 2, 0, 15871},
        CountCase{"a POD record cut in half is left out", false, 3, -1, 7400, 2, 0, 7400},
        CountCase{"records past the header's count are the archive's fill", true, 4, 2, 0, 2, 2, 0},
        CountCase{"fewer records than the header states", false, 2, 5, 0, 2, 0, 0},
        CountCase{"a header that counts none: every whole record", true, 3, 0, 0, 3, 0, 0}),
    qiv::testing::DescName<CountCase>);
// clang-format on

enum class Output { NewFile, TheInput, InputHardLink, AFolder };

// A refusal of the program's own, or a failure of a file.
using Expected = std::variant<Refusal, FileProblem>;

struct RefusalCase {
    const char* desc;
    Bytes (*file)();
    std::int64_t sparseBytes;  // grown to this size without writing, when not 0
    Output output;
    Expected expected;
    const char* says;
    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.desc; }
};

class Level1bRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Level1bRefusalTest, LeavesEveryFileAsItWas) {
    const RefusalCase& c = GetParam();
    TempDir dir;
    const auto input = dir.Write("pass.l1b", c.file());
    if (c.sparseBytes > 0) {
        std::filesystem::resize_file(input, static_cast<std::uintmax_t>(c.sparseBytes));
    }
    auto output = dir / "pass.hrp";
    const Bytes old{1, 2, 3};
    std::size_t files = 2;
    switch (c.output) {
        case Output::NewFile:
            dir.Write("pass.hrp", old);
            break;
        case Output::TheInput:
            output = dir.Path() / "." / "pass.l1b";
            files = 1;
            break;
        case Output::InputHardLink:
            std::filesystem::create_hard_link(input, output);
            break;
        case Output::AFolder:
            std::filesystem::create_directory(output);
            break;
    }
    const Bytes before = c.sparseBytes > 0 ? Bytes{} : TempDir::Read(input);
    Level1bImportSummary summary;
    const CommandOutcome outcome = ImportLevel1b(input.string(), output.string(), summary);
    ASSERT_FALSE(outcome.Done());
    if (const Refusal* why = std::get_if<Refusal>(&c.expected)) {
        ASSERT_NE(outcome.Refusal(), nullptr);
        EXPECT_EQ(outcome.Refusal()->Why, *why);
    } else {
        ASSERT_NE(outcome.FileFailure(), nullptr);
        EXPECT_EQ((*outcome.FileFailure())->Problem, std::get<FileProblem>(c.expected));
    }
    EXPECT_NE(MessageFor(outcome).find(c.says), std::string::npos) << MessageFor(outcome);
    if (c.sparseBytes == 0) {
        EXPECT_EQ(TempDir::Read(input), before);
    }
    if (c.output == Output::NewFile) {
        EXPECT_EQ(TempDir::Read(output), old);
    }
    EXPECT_EQ(FilesIn(dir), files);
}

Bytes Klm(int version, int dataType) {
    w::File plan = PassFile(true, 2);
    plan.Version = version;
    plan.DataType = dataType;
    return w::Write(plan);
}

Bytes PodWordSize(const char* size) {
    w::File plan = PassFile(false, 2);
    plan.ArchiveHeader = true;
    plan.TbmWordSize = size;
    return w::Write(plan);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, Level1bRefusalTest,
    ::testing::Values(
        RefusalCase{"a KLM GAC file", [] { return Klm(5, 2); }, 0, Output::NewFile,
                    Refusal::Level1bGac, "409 samples (4 km) cannot become HRP lines of 2048"},
        RefusalCase{"a POD GAC file",
                    [] {
                        w::File plan = PassFile(false, 2);
                        plan.DataType = 2;
                        return w::Write(plan);
                    },
                    0, Output::NewFile, Refusal::Level1bGac, "GAC file"},
        RefusalCase{"a data type the guides do not name", [] { return Klm(5, 7); }, 0,
                    Output::NewFile, Refusal::Level1bUnknownType, "neither LAC, HRPT, FRAC nor GAC"},
        RefusalCase{"KLM format version 1", [] { return Klm(1, 3); }, 0, Output::NewFile,
                    Refusal::Level1bVersion, "KLM format version 1: only versions 2 to 5"},
        RefusalCase{"KLM format version 6", [] { return Klm(6, 3); }, 0, Output::NewFile,
                    Refusal::Level1bVersion, "format version 6"},
        RefusalCase{"an archive copy of 16-bit samples", [] { return PodWordSize("16"); }, 0,
                    Output::NewFile, Refusal::Level1bUnpacked, "unpacked into 16 bits"},
        RefusalCase{"an archive copy of 8-bit samples", [] { return PodWordSize(" 8"); }, 0,
                    Output::NewFile, Refusal::Level1bUnpacked, "unpacked into 8 bits"},
        RefusalCase{"an HRP file", [] { return Bytes(3 * kLineBytes, 0x20); }, 0,
                    Output::NewFile, Refusal::NotLevel1b, "no NOAA Level 1b file"},
        RefusalCase{"an empty file", [] { return Bytes{}; }, 0, Output::NewFile,
                    Refusal::NotLevel1b, "no NOAA Level 1b file"},
        RefusalCase{"a header and part of a record",
                    [] {
                        w::File plan = PassFile(true, 1);
                        plan.DropBytes = 100;
                        return w::Write(plan);
                    },
                    0, Output::NewFile, Refusal::Level1bNoRecord,
                    "no whole data record after its header: 15772 bytes follow it, and a record "
                    "has 15872"},
        // Sparse: a KLM header that counts none, and room for one record more than a header
        // counts; the refusal comes from the size alone.
        RefusalCase{"more records than an HRP header counts",
                    [] {
                        w::File plan = PassFile(true, 1);
                        plan.StatedRecords = 0;
                        return w::Write(plan);
                    },
                    15872 * (1 + 65536), Output::NewFile, FileProblem::TooLong,
                    "holds 65536 lines, more than the 65535"},
        RefusalCase{"the output is the input under another spelling",
                    [] { return Klm(5, 3); }, 0, Output::TheInput, FileProblem::IsTheInput,
                    "is the input file"},
        RefusalCase{"the output is a second name of the input", [] { return Klm(5, 3); }, 0,
                    Output::InputHardLink, FileProblem::IsTheInput, "is the input file"},
        RefusalCase{"an output that cannot take the new file", [] { return Klm(5, 3); }, 0,
                    Output::AFolder, FileProblem::CannotWrite, "pass.hrp: Is a directory"}),
    qiv::testing::DescName<RefusalCase>);
// clang-format on

// The imported file is an HRP file like any other: its header shows, its quicklook and its cut
// are those of the records.
TEST(ImportedLevel1b, ReadsBackThroughHeaderQuicklookAndCut) {
    w::File plan = PassFile(true, 30);
    plan.ArchiveHeader = true;
    TempDir dir;
    const auto input = dir.Write("pass.l1b", w::Write(plan));
    Level1bImportSummary summary;
    ASSERT_TRUE(Succeeded(ImportLevel1b(input.string(), (dir / "pass.hrp").string(), summary)));

    SwathlyState state;
    state.InputPath = (dir / "pass.hrp").string();
    state.InputChosen = true;
    qiv::testing::ScriptedDialogs dialogs;
    qiv::testing::FakeMainView form1;
    MemoryCanvas waitArea(81, 25);
    ASSERT_TRUE(Succeeded(DisplayHeaderAndPrintData(state, "1", dialogs, form1)));
    const HeaderTexts shown = form1.Boxes();
    EXPECT_EQ(shown.Title, "NOAA-19 ");
    EXPECT_EQ(shown.SatId, "19");
    EXPECT_EQ(shown.Year + "-" + shown.Month + "-" + shown.Day, "2024-6-6");
    EXPECT_EQ(shown.Hour + ":" + shown.Minute + ":" + shown.Secs, "9:41:30");
    EXPECT_EQ(shown.Rows, "30");
    // Line 2's calibration words are its record's frame words (back scan from word 23 on).
    ASSERT_TRUE(Succeeded(DisplayHeaderAndPrintData(state, "2", dialogs, form1)));
    EXPECT_EQ(state.BackScan[0][0], static_cast<std::int16_t>(plan.Records[1].FrameWords[22]));
    EXPECT_EQ(state.SpaceView[4][9], static_cast<std::int16_t>(plan.Records[1].FrameWords[101]));

    state.OutputPath = (dir / "ch2.img").string();
    state.OutputChosen = true;
    ASSERT_TRUE(
        Succeeded(HrpQuicklook(state, "5", "1", BandButton::Band2, dialogs, form1, waitArea)));
    const Bytes quicklook = TempDir::Read(dir / "ch2.img");
    ASSERT_EQ(quicklook.size(), 6u * 410u);
    for (const auto& [row, column] : {std::pair{1, 1}, std::pair{5, 409}}) {
        const auto& counts = plan.Records[static_cast<std::size_t>(5 * row)].Counts;
        EXPECT_EQ(quicklook[static_cast<std::size_t>(row * 410 + column)],
                  ScaleTenToEight(static_cast<std::int16_t>(
                      counts[static_cast<std::size_t>(5 * (5 * column) + 1)])))
            << "row " << row << ", column " << column;
    }

    state.OutputPath = (dir / "part.hrp").string();
    state.OutputChosen = true;
    dialogs.Answer("3").Answer("12");
    ASSERT_TRUE(Succeeded(CutLineRange(state, "1", dialogs, form1, waitArea)));
    const Bytes part = TempDir::Read(dir / "part.hrp");
    ASSERT_EQ(part.size(), static_cast<std::size_t>(10 * kLineBytes));
    EXPECT_EQ(LineCountOf(HeaderOf(part)), 10);
    EXPECT_EQ(LineOf(part, 2), ExpectedLine(plan.Records[3]));
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{});
}

}  // namespace
}  // namespace qiv::swathly
