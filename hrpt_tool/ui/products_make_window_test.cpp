// "Output (Hrp) --> Cal, Sst, Ndv" on Form1, run from its click with scripted dialogs: where the
// button lies, the whole flow from the input to the summary, and its refusals.
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "common/testing/window_controls.h"
#include "common/ui/picture_area.h"
#include "hrpt_tool/core/products.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "hrpt_tool/testing/pass_fixture.h"
#include "hrpt_tool/ui/main_window.h"

using qiv::swathly::MainWindow;
using qiv::testing::Caption;
using qiv::testing::Click;
using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;

namespace {

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

class ProductsMakeWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The new button takes free space of Frame1: inside it, over no other control.
    void buttonLiesInTheFreeSpaceOfTheFrame() {
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        QCOMPARE(Caption(window, "Command11"), QStringLiteral("Output (Hrp) --> Cal, Sst, Ndv"));
        auto* frame = window.findChild<QGroupBox*>(QStringLiteral("Frame1"));
        auto* button = window.findChild<QPushButton*>(QStringLiteral("Command11"));
        QVERIFY(frame != nullptr && button != nullptr);
        QCOMPARE(button->parentWidget(), static_cast<QWidget*>(frame));
        QVERIFY(QRect(QPoint(0, 0), frame->size()).contains(button->geometry()));
        for (QWidget* other : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other != button && other->isVisibleTo(&window)) {
                QVERIFY2(!other->geometry().intersects(button->geometry()),
                         qPrintable(other->objectName()));
            }
        }
    }

    void productsOfThePassWithOneNameAndASummary() {
        TempDir dir;
        qiv::testing::PassPlan plan;
        plan.Lines = 30;
        const auto input = qiv::testing::WritePass(dir / "pass.hrp", plan);
        ScriptedDialogs dialogs;
        dialogs.File(input.string()).File((dir / "day1.cal").string());
        MainWindow window(&dialogs);
        Click(window, "Command1");
        Click(window, "Command11");

        QCOMPARE(dialogs.Suggested, std::vector<std::string>{(dir / "pass.cal").string()});
        QCOMPARE(dialogs.Messages.size(), std::size_t{1});
        QVERIFY(dialogs.Messages[0].find("Satellite: NOAA-14") != std::string::npos);
        QVERIFY(dialogs.Messages[0].find("Lines: 30") != std::string::npos);
        for (const char* name : {"day1.cal", "day1.sst", "day1.ndv"}) {
            QVERIFY2(std::filesystem::exists(dir / name), name);
        }
        QCOMPARE(std::filesystem::file_size(dir / "day1.cal"), std::uintmax_t{31 * 20480});
        QVERIFY(Blank(*window.findChild<qiv::PictureArea*>(QStringLiteral("Picture1"))));
        // The input stays the input: a second run writes the products again.
        dialogs.File((dir / "day2").string());
        Click(window, "Command11");
        QVERIFY(std::filesystem::exists(dir / "day2.ndv"));
    }

    void refusedWithoutAnInputOrWithAProduct() {
        TempDir dir;
        ScriptedDialogs none;
        MainWindow empty(&none);
        Click(empty, "Command11");
        QCOMPARE(none.Messages,
                 std::vector<std::string>{std::string(qiv::swathly::kEnterFileNameFirst)});
        QVERIFY(none.Suggested.empty());

        qiv::testing::PassPlan plan;
        plan.Lines = 3;
        const auto pass = qiv::testing::WritePass(dir / "pass.hrp", plan);
        qiv::swathly::ProductSummary summary;
        QVERIFY(qiv::swathly::MakeProducts(pass.string(),
                                           qiv::swathly::ProductPathsOf((dir / "p").string()),
                                           std::nullopt, summary)
                    .Done());
        ScriptedDialogs dialogs;
        dialogs.File((dir / "p.sst").string());
        MainWindow window(&dialogs);
        Click(window, "Command1");
        Click(window, "Command11");
        QVERIFY(dialogs.Suggested.empty());
        QCOMPARE(dialogs.Messages.size(), std::size_t{1});
        QVERIFY(dialogs.Messages[0].find("is a CAL, SST or NDV product") != std::string::npos);
    }
};

QTEST_MAIN(ProductsMakeWindowTest)
#include "products_make_window_test.moc"
