// The window layouts give places in twips that were drawn for a smaller system font than
// today's desktops use, so some captions would be cut off at those places. There are two ways
// to make them fit:
//
// - FitLayoutToCaptions enlarges the places and keeps the font: for a window whose size is not
//   fixed by its layout (Form1 of Rastel_Qiv).
// - FitCaptionsToPlaces keeps the places and takes a smaller face for a group of controls: for a
//   window that must keep its fixed size (Form1 of Swathly_Qiv).
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <vector>

class QWidget;

namespace qiv {

// Enlarges the whole layout inside `area` by one common factor, just enough that the caption of
// every button and option button fits its place; places keep their proportions and the font
// keeps its size. Does nothing when every caption fits already.
void FitLayoutToCaptions(QWidget& area);

// Gives the whole group one face, the largest (down to 6 points) in which every caption, plus
// extraPixels for an indicator, fits the width of its control; the group keeps one look rather
// than one control losing its last letters.
template <class Control>
void FitCaptionsToPlaces(const std::vector<Control*>& group, int extraPixels) {
    if (group.empty()) {
        return;
    }
    QFont face = group.front()->font();
    const auto fits = [&] {
        const QFontMetrics metrics(face);
        for (const Control* control : group) {
            if (metrics.horizontalAdvance(control->text()) + extraPixels > control->width()) {
                return false;
            }
        }
        return true;
    };
    while (!fits() && face.pointSizeF() > 6.0) {
        face.setPointSizeF(face.pointSizeF() - 0.5);
    }
    for (Control* control : group) {
        control->setFont(face);
    }
}

}  // namespace qiv
