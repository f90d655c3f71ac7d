// Form1 "Επεξεργασία Εικόνας ", the main window of Rastel_Qiv. It owns the ViewerState and the
// display window Form3; each slot reads its controls, calls one routine and sets captions.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "raster_viewer/core/main_view.h"
#include "raster_viewer/core/paint_image.h"
#include "raster_viewer/core/viewer_state.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qiv {
class Dialogs;
class HelpWindow;
class PictureArea;
}  // namespace qiv

namespace qiv::rastel {

class DisplayWindow;

class MainWindow : public QMainWindow, public MainView {
    Q_OBJECT

public:
    // dialogs == nullptr: the window asks through Qt's standard dialogs. Tests pass scripted ones.
    explicit MainWindow(qiv::Dialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    ViewerState& State() { return state_; }
    const ViewerState& State() const { return state_; }
    DisplayWindow& Form3() { return *form3_; }
    // The help window, or null before the first "Βοήθεια".
    qiv::HelpWindow* Form2() { return form2_.get(); }
    // What "Έξοδος" (and closing the window through its frame) runs to end the program; by
    // default QCoreApplication::quit. Tests put a recorder here.
    void SetQuitHandler(std::function<void()> quit) { quit_ = std::move(quit); }

    void ShowSubsetPath(std::string_view path) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void OnFl1Triggered();
    void OnFl2Triggered();
    void OnFl3Triggered();
    void OnHs1Triggered();
    void OnHs2Triggered();
    void OnTd1Triggered();
    void OnHs3Triggered();
    void OnPx1Triggered();
    void OnPx2Triggered();
    void OnPx3Triggered();
    void OnHeadCrTriggered();
    void OnHelpIpTriggered();
    void OnCommand1Clicked();
    void OnCommand2Clicked();
    void OnCommand3Clicked();
    void OnCommand4Clicked();
    void OnCommand5Clicked();
    void OnCommand11Clicked();
    void OnForm3Returned();

private:
    void BuildControls();
    void BuildMenus();
    void StartUp();
    ColourScheme SelectedScheme() const;
    // Px1, Px2, Px3 in the colour scheme of the selected option button.
    void Paint(LevelMapping mode);

    ViewerState state_;
    std::unique_ptr<qiv::Dialogs> ownedDialogs_;
    qiv::Dialogs* dialogs_ = nullptr;
    std::function<void()> quit_;
    // A top-level window of its own, not a child: it must not stay above Form1 while shown.
    std::unique_ptr<DisplayWindow> form3_;
    // The help window, made at the first "Βοήθεια".
    std::unique_ptr<qiv::HelpWindow> form2_;

    QGroupBox* frame1_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label4_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* command5_ = nullptr;
    QPushButton* command11_ = nullptr;
    QRadioButton* option1_ = nullptr;
    QRadioButton* option2_ = nullptr;
    QRadioButton* option3_ = nullptr;
    qiv::PictureArea* picture1_ = nullptr;
};

}  // namespace qiv::rastel
