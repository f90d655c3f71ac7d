// The one place where what the routines of the two programs tell becomes English for qivtool:
// every refusal of either program by a switch over its reasons, which the compiler checks for
// completeness, and what went wrong with a file.
#pragma once

#include <string>

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
