#include "raster_viewer/core/file_commands.h"

#include <gtest/gtest.h>

#include "common/testing/scripted_dialogs.h"

namespace qiv::rastel {
namespace {

using qiv::testing::ScriptedDialogs;

TEST(StartUpTest, SetsStartValuesAndSizesThePictureBelowTheButtonStrip) {
    ViewerState state;
    state.ImageRows = 3;
    state.TablesReady = true;
    state.FileChosen = true;
    state.Orientation = ImageOrientation::UpsideDown;
    state.NodeCount = 5;

    // 768 x 1024 pixels at 15 twips per pixel.
    EXPECT_EQ(StartUp(state, 11520, 15360), (PictureSizeTwips{11160, 15360}));
    EXPECT_EQ(state.ImageRows, 512);
    EXPECT_EQ(state.ImageCols, 512);
    EXPECT_EQ(state.TablesReady, false);
    EXPECT_EQ(state.FileChosen, false);
    EXPECT_EQ(state.Orientation, ImageOrientation::Upright);
    EXPECT_EQ(state.NodeCount, 0);
    EXPECT_EQ(state.ScreenHeight, 11520);
    EXPECT_EQ(state.ScreenWidth, 15360);

    // Beyond the 16-bit twip range (a 4K screen): the whole screen is still covered.
    EXPECT_EQ(StartUp(state, 2160 * 15, 3840 * 15), (PictureSizeTwips{32040, 57600}));
    EXPECT_EQ(state.ScreenWidth, 57600);
}

TEST(OpenCloseTest, CancelChangesNothingAndCloseKeepsDimensionsAndTables) {
    ScriptedDialogs dialogs;
    dialogs.File("/data/one.raw").File(std::nullopt).File("/data/two.raw");
    ViewerState state;
    state.ImageRows = 100;
    state.ImageCols = 200;
    state.Orientation = ImageOrientation::UpsideDown;
    state.Levels.Count[3] = 42;
    state.SubsetPath = "/data/cut.raw";

    EXPECT_EQ(OpenImage(state, dialogs), std::optional<std::string>("/data/one.raw"));
    EXPECT_EQ(dialogs.FileFilters.back(), "All Files|*.*|Text Files|*.txt");
    state.TablesReady = true;
    EXPECT_EQ(OpenImage(state, dialogs), std::nullopt);
    EXPECT_EQ(state.ImagePath, "/data/one.raw");
    EXPECT_EQ(state.FileChosen, true);
    EXPECT_EQ(OpenImage(state, dialogs), std::optional<std::string>("/data/two.raw"));
    EXPECT_EQ(state.TablesReady, true);  // another file does not clear the tables

    EXPECT_EQ(CloseImage(state), "Κανένα όνομα αρχείου");
    EXPECT_EQ(state.ImagePath, "");
    EXPECT_EQ(state.FileChosen, false);
    EXPECT_EQ(state.TablesReady, false);
    EXPECT_EQ(state.ImageRows, 100);
    EXPECT_EQ(state.ImageCols, 200);
    EXPECT_EQ(state.Orientation, ImageOrientation::UpsideDown);
    EXPECT_EQ(state.Levels.Count[3], 42);
    EXPECT_EQ(state.SubsetPath, "/data/cut.raw");
    EXPECT_TRUE(dialogs.Messages.empty());
}

}  // namespace
}  // namespace qiv::rastel
