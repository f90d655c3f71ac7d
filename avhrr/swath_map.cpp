#include "avhrr/swath_map.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "common/core/png_file.h"

namespace qiv::avhrr {
namespace {

constexpr std::uint8_t kImageBit = 1;
constexpr std::uint8_t kGraticuleBit = 2;
constexpr std::uint8_t kCoastBit = 4;
// Lines are drawn between points of them at most this many pixels apart, so that a parallel
// on a polar map is a circle, not a polygon.
constexpr double kLineSamplePixels = 2.0;
constexpr std::int64_t kMostLineSamples = 200'000;

Failure Refused(std::string reason) {
    return Failure::Details{FileProblem::Refused, FileRole::Input, {}, std::move(reason)};
}

// A point of a triangle: where it lies on the map (pixels) and in the image (row, column).
struct Vertex {
    double Column = 0.0;
    double Row = 0.0;
    double ImageRow = 0.0;
    double ImageCol = 0.0;
};

}  // namespace

Failure SpanImage::ReadRows(int first, int count, std::span<std::uint8_t> pixels) {
    const auto size = static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_);
    if (first < 0 || count < 0 || first + count > rows_ || pixels_.size() < size ||
        pixels.size() < static_cast<std::size_t>(count) * cols_) {
        return Refused("the image holds fewer rows than its grid names");
    }
    std::memcpy(pixels.data(), pixels_.data() + static_cast<std::size_t>(first) * cols_,
                static_cast<std::size_t>(count) * cols_);
    return {};
}

SwathMap::SwathMap(const MapFrame& frame, MapStyle style)
    : frame_(frame),
      style_(style),
      counts_(static_cast<std::size_t>(std::max(frame.Width, 0)) *
              static_cast<std::size_t>(std::max(frame.Height, 0))),
      marks_(counts_.size()) {
    frame_.Width = std::max(frame.Width, 0);
    frame_.Height = std::max(frame.Height, 0);
}

Failure SwathMap::Resample(const TiePointGrid& grid, SwathImage& image) {
    if (!IsWellFormed(grid)) {
        return Refused("the tie-point grid is not well formed");
    }
    const std::size_t rows = grid.Rows.size();
    const std::size_t cols = grid.Cols.size();
    std::vector<Vertex> vertices(rows * cols);
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < cols; ++c) {
            Vertex& v = vertices[r * cols + c];
            frame_.ToPixel(grid.Latitude[r * cols + c], grid.Longitude[r * cols + c], v.Column,
                           v.Row);
            v.ImageRow = grid.Rows[r];
            v.ImageCol = grid.Cols[c];
        }
    }
    // The tie points name the centres of the image's outer pixels; the outer ring of tie points
    // moves out by half a pixel, along the line from its inner neighbour, so that the map holds
    // the outer pixels whole.
    auto extend = [&](std::size_t edge, std::size_t inner, double pixels) {
        Vertex& v = vertices[edge];
        const Vertex& w = vertices[inner];
        const double t = 0.5 / pixels;
        v = Vertex{v.Column + (v.Column - w.Column) * t, v.Row + (v.Row - w.Row) * t,
                   v.ImageRow + (v.ImageRow - w.ImageRow) * t,
                   v.ImageCol + (v.ImageCol - w.ImageCol) * t};
    };
    for (std::size_t c = 0; c < cols; ++c) {
        extend(c, cols + c, grid.Rows[1] - grid.Rows[0]);
        extend((rows - 1) * cols + c, (rows - 2) * cols + c,
               grid.Rows[rows - 1] - grid.Rows[rows - 2]);
    }
    for (std::size_t r = 0; r < rows; ++r) {
        extend(r * cols, r * cols + 1, grid.Cols[1] - grid.Cols[0]);
        extend(r * cols + cols - 1, r * cols + cols - 2, grid.Cols[cols - 1] - grid.Cols[cols - 2]);
    }
    const int width = frame_.Width;
    const int height = frame_.Height;
    std::vector<std::uint8_t> band;
    for (std::size_t i = 0; i + 1 < rows; ++i) {
        const int first = grid.Rows[i];
        const int count = grid.Rows[i + 1] - first + 1;
        band.resize(static_cast<std::size_t>(count) * grid.ImageCols);
        if (Failure failure = image.ReadRows(first, count, band)) {
            return failure;
        }
        auto rasterise = [&](const Vertex& a, const Vertex& b, const Vertex& c) {
            const double area =
                (b.Column - a.Column) * (c.Row - a.Row) - (c.Column - a.Column) * (b.Row - a.Row);
            if (!(std::abs(area) > 1e-12)) {
                return;
            }
            const int x0 = std::max(
                0, static_cast<int>(std::ceil(std::min({a.Column, b.Column, c.Column}) - 1e-9)));
            const int x1 = std::min(
                width - 1,
                static_cast<int>(std::floor(std::max({a.Column, b.Column, c.Column}) + 1e-9)));
            const int y0 =
                std::max(0, static_cast<int>(std::ceil(std::min({a.Row, b.Row, c.Row}) - 1e-9)));
            const int y1 = std::min(
                height - 1, static_cast<int>(std::floor(std::max({a.Row, b.Row, c.Row}) + 1e-9)));
            // A cell far larger than its image pixels can only be one torn across the map's
            // edge (a place the map cannot hold whole): left out.
            const double cellPixels = (c.ImageRow - a.ImageRow + 1) * (c.ImageCol - a.ImageCol + 1);
            if (x1 < x0 || y1 < y0 ||
                static_cast<double>(x1 - x0 + 1) * (y1 - y0 + 1) >
                    100.0 * std::abs(cellPixels) + 10000.0) {
                return;
            }
            // The barycentric weights of b and c, and with them the image's row and column, are
            // linear across the map: stepped along each map row rather than computed afresh.
            const double inverse = 1.0 / area;
            const double wbPerX = (c.Row - a.Row) * inverse;
            const double wcPerX = -(b.Row - a.Row) * inverse;
            const double rowB = b.ImageRow - a.ImageRow;
            const double rowC = c.ImageRow - a.ImageRow;
            const double colB = b.ImageCol - a.ImageCol;
            const double colC = c.ImageCol - a.ImageCol;
            const double tolerance = 1e-9;
            // Nearest pixel as truncation of value + 0.5 (the values are never below -0.5),
            // kept within the band and the image.
            const double lastRow = first + count - 1;
            const double lastCol = grid.ImageCols - 1;
            for (int y = y0; y <= y1; ++y) {
                double wb =
                    ((x0 - a.Column) * (c.Row - a.Row) - (c.Column - a.Column) * (y - a.Row)) *
                    inverse;
                double wc =
                    ((b.Column - a.Column) * (y - a.Row) - (x0 - a.Column) * (b.Row - a.Row)) *
                    inverse;
                std::uint8_t* counts = counts_.data() + static_cast<std::size_t>(y) * width;
                std::uint8_t* marks = marks_.data() + static_cast<std::size_t>(y) * width;
                for (int x = x0; x <= x1; ++x, wb += wbPerX, wc += wcPerX) {
                    if (wb < -tolerance || wc < -tolerance || wb + wc > 1.0 + tolerance) {
                        continue;
                    }
                    const double imageRow = std::clamp(a.ImageRow + wb * rowB + wc * rowC,
                                                       static_cast<double>(first), lastRow);
                    const double imageCol =
                        std::clamp(a.ImageCol + wb * colB + wc * colC, 0.0, lastCol);
                    const auto r = static_cast<std::size_t>(imageRow + 0.5) - first;
                    const auto col = static_cast<std::size_t>(imageCol + 0.5);
                    counts[x] = band[r * grid.ImageCols + col];
                    marks[x] |= kImageBit;
                }
            }
        };
        for (std::size_t j = 0; j + 1 < cols; ++j) {
            auto vertex = [&](std::size_t r, std::size_t c) { return vertices[r * cols + c]; };
            const Vertex topLeft = vertex(i, j);
            const Vertex topRight = vertex(i, j + 1);
            const Vertex bottomRight = vertex(i + 1, j + 1);
            const Vertex bottomLeft = vertex(i + 1, j);
            rasterise(topLeft, topRight, bottomRight);
            rasterise(topLeft, bottomRight, bottomLeft);
        }
    }
    return {};
}

void SwathMap::DrawLine(double c0, double r0, double c1, double r1, std::uint8_t bit) {
    // Clipped (Liang-Barsky) to the picture with half a pixel to spare, then stepped a pixel
    // at a time along its longer axis.
    double t0 = 0.0;
    double t1 = 1.0;
    const double dc = c1 - c0;
    const double dr = r1 - r0;
    const double p[4] = {-dc, dc, -dr, dr};
    const double q[4] = {c0 + 0.5, frame_.Width - 0.5 - c0, r0 + 0.5, frame_.Height - 0.5 - r0};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) {
                return;
            }
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
    }
    if (!(t0 <= t1)) {
        return;
    }
    const double ca = c0 + t0 * dc;
    const double ra = r0 + t0 * dr;
    const double cb = c0 + t1 * dc;
    const double rb = r0 + t1 * dr;
    const int steps = static_cast<int>(std::ceil(std::max(std::abs(cb - ca), std::abs(rb - ra))));
    for (int s = 0; s <= steps; ++s) {
        const double t = steps == 0 ? 0.0 : static_cast<double>(s) / steps;
        const int x = static_cast<int>(std::lround(ca + t * (cb - ca)));
        const int y = static_cast<int>(std::lround(ra + t * (rb - ra)));
        if (x >= 0 && x < frame_.Width && y >= 0 && y < frame_.Height) {
            marks_[static_cast<std::size_t>(y) * frame_.Width + x] |= bit;
        }
    }
}

void SwathMap::DrawGeoLine(const std::vector<GeoPoint>& points, std::uint8_t bit) {
    const bool cylindrical = frame_.Projection.Kind == MapKind::Equirectangular;
    const double lon0 = frame_.Projection.CentreLongitude;
    double previousColumn = 0.0;
    double previousRow = 0.0;
    double previousLon = 0.0;
    for (std::size_t k = 0; k < points.size(); ++k) {
        double column = 0.0;
        double row = 0.0;
        frame_.ToPixel(points[k].Latitude, points[k].Longitude, column, row);
        // Longitude relative to the centre, within a turn, to see a segment that the
        // cylindrical map's edge at lon0 + 180° would cut.
        const double lon = std::remainder(points[k].Longitude - lon0, 360.0);
        if (k > 0 && std::isfinite(column) && std::isfinite(row) &&
            !(cylindrical && std::abs(lon - previousLon) > 180.0)) {
            DrawLine(previousColumn, previousRow, column, row, bit);
        }
        previousColumn = column;
        previousRow = row;
        previousLon = lon;
    }
}

void SwathMap::DrawGraticule(double degrees) {
    if (!(degrees > 0.0) || !std::isfinite(degrees) || frame_.Width == 0 || frame_.Height == 0) {
        return;
    }
    const GeoBox box = frame_.Bounds();
    const double sample =
        std::max(kLineSamplePixels * frame_.PixelKm / (kEarthRadiusKm * M_PI / 180.0), 1e-4);
    auto samples = [&](double from, double to) {
        return static_cast<int>(
            std::min<double>(kMostLineSamples, std::ceil((to - from) / sample) + 1));
    };
    std::vector<GeoPoint> line;
    for (double lat = std::ceil(box.South / degrees) * degrees; lat <= box.North; lat += degrees) {
        const int n = samples(box.West, box.East);
        line.clear();
        for (int k = 0; k <= n; ++k) {
            line.push_back({lat, box.West + (box.East - box.West) * k / n});
        }
        DrawGeoLine(line, kGraticuleBit);
    }
    // Meridians stop short of the pole, where they meet.
    const double south = std::max(box.South, -90.0 + degrees / 4);
    const double north = std::min(box.North, 90.0 - degrees / 4);
    for (double lon = std::ceil(box.West / degrees) * degrees; lon <= box.East; lon += degrees) {
        const int n = samples(south, north);
        line.clear();
        for (int k = 0; k <= n; ++k) {
            line.push_back({south + (north - south) * k / n, lon});
        }
        DrawGeoLine(line, kGraticuleBit);
    }
}

void SwathMap::DrawCoastlines(const std::vector<GeoPolyline>& lines) {
    for (const GeoPolyline& line : lines) {
        DrawGeoLine(line, kCoastBit);
    }
}

bool SwathMap::InSwath(int x, int y) const {
    return (marks_[static_cast<std::size_t>(y) * frame_.Width + x] & kImageBit) != 0;
}

std::uint8_t SwathMap::Count(int x, int y) const {
    return counts_[static_cast<std::size_t>(y) * frame_.Width + x];
}

Colour SwathMap::At(int x, int y) const {
    const std::size_t at = static_cast<std::size_t>(y) * frame_.Width + x;
    const std::uint8_t mark = marks_[at];
    if ((mark & kCoastBit) != 0) {
        return style_.Coastline;
    }
    if ((mark & kGraticuleBit) != 0) {
        return style_.Graticule;
    }
    if ((mark & kImageBit) != 0) {
        return MakeColour(counts_[at], counts_[at], counts_[at]);
    }
    return style_.Background;
}

Failure SwathMap::WritePng(const std::filesystem::path& path) const {
    // PngFile writes beside the path and renames when whole.
    PngFile png;
    if (Failure failure = png.Open(path, frame_.Width, frame_.Height, PngColours::Rgb)) {
        return failure;
    }
    std::vector<Colour> row(static_cast<std::size_t>(frame_.Width));
    for (int y = 0; y < frame_.Height; ++y) {
        for (int x = 0; x < frame_.Width; ++x) {
            row[static_cast<std::size_t>(x)] = At(x, y);
        }
        if (Failure failure = png.WriteRow(row)) {
            return failure;
        }
    }
    return png.Finish();
}

}  // namespace qiv::avhrr
