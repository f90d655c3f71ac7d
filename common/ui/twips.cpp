#include "common/ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "common/core/typed_number.h"

namespace qiv {

double TwipsPerPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0.0 ? 1440.0 / dpi : 15.0;
}

int TwipsToPixels(int twips) {
    return static_cast<int>(RoundHalfEven(static_cast<double>(twips) / TwipsPerPixel()));
}

QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

QSize ScreenSizeTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize pixels = screen != nullptr ? screen->size() : QSize(1024, 768);
    const double perPixel = TwipsPerPixel();
    return {static_cast<int>(RoundHalfEven(pixels.width() * perPixel)),
            static_cast<int>(RoundHalfEven(pixels.height() * perPixel))};
}

}  // namespace qiv
