// Reading of numbers that the user types into prompt boxes and text boxes.
#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace qiv {

// The leading numeric part of a text: optional blanks, an optional sign, digits with an
// optional decimal point and an optional exponent ("1e3" is 1000). A text with no number
// in front, or an empty one, gives 0. Whatever follows the number is ignored ("12abc" is 12).
double LeadingNumber(std::string_view text);

// The whole text read as one number, blanks allowed around it. Empty, blank-only or
// anything else than a single number gives no value.
std::optional<double> WholeNumber(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour (12.5 -> 12, 13.5 -> 14),
// independently of the floating-point environment.
double RoundHalfEven(double value);

// The rounded value in the integer width the caller states, or no value when it does not
// fit that width (including NaN and infinities).
template <std::signed_integral Int>
std::optional<Int> ToWidth(double value) {
    const double rounded = RoundHalfEven(value);
    if (!std::isfinite(rounded) || rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(rounded);
}

// Like ToWidth, but a value outside the width is held at the nearest limit (NaN gives 0).
// Used where a typed value is stored as given and checked later by the routines that use it.
template <std::signed_integral Int>
Int ToWidthSaturated(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (auto fitted = ToWidth<Int>(value)) {
        return *fitted;
    }
    return value < 0 ? std::numeric_limits<Int>::min() : std::numeric_limits<Int>::max();
}

// Typed text straight into a width: LeadingNumber, then ToWidth.
template <std::signed_integral Int>
std::optional<Int> ReadTyped(std::string_view text) {
    return ToWidth<Int>(LeadingNumber(text));
}

}  // namespace qiv
