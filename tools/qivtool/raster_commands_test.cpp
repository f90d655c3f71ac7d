// The raster subcommands give what the routines give in the window for the same answers, and
// refuse in English what the routines refuse.
#include "tools/qivtool/raster_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "common/core/dimension_header.h"
#include "common/testing/failure_check.h"
#include "common/testing/memory_canvas.h"
#include "common/testing/param_name.h"
#include "common/testing/png_picture.h"
#include "common/testing/scripted_dialogs.h"
#include "common/testing/temp_dir.h"
#include "raster_viewer/core/histogram_pass.h"
#include "raster_viewer/core/node_entry.h"
#include "raster_viewer/core/subset.h"
#include "raster_viewer/testing/fake_display_view.h"
#include "tools/qivtool/run_command.h"
#include "tools/samples/raster_samples.h"

namespace qiv::qivtool {
namespace {

using qiv::testing::ScriptedDialogs;
using qiv::testing::TempDir;
using qiv::testing::Ran;
using qiv::testing::RunCommand;
using rastel::ViewerState;

constexpr std::int32_t kRows = 37;
constexpr std::int32_t kCols = 53;

// A scene of kRows x kCols whose first four bytes hold its dimension header.
std::filesystem::path SceneWithHeader(const TempDir& dir) {
    std::vector<std::uint8_t> bytes = samples::SyntheticScene(kRows, kCols, 7);
    const auto header = EncodeDimensionHeader({kRows, kCols});
    std::copy(header.begin(), header.end(), bytes.begin());
    return dir.Write("scene.raw", bytes);
}

// The state of the main window after Άνοιξε, the dimensions and Ξεκίνησε, and Td1 when nodes
// are given: what the routines build for the same answers.
ViewerState WindowTables(const std::filesystem::path& image, const std::vector<NodeText>& nodes) {
    ViewerState state;
    state.ImagePath = image.string();
    state.FileChosen = true;
    state.ImageRows = kRows;
    state.ImageCols = kCols;
    ScriptedDialogs dialogs;
    MemoryCanvas waitArea = qiv::testing::WaitArea();
    EXPECT_TRUE(testing::Succeeded(rastel::HistogramPass(state, waitArea)));
    if (!nodes.empty()) {
        dialogs.Answer(std::to_string(nodes.size()));
        for (const NodeText& node : nodes) {
            dialogs.Answer(node.X).Answer(node.Y);
        }
        EXPECT_TRUE(testing::Succeeded(rastel::NodeEntry(state, dialogs)));
    }
    EXPECT_TRUE(dialogs.Messages.empty());
    return state;
}

const std::vector<NodeText> kOneNode{{"128", "64"}};

// ---- tables ------------------------------------------------------------------------------

TEST(TablesCommandTest, TheCsvHoldsTheTablesOfThePass) {
    TempDir dir;
    const auto image = SceneWithHeader(dir);
    for (const auto& nodes : {std::vector<NodeText>{}, kOneNode}) {
        SCOPED_TRACE(std::to_string(nodes.size()) + " nodes");
        const ViewerState window = WindowTables(image, nodes);
        std::string expected = "level,count,equalised,stretched\n";
        for (int v = 0; v < 256; ++v) {
            expected += std::to_string(v) + "," + std::to_string(window.Levels.Count[v]) + "," +
                        std::to_string(window.Levels.Equalised[v]) + "," +
                        std::to_string(window.Levels.Stretched[v]) + "\n";
        }

        TablesOptions options;
        options.Image.Path = image.string();
        options.Nodes = nodes;
        const Ran stdoutRun = RunCommand(RunTables, options);
        EXPECT_EQ(stdoutRun.Status, kDone) << stdoutRun.Err;
        EXPECT_EQ(stdoutRun.Out, expected);

        options.Output = (dir / "tables.csv").string();
        const Ran fileRun = RunCommand(RunTables, options);
        EXPECT_EQ(fileRun.Status, kDone) << fileRun.Err;
        EXPECT_EQ(fileRun.Out, "");
        const auto written = TempDir::Read(options.Output);
        EXPECT_EQ(std::string(written.begin(), written.end()), expected);
    }
}

// ---- render ------------------------------------------------------------------------------

struct RenderCase {
    const char* desc;
    rastel::LevelMapping table;
    rastel::ColourScheme colours;
    bool upsideDown;
    std::vector<NodeText> nodes;
};
void PrintTo(const RenderCase& row, std::ostream* out) {
    *out << row.desc;
}

class RenderCommandTest : public ::testing::TestWithParam<RenderCase> {};

TEST_P(RenderCommandTest, ThePngIsTheWindowsPaintingPixelForPixel) {
    const RenderCase& row = GetParam();
    TempDir dir;
    const auto image = SceneWithHeader(dir);
    constexpr float kSeed = 43210.5f;

    ViewerState window = WindowTables(image, row.nodes);
    window.Orientation =
        row.upsideDown ? rastel::ImageOrientation::UpsideDown : rastel::ImageOrientation::Upright;
    testing::FakeDisplayView display(kCols + 2, kRows + 2);
    ASSERT_FALSE(rastel::PaintImage(window, row.table, row.colours, display, [] { return kSeed; }));

    RenderOptions options;
    options.Image.Path = image.string();
    options.Table = row.table;
    options.Colours = row.colours;
    options.UpsideDown = row.upsideDown;
    options.Nodes = row.nodes;
    options.Seed = kSeed;
    options.Output = (dir / "painting.png").string();
    const Ran ran = RunCommand(RunRender, options);
    ASSERT_EQ(ran.Status, kDone) << ran.Err;
    EXPECT_EQ(ran.Err, "");

    const auto png = qiv::testing::ReadPng(options.Output);
    ASSERT_TRUE(png);
    ASSERT_EQ(png->Width, kCols);
    ASSERT_EQ(png->Height, kRows);
    const int margin = row.upsideDown ? 0 : 1;  // where the window puts the painting
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kCols; ++x) {
            ASSERT_EQ(png->At(x, y), display.Picture1.At(x + margin, y + margin))
                << "at " << x << "," << y;
        }
    }
}

// clang-format off
const RenderCase kRenderCases[] = {
    {"normal grey upright", rastel::LevelMapping::Normal, rastel::ColourScheme::Grey, false, {}},
    {"equalised grey upside down", rastel::LevelMapping::Equalised, rastel::ColourScheme::Grey, true,
     {}},
    {"stretched by nodes in continuous slicing", rastel::LevelMapping::Stretched,
     rastel::ColourScheme::ContinuousSlicing, false, kOneNode},
    {"random slicing from the seed upside down", rastel::LevelMapping::Equalised,
     rastel::ColourScheme::RandomSlicing, true, {}},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Paintings, RenderCommandTest, ::testing::ValuesIn(kRenderCases),
                         qiv::testing::DescName<RenderCase>);

// ---- subset, header, info ----------------------------------------------------------------

TEST(SubsetCommandTest, TheFileIsTheSubsetOfTheWindowForTheSameAnswers) {
    TempDir dir;
    const auto image = SceneWithHeader(dir);
    ViewerState window;
    window.ImagePath = image.string();
    window.FileChosen = true;
    window.ImageRows = kRows;
    window.ImageCols = kCols;
    ScriptedDialogs dialogs;
    dialogs.Answer("10").Answer("20").Answer("3").Answer("5").File((dir / "window.raw").string());
    class NoLabels : public rastel::MainView {
        void ShowSubsetPath(std::string_view) override {}
    } form1;
    MemoryCanvas waitArea = qiv::testing::WaitArea();
    ASSERT_TRUE(testing::Succeeded(rastel::SubsetRequest(window, dialogs, form1, waitArea)));

    SubsetOptions options;
    options.Image.Path = image.string();
    options.StartRow = 10;
    options.StartCol = 20;
    options.Rows = 3;
    options.Cols = 5;
    options.Output = (dir / "command.raw").string();
    const Ran ran = RunCommand(RunSubset, options);
    ASSERT_EQ(ran.Status, kDone) << ran.Err;
    const auto written = TempDir::Read(options.Output);
    EXPECT_EQ(written.size(), 15u);
    EXPECT_EQ(written, TempDir::Read(dir / "window.raw"));
}

TEST(HeaderCommandTest, WritesTheFourBytesAndNeverMakesANewFile) {
    TempDir dir;
    const auto image = dir.Write("image.raw", std::vector<std::uint8_t>(8, 9));
    const Ran ran = RunCommand(RunHeader, HeaderOptions{image.string(), 512, 400});
    EXPECT_EQ(ran.Status, kDone) << ran.Err;
    EXPECT_EQ(TempDir::Read(image),
              (std::vector<std::uint8_t>{0x00, 0x02, 0x90, 0x01, 9, 9, 9, 9}));

    const auto missing = dir / "missing.raw";
    const Ran refused = RunCommand(RunHeader, HeaderOptions{missing.string(), 2, 2});
    EXPECT_EQ(refused.Status, kRefused);
    EXPECT_EQ(refused.Err, "qivtool test: Cannot open the input file " + missing.string() +
                               ": No such file or directory\n");
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(InfoCommandTest, TellsTheSizeTheHeaderAndWhetherTheyFit) {
    TempDir dir;
    const auto image = SceneWithHeader(dir);
    const std::string path = image.string();
    const std::string total = std::to_string(kRows * kCols);

    const Ran fits = RunCommand(RunInfo, InfoOptions{{path, std::nullopt}});
    EXPECT_EQ(fits.Status, kDone);
    EXPECT_EQ(fits.Out,
              "File: " + path + "\nBytes: " + total +
                  "\nHeader rows: 37\nHeader cols: 53\nRows: 37\nCols: 53\nImage bytes: " + total +
                  "\nFits: yes\n");

    const Ran larger = RunCommand(RunInfo, InfoOptions{{path, std::pair(40, 53)}});
    EXPECT_NE(larger.Out.find("Rows: 40\nCols: 53\nImage bytes: 2120\nFits: no\n"),
              std::string::npos)
        << larger.Out;

    const auto tiny = dir.Write("tiny.raw", std::vector<std::uint8_t>{1, 2});
    const Ran shortFile = RunCommand(RunInfo, InfoOptions{{tiny.string(), std::nullopt}});
    EXPECT_EQ(shortFile.Status, kDone);
    EXPECT_EQ(shortFile.Out, "File: " + tiny.string() +
                                 "\nBytes: 2\nHeader: none, the file is shorter than 4 "
                                 "bytes\n");
}

// ---- refusals ----------------------------------------------------------------------------

TEST(RasterRefusalTest, EachRefusalIsOneEnglishLineAndWritesNothing) {
    TempDir dir;
    const auto image = SceneWithHeader(dir);
    const auto before = TempDir::Read(image);
    const std::string path = image.string();
    const std::string out = (dir / "out.png").string();
    const auto headerless = dir.Write("zeros.raw", std::vector<std::uint8_t>(16, 0));

    RenderOptions overImage;
    overImage.Image.Path = path;
    overImage.Output = path;
    RenderOptions zeroHeader;
    zeroHeader.Image.Path = headerless.string();
    zeroHeader.Output = out;
    RenderOptions tooLarge;
    tooLarge.Image = {path, std::pair(kRows + 1, kCols)};
    tooLarge.Output = out;
    TablesOptions manyNodes;
    manyNodes.Image.Path = path;
    manyNodes.Nodes.assign(100, NodeText{"1", "1"});
    SubsetOptions outside;
    outside.Image.Path = path;
    outside.StartRow = kRows + 1;
    outside.Rows = 1;
    outside.Cols = 1;
    outside.Output = (dir / "subset.raw").string();

    const struct {
        const char* desc;
        Ran ran;
        std::string message;
    } kCases[] = {
        {"the output is the image", RunCommand(RunRender, overImage),
         "The output file is the input file: choose another output file"},
        {"a dimension header of zeros", RunCommand(RunRender, zeroHeader),
         "The image " + headerless.string() +
             " would have 0 rows and 0 columns by its dimension header: it needs at least 1 of "
             "each; give --size ROWS COLS"},
        {"a file shorter than --size", RunCommand(RunRender, tooLarge),
         "The input file " + path + " ends after 1961 bytes; 2014 are needed."},
        {"more nodes than the table holds", RunCommand(RunTables, manyNodes),
         "At most 99 nodes are allowed. The stretch was not changed."},
        {"a subset outside the image", RunCommand(RunSubset, outside),
         "The start, or the rows and columns, of the subset lie outside the image"},
    };
    for (const auto& row : kCases) {
        SCOPED_TRACE(row.desc);
        EXPECT_EQ(row.ran.Status, kRefused) << row.desc;
        EXPECT_EQ(row.ran.Err, "qivtool test: " + row.message + "\n") << row.desc;
        EXPECT_EQ(row.ran.Out, "") << row.desc;
    }
    EXPECT_EQ(TempDir::Read(image), before);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(std::filesystem::exists(dir / "subset.raw"));
}

}  // namespace
}  // namespace qiv::qivtool
