#include "main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>
#include <iterator>
#include <vector>

#include "file_choice.h"
#include "header_display.h"
#include "help_text.h"
#include "help_window.h"
#include "line_cut.h"
#include "picture_area.h"
#include "qt_dialogs.h"
#include "quicklook.h"
#include "text.h"
#include "twips.h"
#include "wrap_button.h"

namespace qiv::swathly {
namespace {

constexpr std::string_view kNotice =
    "Swathly_Qiv\n\n"
    "Works on NOAA AVHRR data: HRPT line files (HRP) and the CAL, SST and NDV products made "
    "from them. It shows the pass header of a line, prints the calibration words of that line "
    "to an ASCII file, writes 8-bit quicklooks that Rastel_Qiv opens, and cuts a range of lines "
    "into a shorter HRP file.\n\n"
    "The input file is chosen once; to work on another one, start the program again. "
    "Help explains every button.";

// Fonts differ from platform to platform; when a caption does not fit its fixed width, the
// whole group of controls gets a slightly smaller face rather than one losing its last letters.
template <class Control>
void FitCaptions(const std::vector<Control*>& group, int extraPixels) {
    if (group.empty()) {
        return;
    }
    QFont face = group.front()->font();
    const auto fits = [&] {
        const QFontMetrics metrics(face);
        for (const Control* control : group) {
            if (metrics.horizontalAdvance(control->text()) + extraPixels > control->width()) {
                return false;
            }
        }
        return true;
    };
    while (!fits() && face.pointSizeF() > 6.0) {
        face.setPointSizeF(face.pointSizeF() - 0.5);
    }
    for (Control* control : group) {
        control->setFont(face);
    }
}

// The band option buttons are examined in index order; the first selected one decides.
BandButton SelectedBand(const std::array<QRadioButton*, 6>& buttons) {
    constexpr BandButton kByIndex[] = {BandButton::Band1, BandButton::Band2,
                                       BandButton::Band3, BandButton::Band4,
                                       BandButton::Band5, BandButton::SingleBand};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i]->isChecked()) {
            return kByIndex[i];
        }
    }
    return BandButton::SingleBand;
}

}  // namespace

MainWindow::MainWindow(qiv::Dialogs* dialogs, QWidget* parent) : QWidget(parent) {
    if (dialogs == nullptr) {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs = ownDialogs_.get();
    }
    dialogs_ = dialogs;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("HRP File Information"));
    BuildLayout();
}

MainWindow::~MainWindow() = default;

QPushButton* MainWindow::AddButton(const char* name, const QString& caption, QRect twips) {
    auto* button = new WrapButton(caption, frame1_);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(twips);
    return button;
}

void MainWindow::BuildLayout() {
    // Captions written for a small sans-serif face; the twip geometry holds them at 8 points.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    setFixedSize(TwipsToPixels(6885), TwipsToPixels(6975));

    frame1_ = new QGroupBox(QStringLiteral("Information"), this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(TwipsRect(240, 120, 6375, 5655));

    struct ButtonRow {
        const char* name;
        const char* caption;
        int left, top, width, height;
        void (MainWindow::*slot)();
    };
    const ButtonRow buttons[] = {
        {"Command1", "Input Image File Hrp, Cal, Sst, Ndv", 3000, 240, 1455, 615,
         &MainWindow::Command1Click},
        {"Command9", "Enter Output Image File", 4680, 240, 1455, 615, &MainWindow::Command9Click},
        {"Command4", "Enter Output Dat File", 3000, 960, 1455, 615, &MainWindow::Command4Click},
        {"Command5", "Information", 4680, 960, 1455, 495, &MainWindow::Command5Click},
        {"Command2", "Display header, Print Data", 3000, 1680, 1455, 615,
         &MainWindow::Command2Click},
        {"Command7", "Output (CAL, SST, NDV) --> Qlk ", 4680, 1560, 1455, 615,
         &MainWindow::Command7Click},
        {"Command6", "Output from (Hrp) --> Qlk", 3000, 2400, 1455, 615,
         &MainWindow::Command6Click},
        {"Command8", "Output (Hrp) --> Hrp Less Lines", 3000, 3120, 1455, 615,
         &MainWindow::Command8Click},
        {"Command10", "Help", 3120, 4440, 1215, 375, &MainWindow::Command10Click},
        {"Command3", "End", 3120, 4920, 1215, 495, &MainWindow::Command3Click},
    };
    for (const ButtonRow& row : buttons) {
        QPushButton* button = AddButton(row.name, QString::fromUtf8(row.caption),
                                        TwipsRect(row.left, row.top, row.width, row.height));
        connect(button, &QPushButton::clicked, this, row.slot);
    }

    picture1_ = new PictureArea(frame1_);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    const QRect pictureRect = TwipsRect(3120, 3960, 1215, 375);
    picture1_->move(pictureRect.topLeft());
    picture1_->SetAreaSize(pictureRect.size());

    struct OptionRow {
        const char* caption;
        int top, width;
    };
    const OptionRow options[] = {
        {"Band - 1", 2280, 975}, {"Band - 2", 2760, 975}, {"Band - 3", 3240, 1095},
        {"Band -4", 3720, 975},  {"Band - 5", 4200, 975}, {"single Band", 4680, 1215},
    };
    auto* bands = new QButtonGroup(this);
    bands->setExclusive(true);
    for (std::size_t i = 0; i < option1_.size(); ++i) {
        auto* option = new QRadioButton(QString::fromUtf8(options[i].caption), frame1_);
        option->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        option->setGeometry(TwipsRect(4680, options[i].top, options[i].width, 375));
        bands->addButton(option, static_cast<int>(i));
        option1_[i] = option;
    }
    option1_[5]->setChecked(true);
    FitCaptions(std::vector<QRadioButton*>(option1_.begin(), option1_.end()),
                style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                    style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing));

    struct BoxRow {
        int label;
        const char* caption;
        int array;  // 1 for Text1, 2 for Text2
        int index;
        int top;
        const char* text;
    };
    const BoxRow boxes[] = {
        {8, "Title", 1, 0, 360, ""},        {9, "Sat Id", 1, 1, 720, ""},
        {2, "Month", 1, 2, 1080, ""},       {3, "Day", 1, 3, 1440, ""},
        {4, "Year", 1, 4, 1800, ""},        {5, "Hour", 1, 5, 2160, ""},
        {6, "Minute", 1, 6, 2520, ""},      {7, "Secs", 1, 7, 2880, ""},
        {10, "Time Diff", 1, 11, 3240, ""}, {0, "Rows", 1, 12, 3600, ""},
        {1, "Cols", 1, 13, 3960, ""},       {14, "Line #", 1, 14, 4320, "1"},
        {15, "Rows Qlk", 2, 0, 4680, ""},   {11, "SamplInter", 2, 1, 5040, "5"},
    };
    for (const BoxRow& row : boxes) {
        auto* label = new QLabel(QString::fromUtf8(row.caption), frame1_);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(row.label));
        label->setGeometry(TwipsRect(240, row.top, 855, 375));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label1_[row.label] = label;

        auto* box = new QLineEdit(QString::fromUtf8(row.text), frame1_);
        box->setObjectName(QStringLiteral("Text%1(%2)").arg(row.array).arg(row.index));
        box->setGeometry(TwipsRect(1080, row.top, 1815, 375));
        if (row.array == 1) {
            text1_[row.index] = box;
        } else {
            text2_[row.index] = box;
        }
    }

    std::vector<QLabel*> captions;
    std::copy_if(label1_.begin(), label1_.end(), std::back_inserter(captions),
                 [](QLabel* label) { return label != nullptr; });
    FitCaptions(captions, 0);

    const std::array<QLabel**, 3> pathLabels{&label2_, &label3_, &label4_};
    for (std::size_t i = 0; i < pathLabels.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 2));
        label->setGeometry(TwipsRect(120, 5880 + 360 * static_cast<int>(i), 6375, 255));
        *pathLabels[i] = label;
    }
}

std::string MainWindow::DecimalSeparator() const {
    return ToStdString(QLocale().decimalPoint());
}

void MainWindow::ShowHeader() {
    const HeaderDisplay& shown = state_.Display;
    const std::pair<int, const std::string*> boxes[] = {
        {0, &shown.Title},     {1, &shown.SatId}, {2, &shown.Month},  {3, &shown.Day},
        {4, &shown.Year},      {5, &shown.Hour},  {6, &shown.Minute}, {7, &shown.Secs},
        {11, &shown.TimeDiff}, {12, &shown.Rows}, {13, &shown.Cols},
    };
    for (const auto& [index, text] : boxes) {
        text1_[index]->setText(ToQString(*text));
    }
}

void MainWindow::Command1Click() {
    if (ChooseInputFile(state_, *dialogs_)) {
        label2_->setText(ToQString(state_.InputPath));
    }
}

void MainWindow::Command2Click() {
    if (DisplayHeader(state_, ToStdString(text1_[14]->text()), *dialogs_, DecimalSeparator())) {
        ShowHeader();
    }
}

void MainWindow::Command3Click() {
    state_.Input.Close();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void MainWindow::Command4Click() {
    if (ChooseCalibrationFile(state_, *dialogs_)) {
        label3_->setText(ToQString(state_.DatPath));
    }
}

void MainWindow::Command5Click() {
    dialogs_->Message(kNotice);
}

void MainWindow::Command6Click() {
    const bool written =
        HrpQuicklook(state_, ToStdString(text2_[1]->text()), ToStdString(text1_[14]->text()),
                     SelectedBand(option1_), *dialogs_, *picture1_, DecimalSeparator());
    // The header read shows its line even when the quicklook is then refused.
    ShowHeader();
    if (written) {
        text2_[0]->setText(QString::number(state_.QuicklookRows));
    }
}

void MainWindow::Command7Click() {
    if (ProductQuicklook(state_, ToStdString(text2_[1]->text()), SelectedBand(option1_), *dialogs_,
                         *picture1_)) {
        text2_[0]->setText(QString::number(state_.QuicklookRows));
    }
}

void MainWindow::Command8Click() {
    CutLineRange(state_, ToStdString(text1_[14]->text()), *dialogs_, *picture1_,
                 DecimalSeparator());
    // The boxes show the header as read; its update goes only into the new file.
    ShowHeader();
}

void MainWindow::Command9Click() {
    if (ChooseOutputFile(state_, *dialogs_)) {
        label4_->setText(ToQString(state_.OutputPath));
    }
}

void MainWindow::Command10Click() {
    HelpPanel(form2_, kHelpLayout, kHelpText);
}

}  // namespace qiv::swathly
