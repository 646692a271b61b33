#pragma once
// The current state as the 13 texts of an entry, and an entry's texts applied to the state: what
// the collection keeps of the user's work and how it draws it again.

#include "collection/entries.h"
#include "core/state.h"

#include <QString>

namespace collection {

// The names the status line gives the fields 2 to 10 ("Eingabefeld ..."), by field number.
QString fieldName(int field);

// Field 2 ... 12 of an entry built from the state, in the line forms the reader takes back.
QString addone(core::State& state, int field);

// The current data takes fields 2 ... 12 from the state.
void aktpuff(Collection& collection, core::State& state);

// What applying an entry ended with: "O.k." on the normal colour, or the field and the fault on
// dark red.
struct ApplyStatus {
    QString text = QStringLiteral("O.k.");
    core::Colour colour = 0;
    bool ok() const { return colour == 0; }
};
inline constexpr core::Colour applyErrorColour = core::rgb(150, 0, 0);

// Empties the lines and timer settings and applies fields 2 ... 12 of an entry as the user would
// have typed them, then assembles the data set and redraws. Applying stops at the first field that
// fails; the fields before it stay applied, and the state is assembled all the same, so the lines
// drawn and the engine agree. busyFlag is given back on every way out.
ApplyStatus colget(core::State& state, const Fields& fields);

// The current data drawn again (at start-up, from the working copy).
ApplyStatus tmpakt(const Collection& collection, core::State& state);

} // namespace collection
