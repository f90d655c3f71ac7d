// Form3 "Παρουσίαση Εικόνας": the window into whose Picture1 the image paintings and the
// histogram plots draw. It is created hidden at start-up and lives as long as the main window.
#pragma once

#include <QWidget>

class QPushButton;

namespace qiv {
class PictureArea;
}

namespace qiv::rastel {

class DisplayWindow : public QWidget {
    Q_OBJECT

public:
    explicit DisplayWindow(QWidget* parent = nullptr);

    qiv::PictureArea& Picture() { return *picture_; }
    // Sizes Picture1 (twips, converted to pixels) below the strip that holds the button.
    void SetPictureSizeTwips(int heightTwips, int widthTwips);

private slots:
    void onCommand1Clicked();

private:
    QPushButton* command1_ = nullptr;
    qiv::PictureArea* picture_ = nullptr;
};

}  // namespace qiv::rastel
