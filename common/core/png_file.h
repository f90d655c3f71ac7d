// Writing a picture as a PNG file row by row, top row first, so that no more than one row of a
// picture of any size is held: paintings of whole images go out as they are painted. Colours
// are 8-bit RGB, or 8-bit grey when every colour of the picture is a grey; every failure comes
// back as a Failure of the Output file.
//
//     PngFile png;
//     if (Failure failure = png.Open(path, width, height, PngColours::Rgb)) { ... }
//     for each row: if (Failure failure = png.WriteRow(colours)) { ... }
//     if (Failure failure = png.Finish()) { ... }
//
// The picture is written under a temporary name beside the file and takes the file's name at
// Finish (ReplacingFile). A picture that is not finished (a failure, a full disk, or the object
// going early) leaves no half-written file behind, and an older picture of that name as it was.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "common/core/canvas.h"
#include "common/core/failure.h"
#include "common/core/replacing_file.h"

namespace qiv {

enum class PngColours {
    Rgb,   // three bytes a pixel
    Grey,  // one byte a pixel: the green of each colour, for pictures whose colours are greys
};

class PngFile {
public:
    PngFile();
    PngFile(const PngFile&) = delete;
    PngFile& operator=(const PngFile&) = delete;
    ~PngFile();

    // Starts a new picture of width x height for the file and writes its PNG header; both must
    // be at least 1. A file of that name is replaced only at Finish.
    Failure Open(const std::filesystem::path& path, std::int64_t width, std::int64_t height,
                 PngColours colours);
    // The next row, width colours from the left.
    Failure WriteRow(std::span<const Colour> row);
    // Writes the end of the file and gives it its name; every row must have been written.
    Failure Finish();

    struct Encoder;  // the libpng side, in the source file

private:
    Failure Abandon(Failure failure);

    ReplacingFile file_;
    std::unique_ptr<Encoder> encoder_;
};

}  // namespace qiv
