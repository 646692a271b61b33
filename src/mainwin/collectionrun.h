#pragma once
// A collection file from the command line, without any window and without a display:
//   kurvatur --collection FILE --list           one row per entry on standard output
//   kurvatur --collection FILE --save-as OUT    FILE written anew to OUT by the program's writer
// Neither reads nor writes the settings or the working copy: the file named is all they touch.

#include <QString>

class QTextStream;

namespace mainwin {

struct CollectionRequest {
    enum class Action { None, List, SaveAs };
    QString file;
    Action action = Action::None;
    QString target; // the file to write (SaveAs)

    friend bool operator==(const CollectionRequest&, const CollectionRequest&) = default;
};

// The usage of the collection commands.
QString collectionUsage();

// Why the collection options given cannot be carried out together, or an empty text; also empty
// when none was given.
QString collectionProblem(const CollectionRequest& request);

// Carries out a request without problem. Returns 0 after the list or the written file, 1 when the
// file cannot be read or the target cannot be written (the reason, in German, on err).
int runCollection(const CollectionRequest& request, QTextStream& out, QTextStream& err);

} // namespace mainwin
