#include "hrpt_tool/core/quicklook.h"

#include <array>
#include <limits>

#include "common/core/binary_file.h"
#include "common/core/dimension_header.h"
#include "hrpt_tool/core/line_header.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "common/core/typed_number.h"
#include "common/core/wait_notice.h"

namespace qiv::swathly {
namespace {

constexpr std::int64_t kMostHeaderRows = std::numeric_limits<std::int16_t>::max();

// Takes the typed interval into the state the way both commands do before anything else;
// an unusable text leaves the last interval in place.
std::optional<std::int16_t> TakeSamplingInterval(SwathlyState& state, std::string_view text) {
    const auto interval = ReadSamplingInterval(text);
    if (interval) {
        state.SamplingInterval = *interval;
    }
    return interval;
}

// The refusals that come before any file is opened, common to both commands.
CommandOutcome Ready(const SwathlyState& state, const std::optional<std::int16_t>& interval) {
    if (!state.OutputChosen || !state.InputChosen) {
        return Refusal::FilesNotChosen;
    }
    if (!interval) {
        return Refusal::BadInterval;
    }
    // The quicklook is written in place over the output: it must never be the input.
    if (SameFile(state.InputPath, state.OutputPath)) {
        return Failure(
            Failure::Details{FileProblem::IsTheInput, FileRole::Output, state.OutputPath, {}});
    }
    return {};
}

CommandOutcome FitsHeader(const QuicklookSize& size) {
    if (size.Rows <= kMostHeaderRows) {
        return {};
    }
    return {Refusal::QuicklookTooLarge, size.Rows};
}

// The line count N of a product: the first word of its header record. A file too short for it
// holds no lines.
Failure ProductLines(BinaryFile& input, std::int16_t& lines) {
    std::array<std::uint8_t, 2> count{};
    if (Failure failure = input.ReadFilled(0, count)) {
        return failure;
    }
    std::int64_t size = 0;
    if (Failure failure = input.Size(size)) {
        return failure;
    }
    lines = size >= 2 ? ReadInt16Le(count.data()) : std::int16_t{0};
    return {};
}

// Opens the output, writes the image between the two wait notices and tells a failure; on
// success the rows and columns go into the state and the output must be chosen again before
// the next quicklook.
CommandOutcome WriteAndFinish(SwathlyState& state, BinaryFile& input, const SampleLayout& layout,
                              std::int64_t lines, Canvas& waitArea) {
    BinaryFile output(FileRole::Output);
    if (Failure failure = output.Open(state.OutputPath, BinaryFile::Mode::ReadWriteCreate)) {
        return failure;
    }
    Failure failure;
    {
        const WaitNotice notice(waitArea, kWaitMessage);
        failure = WriteQuicklookImage(input, output, layout, lines, state.SamplingInterval);
        output.Close();
        input.Close();
    }
    if (failure) {
        return failure;
    }
    const QuicklookSize size = QuicklookSizeFor(lines, state.SamplingInterval);
    state.QuicklookRows = static_cast<std::int16_t>(size.Rows);
    state.QuicklookCols = static_cast<std::int16_t>(size.Cols);
    state.OutputChosen = false;
    return {};
}

}  // namespace

std::optional<std::int16_t> ReadSamplingInterval(std::string_view text) {
    const auto interval = ReadTyped<std::int16_t>(text);
    if (!interval || *interval < 1) {
        return std::nullopt;
    }
    return interval;
}

CommandOutcome ProductQuicklook(SwathlyState& state, std::string_view intervalText, BandButton band,
                                Canvas& waitArea) {
    const auto interval = TakeSamplingInterval(state, intervalText);
    if (CommandOutcome ready = Ready(state, interval); !ready.Done()) {
        return ready;
    }
    BinaryFile input(FileRole::Input);
    std::int16_t lines = 0;
    if (Failure failure = input.Open(state.InputPath, BinaryFile::Mode::Read)) {
        return failure;
    }
    if (Failure failure = ProductLines(input, lines)) {
        return failure;
    }
    if (CommandOutcome fits = FitsHeader(QuicklookSizeFor(lines, *interval)); !fits.Done()) {
        return fits;
    }
    return WriteAndFinish(state, input, ProductLayout(band), lines, waitArea);
}

CommandOutcome HrpQuicklook(SwathlyState& state, std::string_view intervalText,
                            std::string_view lineText, BandButton band, Dialogs& dialogs,
                            MainView& form1, Canvas& waitArea) {
    const auto interval = TakeSamplingInterval(state, intervalText);
    if (CommandOutcome ready = Ready(state, interval); !ready.Done()) {
        return ready;
    }
    BinaryFile input(FileRole::Input);
    if (CommandOutcome read = ReadLineHeader(state, input, lineText, dialogs, form1);
        !read.Done()) {
        return read;
    }
    if (state.HeaderLine != 1) {
        // Only the header of line 1 gives the line count of the pass.
        input.Close();
        return Refusal::NotLineOne;
    }
    const std::int64_t lines = state.LineCount;
    if (CommandOutcome fits = FitsHeader(QuicklookSizeFor(lines, *interval)); !fits.Done()) {
        return fits;
    }
    return WriteAndFinish(state, input, HrpLayout(band), lines, waitArea);
}

}  // namespace qiv::swathly
