#include "hrpt_tool/core/help_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testing/memory_canvas.h"

namespace qiv::swathly {
namespace {

TEST(SwathlyHelpText, AskingTwicePrintsTheLinesOnceFromTheTop) {
    MemoryCanvas form2(700, 700, kHelpLayout.Background);
    PrintHelp(form2, kHelpText);
    PrintHelp(form2, kHelpText);
    ASSERT_EQ(form2.Texts().size(), 43u);
    for (std::size_t k = 0; k < kHelpText.size(); ++k) {
        EXPECT_EQ(form2.Texts()[k].Text, kHelpText[k]) << "line " << k + 1;
        EXPECT_EQ(form2.Texts()[k].Y, static_cast<int>(k) * MemoryCanvas::kLineHeight);
    }
}

TEST(SwathlyHelpText, KeepsItsBlanksAndTheButtonCaptions) {
    std::vector<std::size_t> blankLines;
    for (std::size_t k = 0; k < kHelpText.size(); ++k) {
        if (kHelpText[k].find_first_not_of(' ') == std::string_view::npos) {
            blankLines.push_back(k + 1);
        }
    }
    EXPECT_EQ(blankLines, (std::vector<std::size_t>{4, 8, 12, 19, 23, 32, 37, 43}));
    EXPECT_EQ(kHelpText[3], " ");
    EXPECT_EQ(kHelpText[42], "    ");
    EXPECT_EQ(kHelpText[2], std::string(87, '_') + " ");
    EXPECT_EQ(kHelpText[6], "    για όλες τις επόμενες ενέργειες.  ");
    EXPECT_NE(kHelpText[23].find("<Output (CAL, SST, NDV) --> Qlk> "), std::string_view::npos);
    EXPECT_EQ(
        kHelpText[32],
        "6.  Το κουμπί <Output from (Hrp) --> Qlk> κάνει τα ίδια και με την ίδια διαδικασία  ");
}

}  // namespace
}  // namespace qiv::swathly
