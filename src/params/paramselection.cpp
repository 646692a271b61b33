#include "params/paramselection.h"

#include "core/state.h"
#include "engine/translate.h"

#include <QStringList>

#include <algorithm>

namespace params {

std::vector<int> integralLowerBoundSlots(const core::State& state) {
    std::vector<int> result;
    for (int i = 0; i < std::min(state.linesInUse, core::lineCount); ++i) {
        const core::FuncLine& line = state.lines[std::size_t(i)];
        if (line.name.isEmpty() || state.lineSlots[std::size_t(i)].integralSpec.isEmpty()) continue;
        if (line.slot < 0 || line.slot >= core::lineCount) continue;
        if (state.params[std::size_t(line.slot)].handle != -1) result.push_back(line.slot);
    }
    return result;
}

std::vector<int> listedSlots(const core::State& state) {
    std::vector<int> result = integralLowerBoundSlots(state);
    for (int k = core::firstFreeParamSlot; k <= core::lastParamSlot; ++k)
        if (state.params[std::size_t(k)].handle != -1) result.push_back(k);
    return result;
}

void showLineParams(core::State& state, int i, bool only) {
    if (only)
        for (auto& p : state.params)
            p.visible = false;
    if (i < 0 || i >= core::lineCount) return;
    const QString& term = state.lineSlots[std::size_t(i)].translated;
    for (const QString& name : state.usedParamNames.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!engine::hasword(term, name)) continue;
        const int k = state.findparam(name);
        if (k >= core::firstFreeParamSlot) state.params[std::size_t(k)].visible = true;
    }
}

QString selectionButtonCaption(int selected, int listed) {
    return selected < listed || listed == 0 ? QStringLiteral("&Alle") : QStringLiteral("&Keine");
}

} // namespace params
