#include "common/ui/help_window.h"

#include <QFontMetrics>
#include <QPalette>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "common/core/help_panel.h"
#include "common/ui/picture_area.h"
#include "common/ui/text.h"
#include "common/ui/twips.h"

namespace qiv {

namespace {

void PaintBackground(QWidget& widget, Colour background) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(background));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

}  // namespace

HelpWindow::HelpWindow(const HelpWindowLayout& layout, QWidget* parent)
    : QWidget(parent, Qt::Window),
      scroller_(new QScrollArea(this)),
      text_(new PictureArea(nullptr, layout.Background)),
      command1_(new QPushButton(ToQString(layout.ReturnCaption), this)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(ToQString(layout.Caption));
    PaintBackground(*this, layout.Background);

    // The text is printed once into the picture area's backing image, which survives covering;
    // lines longer or more than the window holds are reached by scrolling.
    text_->setObjectName(QStringLiteral("Picture1"));
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidget(text_);
    PaintBackground(*scroller_->viewport(), layout.Background);

    command1_->setObjectName(QStringLiteral("Command1"));
    connect(command1_, &QPushButton::clicked, this, &QWidget::hide);

    const QRect button =
        TwipsRect(layout.ButtonLeft, layout.ButtonTop, layout.ButtonWidth, layout.ButtonHeight);
    const int clientWidth = TwipsToPixels(layout.ClientWidth);
    const int clientHeight = TwipsToPixels(layout.ClientHeight);
    command1_->setGeometry(button);
    buttonRightGap_ = clientWidth - button.right();
    buttonBottomGap_ = clientHeight - button.bottom();
    textBottomGap_ = clientHeight - button.top() + TwipsToPixels(60);
    resize(clientWidth, clientHeight);
    PlaceControls();
}

void HelpWindow::ShowText(std::span<const std::string_view> lines) {
    show();
    raise();

    const QFontMetrics metrics(text_->font());
    int width = 1;
    for (const std::string_view line : lines) {
        width = std::max(width, metrics.horizontalAdvance(ToQString(line)));
    }
    const int height = std::max(1, static_cast<int>(lines.size()) * metrics.height());
    text_->SetAreaSize(QSize(width, height));

    PrintHelp(*text_, lines);
    scroller_->horizontalScrollBar()->setValue(0);
    scroller_->verticalScrollBar()->setValue(0);
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceControls();
}

void HelpWindow::PlaceControls() {
    const QSize button = command1_->size();
    command1_->move(width() - buttonRightGap_ - button.width() + 1,
                    height() - buttonBottomGap_ - button.height() + 1);
    // A narrow strip of the background colour keeps the text off the window's edges.
    const int margin = TwipsToPixels(90);
    scroller_->setGeometry(margin, margin, std::max(0, width() - margin),
                           std::max(0, height() - textBottomGap_ - margin));
}

HelpWindow& HelpPanel(std::unique_ptr<HelpWindow>& window, const HelpWindowLayout& layout,
                      std::span<const std::string_view> lines) {
    if (!window) {
        window = std::make_unique<HelpWindow>(layout);
    }
    window->ShowText(lines);
    return *window;
}

}  // namespace qiv
