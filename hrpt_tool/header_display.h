// The header display and the calibration print: the ASCII file that receives the telemetry,
// back-scan and space-view words of the line read last.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dialogs.h"
#include "swathly_state.h"

namespace qiv::swathly {

// One value of the calibration file: a sign position (blank or minus), the digits, one blank.
std::string NumberForm(std::int16_t value);

// The 33 CR LF lines of the calibration file for the blocks in state.
std::string CalibrationText(const SwathlyState& state);

// Writes CalibrationText into DatPath, emptying an existing file first. Refuses, with a
// message and without writing, a name that is the input file or a file that cannot be created;
// the result says whether the file was written.
bool PrintCalibration(const SwathlyState& state, Dialogs& dialogs);

// The display-header command: reads the header of the line named by lineText and closes the
// input afterwards, whatever ReadLineHeader left open. The result says whether it was read.
bool DisplayHeader(SwathlyState& state, std::string_view lineText, Dialogs& dialogs,
                   std::string_view decimalSeparator = ".");

}  // namespace qiv::swathly
