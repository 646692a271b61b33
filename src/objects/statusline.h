#pragma once
// The status line of the lines and points windows.

#include <QStringList>

class QLabel;

namespace objects {

// "Ok." on the normal colour, or the messages one per line on red.
void showStatus(QLabel* status, const QStringList& messages);

} // namespace objects
