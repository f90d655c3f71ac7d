// The line-range cut: a shorter HRP file that keeps lines Start..End of a pass. Its first line
// is input line Start with the pass header record, moved on to that line, written over its
// first bytes, so that the new file reads like a pass of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "binary_file.h"

namespace qiv::swathly {

inline constexpr std::int64_t kCutLineLength = 22180;
inline constexpr std::size_t kCutHeaderLength = 33;

// Lines of an HRP file of `bytes` bytes; a last line cut short by the end of the file counts.
std::int64_t HrpLinesIn(std::int64_t bytes);

// How many of the lines start..end (from 1, start ≤ end) an input of `available` lines holds.
std::int64_t LinesToCopy(std::int64_t available, std::int64_t start, std::int64_t end);

// Moves the start time of a pass on to its line `start`, 1/15 s per line number, rounded to
// whole seconds; seconds and minutes carry over, the hour is not wrapped at 24.
struct PassTime {
    std::int16_t Hour = 0;
    std::int16_t Minute = 0;
    std::int16_t Secs = 0;
    friend bool operator==(const PassTime&, const PassTime&) = default;
};
PassTime AdvanceStartTime(PassTime time, std::int64_t start);

struct LineCutFailure {
    enum class Side { Input, Output };
    Side Where = Side::Input;
    std::string Reason;
};

// Copies `count` lines from input line `start` on to output line 1 on, whole lines in large
// blocks, with `header` written over the first bytes of output line 1. A line cut short by the
// end of the input is completed with zeros. The output is written in place and never shortened.
std::optional<LineCutFailure> CopyLineRange(BinaryFile& input, BinaryFile& output,
                                            std::int64_t start, std::int64_t count,
                                            std::span<const std::uint8_t, kCutHeaderLength> header);

}  // namespace qiv::swathly
