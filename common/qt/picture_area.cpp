#include "picture_area.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "text.h"

namespace qiv {

PictureArea::PictureArea(QWidget* parent, Colour background)
    : QWidget(parent), image_(1, 1, QImage::Format_RGB32), background_(background) {
    image_.fill(background_);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureArea::SetAreaSize(QSize pixels) {
    pixels = pixels.expandedTo(QSize(1, 1));
    if (pixels != image_.size()) {
        QImage resized(pixels, QImage::Format_RGB32);
        resized.fill(background_);
        QPainter painter(&resized);
        painter.drawImage(0, 0, image_);
        painter.end();
        image_ = std::move(resized);
    }
    setFixedSize(pixels);
    update();
}

Colour PictureArea::PixelAt(int x, int y) const { return image_.pixel(x, y); }

PixelSurface PictureArea::Surface() {
    // bits() detaches the image from any copy handed out by Image(), so a copy keeps the
    // picture as it was when it was taken.
    return {reinterpret_cast<Colour*>(image_.bits()), image_.width(), image_.height(),
            image_.bytesPerLine() / static_cast<qsizetype>(sizeof(Colour))};
}

void PictureArea::Clear() {
    image_.fill(background_);
    printX_ = 0;
    printY_ = 0;
    update();
}

void PictureArea::SetPixel(int x, int y, Colour colour) {
    if (x >= 0 && y >= 0 && x < image_.width() && y < image_.height()) {
        reinterpret_cast<Colour*>(image_.scanLine(y))[x] = colour;
        update();
    }
}

void PictureArea::SetPixelRun(int x, int y, int step, std::span<const Colour> colours) {
    Surface().SetPixelRun(x, y, step, colours);
    update();
}

void PictureArea::Line(int x0, int y0, int x1, int y1, Colour colour) {
    Surface().Line(x0, y0, x1, y1, colour);
    printX_ = x1;
    printY_ = y1;
    update();
}

void PictureArea::Point(int x, int y) {
    SetPixel(x, y, foreground_);
    printX_ = x;
    printY_ = y;
}

void PictureArea::PrintLine(std::string_view text) {
    const QFontMetrics metrics(font());
    QPainter painter(&image_);
    painter.setFont(font());
    painter.setPen(QColor::fromRgb(foreground_));
    painter.drawText(QPoint(printX_, printY_ + metrics.ascent()), ToQString(text));
    painter.end();
    printX_ = 0;
    printY_ += metrics.height();
    update();
}

void PictureArea::Flush() {
    if (isVisible()) {
        repaint();
    }
}

void PictureArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(background_));
    painter.drawImage(event->rect().topLeft(), image_, event->rect());
}

void PictureArea::mousePressEvent(QMouseEvent* event) {
    emit clicked();
    QWidget::mousePressEvent(event);
}

}  // namespace qiv
