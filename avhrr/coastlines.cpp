#include "avhrr/coastlines.h"

#include <netcdf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

namespace qiv::avhrr {
namespace {

// The layout of a binned GSHHG file, as GMT writes it (GMT's shore.h and gmt_shore.c document
// it): the globe cut into square bins of Bin_size_in_minutes, numbered row after row from the
// north pole down and, within a row, eastward from 0° longitude; each bin names its first
// segment and how many it has; a segment packs its number of points, its level, and the bin
// sides where it enters and leaves into one int as n << 9 | level << 6 | entry << 3 | exit; a
// point is two unsigned 16-bit offsets from the bin's south-west corner, in units of the bin
// size / 65535.
constexpr int kMinutesAround = 360 * 60;
constexpr int kMinutesPoleToPole = 180 * 60;
constexpr double kOffsetSteps = 65535.0;
constexpr int kLandLevel = 1;
// Bins beyond this (a bin under 5' wide) and points beyond that are no GSHHG file; the limits
// keep a damaged or hostile file from taking memory a map never needs.
constexpr std::int64_t kMostBins = 1'000'000;
constexpr std::int64_t kMostPoints = 20'000'000;

class NetcdfFile {
public:
    NetcdfFile() = default;
    NetcdfFile(const NetcdfFile&) = delete;
    NetcdfFile& operator=(const NetcdfFile&) = delete;
    ~NetcdfFile() {
        if (id_ >= 0) {
            nc_close(id_);
        }
    }
    int Open(const std::filesystem::path& path) { return nc_open(path.c_str(), NC_NOWRITE, &id_); }
    int Id() const { return id_; }

private:
    int id_ = -1;
};

// A one-dimensional variable of the file: its id and length.
struct Variable {
    int Id = -1;
    std::size_t Length = 0;
};

class Reader {
public:
    Reader(const NetcdfFile& file, const std::filesystem::path& path) : file_(file), path_(path) {}

    Failure Refuse(const std::string& reason) const {
        return Failure::Details{FileProblem::Refused, FileRole::Input, path_.string(),
                                "not a binned GSHHG coastline file: " + reason};
    }
    Failure Refuse(const std::string& what, int status) const {
        return Refuse(what + " (" + nc_strerror(status) + ")");
    }

    Failure Find(const char* name, Variable& variable) const {
        if (int status = nc_inq_varid(file_.Id(), name, &variable.Id)) {
            return Refuse(std::string("no variable ") + name, status);
        }
        int dimensions = 0;
        if (nc_inq_varndims(file_.Id(), variable.Id, &dimensions) != NC_NOERR || dimensions != 1) {
            return Refuse(std::string(name) + " is not a list");
        }
        int dimension = -1;
        if (int status = nc_inq_vardimid(file_.Id(), variable.Id, &dimension);
            status != NC_NOERR || nc_inq_dimlen(file_.Id(), dimension, &variable.Length)) {
            return Refuse(std::string("no length for ") + name);
        }
        return {};
    }

    Failure Scalar(const char* name, int& value) const {
        Variable variable;
        if (Failure failure = Find(name, variable)) {
            return failure;
        }
        const std::size_t start = 0;
        if (variable.Length < 1) {
            return Refuse(std::string(name) + " is empty");
        }
        if (int status = nc_get_var1_int(file_.Id(), variable.Id, &start, &value)) {
            return Refuse(std::string("unreadable ") + name, status);
        }
        return {};
    }

    template <typename T>
    Failure Range(const Variable& variable, const char* name, std::size_t start, std::size_t count,
                  std::vector<T>& values) const {
        if (start > variable.Length || count > variable.Length - start) {
            return Refuse(std::string(name) + " holds fewer entries than the file refers to");
        }
        values.resize(count);
        if (count == 0) {
            return {};
        }
        int status = NC_NOERR;
        if constexpr (sizeof(T) == sizeof(int)) {
            status = nc_get_vara_int(file_.Id(), variable.Id, &start, &count, values.data());
        } else {
            status = nc_get_vara_short(file_.Id(), variable.Id, &start, &count, values.data());
        }
        if (status != NC_NOERR) {
            return Refuse(std::string("unreadable ") + name, status);
        }
        return {};
    }

private:
    const NetcdfFile& file_;
    const std::filesystem::path& path_;
};

const char* FileName(CoastResolution resolution) {
    switch (resolution) {
        case CoastResolution::Crude:
            return "binned_GSHHS_c.nc";
        case CoastResolution::Low:
            return "binned_GSHHS_l.nc";
        case CoastResolution::Intermediate:
            return "binned_GSHHS_i.nc";
        case CoastResolution::High:
            return "binned_GSHHS_h.nc";
        case CoastResolution::Full:
            return "binned_GSHHS_f.nc";
    }
    return "binned_GSHHS_l.nc";
}

}  // namespace

std::filesystem::path FindCoastlineFile(CoastResolution resolution,
                                        const std::filesystem::path& overridePath) {
    if (overridePath.empty()) {
        return std::filesystem::path(kCoastlineFolder) / FileName(resolution);
    }
    std::error_code error;
    if (std::filesystem::is_directory(overridePath, error)) {
        return overridePath / FileName(resolution);
    }
    return overridePath;
}

Failure ReadCoastlines(const std::filesystem::path& file, const GeoBox& box,
                       std::vector<GeoPolyline>& lines) {
    NetcdfFile netcdf;
    if (int status = netcdf.Open(file)) {
        // A file the system cannot open is told apart from one netCDF cannot read.
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error)) {
            return Failure::Details{FileProblem::CannotOpen, FileRole::Input, file.string(),
                                    error ? error.message() : "not a file"};
        }
        return Reader(netcdf, file).Refuse("netCDF cannot read it", status);
    }
    const Reader reader(netcdf, file);
    if (!(box.South <= box.North) || !(box.West <= box.East) || box.East - box.West > 360.0 ||
        !std::isfinite(box.West) || !std::isfinite(box.East)) {
        return Failure::Details{FileProblem::Refused, FileRole::Input, file.string(),
                                "the box of the coastlines is not a box of latitude and longitude"};
    }

    int binMinutes = 0;
    int binsAround = 0;
    int binsPoleToPole = 0;
    int binsInFile = 0;
    for (auto [name, value] : {std::pair{"Bin_size_in_minutes", &binMinutes},
                               std::pair{"N_bins_in_360_longitude_range", &binsAround},
                               std::pair{"N_bins_in_180_degree_latitude_range", &binsPoleToPole},
                               std::pair{"N_bins_in_file", &binsInFile}}) {
        if (Failure failure = reader.Scalar(name, *value)) {
            return failure;
        }
    }
    if (binMinutes <= 0 || kMinutesAround % binMinutes != 0 ||
        binsAround != kMinutesAround / binMinutes ||
        binsPoleToPole != kMinutesPoleToPole / binMinutes ||
        static_cast<std::int64_t>(binsAround) * binsPoleToPole > kMostBins ||
        binsInFile != binsAround * binsPoleToPole) {
        return reader.Refuse("its bins do not tile the globe");
    }

    Variable binFirstSegment, binSegments, segmentInfo, segmentFirstPoint, pointLon, pointLat;
    for (auto [name, variable] :
         {std::pair{"Id_of_first_segment_in_a_bin", &binFirstSegment},
          std::pair{"N_segments_in_a_bin", &binSegments},
          std::pair{"Embedded_npts_levels_exit_entry_for_a_segment", &segmentInfo},
          std::pair{"Id_of_first_point_in_a_segment", &segmentFirstPoint},
          std::pair{"Relative_longitude_from_SW_corner_of_bin", &pointLon},
          std::pair{"Relative_latitude_from_SW_corner_of_bin", &pointLat}}) {
        if (Failure failure = reader.Find(name, *variable)) {
            return failure;
        }
    }
    const auto bins = static_cast<std::size_t>(binsInFile);
    std::vector<int> firstSegments;
    std::vector<short> segmentCounts;
    if (Failure failure =
            reader.Range(binFirstSegment, "Id_of_first_segment_in_a_bin", 0, bins, firstSegments)) {
        return failure;
    }
    if (Failure failure =
            reader.Range(binSegments, "N_segments_in_a_bin", 0, bins, segmentCounts)) {
        return failure;
    }

    const double binDegrees = binMinutes / 60.0;
    const double unit = binDegrees / kOffsetSteps;
    std::vector<GeoPolyline> found;
    std::int64_t points = 0;
    std::vector<int> infos;
    std::vector<int> firstPoints;
    std::vector<short> lonSteps;
    std::vector<short> latSteps;
    std::vector<std::pair<std::size_t, std::size_t>> wanted;  // first point, count
    for (int row = 0; row < binsPoleToPole; ++row) {
        const double south = 90.0 - (row + 1) * binDegrees;
        if (south > box.North || south + binDegrees < box.South) {
            continue;
        }
        for (int column = 0; column < binsAround; ++column) {
            // The bin's west side in the box's own frame: the one copy of it, 360° apart from
            // the others, whose east side lies beyond box.West and within a turn of it.
            double west = column * binDegrees;
            west += 360.0 * (std::floor((box.West - (west + binDegrees)) / 360.0) + 1.0);
            if (west > box.East) {
                continue;
            }
            const std::size_t bin = static_cast<std::size_t>(row) * binsAround + column;
            if (firstSegments[bin] < 0 || segmentCounts[bin] < 0) {
                return reader.Refuse("a bin with a negative segment offset or count");
            }
            const auto first = static_cast<std::size_t>(firstSegments[bin]);
            const auto count = static_cast<std::size_t>(segmentCounts[bin]);
            if (Failure failure =
                    reader.Range(segmentInfo, "Embedded_npts_levels_exit_entry_for_a_segment",
                                 first, count, infos)) {
                return failure;
            }
            if (Failure failure = reader.Range(segmentFirstPoint, "Id_of_first_point_in_a_segment",
                                               first, count, firstPoints)) {
                return failure;
            }
            // The bin's land segments; their points usually lie together in the file, and are
            // then read with one call for the bin rather than one a segment.
            wanted.clear();
            std::size_t low = std::numeric_limits<std::size_t>::max();
            std::size_t high = 0;
            std::size_t wantedPoints = 0;
            for (std::size_t s = 0; s < count; ++s) {
                const auto info = static_cast<std::uint32_t>(infos[s]);
                const std::uint32_t pointCount = info >> 9;
                if ((info >> 6 & 7) != kLandLevel || pointCount < 2) {
                    continue;
                }
                if (firstPoints[s] < 0) {
                    return reader.Refuse("a segment with a negative point offset");
                }
                points += pointCount;
                if (points > kMostPoints) {
                    return reader.Refuse("more points than any GSHHG file holds");
                }
                const auto start = static_cast<std::size_t>(firstPoints[s]);
                if (start > pointLon.Length || pointCount > pointLon.Length - start) {
                    return reader.Refuse("a segment reaches beyond the list of points");
                }
                wanted.push_back({start, pointCount});
                low = std::min(low, start);
                high = std::max(high, start + pointCount);
                wantedPoints += pointCount;
            }
            if (wanted.empty()) {
                continue;
            }
            const bool together = high - low <= 4 * wantedPoints + 4096;
            auto read = [&](std::size_t start, std::size_t n) -> Failure {
                if (Failure failure = reader.Range(
                        pointLon, "Relative_longitude_from_SW_corner_of_bin", start, n, lonSteps)) {
                    return failure;
                }
                return reader.Range(pointLat, "Relative_latitude_from_SW_corner_of_bin", start, n,
                                    latSteps);
            };
            if (together) {
                if (Failure failure = read(low, high - low)) {
                    return failure;
                }
            }
            for (const auto& [start, n] : wanted) {
                std::size_t offset = start - low;
                if (!together) {
                    if (Failure failure = read(start, n)) {
                        return failure;
                    }
                    offset = 0;
                }
                GeoPolyline& line = found.emplace_back();
                line.reserve(n);
                for (std::size_t k = offset; k < offset + n; ++k) {
                    line.push_back({south + static_cast<std::uint16_t>(latSteps[k]) * unit,
                                    west + static_cast<std::uint16_t>(lonSteps[k]) * unit});
                }
            }
        }
    }
    lines.insert(lines.end(), std::make_move_iterator(found.begin()),
                 std::make_move_iterator(found.end()));
    return {};
}

}  // namespace qiv::avhrr
