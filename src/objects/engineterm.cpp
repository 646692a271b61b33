#include "objects/engineterm.h"

#include "core/state.h"
#include "engine/translate.h"

namespace objects {

QString engineTerm(const QString& term, const core::State& state) {
    const QString marked =
        engine::replword(term, QStringLiteral("x"), core::variableMarker, 3, Qt::CaseInsensitive);
    QString text = engine::translate(marked, false, state);
    return text.replace(QLatin1Char(':'), QLatin1Char('/'));
}

} // namespace objects
