#include "raster_viewer/core/rastel_help.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testing/memory_canvas.h"

namespace qiv::rastel {
namespace {

TEST(RastelHelpTest, AskingTwicePrintsTheTextOnceFromTheTop) {
    MemoryCanvas form2(600, 800, kRastelHelpLayout.Background);
    PrintHelp(form2, kRastelHelpText);
    form2.SetPixel(3, 3, kBlack);  // whatever stood there before goes
    PrintHelp(form2, kRastelHelpText);

    ASSERT_EQ(form2.Texts().size(), 47u);
    for (std::size_t k = 0; k < form2.Texts().size(); ++k) {
        EXPECT_EQ(form2.Texts()[k].Text, kRastelHelpText[k]);
        EXPECT_EQ(form2.Texts()[k].X, 0);
        EXPECT_EQ(form2.Texts()[k].Y, static_cast<int>(k) * MemoryCanvas::kLineHeight);
    }
    EXPECT_EQ(form2.At(3, 3), kRastelHelpLayout.Background);
}

TEST(RastelHelpTest, BlankLinesKeepTheirBlanks) {
    std::vector<int> blank;
    for (std::size_t k = 0; k < kRastelHelpText.size(); ++k) {
        if (kRastelHelpText[k].find_first_not_of(' ') == std::string_view::npos) {
            blank.push_back(static_cast<int>(k) + 1);
        }
    }
    EXPECT_EQ(blank, (std::vector<int>{4, 9, 17, 20, 29, 37, 42, 47}));
    EXPECT_EQ(kRastelHelpText[3], "    ");
    EXPECT_EQ(kRastelHelpText[46], " ");
    EXPECT_EQ(kRastelHelpText[0].back(), ' ');
}

}  // namespace
}  // namespace qiv::rastel
