#include "hrpt_tool/core/line_cut.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <vector>

#include "common/testing/failure_check.h"
#include "common/testing/param_name.h"
#include "common/testing/temp_dir.h"

namespace qiv::swathly {
namespace {

using qiv::testing::Succeeded;

using qiv::testing::TempDir;

struct TimeCase {
    const char* desc;
    PassTime before;
    std::int64_t start;
    PassTime after;
    friend void PrintTo(const TimeCase& c, std::ostream* os) { *os << c.desc; }
};

class StartTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(StartTimeTest, MovesOnByAFifteenthPerLine) {
    const TimeCase& c = GetParam();
    EXPECT_EQ(AdvanceStartTime(c.before, c.start), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartTimeTest,
    ::testing::Values(
        TimeCase{"start 1 rounds to no change", {10, 20, 30}, 1, {10, 20, 30}},
        TimeCase{"start 151 adds 10 s", {10, 20, 30}, 151, {10, 20, 40}},
        TimeCase{"start 900 at 10 59 30 carries into the hour", {10, 59, 30}, 900, {11, 0, 30}},
        TimeCase{"start 8 at 59 s rounds up to the next minute", {10, 20, 59}, 8, {10, 21, 0}},
        TimeCase{"minutes carry without reaching the hour", {10, 20, 50}, 300, {10, 21, 10}},
        TimeCase{"the hour is not wrapped at 24", {23, 59, 50}, 32767, {24, 36, 14}},
        TimeCase{"a negative second stays below a minute", {1, 2, -100}, 30, {1, 2, -98}}),
    qiv::testing::DescName<TimeCase>);

struct CountCase {
    const char* desc;
    std::int64_t available;
    std::int64_t start;
    std::int64_t end;
    std::int64_t count;
    friend void PrintTo(const CountCase& c, std::ostream* os) { *os << c.desc; }
};

class LinesToCopyTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(LinesToCopyTest, StopsAtTheLastLine) {
    const CountCase& c = GetParam();
    EXPECT_EQ(LinesToCopy(c.available, c.start, c.end), c.count);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LinesToCopyTest,
    ::testing::Values(CountCase{"1 to 100 of 500", 500, 1, 100, 100},
                      CountCase{"151 to 450 of 500", 500, 151, 450, 300},
                      CountCase{"end equal to start", 500, 7, 7, 1},
                      CountCase{"end beyond the last line", 500, 400, 32767, 101},
                      CountCase{"start on the last line", 500, 500, 600, 1},
                      CountCase{"start beyond the last line", 500, 501, 600, 0}),
    qiv::testing::DescName<CountCase>);

TEST(HrpLinesIn, CountsALineCutShort) {
    EXPECT_EQ(HrpLinesIn(0), 0);
    EXPECT_EQ(HrpLinesIn(22180), 1);
    EXPECT_EQ(HrpLinesIn(22181), 2);
    EXPECT_EQ(HrpLinesIn(500 * 22180), 500);
}

// Line j holds bytes that name it, so every output line tells where it came from.
std::vector<std::uint8_t> MakePass(std::int64_t lines) {
    std::vector<std::uint8_t> file(static_cast<std::size_t>(lines * kLineBytes));
    for (std::size_t i = 0; i < file.size(); ++i) {
        const std::size_t line = i / kLineBytes;
        file[i] = static_cast<std::uint8_t>((line * 13 + i % kLineBytes * 7) % 251);
    }
    return file;
}

std::vector<std::uint8_t> Line(const std::vector<std::uint8_t>& file, std::int64_t j) {
    const auto from = file.begin() + (j - 1) * kLineBytes;
    const auto to = std::min(from + kLineBytes, file.end());
    std::vector<std::uint8_t> line(from, to);
    line.resize(kLineBytes, 0);
    return line;
}

TEST(CopyLineRange, LinesStartToEndWithTheHeaderOverTheFirst) {
    TempDir dir;
    // 60 lines span more than one copy block; the last one is cut short by 100 bytes.
    auto pass = MakePass(60);
    pass.resize(pass.size() - 100);
    const auto inputPath = dir.Write("pass.hrp", pass);
    const std::vector<std::uint8_t> old(70 * kLineBytes, 0xEE);
    const auto outputPath = dir.Write("cut.hrp", old);

    std::array<std::uint8_t, kLineHeaderBytes> header{};
    header.fill(0x5A);
    BinaryFile input(FileRole::Input);
    BinaryFile output(FileRole::Output);
    ASSERT_TRUE(Succeeded(input.Open(inputPath, BinaryFile::Mode::Read)));
    ASSERT_TRUE(Succeeded(output.Open(outputPath, BinaryFile::Mode::ReadWriteCreate)));
    ASSERT_TRUE(Succeeded(CopyLineRange(input, output, 3, 58, header)));
    output.Close();

    const auto cut = TempDir::Read(outputPath);
    ASSERT_EQ(cut.size(), old.size());
    auto first = Line(pass, 3);
    std::copy(header.begin(), header.end(), first.begin());
    EXPECT_EQ(Line(cut, 1), first);
    for (std::int64_t k = 2; k <= 58; ++k) {
        EXPECT_EQ(Line(cut, k), Line(pass, k + 2)) << "output line " << k;
    }
    EXPECT_EQ(Line(cut, 59), std::vector<std::uint8_t>(kLineBytes, 0xEE));
}

TEST(CopyLineRange, AFailedWriteIsReported) {
    TempDir dir;
    const auto inputPath = dir.Write("pass.hrp", MakePass(2));
    BinaryFile input(FileRole::Input);
    BinaryFile output(FileRole::Output);
    ASSERT_TRUE(Succeeded(input.Open(inputPath, BinaryFile::Mode::Read)));
    ASSERT_TRUE(Succeeded(output.Open(inputPath, BinaryFile::Mode::Read)));
    const std::array<std::uint8_t, kLineHeaderBytes> header{};
    const Failure failure = CopyLineRange(input, output, 1, 2, header);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Problem, FileProblem::CannotWrite);
    EXPECT_EQ(failure->Role, FileRole::Output);
}

}  // namespace
}  // namespace qiv::swathly
