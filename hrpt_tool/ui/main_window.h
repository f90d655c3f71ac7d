// Form1 of Swathly_Qiv, "HRP File Information": the header boxes, the two boxes the user types
// into, the band choice, the command buttons and the three path lines. It owns the program
// state and the help window Form2; each slot reads its controls, calls one routine and sets
// captions.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "common/core/dialogs.h"
#include "hrpt_tool/core/main_view.h"
#include "hrpt_tool/core/quicklook_image.h"
#include "hrpt_tool/core/swathly_state.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qiv {
class HelpWindow;
class PictureArea;
}  // namespace qiv

namespace qiv::swathly {

class MainWindow : public QWidget, public MainView {
    Q_OBJECT

public:
    // dialogs == nullptr: the window asks through Qt's standard dialogs. Tests pass scripted ones.
    explicit MainWindow(qiv::Dialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    SwathlyState& State() { return state_; }
    const SwathlyState& State() const { return state_; }
    // The help window, or null before the first "Help".
    qiv::HelpWindow* Form2() { return form2_.get(); }
    // What "End" (and closing the window through its frame) runs to end the program; by default
    // QCoreApplication::quit, after which main() returns and every window goes. Tests put a
    // recorder here.
    void SetQuitHandler(std::function<void()> quit) { quit_ = std::move(quit); }

    void ShowHeaderTexts(const HeaderTexts& texts) override;
    std::string DecimalSeparator() const override;

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void OnCommand1Clicked();
    void OnCommand2Clicked();
    void OnCommand3Clicked();
    void OnCommand4Clicked();
    void OnCommand5Clicked();
    void OnCommand6Clicked();
    void OnCommand7Clicked();
    void OnCommand8Clicked();
    void OnCommand9Clicked();
    void OnCommand10Clicked();

private:
    void BuildControls();
    QPushButton* AddButton(const char* name, const QString& caption, QRect twips);
    BandButton SelectedBand() const;
    void ShowQuicklookRows();

    SwathlyState state_;
    std::unique_ptr<qiv::Dialogs> ownedDialogs_;
    qiv::Dialogs* dialogs_ = nullptr;
    std::function<void()> quit_;

    QGroupBox* frame1_ = nullptr;
    // The header boxes (Text1(0) to Text1(13) of the layout, a few left out).
    QLineEdit* titleBox_ = nullptr;
    QLineEdit* satIdBox_ = nullptr;
    QLineEdit* monthBox_ = nullptr;
    QLineEdit* dayBox_ = nullptr;
    QLineEdit* yearBox_ = nullptr;
    QLineEdit* hourBox_ = nullptr;
    QLineEdit* minuteBox_ = nullptr;
    QLineEdit* secsBox_ = nullptr;
    QLineEdit* timeDiffBox_ = nullptr;
    QLineEdit* rowsBox_ = nullptr;
    QLineEdit* colsBox_ = nullptr;
    QLineEdit* lineNumberBox_ = nullptr;        // Text1(14), "Line #"
    QLineEdit* quicklookRowsBox_ = nullptr;     // Text2(0), "Rows Qlk"
    QLineEdit* samplingIntervalBox_ = nullptr;  // Text2(1), "SamplInter"
    std::array<QLabel*, 16> label1_{};  // no labels 12 and 13
    std::array<QRadioButton*, 6> option1_{};
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label4_ = nullptr;
    qiv::PictureArea* picture1_ = nullptr;
    // Form2, the help window: made at the first Help and kept, shown or hidden, until the end.
    std::unique_ptr<qiv::HelpWindow> form2_;
};

}  // namespace qiv::swathly
