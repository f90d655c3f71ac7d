#include <QApplication>
#include <QTest>

#include <vector>

#include "common/ui/picture_area.h"

using qiv::Colour;
using qiv::MakeColour;
using qiv::PictureArea;

class PictureAreaTest : public QObject {
    Q_OBJECT

private slots:
    void drawingLandsInTheBackingImage() {
        PictureArea area(nullptr, qiv::kBlack);
        area.SetAreaSize(QSize(40, 30));
        area.SetPixel(1, 1, MakeColour(100, 100, 100));
        const std::vector<Colour> run{MakeColour(0, 0, 252), MakeColour(252, 0, 0)};
        area.SetPixelRun(39, 29, -1, run);
        area.Line(10, 25, 10, 5, MakeColour(0, 0, 255));
        QCOMPARE(area.PixelAt(1, 1), MakeColour(100, 100, 100));
        QCOMPARE(area.PixelAt(39, 29), run[0]);
        QCOMPARE(area.PixelAt(38, 29), run[1]);
        QCOMPARE(area.PixelAt(10, 5), MakeColour(0, 0, 255));
        QCOMPARE(area.PixelAt(0, 0), qiv::kBlack);
    }

    void paintingSurvivesHidingAndShowing() {
        PictureArea area(nullptr, qiv::kWhite);
        area.SetAreaSize(QSize(20, 20));
        area.show();
        area.SetPixel(5, 5, MakeColour(1, 2, 3));
        area.hide();
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        const QImage shown = area.grab().toImage();
        QCOMPARE(shown.pixel(5, 5), MakeColour(1, 2, 3));
    }

    void printLineWritesTextAndClearWipesIt() {
        PictureArea area(nullptr, qiv::kWhite);
        area.SetAreaSize(QSize(120, 40));
        area.PrintLine("Αναμονή !!!");
        bool inked = false;
        for (int y = 0; y < 40 && !inked; ++y) {
            for (int x = 0; x < 120 && !inked; ++x) {
                inked = area.PixelAt(x, y) != qiv::kWhite;
            }
        }
        QVERIFY(inked);
        area.Clear();
        QCOMPARE(area.Image().pixel(5, 8), qiv::kWhite);
    }
};

QTEST_MAIN(PictureAreaTest)
#include "picture_area_test.moc"
