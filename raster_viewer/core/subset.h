// "Subset": cutting a rectangle of the image into a new raster file whose dimension header
// gives the rectangle's rows and columns.
#pragma once

#include "common/core/canvas.h"
#include "common/core/dialogs.h"
#include "common/core/failure.h"
#include "raster_viewer/core/main_view.h"
#include "raster_viewer/core/rastel_outcome.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::rastel {

// Where the prompts stand on the screen, in twips.
inline constexpr int kSubsetPromptLeft = 100;
inline constexpr int kSubsetPromptTop = 5000;

// SubsetRequest: asks for the first row and column, checks them, asks for the row and column
// counts, checks the rectangle, asks for the name of the new file, shows it in Label4 and cuts
// the subset into it. It stops at the first refusal or failure and returns it, for the caller
// to show as its message box; then nothing is written and Label4 keeps its caption. A
// cancelled file dialog is done. The subset fields of the state keep whatever was typed, also
// when the request stops half-way.
CommandOutcome SubsetRequest(ViewerState& state, Dialogs& dialogs, MainView& form1,
                             Canvas& waitArea);

// CutSubset: copies the rectangle of the subset fields row by row from ImagePath into
// SubsetPath and writes the dimension header over the new file's first four bytes. SubsetPath
// is created when missing and never shortened, so the tail of a longer file stays. The image
// is only read. Checks everything it relies on itself (the rectangle, the image file, that
// SubsetPath is not the image); nothing is written on a failure, except for a write that fails
// half-way. A rectangle that SubsetRequest would refuse is refused for the same reason.
CommandOutcome CutSubset(const ViewerState& state, Canvas& waitArea);

}  // namespace qiv::rastel
