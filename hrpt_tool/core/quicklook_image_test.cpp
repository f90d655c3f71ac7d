#include "hrpt_tool/core/quicklook_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <vector>

#include "common/core/dimension_header.h"
#include "common/testing/failure_check.h"
#include "common/core/typed_number.h"
#include "common/testing/param_name.h"
#include "common/testing/reference_models.h"
#include "common/testing/temp_dir.h"

namespace qiv::swathly {
namespace {

using qiv::testing::Succeeded;

using qiv::testing::TempDir;

// ---------------------------------------------------------------------------------------------
// Sizes

struct SizeCase {
    const char* desc;
    std::int64_t lines;
    std::int64_t interval;
    QuicklookSize size;
    friend void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.desc; }
};

class QuicklookSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(QuicklookSizeTest, RowsAndColumns) {
    const SizeCase& c = GetParam();
    EXPECT_EQ(QuicklookSizeFor(c.lines, c.interval), c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Table, QuicklookSizeTest,
    ::testing::Values(SizeCase{"s 1 keeps every line and sample", 1000, 1, {1000, 2048}},
                      SizeCase{"s 3", 1000, 3, {334, 683}}, SizeCase{"s 5", 1000, 5, {200, 410}},
                      SizeCase{"s 5 one line past a multiple", 1001, 5, {201, 410}},
                      SizeCase{"s 2048 keeps one column", 1000, 2048, {1, 1}},
                      SizeCase{"s above 2048 still one column", 5000, 30000, {1, 1}},
                      SizeCase{"one line", 1, 5, {1, 410}},
                      SizeCase{"N 0 gives an empty image", 0, 5, {0, 0}},
                      SizeCase{"negative N gives an empty image", -32768, 5, {0, 0}},
                      SizeCase{"largest HRP line count", 65535, 1, {65535, 2048}}),
    qiv::testing::DescName<SizeCase>);

// ---------------------------------------------------------------------------------------------
// Sample values to bytes

struct ByteCase {
    const char* desc;
    std::int16_t value;
    std::uint8_t clipped;
    std::uint8_t scaled;
    friend void PrintTo(const ByteCase& c, std::ostream* os) { *os << c.desc; }
};

class SampleByteTest : public ::testing::TestWithParam<ByteCase> {};

TEST_P(SampleByteTest, ClipAndTenToEight) {
    const ByteCase& c = GetParam();
    EXPECT_EQ(int{ClipToByte(c.value)}, int{c.clipped});
    EXPECT_EQ(int{ScaleTenToEight(c.value)}, int{c.scaled});
    // The model that the whole-image cases and the fuzz target hold the quicklooks against.
    EXPECT_EQ(int{models::QuicklookPixel(c.value, false)}, int{c.clipped});
    EXPECT_EQ(int{models::QuicklookPixel(c.value, true)}, int{c.scaled});
}

INSTANTIATE_TEST_SUITE_P(
    Table, SampleByteTest,
    ::testing::Values(ByteCase{"minus 7", -7, 0, 0}, ByteCase{"zero", 0, 0, 0},
                      ByteCase{"one", 1, 1, 0}, ByteCase{"two", 2, 2, 0},
                      ByteCase{"three", 3, 3, 1}, ByteCase{"four", 4, 4, 1},
                      ByteCase{"seventeen", 17, 17, 4}, ByteCase{"255", 255, 255, 64},
                      ByteCase{"256", 256, 255, 64}, ByteCase{"300", 300, 255, 75},
                      ByteCase{"512 is the half that goes to even", 512, 255, 128},
                      ByteCase{"1020", 1020, 255, 254}, ByteCase{"1023", 1023, 255, 255},
                      ByteCase{"1024 beyond ten bits", 1024, 255, 255},
                      ByteCase{"1027 would scale to 256", 1027, 255, 255},
                      ByteCase{"largest word", 32767, 255, 255}, ByteCase{"minus 1", -1, 0, 0},
                      ByteCase{"smallest word", -32768, 0, 0}),
    qiv::testing::DescName<ByteCase>);

// The scaling runs in integers for speed; it must agree with the product formed in floating
// point and rounded halves to even, for every word a file can hold.
TEST(SampleByteTest, TenToEightAgreesWithTheRoundedProductForEveryWord) {
    for (int value = -32768; value <= 32767; ++value) {
        const auto word = static_cast<std::int16_t>(value);
        ASSERT_EQ(int{ScaleTenToEight(word)}, int{models::QuicklookPixel(word, true)}) << value;
    }
}

// ---------------------------------------------------------------------------------------------
// Whole images against a model of the input formats

enum class Input { Cal, SingleBand, Hrp };

constexpr std::int64_t kCalRecord = 20480;
constexpr std::int64_t kSingleRecord = 4096;
constexpr std::int64_t kHrpLine = 22180;

void PutWord(std::vector<std::uint8_t>& file, std::int64_t at, std::int16_t value) {
    WriteInt16Le(&file[static_cast<std::size_t>(at)], value);
}

std::int16_t WordAt(const std::vector<std::uint8_t>& file, std::int64_t at) {
    // Beyond the end of the input the samples read as 0.
    if (at + 1 >= static_cast<std::int64_t>(file.size())) {
        return 0;
    }
    return ReadInt16Le(&file[static_cast<std::size_t>(at)]);
}

// Where sample c of line r, band b (all from 1) lies in each input format.
std::int64_t SampleOffset(Input kind, std::int64_t r, std::int64_t c, std::int64_t b) {
    switch (kind) {
        case Input::Cal:
            return r * kCalRecord + (c - 1) * 10 + (b - 1) * 2;
        case Input::SingleBand:
            return r * kSingleRecord + (c - 1) * 2;
        case Input::Hrp:
            return (r - 1) * kHrpLine + 1500 + (c - 1) * 10 + (b - 1) * 2;
    }
    return 0;
}

// A value that tells its line, sample and band apart, in the range each format carries.
std::int16_t Value(Input kind, std::int64_t r, std::int64_t c, std::int64_t b) {
    const std::int64_t mix = r * 37 + c * 11 + b * 101;
    return static_cast<std::int16_t>(kind == Input::Hrp ? mix % 1024 : mix % 300 - 20);
}

// An input of `lines` lines with every sample filled; the product header states `stated`.
std::vector<std::uint8_t> MakeInput(Input kind, std::int64_t lines, std::int16_t stated) {
    std::vector<std::uint8_t> file;
    const std::int64_t bands = kind == Input::SingleBand ? 1 : 5;
    switch (kind) {
        case Input::Cal:
            file.resize(static_cast<std::size_t>((lines + 1) * kCalRecord), 0xAB);
            break;
        case Input::SingleBand:
            file.resize(static_cast<std::size_t>((lines + 1) * kSingleRecord), 0xAB);
            break;
        case Input::Hrp:
            file.resize(static_cast<std::size_t>(lines * kHrpLine), 0xAB);
            break;
    }
    if (kind != Input::Hrp) {
        PutWord(file, 0, stated);
    }
    for (std::int64_t r = 1; r <= lines; ++r) {
        for (std::int64_t c = 1; c <= 2048; ++c) {
            for (std::int64_t b = 1; b <= bands; ++b) {
                PutWord(file, SampleOffset(kind, r, c, b), Value(kind, r, c, b));
            }
        }
    }
    return file;
}

std::uint8_t Expected(Input kind, std::int16_t value) {
    return models::QuicklookPixel(value, kind == Input::Hrp);
}

struct ImageCase {
    const char* desc;
    Input kind;
    BandButton button;
    std::int64_t band;     // the band the button reads
    std::int64_t present;  // lines in the file
    std::int64_t lines;    // lines the header states
    std::int64_t interval;
    std::int64_t cutBytes;  // bytes taken off the end of the file
    friend void PrintTo(const ImageCase& c, std::ostream* os) { *os << c.desc; }
};

class QuicklookImageTest : public ::testing::TestWithParam<ImageCase> {};

TEST_P(QuicklookImageTest, EveryPixelComesFromItsSample) {
    const ImageCase& c = GetParam();
    TempDir dir;
    auto bytes = MakeInput(c.kind, c.present, static_cast<std::int16_t>(c.lines));
    bytes.resize(bytes.size() - static_cast<std::size_t>(c.cutBytes));
    const auto inputPath = dir.Write("input", bytes);

    BinaryFile input(FileRole::Input);
    BinaryFile output(FileRole::Output);
    ASSERT_TRUE(Succeeded(input.Open(inputPath, BinaryFile::Mode::Read)));
    ASSERT_TRUE(Succeeded(output.Open(dir / "quicklook", BinaryFile::Mode::ReadWriteCreate)));
    const SampleLayout layout =
        c.kind == Input::Hrp ? HrpLayout(c.button) : ProductLayout(c.button);
    const Failure failure = WriteQuicklookImage(input, output, layout, c.lines, c.interval);
    output.Close();
    ASSERT_TRUE(Succeeded(failure));

    const QuicklookSize size = QuicklookSizeFor(c.lines, c.interval);
    const auto image = TempDir::Read(dir / "quicklook");
    ASSERT_EQ(static_cast<std::int64_t>(image.size()),
              std::max<std::int64_t>(size.Rows * size.Cols, 4));
    // What Rastel_Qiv reads with "Διάβασε Header".
    const DimensionHeader header =
        DecodeDimensionHeader(std::span<const std::uint8_t, 4>(image.data(), 4));
    EXPECT_EQ(header.HeaderRows, size.Rows);
    EXPECT_EQ(header.HeaderCols, size.Cols);

    int wrong = 0;
    for (std::int64_t i = 0; i < size.Rows; ++i) {
        for (std::int64_t j = 0; j < size.Cols; ++j) {
            const std::int64_t at = i * size.Cols + j;
            if (at < 4) {
                continue;
            }
            const std::int64_t r = 1 + i * c.interval;
            const std::int64_t col = 1 + j * c.interval;
            const std::uint8_t want =
                Expected(c.kind, WordAt(bytes, SampleOffset(c.kind, r, col, c.band)));
            if (image[static_cast<std::size_t>(at)] != want && ++wrong <= 5) {
                ADD_FAILURE() << "pixel (" << i << ", " << j << ") is "
                              << int{image[static_cast<std::size_t>(at)]} << ", line " << r
                              << " sample " << col << " gives " << int{want};
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, QuicklookImageTest,
    ::testing::Values(
        ImageCase{"CAL band 1 every fifth", Input::Cal, BandButton::Band1, 1, 12, 12, 5, 0},
        ImageCase{"CAL band 3", Input::Cal, BandButton::Band3, 3, 12, 12, 5, 0},
        ImageCase{"CAL band 5 every third", Input::Cal, BandButton::Band5, 5, 7, 7, 3, 0},
        ImageCase{"CAL band 4 full resolution", Input::Cal, BandButton::Band4, 4, 3, 3, 1, 0},
        ImageCase{"single band every fifth", Input::SingleBand, BandButton::SingleBand, 1, 11, 11,
                  5, 0},
        ImageCase{"single band one column", Input::SingleBand, BandButton::SingleBand, 1, 5, 5,
                  2048, 0},
        ImageCase{"HRP channel 2 every fifth", Input::Hrp, BandButton::Band2, 2, 11, 11, 5, 0},
        ImageCase{"HRP single band reads channel 3", Input::Hrp, BandButton::SingleBand, 3, 6, 6, 5,
                  0},
        ImageCase{"HRP full resolution", Input::Hrp, BandButton::Band1, 1, 2, 2, 1, 0},
        ImageCase{"one pixel is the header alone", Input::Hrp, BandButton::Band5, 5, 1, 1, 2048, 0},
        ImageCase{"header states more lines than the file holds", Input::Cal, BandButton::Band2, 2,
                  4, 20, 2, 7000},
        ImageCase{"HRP shorter than its line count", Input::Hrp, BandButton::Band1, 1, 3, 9, 2,
                  15000},
        ImageCase{"N 0 writes only the header", Input::SingleBand, BandButton::SingleBand, 1, 2, 0,
                  5, 0},
        ImageCase{"negative N writes only the header", Input::SingleBand, BandButton::SingleBand, 1,
                  2, -5, 5, 0},
        ImageCase{"N 0 at full resolution reads no block of lines", Input::Hrp, BandButton::Band1,
                  1, 2, 0, 1, 0}),
    qiv::testing::DescName<ImageCase>);

TEST(QuicklookImage, Band3IsByte4OfAFiveBandSample) {
    TempDir dir;
    std::vector<std::uint8_t> bytes(2 * kCalRecord, 200);
    PutWord(bytes, 0, 1);
    for (std::int64_t c = 0; c < 2048; ++c) {
        PutWord(bytes, kCalRecord + c * 10 + 4, 77);
    }
    const auto inputPath = dir.Write("cal", bytes);
    BinaryFile input(FileRole::Input);
    BinaryFile output(FileRole::Output);
    ASSERT_TRUE(Succeeded(input.Open(inputPath, BinaryFile::Mode::Read)));
    ASSERT_TRUE(Succeeded(output.Open(dir / "quicklook", BinaryFile::Mode::ReadWriteCreate)));
    ASSERT_TRUE(
        Succeeded(WriteQuicklookImage(input, output, ProductLayout(BandButton::Band3), 1, 1)));
    const auto image = TempDir::Read(dir / "quicklook");
    ASSERT_EQ(image.size(), 2048u);
    EXPECT_EQ(std::count(image.begin() + 4, image.end(), 77), 2044);
}

TEST(QuicklookImage, LongerExistingOutputKeepsItsTail) {
    TempDir dir;
    const auto inputPath = dir.Write("sst", MakeInput(Input::SingleBand, 6, 6));
    const std::vector<std::uint8_t> old(2 * 410 + 100, 0xEE);
    const auto outputPath = dir.Write("quicklook", old);
    BinaryFile input(FileRole::Input);
    BinaryFile output(FileRole::Output);
    ASSERT_TRUE(Succeeded(input.Open(inputPath, BinaryFile::Mode::Read)));
    ASSERT_TRUE(Succeeded(output.Open(outputPath, BinaryFile::Mode::ReadWriteCreate)));
    ASSERT_TRUE(
        Succeeded(WriteQuicklookImage(input, output, ProductLayout(BandButton::SingleBand), 6, 5)));
    output.Close();
    const auto image = TempDir::Read(outputPath);
    ASSERT_EQ(image.size(), old.size());
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + 820, image.end()),
              std::vector<std::uint8_t>(100, 0xEE));
    EXPECT_NE(image[819], 0xEE);
}

TEST(QuicklookImage, AFailedWriteIsReported) {
    TempDir dir;
    const auto inputPath = dir.Write("sst", MakeInput(Input::SingleBand, 2, 2));
    BinaryFile input(FileRole::Input);
    BinaryFile output(FileRole::Output);
    ASSERT_TRUE(Succeeded(input.Open(inputPath, BinaryFile::Mode::Read)));
    // Opened for reading only, so every write fails as on a full disk.
    ASSERT_TRUE(Succeeded(output.Open(inputPath, BinaryFile::Mode::Read)));
    const Failure failure =
        WriteQuicklookImage(input, output, ProductLayout(BandButton::SingleBand), 2, 1);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Problem, FileProblem::CannotWrite);
    EXPECT_EQ(failure->Role, FileRole::Output);
    EXPECT_FALSE(failure->Reason.empty());
}

}  // namespace
}  // namespace qiv::swathly
