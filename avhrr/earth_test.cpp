#include "avhrr/earth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace qiv::avhrr {
namespace {

TEST(Earth, JulianDates) {
    struct Case {
        const char* desc;
        int Year;
        int Day;
        std::int64_t Millisecond;
        double Expected;
    };
    const Case cases[] = {
        {"J2000 is 2000 January 1, 12 h", 2000, 1, 43'200'000, 2451545.0},
        // Vallado, Fundamentals of Astrodynamics and Applications, example 3-5: 1992 August 20
        // (day 233 of a leap year), 12:14 UT.
        {"1992 August 20, 12:14", 1992, 233, 44'040'000, 2448855.0097222222},
        {"2024 February 29 (leap day)", 2024, 60, 0, 2460369.5},
        {"1999 December 31, end of day", 1999, 365, 86'400'000, 2451544.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desc);
        EXPECT_NEAR(JulianDateFromUtc(c.Year, c.Day, c.Millisecond), c.Expected, 1e-8);
    }
}

TEST(Earth, SiderealTimeOfVallado) {
    // Vallado, example 3-5: GMST = 152.578787810 degrees at JD(UT1) 2448855.009722.
    const double jd = JulianDateFromUtc(1992, 233, 44'040'000);
    EXPECT_NEAR(GreenwichMeanSiderealTimeRad(jd) * kDegPerRad, 152.578787810, 1e-8);
}

TEST(Earth, GeodeticRoundTrips) {
    const Geodetic places[] = {{0.0, 0.0, 0.0},      {45.0, 20.0, 0.0},   {-89.999, -120.0, 0.0},
                               {90.0, 0.0, 0.0},     {37.9, 23.7, 850.0}, {-60.0, 179.9, -5.0},
                               {10.0, -45.0, 1000.0}};
    for (const Geodetic& place : places) {
        SCOPED_TRACE(testing::Message()
                     << place.LatitudeDeg << ", " << place.LongitudeDeg << ", " << place.HeightKm);
        const Geodetic back = GeodeticOf(EarthFixedOf(place));
        EXPECT_NEAR(back.LatitudeDeg, place.LatitudeDeg, 1e-9);  // ~0.1 mm
        if (std::abs(place.LatitudeDeg) < 90.0) {
            EXPECT_NEAR(back.LongitudeDeg, place.LongitudeDeg, 1e-9);
        }
        EXPECT_NEAR(back.HeightKm, place.HeightKm, 1e-6);
    }
    // The semi-axes themselves.
    EXPECT_NEAR(EarthFixedOf({0.0, 0.0, 0.0})[0], kWgs84AKm, 1e-9);
    EXPECT_NEAR(EarthFixedOf({90.0, 0.0, 0.0})[2], 6356.752314245, 1e-9);  // NIMA TR8350.2 b
}

TEST(Earth, AGroundPointHasNoEarthFixedVelocity) {
    // A point on the equator moves in TEME with the Earth's rotation only.
    const double gmst = 1.234;
    const Vec3 r{kWgs84AKm * std::cos(2.0), kWgs84AKm * std::sin(2.0), 0.0};
    const Vec3 v{-kEarthRotationRadPerS * r[1], kEarthRotationRadPerS * r[0], 0.0};
    const Vec3 fixed = TemeVelocityToEarthFixed(r, v, gmst);
    for (const double component : fixed) {
        EXPECT_NEAR(component, 0.0, 1e-15);
    }
    const Vec3 rotated = TemeToEarthFixed(r, gmst);
    EXPECT_NEAR(std::atan2(rotated[1], rotated[0]), 2.0 - gmst, 1e-12);
}

TEST(Earth, SolarZenithAgreesWithPyorbital) {
    // Expected: pyorbital 1.7.3, astronomy.sun_zenith_angle(utc, lon, lat), run once outside the
    // build. Both claim about 0.01 degree.
    struct Case {
        const char* desc;
        int Year;
        int Day;
        std::int64_t Millisecond;
        double LatitudeDeg;
        double LongitudeDeg;
        double ExpectedDeg;
    };
    const Case cases[] = {
        {"equator crossing of a NOAA 19 pass", 2024, 46, 44'000'000, 1.148851, 29.762755,
         32.456363},
        {"June solstice noon on the tropic", 2024, 172, 43'200'000, 23.44, 0.0, 0.397906},
        {"December morning in Greece", 2024, 355, 30'000'000, 40.63, 22.95, 70.436770},
        {"night at the Cape", 2023, 1, 0, -33.9, 18.4, 120.653518},
        {"Alaska in December", 2026, 345, 36'000'000, 60.0, -150.0, 142.991031},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desc);
        const double jd = JulianDateFromUtc(c.Year, c.Day, c.Millisecond);
        EXPECT_NEAR(SolarZenithDeg(c.LatitudeDeg, c.LongitudeDeg, jd), c.ExpectedDeg, 0.03);
    }
}

}  // namespace
}  // namespace qiv::avhrr
