// Form1 of Swathly_Qiv, "HRP File Information": the header boxes, the two boxes the user types
// into, the band choice, the command buttons and the three path lines. It owns the program
// state and only wires the controls to the routines.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "dialogs.h"
#include "swathly_state.h"

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

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Without dialogs the window uses Qt's standard ones.
    explicit MainWindow(qiv::Dialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    SwathlyState& State() { return state_; }
    const SwathlyState& State() const { return state_; }

private slots:
    void Command1Click();
    void Command2Click();
    void Command3Click();
    void Command4Click();
    void Command5Click();
    void Command6Click();
    void Command7Click();
    void Command8Click();
    void Command9Click();
    void Command10Click();

private:
    void BuildLayout();
    QPushButton* AddButton(const char* name, const QString& caption, QRect twips);
    // Puts the texts of the last header read into the Text1 boxes.
    void ShowHeader();
    std::string DecimalSeparator() const;

    SwathlyState state_;
    std::unique_ptr<qiv::Dialogs> ownDialogs_;
    qiv::Dialogs* dialogs_;

    QGroupBox* frame1_ = nullptr;
    std::array<QLineEdit*, 15> text1_{};  // no boxes 8 to 10
    std::array<QLineEdit*, 2> text2_{};
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
