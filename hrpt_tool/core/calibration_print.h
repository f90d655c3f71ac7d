// The calibration print: the ASCII file that receives the telemetry, back-scan and space-view
// words of the line whose header was read last.
#pragma once

#include <cstdint>
#include <string>

#include "common/core/failure.h"
#include "hrpt_tool/core/swathly_state.h"

namespace qiv::swathly {

// One value of the calibration file: a sign position (blank or minus), the digits, one blank.
std::string NumberForm(std::int16_t value);

// The 33 CR LF lines of the calibration file for the blocks in state.
std::string CalibrationText(const SwathlyState& state);

// Writes CalibrationText into DatPath, emptying an existing file first. Refuses, writing
// nothing, a name that is the input file.
Failure PrintCalibration(const SwathlyState& state);

}  // namespace qiv::swathly
