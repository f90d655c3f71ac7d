// The histogram pass behind "Ξεκίνησε": one read of the whole image that fills LevelTable
// column 1 with the histogram, column 2 with the histogram-equalisation table and column 3
// with the default three-piece linear stretch (0 -> 0, LowCut -> 10, HighCut -> 245,
// 255 -> 255), then marks the tables ready. It runs once between start-up (or Close) and the
// next Close.
#pragma once

#include <cstdint>

#include "common/core/canvas.h"
#include "common/core/dialogs.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::rastel {

enum class PassOutcome {
    Built,         // the tables were built from the image
    NoFileChosen,  // refused: no image file chosen (message shown)
    AlreadyBuilt,  // the tables of an earlier pass stay in force; the file was not read
    Refused,       // the image could not be read (message shown); nothing changed
};

struct PassResult {
    PassOutcome Outcome = PassOutcome::AlreadyBuilt;
    // The cut points of the default stretch, when the tables were built: LowCut is the first
    // level from 1 on whose cumulative fraction reaches 0.1, HighCut the first one whose
    // fraction exceeds 0.9.
    std::int16_t LowCut = 0;
    std::int16_t HighCut = 0;
};

// The pass itself. The wait notice shows in waitArea while the file is read and is cleared
// afterwards, also when the pass refuses the file. On any refusal LevelTable and TablesReady
// keep their values.
PassResult HistogramPass(ViewerState& state, Dialogs& dialogs, Canvas& waitArea);

// "Ξεκίνησε": the pass when no tables have been built yet, then in every case the clearing of
// the display window's picture area.
PassResult Start(ViewerState& state, Dialogs& dialogs, Canvas& waitArea, Canvas& displayArea);

}  // namespace qiv::rastel
