#pragma once
// The window "Zusätzliche Geraden" (Asymptoten): the list of additional lines with a colour
// button and a field for the own pen style beside each visible row, the input line, the common
// pen style and the standard colour of new lines. The list is the master while the window is
// used; every change goes into the state's text of the lines and is applied.

#include "objects/extralines.h"
#include "objects/listwindow.h"

#include <QWidget>

#include <array>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace core {
struct State;
}

namespace objects {

class LineWindow : public QWidget {
public:
    static constexpr int rows = listRows;

    explicit LineWindow(core::State& state, QWidget* parent = nullptr);

    // The list from the state's text of the lines (a collection entry was shown).
    void text2list();
    // Takes the input line (Enter in it, "&Übernehmen").
    void asytaste();
    // Deletes the selected lines.
    void remove();
    // The colour buttons and style fields of the visible rows.
    void activate();
    // The own style of the line in visible row r from its field.
    void chli(int r);
    // The common style from its field.
    void chdicke();
    // The colour of the line in visible row r from the colour dialog.
    void chooseColour(int r);
    // The standard colour of new lines from the colour dialog.
    void chooseStandardColour();
    void focusInput();

    QListWidget* list() const { return list_; }
    QLineEdit* input() const { return input_; }
    QLabel* status() const { return status_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The list into the state, applied; what cannot be drawn goes to the status line.
    void nimms();
    void showList(int current = -1);

    core::State& state_;
    std::vector<ExtraLine> lines_;
    QListWidget* list_;
    QLineEdit* input_;
    QLineEdit* commonStyle_;
    QLabel* standardColour_;
    QLabel* status_;
    std::array<QLineEdit*, rows> styleFields_{};
    std::array<QPushButton*, rows> colourButtons_{};
};

} // namespace objects
