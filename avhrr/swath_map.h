// A swath drawn on its map: the image resampled onto the map through the tie-point grid, a
// graticule and coastlines over it, written as PNG.
//
//     const MapFrame frame = ChooseMap(grid);
//     SwathMap map(frame);
//     SpanImage image(pixels, grid.ImageRows, grid.ImageCols);
//     if (Failure failure = map.Resample(grid, image)) { ... }
//     map.DrawGraticule(10.0);
//     map.DrawCoastlines(lines);          // read for frame.Bounds()
//     if (Failure failure = map.WritePng(path)) { ... }
//
// Memory: the picture (two bytes a map pixel) and one band of image rows between two rows of
// tie points; the image itself is read band after band.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "avhrr/coastlines.h"
#include "avhrr/map_projection.h"
#include "avhrr/tie_points.h"
#include "common/core/canvas.h"
#include "common/core/failure.h"

namespace qiv::avhrr {

// Where the resampling reads the image: count whole rows from first, cols bytes each, into
// pixels (count x cols bytes).
class SwathImage {
public:
    virtual ~SwathImage() = default;
    virtual Failure ReadRows(int first, int count, std::span<std::uint8_t> pixels) = 0;
};

// An image held in memory, rows x cols bytes row after row.
class SpanImage : public SwathImage {
public:
    SpanImage(std::span<const std::uint8_t> pixels, int rows, int cols)
        : pixels_(pixels), rows_(rows), cols_(cols) {}
    Failure ReadRows(int first, int count, std::span<std::uint8_t> pixels) override;

private:
    std::span<const std::uint8_t> pixels_;
    int rows_;
    int cols_;
};

struct MapStyle {
    Colour Background = MakeColour(0, 0, 48);    // map pixels outside the swath
    Colour Graticule = MakeColour(255, 215, 0);  // lines of latitude and longitude
    Colour Coastline = MakeColour(255, 48, 48);
};

class SwathMap {
public:
    explicit SwathMap(const MapFrame& frame, MapStyle style = {});

    const MapFrame& Frame() const { return frame_; }

    // Fills the map from the image: every map pixel whose centre lies in one of the two
    // triangles of a tie-point cell (corners (r, c), (r, c+1), (r+1, c+1) and (r, c),
    // (r+1, c+1), (r+1, c)) takes the image pixel nearest to the (row, column) that the
    // barycentric coordinates of its centre give: nearest, not bilinear, so that every map
    // pixel holds a count of the image as it was. A grid that is not well formed, or whose
    // image size differs from the image's, is Refused; a failed read is the image's failure.
    Failure Resample(const TiePointGrid& grid, SwathImage& image);

    // Lines of latitude and of longitude every `degrees` (from 0°), one pixel wide.
    void DrawGraticule(double degrees);
    // The polylines, one pixel wide, over whatever is drawn.
    void DrawCoastlines(const std::vector<GeoPolyline>& lines);

    // The colour of map pixel (x, y), as the PNG shows it.
    Colour At(int x, int y) const;
    // Whether the resampling put an image pixel there, and its count.
    bool InSwath(int x, int y) const;
    std::uint8_t Count(int x, int y) const;

    // The picture as an RGB PNG, written under a temporary name beside path and given its name
    // when whole: a failure leaves no file, and an older file of that name stays as it was.
    Failure WritePng(const std::filesystem::path& path) const;

private:
    // Marks are bits of marks_: in the swath, on the graticule, on a coastline.
    void DrawLine(double c0, double r0, double c1, double r1, std::uint8_t bit);
    void DrawGeoLine(const std::vector<GeoPoint>& points, std::uint8_t bit);

    MapFrame frame_;
    MapStyle style_;
    std::vector<std::uint8_t> counts_;
    std::vector<std::uint8_t> marks_;
};

}  // namespace qiv::avhrr
