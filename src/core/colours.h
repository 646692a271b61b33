#pragma once
// Colours of the lines, the grid and the additional lines.

#include "core/state.h"

#include <QColor>

namespace core {

QColor toQColor(Colour colour);
Colour fromQColor(const QColor& colour);

// Sets colour index (0 ... 14) to colour; the line pen of that index is renewed by the next
// makepens when the colour really changed. The stored colour table keeps indices 0 ... 13.
void setcolour(State& state, int index, Colour colour);

} // namespace core
