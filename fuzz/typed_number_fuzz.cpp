// Fuzz target for the reading of typed numbers. The input is a typed reply; it goes through
// LeadingNumber and WholeNumber and into 16 and 32 bits (ToWidth, ToWidthSaturated,
// ReadTyped), and every result is compared with the reference model of the same rules in
// common/testing/reference_models.h. The first eight bytes also go in as a double of
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
#include "common/testing/reference_models.h"

namespace {

namespace models = qiv::models;

// Replies are a line of a prompt box; longer inputs only slow the campaign down.
constexpr std::size_t kMaxReply = 4096;

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
    Check(reply, (prefix + "ToWidth").c_str(), qiv::ToWidth<Int>(value),
          models::ToWidth<Int>(value));
    Check(reply, (prefix + "ToWidthSaturated").c_str(), qiv::ToWidthSaturated<Int>(value),
          models::ToWidthSaturated<Int>(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxReply) {
        return 0;
    }
    const std::string_view reply(reinterpret_cast<const char*>(data), size);

    const double leading = qiv::LeadingNumber(reply);
    const double modelLeading = models::LeadingNumber(reply);
    Check(reply, "LeadingNumber", leading, modelLeading);
    Check(reply, "WholeNumber", qiv::WholeNumber(reply), models::WholeNumber(reply));
    Check(reply, "RoundHalfEven", qiv::RoundHalfEven(leading), models::RoundHalfEven(leading));
    CheckWidth<std::int16_t>(reply, "16", leading);
    CheckWidth<std::int32_t>(reply, "32", leading);
    Check(reply, "16-bit ReadTyped", qiv::ReadTyped<std::int16_t>(reply),
          models::ToWidth<std::int16_t>(modelLeading));
    Check(reply, "32-bit ReadTyped", qiv::ReadTyped<std::int32_t>(reply),
          models::ToWidth<std::int32_t>(modelLeading));

    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        Check(reply, "RoundHalfEven of the first eight bytes", qiv::RoundHalfEven(raw),
              models::RoundHalfEven(raw));
        CheckWidth<std::int16_t>(reply, "16 (first eight bytes)", raw);
        CheckWidth<std::int32_t>(reply, "32 (first eight bytes)", raw);
    }
    return 0;
}
