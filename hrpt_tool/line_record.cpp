#include "line_record.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "dimension_header.h"
#include "header_display.h"
#include "typed_number.h"

namespace qiv::swathly {
namespace {

std::uint64_t ReadUint64Le(const std::uint8_t* bytes) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

void WriteUint64Le(std::uint8_t* bytes, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

template <std::size_t N>
void ReadWords(const std::uint8_t* bytes, std::array<std::int16_t, N>& words) {
    for (std::size_t i = 0; i < N; ++i) {
        words[i] = ReadInt16Le(bytes + 2 * i);
    }
}

}  // namespace

LineHeaderRecord DecodeLineHeader(std::span<const std::uint8_t, kLineHeaderBytes> bytes) {
    const std::uint8_t* b = bytes.data();
    LineHeaderRecord header;
    std::memcpy(header.Title.data(), b, header.Title.size());
    header.SatId = ReadInt16Le(b + 8);
    header.Month = ReadInt16Le(b + 10);
    header.Day = ReadInt16Le(b + 12);
    header.Year = ReadInt16Le(b + 14);
    header.Hour = ReadInt16Le(b + 16);
    header.Minute = ReadInt16Le(b + 18);
    header.Secs = ReadInt16Le(b + 20);
    header.Spare = b[22];
    header.RowsLow = b[23];
    header.RowsHigh = b[24];
    header.TimeDiff = std::bit_cast<double>(ReadUint64Le(b + 25));
    return header;
}

std::array<std::uint8_t, kLineHeaderBytes> EncodeLineHeader(const LineHeaderRecord& header) {
    std::array<std::uint8_t, kLineHeaderBytes> bytes{};
    std::uint8_t* b = bytes.data();
    std::memcpy(b, header.Title.data(), header.Title.size());
    WriteInt16Le(b + 8, header.SatId);
    WriteInt16Le(b + 10, header.Month);
    WriteInt16Le(b + 12, header.Day);
    WriteInt16Le(b + 14, header.Year);
    WriteInt16Le(b + 16, header.Hour);
    WriteInt16Le(b + 18, header.Minute);
    WriteInt16Le(b + 20, header.Secs);
    b[22] = header.Spare;
    b[23] = header.RowsLow;
    b[24] = header.RowsHigh;
    WriteUint64Le(b + 25, std::bit_cast<std::uint64_t>(header.TimeDiff));
    return bytes;
}

std::string TitleText(const std::array<std::uint8_t, 8>& title) {
    std::string text;
    for (const std::uint8_t c : title) {
        if (c == 0) {
            break;
        }
        // Latin-1 maps every byte to the code point of the same number.
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

std::string GeneralNumber(double value, std::string_view decimalSeparator) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Infinity" : "Infinity";
    }
    if (value == 0.0) {
        return "0";  // also for -0, which reads as a stray sign
    }
    // to_chars ignores the C locale, which the window toolkit sets to the user's.
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    std::string text;
    for (const char* p = buffer; p != end; ++p) {
        if (*p == '.') {
            text += decimalSeparator;
        } else if (*p == 'e') {
            text += 'E';
        } else {
            text += *p;
        }
    }
    return text;
}

void ShowLineHeader(SwathlyState& state, std::string_view decimalSeparator) {
    const LineHeaderRecord& header = state.LineHeader;
    state.LineCount = header.RowsHigh * 256 + header.RowsLow;
    HeaderDisplay& shown = state.Display;
    shown.Title = TitleText(header.Title);
    shown.SatId = std::to_string(header.SatId);
    shown.Month = std::to_string(header.Month);
    shown.Day = std::to_string(header.Day);
    shown.Year = std::to_string(header.Year);
    shown.Hour = std::to_string(header.Hour);
    shown.Minute = std::to_string(header.Minute);
    shown.Secs = std::to_string(header.Secs);
    shown.TimeDiff = GeneralNumber(header.TimeDiff, decimalSeparator);
    shown.Rows = std::to_string(state.LineCount);
    shown.Cols = std::to_string(kEarthSamples);
}

bool ReadLineHeader(SwathlyState& state, std::string_view lineText, Dialogs& dialogs,
                    std::string_view decimalSeparator) {
    if (state.InputChosen != kTrue) {
        dialogs.Message(kEnterFileNameFirst);
        return false;
    }

    // Everything is checked and read into locals first, so that a refusal changes nothing.
    const double typed = RoundHalfEven(LeadingNumber(lineText));
    if (typed < 1.0) {
        dialogs.Message("Line # must be 1 or more.");
        return false;
    }
    BinaryFile input;
    if (!input.Open(state.InputPath, BinaryFile::Mode::Read)) {
        dialogs.Message("Cannot open the input file " + state.InputPath + ": " + input.Error());
        return false;
    }
    const std::int64_t size = input.Size();
    const std::int64_t linesInFile = (size + kLineBytes - 1) / kLineBytes;
    const auto line = ToWidth<std::int32_t>(typed);
    if (!line || *line > linesInFile) {
        dialogs.Message("Line # is beyond the last line of the file, which has " +
                        std::to_string(linesInFile) + (linesInFile == 1 ? " line." : " lines."));
        return false;
    }
    const std::int64_t lineStart = (static_cast<std::int64_t>(*line) - 1) * kLineBytes;
    std::array<std::uint8_t, kCalibrationEnd> bytes{};
    const std::int64_t got = input.ReadAt(lineStart, bytes);
    if (got < 0) {
        dialogs.Message("Cannot read the input file " + state.InputPath + ": " + input.Error());
        return false;
    }
    if (got < kCalibrationEnd) {
        dialogs.Message("The file is too short for the header of line " + std::to_string(*line) +
                        ": it ends " + std::to_string(got) + " bytes into the line, and " +
                        std::to_string(kCalibrationEnd) + " are needed.");
        return false;
    }

    // One read of the first 204 bytes gives the same bytes as reading the four blocks apart.
    state.HeaderLine = *line;
    state.FilePos = lineStart + kCalibrationEnd + 1;
    state.LineHeader = DecodeLineHeader(
        std::span<const std::uint8_t, kLineHeaderBytes>(bytes.data(), kLineHeaderBytes));
    ReadWords(bytes.data() + kTelemetryOffset, state.TelemetryTriple);
    for (std::size_t run = 0; run < state.BackScan.size(); ++run) {
        ReadWords(bytes.data() + kBackScanOffset + 20 * run, state.BackScan[run]);
    }
    for (std::size_t run = 0; run < state.SpaceView.size(); ++run) {
        ReadWords(bytes.data() + kSpaceViewOffset + 20 * run, state.SpaceView[run]);
    }

    ShowLineHeader(state, decimalSeparator);
    if (state.DatChosen == kTrue) {
        PrintCalibration(state, dialogs);
    }
    if (state.KeepInputOpen == kTrue || state.OutputChosen == kTrue) {
        state.Input = std::move(input);
    }
    return true;
}

}  // namespace qiv::swathly
