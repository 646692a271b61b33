#pragma once
// The window "Punkte": the list of additional points with a colour button beside each visible
// row, the input line, the sizes of the points and of their names, and whether points and names
// are shown. The list is the master while the window is used; every change goes into the
// state's list form of the points and is applied.

#include "objects/listwindow.h"
#include "objects/points.h"

#include <QWidget>

#include <array>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace core {
struct State;
}

namespace objects {

class PointWindow : public QWidget {
public:
    static constexpr int rows = listRows;

    explicit PointWindow(core::State& state, QWidget* parent = nullptr);

    // The list from the state's list form (a collection entry was shown).
    void makeliste();
    // Takes the input line (Enter in it, "&Übernehmen").
    void taste();
    // Deletes the selected points.
    void remove();
    // The colour of the point in visible row r from the colour dialog.
    void chooseColour(int r);
    // The radius and the name font from their fields; values outside are ignored.
    void chsize();
    // The two check boxes from the state (the main menu set them).
    void showDisplay();
    // Keypad on the graph: the selected point's name by dx right and dy up; false when the
    // window is hidden or no point is selected. The caller redraws.
    bool moveSelectedName(int dx, int dy);

    QListWidget* list() const { return list_; }
    QLineEdit* input() const { return input_; }
    QLabel* status() const { return status_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void nimms();
    void showList(int current = -1);
    void activate();

    core::State& state_;
    std::vector<Point> points_;
    QListWidget* list_;
    QLineEdit* input_;
    QLineEdit* radius_;
    QLineEdit* fontSize_;
    QCheckBox* showPoints_;
    QCheckBox* showNames_;
    QLabel* status_;
    std::array<QPushButton*, rows> colourButtons_{};
};

} // namespace objects
