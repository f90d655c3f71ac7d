// Reading the image of a "Generic binary, 8-bit" raster file: ImageRows rows of ImageCols bytes,
// row after row, from the first byte of the file (a dimension header, when present, is read as
// the first four pixels).
//
// Every command that reads the image (the histogram pass, the painting, the subset) opens it
// through RasterFile, so that all of them refuse the same files with the same words:
//
//     RasterFile image;
//     if (auto problem = image.Open(state.ImagePath, state.ImageRows, state.ImageCols)) {
//         dialogs.Message(*problem);   // already the program's own Greek text
//         return;
//     }
//     std::vector<std::uint8_t> rows(blockRows * image.Cols());
//     if (auto problem = image.ReadRows(first, blockRows, rows)) { ... }
//
// Open checks that both dimensions are at least 1 and that the file holds at least
// ImageRows x ImageCols bytes (bytes beyond that are never read); afterwards every read lies
// inside the image, so a read that comes back short means the file changed under us and is
// reported as a failure too. Sizes and positions are 64-bit: any product of two 32-bit
// dimensions is exact. The file is opened read-only and closed when the object goes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "binary_file.h"

namespace qiv::rastel {

class RasterFile {
public:
    // Opens path for reading as an image of rows x cols pixels. On success no value; otherwise
    // the message that names the problem: dimensions below 1, a file that cannot be opened
    // (with the system's reason), or a file shorter than the image (expected and actual size).
    [[nodiscard]] std::optional<std::string> Open(const std::string& path, std::int32_t rows,
                                                  std::int32_t cols);

    std::int32_t Rows() const { return rows_; }
    std::int32_t Cols() const { return cols_; }
    // ImageRows x ImageCols, the number of bytes the image takes.
    std::int64_t PixelCount() const { return static_cast<std::int64_t>(rows_) * cols_; }

    // Reads `count` whole rows from the 0-based row `first` on into `into`, which must hold
    // exactly count x Cols() bytes; the rows must lie inside the image. One system read.
    [[nodiscard]] std::optional<std::string> ReadRows(std::int64_t first, std::int64_t count,
                                                      std::span<std::uint8_t> into);
    // Reads into.size() consecutive pixels from the 0-based pixel index `first` (row x Cols() +
    // column) on: part of a row, or a run across rows. The run must lie inside the image.
    [[nodiscard]] std::optional<std::string> ReadPixels(std::int64_t first,
                                                        std::span<std::uint8_t> into);

private:
    BinaryFile file_;
    std::string path_;
    std::int32_t rows_ = 0;
    std::int32_t cols_ = 0;
};

// The messages of RasterFile, also for the tests that check them.
std::string BadDimensionsMessage(std::int32_t rows, std::int32_t cols);
std::string CannotOpenMessage(const std::string& path, const std::string& reason);
std::string ShortFileMessage(const std::string& path, std::int64_t expected, std::int64_t actual);
std::string ReadFailedMessage(const std::string& path, const std::string& reason);

}  // namespace qiv::rastel
