#include "raster_viewer/core/histogram_pass.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <span>
#include <vector>

#include "raster_viewer/core/rastel_texts.h"
#include "raster_viewer/core/raster_file.h"
#include "common/core/typed_number.h"
#include "common/core/wait_notice.h"

namespace qiv::rastel {
namespace {

using Counts = std::array<std::int64_t, 256>;

// Reads are whole rows, as many as fit this block; a row longer than the block is read in
// block-sized pieces. The histogram does not care where a row ends.
constexpr std::int64_t kBlockBytes = std::int64_t{1} << 20;

// Adds the levels of one block to counts. Four partial histograms let the increments of
// neighbouring pixels proceed side by side: with one table, a run of equal pixels makes every
// increment wait for the one before it. A block is at most kBlockBytes, so 32-bit partial
// counts cannot overflow.
void CountBlock(std::span<const std::uint8_t> block, Counts& counts) {
    std::array<std::array<std::uint32_t, 256>, 4> partial{};
    const std::uint8_t* bytes = block.data();
    const std::size_t size = block.size();
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes + i, sizeof word);
        ++partial[0][word & 0xFF];
        ++partial[1][(word >> 8) & 0xFF];
        ++partial[2][(word >> 16) & 0xFF];
        ++partial[3][(word >> 24) & 0xFF];
        ++partial[0][(word >> 32) & 0xFF];
        ++partial[1][(word >> 40) & 0xFF];
        ++partial[2][(word >> 48) & 0xFF];
        ++partial[3][word >> 56];
    }
    for (; i < size; ++i) {
        ++partial[0][bytes[i]];
    }
    for (int level = 0; level < 256; ++level) {
        counts[level] += std::int64_t{partial[0][level]} + partial[1][level] + partial[2][level] +
                         partial[3][level];
    }
}

Failure CountLevels(RasterFile& image, Counts& counts) {
    const std::int64_t total = image.PixelCount();
    const std::int64_t cols = image.Cols();
    const std::int64_t chunk = cols <= kBlockBytes ? (kBlockBytes / cols) * cols : kBlockBytes;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(chunk, total)));
    for (std::int64_t done = 0; done < total;) {
        const std::int64_t size = std::min(chunk, total - done);
        const std::span<std::uint8_t> block(buffer.data(), static_cast<std::size_t>(size));
        if (Failure failure = image.ReadPixels(done, block)) {
            return failure;
        }
        CountBlock(block, counts);
        done += size;
    }
    return {};
}

// The histogram of the whole image of the state.
Failure CountImage(const ViewerState& state, Counts& counts, std::int64_t& pixelCount) {
    RasterFile image;
    if (Failure failure = image.Open(state.ImagePath, state.ImageRows, state.ImageCols)) {
        return failure;
    }
    pixelCount = image.PixelCount();
    return CountLevels(image, counts);
}

std::int32_t Rounded(double value) {
    return static_cast<std::int32_t>(RoundHalfEven(value));
}

// Columns 1 to 3 from the counts of an image of pixelCount >= 1 pixels. The counts and their
// running sums are 64-bit, so that any image the file system can hold gets exact tables;
// below 8,421,504 pixels every value is the one 32-bit arithmetic gives.
void BuildTables(const Counts& counts, std::int64_t pixelCount, ViewerState& state) {
    LevelTable& table = state.Levels;
    Counts cumulative{};
    cumulative[0] = counts[0];
    // The cut fractions are single precision and compared with single-precision thresholds:
    // 9 pixels of 10 give a fraction equal to 0.9f, which does not stop the high-cut search,
    // and 1 pixel of 10 one equal to 0.1f, which stops the low-cut search.
    constexpr float kHighThreshold = 0.9f;
    constexpr float kLowThreshold = 0.1f;
    float highFraction = 0.0f;
    float lowFraction = 0.0f;
    std::int16_t highCut = 0;
    std::int16_t lowCut = 0;
    const auto fraction = [pixelCount](std::int64_t count) {
        return static_cast<float>(static_cast<double>(count) / static_cast<double>(pixelCount));
    };
    for (int i = 1; i <= 255; ++i) {
        cumulative[i] = cumulative[i - 1] + counts[i];
        if (highFraction <= kHighThreshold) {
            highFraction = fraction(cumulative[i]);
            highCut = static_cast<std::int16_t>(i);
        }
        if (lowFraction < kLowThreshold) {
            lowFraction = fraction(cumulative[i]);
            lowCut = static_cast<std::int16_t>(i);
        }
    }

    for (int k = 0; k <= 255; ++k) {
        // A histogram count beyond 32 bits (an image of more than 2 GiB) is held at the
        // largest 32-bit value; the tables below use the exact counts.
        table.Count[k] = static_cast<std::int32_t>(
            std::min<std::int64_t>(counts[k], std::numeric_limits<std::int32_t>::max()));
        // cumulative x 255 is exact in a double up to 2^53, far beyond any real image.
        table.Equalised[k] =
            Rounded(static_cast<double>(cumulative[k]) * 255.0 / static_cast<double>(pixelCount));
        if (k <= lowCut) {
            table.Stretched[k] = Rounded(static_cast<double>(k * 10) / lowCut);
        } else if (k <= highCut) {
            table.Stretched[k] =
                Rounded(static_cast<double>((k - lowCut) * 235) / (highCut - lowCut) + 10.0);
        } else {
            table.Stretched[k] =
                Rounded(static_cast<double>((k - highCut) * 10) / (255 - highCut) + 245.0);
        }
    }
    state.LowCut = lowCut;
    state.HighCut = highCut;
}

}  // namespace

CommandOutcome HistogramPass(ViewerState& state, Canvas& waitArea) {
    if (!state.FileChosen) {
        return Refusal::PassWithoutImage;
    }
    if (state.TablesReady) {
        return {};
    }
    if (CommandOutcome pixels = HasPixels(state); !pixels.Done()) {
        return pixels;
    }

    Counts counts{};
    std::int64_t pixelCount = 0;
    Failure failure;
    {
        const WaitNotice notice(waitArea, kWaitMessage);
        failure = CountImage(state, counts, pixelCount);
    }
    if (failure) {
        return failure;
    }
    BuildTables(counts, pixelCount, state);
    state.TablesReady = true;
    return {};
}

CommandOutcome Start(ViewerState& state, Canvas& waitArea, Canvas& displayArea) {
    CommandOutcome outcome;
    if (!state.TablesReady) {
        outcome = HistogramPass(state, waitArea);
    }
    displayArea.Clear();
    return outcome;
}

}  // namespace qiv::rastel
