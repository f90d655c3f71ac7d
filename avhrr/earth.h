// The Earth's figure and rotation, time, and the Sun's place, as the geolocation of a scan line
// needs them.
//
// Frames: TEME is the "true equator, mean equinox" frame SGP4 computes in; the pseudo Earth fixed
// frame (PEF, here "Earth-fixed") is TEME turned about its z axis by the Greenwich mean sidereal
// time, as Vallado et al. (2006, "Revisiting Spacetrack Report #3", AIAA 2006-6753, section on
// coordinate frames) turn it. Polar motion and UT1 - UTC are neglected (up to ~15 m and, for
// |UT1 - UTC| <= 0.9 s, up to ~0.4 km of Earth rotation at the equator).
#pragma once

#include <array>
#include <cstdint>

namespace qiv::avhrr {

using Vec3 = std::array<double, 3>;

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kDegPerRad = 180.0 / kPi;
inline constexpr double kMinutesPerDay = 1440.0;
inline constexpr double kJulianDateJ2000 = 2451545.0;  // 2000 January 1, 12 h

// WGS-84 ellipsoid (NIMA TR8350.2): semi-major axis in km and flattening.
inline constexpr double kWgs84AKm = 6378.137;
inline constexpr double kWgs84F = 1.0 / 298.257223563;
inline constexpr double kWgs84BKm = kWgs84AKm * (1.0 - kWgs84F);
// The Earth's rotation rate, rad/s (IERS conventions).
inline constexpr double kEarthRotationRadPerS = 7.292115146706979e-5;

// The Julian date (days) of 1 January 0 h UTC of a year, 1901..2099.
double JulianDateOfYear(int year);
// The Julian date of a UTC time given as year, day of the year (1 = 1 January) and milliseconds
// of the day, as the HRPT time code gives it.
double JulianDateFromUtc(int year, int dayOfYear, std::int64_t millisecondOfDay);

// Greenwich mean sidereal time, radians 0..2 pi, of a UT1 Julian date: the IAU 1982 expression
// (Aoki et al. 1982), the one Vallado et al. (2006) use for TEME to pseudo Earth fixed.
double GreenwichMeanSiderealTimeRad(double jdUt1);

// TEME to Earth-fixed: positions (any unit) turned by the sidereal time gmstRad.
Vec3 TemeToEarthFixed(const Vec3& teme, double gmstRad);
// Velocities (km/s) of a point at positionTemeKm: turned and taken relative to the rotating Earth.
Vec3 TemeVelocityToEarthFixed(const Vec3& positionTemeKm, const Vec3& velocityTemeKmPerS,
                              double gmstRad);

struct Geodetic {
    double LatitudeDeg = 0.0;   // geodetic, -90..90
    double LongitudeDeg = 0.0;  // east positive, -180..180
    double HeightKm = 0.0;      // above the WGS-84 ellipsoid
};
// WGS-84 geodetic coordinates of an Earth-fixed point (km), by Bowring's (1976) formula with one
// refinement of his parametric latitude: better than a millimetre from -10 to 1000 km height.
Geodetic GeodeticOf(const Vec3& earthFixedKm);
// The Earth-fixed point (km) of geodetic coordinates.
Vec3 EarthFixedOf(const Geodetic& place);

// The Sun's apparent right ascension and declination (radians) at a UTC Julian date: the low
// precision formula of the Astronomical Almanac (section C, "Sun": ~0.01 degree from 1950 to
// 2050).
struct SunDirection {
    double RightAscensionRad = 0.0;
    double DeclinationRad = 0.0;
};
SunDirection SunAt(double jdUtc);

// The Sun's zenith angle, degrees 0..180, at a geodetic place (degrees) and a UTC Julian date.
double SolarZenithDeg(double latitudeDeg, double longitudeDeg, double jdUtc);
// The same for a Sun direction and sidereal time already computed for that time.
double SolarZenithDeg(double latitudeDeg, double longitudeDeg, const SunDirection& sun,
                      double gmstRad);

}  // namespace qiv::avhrr
