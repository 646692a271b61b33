#pragma once
// What the windows "Zusätzliche Geraden" and "Punkte" share: the list with a column of colour
// buttons beside its visible rows, the input line, the buttons under it and the status line.

#include "core/colours.h"

#include <QStringList>

#include <array>
#include <functional>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;
class QWidget;

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

// "Ok." on the normal colour, or the messages one per line on red.
void showStatus(QLabel* status, const QStringList& messages);

} // namespace objects
