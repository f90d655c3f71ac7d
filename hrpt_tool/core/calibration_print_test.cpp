#include "hrpt_tool/core/calibration_print.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/core/dimension_header.h"
#include "common/testing/memory_canvas.h"
#include "common/testing/param_name.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "hrpt_tool/core/file_choice.h"
#include "hrpt_tool/core/line_header.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "hrpt_tool/testing/fake_main_view.h"

namespace qiv::swathly {
namespace {

// One HRP line with the given words (1-based word numbers) set and every other byte zero.
std::vector<std::uint8_t> LineWithWords(const std::vector<std::pair<int, std::int16_t>>& words) {
    std::vector<std::uint8_t> line(static_cast<std::size_t>(kLineBytes), 0);
    for (const auto& [word, value] : words) {
        WriteInt16Le(&line[static_cast<std::size_t>(2 * (word - 1))], value);
    }
    return line;
}

// The telemetry lies at line bytes 33-38, off the word grid.
void SetTelemetry(std::vector<std::uint8_t>& line, std::int16_t a, std::int16_t b, std::int16_t c) {
    WriteInt16Le(&line[33], a);
    WriteInt16Le(&line[35], b);
    WriteInt16Le(&line[37], c);
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::string FileText(const std::filesystem::path& path) {
    const auto bytes = testing::TempDir::Read(path);
    return {bytes.begin(), bytes.end()};
}

struct Pass {
    testing::TempDir dir;
    SwathlyState state;
    testing::ScriptedDialogs dialogs;
    testing::FakeMainView form1;

    explicit Pass(const std::vector<std::uint8_t>& line) {
        state.InputPath = dir.Write("pass.hrp", line).string();
        state.InputChosen = true;
        state.DatPath = (dir / "cal.txt").string();
        state.DatChosen = true;
    }
    std::string Calibration() const { return FileText(state.DatPath); }
};

// The 33 lines of the calibration file of a line whose calibration words are all 0.
std::vector<std::string> ZeroLines() {
    const std::string zeros3 = " 0  0  0 ";
    const std::string zeros2 = " 0  0 ";
    std::vector<std::string> lines{" 0" + std::string(13, ' ') + "0" + std::string(13, ' ') + "0 ",
                                   " "};
    for (int i = 0; i < 10; ++i) {
        lines.push_back(zeros3);
    }
    for (int j = 0; j < 10; ++j) {
        lines.push_back(zeros3);
        lines.push_back(zeros2);
    }
    lines.push_back(" ");
    return lines;
}

TEST(CalibrationFile, AllZeroLine) {
    Pass pass(LineWithWords({}));
    ASSERT_TRUE(ShowOutcome(DisplayHeaderAndPrintData(pass.state, "1", pass.dialogs, pass.form1),
                            pass.dialogs));

    const auto lines = ZeroLines();
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[0].size(), 31u);
    EXPECT_EQ(pass.Calibration(), Lines(lines));
    EXPECT_EQ(pass.dialogs.Messages, std::vector<std::string>{});
}

TEST(CalibrationFile, SignedValuesInTheirPlaces) {
    // Back-scan element 4 of runs 1-3 is words 26, 36, 46; space-view element 10 of runs 1-5
    // is words 62, 72, 82, 92, 102.
    auto line = LineWithWords(
        {{26, 500}, {36, -3}, {46, 12}, {62, 1}, {72, -22}, {82, 333}, {92, -32768}, {102, 32767}});
    SetTelemetry(line, -3, 512, 1023);
    Pass pass(line);
    ASSERT_TRUE(ShowOutcome(DisplayHeaderAndPrintData(pass.state, "1", pass.dialogs, pass.form1),
                            pass.dialogs));

    std::vector<std::string> lines{
        "-3 " + std::string(11, ' ') + " 512 " + std::string(9, ' ') + " 1023 ", " "};
    for (int i = 1; i <= 10; ++i) {
        lines.push_back(i == 4 ? " 500 -3  12 " : " 0  0  0 ");
    }
    for (int j = 1; j <= 10; ++j) {
        lines.push_back(j == 10 ? " 1 -22  333 " : " 0  0  0 ");
        lines.push_back(j == 10 ? "-32768  32767 " : " 0  0 ");
    }
    lines.push_back(" ");
    EXPECT_EQ(pass.Calibration(), Lines(lines));
}

TEST(CalibrationFile, TwoDisplaysLeaveOneCopyOverALongerOldFile) {
    Pass pass(LineWithWords({{23, 7}}));
    std::ofstream(pass.state.DatPath) << std::string(5000, 'x');
    ASSERT_TRUE(ShowOutcome(DisplayHeaderAndPrintData(pass.state, "1", pass.dialogs, pass.form1),
                            pass.dialogs));
    ASSERT_TRUE(ShowOutcome(DisplayHeaderAndPrintData(pass.state, "1", pass.dialogs, pass.form1),
                            pass.dialogs));

    auto lines = ZeroLines();
    lines[2] = " 7  0  0 ";
    EXPECT_EQ(pass.Calibration(), Lines(lines));
}

TEST(DisplayHeaderCommand, LeavesNoFileOpenWithAnOutputChosen) {
    Pass pass(LineWithWords({}));
    pass.state.OutputChosen = true;
    pass.state.OutputPath = (pass.dir / "out.qlk").string();
    ASSERT_TRUE(ShowOutcome(DisplayHeaderAndPrintData(pass.state, "1", pass.dialogs, pass.form1),
                            pass.dialogs));
    EXPECT_EQ(pass.state.OutputChosen, true);
    EXPECT_FALSE(std::filesystem::exists(pass.state.OutputPath));
}

TEST(DisplayHeaderCommand, WithoutInputWritesNoCalibrationFile) {
    Pass pass(LineWithWords({}));
    pass.state.InputChosen = false;
    EXPECT_FALSE(ShowOutcome(DisplayHeaderAndPrintData(pass.state, "1", pass.dialogs, pass.form1),
                             pass.dialogs));
    EXPECT_EQ(pass.dialogs.Messages, std::vector<std::string>{" Enter the file name first"});
    EXPECT_FALSE(std::filesystem::exists(pass.state.DatPath));
}

struct CalibrationRefusal {
    const char* desc;
    std::string datName;  // relative to the folder of the input
    std::string message;  // its start
};
void PrintTo(const CalibrationRefusal& row, std::ostream* out) {
    *out << row.desc;
}

class CalibrationRefused : public ::testing::TestWithParam<CalibrationRefusal> {};

TEST_P(CalibrationRefused, ShowsTheHeaderButWritesNothing) {
    const auto line = LineWithWords({{23, 500}});
    Pass pass(line);
    std::filesystem::create_directory(pass.dir / "sub");
    pass.state.DatPath = (pass.dir / GetParam().datName).string();
    // The boxes show the line read before its calibration file is refused.
    std::vector<std::string> colsAtMessage;
    pass.dialogs.OnDialog = [&] { colsAtMessage.push_back(pass.form1.Boxes().Cols); };

    EXPECT_TRUE(ShowOutcome(DisplayHeaderAndPrintData(pass.state, "1", pass.dialogs, pass.form1),
                            pass.dialogs));

    ASSERT_EQ(pass.dialogs.Messages.size(), 1u);
    EXPECT_EQ(pass.dialogs.Messages[0].substr(0, GetParam().message.size()), GetParam().message);
    EXPECT_EQ(colsAtMessage, std::vector<std::string>{"2048"});
    EXPECT_EQ(testing::TempDir::Read(pass.state.InputPath), line);
    EXPECT_FALSE(std::filesystem::exists(pass.dir / "missing" / "cal.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CalibrationRefused,
    ::testing::Values(CalibrationRefusal{"the input file itself", "pass.hrp",
                                         "The calibration file "},
                      CalibrationRefusal{"the input under another spelling", "sub/../pass.hrp",
                                         "The calibration file "},
                      CalibrationRefusal{"a folder that does not exist", "missing/cal.txt",
                                         "Cannot create the calibration file "},
                      CalibrationRefusal{"a folder", "sub", "Cannot create the calibration file "}),
    testing::DescName<CalibrationRefusal>);

TEST(CalibrationRefused, MessageNamesTheInputFile) {
    Pass pass(LineWithWords({}));
    pass.state.DatPath = pass.state.InputPath;
    ShowOutcome(DisplayHeaderAndPrintData(pass.state, "1", pass.dialogs, pass.form1), pass.dialogs);
    EXPECT_EQ(pass.dialogs.Messages,
              std::vector<std::string>{"The calibration file " + pass.state.InputPath +
                                       " is the input file. Nothing was written."});
}

// The input choice draws the wait notice only while it imports a recording.
std::optional<std::string> ChooseInput(SwathlyState& state, Dialogs& dialogs) {
    MemoryCanvas waitArea = qiv::testing::WaitArea();
    return ChooseInputFile(state, dialogs, waitArea);
}

struct ChoiceCase {
    const char* desc;
    std::optional<std::string> (*choose)(SwathlyState&, Dialogs&);
    bool SwathlyState::*flag;
    std::string SwathlyState::*path;
};
void PrintTo(const ChoiceCase& row, std::ostream* out) {
    *out << row.desc;
}

class FileChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(FileChoice, TakesTheChosenPathAndIgnoresACancel) {
    const ChoiceCase& row = GetParam();
    testing::TempDir dir;
    const std::string file = dir.Write("a.hrp", std::vector<std::uint8_t>(10)).string();
    SwathlyState state;
    testing::ScriptedDialogs dialogs;
    dialogs.File(std::nullopt).File("").File(file);

    EXPECT_EQ(row.choose(state, dialogs), std::nullopt);  // cancelled
    EXPECT_EQ(row.choose(state, dialogs), std::nullopt);  // an empty name
    EXPECT_EQ(state.*row.flag, false);
    EXPECT_EQ(state.*row.path, "");

    EXPECT_EQ(row.choose(state, dialogs), file);  // the caption of its path line
    EXPECT_EQ(state.*row.flag, true);
    EXPECT_EQ(state.*row.path, file);
    EXPECT_EQ(dialogs.FileFilters, std::vector<std::string>(3, "All Files|*.*|Text Files|*.txt"));
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileChoice,
    ::testing::Values(ChoiceCase{"input", &ChooseInput, &SwathlyState::InputChosen,
                                 &SwathlyState::InputPath},
                      ChoiceCase{"output", &ChooseOutputFile, &SwathlyState::OutputChosen,
                                 &SwathlyState::OutputPath},
                      ChoiceCase{"calibration", &ChooseCalibrationFile, &SwathlyState::DatChosen,
                                 &SwathlyState::DatPath}),
    testing::DescName<ChoiceCase>);

TEST(FileChoice, InputIsChosenOnceAndMustOpen) {
    testing::TempDir dir;
    const std::string first = dir.Write("first.hrp", std::vector<std::uint8_t>(10)).string();
    SwathlyState state;
    testing::ScriptedDialogs dialogs;
    dialogs.File((dir / "missing.hrp").string()).File(first).File(first);

    EXPECT_EQ(ChooseInput(state, dialogs), std::nullopt);
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{"Cannot open the input file " +
                                                         (dir / "missing.hrp").string() +
                                                         ": No such file or directory"});
    EXPECT_EQ(state.InputChosen, false);

    EXPECT_EQ(ChooseInput(state, dialogs), first);
    EXPECT_EQ(ChooseInput(state, dialogs), std::nullopt);  // no dialog the second time
    EXPECT_EQ(dialogs.FileFilters.size(), 2u);
    EXPECT_EQ(state.InputPath, first);
}

TEST(FileChoice, CalibrationFileMayNotBeTheInput) {
    testing::TempDir dir;
    SwathlyState state;
    state.InputPath = dir.Write("pass.hrp", std::vector<std::uint8_t>(10)).string();
    state.InputChosen = true;
    testing::ScriptedDialogs dialogs;
    dialogs.File(state.InputPath);
    EXPECT_EQ(ChooseCalibrationFile(state, dialogs), std::nullopt);
    EXPECT_EQ(state.DatChosen, false);
    EXPECT_EQ(state.DatPath, "");
    EXPECT_EQ(dialogs.Messages.size(), 1u);
}

}  // namespace
}  // namespace qiv::swathly
