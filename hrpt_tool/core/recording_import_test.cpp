#include "hrpt_tool/core/recording_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "common/core/dimension_header.h"
#include "common/testing/failure_check.h"
#include "hrpt_tool/testing/fake_main_view.h"
#include "hrpt_tool/core/line_cut.h"
#include "hrpt_tool/core/line_header.h"
#include "hrpt_tool/core/line_record.h"
#include "common/testing/memory_canvas.h"
#include "common/testing/param_name.h"
#include "hrpt_tool/core/quicklook.h"
#include "hrpt_tool/core/quicklook_image.h"
#include "hrpt_tool/testing/recording_fixture.h"
#include "common/testing/scripted_dialogs.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "common/testing/temp_dir.h"

namespace qiv::swathly {
namespace {

using qiv::testing::FrameFacts;
using qiv::testing::Pass;
using qiv::testing::Recording;
using qiv::testing::Succeeded;
using qiv::testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

Bytes LineOf(const Bytes& file, std::int64_t line) {
    const auto from = file.begin() + (line - 1) * kLineBytes;
    return {from, from + kLineBytes};
}

LineHeaderRecord HeaderOf(const Bytes& file) {
    return DecodeLineHeader(
        std::span<const std::uint8_t, kLineHeaderBytes>(file.data(), kLineHeaderBytes));
}

struct OrderCase {
    const char* desc;
    ByteOrder order;
    int frames;
    std::size_t leftOver;
    std::vector<int> damaged;  // frames whose sync is broken
    friend void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.desc; }
};

class ImportOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(ImportOrderTest, EveryWholeFrameBecomesALittleEndianLine) {
    const OrderCase& c = GetParam();
    std::vector<FrameFacts> facts = Pass(c.frames);
    for (const int k : c.damaged) {
        facts[static_cast<std::size_t>(k)].Sync = false;
    }
    TempDir dir;
    const auto recording = dir.Write("pass.raw16", Recording(facts, c.order, c.leftOver));
    const auto before = TempDir::Read(recording);
    ImportSummary summary;
    ASSERT_TRUE(
        Succeeded(ImportRecording(recording.string(), (dir / "pass.hrp").string(), 2024, summary)));

    const Bytes hrp = TempDir::Read(dir / "pass.hrp");
    ASSERT_EQ(hrp.size(), static_cast<std::size_t>(c.frames * kLineBytes));
    const Bytes first = qiv::testing::Frame(0, facts[0]);
    EXPECT_TRUE(std::equal(hrp.begin() + kLineHeaderBytes, hrp.begin() + kLineBytes,
                           first.begin() + kLineHeaderBytes));
    for (int k = 1; k < c.frames; ++k) {
        ASSERT_EQ(LineOf(hrp, k + 1), qiv::testing::Frame(k, facts[static_cast<std::size_t>(k)]))
            << "line " << k;
    }
    EXPECT_EQ(summary.Header, HeaderOf(hrp));
    EXPECT_EQ(LineCountOf(summary.Header), c.frames);
    EXPECT_EQ(summary.Frames, c.frames);
    EXPECT_EQ(summary.Order, c.order);
    EXPECT_EQ(summary.DamagedFrames, static_cast<std::int64_t>(c.damaged.size()));
    EXPECT_EQ(summary.BytesLeftOver, static_cast<std::int64_t>(c.leftOver));
    EXPECT_EQ(TempDir::Read(recording), before);
    // Nothing but the recording and the new file: the temporary file took the new file's name.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              2);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ImportOrderTest,
    ::testing::Values(
        OrderCase{"little endian over two blocks", ByteOrder::Little, 50, 0, {}},
        OrderCase{"big endian over two blocks", ByteOrder::Big, 50, 0, {}},
        OrderCase{"big endian with a partial frame left out", ByteOrder::Big, 3, 1000, {}},
        OrderCase{"damaged frames are kept and counted", ByteOrder::Little, 5, 0, {1, 4}},
        OrderCase{"a damaged first frame does not hide the order", ByteOrder::Big, 4, 0, {0}},
        OrderCase{"one frame and a byte short of two", ByteOrder::Little, 1, kLineBytes - 1, {}}),
    qiv::testing::DescName<OrderCase>);

struct Start {
    int Year, Month, Day, Hour, Minute, Secs;
    friend bool operator==(const Start&, const Start&) = default;
    friend void PrintTo(const Start& s, std::ostream* os) {
        *os << s.Year << "-" << s.Month << "-" << s.Day << " " << s.Hour << ":" << s.Minute << ":"
            << s.Secs;
    }
};

struct TimeCase {
    const char* desc;
    std::int16_t year;
    std::vector<FrameFacts> frames;
    bool found;
    Start start;
    friend void PrintTo(const TimeCase& c, std::ostream* os) { *os << c.desc; }
};

class ImportTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(ImportTimeTest, LineOneStartsAtTheFirstValidTimeCodeTakenBack) {
    const TimeCase& c = GetParam();
    TempDir dir;
    const auto recording = dir.Write("pass.raw16", Recording(c.frames));
    ImportSummary summary;
    ASSERT_TRUE(Succeeded(
        ImportRecording(recording.string(), (dir / "pass.hrp").string(), c.year, summary)));
    const LineHeaderRecord h = HeaderOf(TempDir::Read(dir / "pass.hrp"));
    EXPECT_EQ(summary.TimeFound, c.found);
    EXPECT_EQ((Start{h.Year, h.Month, h.Day, h.Hour, h.Minute, h.Secs}), c.start);
}

// Frames whose time code is no time at all: day 0.
std::vector<FrameFacts> NoTime(int count) {
    return std::vector<FrameFacts>(static_cast<std::size_t>(count), FrameFacts{15, 0, 0, true});
}

std::vector<FrameFacts> Join(std::vector<FrameFacts> a, const std::vector<FrameFacts>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A pass whose frame 1 (from 0) is the first with a valid time code, 09:41:30.5 + 1/6 s.
std::vector<FrameFacts> AfterFirstFrame(FrameFacts first) {
    FrameFacts next{};
    next.Millisecond += 166;
    return Join({first}, Pass(2, next));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, ImportTimeTest,
    ::testing::Values(
        TimeCase{"cut down to whole seconds",
                 2024, Pass(3, {15, 158, 34'890'999}), true, {2024, 6, 6, 9, 41, 30}},
        TimeCase{"a first time code out of range is passed over",
                 2024, AfterFirstFrame({15, 0, 5, true}), true, {2024, 6, 6, 9, 41, 30}},
        TimeCase{"a first time code that the next frame does not confirm is passed over",
                 2024, AfterFirstFrame({15, 158, 12'000'000, true}), true, {2024, 6, 6, 9, 41, 30}},
        TimeCase{"the time code of a frame with a damaged sync is passed over",
                 2024, AfterFirstFrame({15, 158, 1'000'000, false}), true, {2024, 6, 6, 9, 41, 30}},
        TimeCase{"taken back across midnight",
                 2023, Join(NoTime(3), Pass(2, {15, 32, 100})), true, {2023, 1, 31, 23, 59, 59}},
        TimeCase{"taken back across New Year",
                 2024, Join(NoTime(3), Pass(2, {15, 1, 100})), true, {2023, 12, 31, 23, 59, 59}},
        TimeCase{"confirmed across midnight",
                 2024, {{15, 10, 86'399'900}, {15, 11, 66}, {15, 11, 233}}, true,
                 {2024, 1, 10, 23, 59, 59}},
        TimeCase{"day 366 of a leap year",
                 2024, Pass(2, {15, 366, 43'200'000}), true, {2024, 12, 31, 12, 0, 0}},
        TimeCase{"day 366 of another year is no time",
                 2023, Pass(2, {15, 366, 43'200'000}), false, {2023, 0, 0, 0, 0, 0}},
        TimeCase{"a single frame in range is taken when no two agree",
                 2024, {{15, 200, 3'600'000}}, true, {2024, 7, 18, 1, 0, 0}},
        TimeCase{"no valid time code leaves date and time at 0",
                 2024, NoTime(3), false, {2024, 0, 0, 0, 0, 0}}),
    qiv::testing::DescName<TimeCase>);
// clang-format on

struct SatelliteCase {
    const char* desc;
    std::vector<FrameFacts> frames;
    const char* title;
    std::int16_t satId;
    friend void PrintTo(const SatelliteCase& c, std::ostream* os) { *os << c.desc; }
};

class ImportSatelliteTest : public ::testing::TestWithParam<SatelliteCase> {};

TEST_P(ImportSatelliteTest, TitleAndSatIdFromTheAddressMostFramesCarry) {
    const SatelliteCase& c = GetParam();
    TempDir dir;
    const auto recording = dir.Write("pass.raw16", Recording(c.frames));
    ImportSummary summary;
    ASSERT_TRUE(
        Succeeded(ImportRecording(recording.string(), (dir / "pass.hrp").string(), 2024, summary)));
    const LineHeaderRecord h = HeaderOf(TempDir::Read(dir / "pass.hrp"));
    EXPECT_EQ(std::string(h.Title.begin(), h.Title.end()), c.title);
    EXPECT_EQ(h.SatId, c.satId);
    EXPECT_EQ(h.Spare, 0);
    EXPECT_EQ(h.TimeDiff, 0.0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, ImportSatelliteTest,
    ::testing::Values(
        SatelliteCase{"NOAA-15", {{7}, {7}}, "NOAA-15 ", 15},
        SatelliteCase{"NOAA-18", {{13}}, "NOAA-18 ", 18},
        SatelliteCase{"NOAA-19", {{15}}, "NOAA-19 ", 19},
        SatelliteCase{"an address of no known satellite", {{3}, {3}}, "NOAA-?? ", 0},
        SatelliteCase{"most frames decide", {{13}, {7}, {13}}, "NOAA-18 ", 18},
        SatelliteCase{"frames with a damaged sync do not count",
                      {{7, 1, 0, false}, {7, 1, 0, false}, {15}}, "NOAA-19 ", 19}),
    qiv::testing::DescName<SatelliteCase>);
// clang-format on

enum class Output { NewFile, TheRecording, AFolder };

struct RefusalCase {
    const char* desc;
    Bytes (*recording)();
    std::int64_t sparseFrames;  // grown to this many frames without writing them, when not 0
    Output output;
    FileProblem problem;
    const char* says;
    std::int16_t year = 2024;
    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.desc; }
};

class ImportRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ImportRefusalTest, LeavesEveryFileAsItWas) {
    const RefusalCase& c = GetParam();
    TempDir dir;
    const auto recording = dir.Write("pass.raw16", c.recording());
    if (c.sparseFrames > 0) {
        std::filesystem::resize_file(recording, static_cast<std::uintmax_t>(c.sparseFrames) *
                                                    static_cast<std::uintmax_t>(kLineBytes));
    }
    auto output = dir / "pass.hrp";
    const Bytes old{1, 2, 3};
    switch (c.output) {
        case Output::NewFile:
            dir.Write("pass.hrp", old);
            break;
        case Output::TheRecording:
            output = recording;
            break;
        case Output::AFolder:
            std::filesystem::create_directory(output);
            break;
    }
    const Bytes before = c.sparseFrames > 0 ? Bytes{} : TempDir::Read(recording);

    ImportSummary summary;
    const CommandOutcome outcome =
        ImportRecording(recording.string(), output.string(), c.year, summary);
    ASSERT_FALSE(outcome.Done());
    // A year out of range is a refusal of the program's own; the rest are the files' failures.
    if (c.problem == FileProblem::Refused) {
        EXPECT_TRUE(outcome.Is(Refusal::BadYear));
    } else {
        ASSERT_NE(outcome.FileFailure(), nullptr);
        EXPECT_EQ((*outcome.FileFailure())->Problem, c.problem);
    }
    EXPECT_NE(MessageFor(outcome).find(c.says), std::string::npos) << MessageFor(outcome);
    if (c.sparseFrames == 0) {
        EXPECT_EQ(TempDir::Read(recording), before);
    }
    if (c.output == Output::NewFile) {
        EXPECT_EQ(TempDir::Read(output), old);
    }
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              c.output == Output::TheRecording ? 1 : 2);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ImportRefusalTest,
    ::testing::Values(
        RefusalCase{"an empty file", [] { return Bytes{}; }, 0, Output::NewFile,
                    FileProblem::NoFrames, "holds no whole HRPT frame: it has 0 bytes"},
        RefusalCase{"a frame short of a byte",
                    [] {
                        Bytes frame = Recording(Pass(1));
                        frame.pop_back();
                        return frame;
                    },
                    0, Output::NewFile, FileProblem::NoFrames, "it has 22179 bytes"},
        RefusalCase{"frames without the sync",
                    [] {
                        Bytes frames = Recording(Pass(3));
                        for (std::int64_t at = 0; at < 3 * kLineBytes; at += kLineBytes) {
                            frames[static_cast<std::size_t>(at)] ^= 0xFF;
                        }
                        return frames;
                    },
                    0, Output::NewFile, FileProblem::NoFrames, "in neither byte order"},
        RefusalCase{"more frames than a header counts", [] { return Recording(Pass(1)); },
                    kMostHrpLines + 1, Output::NewFile, FileProblem::TooLong,
                    "holds 65536 lines, more than the 65535"},
        RefusalCase{"the output is the recording", [] { return Recording(Pass(2)); }, 0,
                    Output::TheRecording, FileProblem::IsTheInput, "is the input file"},
        RefusalCase{"an output that cannot take the new file", [] { return Recording(Pass(2)); }, 0,
                    Output::AFolder, FileProblem::CannotWrite, "pass.hrp: Is a directory"},
        // A pass from before New Year would be dated in year -32769, which wrapped to 32767.
        RefusalCase{"a year before the first",
                    [] {
                        return Recording(Join(NoTime(1), Pass(1, {15, 1, 100})));
                    },
                    0, Output::NewFile, FileProblem::Refused, "Enter a year from 1 to 9999",
                    -32768},
        RefusalCase{"a year after the last", [] { return Recording(Pass(2)); }, 0, Output::NewFile,
                    FileProblem::Refused, "Enter a year from 1 to 9999", 10000}),
    qiv::testing::DescName<RefusalCase>);

// Channel b of sample c (both from 1) on line `line` of the recording below.
int EarthWord(std::int64_t line, int c, int b) {
    return static_cast<int>((line - 1) * 31 + (750 + 5 * (c - 1) + b) * 7) & 0x3FF;
}

// The imported file is an HRP file like any other: its header shows, its quicklook and its cut
// are those of the frames.
TEST(ImportedFile, ReadsBackThroughHeaderQuicklookAndCut) {
    TempDir dir;
    const auto recording = dir.Write("pass.hrp", Recording(Pass(30), ByteOrder::Big));
    ImportSummary summary;
    ASSERT_TRUE(Succeeded(
        ImportRecording(recording.string(), (dir / "pass-le.hrp").string(), 2024, summary)));

    SwathlyState state;
    state.InputPath = (dir / "pass-le.hrp").string();
    state.InputChosen = true;
    qiv::testing::ScriptedDialogs dialogs;
    qiv::testing::FakeMainView form1;
    MemoryCanvas waitArea = qiv::testing::WaitArea();
    ASSERT_TRUE(ShowOutcome(DisplayHeaderAndPrintData(state, "1", dialogs, form1), dialogs));
    const HeaderTexts shown = form1.Boxes();
    EXPECT_EQ(shown.Title, "NOAA-19 ");
    EXPECT_EQ(shown.SatId, "19");
    EXPECT_EQ(shown.Year + "-" + shown.Month + "-" + shown.Day, "2024-6-6");
    EXPECT_EQ(shown.Hour + ":" + shown.Minute + ":" + shown.Secs, "9:41:30");
    EXPECT_EQ(shown.Rows, "30");

    state.OutputPath = (dir / "ch2.img").string();
    state.OutputChosen = true;
    ASSERT_TRUE(ShowOutcome(
        HrpQuicklook(state, "5", "1", BandButton::Band2, dialogs, form1, waitArea), dialogs));
    const Bytes quicklook = TempDir::Read(dir / "ch2.img");
    ASSERT_EQ(quicklook.size(), 6u * 410u);
    for (const auto& [row, column] : {std::pair{1, 1}, std::pair{5, 409}}) {
        SCOPED_TRACE("row " + std::to_string(row) + ", column " + std::to_string(column));
        EXPECT_EQ(
            quicklook[static_cast<std::size_t>(row * 410 + column)],
            ScaleTenToEight(static_cast<std::int16_t>(EarthWord(1 + 5 * row, 1 + 5 * column, 2))))
            << "row " << row << ", column " << column;
    }

    state.OutputPath = (dir / "part.hrp").string();
    state.OutputChosen = true;
    dialogs.Answer("3").Answer("12");
    ASSERT_TRUE(ShowOutcome(CutLineRange(state, "1", dialogs, form1, waitArea), dialogs));
    const Bytes part = TempDir::Read(dir / "part.hrp");
    ASSERT_EQ(part.size(), static_cast<std::size_t>(10 * kLineBytes));
    EXPECT_EQ(LineCountOf(HeaderOf(part)), 10);
    EXPECT_EQ(LineOf(part, 2), qiv::testing::Frame(3, Pass(30)[3]));
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{});
}

}  // namespace
}  // namespace qiv::swathly
