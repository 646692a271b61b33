#pragma once
// Reading a collection file into the entry table.

#include "collection/entries.h"

#include <QByteArray>
#include <QString>

namespace core {
struct State;
}

namespace collection {

enum class ReadMode { Replace, Append };

// The messages of a file that cannot be read (shown with the title "Fehler").
inline const QString missingIdentification =
    QStringLiteral("In der Sammlungsdatei fehlt die Kennungszeile!");
inline const QString missingBlockStart =
    QStringLiteral("In der Sammlungsdatei ist kein Blockanfang zu finden!");
inline const QString unexpectedEnd = QStringLiteral("Die Sammlungsdatei bricht unerwartet ab!");
inline const QString errorTitle = QStringLiteral("Fehler");

// Reads the bytes of a collection file into the collection: its entries replace those of the
// table or follow them, and the current-data entry, if any, becomes the current data. Returns an
// empty text, or the message of the first fault; the entries read before it stay in the table
// and the current data is left alone. A table that already holds maxEntries entries takes no
// further entry: the block start that would add one is the fault.
QString readcollection(Collection& collection, const QByteArray& bytes, const core::State& state,
                       ReadMode mode = ReadMode::Replace);

// The same for the file at path; a file that cannot be opened gives a German message naming it.
QString loadcollection(Collection& collection, const QString& path, const core::State& state,
                       ReadMode mode = ReadMode::Replace);

} // namespace collection
