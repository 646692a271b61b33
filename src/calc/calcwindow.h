#pragma once
// The window "Taschenrechner" (minicalc): a term field, the result beside it, the number of
// decimal places, and the buttons to compute, clear and close. It reads its fields, hands them
// to the calculator logic and shows what that logic answers.

#include <QWidget>

class QLabel;
class QLineEdit;

namespace core {
struct State;
}

namespace calc {

class CalcWindow : public QWidget {
public:
    explicit CalcWindow(core::State& state, QWidget* parent = nullptr);

    // Computes the term and shows the result or the error.
    void docalc();
    // Takes the places typed into the places field, then computes again.
    void checkround();
    // Shows the places in use, as on opening.
    void showPlaces();
    // The focus into the term field, ready for typing.
    void focusTerm();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    core::State& state_;
    QLineEdit* term_;   // Text1
    QLabel* result_;    // Label1
    QLineEdit* places_; // Text2
    bool checking_ = false;
};

} // namespace calc
