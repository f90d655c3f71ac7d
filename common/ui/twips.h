// Window geometry is given in twips (1/1440 inch); Qt places widgets in device-independent
// pixels. The conversion uses the logical resolution of the primary screen (96 dpi gives the
// familiar 15 twips per pixel).
#pragma once

#include <QRect>
#include <QSize>

namespace qiv {

double TwipsPerPixel();
int TwipsToPixels(int twips);
QRect TwipsRect(int left, int top, int width, int height);
// The size of the primary screen in twips, kept in 32 bits so that any screen fits.
QSize ScreenSizeTwips();

}  // namespace qiv
