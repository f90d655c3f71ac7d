// The one place where what the routines of the two programs tell becomes English for qivtool:
// every refusal of either program by a switch over its reasons, which the compiler checks for
// completeness, and what went wrong with a file.
#pragma once

#include <string>
#include <string_view>

#include "common/core/failure.h"
#include "hrpt_tool/core/swathly_outcome.h"
#include "raster_viewer/core/rastel_outcome.h"

namespace qiv::qivtool {

// What went wrong with a file, in English.
std::string EnglishFor(const Failure& failure);

// A refusal of Rastel_Qiv, in English.
std::string EnglishFor(Refused<rastel::Refusal> refused);

// A refusal of Swathly_Qiv, in English: the program's own message, which its texts file writes
// by a switch over every reason.
std::string EnglishFor(Refused<swathly::Refusal> refused);

// qivtool import of a file that is neither a raw recording (noFrames: the recording import's
// failure) nor a NOAA Level 1b file.
std::string NeitherRecordingNorLevel1b(const Failure& noFrames);
// qivtool import of a raw recording without --year.
inline constexpr std::string_view kYearNeeded =
    "--year is needed for a raw recording: its frames carry the day of the year, not the year "
    "(a Level 1b file needs none)";

// The English of an outcome that is not done (empty when it is done).
template <class Reason>
std::string EnglishFor(const Outcome<Reason>& outcome) {
    if (const Failure* failure = outcome.FileFailure()) {
        return EnglishFor(*failure);
    }
    if (const Refused<Reason>* refused = outcome.Refusal()) {
        return EnglishFor(*refused);
    }
    return {};
}

}  // namespace qiv::qivtool
