#include <QApplication>

#include "main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    qiv::swathly::MainWindow window;
    window.show();
    return QApplication::exec();
}
