// The parts of Form1 that belong to no other window: the help panel, the notice and the subset,
// driven through the window's own controls with scripted dialogs.
#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "common/testing/window_controls.h"
#include "common/ui/help_window.h"
#include "common/ui/picture_area.h"
#include "raster_viewer/core/rastel_help.h"
#include "raster_viewer/core/rastel_texts.h"
#include "raster_viewer/core/subset.h"
#include "raster_viewer/ui/display_window.h"
#include "raster_viewer/ui/main_window.h"

using qiv::rastel::MainWindow;
using qiv::testing::Caption;
using qiv::testing::Click;
using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;
using qiv::testing::Trigger;

namespace {

bool AllOneColour(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != image.pixel(0, 0)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

class ShellWindowTest : public QObject {
    Q_OBJECT

private slots:
    void helpShowsTheRastelTextInForm2() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        QVERIFY(window.Form2() == nullptr);

        Trigger(window, "HelpIp");
        qiv::HelpWindow* form2 = window.Form2();
        QVERIFY(form2 != nullptr);
        QVERIFY(form2->isVisible());
        QCOMPARE(form2->objectName(), QStringLiteral("Form2"));
        QCOMPARE(form2->windowTitle(), QStringLiteral("Βοήθεια Rastel_Qiv"));
        QCOMPARE(form2->ReturnButton().text(), QStringLiteral("Επιστροφή"));
        const QFontMetrics metrics(form2->TextArea().font());
        QCOMPARE(form2->TextArea().Height(), 47 * metrics.height());
        QCOMPARE(form2->TextArea().PixelAt(0, form2->TextArea().Height() - 1),
                 qiv::MakeColour(255, 255, 192));
        const QImage once = form2->TextArea().Image();

        QTest::mouseClick(&form2->ReturnButton(), Qt::LeftButton);
        QVERIFY(!form2->isVisible());
        Trigger(window, "HelpIp");
        QCOMPARE(window.Form2(), form2);
        QVERIFY(form2->isVisible());
        QCOMPARE(form2->TextArea().Image(), once);
        QVERIFY(dialogs.Messages.empty());
    }

    // The layout was drawn for a smaller font: it grows so that no caption is cut off.
    void everyCaptionFitsItsButton() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        const auto buttons = window.centralWidget()->findChildren<QAbstractButton*>();
        QCOMPARE(buttons.size(), 9);
        for (const QAbstractButton* button : buttons) {
            QVERIFY2(button->sizeHint().width() <= button->width(),
                     qPrintable(button->objectName()));
            QVERIFY2(button->parentWidget()->rect().contains(button->geometry()),
                     qPrintable(button->objectName()));
        }
        const auto* picture1 = window.findChild<qiv::PictureArea*>("Picture1");
        QCOMPARE(picture1->Image().size(), picture1->size());
    }

    void noticeChangesNothing() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        Click(window, "Command11");
        QCOMPARE(dialogs.Messages,
                 std::vector<std::string>{std::string(qiv::rastel::kRastelNotice)});
        QVERIFY(dialogs.PromptCalls.empty() && dialogs.FileFilters.empty());
        QCOMPARE(Caption(window, "Label1"), QStringLiteral("Κανένα όνομα αρχείου"));
        QCOMPARE(Caption(window, "Label4"), QStringLiteral("   None"));
        QCOMPARE(window.State().FileChosen, false);
        QCOMPARE(window.State().SubsetPath, std::string());
    }

    void subsetNamesItsFileInLabel4() {
        TempDir dir;
        std::vector<std::uint8_t> image(8 * 10);
        for (std::size_t k = 0; k < image.size(); ++k) {
            image[k] = static_cast<std::uint8_t>(k);
        }
        const auto imagePath = dir.Write("image.raw", image);
        const auto cutPath = dir / "cut.raw";
        ScriptedDialogs dialogs;
        dialogs.File(imagePath.string()).Answer("8").Answer("10");
        MainWindow window(&dialogs);
        Trigger(window, "Fl1");
        Click(window, "Command2");

        dialogs.Answer("1").Answer("2").Answer("3").Answer("4").File(std::nullopt);
        Click(window, "Command4");
        QCOMPARE(Caption(window, "Label4"), QStringLiteral("   None"));
        QVERIFY(!std::filesystem::exists(cutPath));

        dialogs.Answer("1").Answer("2").Answer("3").Answer("4").File(cutPath.string());
        Click(window, "Command4");
        QCOMPARE(Caption(window, "Label4"), QString::fromStdString(cutPath.string()));
        QCOMPARE(TempDir::Read(cutPath),
                 (std::vector<std::uint8_t>{3, 0, 4, 0, 22, 23, 24, 25, 32, 33, 34, 35}));
        QVERIFY(AllOneColour(window.findChild<qiv::PictureArea*>("Picture1")->Image()));
        QCOMPARE(dialogs.Messages.size(), std::size_t{2});  // the name request, twice
        QVERIFY(dialogs.Exhausted());
    }

    // Label4 names the new file before the copy, so that a failed write is told while the
    // label already shows the file that failed.
    void subsetWriteFailureComesAfterLabel4() {
        TempDir dir;
        const auto imagePath = dir.Write("image.raw", std::vector<std::uint8_t>(8 * 10, 5));
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        dialogs.File(imagePath.string()).Answer("8").Answer("10");
        Trigger(window, "Fl1");
        Click(window, "Command2");

        QStringList label4AtMessages;
        std::size_t messagesSeen = 0;
        dialogs.OnDialog = [&] {
            if (dialogs.Messages.size() > messagesSeen) {
                ++messagesSeen;
                label4AtMessages << Caption(window, "Label4");
            }
        };
        dialogs.Answer("0").Answer("0").Answer("2").Answer("2").File("/dev/full");
        Click(window, "Command4");
        QCOMPARE(dialogs.Messages.size(), std::size_t{2});
        QVERIFY(dialogs.Messages[1].find("/dev/full") != std::string::npos);
        QCOMPARE(label4AtMessages,
                 (QStringList{QStringLiteral("   None"), QStringLiteral("/dev/full")}));
    }

    // The road of one image: open, read its header, Start, the equalised plot, the continuous
    // slicing painting of the equalised image, and a subset. A 16 x 16 image with its header:
    // levels 16 and 0 twice each (the header bytes), then 126 pixels of 100 and 126 of 200. The
    // equalisation sends 0 -> 2, 16 -> 4, 100 -> 129, 200 -> 255.
    void roadOfOneImage() {
        std::vector<std::uint8_t> image(16 * 16, 200);
        std::fill(image.begin() + 4, image.begin() + 130, std::uint8_t{100});
        image[0] = 16;
        image[1] = 0;
        image[2] = 16;
        image[3] = 0;
        TempDir dir;
        const auto imagePath = dir.Write("scene.raw", image);
        const auto cutPath = dir / "cut.raw";

        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        qiv::PictureArea& picture = window.Form3().Picture();
        const auto red = qiv::MakeColour(250, 0, 0);
        const auto blue = qiv::MakeColour(0, 0, 255);

        dialogs.File(imagePath.string());
        Trigger(window, "Fl1");
        Click(window, "Command5");
        QCOMPARE(window.State().ImageRows, 16);
        QCOMPARE(window.State().ImageCols, 16);

        Click(window, "Command1");
        QCOMPARE(window.State().TablesReady, true);
        QVERIFY(AllOneColour(window.findChild<qiv::PictureArea*>("Picture1")->Image()));

        // Levels 2 and 4 hold 2 pixels each, 129 and 255 hold 126: the peak is 200 pixels high.
        Trigger(window, "Hs2");
        QVERIFY(window.Form3().isVisible());
        QCOMPARE(picture.PixelAt(100, 250), red);
        QCOMPARE(picture.PixelAt(129 + 10, 50), blue);
        QCOMPARE(picture.PixelAt(129 + 10, 49), qiv::kWhite);
        QCOMPARE(picture.PixelAt(255 + 10, 50), blue);
        QCOMPARE(picture.PixelAt(128 + 10, 200), qiv::kWhite);
        QCOMPARE(picture.PixelAt(2 + 10, 247), blue);
        QCOMPARE(picture.PixelAt(2 + 10, 240), qiv::kWhite);

        // Upright, image byte (row r, column c) lands at (c, r), 1-based; the plot stays around.
        window.findChild<QRadioButton*>("Option2")->click();
        Trigger(window, "Px2");
        QCOMPARE(picture.PixelAt(1, 1), qiv::MakeColour(0, 0, 17));   // 16 -> 4
        QCOMPARE(picture.PixelAt(2, 1), qiv::MakeColour(0, 0, 8));    // 0 -> 2
        QCOMPARE(picture.PixelAt(5, 1), qiv::MakeColour(34, 34, 0));  // 100 -> 129
        QCOMPARE(picture.PixelAt(2, 9), qiv::MakeColour(34, 34, 0));
        QCOMPARE(picture.PixelAt(3, 9), qiv::MakeColour(252, 0, 0));  // 200 -> 255
        QCOMPARE(picture.PixelAt(16, 16), qiv::MakeColour(252, 0, 0));
        QCOMPARE(picture.PixelAt(17, 16), qiv::kWhite);
        QCOMPARE(picture.PixelAt(100, 250), red);

        dialogs.Answer("7").Answer("10").Answer("2").Answer("6").File(cutPath.string());
        Click(window, "Command4");
        QCOMPARE(TempDir::Read(cutPath),
                 (std::vector<std::uint8_t>{2, 0, 6, 0, 100, 100, 200, 200, 200, 200, 200, 200}));
        QCOMPARE(Caption(window, "Label4"), QString::fromStdString(cutPath.string()));
        QCOMPARE(TempDir::Read(imagePath), image);
        QCOMPARE(dialogs.Messages,
                 std::vector<std::string>{std::string(qiv::rastel::kSubsetAskFileName)});
        QVERIFY(dialogs.Exhausted());
    }
};

QTEST_MAIN(ShellWindowTest)
#include "shell_window_test.moc"
