// The display window driven through Form1's menus and buttons, with scripted dialogs; what is
// drawn is read back from the pixels of the real Picture1.
#include <QAction>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>

#include <cstdint>
#include <vector>

#include "raster_viewer/core/display_view.h"
#include "raster_viewer/ui/display_window.h"
#include "raster_viewer/ui/main_window.h"
#include "common/ui/picture_area.h"
#include "raster_viewer/core/picture_file.h"
#include "raster_viewer/core/rastel_texts.h"
#include "common/testing/full_disk.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "common/ui/text.h"
#include "common/ui/twips.h"
#include "common/testing/window_controls.h"

using qiv::Colour;
using qiv::MakeColour;
using qiv::rastel::DisplayWindow;
using qiv::rastel::MainWindow;
using qiv::testing::Click;
using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;
using qiv::testing::Trigger;

namespace {

// Two rows of three pixels. The pass makes the equalised levels 10 -> 42, 100 -> 128,
// 200 -> 255 and the default stretch 100 -> 121.
const std::vector<std::uint8_t> kImage{10, 100, 100, 200, 200, 200};

Colour Grey(int level) {
    return MakeColour(level, level, level);
}

}  // namespace

class DisplayWindowTest : public QObject {
    Q_OBJECT

    // Form1 with the test image opened, its dimensions typed and (when asked) Start pressed.
    struct Session {
        TempDir dir;
        ScriptedDialogs dialogs;
        MainWindow window{&dialogs};
        QString path;

        explicit Session(bool start = true) {
            path = qiv::ToQString(dir.Write("image.raw", kImage).string());
            dialogs.File(qiv::ToStdString(path)).Answer("2").Answer("3");
            qiv::testing::Trigger(window, "Fl1");
            Click(window, "Command2");
            if (start) {
                Click(window, "Command1");
            }
        }
        void Trigger(const char* action) { qiv::testing::Trigger(window, action); }
        DisplayWindow& Form3() { return window.Form3(); }
        Colour PixelAt(int x, int y) {
            auto* picture = Form3().findChild<qiv::PictureArea*>(QStringLiteral("Picture1"));
            return picture != nullptr ? picture->PixelAt(x, y) : 0;
        }
        QString Caption(const char* label) { return qiv::testing::Caption(window, label); }
        qiv::PictureArea& Picture1() {
            return qiv::testing::Find<qiv::PictureArea>(Form3(), "Picture1");
        }
        // The pointer comes to rest at (x, y) of Picture1.
        void RestAt(int x, int y) {
            QHelpEvent event(QEvent::ToolTip, QPoint(x, y), Picture1().mapToGlobal(QPoint(x, y)));
            QCoreApplication::sendEvent(&Picture1(), &event);
        }
        // A tooltip goes after a short delay.
        static bool TipGoes() {
            return QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000);
        }
    };

private slots:
    void paintingLandsInPicture1_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("upsideDown");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<Colour>("expected");

        QTest::newRow("Px1 upright puts the first byte at 1,1")
            << "Option1" << false << "Px1" << 1 << 1 << Grey(10);
        QTest::newRow("Px1 upright puts the last byte at 3,2")
            << "Option1" << false << "Px1" << 3 << 2 << Grey(200);
        QTest::newRow("Px1 upright leaves 0,0 as it was")
            << "Option1" << false << "Px1" << 0 << 0 << qiv::kWhite;
        QTest::newRow("Px1 upside down puts the first byte at 2,1")
            << "Option1" << true << "Px1" << 2 << 1 << Grey(10);
        QTest::newRow("Px1 upside down puts the last byte at 0,0")
            << "Option1" << true << "Px1" << 0 << 0 << Grey(200);
        QTest::newRow("Px2 paints the equalised level")
            << "Option1" << false << "Px2" << 2 << 1 << Grey(128);
        QTest::newRow("Px2 in continuous slicing")
            << "Option2" << false << "Px2" << 2 << 1 << MakeColour(29, 29, 0);
        QTest::newRow("Px3 paints the stretched level")
            << "Option1" << false << "Px3" << 2 << 1 << Grey(121);
    }

    void paintingLandsInPicture1() {
        QFETCH(QString, option);
        QFETCH(bool, upsideDown);
        QFETCH(QString, menu);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(Colour, expected);

        Session session;
        session.window.findChild<QRadioButton*>(option)->click();
        if (upsideDown) {
            Click(session.window, "Command3");
        }
        session.Trigger(menu.toLatin1().constData());

        QCOMPARE(session.PixelAt(x, y), expected);
        QVERIFY(session.Form3().isVisible());
        QCOMPARE(session.Form3().pos(), QPoint(0, 0));  // 1 twip from the corner
        const qiv::rastel::ViewerState& state = session.window.State();
        QCOMPARE(session.Form3().size(), QSize(qiv::TwipsToPixels(state.ScreenWidth),
                                               qiv::TwipsToPixels(state.ScreenHeight)));
        QVERIFY(session.dialogs.Messages.empty());
    }

    void menusRefuseBeforeStart_data() {
        QTest::addColumn<QString>("menu");
        for (const char* menu : {"Hs1", "Hs2", "Hs3", "Px1", "Px2", "Px3"}) {
            QTest::newRow(menu) << QString::fromLatin1(menu);
        }
    }

    void menusRefuseBeforeStart() {
        QFETCH(QString, menu);
        Session session(false);
        session.Trigger(menu.toLatin1().constData());
        QCOMPARE(session.dialogs.Messages,
                 std::vector<std::string>{std::string(qiv::rastel::kPressStartFirst)});
        QVERIFY(!session.Form3().isVisible());
        QCOMPARE(session.PixelAt(1, 1), qiv::kWhite);
    }

    void plotsFollowTheNodesTyped() {
        Session session;
        constexpr Colour kBar = MakeColour(0, 0, 255);
        session.Trigger("Hs1");
        QCOMPARE(session.PixelAt(210, 50), kBar);  // level 200, the peak
        QCOMPARE(session.PixelAt(20, 183), kBar);  // level 10, a third of it
        QVERIFY(session.PixelAt(20, 182) != kBar);
        QVERIFY(session.Form3().isVisible());

        // One node (100, 200): 10 -> 20, 100 -> 200, 200 -> 235.
        session.dialogs.Answer("1").Answer("100").Answer("200");
        session.Trigger("Td1");
        session.Trigger("Hs3");
        QCOMPARE(session.PixelAt(245, 50), kBar);
        QCOMPARE(session.PixelAt(210, 117), kBar);
        QCOMPARE(session.PixelAt(30, 184), kBar);
        QVERIFY(session.PixelAt(210, 50) != kBar);  // the normal plot has been cleared
        QVERIFY(session.dialogs.Exhausted());
    }

    void plotsLeaveTheWindowWhereItIsPaintingMovesIt() {
        Session session;
        session.Trigger("Hs2");
        session.Form3().move(40, 30);
        session.Trigger("Hs1");
        QCOMPARE(session.Form3().pos(), QPoint(40, 30));
        session.Trigger("Px1");
        QCOMPARE(session.Form3().pos(), QPoint(0, 0));
    }

    void returnAndFrameCloseOnlyHideForm3() {
        Session session;
        session.Trigger("Px1");
        session.window.findChild<QLabel*>(QStringLiteral("Label1"))->setText(QStringLiteral("x"));
        Click(session.Form3(), "Command1");
        QVERIFY(!session.Form3().isVisible());
        QCOMPARE(session.Caption("Label1"), session.path);

        session.Trigger("Hs1");
        QVERIFY(session.Form3().isVisible());
        QPointer<DisplayWindow> form3(&session.Form3());
        session.window.findChild<QLabel*>(QStringLiteral("Label1"))->setText(QStringLiteral("x"));
        QVERIFY(form3->close());
        QVERIFY(!form3.isNull());
        QVERIFY(!form3->isVisible());
        QCOMPARE(session.Caption("Label1"), session.path);
        QCOMPARE(session.PixelAt(210, 50), MakeColour(0, 0, 255));  // the plot is kept

        session.Trigger("Fl2");
        session.Trigger("Hs1");  // the tables are gone: refused, Form3 stays hidden
        Click(session.Form3(), "Command1");
        QCOMPARE(session.Caption("Label1"), QString());
    }

    void savingWritesWhatPicture1Shows_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<bool>("byKeys");
        QTest::addColumn<QString>("suggested");
        QTest::newRow("a painting through the context menu entry") << "Px2" << false << "image.png";
        QTest::newRow("a plot through Ctrl+S") << "Hs1" << true << "image-histogram.png";
    }

    void savingWritesWhatPicture1Shows() {
        QFETCH(QString, menu);
        QFETCH(bool, byKeys);
        QFETCH(QString, suggested);
        Session session;
        session.Trigger(menu.toLatin1().constData());
        const QString saved = qiv::ToQString((session.dir / "saved.png").string());
        session.dialogs.File(qiv::ToStdString(saved));

        QAction& save = qiv::testing::Find<QAction>(session.Form3(), "SavePicture");
        QCOMPARE(save.text(), QStringLiteral("Αποθήκευση εικόνας..."));
        QVERIFY(session.Picture1().actions().contains(&save));
        QCOMPARE(session.Picture1().contextMenuPolicy(), Qt::ActionsContextMenu);
        if (byKeys) {
            session.Form3().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&session.Form3()));
            QTest::keyClick(&session.Form3(), Qt::Key_S, Qt::ControlModifier);
        } else {
            save.trigger();
        }

        QCOMPARE(session.dialogs.Suggested,
                 std::vector<std::string>{(session.dir / suggested.toStdString()).string()});
        const QImage written(saved);
        QCOMPARE(written.size(), session.Picture1().Image().size());
        QCOMPARE(written.convertToFormat(QImage::Format_RGB32), session.Picture1().Image());
        QVERIFY(session.dialogs.Messages.empty());
    }

    // The disk fills up half-way through the PNG: the picture of that name from before stays as
    // it was, no temporary file is left beside it, and the message names the picture.
    void aFullDiskLeavesTheOlderPicture() {
        Session session;
        session.Trigger("Px1");
        const std::string saved = (session.dir / "saved.png").string();
        QAction& save = qiv::testing::Find<QAction>(session.Form3(), "SavePicture");
        session.dialogs.File(saved);
        save.trigger();
        QVERIFY(session.dialogs.Messages.empty());
        const std::vector<std::uint8_t> older = TempDir::Read(saved);
        const std::vector<std::string> names = qiv::testing::NamesIn(session.dir.Path());

        session.Trigger("Px2");
        session.dialogs.File(saved);
        {
            const qiv::testing::FullDisk disk(static_cast<std::int64_t>(older.size() / 2));
            save.trigger();
        }
        QCOMPARE(session.dialogs.Messages.size(), std::size_t{1});
        QVERIFY(session.dialogs.Messages[0].find(saved) != std::string::npos);
        QVERIFY(TempDir::Read(saved) == older);
        QCOMPARE(qiv::testing::NamesIn(session.dir.Path()), names);
    }

    void tooltipTellsWhatAPaintedPixelHolds() {
        Session session;
        session.RestAt(2, 1);  // nothing painted yet
        QVERIFY(!QToolTip::isVisible());
        session.Trigger("Px2");
        session.RestAt(2, 1);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(),
                 QStringLiteral("Γραμμή 0, Στήλη 1\nΤιμή στο αρχείο: 100\nΤιμή στην εικόνα: 128"));
        session.RestAt(0, 0);  // the margin of an upright painting
        QVERIFY(Session::TipGoes());
        session.RestAt(2, 1);
        QVERIFY(QToolTip::isVisible());
        session.Trigger("Hs1");  // the plot wipes the painting
        session.RestAt(2, 1);
        QVERIFY(Session::TipGoes());
    }

    void command3TogglesWithoutRepainting() {
        Session session;
        session.Trigger("Px1");
        Click(session.window, "Command3");
        QCOMPARE(session.Caption("Label3"), QStringLiteral("Άνω κάτω"));
        QCOMPARE(session.window.State().Orientation, qiv::rastel::ImageOrientation::UpsideDown);
        QCOMPARE(session.PixelAt(1, 1), Grey(10));
        Click(session.window, "Command3");
        QCOMPARE(session.Caption("Label3"), QStringLiteral("Όρθια"));
        QCOMPARE(session.window.State().Orientation, qiv::rastel::ImageOrientation::Upright);
    }
};

QTEST_MAIN(DisplayWindowTest)
#include "display_window_test.moc"
