#pragma once
// The definition intervals of the term lines as numbers.

namespace core {

struct State;

// Evaluates line i's bound texts into its interval (intervalFrom, intervalTo). An empty bound or
// one that does not evaluate to a finite number takes the displayed range instead: the x range
// for a function line, the curve parameter range for a curve.
void evalinterval(State& state, int i);
// The same for every line in use.
void evalintervals(State& state);

} // namespace core
