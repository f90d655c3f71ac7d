#include "raster_viewer/core/file_commands.h"

#include <algorithm>

#include "raster_viewer/core/rastel_texts.h"

namespace qiv::rastel {

PictureSizeTwips StartUp(ViewerState& state, std::int32_t screenHeightTwips,
                         std::int32_t screenWidthTwips) {
    state.ImageRows = 512;
    state.ImageCols = 512;
    state.NodeCount = 0;
    state.TablesReady = false;
    state.FileChosen = false;
    state.Orientation = ImageOrientation::Upright;
    state.ScreenHeight = screenHeightTwips;
    state.ScreenWidth = screenWidthTwips;
    // 32-bit twips: a screen of any size fits; a screen lower than the button strip gets an
    // empty picture area rather than a negative one.
    return {std::max(0, state.ScreenHeight - 360), std::max(0, state.ScreenWidth)};
}

std::optional<std::string> OpenImage(ViewerState& state, Dialogs& dialogs) {
    std::optional<std::string> chosen = dialogs.ChooseFile(kImageFileFilter);
    if (!chosen) {
        return std::nullopt;
    }
    state.ImagePath = std::move(*chosen);
    state.FileChosen = true;
    return state.ImagePath;
}

std::string CloseImage(ViewerState& state) {
    state.TablesReady = false;
    state.FileChosen = false;
    state.ImagePath.clear();
    return std::string(kNoFileCaption);
}

}  // namespace qiv::rastel
