#include "quicklook.h"

#include <array>
#include <limits>

#include "binary_file.h"
#include "dimension_header.h"
#include "line_record.h"
#include "typed_number.h"
#include "wait_notice.h"

namespace qiv::swathly {
namespace {

constexpr std::int64_t kMostHeaderRows = std::numeric_limits<std::int16_t>::max();

bool FilesChosen(const SwathlyState& state) {
    return state.OutputChosen == kTrue && state.InputChosen == kTrue;
}

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
bool Ready(const SwathlyState& state, const std::optional<std::int16_t>& interval,
           Dialogs& dialogs) {
    if (!FilesChosen(state)) {
        dialogs.Message(kEnterFilesFirst);
        return false;
    }
    if (!interval) {
        dialogs.Message(kBadInterval);
        return false;
    }
    // The quicklook is written in place over the output: it must never be the input.
    if (SameFile(state.InputPath, state.OutputPath)) {
        dialogs.Message(kOutputIsInput);
        return false;
    }
    return true;
}

bool FitsHeader(const QuicklookSize& size, Dialogs& dialogs) {
    if (size.Rows <= kMostHeaderRows) {
        return true;
    }
    dialogs.Message("The quicklook would have " + std::to_string(size.Rows) +
                    " rows, more than its header can hold (32767): enter a larger sampling "
                    "interval");
    return false;
}

// Writes the image between the two wait notices and tells a failure; on success the rows and
// columns go into the state and the output must be chosen again before the next product.
bool WriteAndFinish(SwathlyState& state, BinaryFile& input, BinaryFile& output,
                    const SampleLayout& layout, std::int64_t lines, Dialogs& dialogs,
                    Canvas& waitArea) {
    WaitNotice(waitArea, 1, kSwathlyWaitMessage);
    const QuicklookWrite write =
        WriteQuicklookImage(input, output, layout, lines, state.SamplingInterval);
    output.Close();
    input.Close();
    WaitNotice(waitArea, 2, kSwathlyWaitMessage);
    if (write.Failure) {
        switch (write.Failure->Where) {
            case QuicklookFailure::Side::Input:
                dialogs.Message(CannotReadInput(state.InputPath, write.Failure->Reason));
                break;
            case QuicklookFailure::Side::Output:
                dialogs.Message(CannotWriteOutput(state.OutputPath, write.Failure->Reason));
                break;
        }
        return false;
    }
    state.QuicklookRows = static_cast<std::int16_t>(write.Size.Rows);
    state.QuicklookCols = static_cast<std::int16_t>(write.Size.Cols);
    state.OutputChosen = kFalse;
    return true;
}

}  // namespace

std::optional<std::int16_t> ReadSamplingInterval(std::string_view text) {
    const auto interval = ReadTyped<std::int16_t>(text);
    if (!interval || *interval < 1) {
        return std::nullopt;
    }
    return interval;
}

bool ProductQuicklook(SwathlyState& state, std::string_view intervalText, BandButton band,
                      Dialogs& dialogs, Canvas& waitArea) {
    const auto interval = TakeSamplingInterval(state, intervalText);
    if (!Ready(state, interval, dialogs)) {
        return false;
    }
    const SampleLayout layout = ProductLayout(band);

    BinaryFile input;
    if (!input.Open(state.InputPath, BinaryFile::Mode::Read)) {
        dialogs.Message(CannotOpenInput(state.InputPath, input.Error()));
        return false;
    }
    // The line count N is the first word of the header record; a file too short for it
    // holds no lines.
    std::array<std::uint8_t, 2> count{};
    const std::int64_t got = input.ReadAt(0, count);
    if (got < 0) {
        dialogs.Message(CannotReadInput(state.InputPath, input.Error()));
        return false;
    }
    const std::int16_t lines = got == 2 ? ReadInt16Le(count.data()) : std::int16_t{0};
    if (!FitsHeader(QuicklookSizeFor(lines, *interval), dialogs)) {
        return false;
    }

    BinaryFile output;
    if (!output.Open(state.OutputPath, BinaryFile::Mode::ReadWriteCreate)) {
        dialogs.Message(CannotOpenOutput(state.OutputPath, output.Error()));
        return false;
    }
    return WriteAndFinish(state, input, output, layout, lines, dialogs, waitArea);
}

bool HrpQuicklook(SwathlyState& state, std::string_view intervalText, std::string_view lineText,
                  BandButton band, Dialogs& dialogs, Canvas& waitArea,
                  std::string_view decimalSeparator) {
    const auto interval = TakeSamplingInterval(state, intervalText);
    if (!Ready(state, interval, dialogs)) {
        return false;
    }
    // With an output chosen the header read leaves the input open for the samples.
    if (!ReadLineHeader(state, lineText, dialogs, decimalSeparator)) {
        state.Input.Close();
        return false;
    }
    if (state.HeaderLine != 1) {
        // Only the header of line 1 gives the line count of the pass.
        state.Input.Close();
        dialogs.Message(kSetLineOne);
        return false;
    }
    const std::int64_t lines = state.LineCount;
    if (!FitsHeader(QuicklookSizeFor(lines, *interval), dialogs)) {
        state.Input.Close();
        return false;
    }

    BinaryFile output;
    if (!output.Open(state.OutputPath, BinaryFile::Mode::ReadWriteCreate)) {
        state.Input.Close();
        dialogs.Message(CannotOpenOutput(state.OutputPath, output.Error()));
        return false;
    }
    return WriteAndFinish(state, state.Input, output, HrpLayout(band), lines, dialogs, waitArea);
}

std::string CannotOpenInput(const std::string& path, const std::string& reason) {
    return "Cannot open the input file " + path + ": " + reason;
}

std::string CannotOpenOutput(const std::string& path, const std::string& reason) {
    return "Cannot open the output file " + path + ": " + reason;
}

std::string CannotReadInput(const std::string& path, const std::string& reason) {
    return "Cannot read the input file " + path + ": " + reason;
}

std::string CannotWriteOutput(const std::string& path, const std::string& reason) {
    return "Cannot write the output file " + path + ": " + reason;
}

}  // namespace qiv::swathly
