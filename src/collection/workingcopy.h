#pragma once
// The working copy "kurvatur.tmp" in the configuration folder: it always holds the whole
// collection, named or not, and survives the program.

#include "collection/entries.h"
#include "collection/filetext.h"

#include <QString>

namespace core {
struct State;
}

namespace collection {

QString workingCopyPath(const core::State& state);

// At start-up: the collection counts as unchanged and unnamed; the configuration folder and an
// empty working copy are made when missing.
WriteResult inittempfile(Collection& collection, const core::State& state);

// Whether path names the working copy. The working copy is rewritten with every change: as the
// file of a collection it would be overwritten before it was ever saved.
bool isWorkingCopy(const QString& path, const core::State& state);

WriteResult writeWorkingCopy(Collection& collection, const core::State& state, bool markChanged);

// Reads the working copy into the collection; an empty text, or the message of the fault. One
// without the current data, other than the empty one a start makes, was cut short: a fault.
QString readWorkingCopy(Collection& collection, const core::State& state);

} // namespace collection
