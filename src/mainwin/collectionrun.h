#pragma once
// A collection file from the command line, without any window and without a display:
//   kurvatur --collection FILE --list           one row per entry on standard output
//   kurvatur --collection FILE --save-as OUT    FILE written anew to OUT by the program's writer
// Neither reads nor writes the settings or the working copy: the file named is all they touch.

#include "collection/entries.h"

#include <QString>

#include <optional>

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

// The collection in the file at path, read as the window program reads it; nothing when it
// cannot be read, with "Fehler: " and the reason on err. The settings and the working copy are
// not touched.
std::optional<collection::Collection> readCollectionFile(const QString& path, QTextStream& err);

// The fields of the entry that which names: first an entry whose short description is that text
// (as it is, then as --list shows it), then one whose description is that text without regard to
// case, then the entry at that position as --list numbers it (from 1). Nothing when there is none;
// the first of several alike is taken.
std::optional<collection::Fields> entryFields(const collection::Collection& table,
                                              const QString& which);

// Carries out a request without problem. Returns 0 after the list or the written file, 1 when the
// file cannot be read or the target cannot be written (the reason, in German, on err).
int runCollection(const CollectionRequest& request, QTextStream& out, QTextStream& err);

} // namespace mainwin
