#include "common/core/binary_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/testing/temp_dir.h"

namespace qiv {
namespace {

using testing::TempDir;

TEST(BinaryFileTest, ReadWriteCreateNeverShortensAFile) {
    TempDir dir;
    const std::vector<std::uint8_t> old{1, 2, 3, 4, 5, 6};
    const auto path = dir.Write("image.raw", old);
    BinaryFile file(FileRole::Output);
    const Failure opened = file.Open(path, BinaryFile::Mode::ReadWriteCreate);
    ASSERT_FALSE(opened) << opened->Reason;
    const std::vector<std::uint8_t> head{9, 9};
    ASSERT_FALSE(file.WriteAt(1, head));
    file.Close();
    EXPECT_EQ(TempDir::Read(path), (std::vector<std::uint8_t>{1, 9, 9, 4, 5, 6}));
}

TEST(BinaryFileTest, CreateNewLeavesAFileThatExistsAlone) {
    TempDir dir;
    const std::vector<std::uint8_t> old{1, 2};
    const auto path = dir.Write("old.hrp", old);
    BinaryFile file(FileRole::Output);
    const Failure taken = file.Open(path, BinaryFile::Mode::CreateNew);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->Reason, "File exists");
    EXPECT_EQ(TempDir::Read(path), old);
    EXPECT_FALSE(file.Open(dir / "new.hrp", BinaryFile::Mode::CreateNew));
}

TEST(BinaryFileTest, ShortReadsSayWhereTheFileEnds) {
    TempDir dir;
    const std::vector<std::uint8_t> bytes{7, 8, 9};
    const auto path = dir.Write("short.raw", bytes);
    BinaryFile file;
    ASSERT_FALSE(file.Open(path, BinaryFile::Mode::Read));
    std::vector<std::uint8_t> buffer(8, 0xEE);

    const Failure shortRead = file.ReadAt(1, buffer);
    ASSERT_TRUE(shortRead);
    EXPECT_EQ(shortRead->Problem, FileProblem::TooShort);
    EXPECT_EQ(shortRead->Role, FileRole::Input);
    EXPECT_EQ(shortRead->Path, path.string());
    EXPECT_EQ(shortRead->Needed, 9);
    EXPECT_EQ(shortRead->Size, 3);

    ASSERT_FALSE(file.ReadFilled(1, buffer));
    EXPECT_EQ(buffer, (std::vector<std::uint8_t>{8, 9, 0, 0, 0, 0, 0, 0}));
    ASSERT_FALSE(file.ReadFilled(10, buffer));
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(8, 0));

    std::int64_t size = -1;
    ASSERT_FALSE(file.Size(size));
    EXPECT_EQ(size, 3);
}

TEST(BinaryFileTest, FailuresCarryRolePathAndTheSystemReason) {
    TempDir dir;
    BinaryFile file(FileRole::Calibration);
    const Failure missing = file.Open(dir / "missing.raw", BinaryFile::Mode::Read);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Problem, FileProblem::CannotOpen);
    EXPECT_EQ(missing->Role, FileRole::Calibration);
    EXPECT_EQ(missing->Path, (dir / "missing.raw").string());
    EXPECT_EQ(missing->Reason, "No such file or directory");
    const Failure folder = file.Open(dir.Path(), BinaryFile::Mode::Read);  // a folder is no image
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->Reason, "Is a directory");
    EXPECT_TRUE(file.Open("", BinaryFile::Mode::Read));
    std::vector<std::uint8_t> buffer(2);
    EXPECT_EQ(file.ReadAt(0, buffer)->Problem, FileProblem::CannotRead);  // not open
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
