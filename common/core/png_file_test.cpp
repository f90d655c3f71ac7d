#include "common/core/png_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <vector>

#include "common/testing/failure_check.h"
#include "common/testing/param_name.h"
#include "common/testing/png_picture.h"
#include "common/testing/temp_dir.h"

namespace qiv {
namespace {

using testing::ReadPng;
using testing::Succeeded;
using testing::TempDir;

struct RoundTripCase {
    const char* desc;
    int width;
    int height;
    PngColours colours;
};
void PrintTo(const RoundTripCase& row, std::ostream* out) {
    *out << row.desc;
}

class PngRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(PngRoundTripTest, TheFileReadsBackPixelForPixel) {
    const RoundTripCase& row = GetParam();
    TempDir dir;
    const auto path = dir / "picture.png";
    std::vector<Colour> written;
    std::uint32_t noise = 12345;
    for (int i = 0; i < row.width * row.height; ++i) {
        noise = noise * 1103515245u + 12345u;
        const int r = static_cast<int>(noise >> 24);
        const int g = static_cast<int>((noise >> 16) & 0xFF);
        written.push_back(row.colours == PngColours::Grey ? MakeColour(g, g, g)
                                                          : MakeColour(r, g, (r + g) & 0xFF));
    }

    PngFile png;
    ASSERT_TRUE(Succeeded(png.Open(path, row.width, row.height, row.colours)));
    for (int y = 0; y < row.height; ++y) {
        ASSERT_TRUE(Succeeded(png.WriteRow(std::span<const Colour>(written).subspan(
            static_cast<std::size_t>(y) * row.width, static_cast<std::size_t>(row.width)))));
    }
    ASSERT_TRUE(Succeeded(png.Finish()));

    const auto read = ReadPng(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Width, row.width);
    EXPECT_EQ(read->Height, row.height);
    EXPECT_EQ(read->Pixels, written);
}

// clang-format off
const RoundTripCase kRoundTripCases[] = {
    {"one pixel", 1, 1, PngColours::Rgb},
    {"colours", 7, 3, PngColours::Rgb},
    {"greys in one byte a pixel", 5, 4, PngColours::Grey},
    {"noise larger than one write block", 700, 300, PngColours::Rgb},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(RoundTrips, PngRoundTripTest, ::testing::ValuesIn(kRoundTripCases),
                         qiv::testing::DescName<RoundTripCase>);

TEST(PngFileTest, AnUnfinishedPictureLeavesNoFileBehind) {
    TempDir dir;
    const std::vector<Colour> row(4, kBlack);
    {
        PngFile png;
        ASSERT_TRUE(Succeeded(png.Open(dir / "early.png", 4, 2, PngColours::Rgb)));
        ASSERT_TRUE(Succeeded(png.WriteRow(row)));
        const Failure finished = png.Finish();
        ASSERT_TRUE(finished);
        EXPECT_EQ(finished->Role, FileRole::Output);
    }
    {
        PngFile png;
        ASSERT_TRUE(Succeeded(png.Open(dir / "wide.png", 3, 2, PngColours::Rgb)));
        EXPECT_TRUE(png.WriteRow(row));
    }
    {
        PngFile png;
        ASSERT_TRUE(Succeeded(png.Open(dir / "dropped.png", 4, 2, PngColours::Rgb)));
        ASSERT_TRUE(Succeeded(png.WriteRow(row)));
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(PngFileTest, RefusesWhatCannotBeAPicture) {
    TempDir dir;
    PngFile png;
    const Failure empty = png.Open(dir / "empty.png", 0, 5, PngColours::Rgb);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Problem, FileProblem::Refused);
    const Failure folder = png.Open(dir.Path(), 2, 2, PngColours::Rgb);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->Problem, FileProblem::CannotOpen);
    EXPECT_EQ(folder->Role, FileRole::Output);
    EXPECT_TRUE(std::filesystem::exists(dir.Path()));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

}  // namespace
}  // namespace qiv
