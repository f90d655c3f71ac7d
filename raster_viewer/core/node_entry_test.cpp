#include "raster_viewer/core/node_entry.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "common/testing/param_name.h"
#include "common/testing/scripted_dialogs.h"
#include "raster_viewer/core/rastel_texts.h"

namespace qiv::rastel {
namespace {

using qiv::testing::ScriptedDialogs;

// Column 3 starts as 1000 + k, so that every level a run does not write is recognisable.
constexpr std::int32_t Untouched(int k) {
    return 1000 + k;
}
constexpr std::int16_t kEarlierCount = 5;

struct NodeCase {
    const char* desc;
    std::vector<std::optional<std::string>> replies;
    std::size_t prompts;     // prompt boxes shown
    std::int16_t nodeCount;  // NodeCount afterwards (kEarlierCount when unchanged)
    std::vector<std::pair<int, std::int32_t>> column3;  // (level, entry afterwards)
    bool refused = false;                               // the too-many-nodes message was shown
};
void PrintTo(const NodeCase& row, std::ostream* out) {
    *out << row.desc;
}

class NodeEntryTest : public ::testing::TestWithParam<NodeCase> {};

TEST_P(NodeEntryTest, BuildsColumnThreeFromTheTypedNodes) {
    const NodeCase& row = GetParam();
    ViewerState state;
    state.NodeCount = kEarlierCount;
    for (int k = 0; k < 256; ++k) {
        state.Levels.Stretched[k] = Untouched(k);
    }
    ScriptedDialogs dialogs;
    for (const auto& reply : row.replies) {
        dialogs.Answer(reply);
    }

    ShowOutcome(NodeEntry(state, dialogs), dialogs);

    EXPECT_EQ(dialogs.PromptCalls.size(), row.prompts);
    EXPECT_EQ(state.NodeCount, row.nodeCount);
    for (const auto& [level, entry] : row.column3) {
        EXPECT_EQ(state.Levels.Stretched[level], entry) << "level " << level;
    }
    EXPECT_EQ(dialogs.Messages, row.refused ? std::vector<std::string>{std::string(kTooManyNodes)}
                                            : std::vector<std::string>{});
    EXPECT_TRUE(dialogs.Exhausted());
}

// clang-format off
const NodeCase kNodeCases[] = {
    {"one node halves the lower levels and stretches the upper ones",
     {"1", "128", "64"}, 3, 1,
     {{0, 0}, {1, 0}, {3, 2}, {128, 64}, {129, 66}, {255, 255}}},
    {"a node whose X goes back skips its segment and the later one wins",
     {"2", "100", "50", "50", "200"}, 5, 2,
     {{0, 0}, {49, 24}, {50, 200}, {100, 213}, {255, 255}}},
    {"a repeated X leaves the second node's Y",
     {"2", "100", "50", "100", "200"}, 5, 2, {{50, 25}, {100, 200}, {101, 200}}},
    {"count 0 asks once and changes nothing but the count",
     {"0"}, 1, 0, {{0, Untouched(0)}, {128, Untouched(128)}}},
    {"a negative count is stored and ends the entry", {"-3"}, 1, -3, {{7, Untouched(7)}}},
    {"blanks around the count and halves to even", {"  2.5 ", "10", "20", "30", "40"}, 5, 2,
     {{10, 20}, {20, 30}, {30, 40}}},
    {"a count above 99 is refused after the first prompt", {"100"}, 1, kEarlierCount,
     {{0, Untouched(0)}, {255, Untouched(255)}}, true},
    {"a count beyond 16 bits is held at the limit and refused", {"1e9"}, 1, kEarlierCount,
     {{5, Untouched(5)}}, true},
    {"a count that is not one number changes nothing", {"2 nodes"}, 1, kEarlierCount,
     {{5, Untouched(5)}}},
    {"a cancelled count changes nothing", {std::nullopt}, 1, kEarlierCount, {{5, Untouched(5)}}},
    {"a cancelled Y half-way changes nothing", {"2", "100", "50", "150", std::nullopt}, 5,
     kEarlierCount, {{0, Untouched(0)}, {100, Untouched(100)}, {255, Untouched(255)}}},
    {"an empty X changes nothing", {"1", ""}, 2, kEarlierCount, {{0, Untouched(0)}}},
    {"a node left of 0 writes only the levels from 0 on",
     {"1", "-100", "50"}, 3, 1, {{0, 108}, {100, 165}, {255, 255}}},
    {"a node right of 255 writes only the levels up to 255",
     {"1", "300", "100"}, 3, 1, {{0, 0}, {150, 50}, {255, 85}}},
    {"replies beyond 16 bits are held at the limits without overflow",
     {"1", "70000", "-99999"}, 3, 1, {{0, 0}, {1, -1}, {255, -255}}},
    {"Y values outside 0..255 are stored as computed",
     {"1", "128", "400"}, 3, 1, {{64, 200}, {128, 400}, {192, 327}}},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Nodes, NodeEntryTest, ::testing::ValuesIn(kNodeCases),
                         qiv::testing::DescName<NodeCase>);

TEST(NodeEntryPromptTest, PromptsReadAsWrittenAtTheSamePlace) {
    ViewerState state;
    ScriptedDialogs dialogs;
    dialogs.Answer("1").Answer("128").Answer("64");
    ShowOutcome(NodeEntry(state, dialogs), dialogs);

    ASSERT_EQ(dialogs.PromptCalls.size(), 3u);
    EXPECT_EQ(dialogs.PromptCalls[0].Text, "Βάλε αριθμό κόμβων");
    // Greek capital chi in the X prompt, Latin Y in the Y prompt.
    EXPECT_EQ(dialogs.PromptCalls[1].Text, " Βάλε τιμή \u03A7 για το Σημείο 1");
    EXPECT_EQ(dialogs.PromptCalls[2].Text, " Βάλε τιμή \x59 για το Σημείο 1");
    for (const auto& call : dialogs.PromptCalls) {
        EXPECT_EQ(call.XTwips, 10);
        EXPECT_EQ(call.YTwips, 5000);
    }
    EXPECT_EQ(NodeXPrompt(10), " Βάλε τιμή \u03A7 για το Σημείο 10");
    EXPECT_EQ(NodeYPrompt(10), " Βάλε τιμή Y για το Σημείο 10");
}

TEST(NodeEntryRowsTest, EndNodesFrameTheTypedOnesAndLaterRowsKeepTheirValues) {
    ViewerState state;
    state.StretchNodes[4] = {77, 88};  // left by an earlier, longer entry
    ScriptedDialogs dialogs;
    dialogs.Answer("2").Answer("100").Answer("50").Answer("50").Answer("200");
    ShowOutcome(NodeEntry(state, dialogs), dialogs);

    const StretchNode expected[] = {{0, 0}, {100, 50}, {50, 200}, {255, 255}, {77, 88}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(state.StretchNodes[i].X, expected[i].X) << "row " << i;
        EXPECT_EQ(state.StretchNodes[i].Y, expected[i].Y) << "row " << i;
    }
}

}  // namespace
}  // namespace qiv::rastel
