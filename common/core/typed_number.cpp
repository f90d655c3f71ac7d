#include "common/core/typed_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <system_error>

namespace qiv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the number that starts at text[0] (no leading blanks), 0 when there is none.
std::size_t NumberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    // An exponent counts only when digits follow it: "2e" is 2, "2e3" is 2000.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    return i;
}

// Decimal exponent of the first nonzero digit of a number without sign ("120" gives 2,
// "0.05e3" gives 1), or nothing when every digit is zero. Exponents of hundreds of digits are
// held at kExponentHold: the digit position is bounded by the text's length, far below it, so
// the sum keeps its sign and cannot overflow.
std::optional<std::int64_t> LeadingDigitExponent(std::string_view number) {
    constexpr std::int64_t kExponentHold = std::int64_t{1} << 50;
    std::optional<std::int64_t> position;
    std::size_t i = 0;
    for (; i < number.size() && IsDigit(number[i]); ++i) {
        if (position) {
            ++*position;
        } else if (number[i] != '0') {
            position = 0;
        }
    }
    if (i < number.size() && number[i] == '.') {
        ++i;
        for (std::int64_t place = -1; i < number.size() && IsDigit(number[i]); ++i, --place) {
            if (!position && number[i] != '0') {
                position = place;
            }
        }
    }
    if (!position) {
        return std::nullopt;
    }
    std::int64_t exponent = 0;
    bool negativeExponent = false;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
            negativeExponent = number[i] == '-';
            ++i;
        }
        for (; i < number.size() && IsDigit(number[i]); ++i) {
            exponent = std::min(exponent * 10 + (number[i] - '0'), kExponentHold);
        }
    }
    return *position + (negativeExponent ? -exponent : exponent);
}

// from_chars, unlike strtod, ignores the locale: the window toolkit switches LC_NUMERIC to
// the user's, where the decimal separator may be a comma.
double ParseNumber(std::string_view number) {
    bool negative = false;
    if (number.front() == '+' || number.front() == '-') {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Out of range is a magnitude above the largest double (decimal exponent 308) or below
        // half the smallest subnormal (-324); the sign of the exponent tells the two apart,
        // whatever the sign written after the 'e' ("1000e-1" is large, "0.001e2" small).
        const std::optional<std::int64_t> exponent = LeadingDigitExponent(number);
        value = exponent && *exponent > 0 ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) {
        ++start;
    }
    text.remove_prefix(start);
    const std::size_t length = NumberLength(text);
    return length == 0 ? 0.0 : ParseNumber(text.substr(0, length));
}

std::optional<double> WholeNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    const std::size_t length = NumberLength(text);
    if (length == 0 || length != text.size()) {
        return std::nullopt;
    }
    return ParseNumber(text);
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5) {
        return floor;
    }
    if (diff > 0.5) {
        return floor + 1.0;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

}  // namespace qiv
