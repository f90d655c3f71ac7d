#include "avhrr/coastlines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "avhrr/coastlines_test_writer.h"
#include "common/testing/temp_dir.h"

namespace qiv::avhrr {
namespace {

constexpr double kKmPerDegree = 111.195;  // on a sphere of the Earth's mean radius, 6371 km

// Distance in km from p to the nearest segment of any line, on a plane tangent at p (good to
// a few per cent over the tens of km these tests look at).
double DistanceKm(const GeoPoint& p, const std::vector<GeoPolyline>& lines) {
    const double cosLat = std::cos(p.Latitude * M_PI / 180.0);
    double best = std::numeric_limits<double>::infinity();
    for (const GeoPolyline& line : lines) {
        for (std::size_t k = 0; k < line.size(); ++k) {
            const double ax = (line[k].Longitude - p.Longitude) * cosLat * kKmPerDegree;
            const double ay = (line[k].Latitude - p.Latitude) * kKmPerDegree;
            const GeoPoint& next = line[k + 1 < line.size() ? k + 1 : k];
            const double bx = (next.Longitude - p.Longitude) * cosLat * kKmPerDegree;
            const double by = (next.Latitude - p.Latitude) * kKmPerDegree;
            const double dx = bx - ax;
            const double dy = by - ay;
            const double length2 = dx * dx + dy * dy;
            const double t =
                length2 > 0 ? std::clamp(-(ax * dx + ay * dy) / length2, 0.0, 1.0) : 0.0;
            best = std::min(best, std::hypot(ax + t * dx, ay + t * dy));
        }
    }
    return best;
}

std::vector<GeoPolyline> Read(CoastResolution resolution, const GeoBox& box) {
    std::vector<GeoPolyline> lines;
    const Failure failure = ReadCoastlines(FindCoastlineFile(resolution), box, lines);
    EXPECT_FALSE(failure) << (failure ? failure->Reason : "");
    return lines;
}

struct Place {
    const char* desc;
    GeoPoint At;
};

// Coastal landmarks, at the coordinates their English Wikipedia articles give (degrees, minutes
// and seconds turned into degrees): one in each quarter of the globe, so that a swapped
// latitude and longitude, a bin counted from the wrong pole or side, or offsets read as signed
// numbers put the line far from them. The intermediate lines are simplified to within 1 km.
const Place kCoastalPlaces[] = {
    {"Europa Point, Gibraltar", {36.1097, -5.3456}},
    {"Cape Spartel, Morocco", {35.7906, -5.9244}},
    {"Cabo da Roca, Portugal", {38.7808, -9.5006}},
    {"Cape Matapan, Peloponnese", {36.3861, 22.4825}},
    {"Cape of Good Hope, South Africa", {-34.3572, 18.4739}},
    {"Cape Dezhnev, Chukotka", {66.0742, -169.6508}},
};

TEST(Coastlines, IntermediateLinesPassByKnownCoastalPoints) {
    for (const Place& place : kCoastalPlaces) {
        SCOPED_TRACE(place.desc);
        const GeoPoint p = place.At;
        const auto lines =
            Read(CoastResolution::Intermediate,
                 {p.Latitude - 0.5, p.Latitude + 0.5, p.Longitude - 0.5, p.Longitude + 0.5});
        EXPECT_LT(DistanceKm(p, lines), 1.5);
    }
}

TEST(Coastlines, CrudeAndLowLinesPassByWithinTheirSimplification) {
    for (const Place& place : kCoastalPlaces) {
        SCOPED_TRACE(place.desc);
        const GeoPoint p = place.At;
        const GeoBox box{p.Latitude - 1, p.Latitude + 1, p.Longitude - 1, p.Longitude + 1};
        EXPECT_LT(DistanceKm(p, Read(CoastResolution::Low, box)), 6.0);
        EXPECT_LT(DistanceKm(p, Read(CoastResolution::Crude, box)), 30.0);
    }
}

// Points of open sea, each more than 50 km from any coast on a chart: no shoreline comes near.
TEST(Coastlines, NoLineCrossesOpenSea) {
    const Place kOpenSea[] = {
        {"Alboran Sea", {36.0, -4.0}},
        {"Gulf of Cadiz", {36.5, -7.5}},
        {"Atlantic off Cabo da Roca", {38.8, -10.5}},
        {"Ionian Sea south of Cape Matapan", {35.8, 22.0}},
        {"Atlantic south-west of the Cape", {-35.0, 17.5}},
    };
    for (const Place& place : kOpenSea) {
        SCOPED_TRACE(place.desc);
        const GeoPoint p = place.At;
        const auto lines = Read(CoastResolution::Intermediate,
                                {p.Latitude - 1, p.Latitude + 1, p.Longitude - 1, p.Longitude + 1});
        EXPECT_FALSE(lines.empty());  // the box itself reaches some coast
        EXPECT_GT(DistanceKm(p, lines), 30.0);
    }
}

// Taveuni, Fiji, lies across the 180th meridian: a box around it read in either frame gives the
// same lines, in that frame, and the island's line reaches both sides of the meridian.
TEST(Coastlines, BoxesAcrossTheDatelineKeepTheirFrame) {
    const GeoPoint taveuni{-16.85, 179.95};
    const auto east = Read(CoastResolution::Intermediate, {-17.5, -16.2, 179.0, 181.0});
    const auto west = Read(CoastResolution::Intermediate, {-17.5, -16.2, -181.0, -179.0});
    ASSERT_FALSE(east.empty());
    ASSERT_EQ(east.size(), west.size());
    double lowest = 1e9;
    double highest = -1e9;
    for (std::size_t k = 0; k < east.size(); ++k) {
        ASSERT_EQ(east[k].size(), west[k].size());
        for (std::size_t j = 0; j < east[k].size(); ++j) {
            EXPECT_NEAR(east[k][j].Longitude - 360.0, west[k][j].Longitude, 1e-9);
            EXPECT_EQ(east[k][j].Latitude, west[k][j].Latitude);
            lowest = std::min(lowest, east[k][j].Longitude);
            highest = std::max(highest, east[k][j].Longitude);
        }
    }
    EXPECT_LT(lowest, 180.0);
    EXPECT_GT(highest, 180.0);
    EXPECT_LT(DistanceKm(taveuni, east), 10.0);
}

// The layout on a file made here: two 180° bins; offsets are unsigned steps of bin / 65535 from
// the bin's south-west corner; only level-1 segments come back.
TEST(Coastlines, ReadsTheBinnedLayout) {
    qiv::testing::TempDir dir;
    testing::BinnedFile content;
    content.AddSegment(0, 1, {{0, 0}, {65535, 65535}, {40000, 10000}});
    content.AddSegment(0, 2, {{100, 100}, {200, 200}});  // a lake shore: left out
    content.AddSegment(1, 1, {{32768, 0}, {0, 65535}});
    ASSERT_TRUE(testing::WriteBinnedFile(dir / "small.nc", content));

    std::vector<GeoPolyline> lines;
    ASSERT_FALSE(ReadCoastlines(dir / "small.nc", {-90, 90, -180, 180}, lines));
    ASSERT_EQ(lines.size(), 2u);
    // Bin 1 (180°..360°) read in the frame of a box from -180: -180..0.
    const double step = 180.0 / 65535.0;
    struct Expected {
        std::size_t Line, Point;
        double Latitude, Longitude;
    };
    const Expected kExpected[] = {
        {0, 0, -90.0, 0.0},
        {0, 1, 90.0, 180.0},
        {0, 2, -90.0 + 10000 * step, 40000 * step},
        {1, 0, -90.0, -180.0 + 32768 * step},
        {1, 1, 90.0, -180.0},
    };
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(::testing::PrintToString(e.Line) + "/" + ::testing::PrintToString(e.Point));
        EXPECT_NEAR(lines[e.Line][e.Point].Latitude, e.Latitude, 1e-9);
        EXPECT_NEAR(lines[e.Line][e.Point].Longitude, e.Longitude, 1e-9);
    }

    // A box over bin 1 only.
    std::vector<GeoPolyline> east;
    ASSERT_FALSE(ReadCoastlines(dir / "small.nc", {-10, 10, 200, 250}, east));
    ASSERT_EQ(east.size(), 1u);
    EXPECT_NEAR(east[0][1].Longitude, 180.0, 1e-9);
}

TEST(Coastlines, RefusesMissingAndMalformedFiles) {
    qiv::testing::TempDir dir;
    std::vector<GeoPolyline> lines;
    const GeoBox all{-90, 90, -180, 180};

    Failure missing = ReadCoastlines(dir / "none.nc", all, lines);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Problem, FileProblem::CannotOpen);

    const auto text = dir.Write("text.nc", std::vector<std::uint8_t>(200, 'x'));
    Failure notNetcdf = ReadCoastlines(text, all, lines);
    ASSERT_TRUE(notNetcdf);
    EXPECT_EQ(notNetcdf->Problem, FileProblem::Refused);

    struct Damage {
        const char* desc;
        void (*Apply)(testing::BinnedFile&);
    };
    const Damage kDamages[] = {
        {"no points",
         [](testing::BinnedFile& f) {
             f.Leave.push_back("Relative_latitude_from_SW_corner_of_bin");
         }},
        {"bins that do not tile", [](testing::BinnedFile& f) { f.BinsAround = 3; }},
        {"a bin size that does not divide 360", [](testing::BinnedFile& f) { f.BinMinutes = 7; }},
        {"a zero bin size", [](testing::BinnedFile& f) { f.BinMinutes = 0; }},
        {"segments beyond the list", [](testing::BinnedFile& f) { f.SegmentCount[0] = 5; }},
        {"a negative first segment", [](testing::BinnedFile& f) { f.FirstSegment[0] = -1; }},
        {"points beyond the list", [](testing::BinnedFile& f) { f.SegmentInfo[0] += 10 << 9; }},
        {"a negative first point", [](testing::BinnedFile& f) { f.FirstPoint[0] = -3; }},
        {"fewer bins than the header says",
         [](testing::BinnedFile& f) {
             f.FirstSegment.pop_back();
             f.SegmentCount.pop_back();
         }},
    };
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.desc);
        testing::BinnedFile content;
        content.AddSegment(0, 1, {{0, 0}, {100, 100}, {200, 50}});
        damage.Apply(content);
        ASSERT_TRUE(testing::WriteBinnedFile(dir / "damaged.nc", content));
        lines.clear();
        Failure failure = ReadCoastlines(dir / "damaged.nc", all, lines);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->Problem, FileProblem::Refused);
        EXPECT_NE(failure->Reason.find("GSHHG"), std::string::npos) << failure->Reason;
        EXPECT_TRUE(lines.empty());
    }
}

TEST(Coastlines, FindsTheFileOfAResolution) {
    qiv::testing::TempDir dir;
    EXPECT_EQ(FindCoastlineFile(CoastResolution::Low),
              std::filesystem::path("/usr/share/gmt-gshhg/binned_GSHHS_l.nc"));
    EXPECT_EQ(FindCoastlineFile(CoastResolution::Full, dir.Path()),
              dir.Path() / "binned_GSHHS_f.nc");
    EXPECT_EQ(FindCoastlineFile(CoastResolution::Crude, dir / "mine.nc"), dir / "mine.nc");
}

}  // namespace
}  // namespace qiv::avhrr
