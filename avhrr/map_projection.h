// The map a swath is drawn on: an equirectangular map centred on the pass, or a polar
// stereographic one when the pass reaches beyond 60° of latitude, both on a sphere of the
// Earth's mean radius (a picture, not a survey: the sphere moves nothing by more than a
// fraction of a pixel at the quicklook's scale). Map coordinates are km east (X) and north (Y).
// Formulas from Snyder, "Map Projections - A Working Manual", USGS Professional Paper 1395
// (1987): its chapters on the equidistant cylindrical projection and on the stereographic
// projection (the polar aspect on the sphere, with k0 = 1).
#pragma once

#include "avhrr/coastlines.h"
#include "avhrr/tie_points.h"

namespace qiv::avhrr {

enum class MapKind {
    Equirectangular,          // x = R (lon - lon0) cos(lat1), y = R lat
    NorthPolarStereographic,  // true to scale at the pole, lon0 pointing down the picture
    SouthPolarStereographic,  // true to scale at the pole, lon0 pointing up the picture
};

inline constexpr double kEarthRadiusKm = 6371.0;  // mean radius (IUGG)

struct MapProjection {
    MapKind Kind = MapKind::Equirectangular;
    double CentreLongitude = 0.0;   // lon0, degrees
    double StandardLatitude = 0.0;  // lat1 of the equirectangular map, degrees

    // Map km of a place; longitudes of any turn.
    void Forward(double latitude, double longitude, double& x, double& y) const;
    // The place of map km; longitude within 180° of CentreLongitude.
    void Inverse(double x, double y, double& latitude, double& longitude) const;
};

// A projection and the picture over it: pixel (column, row) has its centre at
// X = West + (column + 0.5) PixelKm, Y = North - (row + 0.5) PixelKm.
struct MapFrame {
    MapProjection Projection;
    double West = 0.0;
    double North = 0.0;
    double PixelKm = 1.0;
    int Width = 0;
    int Height = 0;

    // Pixel coordinates (column, row as real numbers; the centre of pixel 0 is 0.0).
    void ToPixel(double latitude, double longitude, double& column, double& row) const;
    void PixelPlace(double column, double row, double& latitude, double& longitude) const;
    // The latitude and longitude bounds of the picture, longitudes in the frame of the centre
    // longitude: what to read coastlines for.
    GeoBox Bounds() const;
};

// The largest map a swath gets; a larger one takes coarser pixels.
inline constexpr long long kMostMapPixels = 40'000'000;

// The map of a well-formed grid (IsWellFormed): polar stereographic when a tie point lies
// beyond 60° N or S (the hemisphere of the farther one), else equirectangular with lat1 the
// grid's mean latitude; centred on the grid's mean longitude (taken as a mean of directions, so
// that a pass over the dateline is centred on it); pixels as large as the image's pixels at the
// middle of the swath, measured on the map between the tie points there; the picture just
// holds the tie points, with a pixel to spare on each side.
MapFrame ChooseMap(const TiePointGrid& grid);

}  // namespace qiv::avhrr
