#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <vector>

#include "hrpt_tool/testing/fake_main_view.h"
#include "hrpt_tool/core/line_cut.h"
#include "hrpt_tool/core/line_record.h"
#include "common/testing/memory_canvas.h"
#include "common/testing/open_files.h"
#include "common/testing/param_name.h"
#include "hrpt_tool/core/quicklook.h"
#include "common/testing/scripted_dialogs.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "common/testing/temp_dir.h"

namespace qiv::swathly {
namespace {

using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;

constexpr std::int64_t kFilledLines = 460;
constexpr std::int64_t kPassLines = 900;

LineHeaderRecord PassHeader(PassTime time) {
    LineHeaderRecord header;
    const char title[] = "NOAA-14 ";
    std::memcpy(header.Title.data(), title, 8);
    header.SatId = 3;
    header.Month = 7;
    header.Day = 21;
    header.Year = 1998;
    header.Hour = time.Hour;
    header.Minute = time.Minute;
    header.Secs = time.Secs;
    header.Spare = 0x5C;
    header.RowsLow = kPassLines % 256;
    header.RowsHigh = kPassLines / 256;
    header.TimeDiff = 0.125;
    return header;
}

// Byte i of a filled line j names both; lines beyond the filled ones are zero but for the
// last, which is marked, so that a cut far down the pass costs no disk.
std::uint8_t PassByte(std::int64_t line, std::int64_t i) {
    return static_cast<std::uint8_t>((line * 13 + i * 7) % 251);
}

class LineCutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempDir;
        std::vector<std::uint8_t> pass(static_cast<std::size_t>(kFilledLines * kLineBytes));
        for (std::int64_t j = 1; j <= kFilledLines; ++j) {
            for (std::int64_t i = 0; i < kLineBytes; ++i) {
                pass[static_cast<std::size_t>((j - 1) * kLineBytes + i)] = PassByte(j, i);
            }
        }
        input_ = folder_->Write("pass.hrp", pass);
        std::filesystem::resize_file(input_, kPassLines * kLineBytes);
        std::fstream file(input_, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp((kPassLines - 1) * kLineBytes);
        file.write("last", 4);
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }

    static void SetPassTime(PassTime time) {
        const auto bytes = EncodeLineHeader(PassHeader(time));
        std::fstream file(input_, std::ios::binary | std::ios::in | std::ios::out);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    static std::vector<std::uint8_t> InputLine(std::int64_t j) {
        std::vector<std::uint8_t> line(static_cast<std::size_t>(kLineBytes));
        std::ifstream file(input_, std::ios::binary);
        file.seekg((j - 1) * kLineBytes);
        file.read(reinterpret_cast<char*>(line.data()), kLineBytes);
        return line;
    }

    SwathlyState Chosen(const std::filesystem::path& output) const {
        SwathlyState state;
        state.InputChosen = true;
        state.OutputChosen = true;
        state.InputPath = input_.string();
        state.OutputPath = output.string();
        return state;
    }

    static TempDir* folder_;
    static std::filesystem::path input_;
};

TempDir* LineCutTest::folder_ = nullptr;
std::filesystem::path LineCutTest::input_;

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& file, std::int64_t line) {
    const auto from = file.begin() + (line - 1) * kLineBytes;
    return {from, from + kLineBytes};
}

struct CutCase {
    const char* desc;
    PassTime before;
    const char* start;
    const char* end;
    std::int64_t first;  // input line that becomes output line 1
    std::int64_t lines;
    PassTime after;
    friend void PrintTo(const CutCase& c, std::ostream* os) { *os << c.desc; }
};

class LineCutCaseTest : public LineCutTest, public ::testing::WithParamInterface<CutCase> {};

TEST_P(LineCutCaseTest, WritesLinesStartToEndUnderANewHeader) {
    const CutCase& c = GetParam();
    SetPassTime(c.before);
    TempDir out;
    SwathlyState state = Chosen(out / "cut.hrp");
    ScriptedDialogs dialogs;
    dialogs.Answer(c.start).Answer(c.end);
    MemoryCanvas wait = qiv::testing::WaitArea();
    testing::FakeMainView form1;
    const int filesBefore = testing::OpenFiles();
    std::vector<std::size_t> headersShownAtPrompts;
    dialogs.OnDialog = [&] { headersShownAtPrompts.push_back(form1.Shown.size()); };

    ASSERT_TRUE(ShowOutcome(CutLineRange(state, "1", dialogs, form1, wait), dialogs));
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{});
    // The boxes show the line read before Start and End are asked for.
    EXPECT_EQ(headersShownAtPrompts, (std::vector<std::size_t>{1, 1}));
    ASSERT_EQ(dialogs.PromptCalls.size(), 2u);
    EXPECT_EQ(dialogs.PromptCalls[0].Text, "Enter Start Hrtp raw");
    EXPECT_EQ(dialogs.PromptCalls[1].Text, "Enter End Hrtp raw");
    EXPECT_EQ(state.OutputChosen, true);
    EXPECT_EQ(testing::OpenFiles(), filesBefore);
    EXPECT_EQ(wait.Texts().size(), 0u);

    const auto cut = TempDir::Read(out / "cut.hrp");
    ASSERT_EQ(static_cast<std::int64_t>(cut.size()), c.lines * kLineBytes);

    // Output line 1 is input line Start whole, under the pass header moved on to it.
    const auto line1 = Slice(cut, 1);
    const LineHeaderRecord header = DecodeLineHeader(
        std::span<const std::uint8_t, kLineHeaderBytes>(line1.data(), kLineHeaderBytes));
    LineHeaderRecord want = PassHeader(c.after);
    want.RowsLow = static_cast<std::uint8_t>(c.lines % 256);
    want.RowsHigh = static_cast<std::uint8_t>(c.lines / 256);
    EXPECT_EQ(EncodeLineHeader(header), EncodeLineHeader(want));
    EXPECT_EQ(header.Hour, c.after.Hour);
    EXPECT_EQ(header.Minute, c.after.Minute);
    EXPECT_EQ(header.Secs, c.after.Secs);
    const auto source = InputLine(c.first);
    EXPECT_TRUE(std::equal(line1.begin() + kLineHeaderBytes, line1.end(),
                           source.begin() + kLineHeaderBytes));
    for (std::int64_t k = 2; k <= c.lines; ++k) {
        ASSERT_EQ(Slice(cut, k), InputLine(c.first + k - 1)) << "output line " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineCutCaseTest,
    ::testing::Values(
        CutCase{"start 1 end 100", {10, 20, 30}, "1", "100", 1, 100, {10, 20, 30}},
        CutCase{"start 151 end 450", {10, 20, 30}, "151", "450", 151, 300, {10, 20, 40}},
        CutCase{"start 900 at 10 59 30", {10, 59, 30}, "900", "900", 900, 1, {11, 0, 30}},
        CutCase{"start 8 at 59 seconds", {10, 20, 59}, "8", "9", 8, 2, {10, 21, 0}},
        CutCase{"end equal to start", {10, 20, 30}, "7", "7", 7, 1, {10, 20, 30}},
        CutCase{"end beyond the last line stops there",
                {10, 20, 30},
                "890",
                "32767",
                890,
                11,
                {10, 21, 29}},
        CutCase{"numbers rounded halves to even", {10, 20, 30}, "2.5", "4.5", 2, 3, {10, 20, 30}}),
    qiv::testing::DescName<CutCase>);

TEST_F(LineCutTest, ASecondCutWritesTheSameOutputAgainAndKeepsALongerTail) {
    SetPassTime({10, 20, 30});
    TempDir out;
    const std::vector<std::uint8_t> old(static_cast<std::size_t>(120 * kLineBytes), 0xEE);
    const auto outputPath = out.Write("cut.hrp", old);
    SwathlyState state = Chosen(outputPath);
    ScriptedDialogs dialogs;
    dialogs.Answer("1").Answer("100").Answer("11").Answer("20");
    MemoryCanvas wait = qiv::testing::WaitArea();
    testing::FakeMainView form1;

    ASSERT_TRUE(ShowOutcome(CutLineRange(state, "1", dialogs, form1, wait), dialogs));
    ASSERT_TRUE(ShowOutcome(CutLineRange(state, "1", dialogs, form1, wait), dialogs));
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{});

    const auto cut = TempDir::Read(outputPath);
    ASSERT_EQ(cut.size(), old.size());
    EXPECT_EQ(cut[23], 10);  // RowsLow of the second cut
    EXPECT_EQ(Slice(cut, 10), InputLine(20));
    EXPECT_EQ(Slice(cut, 11), InputLine(11));  // left from the first cut, line 11 of 1..100
    EXPECT_EQ(Slice(cut, 101),
              std::vector<std::uint8_t>(static_cast<std::size_t>(kLineBytes), 0xEE));
}

struct CutRefusalCase {
    const char* desc;
    std::optional<std::string> start;
    std::optional<std::string> end;
    std::size_t prompts;  // prompts shown before the refusal
    const char* message;
    friend void PrintTo(const CutRefusalCase& c, std::ostream* os) { *os << c.desc; }
};

class LineCutRefusalTest : public LineCutTest,
                           public ::testing::WithParamInterface<CutRefusalCase> {};

TEST_P(LineCutRefusalTest, ToldAndNothingWritten) {
    const CutRefusalCase& c = GetParam();
    SetPassTime({10, 20, 30});
    TempDir out;
    SwathlyState state = Chosen(out / "cut.hrp");
    ScriptedDialogs dialogs;
    dialogs.Answer(c.start).Answer(c.end);
    MemoryCanvas wait = qiv::testing::WaitArea();
    testing::FakeMainView form1;
    const int filesBefore = testing::OpenFiles();

    EXPECT_FALSE(ShowOutcome(CutLineRange(state, "1", dialogs, form1, wait), dialogs));
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{c.message});
    EXPECT_EQ(dialogs.PromptCalls.size(), c.prompts);
    EXPECT_FALSE(std::filesystem::exists(out / "cut.hrp"));
    EXPECT_EQ(state.OutputChosen, true);
    EXPECT_EQ(testing::OpenFiles(), filesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineCutRefusalTest,
    ::testing::Values(
        CutRefusalCase{"start 0", "0", "10", 1, "Enter a start line from 1 to 32767"},
        CutRefusalCase{"start negative", "-4", "10", 1, "Enter a start line from 1 to 32767"},
        CutRefusalCase{"start empty", "", "10", 1, "Enter a start line from 1 to 32767"},
        CutRefusalCase{"start cancelled", std::nullopt, "10", 1,
                       "Enter a start line from 1 to 32767"},
        CutRefusalCase{"start beyond 16 bits", "40000", "40001", 1,
                       "Enter a start line from 1 to 32767"},
        CutRefusalCase{"end below start", "10", "9", 2, "Enter an end line from 10 to 32767"},
        CutRefusalCase{"end cancelled", "10", std::nullopt, 2,
                       "Enter an end line from 10 to 32767"},
        CutRefusalCase{"end beyond 16 bits", "10", "32768", 2,
                       "Enter an end line from 10 to 32767"},
        CutRefusalCase{"start beyond the last line", "901", "950", 2,
                       "The input file has 900 lines: the start line 901 lies beyond its end"}),
    qiv::testing::DescName<CutRefusalCase>);

TEST_F(LineCutTest, RefusedBeforeAnyPromptWithoutFilesOrOverTheInput) {
    TempDir out;
    testing::FakeMainView form1;
    const int filesBefore = testing::OpenFiles();
    {
        SwathlyState state = Chosen(out / "cut.hrp");
        state.OutputChosen = false;
        ScriptedDialogs dialogs;
        MemoryCanvas wait = qiv::testing::WaitArea();
        EXPECT_FALSE(ShowOutcome(CutLineRange(state, "1", dialogs, form1, wait), dialogs));
        EXPECT_EQ(dialogs.Messages,
                  std::vector<std::string>{"Enter Input and Output Image files first"});
        EXPECT_TRUE(dialogs.PromptCalls.empty());
    }
    {
        const auto before = std::filesystem::file_size(input_);
        SwathlyState state = Chosen(input_.parent_path() / "." / input_.filename());
        ScriptedDialogs dialogs;
        MemoryCanvas wait = qiv::testing::WaitArea();
        EXPECT_FALSE(ShowOutcome(CutLineRange(state, "1", dialogs, form1, wait), dialogs));
        EXPECT_EQ(dialogs.Messages, std::vector<std::string>{std::string(kOutputIsInput)});
        EXPECT_TRUE(dialogs.PromptCalls.empty());
        EXPECT_EQ(std::filesystem::file_size(input_), before);
        EXPECT_EQ(InputLine(2)[100], PassByte(2, 100));
        EXPECT_EQ(testing::OpenFiles(), filesBefore);
    }
    EXPECT_TRUE(form1.Shown.empty()) << "a refusal before the header read leaves the boxes";
}

}  // namespace
}  // namespace qiv::swathly
