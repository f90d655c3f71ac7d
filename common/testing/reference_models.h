// Reference models that the unit tests and the fuzz targets both hold the routines against:
// the same rules written a second time, apart from the code they check and as plainly as the
// rules read, so that a fault must be made twice, the same way, to pass unseen.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace qiv::models {

// Typed numbers, written apart from typed_number.cpp: the number text is found with
// find_first_not_of and read by strtod, rounding is nearbyint's ties-to-even.

// The leading number of a reply (0 when there is none): after blanks, an optional sign, digits
// with an optional point (at least one digit in all), then an exponent only when digits follow.
double LeadingNumber(std::string_view reply);
// The reply read as one number with blanks around it, or no value.
std::optional<double> WholeNumber(std::string_view reply);
double RoundHalfEven(double value);

// The rounded value when it fits Int, else no value (NaN never fits).
template <class Int>
std::optional<Int> ToWidth(double value) {
    const double rounded = RoundHalfEven(value);
    if (rounded != rounded || rounded < std::numeric_limits<Int>::min() ||
        rounded > std::numeric_limits<Int>::max()) {
        return std::nullopt;
    }
    return static_cast<Int>(rounded);
}

// The rounded value held to Int's range; NaN reads 0.
template <class Int>
Int ToWidthSaturated(double value) {
    if (value != value) {
        return 0;
    }
    const double rounded = RoundHalfEven(value);
    if (rounded < std::numeric_limits<Int>::min()) {
        return std::numeric_limits<Int>::min();
    }
    if (rounded > std::numeric_limits<Int>::max()) {
        return std::numeric_limits<Int>::max();
    }
    return static_cast<Int>(rounded);
}

// The grey level of one quicklook pixel: a 10-bit HRP word scaled (v x 255 / 1024 to the
// nearest integer, halves to even, the default rounding mode), a product value clipped; both
// held to 0..255.
std::uint8_t QuicklookPixel(std::int16_t value, bool scaled);

// A Rastel_Qiv subset: the rectangle of `rows` x `cols` pixels from (startRow, startCol) of an
// image `imageCols` wide, row by row, with the dimension header over its first four bytes,
// written in place over `old` (what the file held before): a longer old file keeps its tail.
std::vector<std::uint8_t> SubsetFile(std::span<const std::uint8_t> image, std::int32_t imageCols,
                                     std::int32_t startRow, std::int32_t startCol,
                                     std::int32_t rows, std::int32_t cols,
                                     std::vector<std::uint8_t> old);

}  // namespace qiv::models
