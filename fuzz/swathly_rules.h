// The rules of Swathly_Qiv that more than one fuzz target checks its commands against, written
// again from their description rather than taken from the routines.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "hrpt_tool/core/hrp_file.h"
#include "common/core/typed_number.h"

namespace qiv::swathly {

// The line "Line #" names in a file of `size` bytes, when the file holds the first 204 bytes of
// that line; no value when the header read must refuse it.
inline std::optional<std::int64_t> ReadableLine(std::string_view text, std::int64_t size) {
    const double typed = RoundHalfEven(LeadingNumber(text));
    const std::int64_t lines = (size + kLineBytes - 1) / kLineBytes;
    if (!(typed >= 1.0) || typed > static_cast<double>(lines)) {
        return std::nullopt;
    }
    const auto line = static_cast<std::int64_t>(typed);
    if ((line - 1) * kLineBytes + kCalibrationEnd > size) {
        return std::nullopt;
    }
    return line;
}

}  // namespace qiv::swathly
