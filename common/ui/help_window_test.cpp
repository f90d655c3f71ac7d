#include <QApplication>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <string>
#include <vector>

#include "common/ui/help_window.h"
#include "common/ui/picture_area.h"
#include "common/ui/twips.h"

using qiv::HelpPanel;
using qiv::HelpWindow;
using qiv::HelpWindowLayout;

namespace {

constexpr HelpWindowLayout kLayout{
    .Caption = "Help",
    .ReturnCaption = "Return",
    .Background = qiv::MakeColour(255, 255, 192),
    .ClientWidth = 8085,
    .ClientHeight = 8820,
    .ButtonLeft = 6840,
    .ButtonTop = 8280,
    .ButtonWidth = 1095,
    .ButtonHeight = 375,
};

const std::vector<std::string_view> kShort{"first", " ", "third line"};

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void isTheWindowOfTheLayout() {
        std::unique_ptr<HelpWindow> form2;
        HelpWindow& window = HelpPanel(form2, kLayout, kShort);
        QCOMPARE(window.objectName(), QStringLiteral("Form2"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Help"));
        QVERIFY(window.isWindow());
        QVERIFY(window.isVisible());
        QCOMPARE(window.size(), QSize(qiv::TwipsToPixels(8085), qiv::TwipsToPixels(8820)));
        QCOMPARE(window.ReturnButton().objectName(), QStringLiteral("Command1"));
        QCOMPARE(window.ReturnButton().text(), QStringLiteral("Return"));
        QCOMPARE(window.ReturnButton().geometry(), qiv::TwipsRect(6840, 8280, 1095, 375));
        QCOMPARE(window.TextArea().PixelAt(window.TextArea().Width() - 1,
                                           window.TextArea().Height() - 1),
                 kLayout.Background);
    }

    // Asking again clears first: what is left is exactly what one print of the new text gives.
    void askingAgainReusesTheWindowAndPrintsAfresh() {
        std::unique_ptr<HelpWindow> form2;
        const std::vector<std::string_view> other{"another text", "of two lines"};
        HelpWindow& first = HelpPanel(form2, kLayout, kShort);
        HelpWindow& second = HelpPanel(form2, kLayout, other);
        QCOMPARE(&second, &first);

        std::unique_ptr<HelpWindow> fresh;
        HelpPanel(fresh, kLayout, other);
        QCOMPARE(second.TextArea().Image(), fresh->TextArea().Image());
    }

    void returnHidesAndKeepsTheText() {
        std::unique_ptr<HelpWindow> form2;
        HelpWindow& window = HelpPanel(form2, kLayout, kShort);
        const QImage printed = window.TextArea().Image();
        QTest::mouseClick(&window.ReturnButton(), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.TextArea().Image(), printed);
        HelpPanel(form2, kLayout, kShort);
        QVERIFY(window.isVisible());
        QCOMPARE(window.TextArea().Image(), printed);
    }

    // Text larger than the window is printed whole and reached by scrolling.
    void textLargerThanTheWindowCanBeScrolledTo() {
        std::unique_ptr<HelpWindow> form2;
        const std::string wide(400, 'W');
        std::vector<std::string_view> lines(120, "line");
        lines.back() = wide;
        HelpWindow& window = HelpPanel(form2, kLayout, lines);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QFontMetrics metrics(window.TextArea().font());
        QVERIFY(window.TextArea().Width() >=
                metrics.horizontalAdvance(QString::fromStdString(wide)));
        QCOMPARE(window.TextArea().Height(), 120 * metrics.height());
        QVERIFY(window.TextScroller().horizontalScrollBar()->maximum() > 0);
        QVERIFY(window.TextScroller().verticalScrollBar()->maximum() > 0);
        QVERIFY(window.TextScroller().geometry().bottom() < window.ReturnButton().geometry().top());
    }

    void buttonFollowsTheCornerWhenResized() {
        std::unique_ptr<HelpWindow> form2;
        HelpWindow& window = HelpPanel(form2, kLayout, kShort);
        const QPoint before = window.ReturnButton().pos();
        window.resize(window.width() + 50, window.height() + 30);
        QCOMPARE(window.ReturnButton().pos(), before + QPoint(50, 30));
    }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
