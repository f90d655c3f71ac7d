#include "hrpt_tool/core/line_record.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "common/core/dimension_header.h"

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

std::int32_t LineCountOf(const LineHeaderRecord& header) {
    return header.RowsHigh * 256 + header.RowsLow;
}

HeaderTexts HeaderTextsOf(const LineHeaderRecord& header, std::string_view decimalSeparator) {
    HeaderTexts texts;
    texts.Title = TitleText(header.Title);
    texts.SatId = std::to_string(header.SatId);
    texts.Month = std::to_string(header.Month);
    texts.Day = std::to_string(header.Day);
    texts.Year = std::to_string(header.Year);
    texts.Hour = std::to_string(header.Hour);
    texts.Minute = std::to_string(header.Minute);
    texts.Secs = std::to_string(header.Secs);
    texts.TimeDiff = GeneralNumber(header.TimeDiff, decimalSeparator);
    texts.Rows = std::to_string(LineCountOf(header));
    texts.Cols = std::to_string(kEarthSamples);
    return texts;
}

}  // namespace qiv::swathly
