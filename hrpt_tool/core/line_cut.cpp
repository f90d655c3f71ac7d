#include "hrpt_tool/core/line_cut.h"

#include <algorithm>
#include <vector>

#include "hrpt_tool/core/line_header.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "common/core/typed_number.h"
#include "common/core/wait_notice.h"

namespace qiv::swathly {
namespace {

// Whole lines move in blocks of about a megabyte: one read and one write per block.
constexpr std::int64_t kLinesPerBlock = 48;

// A line number typed into one of the two prompts: the leading number rounded to 16 bits. A
// cancelled prompt reads as the empty text, 0.
std::optional<std::int16_t> AskLine(Dialogs& dialogs, std::string_view prompt) {
    const auto reply =
        dialogs.Prompt(prompt, Dialogs::kToolkitPlace, Dialogs::kToolkitPlace).value_or("");
    return ReadTyped<std::int16_t>(reply);
}

}  // namespace

CommandOutcome CutLineRange(SwathlyState& state, std::string_view lineText, Dialogs& dialogs,
                            MainView& form1, Canvas& waitArea) {
    if (!state.OutputChosen || !state.InputChosen) {
        return Refusal::FilesNotChosen;
    }
    if (SameFile(state.InputPath, state.OutputPath)) {
        return Failure(
            Failure::Details{FileProblem::IsTheInput, FileRole::Output, state.OutputPath, {}});
    }
    BinaryFile input(FileRole::Input);
    if (CommandOutcome read = ReadLineHeader(state, input, lineText, dialogs, form1);
        !read.Done()) {
        return read;
    }

    const auto start = AskLine(dialogs, kStartPrompt);
    if (!start || *start < 1) {
        return Refusal::BadStartLine;
    }
    const auto end = AskLine(dialogs, kEndPrompt);
    if (!end || *end < *start) {
        return {Refusal::BadEndLine, *start};
    }
    std::int64_t bytes = 0;
    if (Failure failure = input.Size(bytes)) {
        return failure;
    }
    const std::int64_t available = HrpLinesIn(bytes);
    const std::int64_t count = LinesToCopy(available, *start, *end);
    if (count == 0) {
        return {Refusal::StartBeyondFile, available, *start};
    }

    BinaryFile output(FileRole::Output);
    if (Failure failure = output.Open(state.OutputPath, BinaryFile::Mode::ReadWriteCreate)) {
        return failure;
    }

    // The new pass starts at line Start: its header states the lines actually copied and
    // a start time moved on by 1/15 s per line number.
    LineHeaderRecord& header = state.LineHeader;
    const PassTime time = AdvanceStartTime({header.Hour, header.Minute, header.Secs}, *start);
    header.Hour = time.Hour;
    header.Minute = time.Minute;
    header.Secs = time.Secs;
    header.RowsLow = static_cast<std::uint8_t>(count % 256);
    header.RowsHigh = static_cast<std::uint8_t>(count / 256);

    Failure failure;
    {
        const WaitNotice notice(waitArea, kWaitMessage);
        failure = CopyLineRange(input, output, *start, count, EncodeLineHeader(header));
        output.Close();
    }
    return failure;
}

std::int64_t HrpLinesIn(std::int64_t bytes) {
    return bytes <= 0 ? 0 : (bytes + kLineBytes - 1) / kLineBytes;
}

std::int64_t LinesToCopy(std::int64_t available, std::int64_t start, std::int64_t end) {
    return std::max<std::int64_t>(0, std::min(end, available) - start + 1);
}

PassTime AdvanceStartTime(PassTime time, std::int64_t start) {
    // start / 15 never ends in a half, so the rounding rule cannot tip the result.
    const auto t = static_cast<std::int64_t>(
        RoundHalfEven(static_cast<double>(start) / 15.0 + static_cast<double>(time.Secs)));
    if (t < 60) {
        time.Secs = static_cast<std::int16_t>(t);
        return time;
    }
    time.Secs = static_cast<std::int16_t>(t % 60);
    const std::int64_t m = time.Minute + t / 60;
    if (m < 60) {
        time.Minute = static_cast<std::int16_t>(m);
    } else {
        time.Minute = static_cast<std::int16_t>(m % 60);
        // The field is 16 bits in the file; a garbage hour near its limit wraps there.
        time.Hour = static_cast<std::int16_t>(time.Hour + m / 60);
    }
    return time;
}

Failure CopyLineRange(BinaryFile& input, BinaryFile& output, std::int64_t start, std::int64_t count,
                      std::span<const std::uint8_t, kLineHeaderBytes> header) {
    std::vector<std::uint8_t> block(
        static_cast<std::size_t>(std::min(count, kLinesPerBlock) * kLineBytes));
    for (std::int64_t done = 0; done < count;) {
        const std::int64_t lines = std::min(count - done, kLinesPerBlock);
        const std::span<std::uint8_t> bytes(block.data(),
                                            static_cast<std::size_t>(lines * kLineBytes));
        if (Failure failure = input.ReadFilled((start - 1 + done) * kLineBytes, bytes)) {
            return failure;
        }
        if (done == 0) {
            std::copy(header.begin(), header.end(), bytes.begin());
        }
        if (Failure failure = output.WriteAt(done * kLineBytes, bytes)) {
            return failure;
        }
        done += lines;
    }
    return {};
}

}  // namespace qiv::swathly
