#pragma once
// The commands that connect the collection with files the user names: open, append (save and
// save as are savecommand in collectionstate.h).

#include "collection/collectionstate.h"

namespace core {
struct State;
}

namespace collection {

inline const QString createQuestion =
    QStringLiteral("Diese Datei gibt es noch nicht. Soll sie neu erzeugt werden?");
inline const QString workingCopyRefused = QStringLiteral(
    "Die Datei %1 ist die Arbeitskopie der Sammlung und kann nicht geöffnet werden.");

// "&Öffnen" (append false) and "&Anhängen" (append true). Opening offers a changed collection
// for saving first and ends when the user wanted it saved and it was not; it offers a file that
// does not exist yet for making, and appending asks for another file then. The working copy itself
// is refused. The file is read before anything changes: a file that cannot be read leaves the
// collection and its working copy as they were. After opening the collection is named and
// unchanged; after appending it keeps its name and is changed. Both read the settings file again
// and redraw; appending also writes it. True when a file was taken.
bool opencollection(CollectionState& keeper, core::State& state, bool append);

// The example collection that comes with the program, compiled into it.
inline const QString examplesResource = QStringLiteral(":/kurvatur/Beispiele.txt");

// "Beispiele öffnen": opens a copy of the collection at source (the compiled-in examples unless
// told otherwise) as opening a file does, changed collection offered for saving first; the
// collection it gives has no name, so that saving asks for one. True when it was taken.
bool openExamples(CollectionState& keeper, core::State& state,
                  const QString& source = examplesResource);

} // namespace collection
