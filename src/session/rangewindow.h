#pragma once
// The window "Dargestellter Bereich" (interform): a row of two bound fields per range (x, y and
// the curve parameter t), the bounds in use beside them, a standard button per row, the 1:1
// scaling and a status line. It reads its fields, hands them to the range logic and shows what
// that logic answers.

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace core {
struct State;
}

namespace session {

struct RangeStatus;

class RangeWindow : public QWidget {
public:
    // Takes over the state's hooks that wait for this window.
    explicit RangeWindow(core::State& state, QWidget* parent = nullptr);

    // The bounds in use into the labels beside the fields.
    void updateall();
    // "&Übernehmen": applies the six fields.
    void vonbis();
    // A standard button: the standard range of that row.
    void standard(int row);
    // "Standardbereich verwenden": the standard bounds into all six fields, then applied.
    void standardAll();
    // The rows read again, as a parameter they use moved.
    void reread();
    // 1:1 scaling; axis 1 fits the y range, axis 2 the x range.
    void einszueins(int axis);

private:
    void showStatus(const RangeStatus& status);
    void fieldsToState();
    void stateToFields();

    core::State& state_;
    std::array<std::array<QLineEdit*, 2>, 3> fields_{};
    // The field texts as last taken from or given to the state: a field changes only when the
    // state brings another text, so that a navigation step keeps what the user is typing.
    std::array<std::array<QString, 2>, 3> synced_{};
    std::array<std::array<QLabel*, 2>, 3> shown_{};
    std::array<QPushButton*, 3> standard_{};
    QLabel* status_;
};

} // namespace session
