#pragma once
// What a redraw reported, shown to the user once the picture is painted: the lines whose
// drawing was cut in the term window's status line, the notices of the drawing in message boxes.

#include "core/state.h"

#include <QString>

namespace terms {

// The status text for the lines that the last redraw cut, such as "f(x): Zeichnung abgebrochen,
// der Term ist zu aufwendig."; empty when it cut none.
QString cutLinesText(const core::State& state);

// Shows the last redraw's report. Cut lines put their text into the status line on the error
// colour, in place of what it showed; when a later redraw cuts none, the status it replaced
// comes back (unless something else has been shown since). Each notice is shown once.
void showDrawingReport(core::State& state);

} // namespace terms
