// A picture area: a widget that keeps everything drawn into it in a backing image (an
// ImageCanvas), so that a painting survives covering and hiding the window.
#pragma once

#include <QImage>
#include <QWidget>

#include "common/core/canvas.h"
#include "common/ui/image_canvas.h"

namespace qiv {

class PictureArea : public QWidget, public Canvas {
    Q_OBJECT

public:
    explicit PictureArea(QWidget* parent = nullptr, Colour background = kWhite);

    // Sets the size of the area in pixels; what was drawn stays where it fits.
    void SetAreaSize(QSize pixels);
    const QImage& Image() const { return canvas_.Image(); }
    Colour PixelAt(int x, int y) const { return canvas_.PixelAt(x, y); }

    int Width() const override { return canvas_.Width(); }
    int Height() const override { return canvas_.Height(); }
    void Clear() override;
    void SetPixel(int x, int y, Colour colour) override;
    void SetPixelRun(int x, int y, int step, std::span<const Colour> colours) override;
    void Line(int x0, int y0, int x1, int y1, Colour colour) override;
    void Point(int x, int y) override;
    void PrintLine(std::string_view text) override;
    void Flush() override;

signals:
    // Signals are named as Qt names its own (NOLINT).
    void clicked();  // NOLINT(readability-identifier-naming)
    // Everything drawn has been wiped.
    void cleared();  // NOLINT(readability-identifier-naming)

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ImageCanvas canvas_;
    Colour background_;
};

}  // namespace qiv
