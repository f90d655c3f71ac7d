// Coastlines from GSHHG (Wessel & Smith, "A global, self-consistent, hierarchical,
// high-resolution shoreline database", J. Geophys. Res. 101, 1996), in the binned netCDF files
// that GMT reads and Debian ships as gmt-gshhg-low (crude, low, intermediate) and
// gmt-gshhg-high (high, full). Only the bins that meet the box asked for are read, and only the
// shorelines between land and ocean (GSHHG's level 1; in Antarctica the ice front, which is
// the edge an AVHRR image shows).
//
//     std::vector<GeoPolyline> lines;
//     const auto path = FindCoastlineFile(CoastResolution::Intermediate, overridePath);
//     if (Failure failure = ReadCoastlines(path, {35.5, 36.5, -6.5, -5.0}, lines)) { ... }
#pragma once

#include <filesystem>
#include <vector>

#include "common/core/failure.h"

namespace qiv::avhrr {

enum class CoastResolution {
    Crude,         // binned_GSHHS_c.nc: lines simplified to within 25 km
    Low,           // _l: 5 km
    Intermediate,  // _i: 1 km
    High,          // _h: 0.2 km (gmt-gshhg-high)
    Full,          // _f: the whole data set (gmt-gshhg-high)
};

// A box of latitude and longitude in degrees. West <= East, at most 360 apart; either may lie
// outside [-180, 180] (West -190, East -170 spans the dateline).
struct GeoBox {
    double South = -90.0;
    double North = 90.0;
    double West = -180.0;
    double East = 180.0;
};

struct GeoPoint {
    double Latitude = 0.0;
    double Longitude = 0.0;
};

// A coastline piece as a polyline. Its longitudes are in the frame of the box it was read for:
// within a bin's width of [box.West, box.East], so that they compare with the box directly.
using GeoPolyline = std::vector<GeoPoint>;

// Where Debian installs the files.
inline constexpr const char* kCoastlineFolder = "/usr/share/gmt-gshhg";

// The file of that resolution: in overridePath when that names a folder, overridePath itself
// when it names anything else, else in kCoastlineFolder. Whether it exists is ReadCoastlines'
// business.
std::filesystem::path FindCoastlineFile(CoastResolution resolution,
                                        const std::filesystem::path& overridePath = {});

// Appends to lines the level-1 shoreline segments of every bin that meets box (whole segments:
// a bin is drawn whole or not at all, so the pieces may reach a bin's size beyond the box).
// A file that cannot be opened is CannotOpen; one that is not a binned GSHHG file, or whose
// counts and offsets do not hold together, is Refused with the reason; lines is left as it was.
Failure ReadCoastlines(const std::filesystem::path& file, const GeoBox& box,
                       std::vector<GeoPolyline>& lines);

}  // namespace qiv::avhrr
