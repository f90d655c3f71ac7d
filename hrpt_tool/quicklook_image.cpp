#include "quicklook_image.h"

#include <algorithm>
#include <vector>

#include "dimension_header.h"
#include "typed_number.h"

namespace qiv::swathly {
namespace {

// Pixels are gathered into blocks of about this size before they are written.
constexpr std::size_t kOutputBlock = 1 << 20;

std::uint8_t ToByte(SampleScale scale, std::int16_t value) {
    switch (scale) {
        case SampleScale::Clip:
            return ClipToByte(value);
        case SampleScale::TenToEight:
            return ScaleTenToEight(value);
    }
    return 0;
}

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
    // 255 / 1024 is exact in binary, so the product is exact and only the rounding decides;
    // 512 is the one 10-bit word that lands on a half (127.5 -> 128).
    const double scaled = RoundHalfEven(static_cast<double>(value) * 255.0 / 1024.0);
    return static_cast<std::uint8_t>(std::clamp(scaled, 0.0, 255.0));
}

QuicklookWrite WriteQuicklookImage(BinaryFile& input, BinaryFile& output,
                                   const SampleLayout& layout, std::int64_t lines,
                                   std::int64_t interval) {
    QuicklookWrite result;
    const QuicklookSize size = QuicklookSizeFor(lines, interval);
    const auto cols = static_cast<std::size_t>(size.Cols);

    // One read per kept line covers the first to the last kept sample of that line.
    const auto span =
        size.Rows == 0 ? std::size_t{0}
                       : static_cast<std::size_t>((size.Cols - 1) * interval * layout.SampleLength +
                                                  layout.SampleLength);
    std::vector<std::uint8_t> line(span);
    std::vector<std::uint8_t> pixels;
    pixels.reserve(kOutputBlock + cols);
    std::int64_t written = 0;

    const auto flush = [&]() {
        if (pixels.empty()) {
            return true;
        }
        if (!output.WriteAt(written, pixels)) {
            result.Failure = QuicklookFailure{QuicklookFailure::Side::Output, output.Error()};
            return false;
        }
        written += static_cast<std::int64_t>(pixels.size());
        pixels.clear();
        return true;
    };

    for (std::int64_t row = 0; row < size.Rows; ++row) {
        const std::int64_t offset = layout.FirstLineOffset + row * interval * layout.LineLength;
        const std::int64_t got = input.ReadAt(offset, line);
        if (got < 0) {
            result.Failure = QuicklookFailure{QuicklookFailure::Side::Input, input.Error()};
            return result;
        }
        // A line cut short by the end of the file reads as zeros.
        std::fill(line.begin() + got, line.end(), std::uint8_t{0});
        for (std::size_t col = 0; col < cols; ++col) {
            const std::size_t at = col * static_cast<std::size_t>(interval * layout.SampleLength) +
                                   static_cast<std::size_t>(layout.ValueOffset);
            pixels.push_back(ToByte(layout.Scale, ReadInt16Le(&line[at])));
        }
        if (pixels.size() >= kOutputBlock && !flush()) {
            return result;
        }
    }
    if (!flush()) {
        return result;
    }

    const auto header = EncodeDimensionHeader(
        {static_cast<std::int16_t>(size.Rows), static_cast<std::int16_t>(size.Cols)});
    if (!output.WriteAt(0, header)) {
        result.Failure = QuicklookFailure{QuicklookFailure::Side::Output, output.Error()};
        return result;
    }
    result.Size = size;
    return result;
}

}  // namespace qiv::swathly
