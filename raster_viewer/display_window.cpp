#include "display_window.h"

#include <QPushButton>

#include "picture_area.h"
#include "twips.h"

namespace qiv::rastel {

DisplayWindow::DisplayWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Παρουσίαση Εικόνας"));
    resize(TwipsRect(0, 0, 7980, 7890).size());

    command1_ = new QPushButton(QStringLiteral("Επιστροφή"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(TwipsRect(720, 0, 2055, 315));

    picture_ = new qiv::PictureArea(this);
    picture_->setObjectName(QStringLiteral("Picture1"));
    picture_->setGeometry(TwipsRect(0, 360, 7815, 7455));
    picture_->SetAreaSize(picture_->size());

    connect(command1_, &QPushButton::clicked, this, &DisplayWindow::onCommand1Clicked);
}

void DisplayWindow::SetPictureSizeTwips(int heightTwips, int widthTwips) {
    picture_->SetAreaSize(QSize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips)));
}

void DisplayWindow::onCommand1Clicked() {}

}  // namespace qiv::rastel
