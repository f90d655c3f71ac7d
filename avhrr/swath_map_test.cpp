#include "avhrr/swath_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "avhrr/coastlines.h"
#include "avhrr/map_projection.h"
#include "common/testing/png_picture.h"
#include "common/testing/temp_dir.h"

namespace qiv::avhrr {
namespace {

constexpr double kKmPerDegree = kEarthRadiusKm * M_PI / 180.0;

double Wrapped(double longitude) {
    return std::remainder(longitude, 360.0);
}

TEST(MapProjection, ForwardMatchesHandWorkedValues) {
    // Worked by hand from Snyder's formulas on R = 6371 km: one degree of the equator, 2R
    // tan(15°) from the pole to 60°, and its mirror in the south.
    struct Case {
        const char* desc;
        MapProjection Projection;
        double Latitude, Longitude, X, Y;
    };
    const Case kCases[] = {
        {"equirectangular, equator",
         {MapKind::Equirectangular, 0.0, 0.0},
         0.0,
         1.0,
         111.194927,
         0.0},
        {"equirectangular, lat1 60°: x halved",
         {MapKind::Equirectangular, 10.0, 60.0},
         45.0,
         12.0,
         111.194927,
         45 * 111.194927},
        {"equirectangular across the dateline",
         {MapKind::Equirectangular, 179.0, 0.0},
         0.0,
         -179.0,
         2 * 111.194927,
         0.0},
        {"north polar, on lon0",
         {MapKind::NorthPolarStereographic, 30.0, 0.0},
         60.0,
         30.0,
         0.0,
         -3414.2086},
        {"north polar, 90° east of lon0",
         {MapKind::NorthPolarStereographic, 30.0, 0.0},
         60.0,
         120.0,
         3414.2086,
         0.0},
        {"south polar, on lon0",
         {MapKind::SouthPolarStereographic, -60.0, 0.0},
         -60.0,
         -60.0,
         0.0,
         3414.2086},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.desc);
        double x = 0.0;
        double y = 0.0;
        c.Projection.Forward(c.Latitude, c.Longitude, x, y);
        EXPECT_NEAR(x, c.X, 1e-3);
        EXPECT_NEAR(y, c.Y, 1e-3);
    }
}

TEST(MapProjection, InverseUndoesForward) {
    const MapProjection kProjections[] = {
        {MapKind::Equirectangular, -5.0, 36.0},
        {MapKind::Equirectangular, 178.0, -20.0},
        {MapKind::NorthPolarStereographic, 25.0, 0.0},
        {MapKind::SouthPolarStereographic, -140.0, 0.0},
    };
    const double kPlaces[][2] = {{36.1, -5.3},  {-19.5, -177.0}, {71.0, 25.8},  {-62.0, -58.0},
                                 {0.0, 179.99}, {-89.0, 10.0},   {89.5, -170.0}};
    for (const MapProjection& projection : kProjections) {
        for (const auto& place : kPlaces) {
            SCOPED_TRACE(::testing::Message() << static_cast<int>(projection.Kind) << " "
                                              << place[0] << " " << place[1]);
            double x = 0.0, y = 0.0, lat = 0.0, lon = 0.0;
            projection.Forward(place[0], place[1], x, y);
            projection.Inverse(x, y, lat, lon);
            EXPECT_NEAR(lat, place[0], 1e-9);
            EXPECT_NEAR(Wrapped(lon - place[1]), 0.0, 1e-9);
            EXPECT_LE(std::abs(lon - projection.CentreLongitude), 180.0 + 1e-9);
        }
    }
}

// A swath whose pixels lie where the functions say, tie points every `step` pixels.
TiePointGrid MakeGrid(int imageRows, int imageCols, int step,
                      const std::function<void(int, int, double&, double&)>& place) {
    TiePointGrid grid;
    grid.ImageRows = imageRows;
    grid.ImageCols = imageCols;
    for (int r = 0; r < imageRows - 1; r += step)
        grid.Rows.push_back(r);
    grid.Rows.push_back(imageRows - 1);
    for (int c = 0; c < imageCols - 1; c += step)
        grid.Cols.push_back(c);
    grid.Cols.push_back(imageCols - 1);
    for (int r : grid.Rows) {
        for (int c : grid.Cols) {
            double lat = 0.0, lon = 0.0;
            place(r, c, lat, lon);
            grid.Latitude.push_back(lat);
            grid.Longitude.push_back(lon);
        }
    }
    return grid;
}

struct SwathCase {
    const char* desc;
    MapKind Kind;
    double CentreLongitude;  // expected, within 0.5°
    std::function<void(int, int, double&, double&)> Place;
};

// Image pixels of 1.1 km (northward rows, eastward columns at the swath's mean latitude), a
// rotated swath, one across the dateline and two over the poles' 60° circles.
std::vector<SwathCase> SwathCases() {
    const double km = 1.1 / kKmPerDegree;
    return {
        {"mid-latitude, north up", MapKind::Equirectangular, 10.0 + 100 * km / std::cos(0.7),
         [km](int r, int c, double& lat, double& lon) {
             lat = 40.0 + 0.0 - r * km;
             lon = 10.0 + c * km / std::cos(40.0 * M_PI / 180.0);
         }},
        {"across the dateline, tilted", MapKind::Equirectangular, 180.0,
         [km](int r, int c, double& lat, double& lon) {
             lat = -10.0 + (150 - r) * km + (c - 100) * km * 0.2;
             lon = Wrapped(180.0 + (c - 100) * km - (r - 150) * km * 0.2);
         }},
        {"north polar", MapKind::NorthPolarStereographic, 20.0,
         [km](int r, int c, double& lat, double& lon) {
             lat = 58.0 + (300 - r) * km;
             lon = 20.0 + (c - 100) * km / std::cos(60.0 * M_PI / 180.0);
         }},
        {"south polar", MapKind::SouthPolarStereographic, -100.0,
         [km](int r, int c, double& lat, double& lon) {
             lat = -58.0 - r * km;
             lon = -100.0 + (c - 100) * km / std::cos(60.0 * M_PI / 180.0);
         }},
    };
}

TEST(SwathMap, ChoosesTheMapOfThePass) {
    for (const SwathCase& s : SwathCases()) {
        SCOPED_TRACE(s.desc);
        const MapFrame frame = ChooseMap(MakeGrid(301, 201, 10, s.Place));
        EXPECT_EQ(frame.Projection.Kind, s.Kind);
        EXPECT_NEAR(Wrapped(frame.Projection.CentreLongitude - s.CentreLongitude), 0.0, 0.5);
        // The image's 1.1 km pixels, within the map's scale error at 60° (stereographic: 7%).
        EXPECT_NEAR(frame.PixelKm, 1.1, 0.1);
        EXPECT_GT(frame.Width, 150);
        EXPECT_LT(frame.Width, 600);
    }
}

// Single bright pixels of the image appear on the map where their places are, within a pixel;
// the map's corners lie outside the swath.
TEST(SwathMap, PutsImagePixelsAtTheirPlaces) {
    const int rows = 301;
    const int cols = 201;
    const std::pair<int, int> kBright[] = {{0, 0}, {150, 100}, {37, 181}, {300, 200}, {260, 3}};
    for (const SwathCase& s : SwathCases()) {
        SCOPED_TRACE(s.desc);
        const TiePointGrid grid = MakeGrid(rows, cols, 8, s.Place);
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(rows) * cols, 20);
        for (const auto& [r, c] : kBright) {
            pixels[static_cast<std::size_t>(r) * cols + c] = 250;
        }
        SwathMap map(ChooseMap(grid));
        SpanImage image(pixels, rows, cols);
        ASSERT_FALSE(map.Resample(grid, image));
        for (const auto& [r, c] : kBright) {
            SCOPED_TRACE(::testing::Message() << "pixel " << r << "," << c);
            double lat = 0.0, lon = 0.0, column = 0.0, row = 0.0;
            s.Place(r, c, lat, lon);
            map.Frame().ToPixel(lat, lon, column, row);
            const int x = static_cast<int>(std::lround(column));
            const int y = static_cast<int>(std::lround(row));
            int found = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    found += map.InSwath(x + dx, y + dy) && map.Count(x + dx, y + dy) == 250;
                }
            }
            EXPECT_GE(found, 1);
            EXPECT_TRUE(map.InSwath(x, y));
        }
        EXPECT_FALSE(map.InSwath(0, 0));
        EXPECT_EQ(map.At(0, 0), MapStyle{}.Background);
        // The swath's middle is filled without holes.
        double lat = 0.0, lon = 0.0, column = 0.0, row = 0.0;
        s.Place(150, 100, lat, lon);
        map.Frame().ToPixel(lat, lon, column, row);
        for (int dy = -20; dy <= 20; ++dy) {
            for (int dx = -20; dx <= 20; ++dx) {
                ASSERT_TRUE(map.InSwath(static_cast<int>(column) + dx, static_cast<int>(row) + dy));
            }
        }
    }
}

bool HasColourNear(const SwathMap& map, double latitude, double longitude, Colour colour,
                   int radius) {
    double column = 0.0, row = 0.0;
    map.Frame().ToPixel(latitude, longitude, column, row);
    const int x = static_cast<int>(std::lround(column));
    const int y = static_cast<int>(std::lround(row));
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            if (x + dx >= 0 && x + dx < map.Frame().Width && y + dy >= 0 &&
                y + dy < map.Frame().Height && map.At(x + dx, y + dy) == colour) {
                return true;
            }
        }
    }
    return false;
}

// A swath over the Strait of Gibraltar: the coastline is drawn through Europa Point and Cape
// Spartel (their Wikipedia coordinates; the intermediate lines pass within 0.2 km of both),
// never over the open sea south of Malaga, and the graticule at its degrees.
TEST(SwathMap, DrawsCoastlinesAndGraticuleWhereTheyAre) {
    const double km = 1.1 / kKmPerDegree;
    const TiePointGrid grid = MakeGrid(181, 201, 10, [km](int r, int c, double& lat, double& lon) {
        lat = 36.6 - r * km;
        lon = -6.4 + c * km / std::cos(36.0 * M_PI / 180.0);
    });
    std::vector<std::uint8_t> pixels(181 * 201, 90);
    SwathMap map(ChooseMap(grid));
    SpanImage image(pixels, 181, 201);
    ASSERT_FALSE(map.Resample(grid, image));
    map.DrawGraticule(0.5);
    std::vector<GeoPolyline> lines;
    ASSERT_FALSE(ReadCoastlines(FindCoastlineFile(CoastResolution::Intermediate),
                                map.Frame().Bounds(), lines));
    map.DrawCoastlines(lines);

    const MapStyle style;
    EXPECT_TRUE(HasColourNear(map, 36.1097, -5.3456, style.Coastline, 1));  // Europa Point
    EXPECT_TRUE(HasColourNear(map, 35.7906, -5.9244, style.Coastline, 1));  // Cape Spartel
    EXPECT_FALSE(HasColourNear(map, 36.0, -4.75, style.Coastline, 8));      // Alboran Sea
    EXPECT_TRUE(HasColourNear(map, 36.0, -4.75, style.Graticule, 1));
    EXPECT_TRUE(HasColourNear(map, 35.8, -5.5, style.Graticule, 1));
    EXPECT_FALSE(HasColourNear(map, 35.75, -4.75, style.Graticule, 3));
    EXPECT_TRUE(HasColourNear(map, 35.75, -4.75, MakeColour(90, 90, 90), 0));
}

TEST(SwathMap, WritesThePngWholeOrNotAtAll) {
    qiv::testing::TempDir dir;
    const TiePointGrid grid = MakeGrid(50, 40, 7, [](int r, int c, double& lat, double& lon) {
        lat = 45.0 - r * 0.01;
        lon = 5.0 + c * 0.014;
    });
    std::vector<std::uint8_t> pixels(50 * 40);
    for (std::size_t k = 0; k < pixels.size(); ++k)
        pixels[k] = static_cast<std::uint8_t>(k);
    SwathMap map(ChooseMap(grid));
    SpanImage image(pixels, 50, 40);
    ASSERT_FALSE(map.Resample(grid, image));
    map.DrawGraticule(0.2);

    ASSERT_FALSE(map.WritePng(dir / "map.png"));
    const auto picture = qiv::testing::ReadPng(dir / "map.png");
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->Width, map.Frame().Width);
    ASSERT_EQ(picture->Height, map.Frame().Height);
    for (int y = 0; y < picture->Height; ++y) {
        for (int x = 0; x < picture->Width; ++x) {
            ASSERT_EQ(picture->At(x, y), map.At(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);

    Failure failure = map.WritePng(dir / "missing" / "map.png");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Role, FileRole::Output);
    EXPECT_EQ(failure->Path, (dir / "missing" / "map.png").string());
}

TEST(SwathMap, RefusesGridsThatDoNotHoldTogether) {
    const TiePointGrid good = MakeGrid(30, 20, 5, [](int r, int c, double& lat, double& lon) {
        lat = 10.0 - r * 0.01;
        lon = 20.0 + c * 0.01;
    });
    struct Damage {
        const char* desc;
        void (*Apply)(TiePointGrid&);
    };
    const Damage kDamages[] = {
        {"rows not ending at the last", [](TiePointGrid& g) { g.Rows.back() = 28; }},
        {"columns not from 0", [](TiePointGrid& g) { g.Cols.front() = 1; }},
        {"columns not increasing", [](TiePointGrid& g) { std::swap(g.Cols[1], g.Cols[2]); }},
        {"too few positions", [](TiePointGrid& g) { g.Latitude.pop_back(); }},
        {"latitude beyond the pole", [](TiePointGrid& g) { g.Latitude[3] = 91.0; }},
        {"a longitude not a number", [](TiePointGrid& g) { g.Longitude[2] = std::nan(""); }},
    };
    std::vector<std::uint8_t> pixels(30 * 20);
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.desc);
        TiePointGrid grid = good;
        damage.Apply(grid);
        SwathMap map(ChooseMap(good));
        SpanImage image(pixels, 30, 20);
        Failure failure = map.Resample(grid, image);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->Problem, FileProblem::Refused);
    }
}

}  // namespace
}  // namespace qiv::avhrr
