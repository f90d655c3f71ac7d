#include "paint_image.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <ctime>
#include <random>
#include <vector>

#include "rastel_texts.h"
#include "raster_file.h"
#include "typed_number.h"

namespace qiv::rastel {
namespace {

std::int16_t RoundedProduct(int steps, double factor) {
    return static_cast<std::int16_t>(RoundHalfEven(steps * factor));
}

// A uniform generator in [0, 1) that is started again from a single-precision seed. Every bit
// of the seed goes into the state, so seeds a fraction of a second apart differ.
class ReseedableRandom {
public:
    void Reseed(float seed) { engine_.seed(std::bit_cast<std::uint32_t>(seed)); }
    // The engine's 32 random bits over 2^32: never 1.
    double Next() { return static_cast<double>(engine_()) / 4294967296.0; }

private:
    std::mt19937 engine_;
};

// A range of 0-based image rows or columns, both ends included; empty when first > last.
struct IndexRange {
    std::int64_t First = 0;
    std::int64_t Last = -1;

    bool Empty() const { return First > Last; }
    std::int64_t Size() const { return Empty() ? 0 : Last - First + 1; }
};

// The rows (or columns) of an image of `count` of them whose pixels land inside a picture
// `extent` pixels high (or wide). Upright index i lands at i + 1, upside down at count - 1 - i.
IndexRange VisibleIndices(std::int64_t count, std::int64_t extent, bool upsideDown) {
    if (upsideDown) {
        return {std::max<std::int64_t>(0, count - extent), count - 1};
    }
    return {0, std::min(count - 1, extent - 2)};
}

// Marks in `seen` the levels that occur in the image, reading it in large blocks, until every
// level of `wanted` has been seen or the image ends.
Failure ScanLevels(RasterFile& image, const std::array<bool, 256>& wanted,
                   std::array<bool, 256>& seen) {
    const auto missing = [&] {
        for (int v = 0; v < 256; ++v) {
            if (wanted[v] && !seen[v]) {
                return true;
            }
        }
        return false;
    };
    constexpr std::int64_t kBlock = std::int64_t{1} << 20;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min(kBlock, image.PixelCount())));
    for (std::int64_t first = 0; first < image.PixelCount() && missing(); first += kBlock) {
        const auto size = static_cast<std::size_t>(std::min(kBlock, image.PixelCount() - first));
        const std::span<std::uint8_t> bytes(block.data(), size);
        if (Failure failure = image.ReadPixels(first, bytes)) {
            return failure;
        }
        for (const std::uint8_t b : bytes) {
            seen[b] = true;
        }
    }
    return {};
}

// The colour of every stored level. Every pixel of a level gets the same colour, so the colours
// are worked out once per level and each row is then mapped through this table. `lowered`
// marks the levels whose table entry lies above 255 and is to be lowered to it.
std::array<Colour, 256> ColoursOfLevels(const ViewerState& state,
                                        const std::array<std::int32_t, 256>* transfer,
                                        ColourScheme scheme, std::array<bool, 256>& lowered) {
    std::array<Colour, 256> colourOf{};
    for (int v = 0; v < 256; ++v) {
        std::int32_t level = v;
        if (transfer != nullptr) {
            lowered[v] = (*transfer)[v] > 255;
            level = std::clamp((*transfer)[v], 0, 255);
        }
        switch (scheme) {
            case ColourScheme::Grey:
                colourOf[v] = MakeColour(level, level, level);
                break;
            case ColourScheme::ContinuousSlicing:
            case ColourScheme::RandomSlicing: {
                const ColourEntry& entry = state.ColourTable[level];
                colourOf[v] = MakeColour(entry.Red, entry.Green, entry.Blue);
                break;
            }
        }
    }
    return colourOf;
}

// Draws the part of the image that lands inside the picture: one read and one run of pixels
// per row. Marks in `seen` the levels met, when asked to.
Failure PaintVisibleRows(RasterFile& image, bool upsideDown,
                         const std::array<Colour, 256>& colourOf, Canvas& picture,
                         std::array<bool, 256>* seen) {
    const std::int64_t rows = image.Rows();
    const std::int64_t cols = image.Cols();
    const IndexRange rowsShown = VisibleIndices(rows, picture.Height(), upsideDown);
    const IndexRange colsShown = VisibleIndices(cols, picture.Width(), upsideDown);
    if (rowsShown.Empty() || colsShown.Empty()) {
        return {};
    }
    const auto width = static_cast<std::size_t>(colsShown.Size());
    std::vector<std::uint8_t> bytes(width);
    std::vector<Colour> colours(width);
    const int x = static_cast<int>(upsideDown ? cols - 1 - colsShown.First : colsShown.First + 1);
    const int step = upsideDown ? -1 : +1;
    for (std::int64_t r = rowsShown.First; r <= rowsShown.Last; ++r) {
        if (Failure failure = image.ReadPixels(r * cols + colsShown.First, bytes)) {
            return failure;
        }
        for (std::size_t i = 0; i < width; ++i) {
            colours[i] = colourOf[bytes[i]];
        }
        if (seen != nullptr) {
            for (const std::uint8_t b : bytes) {
                (*seen)[b] = true;
            }
        }
        picture.SetPixelRun(x, static_cast<int>(upsideDown ? rows - 1 - r : r + 1), step, colours);
    }
    return {};
}

// An entry above 255 is lowered only when its level occurs in the image, wherever the pixel
// lands; the part that lies outside the picture is read for that alone.
Failure LowerEntriesAbove255(RasterFile& image, bool wholeImageSeen,
                             const std::array<bool, 256>& lowered, std::array<bool, 256>& seen,
                             std::array<std::int32_t, 256>& transfer) {
    if (!wholeImageSeen) {
        if (Failure failure = ScanLevels(image, lowered, seen)) {
            return failure;
        }
    }
    for (int v = 0; v < 256; ++v) {
        if (lowered[v] && seen[v]) {
            transfer[v] = 255;
        }
    }
    return {};
}

}  // namespace

float SystemTimeOfDay() {
    const auto now = std::chrono::system_clock::now();
    const auto whole = std::chrono::floor<std::chrono::seconds>(now);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(whole);
    std::tm local{};
    localtime_r(&seconds, &local);
    const double fraction = std::chrono::duration<double>(now - whole).count();
    return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + fraction);
}

void FillSlicingColours(ViewerState& state) {
    auto& table = state.ColourTable;
    for (int i = 0; i <= 60; ++i) {
        table[i] = {0, 0, RoundedProduct(i, 4.2)};
    }
    for (int i = 61; i <= 120; ++i) {
        table[i] = {0, RoundedProduct(i - 61, 4.2), 0};
    }
    for (int i = 121; i <= 180; ++i) {
        const std::int16_t rising = RoundedProduct(i - 121, 4.2);
        table[i] = {rising, rising, 0};
    }
    for (int i = 181; i <= 255; ++i) {
        table[i] = {RoundedProduct(i - 181, 3.4), 0, 0};
    }
}

void FillRandomColours(ViewerState& state, const TimeOfDay& timeOfDay) {
    auto& table = state.ColourTable;
    for (int i = 0; i <= 255; ++i) {
        table[i] = {};
    }
    ReseedableRandom random;
    const auto fill = [&](float seed, std::int16_t ColourEntry::*component) {
        random.Reseed(seed);
        for (int i = 1; i <= 255; ++i) {
            table[i].*component = static_cast<std::int16_t>(std::floor(random.Next() * 255.0));
        }
    };
    fill(timeOfDay(), &ColourEntry::Red);
    fill(timeOfDay() + 12.0f, &ColourEntry::Green);
    fill(timeOfDay() + 3719.0f, &ColourEntry::Blue);
}

Failure PaintImage(ViewerState& state, PaintMode mode, ColourScheme scheme, DisplayView& display,
                   const TimeOfDay& timeOfDay) {
    const bool hasPixels = state.ImageRows >= 1 && state.ImageCols >= 1;
    RasterFile image;
    if (hasPixels) {
        if (Failure failure = image.Open(state.ImagePath, state.ImageRows, state.ImageCols)) {
            return failure;
        }
    }

    ShowDisplayWindow(state, display);
    display.MoveTo(1, 1);
    FillSlicingColours(state);
    switch (scheme) {
        case ColourScheme::Grey:
        case ColourScheme::ContinuousSlicing:
            break;
        case ColourScheme::RandomSlicing:
            FillRandomColours(state, timeOfDay);
            break;
    }
    if (!hasPixels) {
        return {};
    }

    std::array<std::int32_t, 256>* transfer = MappingColumn(state.Levels, mode);
    std::array<bool, 256> lowered{};
    const std::array<Colour, 256> colourOf = ColoursOfLevels(state, transfer, scheme, lowered);
    const bool lowersAny = std::find(lowered.begin(), lowered.end(), true) != lowered.end();

    const bool upsideDown = state.Orientation == ImageOrientation::UpsideDown;
    Canvas& picture = display.Picture();
    std::array<bool, 256> seen{};
    if (Failure failure =
            PaintVisibleRows(image, upsideDown, colourOf, picture, lowersAny ? &seen : nullptr)) {
        return failure;
    }
    if (!lowersAny) {
        return {};
    }
    const bool wholeImageSeen =
        VisibleIndices(image.Rows(), picture.Height(), upsideDown).Size() == image.Rows() &&
        VisibleIndices(image.Cols(), picture.Width(), upsideDown).Size() == image.Cols();
    return LowerEntriesAbove255(image, wholeImageSeen, lowered, seen, *transfer);
}

void PaintFromMenu(ViewerState& state, PaintMode mode, ColourScheme scheme, DisplayView& display,
                   Dialogs& dialogs) {
    if (!state.TablesReady) {
        dialogs.Message(kPressStartFirst);
        return;
    }
    if (Failure failure = PaintImage(state, mode, scheme, display)) {
        dialogs.Message(MessageFor(failure));
    }
}

}  // namespace qiv::rastel
