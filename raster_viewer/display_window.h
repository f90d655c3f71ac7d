// Form3 "Παρουσίαση Εικόνας": the window into whose Picture1 the image paintings and the
// histogram plots draw. It is created hidden at start-up and lives as long as the main window;
// "Επιστροφή" and the window frame's close both only hide it.
#pragma once

#include <QWidget>

#include "display_view.h"
#include "picture_area.h"

class QPushButton;

namespace qiv::rastel {

class DisplayWindow : public QWidget, public DisplayView {
    Q_OBJECT

public:
    explicit DisplayWindow(QWidget* parent = nullptr);

    qiv::PictureArea& Picture() override { return *picture_; }
    // Sizes Picture1 (twips, converted to pixels) below the strip that holds the button.
    void SetPictureSizeTwips(int heightTwips, int widthTwips);

    void ShowSized(std::int32_t heightTwips, std::int32_t widthTwips) override;
    void MoveTo(std::int32_t topTwips, std::int32_t leftTwips) override;

signals:
    // The window has been hidden by the user ("Επιστροφή" or its frame).
    void returned();

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void OnCommand1Clicked();

private:
    QPushButton* command1_ = nullptr;
    qiv::PictureArea* picture_ = nullptr;
};

}  // namespace qiv::rastel
