#include <QApplication>

#include "hrpt_tool/ui/main_window.h"
#include "common/ui/startup_report.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    qiv::swathly::MainWindow form1;
    form1.show();
    qiv::ReportStartupWhenShown(form1);
    return QApplication::exec();
}
