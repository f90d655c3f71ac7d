#include "avhrr/sgp4.h"

#include <cmath>

namespace qiv::avhrr {
namespace {

constexpr double kTwoPi = 2.0 * kPi;

// WGS-72 (Spacetrack Report #3, section 12; Vallado et al. 2006, "WGS-72"): gravitational
// parameter km^3/s^2, equatorial radius km, zonal harmonics J2, J3, J4.
constexpr double kMu = 398600.8;
constexpr double kEarthRadiusKm = 6378.135;
constexpr double kJ2 = 0.001082616;
constexpr double kJ3 = -0.00000253881;
constexpr double kJ4 = -0.00000165597;
// The report's constants in Earth radii and minutes: k2 = J2/2, A30 = -J3, k4 = -3 J4 / 8.
constexpr double kK2 = 0.5 * kJ2;
constexpr double kA30 = -kJ3;
constexpr double kK4 = -0.375 * kJ4;
// The density function's parameters q0 = 120 km and s = 78 km, as Earth radii above the centre.
constexpr double kQ0Km = 120.0;
constexpr double kSKm = 78.0;

const double kKe = 60.0 / std::sqrt(kEarthRadiusKm * kEarthRadiusKm * kEarthRadiusKm / kMu);

double Radians(double degrees) {
    return degrees / kDegPerRad;
}

}  // namespace

std::string_view Sgp4ProblemText(Sgp4Problem problem) {
    switch (problem) {
        case Sgp4Problem::kNone:
            return "no problem";
        case Sgp4Problem::kDeepSpace:
            return "period of 225 minutes or more (deep space)";
        case Sgp4Problem::kEccentricityOutOfRange:
            return "mean eccentricity out of range";
        case Sgp4Problem::kMeanMotionNotPositive:
            return "mean motion not positive";
        case Sgp4Problem::kSemiLatusRectumNegative:
            return "semi-latus rectum negative";
        case Sgp4Problem::kDecayed:
            return "satellite has decayed";
    }
    return "unknown problem";
}

Sgp4::Init Sgp4::Create(const Tle& set) {
    Init init;
    Sgp4 m;
    m.i0_ = Radians(set.InclinationDeg);
    m.node0_ = Radians(set.RaanDeg);
    m.e0_ = set.Eccentricity;
    m.omega0_ = Radians(set.ArgPerigeeDeg);
    m.m0_ = Radians(set.MeanAnomalyDeg);
    m.bstar_ = set.Bstar;
    const double nKozai = set.MeanMotionRevPerDay * kTwoPi / kMinutesPerDay;  // rad/min
    if (!(nKozai > 0.0)) {
        init.Problem = Sgp4Problem::kMeanMotionNotPositive;
        return init;
    }
    if (!(m.e0_ >= 0.0 && m.e0_ < 1.0)) {
        init.Problem = Sgp4Problem::kEccentricityOutOfRange;
        return init;
    }

    const double theta = std::cos(m.i0_);
    const double theta2 = theta * theta;
    const double beta02 = 1.0 - m.e0_ * m.e0_;
    const double beta0 = std::sqrt(beta02);

    // The Brouwer mean motion n0'' from the published Kozai one (Spacetrack Report #3, SGP4
    // equations 1-2). As Vallado et al. (2006) do, a0'' is then taken from n0'' by Kepler's third
    // law, so that the two agree exactly.
    const double a1 = std::pow(kKe / nKozai, 2.0 / 3.0);
    const double deltaFactor = 1.5 * kK2 * (3.0 * theta2 - 1.0) / (beta0 * beta02);
    const double delta1 = deltaFactor / (a1 * a1);
    const double a0 =
        a1 * (1.0 - delta1 / 3.0 - delta1 * delta1 - 134.0 / 81.0 * delta1 * delta1 * delta1);
    const double delta0 = deltaFactor / (a0 * a0);
    m.n0_ = nKozai / (1.0 + delta0);
    m.a0_ = std::pow(kKe / m.n0_, 2.0 / 3.0);
    if (kTwoPi / m.n0_ >= 225.0) {
        init.Problem = Sgp4Problem::kDeepSpace;
        return init;
    }

    // The density function's s, lowered for perigees below 156 km (Spacetrack Report #3, SGP4
    // "if perigee is less than 156 km").
    const double perigeeKm = (m.a0_ * (1.0 - m.e0_) - 1.0) * kEarthRadiusKm;
    m.simplified_ = perigeeKm < 220.0;
    double sKm = kSKm;
    if (perigeeKm < 156.0) {
        sKm = perigeeKm < 98.0 ? 20.0 : perigeeKm - 78.0;
    }
    const double s = sKm / kEarthRadiusKm + 1.0;
    const double q0ms4 = std::pow((kQ0Km - sKm) / kEarthRadiusKm, 4.0);

    const double a = m.a0_;
    const double e = m.e0_;
    const double xi = 1.0 / (a - s);
    const double eta = a * e * xi;
    const double eta2 = eta * eta;
    const double eEta = e * eta;
    const double psi2 = std::abs(1.0 - eta2);
    const double coef = q0ms4 * std::pow(xi, 4.0);
    const double coef1 = coef / std::pow(psi2, 3.5);
    const double sinI = std::sin(m.i0_);
    const double x3thm1 = 3.0 * theta2 - 1.0;
    const double x1mth2 = 1.0 - theta2;

    const double c2 = coef1 * m.n0_ *
                      (a * (1.0 + 1.5 * eta2 + eEta * (4.0 + eta2)) +
                       1.5 * kK2 * xi / psi2 * (0.5 * x3thm1) * (8.0 + 3.0 * eta2 * (8.0 + eta2)));
    m.c1_ = m.bstar_ * c2;
    // C3 and the delta-M terms divide by e0; below 1e-4 they are dropped (Vallado et al. 2006).
    const double c3 = e > 1.0e-4 ? coef * xi * (kA30 / kK2) * m.n0_ * sinI / e : 0.0;
    m.c4_ = 2.0 * m.n0_ * coef1 * a * beta02 *
            (eta * (2.0 + 0.5 * eta2) + e * (0.5 + 2.0 * eta2) -
             2.0 * kK2 * xi / (a * psi2) *
                 (-3.0 * x3thm1 * (1.0 - 2.0 * eEta + eta2 * (1.5 - 0.5 * eEta)) +
                  0.75 * x1mth2 * (2.0 * eta2 - eEta * (1.0 + eta2)) * std::cos(2.0 * m.omega0_)));
    m.c5_ = 2.0 * coef1 * a * beta02 * (1.0 + 2.75 * (eta2 + eEta) + eEta * eta2);

    // Secular rates of M, omega and the node from gravity (J2 to second order, J4).
    const double p2 = a * a * beta02 * beta02;  // (a0'' beta0^2)^2
    const double theta4 = theta2 * theta2;
    const double g1 = 3.0 * kK2 * m.n0_ / p2;
    const double g2 = 3.0 * kK2 * kK2 * m.n0_ / (p2 * p2);
    const double g4 = 1.25 * kK4 * m.n0_ / (p2 * p2);
    m.mDot_ = m.n0_ + 0.5 * g1 * beta0 * x3thm1 +
              0.0625 * g2 * beta0 * (13.0 - 78.0 * theta2 + 137.0 * theta4);
    m.omegaDot_ = -0.5 * g1 * (1.0 - 5.0 * theta2) +
                  0.0625 * g2 * (7.0 - 114.0 * theta2 + 395.0 * theta4) +
                  g4 * (3.0 - 36.0 * theta2 + 49.0 * theta4);
    const double nodeDot1 = -g1 * theta;
    m.nodeDot_ =
        nodeDot1 + (0.5 * g2 * (4.0 - 19.0 * theta2) + 2.0 * g4 * (3.0 - 7.0 * theta2)) * theta;

    m.omegaCof_ = m.bstar_ * c3 * std::cos(m.omega0_);
    m.mCof_ = e > 1.0e-4 ? -2.0 / 3.0 * coef * m.bstar_ / eEta : 0.0;
    m.nodeCof_ = 3.5 * beta02 * nodeDot1 * m.c1_;
    m.t2Cof_ = 1.5 * m.c1_;
    // (3 + 5 cos i) / (1 + cos i) is unbounded at i = 180 degrees; the divisor is kept from 0.
    const double onePlusTheta = std::abs(1.0 + theta) > 1.5e-12 ? 1.0 + theta : 1.5e-12;
    m.lCof_ = kA30 * sinI / (8.0 * kK2) * (3.0 + 5.0 * theta) / onePlusTheta;
    m.ayCof_ = kA30 * sinI / (4.0 * kK2);
    const double delM0 = 1.0 + eta * std::cos(m.m0_);
    m.delM0_ = delM0 * delM0 * delM0;
    m.sinM0_ = std::sin(m.m0_);

    if (!m.simplified_) {
        const double c1sq = m.c1_ * m.c1_;
        m.d2_ = 4.0 * a * xi * c1sq;
        m.d3_ = 4.0 / 3.0 * a * xi * xi * (17.0 * a + s) * c1sq * m.c1_;
        m.d4_ = 2.0 / 3.0 * a * a * xi * xi * xi * (221.0 * a + 31.0 * s) * c1sq * c1sq;
        m.t3Cof_ = m.d2_ + 2.0 * c1sq;
        m.t4Cof_ = 0.25 * (3.0 * m.d3_ + m.c1_ * (12.0 * m.d2_ + 10.0 * c1sq));
        m.t5Cof_ = 0.2 * (3.0 * m.d4_ + 12.0 * m.c1_ * m.d3_ + 6.0 * m.d2_ * m.d2_ +
                          15.0 * c1sq * (2.0 * m.d2_ + c1sq));
    }
    m.eta_ = eta;
    m.cosI_ = theta;
    m.sinI_ = sinI;
    m.x3thm1_ = x3thm1;
    m.x1mth2_ = x1mth2;
    m.x7thm1_ = 7.0 * theta2 - 1.0;

    // A set whose orbit fails at its own epoch gives no model.
    const Sgp4State atEpoch = m.Propagate(0.0);
    if (atEpoch.Problem != Sgp4Problem::kNone) {
        init.Problem = atEpoch.Problem;
        return init;
    }
    init.Model = m;
    return init;
}

Sgp4State Sgp4::Propagate(double t) const {
    Sgp4State state;
    // Secular effects of gravity and drag (Spacetrack Report #3, SGP4 equations for M_DF,
    // omega_DF, Omega_DF, a, e and L).
    const double mDf = m0_ + mDot_ * t;
    const double omegaDf = omega0_ + omegaDot_ * t;
    const double nodeDf = node0_ + nodeDot_ * t;
    const double t2 = t * t;
    double meanAnomaly = mDf;
    double omega = omegaDf;
    const double node = nodeDf + nodeCof_ * t2;
    double tempA = 1.0 - c1_ * t;
    double tempE = bstar_ * c4_ * t;
    double tempL = t2Cof_ * t2;
    if (!simplified_) {
        const double deltaOmega = omegaCof_ * t;
        const double delM = 1.0 + eta_ * std::cos(mDf);
        const double deltaM = mCof_ * (delM * delM * delM - delM0_);
        meanAnomaly = mDf + deltaOmega + deltaM;
        omega = omegaDf - deltaOmega - deltaM;
        const double t3 = t2 * t;
        const double t4 = t3 * t;
        tempA -= d2_ * t2 + d3_ * t3 + d4_ * t4;
        tempE += bstar_ * c5_ * (std::sin(meanAnomaly) - sinM0_);
        tempL += t3Cof_ * t3 + t4 * (t4Cof_ + t * t5Cof_);
    }
    // Drag that has shrunk the semi-major axis to nothing leaves no mean motion.
    if (!(n0_ > 0.0) || !(tempA > 0.0)) {
        state.Problem = Sgp4Problem::kMeanMotionNotPositive;
        return state;
    }
    const double a = a0_ * tempA * tempA;
    const double n = kKe / std::pow(a, 1.5);
    double e = e0_ - tempE;
    // Vallado et al. (2006): the mean eccentricity may dip just below zero; it is held at 1e-6.
    if (!(e < 1.0 && e >= -0.001)) {
        state.Problem = Sgp4Problem::kEccentricityOutOfRange;
        return state;
    }
    if (e < 1.0e-6) {
        e = 1.0e-6;
    }
    meanAnomaly += n0_ * tempL;
    const double nodeM = std::fmod(node, kTwoPi);
    const double omegaM = std::fmod(omega, kTwoPi);
    const double lM = std::fmod(meanAnomaly + omega + node, kTwoPi);
    const double mM = std::fmod(lM - omegaM - nodeM, kTwoPi);

    // Long-period periodics (the report's a_xN, a_yN and L_T).
    const double axN = e * std::cos(omegaM);
    const double inverseP = 1.0 / (a * (1.0 - e * e));
    const double ayN = e * std::sin(omegaM) + inverseP * ayCof_;
    const double lT = mM + omegaM + nodeM + inverseP * lCof_ * axN;

    // Kepler's equation for E + omega, by Newton steps limited to 0.95 rad (Vallado et al.).
    const double u = std::fmod(lT - nodeM, kTwoPi);
    double eo = u;
    double sinEo = 0.0;
    double cosEo = 1.0;
    double step = 9999.9;
    for (int iteration = 0; iteration < 10 && std::abs(step) >= 1.0e-12; ++iteration) {
        sinEo = std::sin(eo);
        cosEo = std::cos(eo);
        step = (u - ayN * cosEo + axN * sinEo - eo) / (1.0 - cosEo * axN - sinEo * ayN);
        if (std::abs(step) >= 0.95) {
            step = step > 0.0 ? 0.95 : -0.95;
        }
        eo += step;
    }

    // Short-period preliminaries.
    const double eCosE = axN * cosEo + ayN * sinEo;
    const double eSinE = axN * sinEo - ayN * cosEo;
    const double eL2 = axN * axN + ayN * ayN;
    const double pL = a * (1.0 - eL2);
    if (!(pL > 0.0)) {
        state.Problem = Sgp4Problem::kSemiLatusRectumNegative;
        return state;
    }
    const double r = a * (1.0 - eCosE);
    const double rDot = kKe * std::sqrt(a) * eSinE / r;
    const double rfDot = kKe * std::sqrt(pL) / r;
    const double betaL = std::sqrt(1.0 - eL2);
    const double k = eSinE / (1.0 + betaL);
    const double sinU = a / r * (sinEo - ayN - axN * k);
    const double cosU = a / r * (cosEo - axN + ayN * k);
    double argLat = std::atan2(sinU, cosU);
    const double sin2u = 2.0 * cosU * sinU;
    const double cos2u = 1.0 - 2.0 * sinU * sinU;

    // Short-period periodics of J2 (the report's delta r, u, Omega, i, r dot, r f dot).
    const double k2OverP = kK2 / pL;
    const double k2OverP2 = k2OverP / pL;
    const double rk =
        r * (1.0 - 1.5 * k2OverP2 * betaL * x3thm1_) + 0.5 * k2OverP * x1mth2_ * cos2u;
    argLat -= 0.25 * k2OverP2 * x7thm1_ * sin2u;
    const double nodeK = nodeM + 1.5 * k2OverP2 * cosI_ * sin2u;
    const double iK = i0_ + 1.5 * k2OverP2 * cosI_ * sinI_ * cos2u;
    const double rDotK = rDot - n * k2OverP * x1mth2_ * sin2u;
    const double rfDotK = rfDot + n * k2OverP * (x1mth2_ * cos2u + 1.5 * x3thm1_);

    // Unit vectors of the position (U) and of the direction of motion across it (V).
    const double sinUk = std::sin(argLat);
    const double cosUk = std::cos(argLat);
    const double sinNode = std::sin(nodeK);
    const double cosNode = std::cos(nodeK);
    const double sinIk = std::sin(iK);
    const double cosIk = std::cos(iK);
    const double mx = -sinNode * cosIk;
    const double my = cosNode * cosIk;
    const Vec3 unitU{mx * sinUk + cosNode * cosUk, my * sinUk + sinNode * cosUk, sinIk * sinUk};
    const Vec3 unitV{mx * cosUk - cosNode * sinUk, my * cosUk - sinNode * sinUk, sinIk * cosUk};
    const double kmPerSecond = kEarthRadiusKm / 60.0;  // Earth radii per minute to km/s
    for (int axis = 0; axis < 3; ++axis) {
        state.PositionKm[axis] = rk * unitU[axis] * kEarthRadiusKm;
        state.VelocityKmPerS[axis] = (rDotK * unitU[axis] + rfDotK * unitV[axis]) * kmPerSecond;
    }
    // Below the surface, or so far out of the model's range that the numbers overflow.
    bool finite = std::isfinite(rk);
    for (int axis = 0; axis < 3; ++axis) {
        finite = finite && std::isfinite(state.PositionKm[axis]) &&
                 std::isfinite(state.VelocityKmPerS[axis]);
    }
    if (!finite || rk < 1.0) {
        state.Problem = Sgp4Problem::kDecayed;
    }
    return state;
}

}  // namespace qiv::avhrr
