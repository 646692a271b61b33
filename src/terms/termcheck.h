#pragma once
// The term lines and their checks: turning the typed lines of the term window into function
// records, reading the definition intervals, switching between the terms view and the intervals
// view, and the apply command of the window. Plain logic on the shared state; the window only
// shows State::termEditor.

#include "core/state.h"

#include <QString>

namespace terms {

// Status line colours: 0 stands for the window's normal button-face colour.
inline constexpr core::Colour statusNormal = 0;
inline constexpr core::Colour statusRed = core::rgb(250, 0, 0);

// Checks every line of the terms view and fills the records (name, variable, stored term with
// the variable marker, shown term, kind), rewrites accepted lines as "name(variable) = term" and
// shows the outcome in the status line. Returns the messages of the rejected lines run together,
// empty when all lines were accepted. Does nothing in the intervals view. Expects an engine that
// was just reset and given the program's predefinitions (as the data-set assembly does).
QString checknames(core::State& state);

// Pairs each accepted "y..." line with the "x..." line of the same rest of name: the x line gets
// the y line's index as kind, the y line becomes a curve part.
void checkxy(core::State& state);

// Shows text in the term window's status line on the given background colour.
void showerror(core::State& state, const QString& text, core::Colour colour);

// Switches the view (0 terms, 1 intervals; below 0: redisplay the current one) and produces the
// texts of all lines in use, the captions and the enabled state of the two pop-up entries.
void setstate(core::State& state, int s);

// Reads the intervals view into the bound texts and interval texts of the records and rewrites
// the lines in normal form. Returns "Semikolon fehlt!" when a line has no ";" (that line keeps
// its bounds), else the empty text. Does nothing in the terms view.
QString readintervals(core::State& state);

// The term with every parameter in use replaced by its current value (decimal comma, negative
// values in brackets).
QString entpara(const core::State& state, const QString& text);

// The apply command of the term window: the data-set assembly, the parameter window arrangement
// when that option is on, and, when i is 0, the redraw of the whole picture.
void findandget(core::State& state, int i);
// Applies the current view (terms: findandget, intervals: readintervals), then lets the
// collection take over the current data.
void findandgetpre(core::State& state, int i);

} // namespace terms
