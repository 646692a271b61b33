#pragma once
// Drawing the graph from the command line, without any window:
//   kurvatur --render FILE [--size WxH] [--term LINE]... [--set NAME=VALUE]...
//            [--range x=A:B] [--range y=A:B] [--range t=A:B] [--one-to-one]
//            [--collection FILE [--entry NAME|POSITION]]
//            [--animate NAME=FROM:TO:STEP]... [--fps N]
// With a collection file, its entry (or, without --entry, its current data) is drawn first as
// drawing the entry in the collection window draws it; the term lines given then take the place
// of the entry's lines from the first on. The term lines are applied as Enter in the term window
// applies them, each value is typed into its parameter's value field, each range is applied as
// the range window applies it, and --one-to-one then fits the y range so that a unit is as long
// across as up, as the 1:1 scaling does; then the picture of the plot area is written as PNG or
// SVG. With --animate the picture is drawn once per value of the parameters instead (animation.h)
// and written as an animated GIF (.gif) or as numbered PNG files (.png). Standard output lists,
// separated by tabs, the term window's status line, every term line in use and every parameter
// slot in use, and after an animation the number of frames written ("frames").

#include <QString>
#include <QStringList>

class QTextStream;

namespace mainwin {

// The usage of a render run, shown with every refusal of its arguments.
QString renderUsage();

// The options of a render run that take a value, behind "=" or as the next argument; beside
// them a render run takes --one-to-one alone.
const QStringList& renderOptions();

// The whole run for main(): a QGuiApplication of its own (always on the offscreen platform),
// standard output and standard error. Returns the exit code.
int renderMain(int argc, char** argv);

// The rendering itself, for a running QGuiApplication; arguments without the program name.
// Returns 0 after a run, 2 for wrong arguments (with a usage text on err; an unknown parameter
// of --set or --animate and an unreadable number of --animate among them), 1 when the file
// cannot be written or the collection file cannot be read or holds no such entry (the reason on
// err, for the collection after "Fehler: ").
int render(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace mainwin
