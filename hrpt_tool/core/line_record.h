// The header record of an HRP line: decoding, encoding, and the texts the header boxes show.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "hrpt_tool/core/hrp_file.h"

namespace qiv::swathly {

LineHeaderRecord DecodeLineHeader(std::span<const std::uint8_t, kLineHeaderBytes> bytes);
std::array<std::uint8_t, kLineHeaderBytes> EncodeLineHeader(const LineHeaderRecord& header);

// The title as UTF-8: the stored characters up to the first zero byte, trailing blanks kept,
// read as Latin-1.
std::string TitleText(const std::array<std::uint8_t, 8>& title);

// A real number in general format: the shortest form of up to 15 significant digits, the
// exponent form only for very large or very small magnitudes, decimalSeparator in place of
// the point. NaN and infinities come out as words.
std::string GeneralNumber(double value, std::string_view decimalSeparator);

// The texts that the header display puts into the boxes of the Text1 array.
struct HeaderTexts {
    std::string Title;     // Text1(0)
    std::string SatId;     // Text1(1)
    std::string Month;     // Text1(2)
    std::string Day;       // Text1(3)
    std::string Year;      // Text1(4)
    std::string Hour;      // Text1(5)
    std::string Minute;    // Text1(6)
    std::string Secs;      // Text1(7)
    std::string TimeDiff;  // Text1(11)
    std::string Rows;      // Text1(12)
    std::string Cols;      // Text1(13)
    friend bool operator==(const HeaderTexts&, const HeaderTexts&) = default;
};

// The line count a header states: RowsHigh x 256 + RowsLow, 0 to 65535.
std::int32_t LineCountOf(const LineHeaderRecord& header);

// Every box's text for a header record.
HeaderTexts HeaderTextsOf(const LineHeaderRecord& header, std::string_view decimalSeparator);

}  // namespace qiv::swathly
