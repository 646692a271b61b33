#pragma once
// What the user does with the entries of the collection: add the current state or an empty entry,
// copy, cut, paste, delete and rename entries, overwrite one with the current state, and draw
// one. Every change of the table is written to the working copy at once.

#include "collection/collectionstate.h"

#include <QDateTime>
#include <QString>

namespace core {
struct State;
}

namespace collection {

inline const QString protectedMessage = QStringLiteral("Dieser Eintrag ist geschützt!");
inline const QString protectedTitle = QStringLiteral("Hinweis!");
inline const QString noEntryCaption = QStringLiteral(" (kein Eintrag angewählt)");
inline const QString renameTitle = QStringLiteral("Umbenennung der Kurzbeschreibung:");

// 1-based position of the first entry named name; 0 when none is.
int find(const Collection& collection, const QString& name);

// True when entry index is protected; the user is then told so.
bool geschutzt(const Collection& collection, int index, core::State& state);

// The caption of the selected entry: a blank and its short description, or noEntryCaption.
QString selectionCaption(const CollectionState& keeper);

// "Aktuelle Daten anhängen": the current state as a new entry "Eintrag n" at the end, selected.
void addcol(CollectionState& keeper, core::State& state, const QDateTime& now);
// "Neuen leeren Eintrag anhängen": an empty entry "Neuer Eintrag n" at the end, selected.
void newentry(CollectionState& keeper, core::State& state, const QDateTime& now);
// Deletes the selected entry unless it is protected; the entry at its place (or the new last
// one) is selected then.
void clrone(CollectionState& keeper, core::State& state);
// Copies the selected entry into the clipboard; asCopy names the copy "1. Kopie von ..." (the
// cut keeps the name). Protection does not stop copying.
void copyone(CollectionState& keeper, bool asCopy);
// Pastes the clipboard before (after false) or after the selected entry, at the end when none is
// selected, unprotected and selected; the next paste is the next copy ("2. Kopie von ...").
void insert(CollectionState& keeper, core::State& state, bool after);
// Asks for a new short description of the selected entry; an empty or blank answer changes
// nothing, and a protected entry is not renamed.
void ren(CollectionState& keeper, core::State& state);
// Overwrites fields 2 to 12 of the selected entry with the current state, unless it is protected.
void allakt(CollectionState& keeper, core::State& state);

// The detail fields as the user edited them (fields 1 to 10 of the selected entry) go back into
// the entry, unless it is protected.
void intolist(CollectionState& keeper, core::State& state, const Fields& edited);

// Draws the selected entry; its outcome is in keeper.status, and the current data takes over
// what was drawn. Nothing happens when no entry is selected.
void drawSelected(CollectionState& keeper, core::State& state);

// The name of the next paste after one named name: "1. Kopie von name", or for "n. Kopie von x"
// "n+1. Kopie von x".
QString nextCopyName(const QString& name);

} // namespace collection
