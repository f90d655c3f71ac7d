// A quicklook written by Swathly_Qiv is a raster file of Rastel_Qiv: its "Διάβασε Header"
// reads the quicklook's own rows and columns, and the file holds exactly that many pixels.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <vector>

#include "common/core/dimension_header.h"
#include "common/testing/memory_canvas.h"
#include "common/testing/param_name.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/quicklook.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "hrpt_tool/testing/fake_main_view.h"
#include "raster_viewer/core/dimensions.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::swathly {
namespace {

using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;

struct OpenCase {
    const char* desc;
    bool hrp;
    std::int64_t lines;
    const char* interval;
    std::int32_t rows;
    std::int32_t cols;
    friend void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.desc; }
};

class QuicklookInRastelTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(QuicklookInRastelTest, ReadHeaderGivesTheQuicklookSize) {
    const OpenCase& c = GetParam();
    TempDir dir;
    std::filesystem::path input;
    if (c.hrp) {
        std::vector<std::uint8_t> pass(static_cast<std::size_t>(c.lines * kLineBytes), 0);
        LineHeaderRecord header;
        header.RowsLow = static_cast<std::uint8_t>(c.lines % 256);
        header.RowsHigh = static_cast<std::uint8_t>(c.lines / 256);
        const auto bytes = EncodeLineHeader(header);
        std::copy(bytes.begin(), bytes.end(), pass.begin());
        input = dir.Write("pass.hrp", pass);
    } else {
        std::vector<std::uint8_t> product(static_cast<std::size_t>((c.lines + 1) * 4096), 9);
        WriteInt16Le(product.data(), static_cast<std::int16_t>(c.lines));
        input = dir.Write("scene.ndv", product);
    }
    SwathlyState state;
    state.InputChosen = true;
    state.OutputChosen = true;
    state.InputPath = input.string();
    state.OutputPath = (dir / "look.img").string();
    ScriptedDialogs dialogs;
    MemoryCanvas wait = qiv::testing::WaitArea();
    testing::FakeMainView form1;
    ASSERT_TRUE(c.hrp
                    ? ShowOutcome(HrpQuicklook(state, c.interval, "1", BandButton::SingleBand,
                                               dialogs, form1, wait),
                                  dialogs)
                    : ShowOutcome(ProductQuicklook(state, c.interval, BandButton::SingleBand, wait),
                                  dialogs));

    const auto image = TempDir::Read(dir / "look.img");
    EXPECT_EQ(
        DecodeDimensionHeader(std::span<const std::uint8_t, 4>(image.data(), 4)),
        (DimensionHeader{static_cast<std::int16_t>(c.rows), static_cast<std::int16_t>(c.cols)}));

    rastel::ViewerState viewer;
    viewer.ImagePath = state.OutputPath;
    viewer.FileChosen = true;
    ASSERT_TRUE(rastel::ReadHeader(viewer).Done());
    EXPECT_EQ(viewer.ImageRows, c.rows);
    EXPECT_EQ(viewer.ImageCols, c.cols);
    EXPECT_EQ(static_cast<std::int64_t>(image.size()),
              std::max<std::int64_t>(std::int64_t{c.rows} * c.cols, 4));
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Table, QuicklookInRastelTest,
                         ::testing::Values(OpenCase{"product s 5", false, 12, "5", 3, 410},
                                           OpenCase{"product s 1", false, 2, "1", 2, 2048},
                                           OpenCase{"product s 3", false, 7, "3", 3, 683},
                                           OpenCase{"HRP s 5", true, 11, "5", 3, 410},
                                           OpenCase{"HRP s 2048", true, 2, "2048", 1, 1}),
                         qiv::testing::DescName<OpenCase>);

}  // namespace
}  // namespace qiv::swathly
