#pragma once
// Integral functions (antiderivatives) F of an integrand f from a lower bound a, drawn by
// numerical integration from F(a) = 0 outwards in both directions with the line's sample step.
// The step runs inside the engine: the engine variable qq carries the running value of F and
// sw the step, so a step is "qq+sw*" (or "qq-sw*" backwards) followed by the integrand. A guard
// ends a direction where the values grow too large to count as finite.

#include "graph/drawsurface.h"
#include "platform/mathengine.h"

#include <QString>

namespace graph {

struct Plotter;

// The guard of a step text: iif(1/(1+abs(text))<limit,0,1) with limit = state.infinityLimit,
// so it yields 0 where |text| is beyond about 1/limit (or cannot be evaluated). A limit setting
// that does not parse is replaced by the default 1E-10. Not valid when text does not parse.
platform::Expression ifdl(core::State& state, const QString& text);

// Draws the integral function of function line i (it has an integrand) with
// the lower bound of line i's lower-bound parameter. Run checkdef(i) first; only the samples
// inside the line's interval are drawn, but the integration runs from a even where it lies
// outside. term is line i's translated term.
void stammf(core::State& state, Plotter& plotter, DrawSurface& surface, const QString& term, int i);

// Draws the integral curve of curve line i: x from line i's x(t) term, y the integral over t of
// the integrand of the partner line (of index kind) from the partner's lower bound. Run
// checkdef2(i) first; only the part inside the curve's parameter interval is drawn. (The
// default curve parameter range takes the curve's interval before, in core::evalintervals.)
// An engine error that the guards do
// not catch ends a direction; the redraw's report then holds the notice "Bei Integralfkt im
// Kurvenmodus unmöglicher Fehler " and the error text, to be shown after the picture is painted.
void stammk(core::State& state, Plotter& plotter, DrawSurface& surface, const QString& term, int i);

} // namespace graph
