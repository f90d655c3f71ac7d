// Drawing into a picture area. The processing routines draw only through this interface; the
// windows implement it on a Qt picture area, the tests on an in-memory canvas.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qiv {

// A colour as the picture areas store it: 0xFFRRGGBB (the layout of Qt's QRgb).
using Colour = std::uint32_t;

constexpr Colour MakeColour(int red, int green, int blue) {
    return 0xFF000000u | (static_cast<Colour>(red & 0xFF) << 16) |
           (static_cast<Colour>(green & 0xFF) << 8) | static_cast<Colour>(blue & 0xFF);
}
constexpr int RedOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>(c & 0xFF); }

inline constexpr Colour kBlack = MakeColour(0, 0, 0);
inline constexpr Colour kWhite = MakeColour(255, 255, 255);

// Coordinates are pixels, origin at the top-left corner, y downwards. Whatever falls outside
// the area is not drawn; nothing is an error.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Fills the area with its background colour and moves the print position to (0, 0).
    virtual void Clear() = 0;
    virtual void SetPixel(int x, int y, Colour colour) = 0;
    // Sets pixels (x + i * step, y) to colours[i]: one row of an image in one call. step is
    // +1 (left to right) or -1 (right to left).
    virtual void SetPixelRun(int x, int y, int step, std::span<const Colour> colours) = 0;
    // A straight line with both end points drawn; the print position moves to (x1, y1).
    virtual void Line(int x0, int y0, int x1, int y1, Colour colour) = 0;
    // A point in the foreground colour; the print position moves there.
    virtual void Point(int x, int y) = 0;
    // Prints text with its top-left corner at the print position, then moves the print position
    // to the start of the next line.
    virtual void PrintLine(std::string_view text) = 0;
    // Makes what has been drawn visible at once, before a long loop blocks the window.
    virtual void Flush() {}
};

// The pixel operations of Canvas over a plain 32-bit pixel buffer; both canvases draw through
// it, so that the in-memory canvas of the tests shows exactly what the windows show.
class PixelSurface {
public:
    PixelSurface() = default;
    PixelSurface(Colour* pixels, int width, int height, std::ptrdiff_t stride)
        : pixels_(pixels), width_(width), height_(height), stride_(stride) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Colour At(int x, int y) const { return pixels_[y * stride_ + x]; }

    void Fill(Colour colour);
    void SetPixel(int x, int y, Colour colour) {
        if (Contains(x, y)) {
            pixels_[y * stride_ + x] = colour;
        }
    }
    void SetPixelRun(int x, int y, int step, std::span<const Colour> colours);
    void Line(int x0, int y0, int x1, int y1, Colour colour);

private:
    Colour* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::ptrdiff_t stride_ = 0;
};

}  // namespace qiv
