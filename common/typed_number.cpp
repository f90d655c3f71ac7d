#include "typed_number.h"

#include <charconv>
#include <cmath>
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
        // Too large a magnitude becomes infinite, too small a one zero.
        value = (number.find_first_of("eE") != std::string_view::npos &&
                 number[number.find_first_of("eE") + 1] == '-')
                    ? 0.0
                    : HUGE_VAL;
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
