// The product buttons of Form1, run from their clicks with scripted dialogs: the quicklooks,
// the line cut and the help window.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>
#include <vector>

#include "common/core/dimension_header.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/ui/main_window.h"
#include "common/testing/open_files.h"
#include "common/ui/picture_area.h"
#include "hrpt_tool/core/quicklook.h"
#include "common/testing/scripted_dialogs.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "common/testing/temp_dir.h"
#include "common/testing/window_controls.h"

using qiv::swathly::kLineBytes;
using qiv::swathly::MainWindow;
using qiv::testing::Caption;
using qiv::testing::Click;
using qiv::testing::ScriptedDialogs;
using qiv::testing::SetText;
using qiv::testing::TempDir;

namespace {

// An HRP pass of `lines` lines, the header of line 1 stating them; every line carries SatId
// 10 + its number, and channel b of every earth sample holds 100 × b.
std::vector<std::uint8_t> Pass(int lines) {
    std::vector<std::uint8_t> file(static_cast<std::size_t>(lines * kLineBytes), 0);
    for (int j = 0; j < lines; ++j) {
        qiv::swathly::LineHeaderRecord header;
        header.SatId = static_cast<std::int16_t>(10 + j + 1);
        header.Hour = 10;
        header.Minute = 20;
        header.Secs = 30;
        header.RowsLow = static_cast<std::uint8_t>(lines % 256);
        header.RowsHigh = static_cast<std::uint8_t>(lines / 256);
        const auto bytes = qiv::swathly::EncodeLineHeader(header);
        std::copy(bytes.begin(), bytes.end(), file.begin() + j * kLineBytes);
        for (int c = 0; c < 2048; ++c) {
            for (int b = 0; b < 5; ++b) {
                qiv::WriteInt16Le(
                    &file[static_cast<std::size_t>(j * kLineBytes + 1500 + c * 10 + b * 2)],
                    static_cast<std::int16_t>(100 * (b + 1)));
            }
        }
    }
    return file;
}

qiv::DimensionHeader HeaderOf(const std::vector<std::uint8_t>& image) {
    return qiv::DecodeDimensionHeader(std::span<const std::uint8_t, 4>(image.data(), 4));
}

QWidget* Form2() {
    QWidget* found = nullptr;
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("Form2")) {
            found = widget;
            ++count;
        }
    }
    return count == 1 ? found : nullptr;
}

bool Blank(const qiv::PictureArea& area) {
    for (int y = 0; y < area.Height(); ++y) {
        for (int x = 0; x < area.Width(); ++x) {
            if (area.PixelAt(x, y) != qiv::kWhite) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

class ProductsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void hrpQuicklookFromTheButtons() {
        TempDir dir;
        const auto input = dir.Write("pass.hrp", Pass(11));
        ScriptedDialogs dialogs;
        dialogs.File(input.string()).File((dir / "pass.qlk").string());
        MainWindow window(&dialogs);
        Click(window, "Command1");
        Click(window, "Command9");
        Click(window, "Option1(1)");

        Click(window, "Command6");
        QCOMPARE(dialogs.Messages, std::vector<std::string>{});
        QCOMPARE(Caption(window, "Text2(0)"), QStringLiteral("3"));
        QCOMPARE(Caption(window, "Text1(1)"), QStringLiteral("11"));
        QCOMPARE(Caption(window, "Text1(12)"), QStringLiteral("11"));
        QCOMPARE(window.State().OutputChosen, false);
        QCOMPARE(window.State().SamplingInterval, std::int16_t{5});
        QVERIFY(Blank(*window.findChild<qiv::PictureArea*>(QStringLiteral("Picture1"))));
        const auto image = TempDir::Read(dir / "pass.qlk");
        QCOMPARE(image.size(), std::size_t{3 * 410});
        QCOMPARE(HeaderOf(image), (qiv::DimensionHeader{3, 410}));
        QCOMPARE(int{image[500]}, 50);  // channel 2: 200 scaled

        // A second click wants a new output file first.
        Click(window, "Command6");
        QCOMPARE(dialogs.Messages,
                 std::vector<std::string>{std::string(qiv::swathly::kEnterFilesFirst)});
    }

    void hrpQuicklookOnLineTwoShowsThatHeaderAndRefuses() {
        TempDir dir;
        const auto input = dir.Write("pass.hrp", Pass(3));
        ScriptedDialogs dialogs;
        dialogs.File(input.string()).File((dir / "pass.qlk").string());
        MainWindow window(&dialogs);
        Click(window, "Command1");
        Click(window, "Command9");
        SetText(window, "Text1(14)", QStringLiteral("2"));
        QStringList satIdAtMessages;
        dialogs.OnDialog = [&] { satIdAtMessages << Caption(window, "Text1(1)"); };

        Click(window, "Command6");
        QCOMPARE(dialogs.Messages,
                 std::vector<std::string>{std::string(qiv::swathly::kSetLineOne)});
        // The message comes with line 2's header already in the boxes.
        QCOMPARE(satIdAtMessages, QStringList{QStringLiteral("12")});
        QCOMPARE(Caption(window, "Text1(1)"), QStringLiteral("12"));
        QCOMPARE(Caption(window, "Text2(0)"), QString());
        QCOMPARE(window.State().OutputChosen, true);
        QVERIFY(!std::filesystem::exists(dir / "pass.qlk"));
    }

    void productQuicklookTakesTheSelectedBand() {
        TempDir dir;
        std::vector<std::uint8_t> cal(3 * 20480, 0);
        qiv::WriteInt16Le(cal.data(), 2);
        for (int r = 1; r <= 2; ++r) {
            for (int c = 0; c < 2048; ++c) {
                for (int b = 0; b < 5; ++b) {
                    qiv::WriteInt16Le(&cal[static_cast<std::size_t>(r * 20480 + c * 10 + b * 2)],
                                      static_cast<std::int16_t>(40 + b));
                }
            }
        }
        const auto input = dir.Write("scene.cal", cal);
        ScriptedDialogs dialogs;
        dialogs.File(input.string()).File((dir / "scene.qlk").string());
        MainWindow window(&dialogs);
        Click(window, "Command1");
        Click(window, "Command9");
        Click(window, "Option1(3)");
        SetText(window, "Text2(1)", QStringLiteral("1"));

        Click(window, "Command7");
        QCOMPARE(dialogs.Messages, std::vector<std::string>{});
        QCOMPARE(Caption(window, "Text2(0)"), QStringLiteral("2"));
        QCOMPARE(window.State().OutputChosen, false);
        const auto image = TempDir::Read(dir / "scene.qlk");
        QCOMPARE(image.size(), std::size_t{2 * 2048});
        QCOMPARE(HeaderOf(image), (qiv::DimensionHeader{2, 2048}));
        QCOMPARE(int{image[3000]}, 43);  // band 4
    }

    void lineCutFromTheButton() {
        TempDir dir;
        const auto input = dir.Write("pass.hrp", Pass(5));
        ScriptedDialogs dialogs;
        dialogs.File(input.string()).File((dir / "cut.hrp").string());
        dialogs.Answer("2").Answer("3");
        MainWindow window(&dialogs);
        const int filesBefore = qiv::testing::OpenFiles();
        Click(window, "Command1");
        Click(window, "Command9");
        // The user sees the line count while typing Start and End.
        QStringList rowsAtPrompts;
        dialogs.OnDialog = [&] { rowsAtPrompts << Caption(window, "Text1(12)"); };

        Click(window, "Command8");
        QCOMPARE(dialogs.Messages, std::vector<std::string>{});
        QCOMPARE(dialogs.PromptCalls.size(), std::size_t{2});
        QCOMPARE(rowsAtPrompts, (QStringList{QStringLiteral("5"), QStringLiteral("5")}));
        // The boxes show the header as read; the new one is only in the file.
        QCOMPARE(Caption(window, "Text1(12)"), QStringLiteral("5"));
        QCOMPARE(Caption(window, "Text1(1)"), QStringLiteral("11"));
        QCOMPARE(window.State().OutputChosen, true);
        QCOMPARE(qiv::testing::OpenFiles(), filesBefore);
        const auto cut = TempDir::Read(dir / "cut.hrp");
        QCOMPARE(static_cast<std::int64_t>(cut.size()), 2 * kLineBytes);
        const auto header = qiv::swathly::DecodeLineHeader(
            std::span<const std::uint8_t, qiv::swathly::kLineHeaderBytes>(cut.data(), 33));
        QCOMPARE(header.SatId, std::int16_t{11});  // the pass header, over line 2
        QCOMPARE(int{header.RowsLow}, 2);
        QCOMPARE(header.Secs, std::int16_t{30});
        QCOMPARE(int{cut[1500 + 2]}, 200 % 256);
    }

    // A command refused before it reads a header leaves every box as it was, the ones the user
    // may have typed into included.
    void refusalsBeforeTheHeaderReadLeaveTheBoxes() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        SetText(window, "Text1(0)", QStringLiteral("typed"));
        SetText(window, "Text1(12)", QStringLiteral("77"));
        Click(window, "Command6");
        Click(window, "Command8");
        QCOMPARE(dialogs.Messages,
                 std::vector<std::string>(2, std::string(qiv::swathly::kEnterFilesFirst)));
        QCOMPARE(Caption(window, "Text1(0)"), QStringLiteral("typed"));
        QCOMPARE(Caption(window, "Text1(12)"), QStringLiteral("77"));
    }

    void helpShowsOneWindowAndReturnHidesIt() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        window.show();
        QCOMPARE(Form2(), nullptr);

        Click(window, "Command10");
        Click(window, "Command10");
        QWidget* form2 = Form2();
        QVERIFY(form2 != nullptr);
        QVERIFY(form2->isVisible());
        QVERIFY(window.isVisible());
        QCOMPARE(form2->windowTitle(), QStringLiteral("Help"));
        auto* back = form2->findChild<QPushButton*>(QStringLiteral("Command1"));
        QVERIFY(back != nullptr);
        QCOMPARE(back->text(), QStringLiteral("Return"));
        const auto* text = form2->findChild<qiv::PictureArea*>(QStringLiteral("Picture1"));
        QVERIFY(text != nullptr);
        QCOMPARE(text->PixelAt(text->Width() - 1, text->Height() - 1),
                 qiv::MakeColour(255, 255, 192));

        back->click();
        QVERIFY(!form2->isVisible());
        Click(window, "Command10");
        QCOMPARE(Form2(), form2);
        QVERIFY(form2->isVisible());
    }
};

QTEST_MAIN(ProductsWindowTest)
#include "products_window_test.moc"
