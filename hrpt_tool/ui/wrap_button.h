// A push button whose caption wraps over several lines, as the long captions of the main
// window need on buttons of their fixed size. text() stays the caption as given.
#pragma once

#include <QPushButton>

namespace qiv::swathly {

class WrapButton : public QPushButton {
public:
    WrapButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace qiv::swathly
