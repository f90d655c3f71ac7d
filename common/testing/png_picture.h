// Reading a PNG file back in a test: its size and every pixel as a Colour, whatever colour type
// it was written in.
#pragma once

#include <png.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "common/core/canvas.h"

namespace qiv::testing {

struct PngPicture {
    int Width = 0;
    int Height = 0;
    std::vector<Colour> Pixels;  // row after row
    Colour At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

// No value when the file is not a whole, readable PNG.
inline std::optional<PngPicture> ReadPng(const std::filesystem::path& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, file.c_str()) == 0) {
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return std::nullopt;
    }
    PngPicture picture;
    picture.Width = static_cast<int>(image.width);
    picture.Height = static_cast<int>(image.height);
    picture.Pixels.reserve(rgb.size() / 3);
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        picture.Pixels.push_back(MakeColour(rgb[i], rgb[i + 1], rgb[i + 2]));
    }
    return picture;
}

}  // namespace qiv::testing
