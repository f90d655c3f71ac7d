#include "hrpt_tool/core/line_record.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

#include "common/core/dimension_header.h"
#include "common/testing/param_name.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "hrpt_tool/core/line_header.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "hrpt_tool/testing/fake_main_view.h"

namespace qiv::swathly {
namespace {

using Patch = std::vector<std::pair<int, std::uint8_t>>;  // line byte, value

// The calibration words of line n carry n, so that a read at the wrong place shows.
std::int16_t TelemetryMark(int line, int k) {
    return static_cast<std::int16_t>(line * 1000 + k);
}
std::int16_t BackScanMark(int line, int run, int i) {
    return static_cast<std::int16_t>(-(line * 1000 + 100 + 10 * run + i));
}
std::int16_t SpaceViewMark(int line, int run, int i) {
    return static_cast<std::int16_t>(line * 1000 + 500 + 10 * run + i);
}

// An HRP file of `lines` lines plus `tail` bytes; line n has SatId n, the title "LINE n" and
// marked calibration words; `patch` is applied to line `patchLine`.
std::vector<std::uint8_t> MarkedFile(int lines, int tail, int patchLine = 0,
                                     const Patch& patch = {}) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(lines * kLineBytes + tail), 0x55);
    for (int n = 1; n <= lines + (tail > 0 ? 1 : 0); ++n) {
        std::vector<std::uint8_t> line(kCalibrationEnd, 0);
        const std::string title = "LINE " + std::to_string(n);
        std::copy(title.begin(), title.end(), line.begin());
        WriteInt16Le(&line[8], static_cast<std::int16_t>(n));
        for (int k = 0; k < 3; ++k) {
            WriteInt16Le(&line[33 + 2 * k], TelemetryMark(n, k));
        }
        for (int run = 0; run < 3; ++run) {
            for (int i = 0; i < 10; ++i) {
                WriteInt16Le(&line[44 + 20 * run + 2 * i], BackScanMark(n, run, i));
            }
        }
        for (int run = 0; run < 5; ++run) {
            for (int i = 0; i < 10; ++i) {
                WriteInt16Le(&line[104 + 20 * run + 2 * i], SpaceViewMark(n, run, i));
            }
        }
        if (n == patchLine) {
            for (const auto& [at, value] : patch) {
                line[static_cast<std::size_t>(at)] = value;
            }
        }
        const std::size_t start = static_cast<std::size_t>((n - 1) * kLineBytes);
        for (std::size_t i = 0; i < line.size() && start + i < bytes.size(); ++i) {
            bytes[start + i] = line[i];
        }
    }
    return bytes;
}

Patch Text(int at, std::string_view text) {
    Patch patch;
    for (const char c : text) {
        patch.emplace_back(at++, static_cast<std::uint8_t>(c));
    }
    return patch;
}

Patch Real(int at, double value) {
    Patch patch;
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) {
        patch.emplace_back(at + i, static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    return patch;
}

// ReadLineHeader as the display-header command runs it; the handle is closed again on return.
bool ReadHeader(SwathlyState& state, std::string_view lineText, Dialogs& dialogs,
                testing::FakeMainView& form1) {
    BinaryFile input;
    return ShowOutcome(ReadLineHeader(state, input, lineText, dialogs, form1), dialogs);
}

const std::string& Box(const HeaderTexts& shown, int index) {
    switch (index) {
        case 0:
            return shown.Title;
        case 1:
            return shown.SatId;
        case 2:
            return shown.Month;
        case 3:
            return shown.Day;
        case 4:
            return shown.Year;
        case 5:
            return shown.Hour;
        case 6:
            return shown.Minute;
        case 7:
            return shown.Secs;
        case 11:
            return shown.TimeDiff;
        case 12:
            return shown.Rows;
        case 13:
            return shown.Cols;
    }
    throw std::out_of_range("no Text1 box " + std::to_string(index));
}

struct HeaderCase {
    const char* desc;
    std::string lineText;
    Patch patch;                                     // applied to the line that is read
    int line;                                        // the line expected to be read
    std::vector<std::pair<int, std::string>> boxes;  // Text1 index, text
};
void PrintTo(const HeaderCase& row, std::ostream* out) {
    *out << row.desc;
}

class HeaderDecoding : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderDecoding, ReadsTheNamedLineAndShowsItsFields) {
    const HeaderCase& row = GetParam();
    testing::TempDir dir;
    SwathlyState state;
    state.InputPath = dir.Write("pass.hrp", MarkedFile(5, 0, row.line, row.patch)).string();
    state.InputChosen = true;
    testing::ScriptedDialogs dialogs;
    testing::FakeMainView form1;

    ASSERT_TRUE(ReadHeader(state, row.lineText, dialogs, form1));

    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{});
    EXPECT_EQ(state.HeaderLine, row.line);
    EXPECT_EQ(state.FilePos, (row.line - 1) * kLineBytes + 205);
    ASSERT_EQ(form1.Shown.size(), 1u);
    EXPECT_EQ(form1.Boxes().Cols, "2048");
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(state.TelemetryTriple[k], TelemetryMark(row.line, k)) << "telemetry " << k;
    }
    for (int run = 0; run < 3; ++run) {
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(state.BackScan[run][i], BackScanMark(row.line, run, i));
        }
    }
    for (int run = 0; run < 5; ++run) {
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(state.SpaceView[run][i], SpaceViewMark(row.line, run, i));
        }
    }
    for (const auto& [index, text] : row.boxes) {
        EXPECT_EQ(Box(form1.Boxes(), index), text) << "Text1(" << index << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, HeaderDecoding,
    ::testing::Values(
        HeaderCase{"line 1 from the first bytes of the file",
                   "1",
                   {},
                   1,
                   {{0, "LINE 1"}, {1, "1"}, {12, "0"}, {11, "0"}}},
        HeaderCase{"line 3 starts at byte 44360", "3", {}, 3, {{0, "LINE 3"}, {1, "3"}}},
        HeaderCase{"2.5 reads line 2", "2.5", {}, 2, {{1, "2"}}},
        HeaderCase{"3.5 reads line 4", "3.5", {}, 4, {{1, "4"}}},
        HeaderCase{"leading number of the text", " 2 lines", {}, 2, {{1, "2"}}},
        HeaderCase{"rows 0x012C give 300", "1", {{23, 0x2C}, {24, 0x01}}, 1, {{12, "300"}}},
        HeaderCase{
            "rows FF FF give 65535, never -1", "1", {{23, 0xFF}, {24, 0xFF}}, 1, {{12, "65535"}}},
        HeaderCase{
            "a 16-bit field FF FF shows as -1", "1", {{14, 0xFF}, {15, 0xFF}}, 1, {{4, "-1"}}},
        HeaderCase{"every 16-bit field in its place",
                   "1",
                   {{8, 14},
                    {9, 0},
                    {10, 12},
                    {11, 0},
                    {12, 31},
                    {13, 0},
                    {14, 0xCF},
                    {15, 7},
                    {16, 23},
                    {17, 0},
                    {18, 59},
                    {19, 0},
                    {20, 58},
                    {21, 0}},
                   1,
                   {{1, "14"}, {2, "12"}, {3, "31"}, {4, "1999"}, {5, "23"}, {6, "59"}, {7, "58"}}},
        HeaderCase{"a title with a trailing blank keeps it",
                   "1",
                   Text(0, "NOAA-14 "),
                   1,
                   {{0, "NOAA-14 "}}},
        HeaderCase{"a title padded with zero bytes ends at the first",
                   "1",
                   Text(0, std::string("N11\0\0X\0\0", 8)),
                   1,
                   {{0, "N11"}}},
        HeaderCase{"a title in the system code page comes out as UTF-8",
                   "1",
                   Text(0, "Caf\xE9    "),
                   1,
                   {{0, "Caf\xC3\xA9    "}}},
        HeaderCase{"TimeDiff from bytes 25 to 32", "1", Real(25, -12.75), 1, {{11, "-12.75"}}},
        HeaderCase{"TimeDiff NaN shows as text",
                   "1",
                   Real(25, std::numeric_limits<double>::quiet_NaN()),
                   1,
                   {{11, "NaN"}}}),
    testing::DescName<HeaderCase>);

struct NumberCase {
    const char* desc;
    double value;
    const char* separator;
    const char* text;
};
void PrintTo(const NumberCase& row, std::ostream* out) {
    *out << row.desc;
}

class GeneralNumberFormat : public ::testing::TestWithParam<NumberCase> {};

TEST_P(GeneralNumberFormat, ShortestFormOfFifteenDigits) {
    EXPECT_EQ(GeneralNumber(GetParam().value, GetParam().separator), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GeneralNumberFormat,
    ::testing::Values(
        NumberCase{"whole number", 100.0, ".", "100"}, NumberCase{"locale comma", 2.5, ",", "2,5"},
        NumberCase{"fifteen significant digits", 1.0 / 3.0, ".", "0.333333333333333"},
        NumberCase{"binary noise rounded away", 0.1 + 0.2, ".", "0.3"},
        NumberCase{"largest plain number", 123456789012345.0, ".", "123456789012345"},
        NumberCase{"large magnitude in exponent form", 1e15, ".", "1E+15"},
        NumberCase{"small magnitude in exponent form", -1.5e-7, ",", "-1,5E-07"},
        NumberCase{"negative zero", -0.0, ".", "0"},
        NumberCase{"NaN", std::numeric_limits<double>::quiet_NaN(), ".", "NaN"},
        NumberCase{"infinity", std::numeric_limits<double>::infinity(), ".", "Infinity"},
        NumberCase{"minus infinity", -std::numeric_limits<double>::infinity(), ".", "-Infinity"}),
    testing::DescName<NumberCase>);

TEST(LineHeaderRecord, EncodesWhatItDecodes) {
    std::array<std::uint8_t, kLineHeaderBytes> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(0xA0 + 7 * i);
    }
    EXPECT_EQ(EncodeLineHeader(DecodeLineHeader(bytes)), bytes);
}

struct RefusalCase {
    const char* desc;
    bool inputChosen;
    int lines;  // whole lines in the file; -1: no file at all
    int tail;   // bytes after them
    std::string lineText;
    std::string message;
};
void PrintTo(const RefusalCase& row, std::ostream* out) {
    *out << row.desc;
}

class HeaderReadRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(HeaderReadRefusal, ShowsTheProblemAndChangesNothing) {
    const RefusalCase& row = GetParam();
    testing::TempDir dir;
    SwathlyState state;
    state.InputPath = (dir / "pass.hrp").string();
    if (row.lines >= 0) {
        dir.Write("pass.hrp", MarkedFile(row.lines, row.tail));
    }
    state.InputChosen = row.inputChosen;
    state.OutputChosen = true;
    state.DatChosen = true;
    state.DatPath = (dir / "cal.txt").string();
    state.HeaderLine = 7;
    state.FilePos = 99;
    state.LineCount = 12;
    state.TelemetryTriple = {1, 2, 3};
    testing::ScriptedDialogs dialogs;
    testing::FakeMainView form1;

    EXPECT_FALSE(ReadHeader(state, row.lineText, dialogs, form1));

    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{row.message});
    EXPECT_EQ(state.HeaderLine, 7);
    EXPECT_EQ(state.FilePos, 99);
    EXPECT_EQ(state.LineCount, 12);
    EXPECT_EQ(state.TelemetryTriple, (std::array<std::int16_t, 3>{1, 2, 3}));
    EXPECT_TRUE(form1.Shown.empty()) << "the boxes keep what they showed";
    EXPECT_FALSE(std::filesystem::exists(state.DatPath));
}

INSTANTIATE_TEST_SUITE_P(
    Table, HeaderReadRefusal,
    ::testing::Values(
        RefusalCase{"no input chosen", false, 2, 0, "1", " Enter the file name first"},
        RefusalCase{"line 0", true, 2, 0, "0", "Line # must be 1 or more."},
        RefusalCase{"empty text reads as 0", true, 2, 0, "", "Line # must be 1 or more."},
        RefusalCase{"0.5 rounds to 0", true, 2, 0, "0.5", "Line # must be 1 or more."},
        RefusalCase{"negative line", true, 2, 0, "-3", "Line # must be 1 or more."},
        RefusalCase{"one line past the end", true, 2, 0, "3",
                    "Line # is beyond the last line of the file, which has 2 lines."},
        RefusalCase{"beyond 32 bits", true, 2, 0, "1e12",
                    "Line # is beyond the last line of the file, which has 2 lines."},
        RefusalCase{"empty file", true, 0, 0, "1",
                    "Line # is beyond the last line of the file, which has 0 lines."},
        RefusalCase{"last line cut short", true, 2, 150, "3",
                    "The file is too short for the header of line 3: it ends 150 bytes into "
                    "the line, and 204 are needed."},
        RefusalCase{"file of 203 bytes", true, 0, 203, "1",
                    "The file is too short for the header of line 1: it ends 203 bytes into "
                    "the line, and 204 are needed."}),
    testing::DescName<RefusalCase>);

TEST(HeaderReadRefusal, InputThatCannotBeOpenedIsNamed) {
    testing::TempDir dir;
    SwathlyState state;
    state.InputPath = (dir / "gone.hrp").string();
    state.InputChosen = true;
    testing::ScriptedDialogs dialogs;
    testing::FakeMainView form1;
    EXPECT_FALSE(ReadHeader(state, "1", dialogs, form1));
    EXPECT_EQ(dialogs.Messages,
              std::vector<std::string>{"Cannot open the input file " + state.InputPath +
                                       ": No such file or directory"});
    EXPECT_EQ(state.HeaderLine, 0);
}

TEST(HeaderReadRefusal, LastLineNeedsOnlyItsFirst204Bytes) {
    testing::TempDir dir;
    SwathlyState state;
    state.InputPath = dir.Write("pass.hrp", MarkedFile(2, 204)).string();
    state.InputChosen = true;
    testing::ScriptedDialogs dialogs;
    testing::FakeMainView form1;
    EXPECT_TRUE(ReadHeader(state, "3", dialogs, form1));
    EXPECT_EQ(form1.Boxes().Title, "LINE 3");
}

// The command owns the input handle: ReadLineHeader opens it and leaves it open for the
// command to go on reading at absolute positions.
TEST(ReadLineHeaderInput, StaysOpenInTheCommandsHandle) {
    testing::TempDir dir;
    SwathlyState state;
    state.InputPath = dir.Write("pass.hrp", MarkedFile(3, 0)).string();
    state.InputChosen = true;
    testing::ScriptedDialogs dialogs;
    testing::FakeMainView form1;
    BinaryFile input;
    ASSERT_TRUE(ShowOutcome(ReadLineHeader(state, input, "2", dialogs, form1), dialogs));
    ASSERT_TRUE(input.IsOpen());
    std::array<std::uint8_t, 2> satId{};
    ASSERT_FALSE(input.ReadAt(2 * kLineBytes + 8, satId));
    EXPECT_EQ(ReadInt16Le(satId.data()), 3);
}

}  // namespace
}  // namespace qiv::swathly
