// Geolocation against an independent implementation of the same model (geocentric pointing,
// sample 1 on the right of the flight direction, scan angles -55.37..+55.37 degrees, the ray met
// with the WGS-84 ellipsoid, TEME velocity for the along-track axis). The expected values were
// computed once, outside the build, by a numpy script: python3-sgp4 2.15 (WGS72,
// Satrec.sgp4(jd, fr)) for the state, its sgp4.propagation.gstime for the sidereal time, the
// look ray as a Rodrigues rotation of the nadir about the along-track axis, the intersection
// Earth-fixed, an iterative geodetic latitude, and pyorbital 1.7.3's
// astronomy.sun_zenith_angle for the Sun.
#include "avhrr/geolocation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace qiv::avhrr {
namespace {

// Elements of the NOAA 19 and MetOp-B orbits, written for these tests.
constexpr const char* kNoaa19[] = {
    "1 33591U 09005A   24045.51773432  .00000183  00000-0  12345-3 0  9992",
    "2 33591  99.0452 357.2851 0013866 215.6329 144.3917 14.13075612777566"};
constexpr const char* kMetopB[] = {
    "1 38771U 12049A   24045.40853281  .00000108  00000-0  69787-4 0  9998",
    "2 38771  98.6873 104.5518 0001914  85.8112 274.3284 14.21497322591025"};

struct Expected {
    const char* desc;
    int Pass;  // 0 NOAA 19 northbound by day, 1 MetOp-B southbound by day
    int Day;   // of 2024
    std::int64_t Millisecond;
    double Sample;
    double LatitudeDeg;
    double LongitudeDeg;
    double SatelliteZenithDeg;
    double SolarZenithDeg;
};

// clang-format off
const Expected kExpected[] = {
    {"NOAA 19 northbound, 44000000 ms, sample 1", 0, 46, 44000000, 1, 3.259374, 43.279315, 69.0409, 45.675},
    {"NOAA 19 northbound, 44000000 ms, sample 2", 0, 46, 44000000, 2, 3.252916, 43.236444, 68.9435, 45.632},
    {"NOAA 19 northbound, 44000000 ms, sample 512", 0, 46, 44000000, 512, 1.800888, 33.856682, 31.8709, 36.434},
    {"NOAA 19 northbound, 44000000 ms, sample 1024.5", 0, 46, 44000000, 1024.5, 1.148851, 29.762755, 0.0077, 32.456},
    {"NOAA 19 northbound, 44000000 ms, sample 1537", 0, 46, 44000000, 1537, 0.490968, 25.670785, 31.8684, 28.521},
    {"NOAA 19 northbound, 44000000 ms, sample 2047", 0, 46, 44000000, 2047, -1.018159, 16.310172, 68.9399, 19.808},
    {"NOAA 19 northbound, 44000000 ms, sample 2048", 0, 46, 44000000, 2048, -1.025016, 16.267435, 69.0373, 19.770},
    {"NOAA 19 northbound, 44600000 ms, sample 1", 0, 46, 44600000, 1, 37.527720, 37.912994, 69.1459, 62.849},
    {"NOAA 19 northbound, 44600000 ms, sample 2", 0, 46, 44600000, 2, 37.526981, 37.857890, 69.0481, 62.818},
    {"NOAA 19 northbound, 44600000 ms, sample 512", 0, 46, 44600000, 512, 36.759121, 25.922380, 31.9194, 56.185},
    {"NOAA 19 northbound, 44600000 ms, sample 1024.5", 0, 46, 44600000, 1024.5, 36.056494, 20.829707, 0.1829, 53.465},
    {"NOAA 19 northbound, 44600000 ms, sample 1537", 0, 46, 44600000, 1537, 35.143302, 15.843344, 31.8460, 50.880},
    {"NOAA 19 northbound, 44600000 ms, sample 2047", 0, 46, 44600000, 2047, 32.325731, 4.917895, 68.9426, 45.596},
    {"NOAA 19 northbound, 44600000 ms, sample 2048", 0, 46, 44600000, 2048, 32.310717, 4.869692, 69.0401, 45.574},
    {"NOAA 19 northbound, 45200000 ms, sample 1", 0, 46, 45200000, 1, 71.516548, 41.783201, 69.2499, 89.808},
    {"NOAA 19 northbound, 45200000 ms, sample 2", 0, 46, 45200000, 2, 71.526564, 41.647447, 69.1517, 89.784},
    {"NOAA 19 northbound, 45200000 ms, sample 512", 0, 46, 45200000, 512, 71.281438, 11.220001, 31.9578, 84.723},
    {"NOAA 19 northbound, 45200000 ms, sample 1024.5", 0, 46, 45200000, 1024.5, 69.752123, -0.455639, 0.1253, 82.550},
    {"NOAA 19 northbound, 45200000 ms, sample 1537", 0, 46, 45200000, 1537, 67.568567, -10.245879, 31.8407, 80.408},
    {"NOAA 19 northbound, 45200000 ms, sample 2047", 0, 46, 45200000, 2047, 60.962303, -26.301885, 68.9829, 75.662},
    {"NOAA 19 northbound, 45200000 ms, sample 2048", 0, 46, 45200000, 2048, 60.928565, -26.359086, 69.0807, 75.641},
    {"MetOp-B southbound, 29800000 ms, sample 1", 1, 46, 29800000, 1, 70.689635, 1.548117, 68.4759, 92.144},
    {"MetOp-B southbound, 29800000 ms, sample 2", 1, 46, 29800000, 2, 70.697456, 1.667786, 68.3815, 92.115},
    {"MetOp-B southbound, 29800000 ms, sample 512", 1, 46, 29800000, 512, 70.409657, 28.980595, 31.7703, 85.798},
    {"MetOp-B southbound, 29800000 ms, sample 1024.5", 1, 46, 29800000, 1024.5, 69.053705, 39.834435, 0.1288, 83.017},
    {"MetOp-B southbound, 29800000 ms, sample 1537", 1, 46, 29800000, 1537, 67.102612, 49.164751, 31.6585, 80.255},
    {"MetOp-B southbound, 29800000 ms, sample 2047", 1, 46, 29800000, 2047, 61.210201, 64.832435, 68.2245, 74.140},
    {"MetOp-B southbound, 29800000 ms, sample 2048", 1, 46, 29800000, 2048, 61.180666, 64.888233, 68.3186, 74.113},
    {"MetOp-B southbound, 30400000 ms, sample 1", 1, 46, 30400000, 1, 36.226367, 4.203978, 68.3401, 69.749},
    {"MetOp-B southbound, 30400000 ms, sample 2", 1, 46, 30400000, 2, 36.225394, 4.253230, 68.2463, 69.716},
    {"MetOp-B southbound, 30400000 ms, sample 512", 1, 46, 30400000, 512, 35.499727, 15.245170, 31.7234, 62.304},
    {"MetOp-B southbound, 30400000 ms, sample 1024.5", 1, 46, 30400000, 1024.5, 34.862143, 20.032759, 0.1803, 59.087},
    {"MetOp-B southbound, 30400000 ms, sample 1537", 1, 46, 30400000, 1537, 34.040628, 24.733657, 31.6550, 55.929},
    {"MetOp-B southbound, 30400000 ms, sample 2047", 1, 46, 30400000, 2047, 31.570368, 34.919034, 68.1506, 49.111},
    {"MetOp-B southbound, 30400000 ms, sample 2048", 1, 46, 30400000, 2048, 31.557616, 34.962920, 68.2442, 49.082},
    {"MetOp-B southbound, 31000000 ms, sample 1", 1, 46, 31000000, 1, 1.556023, -1.375964, 68.2921, 57.135},
    {"MetOp-B southbound, 31000000 ms, sample 2", 1, 46, 31000000, 2, 1.550091, -1.336773, 68.1984, 57.096},
    {"MetOp-B southbound, 31000000 ms, sample 512", 1, 46, 31000000, 512, 0.201505, 7.481344, 31.6887, 48.267},
    {"MetOp-B southbound, 31000000 ms, sample 1024.5", 1, 46, 31000000, 1024.5, -0.401200, 11.398793, 0.0027, 44.353},
    {"MetOp-B southbound, 31000000 ms, sample 1537", 1, 46, 31000000, 1537, -1.002034, 15.316844, 31.6895, 40.445},
    {"MetOp-B southbound, 31000000 ms, sample 2047", 1, 46, 31000000, 2047, -2.332794, 24.140712, 68.1996, 31.694},
    {"MetOp-B southbound, 31000000 ms, sample 2048", 1, 46, 31000000, 2048, -2.338605, 24.179942, 68.2933, 31.655},
};
// clang-format on

double HaversineKm(double lat1Deg, double lon1Deg, double lat2Deg, double lon2Deg) {
    const double lat1 = lat1Deg / kDegPerRad;
    const double lat2 = lat2Deg / kDegPerRad;
    const double dLat = lat2 - lat1;
    const double dLon = (lon2Deg - lon1Deg) / kDegPerRad;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2.0 * 6371.0 * std::asin(std::sqrt(h));
}

Sgp4 ModelOf(const Tle& set) {
    const Sgp4::Init init = Sgp4::Create(set);
    EXPECT_TRUE(init.Model.has_value());
    return *init.Model;
}

TEST(Geolocation, MatchesAnIndependentImplementation) {
    const Tle sets[] = {*ParseTle(kNoaa19[0], kNoaa19[1]).Set,
                        *ParseTle(kMetopB[0], kMetopB[1]).Set};
    const Sgp4 models[] = {ModelOf(sets[0]), ModelOf(sets[1])};
    // The goal: 1 km near nadir, 3 km towards the edges of the swath.
    double worstNadirKm = 0.0;
    double worstEdgeKm = 0.0;
    for (const Expected& row : kExpected) {
        SCOPED_TRACE(row.desc);
        const double jd = JulianDateFromUtc(2024, row.Day, row.Millisecond);
        const LineGeometry line = LineGeometry::At(models[row.Pass], sets[row.Pass], jd);
        const PixelLocation pixel = line.LocateSample(row.Sample);
        ASSERT_EQ(pixel.Problem, LocationProblem::kNone);
        const double km =
            HaversineKm(pixel.LatitudeDeg, pixel.LongitudeDeg, row.LatitudeDeg, row.LongitudeDeg);
        const bool nearNadir = std::abs(row.Sample - 1024.5) < 600;
        EXPECT_LT(km, nearNadir ? 1.0 : 3.0);
        (nearNadir ? worstNadirKm : worstEdgeKm) =
            std::max(nearNadir ? worstNadirKm : worstEdgeKm, km);
        EXPECT_NEAR(pixel.SatelliteZenithDeg, row.SatelliteZenithDeg, 0.01);
        // The Almanac's formula and pyorbital's agree to about 0.01 degree.
        EXPECT_NEAR(pixel.SolarZenithDeg, row.SolarZenithDeg, 0.05);
    }
    RecordProperty("worst_nadir_km", (testing::Message() << worstNadirKm).GetString());
    RecordProperty("worst_edge_km", (testing::Message() << worstEdgeKm).GetString());
}

TEST(Geolocation, SampleOneIsRightOfTheFlightDirection) {
    // Northbound, sample 1 lies east of the track and sample 2048 west; southbound the other way.
    const Tle noaa19 = *ParseTle(kNoaa19[0], kNoaa19[1]).Set;
    const Tle metopB = *ParseTle(kMetopB[0], kMetopB[1]).Set;
    struct Case {
        const char* desc;
        const Tle* Set;
        std::int64_t Millisecond;
        bool FirstSampleEast;
    };
    const Case cases[] = {{"NOAA 19 northbound", &noaa19, 44'000'000, true},
                          {"MetOp-B southbound", &metopB, 31'000'000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desc);
        const LineGeometry line =
            LineGeometry::At(ModelOf(*c.Set), *c.Set, JulianDateFromUtc(2024, 46, c.Millisecond));
        const double east1 = line.LocateSample(1).LongitudeDeg;
        const double east2048 = line.LocateSample(kScanSamples).LongitudeDeg;
        EXPECT_EQ(east1 > east2048, c.FirstSampleEast) << east1 << " " << east2048;
        EXPECT_DOUBLE_EQ(ScanAngleRad(1) * kDegPerRad, -kMaxScanAngleDeg);
        EXPECT_DOUBLE_EQ(ScanAngleRad(kScanSamples) * kDegPerRad, kMaxScanAngleDeg);
    }
}

TEST(Geolocation, ProblemsAreReported) {
    Sgp4State decayed;
    decayed.Problem = Sgp4Problem::kDecayed;
    EXPECT_EQ(LineGeometry(decayed, kJulianDateJ2000).LocateSample(1).Problem,
              LocationProblem::kOrbit);
    // 20000 km up, a ray 40 degrees off nadir passes beside the Earth.
    Sgp4State far;
    far.PositionKm = {26378.0, 0.0, 0.0};
    far.VelocityKmPerS = {0.0, 3.9, 0.0};
    const LineGeometry line(far, kJulianDateJ2000);
    EXPECT_EQ(line.LocateAngle(40.0 / kDegPerRad).Problem, LocationProblem::kMissesEarth);
    EXPECT_EQ(line.LocateAngle(0.0).Problem, LocationProblem::kNone);
}

}  // namespace
}  // namespace qiv::avhrr
