#include "core/state.h"
#include "mainwin/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kurvatur"));
    core::State state;
    mainwin::MainWindow window(state);
    window.show();
    return QApplication::exec();
}
