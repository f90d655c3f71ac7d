#include "binary_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "temp_dir.h"

namespace qiv {
namespace {

using testing::TempDir;

TEST(BinaryFileTest, ReadWriteCreateNeverShortensAFile) {
    TempDir dir;
    const std::vector<std::uint8_t> old{1, 2, 3, 4, 5, 6};
    const auto path = dir.Write("image.raw", old);
    BinaryFile file;
    ASSERT_TRUE(file.Open(path, BinaryFile::Mode::ReadWriteCreate)) << file.Error();
    const std::vector<std::uint8_t> head{9, 9};
    ASSERT_TRUE(file.WriteAt(1, head));
    file.Close();
    EXPECT_EQ(TempDir::Read(path), (std::vector<std::uint8_t>{1, 9, 9, 4, 5, 6}));
}

TEST(BinaryFileTest, ShortReadsReportWhatWasRead) {
    TempDir dir;
    const std::vector<std::uint8_t> bytes{7, 8, 9};
    BinaryFile file;
    ASSERT_TRUE(file.Open(dir.Write("short.raw", bytes), BinaryFile::Mode::Read));
    std::vector<std::uint8_t> buffer(8, 0);
    EXPECT_EQ(file.ReadAt(1, buffer), 2);
    EXPECT_EQ(file.ReadAt(10, buffer), 0);
    EXPECT_EQ(file.Size(), 3);
}

TEST(BinaryFileTest, FailuresCarryTheSystemReason) {
    TempDir dir;
    BinaryFile file;
    EXPECT_FALSE(file.Open(dir / "missing.raw", BinaryFile::Mode::Read));
    EXPECT_FALSE(file.Error().empty());
    EXPECT_FALSE(file.Open(dir.Path(), BinaryFile::Mode::Read));  // a folder is no image
    EXPECT_FALSE(file.Open("", BinaryFile::Mode::Read));
}

TEST(BinaryFileTest, SameFileSeesThroughOtherSpellingsAndLinks) {
    TempDir dir;
    const std::vector<std::uint8_t> bytes{1};
    const auto path = dir.Write("a.raw", bytes);
    std::filesystem::create_symlink(path, dir / "link.raw");
    EXPECT_TRUE(SameFile(path, dir.Path() / "." / "a.raw"));
    EXPECT_TRUE(SameFile(path, dir / "link.raw"));
    EXPECT_FALSE(SameFile(path, dir / "other.raw"));
}

}  // namespace
}  // namespace qiv
