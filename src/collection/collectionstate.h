#pragma once
// The collection as the program keeps it while it runs: the entry table and current data, the
// selected entry, the entry clipboard, and how it meets the start, every change of the state and
// the end of the program through the working copy.

#include "collection/currentdata.h"
#include "collection/entries.h"
#include "collection/filetext.h"

#include <QString>

namespace core {
struct State;
}

namespace collection {

struct CollectionState {
    Collection collection;
    int selected = -1;          // list index of the selected entry; -1 when none is selected
    bool syncSelection = false; // a change of the state also overwrites the selected entry
    Fields clipboard{};         // the entry last copied or cut; field 0 empty while none
    ApplyStatus status;         // what the last drawn entry ended with
};

inline const QString saveQuestion =
    QStringLiteral("Die Sammlung ist geändert worden. Soll sie gespeichert werden?");
inline const QString saveQuestionTitle = QStringLiteral("Achtung!");

// A write of the collection that failed is told to the user.
void reportWriteFault(core::State& state, const WriteResult& result);

// "Sammlung: " and the file's name without its folder, or "(noch ohne Bezeichnung)".
QString windowTitle(const Collection& collection);

// At start-up, after the settings file: the working copy is made when missing and read. A
// working copy that cannot be read is told to the user and kept as "kurvatur.tmp.defekt" (or
// ".defekt.2", ... when an earlier one is kept already); the collection then starts empty.
void openWorkingCopy(CollectionState& keeper, core::State& state);

// At start-up, once the windows stand: the current data that the working copy held is drawn
// again. False when it held none (the program then applies its empty lines as usual).
bool drawCurrentData(CollectionState& keeper, core::State& state);

// After every change of the state: the current data takes it over, and so does the selected
// entry while syncSelection is set (unless it is protected); the working copy is written.
void takeOver(CollectionState& keeper, core::State& state);

enum class SaveOutcome { Saved, Cancelled, Failed };

// "&Speichern" (askForName false: the known name is used when there is one) and "Speichern
// &unter..." (askForName true). An existing file is overwritten only when the user agrees, and
// the working copy is refused as the name; a failure to write is told to the user. A saved
// collection writes the settings file as well.
SaveOutcome savecommand(CollectionState& keeper, core::State& state, bool askForName);

// What closing the program does with the collection: the current data is taken over and the
// working copy written; a collection changed before is offered for saving. False when the user
// wanted to save and the saving did not happen: the program stays open.
bool closeCollection(CollectionState& keeper, core::State& state);

} // namespace collection
