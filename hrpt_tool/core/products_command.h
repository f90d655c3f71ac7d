// "Output (Hrp) --> Cal, Sst, Ndv": the CAL, SST and NDV products of the input pass, beside the
// name the user gives.
#pragma once

#include "common/core/canvas.h"
#include "common/core/dialogs.h"
#include "hrpt_tool/core/swathly_outcome.h"
#include "hrpt_tool/core/swathly_state.h"

namespace qiv::swathly {

// Needs the input, which must be an HRP pass (a product or a raw recording is refused with a
// message, the recording with a pointer to the import); asks one new name with the save dialog,
// offering the input's name with .cal; writes STEM.cal, STEM.sst and STEM.ndv under the wait
// notice, STEM being that name without its .cal; then shows one summary message. A refusal or a
// failure is returned (the window tells it) and leaves no file; a cancelled dialog is done with
// nothing written. The input is never written.
CommandOutcome MakeProductsCommand(const SwathlyState& state, Dialogs& dialogs, Canvas& waitArea);

}  // namespace qiv::swathly
