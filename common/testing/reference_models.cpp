#include "common/testing/reference_models.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace qiv::models {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kDigits = "0123456789";

struct NumberSpan {
    std::size_t begin;
    std::size_t end;
};

std::optional<NumberSpan> FindNumber(std::string_view reply) {
    const std::size_t begin = reply.find_first_not_of(kBlanks);
    if (begin == std::string_view::npos) {
        return std::nullopt;
    }
    const auto digitsFrom = [&](std::size_t from) {
        return std::min(reply.find_first_not_of(kDigits, from), reply.size());
    };
    const auto at = [&](std::size_t i, std::string_view set) {
        return i < reply.size() && set.find(reply[i]) != std::string_view::npos;
    };
    std::size_t end = begin + (at(begin, "+-") ? 1 : 0);
    const std::size_t integerEnd = digitsFrom(end);
    std::size_t digitCount = integerEnd - end;
    end = integerEnd;
    if (at(end, ".")) {
        const std::size_t fractionEnd = digitsFrom(end + 1);
        digitCount += fractionEnd - end - 1;
        end = fractionEnd;
    }
    if (digitCount == 0) {
        return std::nullopt;
    }
    if (at(end, "eE")) {
        const std::size_t exponentDigits = end + 1 + (at(end + 1, "+-") ? 1 : 0);
        const std::size_t exponentEnd = digitsFrom(exponentDigits);
        if (exponentEnd > exponentDigits) {
            end = exponentEnd;
        }
    }
    return NumberSpan{begin, end};
}

// strtod follows LC_NUMERIC; the programs never leave the "C" locale. Out of range it gives
// ±HUGE_VAL or (±)0, the limits the typed reading must give as well.
double ValueOf(std::string_view reply, NumberSpan span) {
    const std::string text(reply.substr(span.begin, span.end - span.begin));
    return std::strtod(text.c_str(), nullptr);
}

}  // namespace

double LeadingNumber(std::string_view reply) {
    const std::optional<NumberSpan> span = FindNumber(reply);
    return span ? ValueOf(reply, *span) : 0.0;
}

std::optional<double> WholeNumber(std::string_view reply) {
    const std::size_t first = reply.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view trimmed =
        reply.substr(first, reply.find_last_not_of(kBlanks) - first + 1);
    const std::optional<NumberSpan> span = FindNumber(trimmed);
    if (!span || span->begin != 0 || span->end != trimmed.size()) {
        return std::nullopt;
    }
    return ValueOf(trimmed, *span);
}

// The default floating-point environment rounds to nearest, ties to even.
double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

std::uint8_t QuicklookPixel(std::int16_t value, bool scaled) {
    if (scaled) {
        return static_cast<std::uint8_t>(
            std::clamp(std::nearbyint(value * 255.0 / 1024.0), 0.0, 255.0));
    }
    return static_cast<std::uint8_t>(std::clamp<int>(value, 0, 255));
}

std::vector<std::uint8_t> SubsetFile(std::span<const std::uint8_t> image, std::int32_t imageCols,
                                     std::int32_t startRow, std::int32_t startCol,
                                     std::int32_t rows, std::int32_t cols,
                                     std::vector<std::uint8_t> old) {
    const auto size = static_cast<std::size_t>(std::int64_t{rows} * cols);
    old.resize(std::max({old.size(), size, std::size_t{4}}));
    for (std::int64_t i = 0; i < rows; ++i) {
        for (std::int64_t j = 0; j < cols; ++j) {
            old[static_cast<std::size_t>(i * cols + j)] =
                image[static_cast<std::size_t>((startRow + i) * imageCols + startCol + j)];
        }
    }
    old[0] = static_cast<std::uint8_t>(rows & 0xFF);
    old[1] = static_cast<std::uint8_t>((rows >> 8) & 0xFF);
    old[2] = static_cast<std::uint8_t>(cols & 0xFF);
    old[3] = static_cast<std::uint8_t>((cols >> 8) & 0xFF);
    return old;
}

}  // namespace qiv::models
