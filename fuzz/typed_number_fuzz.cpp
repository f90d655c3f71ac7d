// Fuzz target for the reading of typed numbers. The input is a typed reply; it goes through
// LeadingNumber and WholeNumber and into 16 and 32 bits (ToWidth, ToWidthSaturated,
// ReadTyped), and every result is compared with a reference model of the same rules written
// apart from typed_number.cpp: the number text is found with find_first_not_of and read by
// strtod, rounding is nearbyint's ties-to-even. The first eight bytes also go in as a double of
// their own, the only way NaN and arbitrary bit patterns reach the width rules.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "common/core/typed_number.h"

namespace {

// Replies are a line of a prompt box; longer inputs only slow the campaign down.
constexpr std::size_t kMaxReply = 4096;

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kDigits = "0123456789";

struct NumberSpan {
    std::size_t begin;
    std::size_t end;
};

// Where the leading number of a reply lies: after blanks, an optional sign, digits with an
// optional point (at least one digit in all), then an exponent only when digits follow it.
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

// strtod follows LC_NUMERIC; this program never leaves the "C" locale. Out of range it gives
// ±HUGE_VAL or (±)0, the limits the typed reading must give as well.
double ModelValue(std::string_view reply, NumberSpan span) {
    const std::string text(reply.substr(span.begin, span.end - span.begin));
    return std::strtod(text.c_str(), nullptr);
}

double ModelLeading(std::string_view reply) {
    const std::optional<NumberSpan> span = FindNumber(reply);
    return span ? ModelValue(reply, *span) : 0.0;
}

std::optional<double> ModelWhole(std::string_view reply) {
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
    return ModelValue(trimmed, *span);
}

// The default floating-point environment rounds to nearest, ties to even.
double ModelRound(double value) {
    return std::nearbyint(value);
}

template <class Int>
std::optional<Int> ModelToWidth(double value) {
    const double rounded = ModelRound(value);
    if (std::isnan(rounded) || rounded < std::numeric_limits<Int>::min() ||
        rounded > std::numeric_limits<Int>::max()) {
        return std::nullopt;
    }
    return static_cast<Int>(rounded);
}

template <class Int>
Int ModelSaturated(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = ModelRound(value);
    if (rounded < std::numeric_limits<Int>::min()) {
        return std::numeric_limits<Int>::min();
    }
    if (rounded > std::numeric_limits<Int>::max()) {
        return std::numeric_limits<Int>::max();
    }
    return static_cast<Int>(rounded);
}

std::string Show(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g (%a)", value, value);
    return text;
}

template <class Int>
std::string Show(Int value) {
    return std::to_string(value);
}

template <class T>
std::string Show(const std::optional<T>& value) {
    return value ? Show(*value) : std::string("no value");
}

// Equal values, with NaN equal to NaN; the sign of a zero does not count (an underflow reads
// 0 whatever its sign).
bool Same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

template <class Int>
bool Same(Int a, Int b) {
    return a == b;
}

template <class T>
bool Same(const std::optional<T>& a, const std::optional<T>& b) {
    return a.has_value() == b.has_value() && (!a || Same(*a, *b));
}

void PrintReply(std::string_view reply) {
    std::fprintf(stderr, "reply of %zu bytes: \"", reply.size());
    for (const char c : reply) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '"' && c != '\\') {
            std::fputc(c, stderr);
        } else {
            std::fprintf(stderr, "\\x%02x", byte);
        }
    }
    std::fprintf(stderr, "\"\n");
}

template <class T>
void Check(std::string_view reply, const char* what, const T& got, const T& expected) {
    if (Same(got, expected)) {
        return;
    }
    PrintReply(reply);
    std::fprintf(stderr, "%s: got %s, the model gives %s\n", what, Show(got).c_str(),
                 Show(expected).c_str());
    std::abort();
}

template <class Int>
void CheckWidth(std::string_view reply, const char* bits, double value) {
    const std::string prefix = std::string(bits) + "-bit ";
    Check(reply, (prefix + "ToWidth").c_str(), qiv::ToWidth<Int>(value), ModelToWidth<Int>(value));
    Check(reply, (prefix + "ToWidthSaturated").c_str(), qiv::ToWidthSaturated<Int>(value),
          ModelSaturated<Int>(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxReply) {
        return 0;
    }
    const std::string_view reply(reinterpret_cast<const char*>(data), size);

    const double leading = qiv::LeadingNumber(reply);
    const double modelLeading = ModelLeading(reply);
    Check(reply, "LeadingNumber", leading, modelLeading);
    Check(reply, "WholeNumber", qiv::WholeNumber(reply), ModelWhole(reply));
    Check(reply, "RoundHalfEven", qiv::RoundHalfEven(leading), ModelRound(leading));
    CheckWidth<std::int16_t>(reply, "16", leading);
    CheckWidth<std::int32_t>(reply, "32", leading);
    Check(reply, "16-bit ReadTyped", qiv::ReadTyped<std::int16_t>(reply),
          ModelToWidth<std::int16_t>(modelLeading));
    Check(reply, "32-bit ReadTyped", qiv::ReadTyped<std::int32_t>(reply),
          ModelToWidth<std::int32_t>(modelLeading));

    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        Check(reply, "RoundHalfEven of the first eight bytes", qiv::RoundHalfEven(raw),
              ModelRound(raw));
        CheckWidth<std::int16_t>(reply, "16 (first eight bytes)", raw);
        CheckWidth<std::int32_t>(reply, "32 (first eight bytes)", raw);
    }
    return 0;
}
