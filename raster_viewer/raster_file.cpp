#include "raster_file.h"

namespace qiv::rastel {

std::string BadDimensionsMessage(std::int32_t rows, std::int32_t cols) {
    return "Λάθος διαστάσεις εικόνας: " + std::to_string(rows) + " Γραμμές, " +
           std::to_string(cols) + " Στήλες. Χρειάζεται τουλάχιστον 1 Γραμμή και 1 Στήλη.";
}

std::string CannotOpenMessage(const std::string& path, const std::string& reason) {
    return "Δεν ανοίγει το αρχείο εικόνας \"" + path + "\" (" + reason + ").";
}

std::string ShortFileMessage(const std::string& path, std::int64_t expected, std::int64_t actual) {
    return "Το αρχείο εικόνας \"" + path +
           "\" είναι μικρότερο από τις διαστάσεις του: " + "χρειάζονται " +
           std::to_string(expected) + " bytes, έχει " + std::to_string(actual) + " bytes.";
}

std::string ReadFailedMessage(const std::string& path, const std::string& reason) {
    return "Σφάλμα ανάγνωσης του αρχείου εικόνας \"" + path + "\" (" + reason + ").";
}

std::optional<std::string> RasterFile::Open(const std::string& path, std::int32_t rows,
                                            std::int32_t cols) {
    file_.Close();
    rows_ = 0;
    cols_ = 0;
    if (rows < 1 || cols < 1) {
        return BadDimensionsMessage(rows, cols);
    }
    if (!file_.Open(path, BinaryFile::Mode::Read)) {
        return CannotOpenMessage(path, file_.Error());
    }
    const std::int64_t expected = static_cast<std::int64_t>(rows) * cols;
    const std::int64_t actual = file_.Size();
    if (actual < 0) {
        const std::string reason = file_.Error();
        file_.Close();
        return ReadFailedMessage(path, reason);
    }
    if (actual < expected) {
        file_.Close();
        return ShortFileMessage(path, expected, actual);
    }
    path_ = path;
    rows_ = rows;
    cols_ = cols;
    return std::nullopt;
}

std::optional<std::string> RasterFile::ReadRows(std::int64_t first, std::int64_t count,
                                                std::span<std::uint8_t> into) {
    if (first < 0 || count < 0 || count > rows_ - first ||
        static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(cols_) != into.size()) {
        return ReadFailedMessage(path_, "γραμμές έξω από την εικόνα");
    }
    return ReadPixels(first * cols_, into);
}

std::optional<std::string> RasterFile::ReadPixels(std::int64_t first,
                                                  std::span<std::uint8_t> into) {
    if (!file_.IsOpen() || first < 0 || first > PixelCount() ||
        static_cast<std::uint64_t>(PixelCount() - first) < into.size()) {
        return ReadFailedMessage(path_, "θέση έξω από την εικόνα");
    }
    const std::int64_t got = file_.ReadAt(first, into);
    if (got < 0) {
        return ReadFailedMessage(path_, file_.Error());
    }
    if (static_cast<std::uint64_t>(got) != into.size()) {
        // Open saw enough bytes: the file has been shortened since.
        return ShortFileMessage(path_, PixelCount(), file_.Size());
    }
    return std::nullopt;
}

}  // namespace qiv::rastel
