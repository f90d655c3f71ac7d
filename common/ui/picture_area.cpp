#include "common/ui/picture_area.h"

#include <QColor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace qiv {

PictureArea::PictureArea(QWidget* parent, Colour background)
    : QWidget(parent), canvas_(background), background_(background) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureArea::SetAreaSize(QSize pixels) {
    canvas_.SetSize(pixels);
    setFixedSize(canvas_.Image().size());
    update();
}

void PictureArea::Clear() {
    canvas_.Clear();
    update();
    emit cleared();
}

void PictureArea::SetPixel(int x, int y, Colour colour) {
    canvas_.SetPixel(x, y, colour);
    update();
}

void PictureArea::SetPixelRun(int x, int y, int step, std::span<const Colour> colours) {
    canvas_.SetPixelRun(x, y, step, colours);
    update();
}

void PictureArea::Line(int x0, int y0, int x1, int y1, Colour colour) {
    canvas_.Line(x0, y0, x1, y1, colour);
    update();
}

void PictureArea::Point(int x, int y) {
    canvas_.Point(x, y);
    update();
}

void PictureArea::PrintLine(std::string_view text) {
    canvas_.SetFont(font());
    canvas_.PrintLine(text);
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
    painter.drawImage(event->rect().topLeft(), canvas_.Image(), event->rect());
}

void PictureArea::mousePressEvent(QMouseEvent* event) {
    emit clicked();
    QWidget::mousePressEvent(event);
}

}  // namespace qiv
