// The histogram pass behind "Ξεκίνησε": one read of the whole image that fills LevelTable
// column 1 with the histogram, column 2 with the histogram-equalisation table and column 3
// with the default three-piece linear stretch (0 -> 0, LowCut -> 10, HighCut -> 245,
// 255 -> 255), then marks the tables ready. It runs once between start-up (or Close) and the
// next Close.
#pragma once

#include <cstdint>

#include "common/core/canvas.h"
#include "raster_viewer/core/rastel_outcome.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::rastel {

// The pass itself, done also when the tables of an earlier pass stay in force (then the file is
// not read). A built pass sets TablesReady and the cut points LowCut and HighCut of the state.
// Refuses without an image file (PassWithoutImage) or pixels (NoPixels), and fails when the
// image cannot be read. The wait notice shows in waitArea while the file is read and is cleared
// afterwards, also when the read fails. On any refusal or failure the state keeps its values.
CommandOutcome HistogramPass(ViewerState& state, Canvas& waitArea);

// "Ξεκίνησε": the pass when no tables have been built yet, then in every case the clearing of
// the display window's picture area.
CommandOutcome Start(ViewerState& state, Canvas& waitArea, Canvas& displayArea);

}  // namespace qiv::rastel
