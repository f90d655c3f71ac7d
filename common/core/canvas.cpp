#include "common/core/canvas.h"

#include <algorithm>
#include <cstdlib>

namespace qiv {

void PixelSurface::Fill(Colour colour) {
    for (int y = 0; y < height_; ++y) {
        std::fill_n(pixels_ + y * stride_, width_, colour);
    }
}

void PixelSurface::SetPixelRun(int x, int y, int step, std::span<const Colour> colours) {
    if (y < 0 || y >= height_ || colours.empty()) {
        return;
    }
    // Clip the run to the columns inside the area, then copy without further tests.
    const auto count = static_cast<std::int64_t>(colours.size());
    std::int64_t first = 0;
    std::int64_t last = count - 1;
    if (step > 0) {
        first = std::max<std::int64_t>(first, -static_cast<std::int64_t>(x));
        last = std::min<std::int64_t>(last, static_cast<std::int64_t>(width_) - 1 - x);
    } else {
        first = std::max<std::int64_t>(first, static_cast<std::int64_t>(x) - (width_ - 1));
        last = std::min<std::int64_t>(last, x);
    }
    if (first > last) {
        return;
    }
    Colour* row = pixels_ + y * stride_;
    if (step > 0) {
        std::copy(colours.begin() + first, colours.begin() + last + 1, row + x + first);
    } else {
        Colour* out = row + x - first;
        for (std::int64_t i = first; i <= last; ++i) {
            *out-- = colours[static_cast<std::size_t>(i)];
        }
    }
}

void PixelSurface::Line(int x0, int y0, int x1, int y1, Colour colour) {
    // Upright and level lines (all that the routines draw) are clipped first, so that an end
    // point far outside the area costs nothing.
    if (x0 == x1) {
        if (x0 < 0 || x0 >= width_) {
            return;
        }
        const int top = std::max(std::min(y0, y1), 0);
        const int bottom = std::min(std::max(y0, y1), height_ - 1);
        for (int y = top; y <= bottom; ++y) {
            pixels_[y * stride_ + x0] = colour;
        }
        return;
    }
    if (y0 == y1) {
        if (y0 < 0 || y0 >= height_) {
            return;
        }
        const int left = std::max(std::min(x0, x1), 0);
        const int right = std::min(std::max(x0, x1), width_ - 1);
        if (left <= right) {
            std::fill(pixels_ + y0 * stride_ + left, pixels_ + y0 * stride_ + right + 1, colour);
        }
        return;
    }
    // Bresenham over 64-bit error terms, so that far-away end points cannot overflow. Lines
    // that lie wholly outside still cost their length; the routines only draw short ones.
    std::int64_t dx = std::llabs(static_cast<std::int64_t>(x1) - x0);
    std::int64_t dy = -std::llabs(static_cast<std::int64_t>(y1) - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    std::int64_t error = dx + dy;
    std::int64_t x = x0;
    std::int64_t y = y0;
    while (true) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) {
            pixels_[y * stride_ + x] = colour;
        }
        if (x == x1 && y == y1) {
            break;
        }
        const std::int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

}  // namespace qiv
