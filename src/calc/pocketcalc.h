#pragma once
// The pocket calculator: one term in the user's notation, evaluated with the program's engine
// (so it sees the current parameters and the lines' functions and their derivatives) and shown
// rounded to the chosen number of decimal places. The window and the terminal calculator both
// show their results through here.

#include "engine/settingsfile.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace core {
struct State;
}
namespace engine {
struct EngineError;
}
namespace platform {
class MathEngine;
}

namespace calc {

inline constexpr int fewestPlaces = 0;
inline constexpr int mostPlaces = engine::mostCalcPlaces;

// The difference step sw of the derivatives f'(x) and f''(x) while the calculator evaluates. The
// graphs leave sw at the step width of the line drawn last, which is far too coarse for a value
// read to many places.
inline constexpr double derivativeStep = 0.0001;

// A value as the calculator shows it: rounded to places (halves to even), in the general form
// with a decimal point and up to 15 significant digits ("0.333", "2", "1e+20"); "Error: Overflow"
// for a value that is not finite or that rounding would carry past the largest number.
QString roundedText(double value, int places);

// An engine error as the calculator shows it: "Error: Syntax" for a name that is neither defined
// nor a parameter, otherwise "Error: " and the German message.
QString errorText(const engine::EngineError& error);

// Evaluates a text in engine syntax and shows the outcome. An empty text is a term the
// translation refused (a derivative of no line's function) and shows as an invalid term. No
// error is left pending in the engine.
QString evaluate(platform::MathEngine& engine, const QString& engineText, int places);

// docalc: the term typed into the calculator, with the derivatives of the lines' functions, to
// state.calcDecimals places. An empty term shows nothing.
QString docalc(core::State& state, const QString& term);

// The number of decimal places a field holds (a term is allowed, "2+1"), taken to the nearest
// whole number; no value when it is unreadable or outside 0 ... 22.
std::optional<int> readPlaces(platform::MathEngine& engine, const QString& text);

// checkround: takes the places of the field into state.calcDecimals and writes the settings
// file; a field that gives no places shows "Ungültige Stellenzahl!" and keeps the old ones.
// False in that case.
bool checkround(core::State& state, const QString& text);

} // namespace calc
