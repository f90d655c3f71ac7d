#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "avhrr/level1b_writer.h"
#include "common/core/dimension_header.h"
#include "common/ui/help_window.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/ui/main_window.h"
#include "common/testing/open_files.h"
#include "common/ui/picture_area.h"
#include "hrpt_tool/testing/recording_fixture.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "common/testing/window_controls.h"

using qiv::swathly::MainWindow;
using qiv::testing::Caption;
using qiv::testing::Click;
using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;

namespace {

// Line 1 of an HRP pass: title "NOAA-14 ", SatId 14, 300 lines.
std::vector<std::uint8_t> OneLinePass() {
    std::vector<std::uint8_t> line(22180, 0);
    const std::string title = "NOAA-14 ";
    std::copy(title.begin(), title.end(), line.begin());
    qiv::WriteInt16Le(&line[8], 14);
    line[23] = 0x2C;
    line[24] = 0x01;
    return line;
}

enum class NewFile { Suggested, TheRecording, InAMissingFolder, Cancelled };

// One way through the questions that a recording chosen as the input brings up.
struct ImportRow {
    const char* name;
    const char* recording = "pass.raw16";  // its file name
    bool yes = true;
    std::vector<std::optional<std::string>> years = {"2024"};  // the replies to the year prompt
    NewFile file = NewFile::Suggested;
    bool imported = true;
    std::vector<std::string> messagesBefore = {};  // shown before the import's own message
};

std::vector<ImportRow> ImportRows() {
    // clang-format off
    return {
        {.name = "Yes, a year and a name import and take the new file"},
        {.name = "No keeps the recording", .yes = false, .years = {}, .imported = false},
        {.name = "a cancelled year keeps the recording", .years = {std::nullopt}, .imported = false},
        {.name = "a year that names none is asked again", .years = {"abc", "2024"},
         .messagesBefore = {"Enter a year from 1 to 9999"}},
        {.name = "a cancelled name keeps the recording", .file = NewFile::Cancelled,
         .imported = false},
        {.name = "a name that is the recording is asked again", .file = NewFile::TheRecording,
         .messagesBefore = {"The new HRP file cannot be the recording itself: choose another name"}},
        {.name = "a failed import keeps the recording", .file = NewFile::InAMissingFolder,
         .imported = false},
        {.name = "a recording called .hrp is offered another name", .recording = "pass.hrp"},
    };
    // clang-format on
}

enum class Level1bNewFile { Suggested, TheFile, Cancelled };

// One way through the questions that a Level 1b file chosen as the input brings up.
struct Level1bRow {
    const char* name;
    const char* file = "pass.l1b";  // its file name
    int dataType = 3;               // HRPT; 2 is GAC, which cannot be imported
    bool yes = true;
    Level1bNewFile newFile = Level1bNewFile::Suggested;
    bool imported = true;
    std::vector<std::string> messagesBefore = {};
};

std::vector<Level1bRow> Level1bRows() {
    // clang-format off
    return {
        {.name = "Yes and a name import and take the new file"},
        {.name = "No keeps the Level 1b file", .yes = false, .imported = false},
        {.name = "a cancelled name keeps the Level 1b file", .newFile = Level1bNewFile::Cancelled,
         .imported = false},
        {.name = "a name that is the Level 1b file is asked again",
         .newFile = Level1bNewFile::TheFile,
         .messagesBefore = {"The new HRP file cannot be the Level 1b file itself: choose another "
                            "name"}},
        {.name = "a Level 1b file called .hrp is offered another name", .file = "pass.hrp"},
        {.name = "a GAC file is told why without a question and stays the input", .dataType = 2,
         .yes = false, .imported = false,
         .messagesBefore = {"This is a NOAA Level 1b GAC file: its lines of 409 samples (4 km) "
                            "cannot become HRP lines of 2048 samples. Only LAC, HRPT and FRAC "
                            "files can be imported."}},
    };
    // clang-format on
}

// A KLM version 5 HRPT file of NOAA-19 after an ARS header: three records from 2024-06-06
// 09:41:30.500 on, 1/6 s apart.
std::vector<std::uint8_t> Level1bPass(int dataType) {
    namespace w = qiv::avhrr::l1b_writer;
    w::File plan;
    plan.DataType = dataType;
    plan.ArchiveHeader = true;
    plan.Start = {2024, 158, 34'890'500};
    plan.End = {2024, 158, 34'890'833};
    for (std::uint32_t i = 0; i < 3; ++i) {
        w::Record r;
        r.ScanLine = static_cast<int>(i) + 1;
        r.When = {2024, 158, 34'890'500 + i * 1000 / 6};
        r.Counts = w::PatternCounts(static_cast<int>(i));
        plan.Records.push_back(r);
    }
    return w::Write(plan);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpTexts_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        const std::vector<std::pair<const char*, const char*>> rows{
            {"Command1", "Input Image File Hrp, Cal, Sst, Ndv"},
            {"Command2", "Display header, Print Data"},
            {"Command3", "End"},
            {"Command4", "Enter Output Dat File"},
            {"Command5", "Information"},
            {"Command6", "Output from (Hrp) --> Qlk"},
            {"Command7", "Output (CAL, SST, NDV) --> Qlk "},
            {"Command8", "Output (Hrp) --> Hrp Less Lines"},
            {"Command9", "Enter Output Image File"},
            {"Command10", "Help"},
            {"Frame1", "Information"},
            {"Option1(0)", "Band - 1"},
            {"Option1(1)", "Band - 2"},
            {"Option1(2)", "Band - 3"},
            {"Option1(3)", "Band -4"},
            {"Option1(4)", "Band - 5"},
            {"Option1(5)", "single Band"},
            {"Label1(8)", "Title"},
            {"Label1(9)", "Sat Id"},
            {"Label1(2)", "Month"},
            {"Label1(3)", "Day"},
            {"Label1(4)", "Year"},
            {"Label1(5)", "Hour"},
            {"Label1(6)", "Minute"},
            {"Label1(7)", "Secs"},
            {"Label1(10)", "Time Diff"},
            {"Label1(0)", "Rows"},
            {"Label1(1)", "Cols"},
            {"Label1(14)", "Line #"},
            {"Label1(15)", "Rows Qlk"},
            {"Label1(11)", "SamplInter"},
            {"Text1(0)", ""},
            {"Text1(7)", ""},
            {"Text1(11)", ""},
            {"Text1(13)", ""},
            {"Text1(14)", "1"},
            {"Text2(0)", ""},
            {"Text2(1)", "5"},
            {"Label2", ""},
            {"Label3", ""},
            {"Label4", ""},
        };
        for (const auto& [control, text] : rows) {
            QTest::newRow(control) << QString::fromLatin1(control) << QString::fromUtf8(text);
        }
    }

    void startUpTexts() {
        QFETCH(QString, control);
        QFETCH(QString, text);
        ScriptedDialogs dialogs;
        const MainWindow window(&dialogs);
        QCOMPARE(Caption(window, qPrintable(control)), text);
    }

    void startUpState() {
        ScriptedDialogs dialogs;
        const MainWindow window(&dialogs);
        QCOMPARE(window.objectName(), QStringLiteral("Form1"));
        QCOMPARE(window.windowTitle(), QStringLiteral("HRP File Information"));
        for (int i = 0; i < 6; ++i) {
            const auto* option =
                window.findChild<QRadioButton*>(QStringLiteral("Option1(%1)").arg(i));
            QVERIFY(option != nullptr);
            QCOMPARE(option->isChecked(), i == 5);
        }
        for (int i = 8; i <= 10; ++i) {
            QVERIFY(window.findChild<QObject*>(QStringLiteral("Text1(%1)").arg(i)) == nullptr);
        }
        QVERIFY(window.findChild<qiv::PictureArea*>(QStringLiteral("Picture1")) != nullptr);
        const auto& state = window.State();
        QCOMPARE(state.InputChosen, false);
        QCOMPARE(state.DatChosen, false);
        QCOMPARE(state.OutputChosen, false);
        QCOMPARE(dialogs.FileFilters.size(), std::size_t{0});
    }

    void bandOptionsFormOneGroup() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        window.findChild<QRadioButton*>(QStringLiteral("Option1(2)"))->click();
        window.findChild<QRadioButton*>(QStringLiteral("Option1(4)"))->click();
        int selected = 0;
        for (const auto* option : window.findChildren<QRadioButton*>()) {
            selected += option->isChecked() ? 1 : 0;
        }
        QCOMPARE(selected, 1);
        QVERIFY(window.findChild<QRadioButton*>(QStringLiteral("Option1(4)"))->isChecked());
    }

    void inputIsChosenOnce() {
        TempDir dir;
        const auto first = dir.Write("first.hrp", OneLinePass());
        ScriptedDialogs dialogs;
        dialogs.File(first.string()).File((dir / "second.hrp").string());
        MainWindow window(&dialogs);
        Click(window, "Command1");
        Click(window, "Command1");
        QCOMPARE(dialogs.FileFilters.size(), std::size_t{1});
        QCOMPARE(dialogs.Questions.size(), std::size_t{0});  // an HRP file is no recording
        QCOMPARE(Caption(window, "Label2"), QString::fromStdString(first.string()));
        QCOMPARE(window.State().InputChosen, true);
    }

    void recordingAsInput_data() {
        QTest::addColumn<int>("row");
        const std::vector<ImportRow> rows = ImportRows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            QTest::newRow(rows[i].name) << static_cast<int>(i);
        }
    }

    // A file that starts with the frame sync is offered for import; whatever the answers, the
    // input is chosen, either the new HRP file or the recording itself.
    void recordingAsInput() {
        QFETCH(int, row);
        const ImportRow r = ImportRows()[static_cast<std::size_t>(row)];
        TempDir dir;
        const auto recording =
            dir.Write(r.recording, qiv::testing::Recording(qiv::testing::Pass(3)));
        // Written in 2021 as far as the file system knows: the year offered first.
        const std::chrono::sys_seconds written{
            std::chrono::sys_days{std::chrono::year{2021} / std::chrono::March / 4}};
        std::filesystem::last_write_time(recording, std::chrono::file_clock::from_sys(written));
        const std::string suggested =
            (dir / (r.recording == std::string("pass.hrp") ? "pass-imported.hrp" : "pass.hrp"))
                .string();

        ScriptedDialogs dialogs;
        dialogs.File(recording.string()).Reply(r.yes);
        for (const auto& year : r.years) {
            dialogs.Answer(year);
        }
        if (r.yes && r.years.back()) {
            switch (r.file) {
                case NewFile::Suggested:
                    dialogs.File(suggested);
                    break;
                case NewFile::TheRecording:
                    dialogs.File(recording.string()).File(suggested);
                    break;
                case NewFile::InAMissingFolder:
                    dialogs.File((dir / "missing" / "pass.hrp").string());
                    break;
                case NewFile::Cancelled:
                    dialogs.File(std::nullopt);
                    break;
            }
        }
        MainWindow window(&dialogs);
        Click(window, "Command1");

        QVERIFY(dialogs.Exhausted());
        QCOMPARE(dialogs.Unscripted, 0);
        QCOMPARE(dialogs.Questions.size(), std::size_t{1});
        if (r.yes) {
            QCOMPARE(dialogs.PromptCalls.front().Filled, std::string("2021"));
            QCOMPARE(dialogs.PromptCalls.back().Filled, r.years.size() > 1 ? *r.years[0] : "2021");
        }
        if (r.yes && r.years.back()) {
            QCOMPARE(dialogs.FileFilters.back(), std::string("HRP Files|*.hrp|All Files|*.*"));
            QCOMPARE(dialogs.Suggested.back(), suggested);
        }
        const std::string input = r.imported ? suggested : recording.string();
        QCOMPARE(Caption(window, "Label2"), QString::fromStdString(input));
        QCOMPARE(window.State().InputPath, input);
        QCOMPARE(window.State().InputChosen, true);
        QCOMPARE(std::filesystem::exists(suggested), r.imported);

        std::vector<std::string> messages = r.messagesBefore;
        if (r.imported) {
            messages.push_back("The recording is imported into " + suggested +
                               ".\n\nFrames: 3, in little-endian words\n"
                               "Satellite: NOAA-19, Sat Id 19\n"
                               "Start of line 1: 2024-06-06 09:41:30\n"
                               "Frames with a damaged frame sync (kept): 0\n"
                               "Bytes left over after the last whole frame (left out): 0");
        } else if (r.file == NewFile::InAMissingFolder) {
            messages.push_back("Cannot open the output file " +
                               (dir / "missing" / "pass.hrp").string() +
                               ": No such file or directory");
        }
        QCOMPARE(dialogs.Messages, messages);
    }

    void level1bAsInput_data() {
        QTest::addColumn<int>("row");
        const std::vector<Level1bRow> rows = Level1bRows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            QTest::newRow(rows[i].name) << static_cast<int>(i);
        }
    }

    // A Level 1b file is offered for import as a recording is, without a year; whatever the
    // answers, the input is chosen, either the new HRP file or the Level 1b file itself.
    void level1bAsInput() {
        QFETCH(int, row);
        const Level1bRow r = Level1bRows()[static_cast<std::size_t>(row)];
        TempDir dir;
        const auto level1b = dir.Write(r.file, Level1bPass(r.dataType));
        const std::string suggested =
            (dir / (r.file == std::string("pass.hrp") ? "pass-imported.hrp" : "pass.hrp")).string();
        const bool asked = r.dataType != 2;

        ScriptedDialogs dialogs;
        dialogs.File(level1b.string());
        if (asked) {
            dialogs.Reply(r.yes);
        }
        if (r.yes) {
            switch (r.newFile) {
                case Level1bNewFile::Suggested:
                    dialogs.File(suggested);
                    break;
                case Level1bNewFile::TheFile:
                    dialogs.File(level1b.string()).File(suggested);
                    break;
                case Level1bNewFile::Cancelled:
                    dialogs.File(std::nullopt);
                    break;
            }
        }
        MainWindow window(&dialogs);
        Click(window, "Command1");

        QVERIFY(dialogs.Exhausted());
        QCOMPARE(dialogs.Unscripted, 0);
        QCOMPARE(dialogs.Questions.size(), std::size_t{asked ? 1u : 0u});
        QCOMPARE(dialogs.PromptCalls.size(), std::size_t{0});  // no year to ask
        if (r.yes) {
            QCOMPARE(dialogs.FileFilters.back(), std::string("HRP Files|*.hrp|All Files|*.*"));
            QCOMPARE(dialogs.Suggested.back(), suggested);
        }
        const std::string input = r.imported ? suggested : level1b.string();
        QCOMPARE(Caption(window, "Label2"), QString::fromStdString(input));
        QCOMPARE(window.State().InputPath, input);
        QCOMPARE(window.State().InputChosen, true);
        QCOMPARE(std::filesystem::exists(suggested), r.imported);

        std::vector<std::string> messages = r.messagesBefore;
        if (r.imported) {
            messages.push_back("The Level 1b file is imported into " + suggested +
                               ".\n\nSpacecraft: NOAA-19, Sat Id 19\n"
                               "Data type: HRPT, KLM format version 5, after a 512-byte archive "
                               "header\n"
                               "Records: 3 (the header counts 3), now as many lines\n"
                               "Start: 2024-06-06 09:41:30.500 (line 1 starts 09:41:30)\n"
                               "End: 2024-06-06 09:41:30.833\n"
                               "Bad records (kept): 0\n"
                               "Bytes left over after the last whole record (left out): 0");
        }
        QCOMPARE(dialogs.Messages, messages);
    }

    void cancelledDialogsSetNothing() {
        ScriptedDialogs dialogs;
        dialogs.File(std::nullopt).File(std::nullopt).File(std::nullopt);
        MainWindow window(&dialogs);
        Click(window, "Command1");
        Click(window, "Command4");
        Click(window, "Command9");
        QCOMPARE(dialogs.FileFilters.size(), std::size_t{3});
        QCOMPARE(Caption(window, "Label2"), QString());
        QCOMPARE(Caption(window, "Label3"), QString());
        QCOMPARE(Caption(window, "Label4"), QString());
        QCOMPARE(window.State().InputChosen, false);
        QCOMPARE(window.State().DatChosen, false);
        QCOMPARE(window.State().OutputChosen, false);
    }

    void displayHeaderWithOutputChosenFillsBoxesAndClosesInput() {
        TempDir dir;
        const auto input = dir.Write("pass.hrp", OneLinePass());
        ScriptedDialogs dialogs;
        dialogs.File(input.string())
            .File((dir / "out.qlk").string())
            .File((dir / "cal.txt").string());
        MainWindow window(&dialogs);
        const int filesBefore = qiv::testing::OpenFiles();
        Click(window, "Command1");
        Click(window, "Command9");
        Click(window, "Command4");
        Click(window, "Command2");

        QCOMPARE(Caption(window, "Label4"), QString::fromStdString((dir / "out.qlk").string()));
        QCOMPARE(Caption(window, "Label3"), QString::fromStdString((dir / "cal.txt").string()));
        QCOMPARE(Caption(window, "Text1(0)"), QStringLiteral("NOAA-14 "));
        QCOMPARE(Caption(window, "Text1(1)"), QStringLiteral("14"));
        QCOMPARE(Caption(window, "Text1(11)"), QStringLiteral("0"));
        QCOMPARE(Caption(window, "Text1(12)"), QStringLiteral("300"));
        QCOMPARE(Caption(window, "Text1(13)"), QStringLiteral("2048"));
        QCOMPARE(window.State().LineCount, 300);
        QCOMPARE(qiv::testing::OpenFiles(), filesBefore);
        QCOMPARE(TempDir::Read(dir / "cal.txt").size(),
                 std::size_t{31 + 2 + 3 + 10 * 11 + 10 * (11 + 8) + 3});
        QCOMPARE(dialogs.Messages.size(), std::size_t{0});
    }

    void refusedHeaderReadLeavesTheBoxes() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        window.findChild<QLineEdit*>(QStringLiteral("Text1(0)"))->setText(QStringLiteral("typed"));
        Click(window, "Command2");
        QCOMPARE(dialogs.Messages, std::vector<std::string>{" Enter the file name first"});
        QCOMPARE(Caption(window, "Text1(0)"), QStringLiteral("typed"));
        QCOMPARE(Caption(window, "Text1(13)"), QString());
    }

    void informationShowsTheNotice() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        Click(window, "Command5");
        QCOMPARE(dialogs.Messages.size(), std::size_t{1});
        QVERIFY(dialogs.Messages[0].starts_with("Swathly_Qiv"));
    }

    void endEndsTheProgram() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        int quits = 0;
        window.SetQuitHandler([&quits] { ++quits; });
        Click(window, "Command3");
        QCOMPARE(quits, 1);
    }

    // Closing Form1 through its frame ends the program like "End", also while the help window,
    // a top-level window of its own, is still shown.
    void closingForm1EndsTheProgramWhileHelpIsShown() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        int quits = 0;
        window.SetQuitHandler([&quits] { ++quits; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Click(window, "Command10");
        QVERIFY(window.Form2() != nullptr && window.Form2()->isVisible());
        QVERIFY(window.close());
        QCOMPARE(quits, 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
