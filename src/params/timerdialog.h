#pragma once
// The timer dialog ("Dialog") of one parameter slot: the kind of change and the step per tick.
// It only shows what the timer logic hands it and gives OK back to that logic.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace core {
struct State;
}

namespace params {

class TimerDialog : public QDialog {
public:
    explicit TimerDialog(core::State& state, QWidget* parent = nullptr);

    // Fills the dialog for slot k: caption, the slot's mode and step.
    void init(int k);
    int slot() const { return slot_; }

    // Puts the dialog's left edge at the right edge of the given window (or sub-window) and its
    // top at that window's top.
    void placeBeside(const QWidget* window);

    // Opens the dialog of slot k beside the parameter window, modal; true when OK took it.
    static bool run(core::State& state, int k, QWidget* paramWindow);

    void accept() override;

private:
    core::State& state_;
    int slot_ = -1;
    QComboBox* mode_;
    QLineEdit* step_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

} // namespace params
