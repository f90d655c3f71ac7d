#include "avhrr/tie_points.h"

#include <cmath>
#include <cstddef>

namespace qiv::avhrr {
namespace {

bool Increasing(const std::vector<int>& at, int imageSize) {
    if (at.size() < 2 || at.front() != 0 || at.back() != imageSize - 1) {
        return false;
    }
    for (std::size_t k = 1; k < at.size(); ++k) {
        if (at[k] <= at[k - 1]) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsWellFormed(const TiePointGrid& grid) {
    if (grid.ImageRows < 2 || grid.ImageCols < 2 || !Increasing(grid.Rows, grid.ImageRows) ||
        !Increasing(grid.Cols, grid.ImageCols)) {
        return false;
    }
    const std::size_t points = grid.Rows.size() * grid.Cols.size();
    if (grid.Latitude.size() != points || grid.Longitude.size() != points) {
        return false;
    }
    for (std::size_t k = 0; k < points; ++k) {
        if (!std::isfinite(grid.Latitude[k]) || !std::isfinite(grid.Longitude[k]) ||
            std::abs(grid.Latitude[k]) > 90.0) {
            return false;
        }
    }
    return true;
}

}  // namespace qiv::avhrr
