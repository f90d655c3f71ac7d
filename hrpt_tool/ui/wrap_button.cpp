#include "hrpt_tool/ui/wrap_button.h"

#include <QFontMetrics>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace qiv::swathly {

WrapButton::WrapButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void WrapButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    // A caption that needs more lines than the button holds is drawn in a smaller face rather
    // than losing its first and last lines.
    constexpr int kFlags = Qt::AlignCenter | Qt::TextWordWrap;
    QFont face = font();
    while (face.pointSizeF() > 6.0 &&
           !area.contains(QFontMetrics(face).boundingRect(area, kFlags, text()))) {
        face.setPointSizeF(face.pointSizeF() - 0.5);
    }
    painter.setFont(face);
    painter.drawText(area, kFlags, text());
}

}  // namespace qiv::swathly
