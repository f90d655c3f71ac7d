// Painting the image into Picture1 of the display window, one picture pixel per image pixel,
// through a transfer table (LevelMapping) and a colour scheme, upright or upside down.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "common/core/failure.h"
#include "raster_viewer/core/display_view.h"
#include "raster_viewer/core/rastel_outcome.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::rastel {

// The option button of Form1 selected at the moment of painting.
enum class ColourScheme {
    Grey,               // Option1
    ContinuousSlicing,  // Option2
    RandomSlicing,      // Option3
};

// Seconds since midnight, as single precision: what the random colours are seeded from.
using TimeOfDay = std::function<float()>;
float SystemTimeOfDay();

// ColourTable entries 0..255: the blue, green, yellow and red bands of the continuous density
// slicing, each rising from black.
void FillSlicingColours(ViewerState& state);

// ColourTable entries 0..255: entry 0 black, every other entry a random colour with components
// 0..254; each component is drawn after its own reseeding from the time of day (+0, +12, +3719).
void FillRandomColours(ViewerState& state, const TimeOfDay& timeOfDay = SystemTimeOfDay);

// Where a painting goes row by row: the rows of the painted image from the top down, each row
// left to right, as the picture shows them (upside down the last image row comes first, its last
// pixel leftmost). Row numbers count from 0 at the top of the painting, without the picture's
// margin.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual Failure TakeRow(std::int64_t row, std::span<const Colour> colours) = 0;
};

// Paints the whole image of ImagePath into sink, one row per image row, whatever its size: the
// same colours, orientation and table lowering as PaintImage, without the display window.
// Fills the colour table like PaintImage. Refuses an image without pixels or a file shorter
// than the image (TooShort), and passes on the first failure of the sink.
Failure PaintImageRows(ViewerState& state, LevelMapping mode, ColourScheme scheme, RowSink& sink,
                       const TimeOfDay& timeOfDay = SystemTimeOfDay);

// Paints the image of ImagePath: shows the display window, moves it to 1 twip from the top and
// left of the screen, fills the colour table and draws every pixel that can become visible.
// With a dimension below 1 the window is shown and nothing is painted. A file that cannot be
// opened or is shorter than the image gives the message that says so; then nothing is painted
// and the window is not shown. Table entries above 255 of the levels that occur in the image are
// lowered to 255 in place; entries below 0 are painted as level 0. Picture1 holds the painting of
// PaintImageRows at (1, 1) upright and at (0, 0) upside down; the window is told what it shows.
Failure PaintImage(ViewerState& state, LevelMapping mode, ColourScheme scheme, DisplayView& display,
                   const TimeOfDay& timeOfDay = SystemTimeOfDay);

// Px1, Px2, Px3: refuses before the histogram pass (TablesNotBuilt), otherwise paints.
CommandOutcome PaintFromMenu(ViewerState& state, LevelMapping mode, ColourScheme scheme,
                             DisplayView& display);

}  // namespace qiv::rastel
