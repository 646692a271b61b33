#include "mainwin/mainwindow.h"

#include "core/state.h"

#include <QMdiArea>

namespace mainwin {

MainWindow::MainWindow(core::State& state, QWidget* parent)
    : QMainWindow(parent), state_(state), area_(new QMdiArea(this)) {
    setObjectName(QStringLiteral("mother"));
    setWindowTitle(
        QStringLiteral("Kurvatur 2 - Funktionsgraphen und Kurven mit dynamischen Parametern"));
    setCentralWidget(area_);
    resize(1200, 800);
}

} // namespace mainwin
