#include "core/numbers.h"

#include "platform/mathengine.h"

#include <cmath>
#include <cstdio>

namespace core {

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

QString generalNumber(double v, QChar decimalSeparator) {
    if (std::isnan(v)) return QStringLiteral("nan");
    if (std::isinf(v)) return v > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    if (v == 0) v = 0; // no "-0"
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", v);
    QString text = QString::fromLatin1(buffer);
    if (decimalSeparator != QLatin1Char('.')) text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

} // namespace core
