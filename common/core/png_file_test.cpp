#include "common/core/png_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <ostream>
#include <vector>

#include "common/testing/failure_check.h"
#include "common/testing/full_disk.h"
#include "common/testing/param_name.h"
#include "common/testing/png_picture.h"
#include "common/testing/temp_dir.h"

namespace qiv {
namespace {

using testing::FullDisk;
using testing::NamesIn;
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

// Writes a picture of noise that takes about 630 KB, in blocks of 256 KB, over `path`.
Failure WriteNoise(const std::filesystem::path& path) {
    constexpr int kWidth = 700;
    constexpr int kHeight = 300;
    PngFile png;
    if (Failure failure = png.Open(path, kWidth, kHeight, PngColours::Rgb)) {
        return failure;
    }
    std::vector<Colour> row(kWidth);
    std::uint32_t noise = 99;
    for (int y = 0; y < kHeight; ++y) {
        for (Colour& c : row) {
            noise = noise * 1103515245u + 12345u;
            c = MakeColour(static_cast<int>(noise >> 24), static_cast<int>((noise >> 16) & 0xFF),
                           static_cast<int>((noise >> 8) & 0xFF));
        }
        if (Failure failure = png.WriteRow(row)) {
            return failure;
        }
    }
    return png.Finish();
}

// The disk fills up after 400 KB, in the second block: the older picture of the name stays,
// and so does a temporary file that a crash left under the first temporary name, which is never
// written over; the temporary file of this save goes again. With room on the disk the same
// save replaces the older picture.
TEST(PngFileTest, AFullDiskLeavesTheOlderPictureAsItWas) {
    TempDir dir;
    const auto path = dir / "picture.png";
    const std::vector<std::uint8_t> older{'o', 'l', 'd', 'e', 'r'};
    const std::vector<std::uint8_t> crashed{'c', 'r', 'a', 's', 'h'};
    dir.Write("picture.png", older);
    dir.Write(".picture.png.save", crashed);
    const std::vector<std::string> names{".picture.png.save", "picture.png"};

    Failure failure;
    {
        const FullDisk disk(400'000);
        failure = WriteNoise(path);
    }
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Problem, FileProblem::CannotWrite);
    EXPECT_EQ(failure->Role, FileRole::Output);
    EXPECT_EQ(failure->Path, path.string());
    EXPECT_EQ(failure->Reason, std::strerror(EFBIG));
    EXPECT_EQ(TempDir::Read(path), older);
    EXPECT_EQ(NamesIn(dir.Path()), names);

    ASSERT_TRUE(Succeeded(WriteNoise(path)));
    const auto read = ReadPng(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Width, 700);
    EXPECT_EQ(TempDir::Read(dir / ".picture.png.save"), crashed);
    EXPECT_EQ(NamesIn(dir.Path()), names);
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
    const Failure unnamed = png.Open("", 2, 2, PngColours::Rgb);
    ASSERT_TRUE(unnamed);
    EXPECT_EQ(unnamed->Problem, FileProblem::CannotOpen);
    EXPECT_TRUE(std::filesystem::exists(dir.Path()));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

}  // namespace
}  // namespace qiv
