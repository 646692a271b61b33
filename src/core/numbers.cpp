#include "core/numbers.h"

#include <cmath>
#include <cstdio>

namespace core {

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
