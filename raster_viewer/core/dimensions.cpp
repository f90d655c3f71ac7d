#include "raster_viewer/core/dimensions.h"

#include <array>
#include <limits>
#include <utility>

#include "common/core/binary_file.h"
#include "raster_viewer/core/rastel_texts.h"
#include "common/core/typed_number.h"

namespace qiv::rastel {
namespace {

std::int32_t AskDimension(Dialogs& dialogs, std::string_view prompt) {
    const std::optional<std::string> reply = dialogs.Prompt(prompt, 100, 5000);
    return ToWidthSaturated<std::int32_t>(LeadingNumber(reply.value_or(std::string())));
}

bool FitsHeader(std::int32_t value) {
    return value >= std::numeric_limits<std::int16_t>::min() &&
           value <= std::numeric_limits<std::int16_t>::max();
}

}  // namespace

std::string NumberText(std::int32_t value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string DimensionCaption(const ViewerState& state) {
    return NumberText(state.ImageRows) + " , " + NumberText(state.ImageCols);
}

std::string SetDimensions(ViewerState& state, Dialogs& dialogs) {
    state.ImageRows = AskDimension(dialogs, kRowsPrompt);
    state.ImageCols = AskDimension(dialogs, kColsPrompt);
    return DimensionCaption(state);
}

CommandOutcome ReadHeader(ViewerState& state) {
    if (!state.FileChosen) {
        return Refusal::NoImageChosen;
    }
    // Read-only: reading the header must never create or change a file.
    BinaryFile file(FileRole::Input);
    std::array<std::uint8_t, kDimensionHeaderSize> bytes{};
    Failure failure = file.Open(state.ImagePath, BinaryFile::Mode::Read);
    if (!failure) {
        failure = file.ReadAt(0, bytes);
    }
    if (failure) {
        // A file shorter than the header has no header to read: that is the Header's failure.
        if (failure->Problem == FileProblem::TooShort) {
            Failure::Details details = *failure;
            details.Role = FileRole::Header;
            return Failure(std::move(details));
        }
        return failure;
    }
    state.Header = DecodeDimensionHeader(bytes);
    state.ImageRows = state.Header.HeaderRows;
    state.ImageCols = state.Header.HeaderCols;
    return {};
}

CommandOutcome WriteHeader(const ViewerState& state) {
    if (!state.FileChosen) {
        return Refusal::NoImageChosen;
    }
    if (!FitsHeader(state.ImageRows) || !FitsHeader(state.ImageCols)) {
        return {Refusal::BeyondHeader, state.ImageRows, state.ImageCols};
    }
    const auto bytes = EncodeDimensionHeader(
        {static_cast<std::int16_t>(state.ImageRows), static_cast<std::int16_t>(state.ImageCols)});
    BinaryFile file(FileRole::Header);
    if (Failure failure = file.Open(state.ImagePath, BinaryFile::Mode::ReadWriteCreate)) {
        return failure;
    }
    return file.WriteAt(0, bytes);
}

}  // namespace qiv::rastel
