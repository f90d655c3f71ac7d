#include "line_cut.h"

#include <algorithm>
#include <vector>

#include "typed_number.h"

namespace qiv::swathly {
namespace {

// Whole lines move in blocks of about a megabyte: one read and one write per block.
constexpr std::int64_t kLinesPerBlock = 48;

}  // namespace

std::int64_t HrpLinesIn(std::int64_t bytes) {
    return bytes <= 0 ? 0 : (bytes + kCutLineLength - 1) / kCutLineLength;
}

std::int64_t LinesToCopy(std::int64_t available, std::int64_t start, std::int64_t end) {
    return std::max<std::int64_t>(0, std::min(end, available) - start + 1);
}

PassTime AdvanceStartTime(PassTime time, std::int64_t start) {
    // start / 15 never ends in a half, so the rounding rule cannot tip the result.
    const auto t = static_cast<std::int64_t>(
        RoundHalfEven(static_cast<double>(start) / 15.0 + static_cast<double>(time.Secs)));
    if (t < 60) {
        time.Secs = static_cast<std::int16_t>(t);
        return time;
    }
    time.Secs = static_cast<std::int16_t>(t % 60);
    const std::int64_t m = time.Minute + t / 60;
    if (m < 60) {
        time.Minute = static_cast<std::int16_t>(m);
    } else {
        time.Minute = static_cast<std::int16_t>(m % 60);
        // The field is 16 bits in the file; a garbage hour near its limit wraps there.
        time.Hour = static_cast<std::int16_t>(time.Hour + m / 60);
    }
    return time;
}

std::optional<LineCutFailure> CopyLineRange(BinaryFile& input, BinaryFile& output,
                                            std::int64_t start, std::int64_t count,
                                            std::span<const std::uint8_t, kCutHeaderLength> header) {
    std::vector<std::uint8_t> block(
        static_cast<std::size_t>(std::min(count, kLinesPerBlock) * kCutLineLength));
    for (std::int64_t done = 0; done < count;) {
        const std::int64_t lines = std::min(count - done, kLinesPerBlock);
        const std::span<std::uint8_t> bytes(block.data(),
                                            static_cast<std::size_t>(lines * kCutLineLength));
        const std::int64_t got = input.ReadAt((start - 1 + done) * kCutLineLength, bytes);
        if (got < 0) {
            return LineCutFailure{LineCutFailure::Side::Input, input.Error()};
        }
        std::fill(bytes.begin() + got, bytes.end(), std::uint8_t{0});
        if (done == 0) {
            std::copy(header.begin(), header.end(), bytes.begin());
        }
        if (!output.WriteAt(done * kCutLineLength, bytes)) {
            return LineCutFailure{LineCutFailure::Side::Output, output.Error()};
        }
        done += lines;
    }
    return std::nullopt;
}

}  // namespace qiv::swathly
