#pragma once
// The window of one parameter slot ("para<k>"): slider, value field, the two bound fields and the
// timer symbol. It mirrors the slot's fields in the shared state and hands every user action to
// the parameter logic; it keeps no value of its own.

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QScrollBar;

namespace core {
struct State;
}

namespace params {

class ParamWindow : public QWidget {
public:
    ParamWindow(core::State& state, int slot, QWidget* parent = nullptr);

    int slot() const { return slot_; }

    // Shows the slot as the state has it: caption, field texts, slider position, the locked
    // bound fields, the value field's colour and the timer symbol.
    void showSlot();

    // Double-click on a bound field: the other parameter windows are to be stacked below this one.
    std::function<void(int slot)> stackOthers;
    // The user closed the window.
    std::function<void(int slot)> closed;

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    int tpp() const;
    void layoutControls();
    void sliderMoved(int position);
    void takeValue();
    void takeBounds();
    void timerSymbolPressed(Qt::MouseButton button);

    core::State& state_;
    const int slot_;
    QScrollBar* slider_;
    QLineEdit* value_;
    QLineEdit* lower_;
    QLineEdit* upper_;
    QLabel* timerSymbol_;
};

} // namespace params
