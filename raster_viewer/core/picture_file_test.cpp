#include "raster_viewer/core/picture_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/testing/param_name.h"
#include "common/testing/png_picture.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"

namespace qiv::rastel {
namespace {

using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;

// ---- The tooltip of a painted pixel ------------------------------------------------------

// A 2 x 3 image; the painting shows every stored value v as the level v + 1.
PaintedImage Painting(const TempDir& dir, ImageOrientation orientation) {
    PaintedImage painting;
    painting.ImagePath =
        dir.Write("image.raw", std::vector<std::uint8_t>{10, 11, 12, 20, 21, 22}).string();
    painting.Rows = 2;
    painting.Cols = 3;
    painting.Orientation = orientation;
    for (int v = 0; v < 256; ++v) {
        painting.PaintedLevel[v] = v + 1;
    }
    return painting;
}

struct TipCase {
    const char* desc;
    ImageOrientation orientation;
    int x;
    int y;
    std::optional<std::string> tip;
};
void PrintTo(const TipCase& row, std::ostream* out) {
    *out << row.desc;
}

class PixelTipTest : public ::testing::TestWithParam<TipCase> {};

TEST_P(PixelTipTest, TellsTheImagePixelUnderThePointer) {
    const TipCase& row = GetParam();
    TempDir dir;
    EXPECT_EQ(PixelTip(Painting(dir, row.orientation), row.x, row.y), row.tip);
}

// clang-format off
const TipCase kTipCases[] = {
    {"upright first pixel sits at 1 1", ImageOrientation::Upright, 1, 1,
     "Γραμμή 0, Στήλη 0\nΤιμή στο αρχείο: 10\nΤιμή στην εικόνα: 11"},
    {"upright last pixel", ImageOrientation::Upright, 3, 2,
     "Γραμμή 1, Στήλη 2\nΤιμή στο αρχείο: 22\nΤιμή στην εικόνα: 23"},
    {"upright margin shows no pixel", ImageOrientation::Upright, 0, 1, std::nullopt},
    {"upright beyond the last column", ImageOrientation::Upright, 4, 1, std::nullopt},
    {"upside down corner is the last pixel", ImageOrientation::UpsideDown, 0, 0,
     "Γραμμή 1, Στήλη 2\nΤιμή στο αρχείο: 22\nΤιμή στην εικόνα: 23"},
    {"upside down first pixel", ImageOrientation::UpsideDown, 2, 1,
     "Γραμμή 0, Στήλη 0\nΤιμή στο αρχείο: 10\nΤιμή στην εικόνα: 11"},
    {"upside down below the painting", ImageOrientation::UpsideDown, 0, 2, std::nullopt},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Tips, PixelTipTest, ::testing::ValuesIn(kTipCases),
                         qiv::testing::DescName<TipCase>);

TEST(PixelTipFileTest, AFileThatNoLongerHoldsTheImageGivesNoTip) {
    TempDir dir;
    PaintedImage painting = Painting(dir, ImageOrientation::Upright);
    dir.Write("image.raw", std::vector<std::uint8_t>{1, 2});
    EXPECT_EQ(PixelTip(painting, 1, 1), std::nullopt);
}

// ---- Saving the picture ------------------------------------------------------------------

TEST(SavePictureTest, WritesThePictureIntoTheChosenFile) {
    TempDir dir;
    const std::vector<Colour> pixels{
        MakeColour(1, 2, 3),  MakeColour(4, 5, 6), kWhite, MakeColour(250, 0, 0), kBlack,
        MakeColour(0, 0, 255)};
    const PictureRows picture{3, 2, [&](std::int64_t y) {
                                  return std::span<const Colour>(pixels).subspan(
                                      static_cast<std::size_t>(y) * 3, 3);
                              }};
    const std::string image = dir.Write("scene.raw", std::vector<std::uint8_t>(6, 1)).string();
    const std::string saved = (dir / "saved.png").string();
    ScriptedDialogs dialogs;
    dialogs.File(saved);

    SavePicture(picture, image, SuggestedPictureName(image, false), dialogs);

    EXPECT_EQ(dialogs.Suggested, std::vector<std::string>{(dir / "scene.png").string()});
    EXPECT_TRUE(dialogs.Messages.empty());
    const auto read = qiv::testing::ReadPng(saved);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Width, 3);
    EXPECT_EQ(read->Pixels, pixels);
}

TEST(SavePictureTest, NeverWritesOverTheImageAndSavesNothingWhenCancelled) {
    TempDir dir;
    const std::vector<std::uint8_t> bytes(4, 7);
    const std::string image = dir.Write("scene.raw", bytes).string();
    const std::vector<Colour> pixels(4, kBlack);
    const PictureRows picture{2, 2, [&](std::int64_t y) {
                                  return std::span<const Colour>(pixels).subspan(
                                      static_cast<std::size_t>(y) * 2, 2);
                              }};
    ScriptedDialogs dialogs;
    dialogs.File(image).File(std::nullopt);

    SavePicture(picture, image, SuggestedPictureName(image, true), dialogs);
    SavePicture(picture, image, SuggestedPictureName(image, true), dialogs);

    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{std::string(kPictureOverImage)});
    EXPECT_EQ(dialogs.Suggested.front(), (dir / "scene-histogram.png").string());
    EXPECT_EQ(TempDir::Read(image), bytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
}  // namespace qiv::rastel
