// The display window Form3 as the drawing routines see it: a window that can be shown and
// moved, with the picture area Picture1 inside. The real window implements it; the tests use a
// fake that draws into memory and records where the window was asked to go.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/core/canvas.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::rastel {

// The last painting that Picture1 shows, as the window needs it to tell what a pixel holds:
// which image, its size and orientation, and the grey level each stored value was painted as.
struct PaintedImage {
    std::string ImagePath;
    std::int32_t Rows = 0;
    std::int32_t Cols = 0;
    ImageOrientation Orientation = ImageOrientation::Upright;
    std::array<std::int32_t, 256> PaintedLevel{};
};

class DisplayView {
public:
    virtual ~DisplayView() = default;

    // Shows the window without blocking the caller and gives it this size, in twips.
    virtual void ShowSized(std::int32_t heightTwips, std::int32_t widthTwips) = 0;
    // Places the window's top-left corner, in twips from the top-left corner of the screen.
    virtual void MoveTo(std::int32_t topTwips, std::int32_t leftTwips) = 0;
    // Picture1, in pixels.
    virtual Canvas& Picture() = 0;
    // Picture1 now shows this painting (over whatever it did not cover).
    virtual void PaintingShown(const PaintedImage& painting) = 0;
    // Picture1 now shows a histogram plot of the image at imagePath.
    virtual void PlotShown(std::string_view imagePath) = 0;
};

// Brings the display window up for a painting or a plot: shown at the size of the screen.
// It is not moved; the painting moves it afterwards, the plots leave it where it is.
void ShowDisplayWindow(const ViewerState& state, DisplayView& display);

// The orientation switch Command3: flips Orientation and returns the new caption of Label3.
std::string_view ToggleOrientation(ViewerState& state);

inline constexpr std::string_view kUprightCaption = "Όρθια";
inline constexpr std::string_view kUpsideDownCaption = "Άνω κάτω";

}  // namespace qiv::rastel
