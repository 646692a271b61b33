#pragma once
// What the window program sets up once for all its windows: its icon and Qt's own German texts
// (the colour, file and print dialogs, the buttons of message boxes).

#include <QIcon>

class QCoreApplication;
class QTranslator;

namespace mainwin {

// The program's icon: a coordinate cross with a parabola.
QIcon programIcon();

// Loads Qt's German translations into the application, which owns the translator returned. Null
// when the translations are not installed; the dialogs then speak English.
QTranslator* installQtGerman(QCoreApplication& app);

} // namespace mainwin
