#pragma once
// The numeric side of the world-to-screen mapping: spans, twips per unit, the engine variables
// xmu, xmi, ymu, ymi, the sample steps of the lines, the grid step and the number formats of
// the axis labels.

#include <QString>

namespace core {
struct State;
}

namespace graph {

// Recomputes the mapping after a change of the displayed range or of the plot size. A range
// whose span is zero, reversed, too small for doubles or not finite is repaired first (and the
// range window is told): reversed bounds are swapped, equal bounds get the upper bound one unit
// above the lower one, a span too small for the magnitude is widened around its middle, and a
// non-finite bound brings back the default range -10 ... 10.
void setscale(core::State& state);

// Sample counts of "fill" lines from the plot width; step width of every function line.
void setsteps(core::State& state);

// The term's value in twips from the left ("xmu*(term-xmi)") or from the bottom.
QString makemx(const QString& term);
QString makemy(const QString& term);

// Grid step of one axis: the set step, changed by a power of two when the span would show fewer
// than linesMin or more than linesMax lines.
double tickStep(double gridStep, double range, int linesMin, int linesMax);
// Places after the decimal comma for a grid step, at least digitsMin.
int tickDigits(double tickStep, int digitsMin);
// "0." followed by that many "#".
QString numberFormat(int digits);

// A number as the axis labels show it: format "0." + d "#" gives at least one digit before the
// decimal comma and up to d after it, without trailing zeros and without a trailing comma
// (2 -> "2", 2.5 -> "2,5", -0.001 with d = 2 -> "0").
QString numberText(double v, const QString& format);

} // namespace graph
