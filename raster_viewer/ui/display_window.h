// Form3 "Παρουσίαση Εικόνας": the window into whose Picture1 the image paintings and the
// histogram plots draw. It is created hidden at start-up and lives as long as the main window;
// "Επιστροφή" and the window frame's close both only hide it.
//
// Beyond its two controls it saves what Picture1 shows as a PNG file (Ctrl+S, or the entry
// "Αποθήκευση εικόνας..." of Picture1's context menu), and while the pointer rests on a pixel
// of the last painting a tooltip tells what that pixel holds.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "common/core/dialogs.h"
#include "raster_viewer/core/display_view.h"
#include "common/ui/picture_area.h"

class QAction;
class QPushButton;

namespace qiv::rastel {

class DisplayWindow : public QWidget, public DisplayView {
    Q_OBJECT

public:
    // dialogs == nullptr: the window asks through Qt's standard dialogs.
    explicit DisplayWindow(qiv::Dialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~DisplayWindow() override;

    qiv::PictureArea& Picture() override { return *picture_; }
    // Sizes Picture1 (twips, converted to pixels) below the strip that holds the button.
    void SetPictureSizeTwips(int heightTwips, int widthTwips);

    void ShowSized(std::int32_t heightTwips, std::int32_t widthTwips) override;
    void MoveTo(std::int32_t topTwips, std::int32_t leftTwips) override;
    void PaintingShown(const PaintedImage& painting) override;
    void PlotShown(std::string_view imagePath) override;

signals:
    // Signals are named as Qt names its own (NOLINT).
    // The window has been hidden by the user ("Επιστροφή" or its frame).
    void returned();  // NOLINT(readability-identifier-naming)

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void OnCommand1Clicked();
    void OnSavePictureTriggered();
    void OnPicture1Cleared();

private:
    std::unique_ptr<qiv::Dialogs> ownedDialogs_;
    qiv::Dialogs* dialogs_ = nullptr;
    QPushButton* command1_ = nullptr;
    qiv::PictureArea* picture_ = nullptr;
    QAction* savePicture_ = nullptr;
    // What Picture1 shows: the last painting while nothing has wiped it, and the image that the
    // last painting or plot came from.
    std::optional<PaintedImage> painting_;
    std::string shownImagePath_;
    bool plotShown_ = false;
};

}  // namespace qiv::rastel
