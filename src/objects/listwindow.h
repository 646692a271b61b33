#pragma once
// What the windows "Zusätzliche Geraden" and "Punkte" share: the list with a column of colour
// buttons beside its visible rows, the input line, the buttons under it and the status line.

#include "core/colours.h"

#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QEvent;
class QLabel;
class QLineEdit;
class QObject;
class QListWidget;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace core {
struct State;
}

namespace objects {

inline constexpr int listRows = 10;
inline constexpr int rowHeight = 24; // pixels; the list rows and the controls beside them alike

// The list: several rows selectable, a click fetches the row into the input line, scrolling
// calls scrolled (the row controls follow), the owner filters its keys.
void setUpList(QListWidget* list, QLineEdit* input, QWidget* owner,
               const std::function<void()>& scrolled);
// The column beside the list's rows, starting level with its first row.
QVBoxLayout* rowsColumn(const QListWidget* list);
// The colour button of visible row r; what names the object ("der Geraden", "des Punktes").
QPushButton* colourButton(QWidget* owner, int r, const QString& what,
                          const std::function<void()>& clicked);
void paintColourButton(QPushButton* button, core::Colour colour);
QPushButton* button(QWidget* owner, const QString& caption, const QString& objectName,
                    const QString& name, const QString& tip, const std::function<void()>& clicked);
// "&Schließen": hides the window, or its subwindow in the main window's area.
QPushButton* closeButton(QWidget* owner);
void setUpStatus(QLabel* status);

// The rows as list items (text and colour); current becomes the current row without a selection,
// so that the next input is a new row, not a replacement of this one.
void fillList(QListWidget* list, const std::vector<std::pair<QString, core::Colour>>& rows,
              int current);
// The index of the row at the top of the list.
int firstVisible(const QListWidget* list);

// The row selected alone, if just one is: the input line replaces it.
std::optional<int> singleSelection(const QListWidget* list);
bool rowSelected(const QListWidget* list, int row);

// Drops the rows selected in the list; false when none was.
template <class Row> bool removeSelected(const QListWidget* list, std::vector<Row>& rows) {
    std::vector<Row> kept;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!rowSelected(list, int(i))) kept.push_back(rows[i]);
    if (kept.size() == rows.size()) return false;
    rows = std::move(kept);
    return true;
}

// The colour of list row at from the colour dialog with that title, kept in the row's item as
// well; none when the dialog was cancelled.
std::optional<core::Colour> chooseRowColour(core::State& state, QListWidget* list, int at,
                                            core::Colour current, const QString& title);

// The keys of the input line and the list: Enter in the input line takes it, Delete or
// Backspace in the list removes the selected rows, Enter in the list goes to the input line.
// True when the key was one of them.
bool listKey(const QObject* watched, const QEvent* event, QLineEdit* input, const QListWidget* list,
             const std::function<void()>& take, const std::function<void()>& remove);
bool isEnter(const QEvent* event);

// "Ok." on the normal colour, or the messages one per line on red.
void showStatus(QLabel* status, const QStringList& messages);

} // namespace objects
