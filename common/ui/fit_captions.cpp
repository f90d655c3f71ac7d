#include "common/ui/fit_captions.h"

#include <QAbstractButton>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "common/ui/picture_area.h"

namespace qiv {

namespace {

int Scaled(int length, double factor) {
    return static_cast<int>(std::ceil(length * factor - 1e-9));
}

void ScaleChildren(QWidget& parent, double factor) {
    for (QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) {
            continue;
        }
        ScaleChildren(*child, factor);
        const QRect place = child->geometry();
        const QSize size(Scaled(place.width(), factor), Scaled(place.height(), factor));
        if (auto* picture = qobject_cast<PictureArea*>(child)) {
            picture->SetAreaSize(size);
        } else if (child->minimumSize() == child->maximumSize()) {
            child->setFixedSize(size);
        } else {
            child->resize(size);
        }
        child->move(Scaled(place.x(), factor), Scaled(place.y(), factor));
    }
}

}  // namespace

void FitLayoutToCaptions(QWidget& area) {
    double factor = 1.0;
    for (const QAbstractButton* button : area.findChildren<QAbstractButton*>()) {
        if (button->isWindow() || button->width() <= 0 || button->text().isEmpty()) {
            continue;
        }
        factor =
            std::max(factor, static_cast<double>(button->sizeHint().width()) / button->width());
    }
    if (factor <= 1.0) {
        return;
    }
    const QSize size(Scaled(area.width(), factor), Scaled(area.height(), factor));
    ScaleChildren(area, factor);
    if (area.minimumSize() == area.maximumSize()) {
        area.setFixedSize(size);
    } else {
        area.resize(size);
    }
}

}  // namespace qiv
