// An image of a pass as a GeoTIFF that a GIS places on the map: one 8-bit band, with a ground
// control point at every tie point of its grid, in WGS-84 latitude and longitude (EPSG:4326).
// GDAL names a pixel's centre by column + 0.5, row + 0.5 (its pixel/line convention), so the
// tie point of image pixel (row, column) becomes the GCP (pixel column + 0.5, line row + 0.5);
// `gdalwarp` then reprojects the image through the points. Longitudes of the points run on
// without a jump around the grid's mean longitude (a pass over the dateline has GCPs beyond
// 180°), so that the warp sees one smooth swath.
//
//     SpanImage image(pixels, grid.ImageRows, grid.ImageCols);
//     if (Failure failure = WriteGeoTiff(path, grid, image)) { ... }
#pragma once

#include <filesystem>

#include "avhrr/swath_map.h"
#include "avhrr/tie_points.h"
#include "common/core/failure.h"

namespace qiv::avhrr {

// Writes the image (grid.ImageRows x grid.ImageCols, read band after band) with GDAL's GTiff
// driver, under a temporary name beside path, and gives it its name when whole: a failure
// leaves no file and an older file of that name as it was. A grid that is not well formed is
// Refused; GDAL's own failures are CannotWrite with GDAL's words.
Failure WriteGeoTiff(const std::filesystem::path& path, const TiePointGrid& grid,
                     SwathImage& image);

}  // namespace qiv::avhrr
