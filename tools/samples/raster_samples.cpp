#include "tools/samples/raster_samples.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "common/core/binary_file.h"
#include "common/core/dimension_header.h"
#include "tools/samples/noise.h"
#include "tools/samples/sample_folder.h"

namespace qiv::samples {
namespace {}  // namespace

std::vector<std::uint8_t> SyntheticScene(std::int32_t rows, std::int32_t cols, std::uint32_t seed) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(rows) *
                                     static_cast<std::size_t>(cols));
    const double scale = 1.0 / 160.0;  // features of the same size on every image size
    for (std::int32_t r = 0; r < rows; ++r) {
        for (std::int32_t c = 0; c < cols; ++c) {
            const double x = c * scale;
            const double y = r * scale;
            // Relief with a tilt, so that land lies to the north-east and sea to the south-west.
            const double tilt =
                (static_cast<double>(c) / cols - static_cast<double>(r) / rows) * 0.35;
            const double height = Fractal(x, y, 7, seed) + tilt - 0.5;

            double level;
            if (height < 0.0) {
                // Shallow water near the coast is brighter than the open sea.
                const double depth = std::min(1.0, -height * 6.0);
                level = 52.0 - 30.0 * depth + 6.0 * (Fractal(x * 8.0, y * 8.0, 2, seed + 7u) - 0.5);
            } else {
                // Fields and forests: patches of different brightness, finer texture inside,
                // bare rock brighter on the heights.
                const double patches = Fractal(x * 3.0, y * 3.0, 3, seed + 11u);
                const double texture = Fractal(x * 24.0, y * 24.0, 2, seed + 13u);
                // Parcels of farmland on the lowlands: a slightly bent grid of fields, each of
                // its own brightness.
                const double bend = 0.8 * Fractal(x, y, 2, seed + 17u);
                const double field =
                    Lattice(static_cast<std::int32_t>(std::floor(x * 9.0 + bend)),
                            static_cast<std::int32_t>(std::floor(y * 7.0 - bend)), seed + 19u);
                const double lowland = 1.0 - Ramp(0.04, 0.14, height);
                level = 60.0 + 60.0 * patches + 18.0 * (texture - 0.5) +
                        lowland * 30.0 * (field - 0.5) + 150.0 * Ramp(0.12, 0.3, height);
                // A thin bright beach along the coast.
                level += 40.0 * (1.0 - Ramp(0.0, 0.012, height));
            }

            // Cloud, and its shadow cast a little to the south-east.
            const double cloud = Ramp(0.63, 0.82, Fractal(x * 1.3 + 40.0, y * 1.3, 6, seed + 29u));
            const double shadow =
                Ramp(0.63, 0.82, Fractal((x - 0.06) * 1.3 + 40.0, (y - 0.05) * 1.3, 6, seed + 29u));
            level *= 1.0 - 0.35 * shadow * (1.0 - cloud);
            const double cloudTop = 205.0 + 50.0 * Fractal(x * 6.0, y * 6.0, 3, seed + 31u);
            level = level * (1.0 - cloud) + cloudTop * cloud;

            pixels[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
                   static_cast<std::size_t>(c)] =
                static_cast<std::uint8_t>(std::clamp(std::lround(level), 0L, 255L));
        }
    }
    return pixels;
}

namespace {

Failure WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    BinaryFile file(FileRole::Output);
    if (Failure failure = file.Open(path, BinaryFile::Mode::WriteTruncate)) {
        return failure;
    }
    return file.WriteAt(0, bytes);
}

}  // namespace

Failure WriteRasterSamples(const std::filesystem::path& dir) {
    if (Failure failure = MakeFolder(dir)) {
        return failure;
    }

    std::vector<std::uint8_t> scene = SyntheticScene(512, 512, 1987u);
    const auto header = EncodeDimensionHeader({512, 512});
    std::copy(header.begin(), header.end(), scene.begin());
    if (Failure failure = WriteFile(dir / "scene-512x512-header.raw", scene)) {
        return failure;
    }

    if (Failure failure =
            WriteFile(dir / "scene-1024x1536.raw", SyntheticScene(1024, 1536, 2024u))) {
        return failure;
    }

    std::vector<std::uint8_t> levels(256);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        levels[i] = static_cast<std::uint8_t>(i);
    }
    return WriteFile(dir / "grey-levels-16x16.raw", levels);
}

}  // namespace qiv::samples
