// The HRPT subcommands give what Swathly_Qiv gives for the same answers.
#include "tools/qivtool/hrpt_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/testing/memory_canvas.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "hrpt_tool/core/file_choice.h"
#include "hrpt_tool/core/line_cut.h"
#include "hrpt_tool/core/line_header.h"
#include "hrpt_tool/core/products.h"
#include "hrpt_tool/core/quicklook.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "hrpt_tool/testing/fake_main_view.h"
#include "tools/qivtool/command_line.h"
#include "tools/qivtool/run_command.h"
#include "tools/samples/hrpt_samples.h"
#include "tools/samples/level1b_samples.h"

namespace qiv::qivtool {
namespace {

using qiv::testing::Ran;
using qiv::testing::RunCommand;
using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;
using swathly::SwathlyState;

constexpr std::int32_t kLines = 40;

// The sample pass and its products, kLines lines each.
class HrptCommandTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(samples::WriteHrptSamples(dir.Path(), kLines)); }

    // Swathly_Qiv with the input and the output chosen through its file dialog.
    SwathlyState Window(const std::string& input, const std::string& output) {
        SwathlyState state;
        ScriptedDialogs dialogs;
        dialogs.File(input).File(output);
        EXPECT_TRUE(swathly::ChooseInputFile(state, dialogs, waitArea));
        EXPECT_TRUE(swathly::ChooseOutputFile(state, dialogs));
        return state;
    }
    std::string Path(const char* name) const { return (dir / name).string(); }

    TempDir dir;
    MemoryCanvas waitArea = qiv::testing::WaitArea();
    testing::FakeMainView form1;
};

TEST_F(HrptCommandTest, HrpInfoPrintsTheBoxesAndWritesTheCalibrationFileOfTheLine) {
    // The window: "Line #" 3, a calibration file chosen, "Display header, Print Data".
    SwathlyState state;
    ScriptedDialogs dialogs;
    dialogs.File(Path("avhrr-pass.hrp")).File(Path("window.txt"));
    ASSERT_TRUE(swathly::ChooseInputFile(state, dialogs, waitArea));
    ASSERT_TRUE(swathly::ChooseCalibrationFile(state, dialogs));
    ASSERT_TRUE(swathly::ShowOutcome(swathly::DisplayHeaderAndPrintData(state, "3", dialogs, form1),
                                     dialogs));
    const swathly::HeaderTexts& boxes = form1.Boxes();

    const Ran ran = RunCommand(
        RunHrpInfo, HrpInfoOptions{Path("avhrr-pass.hrp"), 3, Path("command.txt"), false});
    ASSERT_EQ(ran.Status, kDone) << ran.Err;
    EXPECT_EQ(ran.Out,
              "Title: " + boxes.Title + "\nSat Id: " + boxes.SatId + "\nMonth: " + boxes.Month +
                  "\nDay: " + boxes.Day + "\nYear: " + boxes.Year + "\nHour: " + boxes.Hour +
                  "\nMinute: " + boxes.Minute + "\nSecs: " + boxes.Secs +
                  "\nTime Diff: " + boxes.TimeDiff + "\nRows: " + boxes.Rows + "\nCols: 2048\n");
    EXPECT_EQ(TempDir::Read(Path("command.txt")), TempDir::Read(Path("window.txt")));
}

TEST_F(HrptCommandTest, HrpInfoInJsonKeepsTheTitleAStringAndTheNumbersNumbers) {
    const Ran ran =
        RunCommand(RunHrpInfo, HrpInfoOptions{Path("avhrr-pass.hrp"), 1, std::string(), true});
    ASSERT_EQ(ran.Status, kDone) << ran.Err;
    EXPECT_EQ(ran.Out,
              "{\"Title\": \"NOAA-14 \", \"Sat Id\": 14, \"Month\": 7, \"Day\": 21, \"Year\": "
              "1998, \"Hour\": 11, \"Minute\": 42, \"Secs\": 17, \"Time Diff\": -0.375, "
              "\"Rows\": 40, \"Cols\": 2048}\n");
}

TEST_F(HrptCommandTest, QuicklooksAreTheWindowsQuicklooks) {
    const struct {
        const char* desc;
        QuicklookOptions options;
    } kCases[] = {
        {"HRP channel 2 every fifth",
         {Path("avhrr-pass.hrp"), QuicklookSource::Hrp, swathly::BandButton::Band2, 5,
          Path("hrp.img")}},
        {"CAL band 4 every third",
         {Path("avhrr-pass.cal"), QuicklookSource::Product, swathly::BandButton::Band4, 3,
          Path("cal.img")}},
        {"SST single band",
         {Path("avhrr-pass.sst"), QuicklookSource::Product, swathly::BandButton::SingleBand, 1,
          Path("sst.img")}},
    };
    for (const auto& row : kCases) {
        SCOPED_TRACE(row.desc);
        SwathlyState state = Window(row.options.Path, Path("window.img"));
        ScriptedDialogs dialogs;
        const std::string interval = std::to_string(row.options.Step);
        const bool written =
            row.options.From == QuicklookSource::Hrp
                ? swathly::ShowOutcome(swathly::HrpQuicklook(state, interval, "1", row.options.Band,
                                                             dialogs, form1, waitArea),
                                       dialogs)
                : swathly::ShowOutcome(
                      swathly::ProductQuicklook(state, interval, row.options.Band, waitArea),
                      dialogs);
        ASSERT_TRUE(written) << row.desc;

        const Ran ran = RunCommand(RunQuicklook, row.options);
        EXPECT_EQ(ran.Status, kDone) << row.desc << ran.Err;
        EXPECT_EQ(TempDir::Read(row.options.Output), TempDir::Read(Path("window.img"))) << row.desc;
        std::filesystem::remove(Path("window.img"));
    }
}

TEST_F(HrptCommandTest, TheCutIsTheWindowsCut) {
    SwathlyState state = Window(Path("avhrr-pass.hrp"), Path("window.hrp"));
    ScriptedDialogs dialogs;
    dialogs.Answer("11").Answer("30");
    ASSERT_TRUE(
        swathly::ShowOutcome(swathly::CutLineRange(state, "1", dialogs, form1, waitArea), dialogs));

    const Ran ran =
        RunCommand(RunCut, CutOptions{Path("avhrr-pass.hrp"), 11, 30, 1, Path("command.hrp")});
    ASSERT_EQ(ran.Status, kDone) << ran.Err;
    const auto written = TempDir::Read(Path("command.hrp"));
    EXPECT_EQ(written.size(), 20u * swathly::kLineBytes);
    EXPECT_EQ(written, TempDir::Read(Path("window.hrp")));
}

TEST_F(HrptCommandTest, RefusalsCarryTheProgramsOwnWordsAndWriteNothing) {
    const std::string hrp = Path("avhrr-pass.hrp");
    const struct {
        const char* desc;
        Ran ran;
        std::string message;
    } kCases[] = {
        {"a line beyond the file", RunCommand(RunHrpInfo, HrpInfoOptions{hrp, 41, "", false}),
         "Line # is beyond the last line of the file, which has 40 lines."},
        {"an end before the start", RunCommand(RunCut, CutOptions{hrp, 5, 4, 1, Path("o.hrp")}),
         "Enter an end line from 5 to 32767"},
        {"an output that is the input",
         RunCommand(RunQuicklook, QuicklookOptions{hrp, QuicklookSource::Hrp,
                                                   swathly::BandButton::Band1, 5, hrp}),
         "The output file is the input file: choose another output file"},
        {"a calibration file that is the input",
         RunCommand(RunHrpInfo, HrpInfoOptions{hrp, 1, hrp, false}),
         "The calibration file " + hrp + " is the input file. Choose another name."},
    };
    for (const auto& row : kCases) {
        SCOPED_TRACE(row.desc);
        EXPECT_EQ(row.ran.Status, kRefused) << row.desc;
        EXPECT_EQ(row.ran.Err, "qivtool test: " + row.message + "\n") << row.desc;
    }
    EXPECT_FALSE(std::filesystem::exists(Path("o.hrp")));
    EXPECT_EQ(std::filesystem::file_size(hrp), static_cast<std::uintmax_t>(kLines) * 22180u);
}

// The window imports a recording chosen as its input when the user says Yes, names the year and
// the new file; qivtool import writes the same file and prints the summary the window shows.
TEST_F(HrptCommandTest, ImportIsTheWindowsImport) {
    ASSERT_FALSE(samples::WriteHrptRecording(dir / "pass.raw16", 60));
    SwathlyState state;
    ScriptedDialogs dialogs;
    dialogs.File(Path("pass.raw16")).Reply(true).Answer("2024").File(Path("window.hrp"));
    ASSERT_EQ(swathly::ChooseInputFile(state, dialogs, waitArea), Path("window.hrp"));
    ASSERT_EQ(dialogs.Messages.size(), 1u);  // the summary

    const Ran ran =
        RunCommand(RunImport, ImportOptions{Path("pass.raw16"), 2024, Path("command.hrp")});
    ASSERT_EQ(ran.Status, kDone) << ran.Err;
    EXPECT_EQ(TempDir::Read(Path("command.hrp")), TempDir::Read(Path("window.hrp")));
    std::string summary = dialogs.Messages[0];
    summary.replace(summary.find("window.hrp"), 10, "command.hrp");
    EXPECT_EQ(ran.Out, summary + "\n");
    EXPECT_TRUE(ran.Err.empty());
}

// A Level 1b file goes the same way, without a year; one given is left aside, as the records
// carry their own.
TEST_F(HrptCommandTest, Level1bImportIsTheWindowsImport) {
    ASSERT_FALSE(samples::WriteLevel1bSample(dir / "pass.l1b", 40));
    SwathlyState state;
    ScriptedDialogs dialogs;
    dialogs.File(Path("pass.l1b")).Reply(true).File(Path("window.hrp"));
    ASSERT_EQ(swathly::ChooseInputFile(state, dialogs, waitArea), Path("window.hrp"));
    ASSERT_EQ(dialogs.Messages.size(), 1u);  // the summary
    std::string summary = dialogs.Messages[0];
    summary.replace(summary.find("window.hrp"), 10, "command.hrp");

    for (const std::int32_t year : {0, 1999}) {
        SCOPED_TRACE(year);
        const Ran ran =
            RunCommand(RunImport, ImportOptions{Path("pass.l1b"), year, Path("command.hrp")});
        ASSERT_EQ(ran.Status, kDone) << ran.Err;
        EXPECT_EQ(TempDir::Read(Path("command.hrp")), TempDir::Read(Path("window.hrp")));
        EXPECT_EQ(ran.Out, summary + "\n");
        EXPECT_TRUE(ran.Err.empty());
    }
}

TEST_F(HrptCommandTest, ImportRefusesWhatIsNoRecordingAndWritesNothing) {
    const Ran ran =
        RunCommand(RunImport, ImportOptions{Path("avhrr-pass.hrp"), 2024, Path("new.hrp")});
    EXPECT_EQ(ran.Status, kRefused);
    EXPECT_NE(ran.Err.find("avhrr-pass.hrp"), std::string::npos) << ran.Err;
    EXPECT_FALSE(std::filesystem::exists(Path("new.hrp")));
}

TEST_F(HrptCommandTest, ProductsAreTheRoutinesProducts) {
    swathly::ProductSummary summary;
    const swathly::ProductPaths routine = swathly::ProductPathsOf(Path("routine"));
    ASSERT_TRUE(
        swathly::MakeProducts(Path("avhrr-pass.hrp"), routine, std::nullopt, summary).Done());

    const Ran ran = RunCommand(
        RunProducts, ProductsOptions{Path("avhrr-pass.hrp"), Path("command.cal"), 0, false});
    ASSERT_EQ(ran.Status, kDone) << ran.Err;
    const swathly::ProductPaths command = swathly::ProductPathsOf(Path("command"));
    EXPECT_EQ(TempDir::Read(command.Cal), TempDir::Read(routine.Cal));
    EXPECT_EQ(TempDir::Read(command.Sst), TempDir::Read(routine.Sst));
    EXPECT_EQ(TempDir::Read(command.Ndv), TempDir::Read(routine.Ndv));
    EXPECT_EQ(ran.Out, swathly::ProductSummaryText(summary, command) + "\n");

    const Ran json =
        RunCommand(RunProducts, ProductsOptions{Path("avhrr-pass.hrp"), Path("json"), 0, true});
    ASSERT_EQ(json.Status, kDone) << json.Err;
    for (const char* part : {"\"satellite\": \"NOAA-14\"", "\"sat_id\": 14", "\"lines\": 40",
                             "\"date\": \"1998-07-21\"", "\"filled_lines\": {\"3b\": 0"}) {
        EXPECT_NE(json.Out.find(part), std::string::npos) << part << " in " << json.Out;
    }
}

// The satellite by its name, the refusals in the program's words with exit 1, and a name that
// names no satellite is bad usage.
TEST_F(HrptCommandTest, ProductsNameTheSatelliteAndRefuse) {
    const auto run = [&](std::vector<std::string> args) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunQivtool(args, out, err, false, {});
        return Ran{status, out.str(), err.str()};
    };
    const Ran named =
        run({"products", Path("avhrr-pass.hrp"), "-o", Path("named"), "--satellite", "NOAA15"});
    ASSERT_EQ(named.Status, kDone) << named.Err;
    EXPECT_NE(named.Out.find("Satellite: NOAA-15 (Sat Id 15, as named)"), std::string::npos);
    EXPECT_EQ(
        run({"products", Path("avhrr-pass.hrp"), "-o", Path("x"), "--satellite", "noaa13"}).Status,
        kBadUsage);
    const Ran product = run({"products", Path("named.cal"), "-o", Path("again")});
    EXPECT_EQ(product.Status, kRefused);
    EXPECT_NE(product.Err.find("is a CAL, SST or NDV product"), std::string::npos) << product.Err;
    const Ran onInput = run({"products", Path("avhrr-pass.hrp"), "-o", Path("named.cal")});
    EXPECT_EQ(onInput.Status, kDone) << onInput.Err;  // replaces the earlier products
    EXPECT_FALSE(std::filesystem::exists(Path("again.cal")));
}

}  // namespace
}  // namespace qiv::qivtool
