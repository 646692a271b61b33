#include "core/state.h"
#include "mainwin/commandline.h"
#include "mainwin/filedialogs.h"
#include "mainwin/mainwindow.h"
#include "mainwin/messagebox.h"
#include "mainwin/programsetup.h"
#include "mainwin/render.h"

#include <QApplication>
#include <QTextStream>

#include <memory>

namespace {

int runWindow(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kurvatur"));
    QApplication::setWindowIcon(mainwin::programIcon());
    // The desktop finds the running program's icon and entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.kurvatur.Kurvatur"));
    mainwin::installQtGerman(app);
    core::State state;
    state.messages = std::make_shared<mainwin::MessageBoxService>();
    state.fileDialogs = std::make_shared<mainwin::FileDialogBoxes>();
    state.colourDialogs = std::make_shared<mainwin::ColourDialogBox>();
    mainwin::MainWindow window(state);
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    // Read before any GUI application exists: help, version, the collection commands and wrong
    // arguments need no display, and rendering brings its own application without one.
    const mainwin::Start start = mainwin::startOf(mainwin::argumentsOf(argc, argv));
    switch (start.kind) {
    case mainwin::StartKind::Window:
        return runWindow(argc, argv);
    case mainwin::StartKind::Render:
        return mainwin::renderMain(argc, argv);
    default: {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return mainwin::answerWithoutWindow(start, out, err);
    }
    }
}
