#include "raster_viewer/core/raster_file.h"

#include <algorithm>

namespace qiv::rastel {

CommandOutcome HasPixels(const ViewerState& state) {
    if (state.ImageRows >= 1 && state.ImageCols >= 1) {
        return {};
    }
    return {Refusal::NoPixels, state.ImageRows, state.ImageCols};
}

Failure RasterFile::Open(const std::string& path, std::int32_t rows, std::int32_t cols) {
    rows_ = 0;
    cols_ = 0;
    if (Failure failure = file_.Open(path, BinaryFile::Mode::Read)) {
        return failure;
    }
    std::int64_t actual = 0;
    if (Failure failure = file_.Size(actual)) {
        file_.Close();
        return failure;
    }
    // Below one row or column there is no image to read (callers ask HasPixels first); such a
    // request is refused like a file too short for one pixel.
    const std::int64_t expected = std::max<std::int64_t>(1, std::int64_t{rows} * cols);
    if (actual < expected || rows < 1 || cols < 1) {
        file_.Close();
        Failure::Details details = *file_.Fail(FileProblem::TooShort);
        details.Needed = expected;
        details.Size = actual;
        return details;
    }
    rows_ = rows;
    cols_ = cols;
    return {};
}

Failure RasterFile::ReadRows(std::int64_t first, std::int64_t count, std::span<std::uint8_t> into) {
    if (first < 0 || count < 0 || count > rows_ - first ||
        static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(cols_) != into.size()) {
        return file_.Fail(FileProblem::CannotRead, "γραμμές έξω από την εικόνα");
    }
    return ReadPixels(first * cols_, into);
}

Failure RasterFile::ReadPixels(std::int64_t first, std::span<std::uint8_t> into) {
    if (!file_.IsOpen() || first < 0 || first > PixelCount() ||
        static_cast<std::uint64_t>(PixelCount() - first) < into.size()) {
        return file_.Fail(FileProblem::CannotRead, "θέση έξω από την εικόνα");
    }
    if (Failure failure = file_.ReadAt(first, into)) {
        // Open saw enough bytes: a short read means the file has been shortened since.
        return failure->Problem == FileProblem::TooShort ? ShortFile() : failure;
    }
    return {};
}

Failure RasterFile::ShortFile() {
    std::int64_t actual = 0;
    if (Failure failure = file_.Size(actual)) {
        return failure;
    }
    Failure::Details details = *file_.Fail(FileProblem::TooShort);
    details.Needed = PixelCount();
    details.Size = actual;
    return details;
}

}  // namespace qiv::rastel
