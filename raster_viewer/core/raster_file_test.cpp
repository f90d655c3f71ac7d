#include "raster_viewer/core/raster_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "common/testing/failure_check.h"
#include "raster_viewer/core/rastel_texts.h"
#include "common/testing/temp_dir.h"

namespace qiv::rastel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using qiv::testing::Succeeded;
using qiv::testing::TempDir;

TEST(RasterFileTest, ReadsRowsAndRunsInsideTheImageOnly) {
    TempDir dir;
    const std::string path =
        dir.Write("image.raw", Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 99}).string();
    RasterFile image;
    ASSERT_TRUE(Succeeded(image.Open(path, 3, 4)));
    EXPECT_EQ(image.PixelCount(), 12);

    Bytes rows(8);
    EXPECT_TRUE(Succeeded(image.ReadRows(1, 2, rows)));
    EXPECT_EQ(rows, (Bytes{4, 5, 6, 7, 8, 9, 10, 11}));
    Bytes run(3);
    EXPECT_TRUE(Succeeded(image.ReadPixels(6, run)));
    EXPECT_EQ(run, (Bytes{6, 7, 8}));

    // The byte after the image is never handed out, nor a row past the last.
    Bytes past(2);
    EXPECT_FALSE(Succeeded(image.ReadPixels(11, past)));
    EXPECT_FALSE(Succeeded(image.ReadRows(2, 2, rows)));
    Bytes wrongSize(5);
    EXPECT_FALSE(Succeeded(image.ReadRows(0, 1, wrongSize)));
    EXPECT_FALSE(Succeeded(image.ReadPixels(-1, run)));
}

TEST(RasterFileTest, FileShortenedAfterOpeningIsReportedNotReadAsZeros) {
    TempDir dir;
    const std::string path = dir.Write("image.raw", Bytes(12, 7)).string();
    RasterFile image;
    ASSERT_TRUE(Succeeded(image.Open(path, 3, 4)));
    std::filesystem::resize_file(path, 6);
    Bytes rows(12);
    EXPECT_EQ(MessageFor(image.ReadRows(0, 3, rows)), ShortFileMessage(path, 12, 6));
}

TEST(RasterFileTest, ExactSizeIsEnoughAndFolderIsRefused) {
    TempDir dir;
    RasterFile image;
    EXPECT_TRUE(Succeeded(image.Open(dir.Write("exact.raw", Bytes(6, 1)).string(), 2, 3)));
    EXPECT_EQ(MessageFor(image.Open(dir.Path().string(), 1, 1)),
              CannotOpenMessage(dir.Path().string(), "Is a directory"));
}

}  // namespace
}  // namespace qiv::rastel
