#pragma once
// Function names written without brackets, as on the blackboard: "sin x", "wurzel 2",
// "3 sin x + 1". The engine needs the argument in brackets, and the deletion of blanks would
// otherwise glue a function name to its neighbours: "sin x" would become the name sinx (a
// parameter drawn as a constant), "a sin(x)" the arc sine asin(x).

#include <QString>
#include <QStringList>

namespace engine {

// True when the engine calls name as a function: one of its own or the program's predefined
// ones, or the name of a function line (lineNames). Without regard to case, as the engine
// matches names.
bool isfunctionword(const QString& name, const QStringList& lineNames);

// Puts the operand of every function name that is followed by blanks and an operand in brackets,
// and a "*" between an operand and a function name that follows it after blanks. text: a term
// before its blanks are deleted, the variable marker without its own blanks ("!_x!").
//
// The operand is the next factor, as a school user reads "sin 2x": a number, a name, the
// variable or a bracket, with its power ("sin x^2" = sin(x^2)) and factorial, a sign directly in
// front of it ("sin -x"), and the factors glued to it without blanks ("sin 2x" = sin(2x),
// "sin 2(x+1)"). A blank ends it: "sin x + 1" = sin(x)+1, "sin 2 x" = sin(2)*x. A function name
// in the operand takes its own operand ("sin cos x" = sin(cos(x))). A bracket after the blanks
// is the argument list itself, as without the blanks: "sin (x)^2" = sin(x)^2, "max (1; 2)".
QString bracketcalls(const QString& text, const QStringList& lineNames);

// The function names in an engine text that are not called (no "(" follows them), in the order
// they stand: the engine would take them for variables, that is, for parameters.
QStringList uncalledfunctions(const QString& text, const QStringList& lineNames);

} // namespace engine
