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

// A number as the program's own files hold it (settings file, attribute lists): a decimal comma
// or point, blanks around it, nothing else; no value for any other text or a number that is not
// finite. No terms: a file is read without the engine.
std::optional<double> filenumber(const QString& text);

// The same, taken to the nearest whole number (halves to even), when that lies in lo ... hi.
std::optional<int> filewhole(const QString& text, int lo, int hi);
std::optional<int> wholeIn(double v, int lo, int hi);

// Reads back a field that was filled with germanNumber(shown). While the text is still exactly
// that, the field stands for shown itself, with the digits beyond the fifteenth that the text
// cannot carry, so that Enter in an untouched field changes nothing; any other text is read by
// evalnum.
std::optional<double> rereadnum(platform::MathEngine& engine, const QString& text, double shown);

// Shortest general form with up to 15 significant digits ("0.3", "-4", "1e+20"), infinities as
// "inf" / "-inf", NaN as "nan". decimalSeparator replaces the point.
QString generalNumber(double v, QChar decimalSeparator = QLatin1Char('.'));

// The shortest text with a decimal comma that reads back as exactly v, for files that must keep
// the very value (a range of 2*pi kept with 15 digits would draw a pixel apart after a restart).
QString exactNumber(double v);
QString exactNumber(float v);

// Same, with the German decimal comma, as every number the program shows.
inline QString germanNumber(double v) {
    return generalNumber(v, QLatin1Char(','));
}

// v rounded to places decimal places, halves to the even neighbour, as the user reads v: from its
// form with 15 significant digits, so that 0,355 is a half and becomes 0,36 although the double
// nearest to 0.355 lies just below it. Digits beyond the fifteenth are never made up (1e20 with
// 3 places stays 1e20); infinities and NaN come back as they are, and a rounding past the largest
// double gives an infinity. (decimalSum below rounds the exact sum instead: its operands' digits
// are all the user's, and 10^15 + 1 must stay 1000000000000001.)
double roundPlaces(double v, int places);

// a + b as the user adds the two numbers shown: the sum rounded to the finer decimal place of
// the two 15-digit forms. Steps of 0,1 from -1 thus pass through 0 and reach 1 exactly, where
// repeated double sums show -1,38777878078145e-16 and 0,0999999999999999 and end just below 1.
double decimalSum(double a, double b);

} // namespace core
