#pragma once
// The definition intervals of the term lines as numbers.

namespace core {

struct State;

// Evaluates line i's bound texts into its interval (intervalFrom, intervalTo). An empty bound or
// one that does not evaluate to a finite number takes the displayed range instead: the x range
// for a function line, the curve parameter range for a curve.
void evalinterval(State& state, int i);
// The same for every line in use, in line order. An integral curve with an interval of its own
// hands it to the default curve parameter range on the way, so that the curves without one that
// follow it take the same range.
void evalintervals(State& state);

} // namespace core
