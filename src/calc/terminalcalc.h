#pragma once
// The calculator of the command line: one input line in, one output line out. It sets up its
// own engine the way the program does after every data-set assembly, so a term behaves here
// exactly as in a term line.

#include "platform/mathengine.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace calc {

class TerminalCalc {
public:
    // angleMode 1 radians, 2 degrees, 3 grads. raw: lines go to the engine untranslated. With
    // places, values and errors come out as the calculator window shows them ("0.333",
    // "Error: Syntax"), rounded to that many decimal places.
    explicit TerminalCalc(bool raw = false, int angleMode = 1,
                          std::optional<int> places = std::nullopt);

    // "name = term" sets a variable and gives its value; "name(p1; p2) = term" defines a
    // function and gives "ok"; anything else is a term whose value is given. Errors come back as
    // "Error <code>: <message>"; an empty line gives an empty line.
    QString processLine(const QString& line);

private:
    QString evaluateTerm(const QString& text);
    QString defineVariable(const QString& name, const QString& body);
    QString defineFunction(const QString& name, const QString& params, const QString& body);
    // The body in engine syntax; empty when unusable.
    QString engineText(const QString& body) const;
    // Reads the pending error as "Error <code>: <message>" and clears it.
    QString errorLine();
    // A line the translation refused, in the same form.
    QString invalidTermLine();

    platform::MathEngine engine_;
    bool raw_;
    std::optional<int> places_;
    QStringList functionNames_; // functions defined so far, for derivative expansion
};

} // namespace calc
