// The window layouts give places in twips that were drawn for a smaller system font than
// today's desktops use, so some captions would be cut off at those places.
#pragma once

class QWidget;

namespace qiv {

// Enlarges the whole layout inside `area` by one common factor, just enough that the caption of
// every button and option button fits its place; places keep their proportions and the font
// keeps its size. Does nothing when every caption fits already.
void FitLayoutToCaptions(QWidget& area);

}  // namespace qiv
