#include <QApplication>

#include "main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    qiv::rastel::MainWindow form1;
    form1.show();
    return QApplication::exec();
}
