// The plot of qivtool is the plot of the display window: drawn by the same routine in the same
// font, read back from the PNG and compared with Picture1 of Form3.
#include <QImage>
#include <QTest>

#include <sstream>
#include <string>
#include <vector>

#include "raster_viewer/ui/display_window.h"
#include "raster_viewer/ui/main_window.h"
#include "common/ui/picture_area.h"
#include "tools/qivtool/plot_drawing.h"
#include "common/testing/full_disk.h"
#include "common/testing/png_picture.h"
#include "tools/qivtool/raster_commands.h"
#include "tools/samples/raster_samples.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "common/ui/text.h"
#include "common/testing/window_controls.h"

using qiv::qivtool::Console;
using qiv::qivtool::NodeText;
using qiv::qivtool::PlotOptions;
using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;

class PlotCommandTest : public QObject {
    Q_OBJECT

private slots:
    void thePngIsWhatPicture1Shows_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("node");
        QTest::newRow("normal") << "Hs1" << 1 << false;
        QTest::newRow("equalised") << "Hs2" << 2 << false;
        QTest::newRow("stretched by a node") << "Hs3" << 3 << true;
    }

    void thePngIsWhatPicture1Shows() {
        QFETCH(QString, menu);
        QFETCH(int, kind);
        QFETCH(bool, node);
        TempDir dir;
        const std::string image =
            dir.Write("scene.raw", qiv::samples::SyntheticScene(60, 80, 3)).string();

        ScriptedDialogs dialogs;
        qiv::rastel::MainWindow window(&dialogs);
        dialogs.File(image).Answer("60").Answer("80");
        qiv::testing::Trigger(window, "Fl1");
        qiv::testing::Click(window, "Command2");
        qiv::testing::Click(window, "Command1");
        if (node) {
            dialogs.Answer("1").Answer("100").Answer("30");
            qiv::testing::Trigger(window, "Td1");
        }
        qiv::testing::Trigger(window, menu.toLatin1().constData());
        const QImage& shown =
            qiv::testing::Find<qiv::PictureArea>(window.Form3(), "Picture1").Image();

        PlotOptions options;
        options.Image = {image, std::pair(60, 80)};
        options.Kind = static_cast<qiv::rastel::LevelMapping>(kind);
        if (node) {
            options.Nodes = {NodeText{"100", "30"}};
        }
        options.Output = (dir / "plot.png").string();
        std::ostringstream out;
        std::ostringstream err;
        Console console("qivtool plot", out, err, false);
        QCOMPARE(qiv::qivtool::RunPlot(options, console, qiv::qivtool::DrawPlotPng),
                 qiv::qivtool::kDone);
        QCOMPARE(err.str(), std::string());

        const auto png = qiv::testing::ReadPng(options.Output);
        QVERIFY(png.has_value());
        QVERIFY(png->Width > 300 && png->Height > 260);  // the title and the tick labels fit
        QVERIFY(png->Width <= shown.width() && png->Height <= shown.height());
        for (int y = 0; y < png->Height; ++y) {
            for (int x = 0; x < png->Width; ++x) {
                if (png->At(x, y) != shown.pixel(x, y)) {
                    QFAIL(qPrintable(QStringLiteral("differs at %1,%2").arg(x).arg(y)));
                }
            }
        }
    }

    // The disk fills up half-way through the PNG: the plot of that name from before stays as
    // it was, and no temporary file is left beside it.
    void aFullDiskLeavesTheOlderPlot() {
        TempDir dir;
        const std::string image =
            dir.Write("scene.raw", qiv::samples::SyntheticScene(60, 80, 3)).string();
        PlotOptions options;
        options.Image = {image, std::pair(60, 80)};
        options.Output = (dir / "plot.png").string();
        std::ostringstream out;
        std::ostringstream err;
        Console console("qivtool plot", out, err, false);
        QCOMPARE(qiv::qivtool::RunPlot(options, console, qiv::qivtool::DrawPlotPng),
                 qiv::qivtool::kDone);
        const std::vector<std::uint8_t> older = TempDir::Read(options.Output);
        const std::vector<std::string> names = qiv::testing::NamesIn(dir.Path());

        options.Kind = qiv::rastel::LevelMapping::Equalised;
        int status = -1;
        {
            const qiv::testing::FullDisk disk(static_cast<std::int64_t>(older.size() / 2));
            status = qiv::qivtool::RunPlot(options, console, qiv::qivtool::DrawPlotPng);
        }
        QCOMPARE(status, qiv::qivtool::kRefused);
        QVERIFY2(err.str().find(options.Output) != std::string::npos, err.str().c_str());
        QVERIFY(TempDir::Read(options.Output) == older);
        QCOMPARE(qiv::testing::NamesIn(dir.Path()), names);
    }
};

QTEST_MAIN(PlotCommandTest)
#include "plot_command_test.moc"
