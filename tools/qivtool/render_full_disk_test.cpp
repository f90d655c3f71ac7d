// qivtool render on a disk that fills up half-way through the PNG: the picture of that name
// from before stays as it was, and no temporary file is left beside it.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/testing/full_disk.h"
#include "common/testing/temp_dir.h"
#include "tools/qivtool/raster_commands.h"
#include "tools/qivtool/run_command.h"

namespace qiv::qivtool {
namespace {

using qiv::testing::FullDisk;
using qiv::testing::NamesIn;
using qiv::testing::Ran;
using qiv::testing::RunCommand;
using qiv::testing::TempDir;

TEST(RenderFullDiskTest, TheOlderPictureStaysAndNoTemporaryFileIsLeft) {
    // Grey noise hardly compresses: the PNG takes about 1 MB, four blocks of the encoder, so the
    // disk fills up while rows are still being painted.
    constexpr std::int32_t kSide = 1024;
    std::vector<std::uint8_t> noise(static_cast<std::size_t>(kSide) * kSide);
    std::uint32_t state = 7;
    for (std::uint8_t& level : noise) {
        state = state * 1103515245u + 12345u;
        level = static_cast<std::uint8_t>(state >> 24);
    }
    TempDir dir;
    const auto image = dir.Write("noise.raw", noise);
    RenderOptions options;
    options.Image = {image.string(), std::pair(kSide, kSide)};
    options.Output = (dir / "noise.png").string();
    const Ran first = RunCommand(RunRender, options);
    ASSERT_EQ(first.Status, kDone) << first.Err;
    const std::vector<std::uint8_t> older = TempDir::Read(options.Output);
    const std::vector<std::string> names = NamesIn(dir.Path());
    ASSERT_GT(older.size(), std::size_t{800'000});

    options.Table = rastel::LevelMapping::Equalised;
    Ran full;
    {
        const FullDisk disk(static_cast<std::int64_t>(older.size() / 2));
        full = RunCommand(RunRender, options);
    }
    EXPECT_EQ(full.Status, kRefused);
    EXPECT_NE(full.Err.find(options.Output), std::string::npos) << full.Err;
    EXPECT_EQ(full.Err.find(".save"), std::string::npos) << full.Err;
    EXPECT_EQ(TempDir::Read(options.Output), older);
    EXPECT_EQ(NamesIn(dir.Path()), names);
}

}  // namespace
}  // namespace qiv::qivtool
