// Start-up of Rastel_Qiv and the "Αρχείο" menu: opening and closing the image file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/core/dialogs.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::rastel {

struct PictureSizeTwips {
    std::int32_t Height = 0;
    std::int32_t Width = 0;
    friend bool operator==(const PictureSizeTwips&, const PictureSizeTwips&) = default;
};

// Sets the start-up values and captures the screen size (twips). Returns the size of the
// display window's picture area: everything below the 360-twip strip of its button.
PictureSizeTwips StartUp(ViewerState& state, std::int32_t screenHeightTwips,
                         std::int32_t screenWidthTwips);

// "Άνοιξε": asks for the image file. Returns the new caption of Label1, or no value when the
// user cancelled, in which case nothing has changed.
std::optional<std::string> OpenImage(ViewerState& state, Dialogs& dialogs);

// "Κλείσε": forgets the image file and the tables built from it, so that the next Start runs
// the histogram pass again. Returns the new caption of Label1.
std::string CloseImage(ViewerState& state);

}  // namespace qiv::rastel
