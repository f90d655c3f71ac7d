#include "common/ui/image_canvas.h"

#include <QColor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include "common/ui/text.h"

namespace qiv {

ImageCanvas::ImageCanvas(Colour background)
    : image_(1, 1, QImage::Format_RGB32), font_(QGuiApplication::font()), background_(background) {
    image_.fill(background_);
}

void ImageCanvas::SetSize(QSize pixels) {
    pixels = pixels.expandedTo(QSize(1, 1));
    if (pixels == image_.size()) {
        return;
    }
    QImage resized(pixels, QImage::Format_RGB32);
    resized.fill(background_);
    QPainter painter(&resized);
    painter.drawImage(0, 0, image_);
    painter.end();
    image_ = std::move(resized);
}

PixelSurface ImageCanvas::Surface() {
    // bits() detaches the image from any copy handed out by Image(), so a copy keeps the
    // picture as it was when it was taken.
    return {reinterpret_cast<Colour*>(image_.bits()), image_.width(), image_.height(),
            image_.bytesPerLine() / static_cast<qsizetype>(sizeof(Colour))};
}

void ImageCanvas::Clear() {
    image_.fill(background_);
    printX_ = 0;
    printY_ = 0;
}

void ImageCanvas::SetPixel(int x, int y, Colour colour) {
    if (x >= 0 && y >= 0 && x < image_.width() && y < image_.height()) {
        reinterpret_cast<Colour*>(image_.scanLine(y))[x] = colour;
    }
}

void ImageCanvas::SetPixelRun(int x, int y, int step, std::span<const Colour> colours) {
    Surface().SetPixelRun(x, y, step, colours);
}

void ImageCanvas::Line(int x0, int y0, int x1, int y1, Colour colour) {
    Surface().Line(x0, y0, x1, y1, colour);
    printX_ = x1;
    printY_ = y1;
}

void ImageCanvas::Point(int x, int y) {
    SetPixel(x, y, foreground_);
    printX_ = x;
    printY_ = y;
}

void ImageCanvas::PrintLine(std::string_view text) {
    const QFontMetrics metrics(font_);
    QPainter painter(&image_);
    painter.setFont(font_);
    painter.setPen(QColor::fromRgb(foreground_));
    painter.drawText(QPoint(printX_, printY_ + metrics.ascent()), ToQString(text));
    painter.end();
    printX_ = 0;
    printY_ += metrics.height();
}

}  // namespace qiv
