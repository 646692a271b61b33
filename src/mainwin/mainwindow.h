#pragma once

#include <QMainWindow>

class QMdiArea;

namespace core {
struct State;
}

namespace mainwin {

// The main window ("mother"): holds the child windows in an MDI area.
class MainWindow : public QMainWindow {
public:
    explicit MainWindow(core::State& state, QWidget* parent = nullptr);

private:
    core::State& state_;
    QMdiArea* area_;
};

} // namespace mainwin
