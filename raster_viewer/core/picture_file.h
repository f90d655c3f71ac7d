// What the display window adds to its picture: saving what Picture1 shows as a PNG file
// ("Αποθήκευση εικόνας...", Ctrl+S), and the tooltip that tells what a painted pixel holds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/core/canvas.h"
#include "common/core/dialogs.h"
#include "raster_viewer/core/display_view.h"
#include "common/core/failure.h"

namespace qiv::rastel {

inline constexpr std::string_view kSavePictureCaption = "Αποθήκευση εικόνας...";
inline constexpr std::string_view kPngFilter = "PNG Images|*.png|All Files|*.*";
inline constexpr std::string_view kPictureOverImage =
    "  Η εικόνα δεν μπορεί να αποθηκευτεί πάνω στο αρχείο της εικόνας: δόστε όνομα άλλου "
    "αρχείου";

// A picture to save, row by row: Row(y) gives its Width colours from the left.
struct PictureRows {
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    std::function<std::span<const Colour>(std::int64_t y)> Row;
};

// The name offered for a saved picture: beside the image, with the image's name and ".png" for
// a painting, "-histogram.png" for a plot; empty when nothing drawn came from an image.
std::string SuggestedPictureName(std::string_view imagePath, bool plot);

// Writes the picture as a PNG file. A file of that name is replaced only when the whole picture
// is written: a save that fails half-way leaves it as it was.
Failure WritePicturePng(const PictureRows& picture, const std::filesystem::path& path);

// Asks for the name of a new PNG file, offering `suggested`, and writes the picture into it. A
// cancelled dialog saves nothing; the image file itself is refused, and so is a file that cannot
// be written, each with a message.
void SavePicture(const PictureRows& picture, std::string_view imagePath, std::string_view suggested,
                 Dialogs& dialogs);

// The tooltip of the picture pixel (x, y) when it shows a pixel of the painting: its row and
// column in the image (counted from 0, as the Subset prompts count them), the value stored in
// the file and the grey level it was painted as. No value for a pixel outside the painting, or
// when the file can no longer be read there.
std::optional<std::string> PixelTip(const PaintedImage& painting, int x, int y);

}  // namespace qiv::rastel
