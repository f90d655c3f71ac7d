#include "avhrr/earth.h"

#include <algorithm>
#include <cmath>

namespace qiv::avhrr {
namespace {

constexpr double kTwoPi = 2.0 * kPi;
constexpr double kWgs84E2 = kWgs84F * (2.0 - kWgs84F);     // first eccentricity squared
constexpr double kWgs84Ep2 = kWgs84E2 / (1.0 - kWgs84E2);  // second eccentricity squared

double FloorDiv(int a, int b) {
    return std::floor(static_cast<double>(a) / b);
}

double Radians(double degrees) {
    return degrees / kDegPerRad;
}

}  // namespace

double JulianDateOfYear(int year) {
    // From 1 January 2000 0 h (JD 2451544.5): 365 days a year and one more for each leap year
    // passed; every fourth year is a leap year from 1901 to 2099.
    const int years = year - 2000;
    return 2451544.5 + 365.0 * years + FloorDiv(years + 3, 4);
}

double JulianDateFromUtc(int year, int dayOfYear, std::int64_t millisecondOfDay) {
    return JulianDateOfYear(year) + (dayOfYear - 1) +
           static_cast<double>(millisecondOfDay) / 86'400'000.0;
}

double GreenwichMeanSiderealTimeRad(double jdUt1) {
    // Aoki et al. (1982), GMST at UT1 in seconds of time, T in Julian centuries from J2000;
    // 876600 h is the number of hours in a Julian century, folded into the linear term.
    const double t = (jdUt1 - kJulianDateJ2000) / 36525.0;
    const double seconds = 67310.54841 + (876600.0 * 3600.0 + 8640184.812866) * t +
                           0.093104 * t * t - 6.2e-6 * t * t * t;
    double angle = std::fmod(seconds * (kTwoPi / 86400.0), kTwoPi);
    if (angle < 0.0) {
        angle += kTwoPi;
    }
    return angle;
}

Vec3 TemeToEarthFixed(const Vec3& teme, double gmstRad) {
    const double c = std::cos(gmstRad);
    const double s = std::sin(gmstRad);
    return {c * teme[0] + s * teme[1], -s * teme[0] + c * teme[1], teme[2]};
}

Vec3 TemeVelocityToEarthFixed(const Vec3& positionTemeKm, const Vec3& velocityTemeKmPerS,
                              double gmstRad) {
    const Vec3 r = TemeToEarthFixed(positionTemeKm, gmstRad);
    const Vec3 v = TemeToEarthFixed(velocityTemeKmPerS, gmstRad);
    // v_fixed = R v - omega x r, omega along z.
    return {v[0] + kEarthRotationRadPerS * r[1], v[1] - kEarthRotationRadPerS * r[0], v[2]};
}

Geodetic GeodeticOf(const Vec3& earthFixedKm) {
    const double x = earthFixedKm[0];
    const double y = earthFixedKm[1];
    const double z = earthFixedKm[2];
    const double p = std::hypot(x, y);
    const double a = kWgs84AKm;
    const double b = kWgs84BKm;
    // Bowring (1976), "Transformation from spatial to geographical coordinates", Survey Review
    // 23(181): the parametric latitude u first from the point itself, then once more from the
    // latitude found.
    double u = std::atan2(z * a, p * b);
    double latitude = 0.0;
    for (int pass = 0; pass < 2; ++pass) {
        const double su = std::sin(u);
        const double cu = std::cos(u);
        latitude = std::atan2(z + kWgs84Ep2 * b * su * su * su, p - kWgs84E2 * a * cu * cu * cu);
        u = std::atan2((1.0 - kWgs84F) * std::sin(latitude), std::cos(latitude));
    }
    const double sl = std::sin(latitude);
    const double cl = std::cos(latitude);
    Geodetic place;
    place.LatitudeDeg = latitude * kDegPerRad;
    place.LongitudeDeg = std::atan2(y, x) * kDegPerRad;
    place.HeightKm = p * cl + z * sl - a * std::sqrt(1.0 - kWgs84E2 * sl * sl);
    return place;
}

Vec3 EarthFixedOf(const Geodetic& place) {
    const double lat = Radians(place.LatitudeDeg);
    const double lon = Radians(place.LongitudeDeg);
    const double n = kWgs84AKm / std::sqrt(1.0 - kWgs84E2 * std::sin(lat) * std::sin(lat));
    return {(n + place.HeightKm) * std::cos(lat) * std::cos(lon),
            (n + place.HeightKm) * std::cos(lat) * std::sin(lon),
            (n * (1.0 - kWgs84E2) + place.HeightKm) * std::sin(lat)};
}

SunDirection SunAt(double jdUtc) {
    // The Astronomical Almanac, section C, "low precision formulas for the Sun": mean longitude
    // L, mean anomaly g, ecliptic longitude lambda and obliquity epsilon, in degrees, from the
    // days n since J2000.
    const double n = jdUtc - kJulianDateJ2000;
    const double meanLongitude = 280.460 + 0.9856474 * n;
    const double g = Radians(357.528 + 0.9856003 * n);
    const double lambda = Radians(meanLongitude + 1.915 * std::sin(g) + 0.020 * std::sin(2.0 * g));
    const double epsilon = Radians(23.439 - 0.0000004 * n);
    SunDirection sun;
    sun.RightAscensionRad = std::atan2(std::cos(epsilon) * std::sin(lambda), std::cos(lambda));
    sun.DeclinationRad = std::asin(std::sin(epsilon) * std::sin(lambda));
    return sun;
}

double SolarZenithDeg(double latitudeDeg, double longitudeDeg, const SunDirection& sun,
                      double gmstRad) {
    const double lat = Radians(latitudeDeg);
    const double hourAngle = gmstRad + Radians(longitudeDeg) - sun.RightAscensionRad;
    const double cosZenith = std::sin(lat) * std::sin(sun.DeclinationRad) +
                             std::cos(lat) * std::cos(sun.DeclinationRad) * std::cos(hourAngle);
    return std::acos(std::clamp(cosZenith, -1.0, 1.0)) * kDegPerRad;
}

double SolarZenithDeg(double latitudeDeg, double longitudeDeg, double jdUtc) {
    return SolarZenithDeg(latitudeDeg, longitudeDeg, SunAt(jdUtc),
                          GreenwichMeanSiderealTimeRad(jdUtc));
}

}  // namespace qiv::avhrr
