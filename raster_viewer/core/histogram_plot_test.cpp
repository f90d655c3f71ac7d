#include "raster_viewer/core/histogram_plot.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "common/testing/param_name.h"
#include "common/testing/scripted_dialogs.h"
#include "raster_viewer/core/rastel_texts.h"
#include "raster_viewer/testing/fake_display_view.h"

namespace qiv::rastel {
namespace {

using qiv::testing::ScriptedDialogs;
using testing::FakeDisplayView;

constexpr Colour kAxis = MakeColour(250, 0, 0);
constexpr Colour kBar = MakeColour(0, 0, 255);

ViewerState TablesBuilt() {
    ViewerState state;
    state.TablesReady = true;
    state.ScreenHeight = 11520;
    state.ScreenWidth = 15360;
    for (int v = 0; v < 256; ++v) {
        state.Levels.Equalised[v] = v;
        state.Levels.Stretched[v] = v;
    }
    return state;
}

// The top of the bar drawn at level v, or 250 when none is drawn (the axis shows there).
int BarTop(const MemoryCanvas& picture, int v) {
    const int x = v + 10;
    int y = 250;
    while (y > 0 && picture.At(x, y - 1) == kBar) {
        --y;
    }
    return y;
}

struct PlotCase {
    const char* desc;
    LevelMapping kind;
    std::vector<std::pair<int, std::int32_t>> counts;   // column 1
    std::vector<std::pair<int, std::int32_t>> mapping;  // column of the kind (2 or 3)
    std::vector<std::pair<int, int>> barTops;           // (level, top of its bar)
    std::vector<std::pair<int, std::int32_t>> column4;  // (level, plotted count)
};
void PrintTo(const PlotCase& row, std::ostream* out) {
    *out << row.desc;
}

class PlotTest : public ::testing::TestWithParam<PlotCase> {};

TEST_P(PlotTest, BarsStandOnTheAxisScaledToTheTallest) {
    const PlotCase& row = GetParam();
    ViewerState state = TablesBuilt();
    for (const auto& [v, count] : row.counts) {
        state.Levels.Count[v] = count;
    }
    for (const auto& [v, level] : row.mapping) {
        (row.kind == LevelMapping::Equalised ? state.Levels.Equalised : state.Levels.Stretched)[v] =
            level;
    }
    FakeDisplayView display(400, 300);

    PlotHistogram(state, row.kind, display);

    for (const auto& [v, top] : row.barTops) {
        EXPECT_EQ(BarTop(display.Picture1, v), top) << "level " << v;
    }
    for (const auto& [v, count] : row.column4) {
        EXPECT_EQ(state.Levels.Plotted[v], count) << "level " << v;
    }
}

// clang-format off
const PlotCase kPlotCases[] = {
    {"one grey level gives one bar 200 high", LevelMapping::Normal, {{77, 5000}}, {},
     {{77, 50}, {76, 250}, {78, 250}, {0, 250}}, {{77, 5000}, {76, 0}}},
    {"two levels equalised to one add up there", LevelMapping::Equalised, {{10, 100}, {20, 300}},
     {{10, 30}, {20, 30}}, {{30, 50}, {10, 250}, {20, 250}}, {{30, 400}, {10, 0}, {20, 0}}},
    {"bars are scaled in single precision and rounded", LevelMapping::Normal,
     {{0, 1000}, {1, 333}, {2, 2}, {3, 3}}, {}, {{0, 50}, {1, 183}, {2, 250}, {3, 249}}, {}},
    {"the end levels stand at x 10 and 265", LevelMapping::Normal, {{0, 40}, {255, 20}}, {},
     {{0, 50}, {255, 150}}, {}},
    {"the stretched plot is scaled to its own peak", LevelMapping::Stretched,
     {{100, 10}, {101, 10}, {200, 5}}, {{100, 180}, {101, 180}, {200, 181}},
     {{180, 50}, {181, 200}}, {{180, 20}, {181, 5}}},
    {"stretched levels outside 0..255 count at the nearest end", LevelMapping::Stretched,
     {{4, 7}, {5, 3}, {250, 6}}, {{4, -9}, {5, 0}, {250, 300}}, {{0, 50}, {255, 130}},
     {{0, 10}, {255, 6}}},
    {"no pixel counted draws no bar", LevelMapping::Equalised, {}, {}, {{0, 250}, {128, 250}},
     {{0, 0}}},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Plots, PlotTest, ::testing::ValuesIn(kPlotCases),
                         qiv::testing::DescName<PlotCase>);

TEST(PlotFrameTest, AxisTicksLabelsAndTitleSitWhereTheyBelong) {
    for (const LevelMapping kind :
         {LevelMapping::Normal, LevelMapping::Equalised, LevelMapping::Stretched}) {
        SCOPED_TRACE("plot kind " + std::to_string(static_cast<int>(kind)));
        ViewerState state = TablesBuilt();  // no pixel counted: the frame alone
        FakeDisplayView display(400, 300);
        display.Picture1.SetPixel(300, 200, kBar);  // an earlier drawing
        PlotHistogram(state, kind, display);

        EXPECT_EQ(display.Picture1.Clears(), 1);
        EXPECT_EQ(display.Picture1.At(300, 200), display.Picture1.Background());
        for (int x = 10; x <= 265; ++x) {
            EXPECT_EQ(display.Picture1.At(x, 250), kAxis) << x;
        }
        for (const int x : {10, 60, 110, 160, 210, 265}) {
            EXPECT_EQ(display.Picture1.At(x, 260), kAxis) << x;
            EXPECT_EQ(display.Picture1.At(x, 261), display.Picture1.Background()) << x;
        }
        const std::vector<MemoryCanvas::PrintedText> texts{{10, 260, "0"},
                                                           {60, 260, "50"},
                                                           {110, 260, "100"},
                                                           {160, 260, "150"},
                                                           {210, 260, "200"},
                                                           {265, 260, "255"},
                                                           {280, 10, std::string(PlotTitle(kind))}};
        EXPECT_EQ(display.Picture1.Texts(), texts);
        EXPECT_EQ(display.Picture1.At(280, 10), kBlack);
        const std::vector<FakeDisplayView::Place> shown{{11520, 15360}};
        EXPECT_EQ(display.Shows, shown);
        EXPECT_TRUE(display.Moves.empty());
    }
    EXPECT_EQ(PlotTitle(LevelMapping::Normal), " Κανονικό Ιστόγραμμα");
    EXPECT_EQ(PlotTitle(LevelMapping::Equalised), "Εξισωμένο Ιστόγραμμα");
    EXPECT_EQ(PlotTitle(LevelMapping::Stretched), "Τεντωμένο ιστόγραμμα");
}

TEST(PlotFrameTest, ColumnFourHoldsTheLastPlotAndTheSamePlotRepeats) {
    ViewerState state = TablesBuilt();
    state.Levels.Count[40] = 9;
    state.Levels.Equalised[40] = 200;
    FakeDisplayView display(400, 300);

    PlotHistogram(state, LevelMapping::Normal, display);
    FakeDisplayView again(400, 300);
    PlotHistogram(state, LevelMapping::Normal, again);
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            ASSERT_EQ(again.Picture1.At(x, y), display.Picture1.At(x, y)) << x << "," << y;
        }
    }

    PlotHistogram(state, LevelMapping::Equalised, display);
    EXPECT_EQ(state.Levels.Plotted[200], 9);
    PlotHistogram(state, LevelMapping::Normal, display);
    EXPECT_EQ(state.Levels.Plotted[40], 9);
    EXPECT_EQ(state.Levels.Plotted[200], 0);
}

TEST(PlotFromMenuTest, BeforeThePassTheMenuRefusesAndDrawsNothing) {
    ViewerState state = TablesBuilt();
    state.TablesReady = false;
    state.Levels.Count[40] = 9;
    FakeDisplayView display(400, 300);
    ScriptedDialogs dialogs;

    ShowOutcome(PlotFromMenu(state, LevelMapping::Equalised, display), dialogs);

    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{"πάτησε πρώτα το κουμπί -Ξεκίνησε-"});
    EXPECT_EQ(display.Picture1.Clears(), 0);
    EXPECT_TRUE(display.Shows.empty());
    EXPECT_EQ(state.Levels.Plotted[40], 0);

    state.TablesReady = true;
    ShowOutcome(PlotFromMenu(state, LevelMapping::Equalised, display), dialogs);
    EXPECT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(state.Levels.Plotted[40], 9);
}

}  // namespace
}  // namespace qiv::rastel
