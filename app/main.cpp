#include "core/state.h"
#include "mainwin/mainwindow.h"
#include "mainwin/messagebox.h"
#include "mainwin/render.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[]) {
    // Rendering from the command line needs no display and opens no window.
    if (mainwin::wantsRender(argc, argv)) return mainwin::renderMain(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kurvatur"));
    core::State state;
    state.messages = std::make_shared<mainwin::MessageBoxService>();
    mainwin::MainWindow window(state);
    window.show();
    return QApplication::exec();
}
