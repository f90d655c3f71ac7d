// A picture area: a widget that keeps everything drawn into it in a backing image, so that a
// painting survives covering and hiding the window.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include "canvas.h"

namespace qiv {

class PictureArea : public QWidget, public Canvas {
    Q_OBJECT

public:
    explicit PictureArea(QWidget* parent = nullptr, Colour background = kWhite);

    // Sets the size of the area in pixels; what was drawn stays where it fits.
    void SetAreaSize(QSize pixels);
    const QImage& Image() const { return image_; }
    Colour PixelAt(int x, int y) const;

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void Clear() override;
    void SetPixel(int x, int y, Colour colour) override;
    void SetPixelRun(int x, int y, int step, std::span<const Colour> colours) override;
    void Line(int x0, int y0, int x1, int y1, Colour colour) override;
    void Point(int x, int y) override;
    void PrintLine(std::string_view text) override;
    void Flush() override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    PixelSurface Surface();

    QImage image_;
    Colour background_;
    Colour foreground_ = kBlack;
    int printX_ = 0;
    int printY_ = 0;
};

}  // namespace qiv
