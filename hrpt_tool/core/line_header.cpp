#include "hrpt_tool/core/line_header.h"

#include <array>
#include <optional>
#include <span>

#include "hrpt_tool/core/calibration_print.h"
#include "common/core/dimension_header.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "common/core/typed_number.h"

namespace qiv::swathly {
namespace {

// The line that the "Line #" text names, rounded; below 1 it is refused.
double TypedLine(std::string_view lineText) {
    return RoundHalfEven(LeadingNumber(lineText));
}

template <std::size_t N>
void DecodeWords(const std::uint8_t* bytes, std::array<std::int16_t, N>& words) {
    for (std::size_t i = 0; i < N; ++i) {
        words[i] = ReadInt16Le(bytes + 2 * i);
    }
}

// The header record and the three calibration blocks from the first 204 bytes of a line.
void DecodeLineStart(std::span<const std::uint8_t, kCalibrationEnd> bytes, SwathlyState& state) {
    state.LineHeader = DecodeLineHeader(bytes.first<kLineHeaderBytes>());
    DecodeWords(bytes.data() + kTelemetryOffset, state.TelemetryTriple);
    for (std::size_t run = 0; run < state.BackScan.size(); ++run) {
        DecodeWords(bytes.data() + kBackScanOffset + 20 * run, state.BackScan[run]);
    }
    for (std::size_t run = 0; run < state.SpaceView.size(); ++run) {
        DecodeWords(bytes.data() + kSpaceViewOffset + 20 * run, state.SpaceView[run]);
    }
}

}  // namespace

void ShowLineHeader(SwathlyState& state, MainView& form1) {
    state.LineCount = LineCountOf(state.LineHeader);
    form1.ShowHeaderTexts(HeaderTextsOf(state.LineHeader, form1.DecimalSeparator()));
}

CommandOutcome ReadLineHeader(SwathlyState& state, BinaryFile& input, std::string_view lineText,
                              Dialogs& dialogs, MainView& form1) {
    if (!state.InputChosen) {
        return Refusal::NoInputChosen;
    }
    // Everything is checked and read into locals first, so that a refusal changes nothing.
    const double typed = TypedLine(lineText);
    if (typed < 1.0) {
        return Refusal::LineBelowOne;
    }
    if (Failure failure = input.Open(state.InputPath, BinaryFile::Mode::Read)) {
        return failure;
    }
    std::int64_t size = 0;
    if (Failure failure = input.Size(size)) {
        return failure;
    }
    const std::int64_t linesInFile = (size + kLineBytes - 1) / kLineBytes;
    const auto line = ToWidth<std::int32_t>(typed);
    if (!line || *line > linesInFile) {
        return {Refusal::LineBeyondFile, linesInFile};
    }
    // One read of the first 204 bytes gives the same bytes as reading the four blocks apart.
    const std::int64_t lineStart = (std::int64_t{*line} - 1) * kLineBytes;
    std::array<std::uint8_t, kCalibrationEnd> bytes{};
    if (Failure failure = input.ReadAt(lineStart, bytes)) {
        if (failure->Problem == FileProblem::TooShort) {
            return {Refusal::HeaderTooShort, *line, failure->Size - lineStart};
        }
        return failure;
    }

    state.HeaderLine = *line;
    state.FilePos = lineStart + kCalibrationEnd + 1;
    DecodeLineStart(bytes, state);
    ShowLineHeader(state, form1);
    // The calibration file is a side output: its failure is told at once, with the header on
    // show, and the command goes on.
    if (state.DatChosen) {
        if (Failure failure = PrintCalibration(state)) {
            dialogs.Message(MessageFor(failure));
        }
    }
    return {};
}

CommandOutcome DisplayHeaderAndPrintData(SwathlyState& state, std::string_view lineText,
                                         Dialogs& dialogs, MainView& form1) {
    BinaryFile input(FileRole::Input);
    return ReadLineHeader(state, input, lineText, dialogs, form1);
}

}  // namespace qiv::swathly
