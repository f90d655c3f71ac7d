// A canvas that draws into a QImage: the backing image of every picture area, and the picture
// that qivtool draws a histogram plot into. Texts are drawn in the canvas's font, so a plot
// drawn here is the plot the display window shows in the same font.
#pragma once

#include <QFont>
#include <QImage>

#include "common/core/canvas.h"

namespace qiv {

class ImageCanvas : public Canvas {
public:
    // A 1 x 1 canvas in the application's font until it is given a size.
    explicit ImageCanvas(Colour background = kWhite);

    // Sets the size in pixels; what was drawn stays where it fits.
    void SetSize(QSize pixels);
    void SetFont(const QFont& font) { font_ = font; }
    const QImage& Image() const { return image_; }
    Colour PixelAt(int x, int y) const { return image_.pixel(x, y); }

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void Clear() override;
    void SetPixel(int x, int y, Colour colour) override;
    void SetPixelRun(int x, int y, int step, std::span<const Colour> colours) override;
    void Line(int x0, int y0, int x1, int y1, Colour colour) override;
    void Point(int x, int y) override;
    void PrintLine(std::string_view text) override;

private:
    PixelSurface Surface();

    QImage image_;
    QFont font_;
    Colour background_;
    Colour foreground_ = kBlack;
    int printX_ = 0;
    int printY_ = 0;
};

}  // namespace qiv
