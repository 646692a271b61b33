#pragma once
// How the program "kurvatur" starts, read from its arguments before any GUI application exists:
// help, version, the collection commands and wrong arguments need no display, so they are
// answered first.
//   kurvatur [Qt options]                        the window program
//   kurvatur --render FILE ...                   drawing without a window (render.h), also of
//                                                a collection's entry
//   kurvatur --collection FILE --list|--save-as  a collection file (collectionrun.h)
//   kurvatur --help | -h         usage on standard output
//   kurvatur --version           the version line on standard output

#include "mainwin/collectionrun.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace mainwin {

enum class StartKind { Window, Render, Collection, Help, Version, Wrong };

struct Start {
    StartKind kind = StartKind::Window;
    QString problem;              // why the arguments are wrong (kind Wrong)
    CollectionRequest collection; // what to do with which file (kind Collection)
};

// The arguments without the program name, as the system passed them.
QStringList argumentsOf(int argc, char** argv);

// The way to start for these arguments (without the program name). The window program accepts
// Qt's own options (-platform NAME, -style NAME, -reverse, ...), which Qt takes away itself; the
// arguments of a render run are judged by the render run, the collection options with them.
Start startOf(const QStringList& arguments);

// The usage of every way to start.
QString usage();

// Answers a start that needs no window (Collection, Help, Version, Wrong) and returns the exit
// code: that of the collection command (see runCollection), 0 with the usage or the version line
// on out, 2 with the problem and the usage on err.
int answerWithoutWindow(const Start& start, QTextStream& out, QTextStream& err);

} // namespace mainwin
