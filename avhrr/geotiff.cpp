#include "avhrr/geotiff.h"

#include <cpl_error.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <mutex>
#include <string>
#include <vector>

#include "common/core/replacing_file.h"

namespace qiv::avhrr {
namespace {

// Rows go to GDAL this many at a time.
constexpr int kBandRows = 256;

// GDAL reports through its error handler; while we call it, the messages are kept rather than
// printed, and the last one becomes the failure's reason.
class QuietGdal {
public:
    QuietGdal() {
        static std::once_flag registered;
        std::call_once(registered, [] { GDALAllRegister(); });
        CPLPushErrorHandler(CPLQuietErrorHandler);
        CPLErrorReset();
    }
    QuietGdal(const QuietGdal&) = delete;
    QuietGdal& operator=(const QuietGdal&) = delete;
    ~QuietGdal() { CPLPopErrorHandler(); }

    static bool Failed() { return CPLGetLastErrorType() >= CE_Failure; }
    static std::string Reason(const char* what) {
        const char* message = CPLGetLastErrorMsg();
        return std::string(what) + (message != nullptr && *message != '\0' ? ": " : "") +
               (message != nullptr ? message : "");
    }
};

Failure GdalFailure(const std::filesystem::path& path, const char* what) {
    return Failure::Details{FileProblem::CannotWrite, FileRole::Output, path.string(),
                            QuietGdal::Reason(what)};
}

// The grid's mean longitude, as a mean of directions.
double CentreLongitude(const std::vector<double>& longitudes) {
    double east = 0.0;
    double north = 0.0;
    for (const double lon : longitudes) {
        east += std::cos(lon * M_PI / 180.0);
        north += std::sin(lon * M_PI / 180.0);
    }
    return std::hypot(east, north) > 0.0 ? std::atan2(north, east) * 180.0 / M_PI
                                         : longitudes.front();
}

class Dataset {
public:
    explicit Dataset(GDALDatasetH handle) : handle_(handle) {}
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;
    ~Dataset() { Close(); }
    GDALDatasetH Handle() const { return handle_; }
    void Close() {
        if (handle_ != nullptr) {
            GDALClose(handle_);
            handle_ = nullptr;
        }
    }

private:
    GDALDatasetH handle_;
};

}  // namespace

Failure WriteGeoTiff(const std::filesystem::path& path, const TiePointGrid& grid,
                     SwathImage& image) {
    if (!IsWellFormed(grid)) {
        return Failure::Details{FileProblem::Refused, FileRole::Output, path.string(),
                                "the tie-point grid is not well formed"};
    }
    ReplacingFile output;
    if (Failure failure = output.Open(path, ".part")) {
        return failure;
    }
    output.CloseTemporary();
    const QuietGdal quiet;
    GDALDriverH driver = GDALGetDriverByName("GTiff");
    if (driver == nullptr) {
        return GdalFailure(path, "GDAL has no GTiff driver");
    }
    const char* options[] = {"COMPRESS=DEFLATE", nullptr};
    Dataset dataset(GDALCreate(driver, output.Temporary().c_str(), grid.ImageCols, grid.ImageRows,
                               1, GDT_Byte, const_cast<char**>(options)));
    if (dataset.Handle() == nullptr) {
        return GdalFailure(path, "GDAL cannot create the GeoTIFF");
    }

    const double centre = CentreLongitude(grid.Longitude);
    std::vector<GDAL_GCP> points(grid.Latitude.size());
    std::vector<std::string> ids(points.size());
    char empty[] = "";
    for (std::size_t r = 0; r < grid.Rows.size(); ++r) {
        for (std::size_t c = 0; c < grid.Cols.size(); ++c) {
            const std::size_t k = r * grid.Cols.size() + c;
            ids[k] = std::to_string(k + 1);
            GDAL_GCP& point = points[k];
            point.pszId = ids[k].data();
            point.pszInfo = empty;
            point.dfGCPPixel = grid.Cols[c] + 0.5;
            point.dfGCPLine = grid.Rows[r] + 0.5;
            point.dfGCPX = centre + std::remainder(grid.Longitude[k] - centre, 360.0);
            point.dfGCPY = grid.Latitude[k];
            point.dfGCPZ = 0.0;
        }
    }
    OGRSpatialReferenceH wgs84 = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(wgs84, 4326);
    // Longitude first, as GCPs and GIS have it (EPSG:4326 itself puts latitude first).
    OSRSetAxisMappingStrategy(wgs84, OAMS_TRADITIONAL_GIS_ORDER);
    const CPLErr gcpError =
        GDALSetGCPs2(dataset.Handle(), static_cast<int>(points.size()), points.data(), wgs84);
    OSRDestroySpatialReference(wgs84);
    if (gcpError != CE_None) {
        return GdalFailure(path, "GDAL cannot store the ground control points");
    }

    GDALRasterBandH band = GDALGetRasterBand(dataset.Handle(), 1);
    std::vector<std::uint8_t> rows;
    for (int first = 0; first < grid.ImageRows; first += kBandRows) {
        const int count = std::min(kBandRows, grid.ImageRows - first);
        rows.resize(static_cast<std::size_t>(count) * grid.ImageCols);
        if (Failure failure = image.ReadRows(first, count, rows)) {
            return failure;
        }
        if (GDALRasterIO(band, GF_Write, 0, first, grid.ImageCols, count, rows.data(),
                         grid.ImageCols, count, GDT_Byte, 0, 0) != CE_None) {
            return GdalFailure(path, "GDAL cannot write the image");
        }
    }
    CPLErrorReset();
    dataset.Close();
    if (QuietGdal::Failed()) {
        return GdalFailure(path, "GDAL cannot finish the GeoTIFF");
    }
    return output.Commit();
}

}  // namespace qiv::avhrr
