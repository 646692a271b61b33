#pragma once
// Number texts shown to the user and written by the command-line tools.

#include <QString>

namespace core {

// Shortest general form with up to 15 significant digits ("0.3", "-4", "1e+20"), infinities as
// "inf" / "-inf", NaN as "nan". decimalSeparator replaces the point.
QString generalNumber(double v, QChar decimalSeparator = QLatin1Char('.'));

// Same, with the German decimal comma, as every number the program shows.
inline QString germanNumber(double v) {
    return generalNumber(v, QLatin1Char(','));
}

} // namespace core
