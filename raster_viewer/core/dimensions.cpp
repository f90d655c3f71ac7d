#include "raster_viewer/core/dimensions.h"

#include <array>
#include <limits>

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
    state.ImageRows = AskDimension(dialogs, "Βάλε αριθμό Γραμμών");
    state.ImageCols = AskDimension(dialogs, "Βάλε αριθμό Στηλών");
    return DimensionCaption(state);
}

std::optional<std::string> ReadHeader(ViewerState& state, Dialogs& dialogs) {
    if (!state.FileChosen) {
        dialogs.Message(kChooseImageFirst);
        return std::nullopt;
    }
    // Read-only: reading the header must never create or change a file.
    BinaryFile file(FileRole::Input);
    std::array<std::uint8_t, kDimensionHeaderSize> bytes{};
    Failure failure = file.Open(state.ImagePath, BinaryFile::Mode::Read);
    if (!failure) {
        failure = file.ReadAt(0, bytes);
    }
    if (failure) {
        dialogs.Message(failure->Problem == FileProblem::TooShort
                            ? NoRoomForHeaderMessage(state.ImagePath, failure->Size)
                            : MessageFor(failure));
        return std::nullopt;
    }
    state.Header = DecodeDimensionHeader(bytes);
    state.ImageRows = state.Header.HeaderRows;
    state.ImageCols = state.Header.HeaderCols;
    return DimensionCaption(state);
}

void WriteHeader(const ViewerState& state, Dialogs& dialogs) {
    if (!state.FileChosen) {
        dialogs.Message(kChooseImageFirst);
        return;
    }
    if (!FitsHeader(state.ImageRows) || !FitsHeader(state.ImageCols)) {
        dialogs.Message("Οι διαστάσεις " + std::to_string(state.ImageRows) + " x " +
                        std::to_string(state.ImageCols) +
                        " δεν χωράνε στο Header (από -32768 έως 32767): δεν γράφτηκε τίποτα.");
        return;
    }
    const auto bytes = EncodeDimensionHeader(
        {static_cast<std::int16_t>(state.ImageRows), static_cast<std::int16_t>(state.ImageCols)});
    BinaryFile file(FileRole::Input);
    Failure failure = file.Open(state.ImagePath, BinaryFile::Mode::ReadWriteCreate);
    if (!failure) {
        failure = file.WriteAt(0, bytes);
    }
    if (failure) {
        dialogs.Message(HeaderWriteMessage(failure));
    }
}

}  // namespace qiv::rastel
