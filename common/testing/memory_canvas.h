// A canvas that draws into memory and remembers the texts printed into it: the picture area
// of the tests and of the benchmarks.
#pragma once

#include <string>
#include <vector>

#include "common/core/canvas.h"

namespace qiv {

class MemoryCanvas : public Canvas {
public:
    struct PrintedText {
        int X = 0;
        int Y = 0;
        std::string Text;
        friend bool operator==(const PrintedText&, const PrintedText&) = default;
    };

    // Every printed line moves the print position down by this many pixels.
    static constexpr int kLineHeight = 16;

    MemoryCanvas(int width, int height, Colour background = kWhite);

    int Width() const override { return surface_.Width(); }
    int Height() const override { return surface_.Height(); }
    void Clear() override;
    void SetPixel(int x, int y, Colour colour) override { surface_.SetPixel(x, y, colour); }
    void SetPixelRun(int x, int y, int step, std::span<const Colour> colours) override {
        surface_.SetPixelRun(x, y, step, colours);
    }
    void Line(int x0, int y0, int x1, int y1, Colour colour) override;
    void Point(int x, int y) override;
    void PrintLine(std::string_view text) override;
    void Flush() override { ++flushes_; }

    Colour At(int x, int y) const { return surface_.At(x, y); }
    Colour Background() const { return background_; }
    // Texts printed since the last Clear, in order.
    const std::vector<PrintedText>& Texts() const { return texts_; }
    int Clears() const { return clears_; }
    int Flushes() const { return flushes_; }
    int PrintX() const { return printX_; }
    int PrintY() const { return printY_; }

private:
    std::vector<Colour> pixels_;
    PixelSurface surface_;
    Colour background_;
    Colour foreground_ = kBlack;
    std::vector<PrintedText> texts_;
    int printX_ = 0;
    int printY_ = 0;
    int clears_ = 0;
    int flushes_ = 0;
};

namespace testing {

// The small picture area of a main window, where the wait notice shows: the one canvas that
// tests, fuzz targets and benchmarks give the routines for it.
inline constexpr int kWaitAreaWidth = 81;
inline constexpr int kWaitAreaHeight = 25;
inline MemoryCanvas WaitArea() {
    return MemoryCanvas(kWaitAreaWidth, kWaitAreaHeight);
}

}  // namespace testing
}  // namespace qiv
