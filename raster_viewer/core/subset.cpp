#include "raster_viewer/core/subset.h"

#include <cstdint>
#include <vector>

#include "common/core/binary_file.h"
#include "common/core/dimension_header.h"
#include "raster_viewer/core/rastel_texts.h"
#include "raster_viewer/core/raster_file.h"
#include "common/core/typed_number.h"
#include "common/core/wait_notice.h"

namespace qiv::rastel {

namespace {

// A cancelled prompt reads as an empty reply, that is 0, like every prompt of the program; a
// number beyond 32 bits is held at the limit, which the checks then refuse.
std::int32_t AskNumber(Dialogs& dialogs, std::string_view prompt) {
    const std::optional<std::string> reply =
        dialogs.Prompt(prompt, kSubsetPromptLeft, kSubsetPromptTop);
    return ToWidthSaturated<std::int32_t>(LeadingNumber(reply.value_or(std::string())));
}

bool StartOutside(const ViewerState& state) {
    return state.SubsetStartRow < 0 || state.SubsetStartCol < 0 ||
           state.SubsetStartRow > state.ImageRows || state.SubsetStartCol > state.ImageCols;
}

// Everything the copy needs of the four numbers. The sums are 64-bit so that no typed value
// can wrap round into the image.
std::optional<Refusal> RectangleProblem(const ViewerState& state) {
    const std::int64_t endRow = std::int64_t{state.SubsetStartRow} + state.SubsetRows;
    const std::int64_t endCol = std::int64_t{state.SubsetStartCol} + state.SubsetCols;
    if (StartOutside(state) || endCol > state.ImageCols || endRow > state.ImageRows) {
        return Refusal::SubsetOutsideImage;
    }
    if (state.SubsetRows < 0 || state.SubsetCols < 0 ||
        (state.SubsetRows > 0 && state.SubsetCols < 1)) {
        return Refusal::SubsetBadCounts;
    }
    if (state.SubsetRows > INT16_MAX || state.SubsetCols > INT16_MAX) {
        return Refusal::SubsetTooLarge;
    }
    return std::nullopt;
}

}  // namespace

CommandOutcome SubsetRequest(ViewerState& state, Dialogs& dialogs, MainView& form1,
                             Canvas& waitArea) {
    if (!state.FileChosen) {
        return Refusal::NoImageChosen;
    }
    state.SubsetStartRow = AskNumber(dialogs, kSubsetStartRowPrompt);
    state.SubsetStartCol = AskNumber(dialogs, kSubsetStartColPrompt);
    if (StartOutside(state)) {
        return Refusal::SubsetOutsideImage;
    }
    state.SubsetRows = AskNumber(dialogs, kSubsetRowsPrompt);
    state.SubsetCols = AskNumber(dialogs, kSubsetColsPrompt);
    if (const auto problem = RectangleProblem(state)) {
        return *problem;
    }
    // An image without pixels, or a file too short for its dimensions, is refused before the
    // user names the new file.
    if (CommandOutcome pixels = HasPixels(state); !pixels.Done()) {
        return pixels;
    }
    {
        RasterFile image;
        if (Failure failure = image.Open(state.ImagePath, state.ImageRows, state.ImageCols)) {
            return failure;
        }
    }

    dialogs.Message(kSubsetAskFileName);
    const std::optional<std::string> chosen = dialogs.ChooseFile(kSubsetFilter);
    if (!chosen) {
        return {};
    }
    state.SubsetPath = *chosen;
    if (SameFile(state.ImagePath, state.SubsetPath)) {
        return Failure(
            Failure::Details{FileProblem::IsTheInput, FileRole::Output, state.SubsetPath, {}});
    }
    form1.ShowSubsetPath(state.SubsetPath);
    return CutSubset(state, waitArea);
}

CommandOutcome CutSubset(const ViewerState& state, Canvas& waitArea) {
    BinaryFile subset(FileRole::Output);
    if (const auto problem = RectangleProblem(state)) {
        return *problem;
    }
    RasterFile image;
    if (Failure failure = image.Open(state.ImagePath, state.ImageRows, state.ImageCols)) {
        return failure;
    }
    // The image is open for reading only; the check comes before the new file is opened, so
    // that the image is never opened for writing, whatever name leads to it.
    if (SameFile(state.ImagePath, state.SubsetPath)) {
        return subset.Fail(FileProblem::IsTheInput);
    }

    std::vector<std::uint8_t> row(static_cast<std::size_t>(state.SubsetCols));
    const WaitNotice notice(waitArea, kWaitMessage);
    if (Failure failure = subset.Open(state.SubsetPath, BinaryFile::Mode::ReadWriteCreate)) {
        return failure;
    }
    for (std::int64_t i = 0; i < state.SubsetRows; ++i) {
        const std::int64_t from =
            (state.SubsetStartRow + i) * state.ImageCols + state.SubsetStartCol;
        if (Failure failure = image.ReadPixels(from, row)) {
            return failure;
        }
        if (Failure failure = subset.WriteAt(i * state.SubsetCols, row)) {
            return failure;
        }
    }
    const auto header = EncodeDimensionHeader(
        {static_cast<std::int16_t>(state.SubsetRows), static_cast<std::int16_t>(state.SubsetCols)});
    return subset.WriteAt(0, header);
}

}  // namespace qiv::rastel
