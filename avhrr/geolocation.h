// Where an AVHRR earth-view sample looks on the ground.
//
// Model: the satellite at its SGP4 place at the scan line's time, in nominal attitude with
// geocentric pointing: nadir is the line to the Earth's centre, the along-track axis is the part
// of the inertial (TEME) velocity across that line, and the scan mirror turns the look ray about
// the along-track axis. Everything is computed in TEME, the frame the velocity belongs to; the
// ground point, where the ray first meets the WGS-84 ellipsoid, is then turned Earth-fixed by the
// sidereal time. Earth view sample 1 lies on the right of the flight direction (east to west
// across a northbound pass: NOAA KLM User's Guide, section 3.1, "scan direction") and the 2048
// samples are spaced evenly in scan angle, -55.37 degrees at the centre of sample 1 to +55.37 at
// that of sample 2048 (KLM User's Guide, section 3.1, table 3.1.1-1 "AVHRR/3 scan":
// +-55.37 degrees).
//
// The whole scan line is taken at the one time the caller gives (the sweep across the earth view
// lasts ~51 ms: up to ~0.35 km along track). A clock correction is the caller's: it shifts that
// time.
#pragma once

#include <optional>

#include "avhrr/earth.h"
#include "avhrr/sgp4.h"
#include "avhrr/tle.h"

namespace qiv::avhrr {

inline constexpr int kScanSamples = 2048;
inline constexpr double kMaxScanAngleDeg = 55.37;

// The scan angle (radians) of an earth-view sample, 1..2048 (fractions allowed): negative to the
// right of the flight direction.
double ScanAngleRad(double sample);

enum class LocationProblem {
    kNone,
    kOrbit,        // SGP4 gave no state at this time (LineGeometry::Orbit tells why)
    kMissesEarth,  // the look ray passes beside the Earth
};

struct PixelLocation {
    LocationProblem Problem = LocationProblem::kNone;
    double LatitudeDeg = 0.0;         // geodetic, WGS-84
    double LongitudeDeg = 0.0;        // east positive, -180..180
    double SatelliteZenithDeg = 0.0;  // of the satellite, seen from the ground point
    double SolarZenithDeg = 0.0;      // of the Sun at the ground point
};

// The satellite's place and attitude at one scan line's time: made once per line, then cheap for
// every sample of it.
class LineGeometry {
public:
    // From a TEME state (km, km/s) at the UTC Julian date jdUtc.
    LineGeometry(const Sgp4State& state, double jdUtc);

    // The line of a set's model at jdUtc; Orbit() tells whether SGP4 gave a state.
    static LineGeometry At(const Sgp4& model, const Tle& set, double jdUtc);

    Sgp4Problem Orbit() const { return orbit_; }
    // The sub-satellite point (geodetic) and the satellite's height, km.
    Geodetic SubSatellite() const;

    PixelLocation LocateAngle(double scanAngleRad) const;
    PixelLocation LocateSample(double sample) const { return LocateAngle(ScanAngleRad(sample)); }

private:
    Sgp4Problem orbit_ = Sgp4Problem::kNone;
    Vec3 position_{};  // TEME, km
    Vec3 nadir_{};     // unit vectors, TEME
    Vec3 right_{};
    double gmst_ = 0.0;
    SunDirection sun_{};
};

}  // namespace qiv::avhrr
