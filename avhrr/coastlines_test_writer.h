// Writes small binned GSHHG files with the netCDF library, in the layout coastlines.cpp reads,
// for the tests and for the seeds of the coastline_reader fuzz target. The arrays are written
// as they stand, so that a test can damage any of them.
#pragma once

#include <netcdf.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qiv::avhrr::testing {

struct BinnedFile {
    int BinMinutes = 10800;  // two bins of 180° x 180°
    int BinsAround = 2;
    int BinsPoleToPole = 1;
    int BinsInFile = 2;
    std::vector<int> FirstSegment{0, 0};
    std::vector<short> SegmentCount{0, 0};
    std::vector<int> SegmentInfo;
    std::vector<int> FirstPoint;
    std::vector<short> LonSteps;
    std::vector<short> LatSteps;
    std::vector<std::string> Leave;  // variables not to write

    // Adds a segment of the given level to bin, whose points are (lon, lat) steps from its
    // south-west corner; the bin's segments must be added one after the other.
    void AddSegment(int bin, int level, const std::vector<std::pair<int, int>>& steps) {
        if (SegmentCount[bin] == 0) {
            FirstSegment[bin] = static_cast<int>(SegmentInfo.size());
        }
        ++SegmentCount[bin];
        SegmentInfo.push_back(static_cast<int>(steps.size()) << 9 | level << 6 | 4 << 3 | 4);
        FirstPoint.push_back(static_cast<int>(LonSteps.size()));
        for (const auto& [lon, lat] : steps) {
            LonSteps.push_back(static_cast<short>(static_cast<std::uint16_t>(lon)));
            LatSteps.push_back(static_cast<short>(static_cast<std::uint16_t>(lat)));
        }
    }
};

// netCDF classic format: small, and read by the netCDF library itself.
inline bool WriteBinnedFile(const std::filesystem::path& path, const BinnedFile& content) {
    int id = -1;
    if (nc_create(path.c_str(), NC_CLOBBER, &id) != NC_NOERR) {
        return false;
    }
    auto leave = [&](const std::string& name) {
        for (const auto& left : content.Leave) {
            if (left == name) {
                return true;
            }
        }
        return false;
    };
    auto dimension = [&](const char* name, std::size_t length) {
        int dim = -1;
        nc_def_dim(id, name, length == 0 ? 1 : length, &dim);
        return dim;
    };
    const int scalar = dimension("Dimension_of_scalar", 1);
    const int binDim = dimension("Dimension_of_bin_arrays", content.FirstSegment.size());
    const int segDim = dimension("Dimension_of_segment_arrays", content.SegmentInfo.size());
    const int ptDim = dimension("Dimension_of_point_arrays", content.LonSteps.size());
    struct Pending {
        std::string Name;
        int Var = -1;
        const int* Ints = nullptr;
        const short* Shorts = nullptr;
        std::size_t Count = 0;
    };
    std::vector<Pending> pending;
    auto define = [&](const std::string& name, int dim, const int* ints, const short* shorts,
                      std::size_t count) {
        if (leave(name)) {
            return;
        }
        Pending entry{name, -1, ints, shorts, count};
        nc_def_var(id, name.c_str(), ints != nullptr ? NC_INT : NC_SHORT, 1, &dim, &entry.Var);
        pending.push_back(entry);
    };
    define("Bin_size_in_minutes", scalar, &content.BinMinutes, nullptr, 1);
    define("N_bins_in_360_longitude_range", scalar, &content.BinsAround, nullptr, 1);
    define("N_bins_in_180_degree_latitude_range", scalar, &content.BinsPoleToPole, nullptr, 1);
    define("N_bins_in_file", scalar, &content.BinsInFile, nullptr, 1);
    define("Id_of_first_segment_in_a_bin", binDim, content.FirstSegment.data(), nullptr,
           content.FirstSegment.size());
    define("N_segments_in_a_bin", binDim, nullptr, content.SegmentCount.data(),
           content.SegmentCount.size());
    define("Embedded_npts_levels_exit_entry_for_a_segment", segDim, content.SegmentInfo.data(),
           nullptr, content.SegmentInfo.size());
    define("Id_of_first_point_in_a_segment", segDim, content.FirstPoint.data(), nullptr,
           content.FirstPoint.size());
    define("Relative_longitude_from_SW_corner_of_bin", ptDim, nullptr, content.LonSteps.data(),
           content.LonSteps.size());
    define("Relative_latitude_from_SW_corner_of_bin", ptDim, nullptr, content.LatSteps.data(),
           content.LatSteps.size());
    bool ok = nc_enddef(id) == NC_NOERR;
    for (const Pending& entry : pending) {
        if (entry.Count == 0) {
            continue;
        }
        const std::size_t start = 0;
        const std::size_t count = entry.Count;
        ok = ok &&
             (entry.Ints != nullptr
                  ? nc_put_vara_int(id, entry.Var, &start, &count, entry.Ints)
                  : nc_put_vara_short(id, entry.Var, &start, &count, entry.Shorts)) == NC_NOERR;
    }
    return nc_close(id) == NC_NOERR && ok;
}

}  // namespace qiv::avhrr::testing
