#include "tools/qivtool/english.h"

#include "common/core/dimension_header.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "raster_viewer/core/node_entry.h"

namespace qiv::qivtool {

std::string EnglishFor(const Failure& failure) {
    if (failure->Problem == FileProblem::Refused) {
        return failure->Reason;
    }
    if (failure->Role == FileRole::Header) {
        if (failure->Problem == FileProblem::TooShort) {
            return "The image file " + failure->Path + " holds " + std::to_string(failure->Size) +
                   " bytes, too few for a dimension header of " +
                   std::to_string(kDimensionHeaderSize) + " bytes";
        }
        // Swathly_Qiv's words for the image file serve its header too.
        Failure::Details details = *failure;
        details.Role = FileRole::Input;
        return swathly::MessageFor(Failure(std::move(details)));
    }
    return swathly::MessageFor(failure);
}

std::string NeitherRecordingNorLevel1b(const Failure& noFrames) {
    return EnglishFor(noFrames) +
           " Nor is it a NOAA Level 1b file: neither a KLM nor a POD header "
           "stands at its start.";
}

std::string EnglishFor(Refused<swathly::Refusal> refused) {
    return swathly::MessageFor(refused);
}

std::string EnglishFor(Refused<rastel::Refusal> refused) {
    using rastel::Refusal;
    switch (refused.Why) {
        case Refusal::NoImageChosen:
        case Refusal::PassWithoutImage:
            return "Give the image file first";
        case Refusal::TablesNotBuilt:
            return "Build the tables of the image first";
        case Refusal::NoPixels:
            return "The image would have " + std::to_string(refused.First) + " rows and " +
                   std::to_string(refused.Second) + " columns: it needs at least 1 of each";
        case Refusal::BeyondHeader:
            return "The dimensions " + std::to_string(refused.First) + " x " +
                   std::to_string(refused.Second) +
                   " do not fit the header (-32768 to 32767): nothing was written";
        case Refusal::SubsetOutsideImage:
            return "The start, or the rows and columns, of the subset lie outside the image";
        case Refusal::SubsetBadCounts:
            return "The rows and columns of a subset cannot be negative, and a subset with rows "
                   "needs at least one column";
        case Refusal::SubsetTooLarge:
            return "A subset can have at most 32767 rows and 32767 columns, as many as its "
                   "header can hold";
        case Refusal::TooManyNodes:
            return "At most " + std::to_string(rastel::kMostNodes) +
                   " nodes are allowed. The stretch was not changed.";
    }
    return "the command was refused";
}

}  // namespace qiv::qivtool
