// Choosing the input, output and calibration files through the program's file dialog.
#pragma once

#include <optional>
#include <string>

#include "common/core/canvas.h"
#include "common/core/dialogs.h"
#include "hrpt_tool/core/swathly_state.h"

namespace qiv::swathly {

// Each returns the new caption of its path line (the path it took, its flag now set), or no
// value when nothing changed. A cancelled dialog takes nothing.

// The input (Label2) is chosen once for the run: once InputChosen is set no dialog is shown. A
// file that cannot be opened for reading is refused with a message, so that the choice can be
// made again. A file that starts with the HRPT frame sync instead of a pass header is a raw
// recording: the user is asked whether to import it, then for its year (the year it was last
// written, to start with) and the new HRP file's name; the import runs with the wait notice in
// waitArea, its summary is shown, and the new file becomes the input. A No, a cancel or a failed
// import (told) leaves the recording itself as the input, as the program can read it all the same.
// A NOAA Level 1b file (avhrr::DetectLevel1b on its first bytes) is offered for import the same
// way, without a year (its records carry it); one the import cannot take (GAC, say) is told why
// and stays the input.
std::optional<std::string> ChooseInputFile(SwathlyState& state, Dialogs& dialogs, Canvas& waitArea);
// The output (Label4) may be chosen again at any time; the file need not exist yet.
std::optional<std::string> ChooseOutputFile(SwathlyState& state, Dialogs& dialogs);
// The calibration file (Label3) need not exist yet; the input file itself is refused.
std::optional<std::string> ChooseCalibrationFile(SwathlyState& state, Dialogs& dialogs);

}  // namespace qiv::swathly
