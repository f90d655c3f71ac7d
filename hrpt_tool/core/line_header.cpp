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

// The line that the "Line #" text names, or no value (the user told why) when it is below 1.
std::optional<double> TypedLine(std::string_view lineText, Dialogs& dialogs) {
    const double typed = RoundHalfEven(LeadingNumber(lineText));
    if (typed < 1.0) {
        dialogs.Message("Line # must be 1 or more.");
        return std::nullopt;
    }
    return typed;
}

// The 1-based line, checked against the lines the open input holds, or no value (told).
std::optional<std::int32_t> LineInFile(BinaryFile& input, double typed, Dialogs& dialogs) {
    std::int64_t size = 0;
    if (Failure failure = input.Size(size)) {
        dialogs.Message(MessageFor(failure));
        return std::nullopt;
    }
    const std::int64_t linesInFile = (size + kLineBytes - 1) / kLineBytes;
    const auto line = ToWidth<std::int32_t>(typed);
    if (!line || *line > linesInFile) {
        dialogs.Message("Line # is beyond the last line of the file, which has " +
                        std::to_string(linesInFile) + (linesInFile == 1 ? " line." : " lines."));
        return std::nullopt;
    }
    return line;
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

bool ReadLineHeader(SwathlyState& state, BinaryFile& input, std::string_view lineText,
                    Dialogs& dialogs, MainView& form1) {
    if (!state.InputChosen) {
        dialogs.Message(kEnterFileNameFirst);
        return false;
    }
    // Everything is checked and read into locals first, so that a refusal changes nothing.
    const std::optional<double> typed = TypedLine(lineText, dialogs);
    if (!typed) {
        return false;
    }
    if (Failure failure = input.Open(state.InputPath, BinaryFile::Mode::Read)) {
        dialogs.Message(MessageFor(failure));
        return false;
    }
    const std::optional<std::int32_t> line = LineInFile(input, *typed, dialogs);
    if (!line) {
        return false;
    }
    // One read of the first 204 bytes gives the same bytes as reading the four blocks apart.
    const std::int64_t lineStart = (std::int64_t{*line} - 1) * kLineBytes;
    std::array<std::uint8_t, kCalibrationEnd> bytes{};
    if (Failure failure = input.ReadAt(lineStart, bytes)) {
        dialogs.Message(failure->Problem == FileProblem::TooShort
                            ? HeaderTooShortMessage(*line, failure->Size - lineStart)
                            : MessageFor(failure));
        return false;
    }

    state.HeaderLine = *line;
    state.FilePos = lineStart + kCalibrationEnd + 1;
    DecodeLineStart(bytes, state);
    ShowLineHeader(state, form1);
    if (state.DatChosen) {
        if (Failure failure = PrintCalibration(state)) {
            dialogs.Message(MessageFor(failure));
        }
    }
    return true;
}

bool DisplayHeaderAndPrintData(SwathlyState& state, std::string_view lineText, Dialogs& dialogs,
                               MainView& form1) {
    BinaryFile input(FileRole::Input);
    return ReadLineHeader(state, input, lineText, dialogs, form1);
}

}  // namespace qiv::swathly
