#include "avhrr/geotiff.h"

#include <gdal.h>
#include <gdal_alg.h>
#include <gtest/gtest.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <cstring>

#include "common/testing/temp_dir.h"

namespace qiv::avhrr {
namespace {

// A curved swath: latitude and longitude as smooth functions of row and column, crossing the
// dateline when lon0 lies near it.
void Place(double lon0, double row, double col, double& lat, double& lon) {
    lat = 38.0 - row * 0.01 + 0.00002 * (col - 60) * (col - 60);
    lon = std::remainder(lon0 + col * 0.013 + row * 0.002, 360.0);
}

TiePointGrid MakeGrid(double lon0, int rows, int cols, int step) {
    TiePointGrid grid;
    grid.ImageRows = rows;
    grid.ImageCols = cols;
    for (int r = 0; r < rows - 1; r += step)
        grid.Rows.push_back(r);
    grid.Rows.push_back(rows - 1);
    for (int c = 0; c < cols - 1; c += step)
        grid.Cols.push_back(c);
    grid.Cols.push_back(cols - 1);
    for (int r : grid.Rows) {
        for (int c : grid.Cols) {
            double lat = 0.0, lon = 0.0;
            Place(lon0, r, c, lat, lon);
            grid.Latitude.push_back(lat);
            grid.Longitude.push_back(lon);
        }
    }
    return grid;
}

std::vector<std::uint8_t> Pattern(int rows, int cols) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(rows) * cols);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            pixels[static_cast<std::size_t>(r) * cols + c] =
                static_cast<std::uint8_t>(r * 7 + c * 3);
        }
    }
    return pixels;
}

class Opened {
public:
    explicit Opened(const std::filesystem::path& path) {
        GDALAllRegister();
        handle_ = GDALOpen(path.c_str(), GA_ReadOnly);
    }
    ~Opened() {
        if (handle_ != nullptr)
            GDALClose(handle_);
    }
    GDALDatasetH Handle() const { return handle_; }

private:
    GDALDatasetH handle_ = nullptr;
};

struct PassCase {
    const char* desc;
    double Lon0;
};

class GeoTiffTest : public ::testing::TestWithParam<PassCase> {};

// Read back through GDAL: size, pixels, every GCP (pixel/line at the pixel's centre, longitude
// and latitude), their SRS; and GDAL's own GCP transformer (thin plate spline, as gdalwarp
// -tps uses it) takes pixel centres to their places.
TEST_P(GeoTiffTest, ReadsBackThroughGdal) {
    const double lon0 = GetParam().Lon0;
    qiv::testing::TempDir dir;
    const int rows = 130;
    const int cols = 121;
    const TiePointGrid grid = MakeGrid(lon0, rows, cols, 16);
    const auto pixels = Pattern(rows, cols);
    SpanImage image(pixels, rows, cols);
    ASSERT_FALSE(WriteGeoTiff(dir / "pass.tif", grid, image));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);

    Opened tif(dir / "pass.tif");
    ASSERT_NE(tif.Handle(), nullptr);
    EXPECT_STREQ(GDALGetDriverShortName(GDALGetDatasetDriver(tif.Handle())), "GTiff");
    ASSERT_EQ(GDALGetRasterXSize(tif.Handle()), cols);
    ASSERT_EQ(GDALGetRasterYSize(tif.Handle()), rows);
    ASSERT_EQ(GDALGetRasterCount(tif.Handle()), 1);
    GDALRasterBandH band = GDALGetRasterBand(tif.Handle(), 1);
    EXPECT_EQ(GDALGetRasterDataType(band), GDT_Byte);
    std::vector<std::uint8_t> back(pixels.size());
    ASSERT_EQ(
        GDALRasterIO(band, GF_Read, 0, 0, cols, rows, back.data(), cols, rows, GDT_Byte, 0, 0),
        CE_None);
    EXPECT_EQ(back, pixels);

    ASSERT_EQ(GDALGetGCPCount(tif.Handle()), static_cast<int>(grid.Latitude.size()));
    const GDAL_GCP* gcps = GDALGetGCPs(tif.Handle());
    for (std::size_t r = 0; r < grid.Rows.size(); ++r) {
        for (std::size_t c = 0; c < grid.Cols.size(); ++c) {
            const std::size_t k = r * grid.Cols.size() + c;
            SCOPED_TRACE(::testing::Message()
                         << "tie point " << grid.Rows[r] << "," << grid.Cols[c]);
            EXPECT_DOUBLE_EQ(gcps[k].dfGCPPixel, grid.Cols[c] + 0.5);
            EXPECT_DOUBLE_EQ(gcps[k].dfGCPLine, grid.Rows[r] + 0.5);
            EXPECT_NEAR(std::remainder(gcps[k].dfGCPX - grid.Longitude[k], 360.0), 0.0, 1e-9);
            // No jump of 360° between neighbours: the longitudes run on across the dateline.
            EXPECT_NEAR(gcps[k].dfGCPX - gcps[0].dfGCPX,
                        0.013 * grid.Cols[c] + 0.002 * grid.Rows[r], 1e-9);
            EXPECT_DOUBLE_EQ(gcps[k].dfGCPY, grid.Latitude[k]);
        }
    }
    OGRSpatialReferenceH srs = GDALGetGCPSpatialRef(tif.Handle());
    ASSERT_NE(srs, nullptr);
    ASSERT_NE(OSRGetAuthorityCode(srs, nullptr), nullptr);
    EXPECT_STREQ(OSRGetAuthorityName(srs, nullptr), "EPSG");
    EXPECT_STREQ(OSRGetAuthorityCode(srs, nullptr), "4326");

    const char* options[] = {"METHOD=GCP_TPS", nullptr};
    void* transformer =
        GDALCreateGenImgProjTransformer2(tif.Handle(), nullptr, const_cast<char**>(options));
    ASSERT_NE(transformer, nullptr);
    // Tie points and pixels between them: the centre of pixel (row, col) is (col + 0.5,
    // row + 0.5); half a pixel off would be 0.005° away.
    const double kPixels[][2] = {{0, 0}, {16, 32}, {129, 120}, {40, 50}, {100, 7}, {8, 8}};
    for (const auto& [row, col] : kPixels) {
        SCOPED_TRACE(::testing::Message() << "pixel " << row << "," << col);
        double x = col + 0.5, y = row + 0.5, z = 0.0;
        int ok = 0;
        ASSERT_TRUE(GDALGenImgProjTransform(transformer, FALSE, 1, &x, &y, &z, &ok));
        ASSERT_TRUE(ok);
        double lat = 0.0, lon = 0.0;
        Place(lon0, row, col, lat, lon);
        EXPECT_NEAR(y, lat, 1e-3);
        EXPECT_NEAR(std::remainder(x - lon, 360.0), 0.0, 1e-3);
    }
    GDALDestroyGenImgProjTransformer(transformer);
}

INSTANTIATE_TEST_SUITE_P(Passes, GeoTiffTest,
                         ::testing::Values(PassCase{"Aegean", 23.0},
                                           PassCase{"across_the_dateline", 179.4}),
                         [](const auto& test) { return std::string(test.param.desc); });

TEST(GeoTiff, FailsLeavingNothing) {
    qiv::testing::TempDir dir;
    const TiePointGrid grid = MakeGrid(10.0, 40, 30, 8);
    const auto pixels = Pattern(40, 30);
    SpanImage image(pixels, 40, 30);

    Failure missing = WriteGeoTiff(dir / "no" / "pass.tif", grid, image);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Role, FileRole::Output);
    EXPECT_EQ(missing->Path, (dir / "no" / "pass.tif").string());

    TiePointGrid broken = grid;
    broken.Latitude.pop_back();
    Failure refused = WriteGeoTiff(dir / "pass.tif", broken, image);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->Problem, FileProblem::Refused);

    // An image shorter than its grid: the read fails half-way, and an older file stays.
    const auto old = dir.Write("pass.tif", std::vector<std::uint8_t>{1, 2, 3});
    TiePointGrid taller = MakeGrid(10.0, 300, 30, 8);
    Failure shortImage = WriteGeoTiff(old, taller, image);
    ASSERT_TRUE(shortImage);
    EXPECT_EQ(std::filesystem::file_size(old), 3u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace qiv::avhrr
