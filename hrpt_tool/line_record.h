// The header record and the calibration blocks of one HRP line: decoding, encoding, reading
// them from the input file and turning them into the texts of the header display.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "dialogs.h"
#include "swathly_state.h"

namespace qiv::swathly {

inline constexpr std::string_view kEnterFileNameFirst = " Enter the file name first";

LineHeaderRecord DecodeLineHeader(std::span<const std::uint8_t, kLineHeaderBytes> bytes);
std::array<std::uint8_t, kLineHeaderBytes> EncodeLineHeader(const LineHeaderRecord& header);

// The title as UTF-8: the stored characters up to the first zero byte, trailing blanks kept,
// read as Latin-1.
std::string TitleText(const std::array<std::uint8_t, 8>& title);

// A real number in general format: the shortest form of up to 15 significant digits, the
// exponent form only for very large or very small magnitudes, decimalSeparator in place of
// the point. NaN and infinities come out as words.
std::string GeneralNumber(double value, std::string_view decimalSeparator);

// Reads the header record and the calibration blocks of the line that lineText (the "Line #"
// box) names, shows them through ShowLineHeader and, when a calibration file is chosen,
// prints them with PrintCalibration. The input stays open in state.Input exactly when
// KeepInputOpen or OutputChosen is set. A refusal (no input chosen, a line that the file does
// not hold, an input that cannot be read) is told through dialogs and changes nothing; the
// result says whether the line was read.
bool ReadLineHeader(SwathlyState& state, std::string_view lineText, Dialogs& dialogs,
                    std::string_view decimalSeparator = ".");

// Sets LineCount from the header record and fills state.Display.
void ShowLineHeader(SwathlyState& state, std::string_view decimalSeparator = ".");

}  // namespace qiv::swathly
