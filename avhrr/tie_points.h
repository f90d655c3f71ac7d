// Where the pixels of an image lie on Earth, sampled on a regular grid of tie points: what the
// geolocation gives the map, the GeoTIFF and the coastline drawing, and all of the pass that
// they keep in memory.
#pragma once

#include <vector>

namespace qiv::avhrr {

// Where the pixels of an image lie on Earth, at the tie points of a regular grid: rows and
// columns of the image (0-based pixel centres), increasing, the first 0 and the last the image's
// last row/column; Latitude/Longitude in degrees, Rows.size() x Cols.size(), row-major.
struct TiePointGrid {
    int ImageRows = 0;
    int ImageCols = 0;
    std::vector<int> Rows;
    std::vector<int> Cols;
    std::vector<double> Latitude;
    std::vector<double> Longitude;
};

// True when the grid is what the comment above says, with at least two tie points each way (so
// an image of at least two rows and two columns): rows and columns increasing from 0 to the
// image's last, as many positions as rows x columns, every value finite and every latitude
// within [-90, 90].
bool IsWellFormed(const TiePointGrid& grid);

}  // namespace qiv::avhrr
