#include "core/numbers.h"

#include "core/rounding.h"
#include "platform/mathengine.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace core {

namespace {

// Places after the decimal point in v's form with 15 significant digits; 0 for whole numbers.
int decimalPlaces(double v) {
    if (!std::isfinite(v) || v == 0) return 0;
    char buffer[40];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 14)
            .ptr; // "-1.00000000000000e-01"
    const std::string_view text(buffer, std::size_t(end - buffer));
    const std::size_t e = text.find('e');
    std::string_view digits = text.substr(0, e);
    while (digits.back() == '0')
        digits.remove_suffix(1);
    const std::size_t point = digits.find('.');
    const int fraction = point == std::string_view::npos ? 0 : int(digits.size() - point - 1);
    const std::size_t exponentStart = text[e + 1] == '+' ? e + 2 : e + 1;
    int exponent = 0;
    std::from_chars(text.data() + exponentStart, text.data() + text.size(), exponent);
    return std::max(0, fraction - exponent);
}

// The double nearest to v rounded to the given decimal places, all of v's digits counted.
double roundedToPlaces(double v, int places) {
    // Up to 309 digits before the point, the sign and the point itself.
    std::string text(std::size_t(places) + 320, '\0');
    const auto end =
        std::to_chars(text.data(), text.data() + text.size(), v, std::chars_format::fixed, places)
            .ptr;
    double rounded = v;
    std::from_chars(text.data(), end, rounded);
    return rounded;
}

} // namespace

std::optional<double> evalnum(platform::MathEngine& engine, const QString& text) {
    QString t = text;
    t.removeIf([](QChar c) { return c.isSpace(); });
    if (t.isEmpty()) return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    engine.clearError();
    const double v = engine.eval(t.toStdString());
    const bool failed = engine.error() != 0 || !std::isfinite(v);
    engine.clearError();
    if (failed) return std::nullopt;
    return v;
}

std::optional<double> filenumber(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int> wholeIn(double v, int lo, int hi) {
    if (!(v >= lo - 0.5 && v <= hi + 0.5)) return std::nullopt;
    const int n = round32(v);
    if (n < lo || n > hi) return std::nullopt;
    return n;
}

std::optional<int> filewhole(const QString& text, int lo, int hi) {
    const auto v = filenumber(text);
    return v ? wholeIn(*v, lo, hi) : std::nullopt;
}

std::optional<double> rereadnum(platform::MathEngine& engine, const QString& text, double shown) {
    if (std::isfinite(shown) && text == germanNumber(shown)) return shown;
    return evalnum(engine, text);
}

namespace {

template <class T> QString shortestText(T v) {
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return QString::fromLatin1(buffer, end - buffer).replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

QString exactNumber(double v) {
    if (!std::isfinite(v)) return germanNumber(v);
    if (v == 0) v = 0; // no "-0"
    return shortestText(v);
}

QString exactNumber(float v) {
    return shortestText(v);
}

QString generalNumber(double v, QChar decimalSeparator) {
    if (std::isnan(v)) return QStringLiteral("nan");
    if (std::isinf(v)) return v > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    if (v == 0) v = 0; // no "-0"
    // Not printf: QApplication takes the system locale for the C library, whose decimal comma
    // would turn the point form into a comma form too.
    char buffer[40];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 15).ptr;
    QString text = QString::fromLatin1(buffer, end - buffer);
    if (decimalSeparator != QLatin1Char('.')) text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

double roundPlaces(double v, int places) {
    if (!std::isfinite(v) || v == 0) return v;
    char buffer[40];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 14)
            .ptr; // "-1.23456789012345e+02"
    const std::string_view text(buffer, std::size_t(end - buffer));
    const bool negative = text.front() == '-';
    const std::size_t e = text.find('e');
    std::string digits; // the 15 significant digits
    for (char c : text.substr(0, e))
        if (c >= '0' && c <= '9') digits += c;
    const std::size_t exponentStart = text[e + 1] == '+' ? e + 2 : e + 1;
    int exponent = 0; // of the first digit
    std::from_chars(text.data() + exponentStart, text.data() + text.size(), exponent);

    // Digit k stands for 10^(exponent - k); those down to 10^-places stay.
    const int kept = exponent + std::max(places, 0) + 1;
    if (kept >= int(digits.size())) return v;
    if (kept < 0) return 0;
    const char first = digits[std::size_t(kept)];
    const bool beyondHalf =
        digits.find_first_not_of('0', std::size_t(kept) + 1) != std::string::npos;
    const bool lastOdd = kept > 0 && (digits[std::size_t(kept) - 1] - '0') % 2 == 1;
    long long whole = kept > 0 ? std::stoll(digits.substr(0, std::size_t(kept))) : 0;
    if (first > '5' || (first == '5' && (beyondHalf || lastOdd))) ++whole;
    if (whole == 0) return 0;
    // whole * 10^(exponent - kept + 1), read back as the double nearest to that decimal.
    const std::string rounded =
        (negative ? "-" : "") + std::to_string(whole) + 'e' + std::to_string(exponent - kept + 1);
    double result = 0;
    const auto [ptr, ec] = std::from_chars(rounded.data(), rounded.data() + rounded.size(), result);
    if (ec == std::errc::result_out_of_range)
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    return result;
}

double decimalSum(double a, double b) {
    const double sum = a + b;
    if (!std::isfinite(sum)) return sum;
    return roundedToPlaces(sum, std::max(decimalPlaces(a), decimalPlaces(b)));
}

} // namespace core
