#include "raster_viewer/core/paint_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "common/testing/failure_check.h"
#include "raster_viewer/testing/fake_display_view.h"
#include "common/testing/param_name.h"
#include "raster_viewer/core/rastel_texts.h"
#include "raster_viewer/core/raster_file.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"

namespace qiv::rastel {
namespace {

using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;
using testing::FakeDisplayView;

constexpr Colour kGround = MakeColour(1, 2, 3);  // the picture before painting

Colour Grey(int level) {
    return MakeColour(level, level, level);
}

class PaintTest : public ::testing::Test {
protected:
    // Writes an image file of rows x cols bytes and makes it the current image, tables built.
    void UseImage(std::int32_t rows, std::int32_t cols, const std::vector<std::uint8_t>& bytes) {
        state.ImagePath = dir.Write("image.raw", bytes).string();
        state.ImageRows = rows;
        state.ImageCols = cols;
    }
    void UseImage(std::int32_t rows, std::int32_t cols, std::uint8_t every) {
        UseImage(rows, cols,
                 std::vector<std::uint8_t>(static_cast<std::size_t>(rows * cols), every));
    }
    void Paint(LevelMapping mode, ColourScheme scheme, DisplayView& display) {
        EXPECT_TRUE(qiv::testing::Succeeded(
            PaintImage(state, mode, scheme, display, [] { return 43200.5f; })));
    }

    ViewerState MakeState() {
        ViewerState made;
        made.TablesReady = true;
        made.ScreenHeight = 11520;
        made.ScreenWidth = 15360;
        return made;
    }

    TempDir dir;
    ViewerState state = MakeState();
};

// ---- Where the pixels land ---------------------------------------------------------------

struct PlaceCase {
    const char* desc;
    std::int32_t rows;
    std::int32_t cols;
    int width;  // of the picture
    int height;
    bool upsideDown;
};
void PrintTo(const PlaceCase& row, std::ostream* out) {
    *out << row.desc;
}

class PaintPlaceTest : public PaintTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(PaintPlaceTest, EveryPixelLandsAtItsPlaceAndNothingElseChanges) {
    const PlaceCase& row = GetParam();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(row.rows) * row.cols);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    UseImage(row.rows, row.cols, bytes);
    state.Orientation = row.upsideDown ? ImageOrientation::UpsideDown : ImageOrientation::Upright;
    FakeDisplayView display(row.width, row.height, kGround);

    Paint(LevelMapping::Normal, ColourScheme::Grey, display);

    // Each picture pixel, worked back to the image pixel (1-based row and col) painted there.
    for (int y = 0; y < row.height; ++y) {
        for (int x = 0; x < row.width; ++x) {
            const std::int64_t imageRow = row.upsideDown ? row.rows - y : y;
            const std::int64_t imageCol = row.upsideDown ? row.cols - x : x;
            const bool painted =
                imageRow >= 1 && imageRow <= row.rows && imageCol >= 1 && imageCol <= row.cols;
            const Colour expected =
                painted ? Grey(bytes[(imageRow - 1) * row.cols + imageCol - 1]) : kGround;
            ASSERT_EQ(display.Picture1.At(x, y), expected) << "at " << x << "," << y;
        }
    }
    const std::vector<FakeDisplayView::Place> shown{{11520, 15360}}, moved{{1, 1}};
    EXPECT_EQ(display.Shows, shown);
    EXPECT_EQ(display.Moves, moved);
    EXPECT_EQ(display.Picture1.Clears(), 0);
}

// clang-format off
const PlaceCase kPlaceCases[] = {
    {"upright leaves row and column 0 untouched", 3, 5, 8, 6, false},
    {"upside down turns the image half round from 0", 3, 5, 8, 6, true},
    {"upright 512 square from 1 1 to 512 512", 512, 512, 514, 514, false},
    {"upside down 512 square from 511 511 to 0 0", 512, 512, 514, 514, true},
    {"upright larger than the picture is clipped right and below", 9, 12, 7, 5, false},
    {"upside down larger than the picture shows the end of the image", 9, 12, 7, 5, true},
    {"one pixel", 1, 1, 3, 3, false},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Places, PaintPlaceTest, ::testing::ValuesIn(kPlaceCases),
                         qiv::testing::DescName<PlaceCase>);

TEST_F(PaintTest, TheFirstAndLastBytesOfA512SquareLandAtTheCorners) {
    std::vector<std::uint8_t> bytes(512 * 512, 9);
    bytes.front() = 200;
    bytes.back() = 100;
    UseImage(512, 512, bytes);
    FakeDisplayView display(520, 520, kGround);
    Paint(LevelMapping::Normal, ColourScheme::Grey, display);
    EXPECT_EQ(display.Picture1.At(1, 1), Grey(200));
    EXPECT_EQ(display.Picture1.At(512, 512), Grey(100));
    EXPECT_EQ(display.Picture1.At(0, 0), kGround);

    state.Orientation = ImageOrientation::UpsideDown;
    Paint(LevelMapping::Normal, ColourScheme::Grey, display);
    EXPECT_EQ(display.Picture1.At(511, 511), Grey(200));
    EXPECT_EQ(display.Picture1.At(0, 0), Grey(100));
}

// ---- The whole painting row by row -------------------------------------------------------

// Collects the rows of a painting in the order they come.
class CollectedRows : public RowSink {
public:
    Failure TakeRow(std::int64_t row, std::span<const Colour> colours) override {
        Order.push_back(row);
        Rows.emplace_back(colours.begin(), colours.end());
        return {};
    }
    std::vector<std::int64_t> Order;
    std::vector<std::vector<Colour>> Rows;
};

struct RowsCase {
    const char* desc;
    bool upsideDown;
    LevelMapping mode;
    ColourScheme scheme;
};
void PrintTo(const RowsCase& row, std::ostream* out) {
    *out << row.desc;
}

class PaintRowsTest : public PaintTest, public ::testing::WithParamInterface<RowsCase> {};

TEST_P(PaintRowsTest, TheRowsAreThePictureOfTheWindowWithoutItsMargin) {
    const RowsCase& row = GetParam();
    constexpr int kRows = 5;
    constexpr int kCols = 7;
    std::vector<std::uint8_t> bytes(kRows * kCols);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 37 + 3);
    }
    UseImage(kRows, kCols, bytes);
    state.Orientation = row.upsideDown ? ImageOrientation::UpsideDown : ImageOrientation::Upright;
    for (int v = 0; v < 256; ++v) {
        state.Levels.Equalised[v] = (v * 3) % 300;  // some entries above 255, to be lowered
        state.Levels.Stretched[v] = 255 - v;
    }
    ViewerState windowState = state;
    FakeDisplayView display(kCols + 2, kRows + 2, kGround);
    ASSERT_TRUE(qiv::testing::Succeeded(
        PaintImage(windowState, row.mode, row.scheme, display, [] { return 600.0f; })));

    CollectedRows sink;
    ASSERT_TRUE(qiv::testing::Succeeded(
        PaintImageRows(state, row.mode, row.scheme, sink, [] { return 600.0f; })));

    const int margin = row.upsideDown ? 0 : 1;
    ASSERT_EQ(sink.Order, (std::vector<std::int64_t>{0, 1, 2, 3, 4}));
    for (int y = 0; y < kRows; ++y) {
        ASSERT_EQ(sink.Rows[y].size(), static_cast<std::size_t>(kCols));
        for (int x = 0; x < kCols; ++x) {
            ASSERT_EQ(sink.Rows[y][x], display.Picture1.At(x + margin, y + margin))
                << "at " << x << "," << y;
        }
    }
    EXPECT_EQ(state.Levels, windowState.Levels);
    ASSERT_EQ(display.Paintings.size(), 1u);
    EXPECT_EQ(display.Paintings[0].Rows, kRows);
    EXPECT_EQ(display.Paintings[0].Orientation, state.Orientation);
}

// clang-format off
const RowsCase kRowsCases[] = {
    {"upright grey", false, LevelMapping::Normal, ColourScheme::Grey},
    {"upside down grey", true, LevelMapping::Normal, ColourScheme::Grey},
    {"upside down equalised with lowered entries", true, LevelMapping::Equalised, ColourScheme::Grey},
    {"stretched continuous slicing", false, LevelMapping::Stretched, ColourScheme::ContinuousSlicing},
    {"random slicing from the same time", true, LevelMapping::Normal, ColourScheme::RandomSlicing},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Rows, PaintRowsTest, ::testing::ValuesIn(kRowsCases),
                         qiv::testing::DescName<RowsCase>);

TEST_F(PaintTest, TheRowsStopAtTheFirstFailureOfTheirSink) {
    UseImage(4, 2, 9);
    class FailingSink : public RowSink {
    public:
        Failure TakeRow(std::int64_t row, std::span<const Colour>) override {
            ++taken;
            return row == 1 ? Failure(Failure::Details{FileProblem::CannotWrite, FileRole::Output, {}, {}})
                            : Failure();
        }
        int taken = 0;
    } sink;
    const Failure failure = PaintImageRows(state, LevelMapping::Normal, ColourScheme::Grey, sink);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Problem, FileProblem::CannotWrite);
    EXPECT_EQ(sink.taken, 2);
}

// ---- Colours -----------------------------------------------------------------------------

struct ColourCase {
    const char* desc;
    LevelMapping mode;
    ColourScheme scheme;
    std::uint8_t stored;      // the byte in the file
    std::int32_t tableEntry;  // LevelTable (stored, 2 and 3)
    Colour painted;
    std::int32_t entryAfter;  // the table entry after painting
};
void PrintTo(const ColourCase& row, std::ostream* out) {
    *out << row.desc;
}

class PaintColourTest : public PaintTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(PaintColourTest, ALevelIsPaintedInTheColourOfItsScheme) {
    const ColourCase& row = GetParam();
    UseImage(1, 1, row.stored);
    state.Levels.Equalised[row.stored] = row.tableEntry;
    state.Levels.Stretched[row.stored] = row.tableEntry;
    FakeDisplayView display(4, 4, kGround);

    Paint(row.mode, row.scheme, display);

    EXPECT_EQ(display.Picture1.At(1, 1), row.painted);
    const auto& column =
        row.mode == LevelMapping::Stretched ? state.Levels.Stretched : state.Levels.Equalised;
    EXPECT_EQ(column[row.stored], row.entryAfter);
}

// clang-format off
const ColourCase kColourCases[] = {
    {"grey level 100", LevelMapping::Normal, ColourScheme::Grey, 100, 7, Grey(100), 7},
    {"normal painting ignores the tables", LevelMapping::Normal, ColourScheme::Grey, 100, 300,
     Grey(100), 300},
    {"slicing 60 is the brightest blue", LevelMapping::Normal, ColourScheme::ContinuousSlicing, 60, 0,
     MakeColour(0, 0, 252), 0},
    {"slicing 61 starts the green band black", LevelMapping::Normal, ColourScheme::ContinuousSlicing,
     61, 0, kBlack, 0},
    {"slicing 130 is dark yellow", LevelMapping::Normal, ColourScheme::ContinuousSlicing, 130, 0,
     MakeColour(38, 38, 0), 0},
    {"slicing 180 is the brightest yellow", LevelMapping::Normal, ColourScheme::ContinuousSlicing, 180,
     0, MakeColour(248, 248, 0), 0},
    {"slicing 255 is the brightest red", LevelMapping::Normal, ColourScheme::ContinuousSlicing, 255, 0,
     MakeColour(252, 0, 0), 0},
    {"equalised level through column 2", LevelMapping::Equalised, ColourScheme::Grey, 10, 60,
     Grey(60), 60},
    {"stretched level through the slicing", LevelMapping::Stretched, ColourScheme::ContinuousSlicing,
     10, 130, MakeColour(38, 38, 0), 130},
    {"equalised entry 300 is painted 255 and lowered", LevelMapping::Equalised, ColourScheme::Grey, 10,
     300, Grey(255), 255},
    {"stretched entry above 255 is lowered too", LevelMapping::Stretched,
     ColourScheme::ContinuousSlicing, 10, 32767, MakeColour(252, 0, 0), 255},
    {"an entry below 0 is painted as level 0 and kept", LevelMapping::Stretched, ColourScheme::Grey,
     10, -40, Grey(0), -40},
    {"random level 0 is black", LevelMapping::Stretched, ColourScheme::RandomSlicing, 10, 0, kBlack, 0},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Colours, PaintColourTest, ::testing::ValuesIn(kColourCases),
                         qiv::testing::DescName<ColourCase>);

TEST_F(PaintTest, OnlyEntriesOfLevelsInTheImageAreLoweredWhereverThePixelLands) {
    std::vector<std::uint8_t> bytes(6 * 6, 1);
    bytes.back() = 2;  // lands outside a 4 x 4 picture
    UseImage(6, 6, bytes);
    for (const int v : {1, 2, 3}) {
        state.Levels.Equalised[v] = 300;
    }
    FakeDisplayView display(4, 4, kGround);

    Paint(LevelMapping::Equalised, ColourScheme::Grey, display);

    EXPECT_EQ(state.Levels.Equalised[1], 255);
    EXPECT_EQ(state.Levels.Equalised[2], 255);
    EXPECT_EQ(state.Levels.Equalised[3], 300);  // no pixel of level 3
    EXPECT_EQ(display.Picture1.At(3, 3), Grey(255));
}

TEST_F(PaintTest, RandomColoursComeFromThreeSeedingsAndKeepEntryZeroBlack) {
    const auto fill = [](float seconds) {
        ViewerState filled;
        int reads = 0;
        FillRandomColours(filled, [&] {
            ++reads;
            return seconds;
        });
        EXPECT_EQ(reads, 3);
        return filled.ColourTable;
    };
    const auto at1000 = fill(1000.0f);
    const auto at1012 = fill(1012.0f);
    const auto later = fill(1000.25f);

    EXPECT_EQ(at1000[0].Red, 0);
    EXPECT_EQ(at1000[0].Green, 0);
    EXPECT_EQ(at1000[0].Blue, 0);
    int differing = 0;
    for (int i = 1; i < 256; ++i) {
        EXPECT_GE(at1000[i].Red, 0);
        EXPECT_LE(at1000[i].Red, 254);
        EXPECT_LE(at1000[i].Blue, 254);
        // green is seeded with the time + 12, so it repeats the red of a time 12 s later
        EXPECT_EQ(at1000[i].Green, at1012[i].Red) << i;
        differing += later[i].Red != at1000[i].Red ? 1 : 0;
    }
    EXPECT_GT(differing, 200);
    EXPECT_EQ(at1000[256].Red, 0);
}

TEST_F(PaintTest, RandomPaintingsDifferFromOneTimeToTheNext) {
    std::vector<std::uint8_t> bytes(256);
    for (int v = 0; v < 256; ++v) {
        bytes[v] = static_cast<std::uint8_t>(v);
    }
    UseImage(1, 256, bytes);
    FakeDisplayView first(258, 3), second(258, 3);
    ASSERT_TRUE(qiv::testing::Succeeded(PaintImage(
        state, LevelMapping::Normal, ColourScheme::RandomSlicing, first, [] { return 100.0f; })));
    ASSERT_TRUE(qiv::testing::Succeeded(PaintImage(
        state, LevelMapping::Normal, ColourScheme::RandomSlicing, second, [] { return 101.0f; })));
    int differing = 0;
    for (int x = 1; x <= 256; ++x) {
        differing += first.Picture1.At(x, 1) != second.Picture1.At(x, 1) ? 1 : 0;
    }
    EXPECT_GT(differing, 200);
    EXPECT_EQ(first.Picture1.At(1, 1), kBlack);
}

// ---- Painting over what is there ---------------------------------------------------------

TEST_F(PaintTest, ASmallerImageLeavesTheLargerOneVisibleAroundIt) {
    FakeDisplayView display(12, 12, kGround);
    UseImage(8, 8, 200);
    Paint(LevelMapping::Normal, ColourScheme::Grey, display);
    UseImage(4, 4, 50);
    Paint(LevelMapping::Normal, ColourScheme::Grey, display);

    EXPECT_EQ(display.Picture1.At(4, 4), Grey(50));
    EXPECT_EQ(display.Picture1.At(5, 4), Grey(200));
    EXPECT_EQ(display.Picture1.At(8, 8), Grey(200));
    EXPECT_EQ(display.Picture1.At(9, 9), kGround);
    EXPECT_EQ(display.Picture1.Clears(), 0);
}

// ---- Refusals and empty images -----------------------------------------------------------

struct RefusalCase {
    const char* desc;
    bool tablesReady;
    std::int32_t rows;
    std::int32_t cols;
    std::size_t fileBytes;  // written as the image; SIZE_MAX: no file at all
    bool expectMessage;
    bool expectShown;
};
void PrintTo(const RefusalCase& row, std::ostream* out) {
    *out << row.desc;
}

class PaintRefusalTest : public PaintTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(PaintRefusalTest, NothingIsPainted) {
    const RefusalCase& row = GetParam();
    state.TablesReady = row.tablesReady;
    state.ImageRows = row.rows;
    state.ImageCols = row.cols;
    state.ImagePath = (dir / "image.raw").string();
    if (row.fileBytes != SIZE_MAX) {
        dir.Write("image.raw", std::vector<std::uint8_t>(row.fileBytes, 77));
    }
    state.Levels.Equalised[77] = 999;
    FakeDisplayView display(10, 10, kGround);
    ScriptedDialogs dialogs;

    ShowOutcome(PaintFromMenu(state, LevelMapping::Equalised, ColourScheme::Grey, display),
                dialogs);

    EXPECT_EQ(dialogs.Messages.size(), row.expectMessage ? 1u : 0u);
    EXPECT_EQ(display.Shows.size(), row.expectShown ? 1u : 0u);
    EXPECT_EQ(display.Moves.size(), row.expectShown ? 1u : 0u);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            ASSERT_EQ(display.Picture1.At(x, y), kGround) << x << "," << y;
        }
    }
    EXPECT_EQ(state.Levels.Equalised[77], 999);
}

// clang-format off
const RefusalCase kRefusalCases[] = {
    {"before the pass", false, 2, 2, 4, true, false},
    {"a file shorter than the image", true, 3, 3, 8, true, false},
    {"a missing file", true, 2, 2, SIZE_MAX, true, false},
    {"no rows shows the window only", true, 0, 5, 4, false, true},
    {"no columns shows the window only", true, 5, -1, 4, false, true},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Refusals, PaintRefusalTest, ::testing::ValuesIn(kRefusalCases),
                         qiv::testing::DescName<RefusalCase>);

TEST_F(PaintTest, TheMessagesNameTheProblem) {
    state.ImageRows = 3;
    state.ImageCols = 3;
    state.ImagePath = dir.Write("short.raw", std::vector<std::uint8_t>(8, 1)).string();
    FakeDisplayView display(10, 10);
    ScriptedDialogs dialogs;
    ShowOutcome(PaintFromMenu(state, LevelMapping::Normal, ColourScheme::Grey, display), dialogs);
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{ShortFileMessage(state.ImagePath, 9, 8)});

    state.TablesReady = false;
    ShowOutcome(PaintFromMenu(state, LevelMapping::Normal, ColourScheme::Grey, display), dialogs);
    EXPECT_EQ(dialogs.Messages.back(), "πάτησε πρώτα το κουμπί -Ξεκίνησε-");
}

}  // namespace
}  // namespace qiv::rastel
