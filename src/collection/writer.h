#pragma once
// Writing the current data and the entry table as a collection file.

#include "collection/entries.h"
#include "collection/filetext.h"

#include <QByteArray>
#include <QString>

namespace core {
struct State;
}

namespace collection {

// The whole file: the identification line, the current data as the first entry, then the table.
QByteArray collectionBytes(const Collection& collection, const core::State& state);

// The form in which the reader gives a field back: fields 2 to 10 without empty lines, fields
// 11 and 12 as remcrlf leaves them, the descriptions unchanged.
QString writtenForm(int field, const QString& text);

// Writes the collection to path (see replaceFile). markChanged marks the collection as changed
// once the file is written.
WriteResult writefile(Collection& collection, const QString& path, const core::State& state,
                      bool markChanged);

// Writes the collection under its name path; only then it counts as saved.
WriteResult savecollection(Collection& collection, const QString& path, const core::State& state);

// An empty collection file, and what it holds.
WriteResult newcollectionfile(const QString& path, const core::State& state);
QByteArray newcollectionBytes(const core::State& state);

} // namespace collection
