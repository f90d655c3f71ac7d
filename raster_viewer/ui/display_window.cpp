#include "raster_viewer/ui/display_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHelpEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QToolTip>

#include "raster_viewer/core/picture_file.h"
#include "common/ui/qt_dialogs.h"
#include "common/ui/text.h"
#include "common/ui/twips.h"

namespace qiv::rastel {

DisplayWindow::DisplayWindow(qiv::Dialogs* dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs) {
    if (dialogs_ == nullptr) {
        ownedDialogs_ = std::make_unique<qiv::QtDialogs>(this);
        dialogs_ = ownedDialogs_.get();
    }
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
    picture_->installEventFilter(this);

    // No control is added to the layout: the saving lives in Picture1's context menu and in
    // the window's Ctrl+S.
    savePicture_ = new QAction(ToQString(kSavePictureCaption), picture_);
    savePicture_->setObjectName(QStringLiteral("SavePicture"));
    savePicture_->setShortcut(QKeySequence::Save);
    savePicture_->setShortcutContext(Qt::WindowShortcut);
    picture_->addAction(savePicture_);
    picture_->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(command1_, &QPushButton::clicked, this, &DisplayWindow::OnCommand1Clicked);
    connect(savePicture_, &QAction::triggered, this, &DisplayWindow::OnSavePictureTriggered);
    connect(picture_, &qiv::PictureArea::cleared, this, &DisplayWindow::OnPicture1Cleared);
}

DisplayWindow::~DisplayWindow() = default;

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

void DisplayWindow::PaintingShown(const PaintedImage& painting) {
    painting_ = painting;
    shownImagePath_ = painting.ImagePath;
    plotShown_ = false;
}

void DisplayWindow::PlotShown(std::string_view imagePath) {
    shownImagePath_ = std::string(imagePath);
    plotShown_ = true;
}

void DisplayWindow::closeEvent(QCloseEvent* event) {
    // The frame's close does what "Επιστροφή" does. Accepting it only hides the window (it is
    // not deleted on close), so the picture stays for the next painting or plot, and the
    // window never holds up the end of the program, which closes the windows still shown.
    event->accept();
    emit returned();
}

bool DisplayWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<std::string> tip =
            painting_ ? PixelTip(*painting_, help->pos().x(), help->pos().y()) : std::nullopt;
        if (tip) {
            QToolTip::showText(help->globalPos(), ToQString(*tip), picture_);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DisplayWindow::OnCommand1Clicked() {
    hide();
    emit returned();
}

void DisplayWindow::OnSavePictureTriggered() {
    const QImage& image = picture_->Image();
    const PictureRows rows{
        image.width(), image.height(), [&image](std::int64_t y) {
            const auto* line =
                reinterpret_cast<const Colour*>(image.constScanLine(static_cast<int>(y)));
            return std::span<const Colour>(line, static_cast<std::size_t>(image.width()));
        }};
    SavePicture(rows, shownImagePath_, SuggestedPictureName(shownImagePath_, plotShown_),
                *dialogs_);
}

void DisplayWindow::OnPicture1Cleared() {
    // Nothing of the last painting is left to tell about.
    painting_.reset();
}

}  // namespace qiv::rastel
