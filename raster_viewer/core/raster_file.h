// Reading the image of a "Generic binary, 8-bit" raster file: ImageRows rows of ImageCols bytes,
// row after row, from the first byte of the file (a dimension header, when present, is read as
// the first four pixels).
//
// Every command that reads the image (the histogram pass, the painting, the subset) opens it
// through RasterFile, so that all of them refuse the same files in the same way:
//
//     RasterFile image;
//     if (Failure failure = image.Open(state.ImagePath, state.ImageRows, state.ImageCols)) {
//         return failure;
//     }
//     std::vector<std::uint8_t> rows(blockRows * image.Cols());
//     if (Failure failure = image.ReadRows(first, blockRows, rows)) { ... }
//
// Open needs both dimensions to be at least 1 (HasPixels) and checks that the file holds at
// least ImageRows x ImageCols bytes (bytes beyond that are never read); afterwards every read
// lies inside the image, so a read that comes back short means the file changed under us and is
// a TooShort failure too. Sizes and positions are 64-bit: any product of two 32-bit dimensions
// is exact. The file is opened read-only and closed when the object goes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "common/core/binary_file.h"
#include "raster_viewer/core/rastel_outcome.h"
#include "raster_viewer/core/viewer_state.h"

namespace qiv::rastel {

// Done when the dimensions give at least one pixel; NoPixels otherwise.
CommandOutcome HasPixels(const ViewerState& state);

class RasterFile {
public:
    // Opens path for reading as an image of rows x cols pixels (both at least 1). Fails when the
    // file cannot be opened or is shorter than the image (Needed and Size say by how much).
    Failure Open(const std::string& path, std::int32_t rows, std::int32_t cols);

    std::int32_t Rows() const { return rows_; }
    std::int32_t Cols() const { return cols_; }
    // ImageRows x ImageCols, the number of bytes the image takes.
    std::int64_t PixelCount() const { return static_cast<std::int64_t>(rows_) * cols_; }

    // Reads `count` whole rows from the 0-based row `first` on into `into`, which must hold
    // exactly count x Cols() bytes; the rows must lie inside the image. One system read.
    Failure ReadRows(std::int64_t first, std::int64_t count, std::span<std::uint8_t> into);
    // Reads into.size() consecutive pixels from the 0-based pixel index `first` (row x Cols() +
    // column) on: part of a row, or a run across rows. The run must lie inside the image.
    Failure ReadPixels(std::int64_t first, std::span<std::uint8_t> into);

private:
    Failure ShortFile();

    BinaryFile file_{FileRole::Input};
    std::int32_t rows_ = 0;
    std::int32_t cols_ = 0;
};

}  // namespace qiv::rastel
