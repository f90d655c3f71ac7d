#include "raster_viewer/core/picture_file.h"

#include <array>

#include "common/core/binary_file.h"
#include "common/core/png_file.h"
#include "raster_viewer/core/rastel_texts.h"
#include "raster_viewer/core/raster_file.h"

namespace qiv::rastel {

std::string SuggestedPictureName(std::string_view imagePath, bool plot) {
    if (imagePath.empty()) {
        return {};
    }
    std::filesystem::path name(imagePath);
    const std::string stem = name.stem().string();
    name.replace_filename(stem + (plot ? "-histogram.png" : ".png"));
    return name.string();
}

Failure WritePicturePng(const PictureRows& picture, const std::filesystem::path& path) {
    PngFile png;
    if (Failure failure = png.Open(path, picture.Width, picture.Height, PngColours::Rgb)) {
        return failure;
    }
    for (std::int64_t y = 0; y < picture.Height; ++y) {
        if (Failure failure = png.WriteRow(picture.Row(y))) {
            return failure;
        }
    }
    return png.Finish();
}

void SavePicture(const PictureRows& picture, std::string_view imagePath, std::string_view suggested,
                 Dialogs& dialogs) {
    const std::optional<std::string> chosen = dialogs.ChooseNewFile(kPngFilter, suggested);
    if (!chosen || chosen->empty()) {
        return;
    }
    // A saved picture takes the place of the file it is saved over: never the image's.
    if (!imagePath.empty() && SameFile(imagePath, *chosen)) {
        dialogs.Message(kPictureOverImage);
        return;
    }
    if (Failure failure = WritePicturePng(picture, *chosen)) {
        dialogs.Message(PictureWriteMessage(failure));
    }
}

std::optional<std::string> PixelTip(const PaintedImage& painting, int x, int y) {
    // Upright the painting starts one pixel in from the corner, upside down at the corner.
    const int margin = painting.Orientation == ImageOrientation::Upright ? 1 : 0;
    const std::int64_t across = std::int64_t{x} - margin;
    const std::int64_t down = std::int64_t{y} - margin;
    if (across < 0 || down < 0 || across >= painting.Cols || down >= painting.Rows) {
        return std::nullopt;
    }
    const bool upsideDown = painting.Orientation == ImageOrientation::UpsideDown;
    const std::int64_t row = upsideDown ? painting.Rows - 1 - down : down;
    const std::int64_t col = upsideDown ? painting.Cols - 1 - across : across;
    RasterFile image;
    std::array<std::uint8_t, 1> stored{};
    if (image.Open(painting.ImagePath, painting.Rows, painting.Cols) ||
        image.ReadPixels(row * painting.Cols + col, stored)) {
        return std::nullopt;
    }
    return "Γραμμή " + std::to_string(row) + ", Στήλη " + std::to_string(col) +
           "\nΤιμή στο αρχείο: " + std::to_string(stored[0]) +
           "\nΤιμή στην εικόνα: " + std::to_string(painting.PaintedLevel[stored[0]]);
}

}  // namespace qiv::rastel
