// The help window `Form2` of both programs: a caption, a background colour, a text printed
// line by line into a picture area, and a return button that hides the window again.
#pragma once

#include <QWidget>
#include <memory>
#include <span>
#include <string_view>

#include "common/core/help_panel.h"

class QPushButton;
class QScrollArea;

namespace qiv {

class PictureArea;

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(const HelpWindowLayout& layout, QWidget* parent = nullptr);

    // Shows the window without blocking and prints the text into it afresh from the top.
    void ShowText(std::span<const std::string_view> lines);

    PictureArea& TextArea() { return *text_; }
    QScrollArea& TextScroller() { return *scroller_; }
    QPushButton& ReturnButton() { return *command1_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceControls();

    QScrollArea* scroller_;
    PictureArea* text_;
    QPushButton* command1_;
    // The button keeps its design distance from the right and bottom edges when the window is
    // resized, so that at the design size it stands exactly where the layout puts it.
    int buttonRightGap_;
    int buttonBottomGap_;
    int textBottomGap_;
};

// HelpPanel: creates the help window at the first call, then shows it and prints the lines
// afresh; later calls reuse the same window. It is a top-level window of its own, not a child of
// the main window, so that it does not stay above the main window while both are shown.
HelpWindow& HelpPanel(std::unique_ptr<HelpWindow>& window, const HelpWindowLayout& layout,
                      std::span<const std::string_view> lines);

}  // namespace qiv
