#include "hrpt_tool/core/quicklook_image.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "common/core/dimension_header.h"

namespace qiv::swathly {
namespace {

// Pixels are gathered into blocks of about this size before they are written; consecutive
// input lines are read in blocks of about kInputBlock.
constexpr std::size_t kOutputBlock = 1 << 20;
constexpr std::int64_t kInputBlock = 1 << 20;

// ScaleTenToEight of every 10-bit word, so that the sample loop needs neither a call nor a
// branch that depends on the data.
constexpr std::int16_t kTenBitWords = 1024;
const std::array<std::uint8_t, kTenBitWords> kTenToEight = [] {
    std::array<std::uint8_t, kTenBitWords> table{};
    for (std::int16_t word = 0; word < kTenBitWords; ++word) {
        table[static_cast<std::size_t>(word)] = ScaleTenToEight(word);
    }
    return table;
}();

// 0-based band within a sample; "single Band" has none of its own.
std::optional<std::int64_t> BandIndex(BandButton band) {
    switch (band) {
        case BandButton::Band1:
            return 0;
        case BandButton::Band2:
            return 1;
        case BandButton::Band3:
            return 2;
        case BandButton::Band4:
            return 3;
        case BandButton::Band5:
            return 4;
        case BandButton::SingleBand:
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

SampleLayout ProductLayout(BandButton band) {
    if (const auto index = BandIndex(band)) {
        return {20480, 20480, 10, *index * 2, SampleScale::Clip};
    }
    return {4096, 4096, 2, 0, SampleScale::Clip};
}

SampleLayout HrpLayout(BandButton band) {
    constexpr std::int64_t kChannel3 = 2;
    return {kEarthViewOffset, kLineBytes, kEarthSampleBytes,
            BandIndex(band).value_or(kChannel3) * 2, SampleScale::TenToEight};
}

QuicklookSize QuicklookSizeFor(std::int64_t lines, std::int64_t interval) {
    QuicklookSize size;
    if (lines < 1) {
        // The columns are counted on the first line written: with none, the header says 0, 0.
        return size;
    }
    size.Rows = (lines - 1) / interval + 1;
    size.Cols = (kSamplesPerLine - 1) / interval + 1;
    return size;
}

std::uint8_t ClipToByte(std::int16_t value) {
    return static_cast<std::uint8_t>(std::clamp<std::int16_t>(value, 0, 255));
}

std::uint8_t ScaleTenToEight(std::int16_t value) {
    // value x 255 / 1024 rounded halves to even, in integers: this runs once per sample of a
    // quicklook. The quotient of value x 255 by 1024 is exact, so only the remainder decides
    // the rounding; 512 is the one 10-bit word that lands on a half (127.5 -> 128).
    if (value <= 0) {
        return 0;
    }
    const std::int32_t product = std::int32_t{value} * 255;
    std::int32_t scaled = product >> 10;
    const std::int32_t remainder = product & 1023;
    if (remainder > 512 || (remainder == 512 && (scaled & 1) != 0)) {
        ++scaled;
    }
    return static_cast<std::uint8_t>(std::min(scaled, 255));
}

Failure WriteQuicklookImage(BinaryFile& input, BinaryFile& output, const SampleLayout& layout,
                            std::int64_t lines, std::int64_t interval) {
    const QuicklookSize size = QuicklookSizeFor(lines, interval);
    const auto cols = static_cast<std::size_t>(size.Cols);
    const auto sampleStride = static_cast<std::size_t>(interval * layout.SampleLength);

    // A kept line is read from its first to its last kept sample. With every line kept, as many
    // consecutive lines as fit a block are read at once; otherwise one read per kept line, so
    // that the lines in between are never read.
    const std::int64_t span =
        size.Rows == 0 ? 0 : (size.Cols - 1) * interval * layout.SampleLength + layout.SampleLength;
    // At least one line a read, also for a quicklook of no rows, which reads nothing.
    const std::int64_t linesPerRead =
        interval == 1
            ? std::max<std::int64_t>(1, std::min(kInputBlock / layout.LineLength, size.Rows))
            : 1;
    std::vector<std::uint8_t> block(
        static_cast<std::size_t>(span == 0 ? 0 : (linesPerRead - 1) * layout.LineLength + span));
    std::vector<std::uint8_t> pixels(
        std::min<std::size_t>(static_cast<std::size_t>(size.Rows) * cols,
                              kOutputBlock / std::max<std::size_t>(cols, 1) * cols + cols));
    std::size_t filled = 0;
    std::int64_t written = 0;

    const auto flush = [&]() -> Failure {
        if (filled == 0) {
            return {};
        }
        if (Failure failure = output.WriteAt(written, std::span(pixels.data(), filled))) {
            return failure;
        }
        written += static_cast<std::int64_t>(filled);
        filled = 0;
        return {};
    };
    // One kept line into the next row of pixels; the scale is chosen once per line, not per
    // sample.
    const auto convert = [&](const std::uint8_t* line) {
        const std::uint8_t* value = line + layout.ValueOffset;
        std::uint8_t* out = pixels.data() + filled;
        switch (layout.Scale) {
            case SampleScale::Clip:
                for (std::size_t col = 0; col < cols; ++col) {
                    out[col] = ClipToByte(ReadInt16Le(value + col * sampleStride));
                }
                break;
            case SampleScale::TenToEight:
                for (std::size_t col = 0; col < cols; ++col) {
                    const std::int16_t word = ReadInt16Le(value + col * sampleStride);
                    out[col] = word <= 0 ? 0 : word >= kTenBitWords ? 255 : kTenToEight[word];
                }
                break;
        }
        filled += cols;
    };

    for (std::int64_t row = 0; row < size.Rows; row += linesPerRead) {
        const std::int64_t count = std::min(linesPerRead, size.Rows - row);
        const std::int64_t offset = layout.FirstLineOffset + row * interval * layout.LineLength;
        const std::span<std::uint8_t> into(
            block.data(), static_cast<std::size_t>((count - 1) * layout.LineLength + span));
        // Lines cut short by the end of the file read as zeros.
        if (Failure failure = input.ReadFilled(offset, into)) {
            return failure;
        }
        for (std::int64_t i = 0; i < count; ++i) {
            if (filled + cols > pixels.size()) {
                if (Failure failure = flush()) {
                    return failure;
                }
            }
            convert(into.data() + i * layout.LineLength);
        }
    }
    if (Failure failure = flush()) {
        return failure;
    }

    const auto header = EncodeDimensionHeader(
        {static_cast<std::int16_t>(size.Rows), static_cast<std::int16_t>(size.Cols)});
    return output.WriteAt(0, header);
}

}  // namespace qiv::swathly
