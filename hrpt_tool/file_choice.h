// Choosing the input, output and calibration files through the program's file dialog.
#pragma once

#include <optional>
#include <string>

#include "dialogs.h"
#include "swathly_state.h"

namespace qiv::swathly {

// Each returns the new caption of its path line (the path it took, its flag now set), or no
// value when nothing changed. A cancelled dialog takes nothing.

// The input (Label2) is chosen once for the run: once InputChosen is set no dialog is shown. A
// file that cannot be opened for reading is refused with a message, so that the choice can be
// made again.
std::optional<std::string> ChooseInputFile(SwathlyState& state, Dialogs& dialogs);
// The output (Label4) may be chosen again at any time; the file need not exist yet.
std::optional<std::string> ChooseOutputFile(SwathlyState& state, Dialogs& dialogs);
// The calibration file (Label3) need not exist yet; the input file itself is refused.
std::optional<std::string> ChooseCalibrationFile(SwathlyState& state, Dialogs& dialogs);

}  // namespace qiv::swathly
