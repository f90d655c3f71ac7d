// The two quicklook commands of Swathly_Qiv: "Output (CAL, SST, NDV) --> Qlk " from a product
// file and "Output from (Hrp) --> Qlk" from one channel of an HRP line file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "canvas.h"
#include "dialogs.h"
#include "quicklook_image.h"
#include "swathly_state.h"

namespace qiv::swathly {

inline constexpr std::string_view kEnterFilesFirst = "Enter Input and Output Image files first";
inline constexpr std::string_view kSetLineOne = "Make sure that line # in the form is set to 1";
inline constexpr std::string_view kBadInterval =
    "Enter a sampling interval from 1 to 32767 in SamplInter";
inline constexpr std::string_view kOutputIsInput =
    "The output file is the input file: choose another output file";

// The sampling interval typed into "SamplInter": the leading number rounded halves to even,
// or no value when it is below 1 or beyond the 16-bit field.
std::optional<std::int16_t> ReadSamplingInterval(std::string_view text);

// Both commands first take SamplingInterval from intervalText, then refuse with a message and
// write nothing when a file is not chosen, the interval is not usable, the output names the
// input, a file cannot be opened, or the quicklook would have more rows than its header holds.
// On success they set QuicklookRows and QuicklookCols (the window shows the rows in Text2(0)),
// clear OutputChosen and return true; the wait notice shows in waitArea meanwhile.

// From a CAL, SST or NDV product, by the layout and band of the selected band button.
bool ProductQuicklook(SwathlyState& state, std::string_view intervalText, BandButton band,
                      Dialogs& dialogs, Canvas& waitArea);

// From an HRP file: reads the header of the line in lineText first (which must be line 1,
// whose header gives the line count) and refreshes the header display.
bool HrpQuicklook(SwathlyState& state, std::string_view intervalText, std::string_view lineText,
                  BandButton band, Dialogs& dialogs, Canvas& waitArea,
                  std::string_view decimalSeparator = ".");

// Messages for a file that failed, with the system's reason.
std::string CannotOpenInput(const std::string& path, const std::string& reason);
std::string CannotOpenOutput(const std::string& path, const std::string& reason);
std::string CannotReadInput(const std::string& path, const std::string& reason);
std::string CannotWriteOutput(const std::string& path, const std::string& reason);

}  // namespace qiv::swathly
