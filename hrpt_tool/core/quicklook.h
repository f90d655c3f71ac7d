// The two quicklook commands of Swathly_Qiv: "Output (CAL, SST, NDV) --> Qlk " from a product
// file and "Output from (Hrp) --> Qlk" from one channel of an HRP line file.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/core/canvas.h"
#include "common/core/dialogs.h"
#include "hrpt_tool/core/main_view.h"
#include "hrpt_tool/core/quicklook_image.h"
#include "hrpt_tool/core/swathly_outcome.h"
#include "hrpt_tool/core/swathly_state.h"

namespace qiv::swathly {

// The sampling interval typed into "SamplInter": the leading number rounded halves to even,
// or no value when it is below 1 or beyond the 16-bit field.
std::optional<std::int16_t> ReadSamplingInterval(std::string_view text);

// Both commands first take SamplingInterval from intervalText, then refuse with a message and
// write nothing when a file is not chosen, the interval is not usable, the output names the
// input, a file cannot be opened, or the quicklook would have more rows than its header holds.
// On success they set QuicklookRows and QuicklookCols (the window shows the rows in Text2(0)),
// clear OutputChosen and return true; the wait notice shows in waitArea meanwhile.

// From a CAL, SST or NDV product, by the layout and band of the selected band button.
CommandOutcome ProductQuicklook(SwathlyState& state, std::string_view intervalText, BandButton band,
                                Canvas& waitArea);

// From an HRP file: reads the header of the line in lineText first (which must be line 1,
// whose header gives the line count) and shows it in the header boxes.
CommandOutcome HrpQuicklook(SwathlyState& state, std::string_view intervalText,
                            std::string_view lineText, BandButton band, Dialogs& dialogs,
                            MainView& form1, Canvas& waitArea);

}  // namespace qiv::swathly
