#include "display_window.h"

#include <QCloseEvent>
#include <QPushButton>

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

    connect(command1_, &QPushButton::clicked, this, &DisplayWindow::OnCommand1Clicked);
}

void DisplayWindow::SetPictureSizeTwips(int heightTwips, int widthTwips) {
    picture_->SetAreaSize(QSize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips)));
}

void DisplayWindow::ShowSized(std::int32_t heightTwips, std::int32_t widthTwips) {
    const bool wasShown = isVisible();
    resize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
    show();
    if (wasShown) {
        // Shown but perhaps covered by the main window: bring the new drawing into view.
        raise();
    }
}

void DisplayWindow::MoveTo(std::int32_t topTwips, std::int32_t leftTwips) {
    move(TwipsToPixels(leftTwips), TwipsToPixels(topTwips));
}

void DisplayWindow::closeEvent(QCloseEvent* event) {
    // The frame's close does what "Επιστροφή" does. Accepting it only hides the window (it is
    // not deleted on close), so the picture stays for the next painting or plot, and the
    // window never holds up the end of the program, which closes the windows still shown.
    event->accept();
    emit returned();
}

void DisplayWindow::OnCommand1Clicked() {
    hide();
    emit returned();
}

}  // namespace qiv::rastel
