#include "avhrr/geolocation.h"

#include <algorithm>
#include <cmath>

namespace qiv::avhrr {
namespace {

double Dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec3 Scaled(const Vec3& a, double k) {
    return {a[0] * k, a[1] * k, a[2] * k};
}

Vec3 Plus(const Vec3& a, const Vec3& b) {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}

Vec3 Unit(const Vec3& a) {
    const double length = std::sqrt(Dot(a, a));
    return length > 0.0 ? Scaled(a, 1.0 / length) : Vec3{};
}

}  // namespace

double ScanAngleRad(double sample) {
    const double fraction = (sample - 1.0) / (kScanSamples - 1);
    return (2.0 * fraction - 1.0) * kMaxScanAngleDeg / kDegPerRad;
}

LineGeometry::LineGeometry(const Sgp4State& state, double jdUtc)
    : orbit_(state.Problem),
      position_(state.PositionKm),
      gmst_(GreenwichMeanSiderealTimeRad(jdUtc)),
      sun_(SunAt(jdUtc)) {
    if (orbit_ != Sgp4Problem::kNone) {
        return;
    }
    nadir_ = Unit(Scaled(position_, -1.0));
    // The along-track axis: the velocity without its part along the nadir line.
    const Vec3& v = state.VelocityKmPerS;
    const Vec3 forward = Unit(Plus(v, Scaled(nadir_, -Dot(v, nadir_))));
    // With z down and x forward, y = z x x points to the right.
    right_ = Cross(nadir_, forward);
}

LineGeometry LineGeometry::At(const Sgp4& model, const Tle& set, double jdUtc) {
    return LineGeometry(model.Propagate(set.MinutesSinceEpoch(jdUtc)), jdUtc);
}

Geodetic LineGeometry::SubSatellite() const {
    return GeodeticOf(TemeToEarthFixed(position_, gmst_));
}

PixelLocation LineGeometry::LocateAngle(double scanAngleRad) const {
    PixelLocation pixel;
    if (orbit_ != Sgp4Problem::kNone) {
        pixel.Problem = LocationProblem::kOrbit;
        return pixel;
    }
    // Negative angles look to the right.
    const Vec3 look =
        Plus(Scaled(nadir_, std::cos(scanAngleRad)), Scaled(right_, -std::sin(scanAngleRad)));
    // The ellipsoid is symmetric about TEME's z axis, so the ray meets it in TEME as it would
    // Earth-fixed: scaled by the axes it becomes a unit sphere, and the nearer root is the ground.
    const Vec3 inverseAxes{1.0 / kWgs84AKm, 1.0 / kWgs84AKm, 1.0 / kWgs84BKm};
    Vec3 p{};
    Vec3 d{};
    for (int axis = 0; axis < 3; ++axis) {
        p[axis] = position_[axis] * inverseAxes[axis];
        d[axis] = look[axis] * inverseAxes[axis];
    }
    const double a = Dot(d, d);
    const double halfB = Dot(p, d);
    const double c = Dot(p, p) - 1.0;
    const double discriminant = halfB * halfB - a * c;
    if (!(discriminant >= 0.0) || !(a > 0.0)) {
        pixel.Problem = LocationProblem::kMissesEarth;
        return pixel;
    }
    const double range = (-halfB - std::sqrt(discriminant)) / a;  // km
    if (!(range > 0.0)) {
        pixel.Problem = LocationProblem::kMissesEarth;
        return pixel;
    }
    const Vec3 ground = Plus(position_, Scaled(look, range));
    const Geodetic place = GeodeticOf(TemeToEarthFixed(ground, gmst_));
    pixel.LatitudeDeg = place.LatitudeDeg;
    pixel.LongitudeDeg = place.LongitudeDeg;
    // The ellipsoid's normal at the ground point, against the ray back to the satellite.
    const Vec3 normal = Unit({ground[0] * inverseAxes[0] * inverseAxes[0],
                              ground[1] * inverseAxes[1] * inverseAxes[1],
                              ground[2] * inverseAxes[2] * inverseAxes[2]});
    const double cosZenith = std::clamp(-Dot(normal, look), -1.0, 1.0);
    pixel.SatelliteZenithDeg = std::acos(cosZenith) * kDegPerRad;
    pixel.SolarZenithDeg = SolarZenithDeg(place.LatitudeDeg, place.LongitudeDeg, sun_, gmst_);
    return pixel;
}

}  // namespace qiv::avhrr
