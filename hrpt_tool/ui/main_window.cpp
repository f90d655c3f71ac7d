#include "hrpt_tool/ui/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>
#include <iterator>
#include <vector>

#include "common/ui/fit_captions.h"
#include "common/ui/help_window.h"
#include "common/ui/picture_area.h"
#include "common/ui/qt_dialogs.h"
#include "common/ui/text.h"
#include "common/ui/twips.h"
#include "hrpt_tool/core/file_choice.h"
#include "hrpt_tool/core/help_text.h"
#include "hrpt_tool/core/line_cut.h"
#include "hrpt_tool/core/line_header.h"
#include "hrpt_tool/core/quicklook.h"
#include "hrpt_tool/core/swathly_texts.h"
#include "hrpt_tool/ui/wrap_button.h"

namespace qiv::swathly {
namespace {

constexpr std::string_view kNotice =
    "Swathly_Qiv\n\n"
    "Works on NOAA AVHRR data: HRPT line files (HRP) and the CAL, SST and NDV products made "
    "from them. It shows the pass header of a line, prints the calibration words of that line "
    "to an ASCII file, writes 8-bit quicklooks that Rastel_Qiv opens, and cuts a range of lines "
    "into a shorter HRP file.\n\n"
    "A raw HRPT recording (the frames as a decoder writes them, with no pass header) chosen as "
    "the input is offered for import into a new HRP file first.\n\n"
    "The input file is chosen once; to work on another one, start the program again. "
    "Help explains every button.";

}  // namespace

MainWindow::MainWindow(qiv::Dialogs* dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), quit_([] { QCoreApplication::quit(); }) {
    if (dialogs_ == nullptr) {
        ownedDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs_ = ownedDialogs_.get();
    }
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("HRP File Information"));
    BuildControls();
}

MainWindow::~MainWindow() = default;

QPushButton* MainWindow::AddButton(const char* name, const QString& caption, QRect twips) {
    auto* button = new WrapButton(caption, frame1_);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(twips);
    return button;
}

void MainWindow::BuildControls() {
    // Captions written for a small sans-serif face; the twip geometry holds them at 8 points.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    setFixedSize(TwipsToPixels(6885), TwipsToPixels(6975));

    frame1_ = new QGroupBox(QStringLiteral("Information"), this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(TwipsRect(240, 120, 6375, 5655));

    struct ButtonRow {
        const char* Name;
        const char* Caption;
        int Left, Top, Width, Height;
        void (MainWindow::*Slot)();
    };
    const ButtonRow buttons[] = {
        {"Command1", "Input Image File Hrp, Cal, Sst, Ndv", 3000, 240, 1455, 615,
         &MainWindow::OnCommand1Clicked},
        {"Command9", "Enter Output Image File", 4680, 240, 1455, 615,
         &MainWindow::OnCommand9Clicked},
        {"Command4", "Enter Output Dat File", 3000, 960, 1455, 615, &MainWindow::OnCommand4Clicked},
        {"Command5", "Information", 4680, 960, 1455, 495, &MainWindow::OnCommand5Clicked},
        {"Command2", "Display header, Print Data", 3000, 1680, 1455, 615,
         &MainWindow::OnCommand2Clicked},
        {"Command7", "Output (CAL, SST, NDV) --> Qlk ", 4680, 1560, 1455, 615,
         &MainWindow::OnCommand7Clicked},
        {"Command6", "Output from (Hrp) --> Qlk", 3000, 2400, 1455, 615,
         &MainWindow::OnCommand6Clicked},
        {"Command8", "Output (Hrp) --> Hrp Less Lines", 3000, 3120, 1455, 615,
         &MainWindow::OnCommand8Clicked},
        {"Command10", "Help", 3120, 4440, 1215, 375, &MainWindow::OnCommand10Clicked},
        {"Command3", "End", 3120, 4920, 1215, 495, &MainWindow::OnCommand3Clicked},
    };
    for (const ButtonRow& row : buttons) {
        QPushButton* button = AddButton(row.Name, QString::fromUtf8(row.Caption),
                                        TwipsRect(row.Left, row.Top, row.Width, row.Height));
        connect(button, &QPushButton::clicked, this, row.Slot);
    }

    picture1_ = new PictureArea(frame1_);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    const QRect pictureRect = TwipsRect(3120, 3960, 1215, 375);
    picture1_->move(pictureRect.topLeft());
    picture1_->SetAreaSize(pictureRect.size());

    struct OptionRow {
        const char* Caption;
        int Top, Width;
    };
    const OptionRow options[] = {
        {"Band - 1", 2280, 975}, {"Band - 2", 2760, 975}, {"Band - 3", 3240, 1095},
        {"Band -4", 3720, 975},  {"Band - 5", 4200, 975}, {"single Band", 4680, 1215},
    };
    auto* bands = new QButtonGroup(this);
    bands->setExclusive(true);
    for (std::size_t i = 0; i < option1_.size(); ++i) {
        auto* option = new QRadioButton(QString::fromUtf8(options[i].Caption), frame1_);
        option->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        option->setGeometry(TwipsRect(4680, options[i].Top, options[i].Width, 375));
        bands->addButton(option, static_cast<int>(i));
        option1_[i] = option;
    }
    option1_[5]->setChecked(true);
    FitCaptionsToPlaces(std::vector<QRadioButton*>(option1_.begin(), option1_.end()),
                        style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                            style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing));

    // The boxes keep the layout's names (Text1(14) is "Line #") as their objectName.
    struct BoxRow {
        QLineEdit** Box;
        int Label;
        const char* Caption;
        int Array;  // 1 for Text1, 2 for Text2
        int Index;
        int Top;
        const char* Text;
    };
    const BoxRow boxes[] = {
        {&titleBox_, 8, "Title", 1, 0, 360, ""},
        {&satIdBox_, 9, "Sat Id", 1, 1, 720, ""},
        {&monthBox_, 2, "Month", 1, 2, 1080, ""},
        {&dayBox_, 3, "Day", 1, 3, 1440, ""},
        {&yearBox_, 4, "Year", 1, 4, 1800, ""},
        {&hourBox_, 5, "Hour", 1, 5, 2160, ""},
        {&minuteBox_, 6, "Minute", 1, 6, 2520, ""},
        {&secsBox_, 7, "Secs", 1, 7, 2880, ""},
        {&timeDiffBox_, 10, "Time Diff", 1, 11, 3240, ""},
        {&rowsBox_, 0, "Rows", 1, 12, 3600, ""},
        {&colsBox_, 1, "Cols", 1, 13, 3960, ""},
        {&lineNumberBox_, 14, "Line #", 1, 14, 4320, "1"},
        {&quicklookRowsBox_, 15, "Rows Qlk", 2, 0, 4680, ""},
        {&samplingIntervalBox_, 11, "SamplInter", 2, 1, 5040, "5"},
    };
    for (const BoxRow& row : boxes) {
        auto* label = new QLabel(QString::fromUtf8(row.Caption), frame1_);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(row.Label));
        label->setGeometry(TwipsRect(240, row.Top, 855, 375));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label1_[row.Label] = label;

        auto* box = new QLineEdit(QString::fromUtf8(row.Text), frame1_);
        box->setObjectName(QStringLiteral("Text%1(%2)").arg(row.Array).arg(row.Index));
        box->setGeometry(TwipsRect(1080, row.Top, 1815, 375));
        *row.Box = box;
    }

    std::vector<QLabel*> captions;
    std::copy_if(label1_.begin(), label1_.end(), std::back_inserter(captions),
                 [](QLabel* label) { return label != nullptr; });
    FitCaptionsToPlaces(captions, 0);

    const std::array<QLabel**, 3> pathLabels{&label2_, &label3_, &label4_};
    for (std::size_t i = 0; i < pathLabels.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 2));
        label->setGeometry(TwipsRect(120, 5880 + 360 * static_cast<int>(i), 6375, 255));
        *pathLabels[i] = label;
    }
}

BandButton MainWindow::SelectedBand() const {
    // The band option buttons are examined in index order; the first selected one decides.
    constexpr BandButton kByIndex[] = {BandButton::Band1, BandButton::Band2,
                                       BandButton::Band3, BandButton::Band4,
                                       BandButton::Band5, BandButton::SingleBand};
    for (std::size_t i = 0; i < option1_.size(); ++i) {
        if (option1_[i]->isChecked()) {
            return kByIndex[i];
        }
    }
    return BandButton::SingleBand;
}

std::string MainWindow::DecimalSeparator() const {
    return ToStdString(QLocale().decimalPoint());
}

void MainWindow::ShowHeaderTexts(const HeaderTexts& texts) {
    const std::pair<QLineEdit*, const std::string*> boxes[] = {
        {titleBox_, &texts.Title},   {satIdBox_, &texts.SatId}, {monthBox_, &texts.Month},
        {dayBox_, &texts.Day},       {yearBox_, &texts.Year},   {hourBox_, &texts.Hour},
        {minuteBox_, &texts.Minute}, {secsBox_, &texts.Secs},   {timeDiffBox_, &texts.TimeDiff},
        {rowsBox_, &texts.Rows},     {colsBox_, &texts.Cols},
    };
    for (const auto& [box, text] : boxes) {
        box->setText(ToQString(*text));
    }
}

void MainWindow::ShowQuicklookRows() {
    quicklookRowsBox_->setText(QString::number(state_.QuicklookRows));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing Form1 through its frame ends the program as "End" does, also while the help
    // window, a top-level window of its own, is shown.
    event->accept();
    quit_();
}

void MainWindow::OnCommand1Clicked() {
    if (const std::optional<std::string> caption = ChooseInputFile(state_, *dialogs_, *picture1_)) {
        label2_->setText(ToQString(*caption));
    }
}

void MainWindow::OnCommand2Clicked() {
    ShowOutcome(
        DisplayHeaderAndPrintData(state_, ToStdString(lineNumberBox_->text()), *dialogs_, *this),
        *dialogs_);
}

void MainWindow::OnCommand3Clicked() {
    quit_();
}

void MainWindow::OnCommand4Clicked() {
    if (const std::optional<std::string> caption = ChooseCalibrationFile(state_, *dialogs_)) {
        label3_->setText(ToQString(*caption));
    }
}

void MainWindow::OnCommand5Clicked() {
    dialogs_->Message(kNotice);
}

void MainWindow::OnCommand6Clicked() {
    if (ShowOutcome(HrpQuicklook(state_, ToStdString(samplingIntervalBox_->text()),
                                 ToStdString(lineNumberBox_->text()), SelectedBand(), *dialogs_,
                                 *this, *picture1_),
                    *dialogs_)) {
        ShowQuicklookRows();
    }
}

void MainWindow::OnCommand7Clicked() {
    if (ShowOutcome(ProductQuicklook(state_, ToStdString(samplingIntervalBox_->text()),
                                     SelectedBand(), *picture1_),
                    *dialogs_)) {
        ShowQuicklookRows();
    }
}

void MainWindow::OnCommand8Clicked() {
    ShowOutcome(
        CutLineRange(state_, ToStdString(lineNumberBox_->text()), *dialogs_, *this, *picture1_),
        *dialogs_);
}

void MainWindow::OnCommand9Clicked() {
    if (const std::optional<std::string> caption = ChooseOutputFile(state_, *dialogs_)) {
        label4_->setText(ToQString(*caption));
    }
}

void MainWindow::OnCommand10Clicked() {
    HelpPanel(form2_, kHelpLayout, kHelpText);
}

}  // namespace qiv::swathly
