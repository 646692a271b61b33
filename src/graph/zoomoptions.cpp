#include "graph/zoomoptions.h"

#include "core/numbers.h"
#include "core/state.h"

namespace graph {

namespace {

// False (and the factor stays) when the text is no factor of at least 1.
bool takeFactor(core::State& state, double& factor, const QString& text) {
    const auto v = core::evalnum(state.engine, text);
    if (!v || *v < 1) return false;
    factor = *v;
    return true;
}

} // namespace

std::array<QString, 2> zoomFactorTexts(const core::State& state) {
    return {core::germanNumber(state.zoomX), core::germanNumber(state.zoomY)};
}

QStringList applyZoomFactors(core::State& state, const QString& xText, const QString& yText) {
    QStringList messages;
    if (!takeFactor(state, state.zoomX, xText))
        messages << QStringLiteral("ungültiger Zoomfaktor in x-Richtung!");
    if (!takeFactor(state, state.zoomY, yText))
        messages << QStringLiteral("ungültiger Zoomfaktor in y-Richtung!");
    return messages;
}

} // namespace graph
