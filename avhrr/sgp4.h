// The SGP4 orbit model for near-Earth satellites (period below 225 minutes), as Hoots and
// Roehrich published it in Spacetrack Report #3 (1980) and Vallado, Crawford, Hujsak and Kelso
// revised it in "Revisiting Spacetrack Report #3" (AIAA 2006-6753), with the WGS-72 constants
// that the element sets are fitted with. The deep-space part (SDP4) is not here: NOAA and MetOp
// orbits never need it, and a set that would is refused.
#pragma once

#include <optional>

#include "avhrr/earth.h"
#include "avhrr/tle.h"

namespace qiv::avhrr {

enum class Sgp4Problem {
    kNone,
    kDeepSpace,                // period >= 225 minutes: needs SDP4
    kEccentricityOutOfRange,   // the mean eccentricity left [-0.001, 1) (drag grew too large)
    kMeanMotionNotPositive,    // the mean motion fell to zero or below
    kSemiLatusRectumNegative,  // the osculating orbit is no ellipse
    kDecayed,                  // the satellite is below the Earth's surface
};

std::string_view Sgp4ProblemText(Sgp4Problem problem);

// Position (km) and velocity (km/s) in the TEME frame, or the reason there is none.
struct Sgp4State {
    Sgp4Problem Problem = Sgp4Problem::kNone;
    Vec3 PositionKm{};
    Vec3 VelocityKmPerS{};
};

class Sgp4 {
public:
    struct Init;
    // The model of an element set; Problem tells why there is none (the set's own orbit is
    // checked at its epoch).
    static Init Create(const Tle& set);

    // The state at minutesSinceEpoch (Tle::MinutesSinceEpoch).
    Sgp4State Propagate(double minutesSinceEpoch) const;

private:
    Sgp4() = default;

    // Elements at epoch, radians and radians/minute; n0 is the Brouwer mean motion recovered from
    // the published (Kozai) one.
    double i0_ = 0, node0_ = 0, e0_ = 0, omega0_ = 0, m0_ = 0, n0_ = 0, a0_ = 0, bstar_ = 0;
    bool simplified_ = false;  // perigee below 220 km: drag terms of order t^3 and beyond dropped
    // Coefficients of the secular and periodic terms, named as in Spacetrack Report #3.
    double c1_ = 0, c4_ = 0, c5_ = 0, d2_ = 0, d3_ = 0, d4_ = 0;
    double eta_ = 0, cosI_ = 0, sinI_ = 0, x3thm1_ = 0, x1mth2_ = 0, x7thm1_ = 0;
    double mDot_ = 0, omegaDot_ = 0, nodeDot_ = 0;
    double omegaCof_ = 0, mCof_ = 0, nodeCof_ = 0, t2Cof_ = 0, t3Cof_ = 0, t4Cof_ = 0, t5Cof_ = 0;
    double lCof_ = 0, ayCof_ = 0, delM0_ = 0, sinM0_ = 0;
};

struct Sgp4::Init {
    std::optional<Sgp4> Model;
    Sgp4Problem Problem = Sgp4Problem::kNone;
};

}  // namespace qiv::avhrr
