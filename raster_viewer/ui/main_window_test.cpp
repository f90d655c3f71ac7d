// Form1 driven as a user would: actions triggered, buttons clicked, dialogs answered from a
// script; controls are found by their layout names.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "raster_viewer/ui/display_window.h"
#include "raster_viewer/ui/main_window.h"
#include "common/ui/picture_area.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "common/ui/text.h"
#include "common/ui/twips.h"
#include "common/testing/window_controls.h"

using qiv::rastel::MainWindow;
using qiv::testing::Caption;
using qiv::testing::Click;
using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;
using qiv::testing::Trigger;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsDesignCaptionsAndFirstOption() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        QCOMPARE(window.objectName(), QStringLiteral("Form1"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Επεξεργασία Εικόνας "));
        QCOMPARE(Caption(window, "Label1"), QStringLiteral("Κανένα όνομα αρχείου"));
        QCOMPARE(Caption(window, "Label2"), QStringLiteral("  512 x 512"));
        QCOMPARE(Caption(window, "Label3"), QStringLiteral("   Όρθια"));
        QCOMPARE(Caption(window, "Label4"), QStringLiteral("   None"));
        auto* option1 = window.findChild<QRadioButton*>(QStringLiteral("Option1"));
        auto* option2 = window.findChild<QRadioButton*>(QStringLiteral("Option2"));
        QVERIFY(option1 != nullptr && option2 != nullptr);
        QVERIFY(option1->isChecked());
        option2->click();
        QVERIFY(option2->isChecked());
        QVERIFY(!option1->isChecked());

        const qiv::rastel::ViewerState& state = window.State();
        QCOMPARE(state.ImageRows, 512);
        QCOMPARE(state.ImageCols, 512);
        QCOMPARE(state.FileChosen, false);
        QCOMPARE(state.TablesReady, false);
        QVERIFY(state.ScreenHeight > 0 && state.ScreenWidth > 0);

        qiv::rastel::DisplayWindow& form3 = window.Form3();
        QCOMPARE(form3.objectName(), QStringLiteral("Form3"));
        QVERIFY(!form3.isVisible());
        QCOMPARE(form3.Picture().Image().size(),
                 QSize(qiv::TwipsToPixels(state.ScreenWidth),
                       qiv::TwipsToPixels(state.ScreenHeight - 360)));
    }

    void menusHoldTheirEntriesInOrder() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        const QList<QAction*> bar = window.menuBar()->actions();
        QStringList titles;
        for (const QAction* entry : bar) {
            titles << entry->text();
        }
        QCOMPARE(titles, (QStringList{"Αρχείο", "Ιστόγραμμα", "Εικόνα", "Βοήθεια"}));
        QCOMPARE(bar.last()->objectName(), QStringLiteral("HelpIp"));
        QVERIFY(bar.last()->menu() == nullptr);

        const auto entries = [&](const char* menu) {
            QStringList names;
            for (const QAction* entry :
                 window.findChild<QMenu*>(QString::fromLatin1(menu))->actions()) {
                names << entry->objectName() + "=" + entry->text();
            }
            return names;
        };
        QCOMPARE(entries("Fl"), (QStringList{"Fl1=Άνοιξε", "Fl2=Κλείσε", "Fl3=Έξοδος"}));
        QCOMPARE(entries("Hs"),
                 (QStringList{"Hs1=Κανονικό", "Hs2=Εξισωμένο",
                              "Td1=Βάλε τιμές Γραμμικού τεντώματος", "Hs3=Γραμμικό τέντωμα"}));
        QCOMPARE(entries("Px"),
                 (QStringList{"Px1=Κανονική", "Px2=Εξισωμένη", "Px3=Γραμμικά τεντωμένη",
                              "HeadCr=Δημιούργησε Header"}));
    }

    void openCancelCloseAndExit() {
        ScriptedDialogs dialogs;
        dialogs.File("/tmp/first.raw").File(std::nullopt).File("/tmp/second.raw");
        MainWindow window(&dialogs);
        int quits = 0;
        window.SetQuitHandler([&quits] { ++quits; });

        Trigger(window, "Fl1");
        QCOMPARE(Caption(window, "Label1"), QStringLiteral("/tmp/first.raw"));
        QCOMPARE(dialogs.FileFilters.front(), std::string("All Files|*.*|Text Files|*.txt"));
        Trigger(window, "Fl1");  // cancelled: nothing changes
        QCOMPARE(Caption(window, "Label1"), QStringLiteral("/tmp/first.raw"));
        QCOMPARE(window.State().ImagePath, std::string("/tmp/first.raw"));
        Trigger(window, "Fl1");
        QCOMPARE(Caption(window, "Label1"), QStringLiteral("/tmp/second.raw"));
        QCOMPARE(window.State().FileChosen, true);

        Trigger(window, "Fl2");
        QCOMPARE(Caption(window, "Label1"), QStringLiteral("Κανένα όνομα αρχείου"));
        QCOMPARE(window.State().FileChosen, false);
        QCOMPARE(window.State().ImagePath, std::string());
        QCOMPARE(Caption(window, "Label2"), QStringLiteral("  512 x 512"));

        QCOMPARE(quits, 0);
        Trigger(window, "Fl3");
        QCOMPARE(quits, 1);
        QVERIFY(dialogs.Messages.empty());
    }

    void dimensionsTypedAndReadFromTheHeader() {
        TempDir dir;
        const std::vector<std::uint8_t> bytes{0x00, 0x02, 0x90, 0x01, 7, 7};
        const std::string image = (dir.Write("header.raw", bytes)).string();
        ScriptedDialogs dialogs;
        dialogs.Answer("12.5").Answer("-7");
        MainWindow window(&dialogs);

        Click(window, "Command2");
        QCOMPARE(Caption(window, "Label2"), QStringLiteral(" 12 , -7"));
        QCOMPARE(dialogs.PromptCalls.size(), std::size_t{2});
        QCOMPARE(dialogs.PromptCalls[0].Text, std::string("Βάλε αριθμό Γραμμών"));
        QCOMPARE(dialogs.PromptCalls[1].Text, std::string("Βάλε αριθμό Στηλών"));
        QCOMPARE(dialogs.PromptCalls[1].XTwips, 100);
        QCOMPARE(dialogs.PromptCalls[1].YTwips, 5000);

        Click(window, "Command5");  // no file yet
        QCOMPARE(dialogs.Messages, std::vector<std::string>{"Βάλε πρώτα το όνομα αρχείου εικόνας"});
        QCOMPARE(Caption(window, "Label2"), QStringLiteral(" 12 , -7"));

        dialogs.File(image);
        Trigger(window, "Fl1");
        Click(window, "Command5");
        QCOMPARE(Caption(window, "Label2"), QStringLiteral(" 512 ,  400"));
        QCOMPARE(window.State().ImageCols, 400);
    }

    // Start builds the tables once and clears Form3's picture area every time; HeadCr writes the
    // typed dimensions into the chosen file.
    void startAndHeaderThroughTheWindow() {
        TempDir dir;
        std::vector<std::uint8_t> bytes(6, 100);
        const std::string image = dir.Write("image.raw", bytes).string();
        ScriptedDialogs dialogs;
        dialogs.File(image).Answer("2").Answer("3");
        MainWindow window(&dialogs);
        qiv::PictureArea& shown = window.Form3().Picture();
        auto* waitArea = window.findChild<qiv::PictureArea*>(QStringLiteral("Picture1"));
        QVERIFY(waitArea != nullptr);
        const QImage emptyWait = waitArea->Image();

        Trigger(window, "Fl1");
        Click(window, "Command2");
        shown.SetPixel(1, 1, qiv::kBlack);
        Click(window, "Command1");
        QCOMPARE(window.State().TablesReady, true);
        QCOMPARE(window.State().Levels.Count[100], 6);
        QCOMPARE(shown.PixelAt(1, 1), qiv::kWhite);
        QCOMPARE(waitArea->Image(), emptyWait);

        Trigger(window, "HeadCr");
        QCOMPARE(TempDir::Read(image), (std::vector<std::uint8_t>{2, 0, 3, 0, 100, 100}));

        Trigger(window, "Fl2");
        shown.SetPixel(1, 1, qiv::kBlack);
        Click(window, "Command1");
        QCOMPARE(dialogs.Messages,
                 std::vector<std::string>{"πάτησε πρώτα το κουμπί -Όνομα Αρχείου-"});
        QCOMPARE(shown.PixelAt(1, 1), qiv::kWhite);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
