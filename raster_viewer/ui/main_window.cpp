#include "raster_viewer/ui/main_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "raster_viewer/core/dimensions.h"
#include "raster_viewer/ui/display_window.h"
#include "raster_viewer/core/file_commands.h"
#include "common/ui/fit_captions.h"
#include "common/ui/help_window.h"
#include "raster_viewer/core/histogram_pass.h"
#include "raster_viewer/core/histogram_plot.h"
#include "raster_viewer/core/node_entry.h"
#include "raster_viewer/core/paint_image.h"
#include "common/ui/picture_area.h"
#include "common/ui/qt_dialogs.h"
#include "raster_viewer/core/rastel_help.h"
#include "raster_viewer/core/rastel_texts.h"
#include "raster_viewer/core/subset.h"
#include "common/ui/text.h"
#include "common/ui/twips.h"

namespace qiv::rastel {
namespace {

template <class Widget>
Widget* Place(Widget* widget, const char* name, QRect twipsPlace) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twipsPlace);
    return widget;
}

}  // namespace

MainWindow::MainWindow(qiv::Dialogs* dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), quit_([] { QCoreApplication::quit(); }) {
    if (dialogs_ == nullptr) {
        ownedDialogs_ = std::make_unique<qiv::QtDialogs>(this);
        dialogs_ = ownedDialogs_.get();
    }
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Επεξεργασία Εικόνας "));
    BuildControls();
    FitLayoutToCaptions(*centralWidget());
    BuildMenus();
    StartUp();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(TwipsRect(0, 0, 6300, 4980).size());
    setCentralWidget(client);

    frame1_ = Place(new QGroupBox(QStringLiteral("Ενέργειες"), client), "Frame1",
                    TwipsRect(120, 480, 5895, 4095));

    // Places are relative to the frame, as laid out at design time.
    label1_ = Place(new QLabel(ToQString(kNoFileCaption), frame1_), "Label1",
                    TwipsRect(240, 360, 5535, 255));
    command3_ = Place(new QPushButton(QStringLiteral("Εικόνα"), frame1_), "Command3",
                      TwipsRect(240, 840, 1575, 375));
    command11_ = Place(new QPushButton(QStringLiteral("Πληροφορίες/άδεια/περιορισμοί"), frame1_),
                       "Command11", TwipsRect(2880, 840, 2895, 375));
    label3_ = Place(new QLabel(QStringLiteral("   Όρθια"), frame1_), "Label3",
                    TwipsRect(1800, 960, 1935, 255));
    command4_ = Place(new QPushButton(QStringLiteral("Subset"), frame1_), "Command4",
                      TwipsRect(240, 1440, 1575, 375));
    label4_ = Place(new QLabel(QStringLiteral("   None"), frame1_), "Label4",
                    TwipsRect(1800, 1440, 3615, 255));
    picture1_ = Place(new qiv::PictureArea(frame1_), "Picture1", TwipsRect(4440, 1440, 1215, 375));
    picture1_->SetAreaSize(picture1_->size());
    command2_ = Place(new QPushButton(QStringLiteral("Βάλε Γραμμές, Στήλες"), frame1_), "Command2",
                      TwipsRect(240, 2040, 2295, 495));
    label2_ = Place(new QLabel(QStringLiteral("  512 x 512"), frame1_), "Label2",
                    TwipsRect(2520, 2160, 1575, 255));
    command5_ = Place(new QPushButton(QStringLiteral("Διάβασε Header"), frame1_), "Command5",
                      TwipsRect(4440, 2160, 1215, 615));
    option1_ = Place(new QRadioButton(QStringLiteral("Ασπρόμαυρη Εικόνα"), frame1_), "Option1",
                     TwipsRect(240, 2760, 1935, 255));
    option2_ =
        Place(new QRadioButton(QStringLiteral("Έγχρωμη Συνεχής Διαστρωμάτωση Πυκνότητας"), frame1_),
              "Option2", TwipsRect(240, 3120, 3975, 255));
    option3_ =
        Place(new QRadioButton(QStringLiteral("Έγχρωμη Τυχαία Διαστρωμάτωση Πυκνότητας"), frame1_),
              "Option3", TwipsRect(240, 3480, 3975, 255));
    command1_ = Place(new QPushButton(QStringLiteral("Ξεκίνησε"), frame1_), "Command1",
                      TwipsRect(4440, 3000, 1215, 735));

    // The window owns the group, which keeps the three options exclusive.
    auto* optionGroup = new QButtonGroup(this);
    optionGroup->setExclusive(true);
    optionGroup->addButton(option1_, 1);
    optionGroup->addButton(option2_, 2);
    optionGroup->addButton(option3_, 3);
    option1_->setChecked(true);

    // Tab order of the layout; the frame, the labels and the picture area take no focus.
    QWidget::setTabOrder(command1_, command11_);
    QWidget::setTabOrder(command11_, command3_);
    QWidget::setTabOrder(command3_, command4_);
    QWidget::setTabOrder(command4_, command2_);
    QWidget::setTabOrder(command2_, option1_);
    QWidget::setTabOrder(option1_, option2_);
    QWidget::setTabOrder(option2_, option3_);
    QWidget::setTabOrder(option3_, command5_);

    connect(command1_, &QPushButton::clicked, this, &MainWindow::OnCommand1Clicked);
    connect(command2_, &QPushButton::clicked, this, &MainWindow::OnCommand2Clicked);
    connect(command3_, &QPushButton::clicked, this, &MainWindow::OnCommand3Clicked);
    connect(command4_, &QPushButton::clicked, this, &MainWindow::OnCommand4Clicked);
    connect(command5_, &QPushButton::clicked, this, &MainWindow::OnCommand5Clicked);
    connect(command11_, &QPushButton::clicked, this, &MainWindow::OnCommand11Clicked);
}

void MainWindow::BuildMenus() {
    const auto addEntry = [this](QMenu* menu, const char* name, const QString& caption,
                                 void (MainWindow::*slot)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
    };

    QMenu* fl = menuBar()->addMenu(QStringLiteral("Αρχείο"));
    fl->setObjectName(QStringLiteral("Fl"));
    addEntry(fl, "Fl1", QStringLiteral("Άνοιξε"), &MainWindow::OnFl1Triggered);
    addEntry(fl, "Fl2", QStringLiteral("Κλείσε"), &MainWindow::OnFl2Triggered);
    addEntry(fl, "Fl3", QStringLiteral("Έξοδος"), &MainWindow::OnFl3Triggered);

    QMenu* hs = menuBar()->addMenu(QStringLiteral("Ιστόγραμμα"));
    hs->setObjectName(QStringLiteral("Hs"));
    addEntry(hs, "Hs1", QStringLiteral("Κανονικό"), &MainWindow::OnHs1Triggered);
    addEntry(hs, "Hs2", QStringLiteral("Εξισωμένο"), &MainWindow::OnHs2Triggered);
    addEntry(hs, "Td1", QStringLiteral("Βάλε τιμές Γραμμικού τεντώματος"),
             &MainWindow::OnTd1Triggered);
    addEntry(hs, "Hs3", QStringLiteral("Γραμμικό τέντωμα"), &MainWindow::OnHs3Triggered);

    QMenu* px = menuBar()->addMenu(QStringLiteral("Εικόνα"));
    px->setObjectName(QStringLiteral("Px"));
    addEntry(px, "Px1", QStringLiteral("Κανονική"), &MainWindow::OnPx1Triggered);
    addEntry(px, "Px2", QStringLiteral("Εξισωμένη"), &MainWindow::OnPx2Triggered);
    addEntry(px, "Px3", QStringLiteral("Γραμμικά τεντωμένη"), &MainWindow::OnPx3Triggered);
    addEntry(px, "HeadCr", QStringLiteral("Δημιούργησε Header"), &MainWindow::OnHeadCrTriggered);

    // A menu-bar entry without a menu: choosing the title itself runs the action.
    QAction* helpIp = menuBar()->addAction(QStringLiteral("Βοήθεια"));
    helpIp->setObjectName(QStringLiteral("HelpIp"));
    connect(helpIp, &QAction::triggered, this, &MainWindow::OnHelpIpTriggered);
}

void MainWindow::StartUp() {
    const QSize screen = ScreenSizeTwips();
    const PictureSizeTwips picture = rastel::StartUp(state_, screen.height(), screen.width());
    if (!form3_) {
        form3_ = std::make_unique<DisplayWindow>(dialogs_);
        connect(form3_.get(), &DisplayWindow::returned, this, &MainWindow::OnForm3Returned);
    }
    form3_->SetPictureSizeTwips(picture.Height, picture.Width);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window through its frame ends the program as "Έξοδος" does, so that a
    // shown display window is not left behind without its main window.
    event->accept();
    quit_();
}

void MainWindow::OnFl1Triggered() {
    if (const std::optional<std::string> caption = OpenImage(state_, *dialogs_)) {
        label1_->setText(ToQString(*caption));
    }
}

void MainWindow::OnFl2Triggered() {
    label1_->setText(ToQString(CloseImage(state_)));
}

void MainWindow::OnFl3Triggered() {
    // No image file stays open between commands, so there is nothing to close first.
    form3_->hide();
    quit_();
}

void MainWindow::OnHs1Triggered() {
    ShowOutcome(PlotFromMenu(state_, LevelMapping::Normal, *form3_), *dialogs_);
}

void MainWindow::OnHs2Triggered() {
    ShowOutcome(PlotFromMenu(state_, LevelMapping::Equalised, *form3_), *dialogs_);
}

void MainWindow::OnTd1Triggered() {
    ShowOutcome(NodeEntry(state_, *dialogs_), *dialogs_);
}

void MainWindow::OnHs3Triggered() {
    ShowOutcome(PlotFromMenu(state_, LevelMapping::Stretched, *form3_), *dialogs_);
}

void MainWindow::OnPx1Triggered() {
    Paint(LevelMapping::Normal);
}

void MainWindow::OnPx2Triggered() {
    Paint(LevelMapping::Equalised);
}

void MainWindow::OnPx3Triggered() {
    Paint(LevelMapping::Stretched);
}

ColourScheme MainWindow::SelectedScheme() const {
    return option3_->isChecked()   ? ColourScheme::RandomSlicing
           : option2_->isChecked() ? ColourScheme::ContinuousSlicing
                                   : ColourScheme::Grey;
}

void MainWindow::Paint(LevelMapping mode) {
    ShowOutcome(PaintFromMenu(state_, mode, SelectedScheme(), *form3_), *dialogs_);
}

void MainWindow::OnHeadCrTriggered() {
    ShowOutcome(WriteHeader(state_), *dialogs_);
}

void MainWindow::OnHelpIpTriggered() {
    HelpPanel(form2_, kRastelHelpLayout, kRastelHelpText);
}

void MainWindow::OnCommand1Clicked() {
    ShowOutcome(rastel::Start(state_, *picture1_, form3_->Picture()), *dialogs_);
}

void MainWindow::OnCommand2Clicked() {
    label2_->setText(ToQString(SetDimensions(state_, *dialogs_)));
}

void MainWindow::OnCommand3Clicked() {
    label3_->setText(ToQString(ToggleOrientation(state_)));
}

void MainWindow::OnCommand4Clicked() {
    ShowOutcome(SubsetRequest(state_, *dialogs_, *this, *picture1_), *dialogs_);
}

void MainWindow::ShowSubsetPath(std::string_view path) {
    label4_->setText(ToQString(path));
}

void MainWindow::OnCommand5Clicked() {
    if (ShowOutcome(ReadHeader(state_), *dialogs_)) {
        label2_->setText(ToQString(DimensionCaption(state_)));
    }
}

void MainWindow::OnCommand11Clicked() {
    dialogs_->Message(kRastelNotice);
}

void MainWindow::OnForm3Returned() {
    label1_->setText(ToQString(state_.ImagePath));
}

}  // namespace qiv::rastel
