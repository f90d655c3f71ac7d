#include <gtest/gtest.h>

#include <vector>

#include "common/testing/memory_canvas.h"
#include "common/core/wait_notice.h"

namespace qiv {
namespace {

constexpr Colour kRed = MakeColour(250, 0, 0);

TEST(CanvasTest, RunsAreClippedInBothDirections) {
    MemoryCanvas canvas(4, 2, kBlack);
    const std::vector<Colour> run{MakeColour(1, 0, 0), MakeColour(2, 0, 0), MakeColour(3, 0, 0)};
    canvas.SetPixelRun(2, 0, +1, run);  // 1 and 2 land at x = 2, 3; 3 falls off the right
    canvas.SetPixelRun(1, 1, -1, run);  // 1 at x = 1, 2 at x = 0; 3 falls off the left
    canvas.SetPixelRun(0, 5, +1, run);  // below the area: nothing
    EXPECT_EQ(canvas.At(1, 0), kBlack);
    EXPECT_EQ(canvas.At(2, 0), run[0]);
    EXPECT_EQ(canvas.At(3, 0), run[1]);
    EXPECT_EQ(canvas.At(1, 1), run[0]);
    EXPECT_EQ(canvas.At(0, 1), run[1]);
    EXPECT_EQ(canvas.At(2, 1), kBlack);
}

TEST(CanvasTest, LinesDrawBothEndsAndMoveThePrintPosition) {
    MemoryCanvas canvas(20, 20, kBlack);
    canvas.Line(3, 15, 3, 10, kRed);
    for (int y = 10; y <= 15; ++y) {
        EXPECT_EQ(canvas.At(3, y), kRed) << y;
    }
    EXPECT_EQ(canvas.At(3, 9), kBlack);
    EXPECT_EQ(canvas.PrintX(), 3);
    EXPECT_EQ(canvas.PrintY(), 10);
    canvas.Line(0, 0, 4, 2, kRed);  // a slanted line
    EXPECT_EQ(canvas.At(0, 0), kRed);
    EXPECT_EQ(canvas.At(4, 2), kRed);
    canvas.Line(5, -2000000000, 5, 2000000000, kRed);  // far ends are clipped, not walked
    EXPECT_EQ(canvas.At(5, 19), kRed);
}

TEST(CanvasTest, PrintLineStartsAtThePrintPositionAndMovesDown) {
    MemoryCanvas canvas(300, 300);
    canvas.Line(10, 250, 10, 260, kRed);
    canvas.PrintLine("0");
    canvas.Point(280, 10);
    canvas.PrintLine("title");
    const std::vector<MemoryCanvas::PrintedText> expected{{10, 260, "0"}, {280, 10, "title"}};
    EXPECT_EQ(canvas.Texts(), expected);
    canvas.Clear();
    EXPECT_TRUE(canvas.Texts().empty());
    EXPECT_EQ(canvas.At(10, 255), canvas.Background());
}

TEST(WaitNoticeTest, PrintsForItsScopeAndClearsAtItsEnd) {
    MemoryCanvas area(81, 25);
    {
        const WaitNotice outer(area, "Αναμονή !!!");
        EXPECT_EQ(area.Clears(), 0);
        {
            // No clear first: a second notice prints a second line below the first.
            const WaitNotice inner(area, "Αναμονή !!!");
            ASSERT_EQ(area.Texts().size(), 2u);
            EXPECT_EQ(area.Texts()[0], (MemoryCanvas::PrintedText{0, 0, "Αναμονή !!!"}));
            EXPECT_EQ(area.Texts()[1].Y, MemoryCanvas::kLineHeight);
            EXPECT_GE(area.Flushes(), 2);
        }
        EXPECT_TRUE(area.Texts().empty());
    }
    EXPECT_TRUE(area.Texts().empty());
    EXPECT_EQ(area.Clears(), 2);
}

}  // namespace
}  // namespace qiv
