#pragma once
// Numbers as the user types them and as the program shows them.

#include <QString>

#include <optional>

namespace platform {
class MathEngine;
}

namespace core {

// Everything a user types as a number or a bound (value and bound fields, interval bounds, range
// fields, timer steps, command-line values) is read here: blanks are dropped, a decimal comma is
// read as a point, and the text may be a term ("pi/2"). No value when the text is empty, the
// engine reports an error or the result is not a finite number; the engine's error is cleared
// either way, so that a field typed wrong can keep its old value.
std::optional<double> evalnum(platform::MathEngine& engine, const QString& text);

// Shortest general form with up to 15 significant digits ("0.3", "-4", "1e+20"), infinities as
// "inf" / "-inf", NaN as "nan". decimalSeparator replaces the point.
QString generalNumber(double v, QChar decimalSeparator = QLatin1Char('.'));

// Same, with the German decimal comma, as every number the program shows.
inline QString germanNumber(double v) {
    return generalNumber(v, QLatin1Char(','));
}

} // namespace core
