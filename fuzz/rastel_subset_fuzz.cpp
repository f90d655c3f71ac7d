// Fuzz target over the commands of Rastel_Qiv that write files: writing and reading back the
// dimension header, and the subset with fuzzed rectangles and fuzzed names of the new file,
// from a fuzzed raster file with fuzzed dimensions.
//
// Input (fuzz_support.h), choices:
//   byte 0   bits 0-1  where the dimensions come from: 0 typed (the first two replies), 1 the
//                      file's header, 2 the start-up values, 3 typed with no file chosen
//            bits 2-4  the name the file dialog gives for the subset (fuzz::PathKind)
//            bit 5     the file dialog is cancelled instead
//            bit 6     "Δημιούργησε Header" first, then "Διάβασε Header"
// then the replies (after the dimensions: first row, first column, rows, columns; a missing
// one is a cancelled prompt) and the image file.
//
// Beside the sanitizers it checks: the header write replaces exactly the first four bytes
// with the dimensions, or refuses and writes nothing, and reads back as written; the subset is
// written exactly when the rectangle lies in an image the file holds and the name is a new or
// existing file other than the image, and then the file holds the rectangle under its header,
// the tail of a longer old file kept; a refusal writes nothing; the image is never written by
// the subset under any of its names; every file is closed again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/core/dimension_header.h"
#include "raster_viewer/core/dimensions.h"
#include "fuzz/fuzz_support.h"
#include "raster_viewer/core/main_view.h"
#include "common/testing/memory_canvas.h"
#include "common/testing/open_files.h"
#include "common/testing/reference_models.h"
#include "fuzz/rastel_setup.h"
#include "raster_viewer/core/rastel_texts.h"
#include "common/testing/scripted_dialogs.h"
#include "raster_viewer/core/subset.h"
#include "common/core/typed_number.h"

namespace qiv::rastel {
namespace {

using fuzz::Broken;
using fuzz::Bytes;
using fuzz::Require;
using fuzz::Text;

constexpr std::size_t kMostInputBytes = 4096;
constexpr std::size_t kChoiceBytes = 1;
// Longer than any subset of an input of kMostInputBytes.
constexpr std::size_t kLongerFileBytes = kMostInputBytes + 100;
constexpr std::int32_t kMostHeaderValue = 32767;

class RecordedForm1 : public MainView {
public:
    void ShowSubsetPath(std::string_view path) override { Label4 = std::string(path); }
    std::optional<std::string> Label4;
};

bool FitsHeader(std::int32_t value) {
    return value >= -32768 && value <= kMostHeaderValue;
}

// WriteHeader, then ReadHeader when it wrote: `file` becomes what the image file must hold.
void WriteAndReadHeader(ViewerState& state, Bytes& file, const std::filesystem::path& path) {
    testing::ScriptedDialogs dialogs;
    ShowOutcome(WriteHeader(state), dialogs);
    if (!state.FileChosen || !FitsHeader(state.ImageRows) || !FitsHeader(state.ImageCols)) {
        Require(dialogs.Messages.size() == 1, "a refused header write must say so once");
        Require(fuzz::FileBytes(path) == file, "a refused header write changed the file");
        return;
    }
    Require(dialogs.Messages.empty(), "the header write was refused");
    const auto header = EncodeDimensionHeader(
        {static_cast<std::int16_t>(state.ImageRows), static_cast<std::int16_t>(state.ImageCols)});
    file = fuzz::WrittenInPlace(file, Bytes(header.begin(), header.end()));
    Require(fuzz::FileBytes(path) == file,
            "the header write did not replace exactly the first four bytes");

    const std::int32_t rows = state.ImageRows;
    const std::int32_t cols = state.ImageCols;
    Require(ReadHeader(state).Done(), "the header written cannot be read");
    Require(state.ImageRows == rows && state.ImageCols == cols,
            "the header reads back as " + Text(state.ImageRows) + " x " + Text(state.ImageCols) +
                ", not as the " + Text(rows) + " x " + Text(cols) + " written");
}

struct Request {
    std::int32_t StartRow = 0;
    std::int32_t StartCol = 0;
    std::int32_t Rows = 0;
    std::int32_t Cols = 0;
};

std::int32_t Typed(const std::vector<std::string>& replies, std::size_t at) {
    return ToWidthSaturated<std::int32_t>(LeadingNumber(at < replies.size() ? replies[at] : ""));
}

bool StartOutside(const Request& r, std::int32_t imageRows, std::int32_t imageCols) {
    return r.StartRow < 0 || r.StartCol < 0 || r.StartRow > imageRows || r.StartCol > imageCols;
}

// Whether the rectangle can be cut from the image the file holds.
bool CanCut(const Request& r, std::int32_t imageRows, std::int32_t imageCols,
            std::size_t fileSize) {
    const bool inside = !StartOutside(r, imageRows, imageCols) && r.Rows >= 0 && r.Cols >= 0 &&
                        std::int64_t{r.StartRow} + r.Rows <= imageRows &&
                        std::int64_t{r.StartCol} + r.Cols <= imageCols;
    const bool counts =
        !(r.Rows > 0 && r.Cols < 1) && r.Rows <= kMostHeaderValue && r.Cols <= kMostHeaderValue;
    const bool imageReadable =
        imageRows >= 1 && imageCols >= 1 &&
        std::int64_t{imageRows} * imageCols <= static_cast<std::int64_t>(fileSize);
    return inside && counts && imageReadable;
}

int RunFileCommands(std::span<const std::uint8_t> data) {
    if (data.size() > kMostInputBytes) {
        return 0;
    }
    const fuzz::FuzzInput input(data, kChoiceBytes);
    const auto source = static_cast<DimensionSource>(input.Choice(0) & 3);
    const fuzz::PathKind kind = fuzz::PathKindOf(static_cast<std::uint8_t>(input.Choice(0) >> 2));
    const bool cancel = (input.Choice(0) & 0x20) != 0;
    const bool writeHeader = (input.Choice(0) & 0x40) != 0;
    const std::vector<std::string>& replies = input.Replies();

    const auto folder = fuzz::FreshRunFolder();
    const auto path = folder / "image.raw";
    Bytes file(input.File().begin(), input.File().end());
    fuzz::WriteFile(path, file);
    const int openBefore = testing::OpenFiles();

    ViewerState state;
    testing::ScriptedDialogs dialogs;
    const std::size_t first = OpenImageAsChosen(state, dialogs, replies, source, path).RepliesUsed;
    if (writeHeader) {
        WriteAndReadHeader(state, file, path);
    }

    const fuzz::NamedFile named =
        fuzz::NameFile(kind, folder, path, "subset.raw", kLongerFileBytes);
    dialogs.File(cancel ? std::nullopt : std::optional(named.Path.string()));
    dialogs.Messages.clear();
    dialogs.PromptCalls.clear();
    MemoryCanvas waitArea = qiv::testing::WaitArea();
    RecordedForm1 form1;
    ShowOutcome(SubsetRequest(state, dialogs, form1, waitArea), dialogs);  // as the window does

    const Request request{Typed(replies, first), Typed(replies, first + 1),
                          Typed(replies, first + 2), Typed(replies, first + 3)};
    if (!state.FileChosen) {
        Require(dialogs.PromptCalls.empty() && dialogs.Messages.size() == 1 &&
                    dialogs.Messages[0] == kChooseImageFirst,
                "a subset without an image must be refused before the prompts");
    } else {
        const bool outside = StartOutside(request, state.ImageRows, state.ImageCols);
        Require(dialogs.PromptCalls.size() == (outside ? 2u : 4u),
                "a start outside the image must skip the count prompts, any other ask for them");
        Require(
            state.SubsetStartRow == request.StartRow && state.SubsetStartCol == request.StartCol &&
                (outside || (state.SubsetRows == request.Rows && state.SubsetCols == request.Cols)),
            "the subset fields do not hold what was typed");
    }

    const bool written = state.FileChosen && !cancel && named.CanBeWritten &&
                         CanCut(request, state.ImageRows, state.ImageCols, file.size());
    if (written) {
        const Bytes expected =
            models::SubsetFile(file, state.ImageCols, request.StartRow, request.StartCol,
                               request.Rows, request.Cols, named.Before.value_or(Bytes{}));
        if (fuzz::FileBytes(named.Path) != expected) {
            Broken("the subset " + Text(request.Rows) + " x " + Text(request.Cols) + " at (" +
                   Text(request.StartRow) + ", " + Text(request.StartCol) + ") of an image of " +
                   Text(state.ImageRows) + " x " + Text(state.ImageCols) +
                   " is not the rectangle under its header");
        }
        Require(form1.Label4 == named.Path.string(), "Label4 does not show the subset's name");
        Require(dialogs.Messages.size() == 1 && dialogs.Messages[0] == kSubsetAskFileName,
                "a subset written showed a message other than the request for its name");
    } else {
        fuzz::RequireUnchanged(named, "a refused subset wrote");
        Require(!dialogs.Messages.empty(), "a refused subset said nothing");
    }
    Require(fuzz::FileBytes(path) == file, "the subset changed the image file");
    Require(testing::OpenFiles() == openBefore, "a command left a file open");
    Require(waitArea.Texts().empty(), "the wait notice stayed after the subset");
    return 0;
}

}  // namespace
}  // namespace qiv::rastel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qiv::rastel::RunFileCommands({data, size});
}
