// What a command of Rastel_Qiv did: done, a file failure, or one of the refusals below. The
// texts file (rastel_texts.h) holds the Greek message of each; qivtool says them in English.
#pragma once

#include "common/core/outcome.h"

namespace qiv::rastel {

// The numbers a refusal carries are named after each reason; the others carry none.
enum class Refusal {
    NoImageChosen,       // a command that needs the image file before one is chosen
    PassWithoutImage,    // "Ξεκίνησε" before an image file is chosen
    TablesNotBuilt,      // a painting or plot before the histogram pass
    NoPixels,            // First rows, Second columns: fewer than one of either
    BeyondHeader,        // First rows, Second columns: a dimension beyond a 16-bit header field
    SubsetOutsideImage,  // the subset's start, or its end, lies outside the image
    SubsetBadCounts,     // negative rows or columns, or rows without a column
    SubsetTooLarge,      // more rows or columns than a dimension header holds
    TooManyNodes,        // more stretch nodes than kMostNodes
};

using CommandOutcome = Outcome<Refusal>;

}  // namespace qiv::rastel
