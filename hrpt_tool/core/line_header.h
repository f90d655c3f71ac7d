// Reading the header record and the calibration blocks of one line of the input file, showing
// them in the header boxes and printing them to the calibration file: the first step of the
// display-header command, of the quicklook from HRP and of the line-range cut.
#pragma once

#include <string_view>

#include "common/core/binary_file.h"
#include "common/core/dialogs.h"
#include "hrpt_tool/core/main_view.h"
#include "hrpt_tool/core/swathly_outcome.h"
#include "hrpt_tool/core/swathly_state.h"

namespace qiv::swathly {

// ReadLineHeader: opens the input file into `input`, which the calling command owns and keeps
// open for as long as it goes on reading, and reads the header record and the calibration
// blocks of the line that lineText (the "Line #" box) names. Then ShowLineHeader fills the
// header boxes at once, and, when a calibration file is chosen, PrintCalibration writes it;
// so a later prompt or message of the command comes with the new header on show. A refusal
// (no input chosen, a line that the file does not hold, an input that cannot be read) is
// returned for the caller to show and changes nothing, boxes included. A calibration file that
// cannot be written is told through dialogs at once, and the line still counts as read.
[[nodiscard]] CommandOutcome ReadLineHeader(SwathlyState& state, BinaryFile& input,
                                            std::string_view lineText, Dialogs& dialogs,
                                            MainView& form1);

// Sets LineCount from the header record and puts its texts into the header boxes.
void ShowLineHeader(SwathlyState& state, MainView& form1);

// "Display header, Print Data": ReadLineHeader on an input that is closed again at the end.
CommandOutcome DisplayHeaderAndPrintData(SwathlyState& state, std::string_view lineText,
                                         Dialogs& dialogs, MainView& form1);

}  // namespace qiv::swathly
