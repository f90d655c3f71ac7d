#include "raster_viewer/core/histogram_pass.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <vector>

#include "common/testing/memory_canvas.h"
#include "common/testing/param_name.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "raster_viewer/core/file_commands.h"
#include "raster_viewer/core/rastel_texts.h"

namespace qiv::rastel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;

// count pixels of each listed level, in this order
Bytes Levels(std::initializer_list<std::pair<int, int>> runs) {
    Bytes bytes;
    for (const auto& [count, level] : runs) {
        bytes.insert(bytes.end(), static_cast<std::size_t>(count),
                     static_cast<std::uint8_t>(level));
    }
    return bytes;
}

Bytes EveryLevelOnce() {
    Bytes bytes(256);
    for (int i = 0; i < 256; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i);
    }
    return bytes;
}

// A column of the tables by the number the rows below give it: 1 the histogram, 2 the
// equalisation table, 3 the stretch, 4 the plotted histogram.
std::array<std::int32_t, 256>& Column(LevelTable& levels, int column) {
    switch (column) {
        case 1:
            return levels.Count;
        case 2:
            return levels.Equalised;
        case 3:
            return levels.Stretched;
        default:
            return levels.Plotted;
    }
}

struct Entry {
    int level;
    int column;
    std::int32_t value;
};

struct PassCase {
    const char* desc;
    std::int32_t rows;
    std::int32_t cols;
    std::function<Bytes()> image;
    std::int16_t lowCut;
    std::int16_t highCut;
    std::vector<Entry> entries;
    friend void PrintTo(const PassCase& c, std::ostream* os) { *os << c.desc; }
};

struct Fixture {
    TempDir dir;
    ScriptedDialogs dialogs;
    MemoryCanvas waitArea = qiv::testing::WaitArea();
    MemoryCanvas displayArea{64, 48};
    ViewerState state;

    void Choose(const std::string& name, const Bytes& bytes, std::int32_t rows, std::int32_t cols) {
        state.ImagePath = dir.Write(name, bytes).string();
        state.FileChosen = true;
        state.ImageRows = rows;
        state.ImageCols = cols;
    }
};

class HistogramPassTable : public ::testing::TestWithParam<PassCase> {};

TEST_P(HistogramPassTable, CutPointsAndTables) {
    const PassCase& c = GetParam();
    Fixture f;
    f.Choose("image.raw", c.image(), c.rows, c.cols);
    f.state.Levels.Plotted[7] = 1234;  // column 4 belongs to the plots

    const CommandOutcome result = Start(f.state, f.waitArea, f.displayArea);

    ASSERT_TRUE(result.Done()) << MessageFor(result);
    ASSERT_TRUE(f.state.TablesReady);
    EXPECT_EQ(f.state.LowCut, c.lowCut);
    EXPECT_EQ(f.state.HighCut, c.highCut);
    for (const Entry& e : c.entries) {
        EXPECT_EQ(Column(f.state.Levels, e.column)[e.level], e.value)
            << "level " << e.level << ", column " << e.column;
    }
    EXPECT_EQ(f.state.Levels.Plotted[7], 1234);
    EXPECT_EQ(f.state.TablesReady, true);
    EXPECT_TRUE(f.dialogs.Messages.empty());
    // The wait notice was shown, then cleared.
    EXPECT_EQ(f.waitArea.Clears(), 1);
    EXPECT_TRUE(f.waitArea.Texts().empty());
    EXPECT_EQ(f.displayArea.Clears(), 1);
}

// One image per row, its cut points, then (level, column, value) entries of the tables.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    EdgeCases, HistogramPassTable,
    ::testing::Values(
        PassCase{"every grey level once",
                 16, 16, EveryLevelOnce, 25, 230,
                 {{0, 1, 1}, {255, 1, 1}, {0, 2, 1}, {128, 2, 128}, {255, 2, 255},
                  {1, 3, 0}, {24, 3, 10}, {25, 3, 10}, {26, 3, 11}, {100, 3, 96},
                  {229, 3, 244}, {230, 3, 245}, {231, 3, 245}, {254, 3, 255}, {255, 3, 255}}},
        PassCase{"fraction of exactly 0.9 does not stop the high cut",
                 2, 5, [] { return Levels({{9, 50}, {1, 200}}); }, 50, 200,
                 {{50, 1, 9}, {200, 1, 1}, {49, 3, 10}, {50, 3, 10}, {51, 3, 12}, {100, 3, 88},
                  {199, 3, 243}, {200, 3, 245}, {255, 3, 255}}},
        PassCase{"one level only",
                 3, 7, [] { return Levels({{21, 100}}); }, 100, 100,
                 {{99, 2, 0}, {100, 2, 255}, {255, 2, 255}, {99, 3, 10}, {100, 3, 10},
                  {101, 3, 245}, {200, 3, 251}}},
        PassCase{"all pixels 0: level 0 is never a cut point",
                 4, 4, [] { return Levels({{16, 0}}); }, 1, 1,
                 {{0, 1, 16}, {0, 2, 255}, {128, 2, 255}, {0, 3, 0}, {1, 3, 10}, {2, 3, 245},
                  {128, 3, 250}, {255, 3, 255}}},
        PassCase{"high cut at 255 leaves the third piece empty",
                 10, 10, [] { return Levels({{50, 100}, {50, 255}}); }, 100, 255,
                 {{99, 2, 0}, {100, 2, 128}, {254, 2, 128}, {255, 2, 255}, {100, 3, 10},
                  {101, 3, 12}, {200, 3, 162}, {254, 3, 243}, {255, 3, 245}}},
        PassCase{"both cuts at 255: everything in the first piece",
                 10, 10, [] { return Levels({{5, 0}, {95, 255}}); }, 255, 255,
                 {{0, 2, 13}, {254, 2, 13}, {255, 2, 255}, {1, 3, 0}, {128, 3, 5}, {254, 3, 10},
                  {255, 3, 10}}},
        PassCase{"halves round to even",
                 1, 10, [] { return Levels({{1, 20}, {9, 200}}); }, 20, 200,
                 {{1, 3, 0}, {3, 3, 2}, {5, 3, 2}, {20, 3, 10}}},
        PassCase{"dimension header bytes count as pixels",
                 2, 4, [] { return Bytes{0x00, 0x02, 0x90, 0x01, 7, 7, 7, 7}; }, 1, 0x90,
                 {{0, 1, 1}, {1, 1, 1}, {2, 1, 1}, {0x90, 1, 1}, {7, 1, 4}}},
        PassCase{"rows longer than one read",
                 2, 1500000, [] { return Levels({{1500000, 3}, {1500000, 250}}); }, 3, 250,
                 {{3, 1, 1500000}, {250, 1, 1500000}, {3, 2, 128}, {250, 2, 255}}},
        PassCase{"bytes beyond the image are not read",
                 2, 3, [] { return Levels({{6, 40}, {10, 90}}); }, 40, 40,
                 {{40, 1, 6}, {90, 1, 0}}}),
    qiv::testing::DescName<PassCase>);
// clang-format on

// Beyond 8,421,504 pixels a cumulative count times 255 no longer fits 32 bits; the tables must
// still be those of the image.
TEST(HistogramPassTest, LargeImageGetsExactTables) {
    Fixture f;
    constexpr std::int32_t kSide = 4096;
    const auto path = f.dir / "large.raw";
    {
        std::ofstream out(path, std::ios::binary);
        const Bytes zeros(static_cast<std::size_t>(kSide) * kSide * 3 / 4, 0);
        const Bytes whites(static_cast<std::size_t>(kSide) * kSide / 4, 255);
        out.write(reinterpret_cast<const char*>(zeros.data()),
                  static_cast<std::streamsize>(zeros.size()));
        out.write(reinterpret_cast<const char*>(whites.data()),
                  static_cast<std::streamsize>(whites.size()));
    }
    f.state.ImagePath = path.string();
    f.state.FileChosen = true;
    f.state.ImageRows = kSide;
    f.state.ImageCols = kSide;

    const CommandOutcome result = HistogramPass(f.state, f.waitArea);

    ASSERT_TRUE(result.Done()) << MessageFor(result);
    EXPECT_EQ(f.state.LowCut, 1);
    EXPECT_EQ(f.state.HighCut, 255);
    EXPECT_EQ(f.state.Levels.Count[0], kSide * kSide / 4 * 3);
    EXPECT_EQ(f.state.Levels.Equalised[0], 191);  // 0.75 x 255 = 191.25
    EXPECT_EQ(f.state.Levels.Equalised[254], 191);
    EXPECT_EQ(f.state.Levels.Equalised[255], 255);
    EXPECT_EQ(f.state.Levels.Stretched[255], 245);
}

// Open, pass, open another file, Start: the first file's tables stay and the file is not read
// again (its new contents would show). Close, Open, Start: the pass runs on the new file.
TEST(HistogramPassTest, RunsOnceUntilClose) {
    Fixture f;
    f.Choose("first.raw", Levels({{16, 10}}), 4, 4);
    ASSERT_TRUE(Start(f.state, f.waitArea, f.displayArea).Done());
    ASSERT_TRUE(f.state.TablesReady);
    const LevelTable first = f.state.Levels;

    f.Choose("first.raw", Levels({{16, 99}}), 4, 4);  // same file, other contents
    const CommandOutcome again = Start(f.state, f.waitArea, f.displayArea);
    EXPECT_TRUE(again.Done());
    EXPECT_EQ(f.state.Levels, first);
    EXPECT_EQ(f.waitArea.Clears(), 1);  // no second wait notice
    EXPECT_EQ(f.displayArea.Clears(), 2);

    f.Choose("second.raw", Levels({{16, 200}}), 4, 4);
    EXPECT_TRUE(Start(f.state, f.waitArea, f.displayArea).Done());
    EXPECT_EQ(f.waitArea.Clears(), 1);  // the file was not read
    EXPECT_EQ(f.state.Levels.Count[10], 16);

    CloseImage(f.state);
    f.dialogs.File((f.dir / "second.raw").string());
    ASSERT_TRUE(OpenImage(f.state, f.dialogs));
    EXPECT_TRUE(Start(f.state, f.waitArea, f.displayArea).Done());
    EXPECT_EQ(f.waitArea.Clears(), 2);  // read again
    EXPECT_EQ(f.state.Levels.Count[10], 0);
    EXPECT_EQ(f.state.Levels.Count[200], 16);
    EXPECT_TRUE(f.dialogs.Messages.empty());
}

struct RefusalCase {
    const char* desc;
    std::int32_t rows;
    std::int32_t cols;
    bool fileChosen;
    bool fileExists;
    std::string message;  // "%" stands for the image path
    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.desc; }
};

class HistogramPassRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(HistogramPassRefusal, LeavesTablesAndFlagAndClearsTheNotice) {
    const RefusalCase& c = GetParam();
    Fixture f;
    f.Choose("image.raw", Levels({{12, 5}}), c.rows, c.cols);
    if (!c.fileExists) {
        std::filesystem::remove(f.state.ImagePath);
    }
    if (!c.fileChosen) {
        f.state.FileChosen = false;
    }
    for (int level = 0; level < 256; ++level) {
        for (int column = 1; column <= 4; ++column) {
            Column(f.state.Levels, column)[level] = level * 10 + column;
        }
    }
    const LevelTable before = f.state.Levels;

    const CommandOutcome result = Start(f.state, f.waitArea, f.displayArea);
    ShowOutcome(result, f.dialogs);  // as the window shows it

    std::string expected = c.message;
    if (const auto at = expected.find('%'); at != std::string::npos) {
        expected.replace(at, 1, f.state.ImagePath);
    }
    EXPECT_EQ(f.dialogs.Messages, std::vector<std::string>{expected});
    EXPECT_EQ(result.Is(Refusal::PassWithoutImage), !c.fileChosen);
    EXPECT_EQ(f.state.Levels, before);
    EXPECT_EQ(f.state.TablesReady, false);
    EXPECT_TRUE(f.waitArea.Texts().empty());
    EXPECT_EQ(f.displayArea.Clears(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, HistogramPassRefusal,
    ::testing::Values(
        RefusalCase{"no file chosen", 3, 4, false, true, "πάτησε πρώτα το κουμπί -Όνομα Αρχείου-"},
        RefusalCase{"no rows", 0, 4, true, true,
                    "Λάθος διαστάσεις εικόνας: 0 Γραμμές, 4 Στήλες. Χρειάζεται τουλάχιστον 1 "
                    "Γραμμή και 1 Στήλη."},
        RefusalCase{"negative columns", 3, -4, true, true,
                    "Λάθος διαστάσεις εικόνας: 3 Γραμμές, -4 Στήλες. Χρειάζεται τουλάχιστον 1 "
                    "Γραμμή και 1 Στήλη."},
        RefusalCase{"file that cannot be opened", 3, 4, true, false,
                    "Δεν ανοίγει το αρχείο εικόνας \"%\" (No such file or directory)."},
        RefusalCase{"file shorter than the image", 4, 4, true, true,
                    "Το αρχείο εικόνας \"%\" είναι μικρότερο από τις διαστάσεις του: χρειάζονται "
                    "16 bytes, έχει 12 bytes."},
        RefusalCase{"dimensions whose product overflows 32 bits", 2147483647, 2147483647, true,
                    true,
                    "Το αρχείο εικόνας \"%\" είναι μικρότερο από τις διαστάσεις του: χρειάζονται "
                    "4611686014132420609 bytes, έχει 12 bytes."}),
    qiv::testing::DescName<RefusalCase>);

}  // namespace
}  // namespace qiv::rastel
