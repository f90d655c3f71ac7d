#include "raster_viewer/core/paint_image.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <ctime>
#include <random>
#include <vector>

#include "raster_viewer/core/rastel_texts.h"
#include "raster_viewer/core/raster_file.h"
#include "common/core/typed_number.h"

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

// A range of 0-based rows or columns of the painting, both ends included; empty when
// first > last.
struct IndexRange {
    std::int64_t First = 0;
    std::int64_t Last = -1;

    bool Empty() const { return First > Last; }
    std::int64_t Size() const { return Empty() ? 0 : Last - First + 1; }
};

// Where the painting lies in Picture1: upright one pixel in from the top-left corner, upside
// down from the corner itself (image pixel (c, r), from 1, lands at (c, r) upright and at
// (cols - c, rows - r) upside down).
int PictureMargin(bool upsideDown) {
    return upsideDown ? 0 : 1;
}

// The rows (or columns) of a painting of `count` of them that land inside a picture `extent`
// pixels high (or wide).
IndexRange VisibleIndices(std::int64_t count, std::int64_t extent, bool upsideDown) {
    return {0, std::min(count - 1, extent - 1 - PictureMargin(upsideDown))};
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

// Everything a painting works out before it reads the image. Every pixel of a level gets the
// same colour, so the colours are worked out once per level and each row is then mapped
// through this table. `Lowered` marks the levels whose table entry lies above 255 and is to be
// lowered to it.
struct Palette {
    std::array<std::int32_t, 256> Level{};  // the grey level painted for each stored value
    std::array<Colour, 256> ColourOf{};
    std::array<bool, 256> Lowered{};
    bool LowersAny = false;
    std::array<std::int32_t, 256>* Transfer = nullptr;
};

// Fills the colour table as every painting does and works out the palette.
Palette PreparePalette(ViewerState& state, LevelMapping mode, ColourScheme scheme,
                       const TimeOfDay& timeOfDay) {
    FillSlicingColours(state);
    switch (scheme) {
        case ColourScheme::Grey:
        case ColourScheme::ContinuousSlicing:
            break;
        case ColourScheme::RandomSlicing:
            FillRandomColours(state, timeOfDay);
            break;
    }
    Palette palette;
    palette.Transfer = MappingColumn(state.Levels, mode);
    for (int v = 0; v < 256; ++v) {
        std::int32_t level = v;
        if (palette.Transfer != nullptr) {
            palette.Lowered[v] = (*palette.Transfer)[v] > 255;
            palette.LowersAny = palette.LowersAny || palette.Lowered[v];
            level = std::clamp((*palette.Transfer)[v], 0, 255);
        }
        palette.Level[v] = level;
        switch (scheme) {
            case ColourScheme::Grey:
                palette.ColourOf[v] = MakeColour(level, level, level);
                break;
            case ColourScheme::ContinuousSlicing:
            case ColourScheme::RandomSlicing: {
                const ColourEntry& entry = state.ColourTable[level];
                palette.ColourOf[v] = MakeColour(entry.Red, entry.Green, entry.Blue);
                break;
            }
        }
    }
    return palette;
}

// Paints the rows x cols part of the painting into sink, top row first, one read per row.
// Upside down the painting's row r is image row rows - 1 - r read backwards, so that the
// rows come in the order a picture or a file is filled. Marks in `seen` the levels met, when
// asked to.
Failure PaintRows(RasterFile& image, bool upsideDown, const std::array<Colour, 256>& colourOf,
                  IndexRange rows, IndexRange cols, RowSink& sink, std::array<bool, 256>* seen) {
    if (rows.Empty() || cols.Empty()) {
        return {};
    }
    const auto width = static_cast<std::size_t>(cols.Size());
    std::vector<std::uint8_t> bytes(width);
    std::vector<Colour> colours(width);
    const std::int64_t firstCol = upsideDown ? image.Cols() - 1 - cols.Last : cols.First;
    for (std::int64_t r = rows.First; r <= rows.Last; ++r) {
        const std::int64_t imageRow = upsideDown ? image.Rows() - 1 - r : r;
        if (Failure failure = image.ReadPixels(imageRow * image.Cols() + firstCol, bytes)) {
            return failure;
        }
        if (upsideDown) {
            for (std::size_t i = 0; i < width; ++i) {
                colours[i] = colourOf[bytes[width - 1 - i]];
            }
        } else {
            for (std::size_t i = 0; i < width; ++i) {
                colours[i] = colourOf[bytes[i]];
            }
        }
        if (seen != nullptr) {
            for (const std::uint8_t b : bytes) {
                (*seen)[b] = true;
            }
        }
        if (Failure failure = sink.TakeRow(r, colours)) {
            return failure;
        }
    }
    return {};
}

// The rows of a painting into Picture1, each moved in by the picture's margin.
class PictureRows : public RowSink {
public:
    PictureRows(Canvas& picture, int margin, std::int64_t firstCol)
        : picture_(picture), margin_(margin), firstCol_(firstCol) {}
    Failure TakeRow(std::int64_t row, std::span<const Colour> colours) override {
        picture_.SetPixelRun(static_cast<int>(firstCol_ + margin_), static_cast<int>(row + margin_),
                             +1, colours);
        return {};
    }

private:
    Canvas& picture_;
    int margin_;
    std::int64_t firstCol_;
};

// An entry above 255 is lowered only when its level occurs in the image, wherever the pixel
// lands; the part that was not painted is read for that alone.
Failure LowerEntriesAbove255(RasterFile& image, bool wholeImageSeen, const Palette& palette,
                             std::array<bool, 256>& seen) {
    if (!palette.LowersAny) {
        return {};
    }
    if (!wholeImageSeen) {
        if (Failure failure = ScanLevels(image, palette.Lowered, seen)) {
            return failure;
        }
    }
    for (int v = 0; v < 256; ++v) {
        if (palette.Lowered[v] && seen[v]) {
            (*palette.Transfer)[v] = 255;
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

Failure PaintImageRows(ViewerState& state, LevelMapping mode, ColourScheme scheme, RowSink& sink,
                       const TimeOfDay& timeOfDay) {
    RasterFile image;
    if (Failure failure = image.Open(state.ImagePath, state.ImageRows, state.ImageCols)) {
        return failure;
    }
    const Palette palette = PreparePalette(state, mode, scheme, timeOfDay);
    const bool upsideDown = state.Orientation == ImageOrientation::UpsideDown;
    std::array<bool, 256> seen{};
    if (Failure failure =
            PaintRows(image, upsideDown, palette.ColourOf, {0, image.Rows() - 1},
                      {0, image.Cols() - 1}, sink, palette.LowersAny ? &seen : nullptr)) {
        return failure;
    }
    return LowerEntriesAbove255(image, true, palette, seen);
}

Failure PaintImage(ViewerState& state, LevelMapping mode, ColourScheme scheme, DisplayView& display,
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
    const Palette palette = PreparePalette(state, mode, scheme, timeOfDay);
    if (!hasPixels) {
        return {};
    }

    const bool upsideDown = state.Orientation == ImageOrientation::UpsideDown;
    Canvas& picture = display.Picture();
    const IndexRange rows = VisibleIndices(image.Rows(), picture.Height(), upsideDown);
    const IndexRange cols = VisibleIndices(image.Cols(), picture.Width(), upsideDown);
    PictureRows sink(picture, PictureMargin(upsideDown), cols.First);
    std::array<bool, 256> seen{};
    if (Failure failure = PaintRows(image, upsideDown, palette.ColourOf, rows, cols, sink,
                                    palette.LowersAny ? &seen : nullptr)) {
        return failure;
    }
    const bool wholeImageSeen = rows.Size() == image.Rows() && cols.Size() == image.Cols();
    if (Failure failure = LowerEntriesAbove255(image, wholeImageSeen, palette, seen)) {
        return failure;
    }
    display.PaintingShown(
        {state.ImagePath, image.Rows(), image.Cols(), state.Orientation, palette.Level});
    return {};
}

CommandOutcome PaintFromMenu(ViewerState& state, LevelMapping mode, ColourScheme scheme,
                             DisplayView& display) {
    if (!state.TablesReady) {
        return Refusal::TablesNotBuilt;
    }
    return PaintImage(state, mode, scheme, display);
}

}  // namespace qiv::rastel
