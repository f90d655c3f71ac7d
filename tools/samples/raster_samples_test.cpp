#include "tools/samples/raster_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "common/core/dimension_header.h"
#include "common/testing/failure_check.h"
#include "common/testing/temp_dir.h"

namespace qiv::samples {
namespace {

using qiv::testing::TempDir;

TEST(RasterSamplesTest, WritesTheThreeImages) {
    TempDir dir;
    ASSERT_TRUE(qiv::testing::Succeeded(WriteRasterSamples(dir / "samples")));

    const auto scene = TempDir::Read(dir / "samples" / "scene-512x512-header.raw");
    ASSERT_EQ(scene.size(), 512u * 512u);
    EXPECT_EQ(DecodeDimensionHeader(std::span<const std::uint8_t, 4>(scene.data(), 4)),
              (DimensionHeader{512, 512}));
    // A scene, not a flat field: dark sea, bright cloud and much in between.
    EXPECT_LT(*std::min_element(scene.begin() + 4, scene.end()), 40);
    EXPECT_GT(*std::max_element(scene.begin() + 4, scene.end()), 200);

    EXPECT_EQ(std::filesystem::file_size(dir / "samples" / "scene-1024x1536.raw"), 1024u * 1536u);

    const auto levels = TempDir::Read(dir / "samples" / "grey-levels-16x16.raw");
    std::array<int, 256> seen{};
    for (const std::uint8_t level : levels) {
        ++seen[level];
    }
    EXPECT_EQ(levels.size(), 256u);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 256);
}

TEST(RasterSamplesTest, SameSeedSameScene) {
    EXPECT_EQ(SyntheticScene(40, 60, 5u), SyntheticScene(40, 60, 5u));
    EXPECT_NE(SyntheticScene(40, 60, 5u), SyntheticScene(40, 60, 6u));
}

}  // namespace
}  // namespace qiv::samples
