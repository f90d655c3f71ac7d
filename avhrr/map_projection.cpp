#include "avhrr/map_projection.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace qiv::avhrr {
namespace {

constexpr double kRadians = M_PI / 180.0;
constexpr double kPolarLatitude = 60.0;

// a - b brought into [-180, 180).
double LongitudeDifference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d < -180.0) {
        d += 360.0;
    } else if (d >= 180.0) {
        d -= 360.0;
    }
    return d;
}

}  // namespace

void MapProjection::Forward(double latitude, double longitude, double& x, double& y) const {
    const double dLon = LongitudeDifference(longitude, CentreLongitude) * kRadians;
    switch (Kind) {
        case MapKind::Equirectangular:
            x = kEarthRadiusKm * dLon * std::cos(StandardLatitude * kRadians);
            y = kEarthRadiusKm * latitude * kRadians;
            return;
        case MapKind::NorthPolarStereographic: {
            const double rho = 2.0 * kEarthRadiusKm * std::tan(M_PI / 4 - latitude * kRadians / 2);
            x = rho * std::sin(dLon);
            y = -rho * std::cos(dLon);
            return;
        }
        case MapKind::SouthPolarStereographic: {
            const double rho = 2.0 * kEarthRadiusKm * std::tan(M_PI / 4 + latitude * kRadians / 2);
            x = rho * std::sin(dLon);
            y = rho * std::cos(dLon);
            return;
        }
    }
}

void MapProjection::Inverse(double x, double y, double& latitude, double& longitude) const {
    switch (Kind) {
        case MapKind::Equirectangular:
            latitude = y / kEarthRadiusKm / kRadians;
            longitude = CentreLongitude +
                        x / (kEarthRadiusKm * std::cos(StandardLatitude * kRadians)) / kRadians;
            return;
        case MapKind::NorthPolarStereographic:
        case MapKind::SouthPolarStereographic: {
            const double rho = std::hypot(x, y);
            const double c = 2.0 * std::atan(rho / (2.0 * kEarthRadiusKm));
            const bool north = Kind == MapKind::NorthPolarStereographic;
            latitude = (north ? 90.0 : -90.0) - (north ? 1.0 : -1.0) * c / kRadians;
            const double dLon = rho == 0.0 ? 0.0 : north ? std::atan2(x, -y) : std::atan2(x, y);
            longitude = CentreLongitude + dLon / kRadians;
            return;
        }
    }
}

void MapFrame::ToPixel(double latitude, double longitude, double& column, double& row) const {
    double x = 0.0;
    double y = 0.0;
    Projection.Forward(latitude, longitude, x, y);
    column = (x - West) / PixelKm - 0.5;
    row = (North - y) / PixelKm - 0.5;
}

void MapFrame::PixelPlace(double column, double row, double& latitude, double& longitude) const {
    Projection.Inverse(West + (column + 0.5) * PixelKm, North - (row + 0.5) * PixelKm, latitude,
                       longitude);
}

GeoBox MapFrame::Bounds() const {
    // The border of the picture, walked a few pixels at a time, holds the extremes unless the
    // pole lies inside (a polar map), where latitude reaches 90° and every longitude is in.
    GeoBox box{90.0, -90.0, 1e9, -1e9};
    auto take = [&](double column, double row) {
        double lat = 0.0;
        double lon = 0.0;
        PixelPlace(column, row, lat, lon);
        box.South = std::min(box.South, lat);
        box.North = std::max(box.North, lat);
        box.West = std::min(box.West, lon);
        box.East = std::max(box.East, lon);
    };
    const int stepsX = std::max(1, Width / 4);
    const int stepsY = std::max(1, Height / 4);
    for (int k = 0; k <= stepsX; ++k) {
        const double column = -0.5 + static_cast<double>(Width) * k / stepsX;
        take(column, -0.5);
        take(column, Height - 0.5);
    }
    for (int k = 0; k <= stepsY; ++k) {
        const double row = -0.5 + static_cast<double>(Height) * k / stepsY;
        take(-0.5, row);
        take(Width - 0.5, row);
    }
    if (Projection.Kind != MapKind::Equirectangular) {
        double poleColumn = 0.0;
        double poleRow = 0.0;
        const bool north = Projection.Kind == MapKind::NorthPolarStereographic;
        ToPixel(north ? 90.0 : -90.0, Projection.CentreLongitude, poleColumn, poleRow);
        if (poleColumn >= -0.5 && poleColumn <= Width - 0.5 && poleRow >= -0.5 &&
            poleRow <= Height - 0.5) {
            (north ? box.North : box.South) = north ? 90.0 : -90.0;
            box.West = Projection.CentreLongitude - 180.0;
            box.East = Projection.CentreLongitude + 180.0;
        }
    }
    box.South = std::max(box.South, -90.0);
    box.North = std::min(box.North, 90.0);
    return box;
}

MapFrame ChooseMap(const TiePointGrid& grid) {
    const std::size_t rows = grid.Rows.size();
    const std::size_t cols = grid.Cols.size();
    const std::size_t points = rows * cols;
    double east = 0.0;
    double north = 0.0;
    double latitudeSum = 0.0;
    double farthest = 0.0;
    for (std::size_t k = 0; k < points; ++k) {
        east += std::cos(grid.Longitude[k] * kRadians);
        north += std::sin(grid.Longitude[k] * kRadians);
        latitudeSum += grid.Latitude[k];
        if (std::abs(grid.Latitude[k]) > std::abs(farthest)) {
            farthest = grid.Latitude[k];
        }
    }
    MapFrame frame;
    MapProjection& projection = frame.Projection;
    projection.CentreLongitude = std::hypot(east, north) > 1e-9 * static_cast<double>(points)
                                     ? std::atan2(north, east) / kRadians
                                     : grid.Longitude[points / 2];
    if (std::abs(farthest) > kPolarLatitude) {
        projection.Kind =
            farthest > 0 ? MapKind::NorthPolarStereographic : MapKind::SouthPolarStereographic;
    } else {
        projection.Kind = MapKind::Equirectangular;
        projection.StandardLatitude = latitudeSum / static_cast<double>(points);
    }

    // Projected tie points: the extent, and the map km between neighbours at mid-swath.
    std::vector<double> xs(points);
    std::vector<double> ys(points);
    double xMin = 1e30, xMax = -1e30, yMin = 1e30, yMax = -1e30;
    for (std::size_t k = 0; k < points; ++k) {
        projection.Forward(grid.Latitude[k], grid.Longitude[k], xs[k], ys[k]);
        xMin = std::min(xMin, xs[k]);
        xMax = std::max(xMax, xs[k]);
        yMin = std::min(yMin, ys[k]);
        yMax = std::max(yMax, ys[k]);
    }
    const std::size_t middle = std::min((cols - 1) / 2, cols - 2);
    std::vector<double> spacings;
    for (std::size_t r = 0; r < rows; ++r) {
        const std::size_t a = r * cols + middle;
        const double across = std::hypot(xs[a + 1] - xs[a], ys[a + 1] - ys[a]) /
                              (grid.Cols[middle + 1] - grid.Cols[middle]);
        spacings.push_back(across);
        if (r + 1 < rows) {
            const std::size_t b = a + cols;
            spacings.push_back(std::hypot(xs[b] - xs[a], ys[b] - ys[a]) /
                               (grid.Rows[r + 1] - grid.Rows[r]));
        }
    }
    std::nth_element(spacings.begin(), spacings.begin() + spacings.size() / 2, spacings.end());
    double pixelKm = std::max(spacings[spacings.size() / 2], 1e-3);
    const double widthKm = xMax - xMin;
    const double heightKm = yMax - yMin;
    // Coarser pixels for a map that would be too large (or a grid whose points lie far apart).
    while ((widthKm / pixelKm + 3) * (heightKm / pixelKm + 3) >
           static_cast<double>(kMostMapPixels)) {
        pixelKm *= 1.25;
    }
    frame.PixelKm = pixelKm;
    frame.Width = static_cast<int>(std::ceil(widthKm / pixelKm)) + 3;
    frame.Height = static_cast<int>(std::ceil(heightKm / pixelKm)) + 3;
    frame.West = xMin - 1.5 * pixelKm;
    frame.North = yMax + 1.5 * pixelKm;
    return frame;
}

}  // namespace qiv::avhrr
