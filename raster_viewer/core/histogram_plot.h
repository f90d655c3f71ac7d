// The histogram plots of the Hs menu: a bar chart of the image's histogram as it is, as it would
// be after equalisation, or after the current stretch, drawn into Picture1 of the display window
// from LevelTable alone.
#pragma once

#include <cstdint>
#include <string_view>

#include "raster_viewer/core/display_view.h"
#include "raster_viewer/core/rastel_outcome.h"
#include "raster_viewer/core/rastel_texts.h"  // PlotTitle
#include "raster_viewer/core/viewer_state.h"

namespace qiv::rastel {

// Clears Picture1, builds the plotted histogram in column 4, shows the display window (not
// moved) and draws axis, ticks with their labels, bars and title. The tallest bar is 200
// pixels high; with no pixel counted at all no bar is drawn. Levels of column 2 or 3 outside
// 0..255 count at the nearest level inside.
void PlotHistogram(ViewerState& state, LevelMapping kind, DisplayView& display);

// Hs1, Hs2, Hs3: refuses before the histogram pass (TablesNotBuilt), otherwise plots.
CommandOutcome PlotFromMenu(ViewerState& state, LevelMapping kind, DisplayView& display);

}  // namespace qiv::rastel
