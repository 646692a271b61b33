#pragma once
// What a redraw reported, shown to the user once the picture is painted: the notices of the
// drawing in message boxes.

#include "core/state.h"

namespace terms {

// Shows the last redraw's report. Each notice is shown once.
void showDrawingReport(core::State& state);

} // namespace terms
