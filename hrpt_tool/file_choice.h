// Choosing the input, output and calibration files through the program's file dialog.
#pragma once

#include <string_view>

#include "dialogs.h"
#include "swathly_state.h"

namespace qiv::swathly {

inline constexpr std::string_view kFileFilter = "All Files|*.*|Text Files|*.txt";

// Each returns true when it took a path (and set its flag). A cancelled dialog takes nothing.

// The input is chosen once for the run: once InputChosen is set no dialog is shown. A file
// that cannot be opened for reading is refused with a message, so that the choice can be made
// again.
bool ChooseInputFile(SwathlyState& state, Dialogs& dialogs);
// The output may be chosen again at any time; the file need not exist yet.
bool ChooseOutputFile(SwathlyState& state, Dialogs& dialogs);
// The calibration file need not exist yet; the input file itself is refused.
bool ChooseCalibrationFile(SwathlyState& state, Dialogs& dialogs);

}  // namespace qiv::swathly
