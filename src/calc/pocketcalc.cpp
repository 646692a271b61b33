#include "calc/pocketcalc.h"

#include "core/numbers.h"
#include "core/state.h"
#include "engine/enginedefs.h"
#include "engine/settingsfile.h"
#include "engine/translate.h"
#include "platform/errorcodes.h"
#include "platform/mathengine.h"

#include <cmath>

namespace calc {

namespace {

const QString errorPrefix = QStringLiteral("Error: ");

} // namespace

QString roundedText(double value, int places) {
    const double rounded = core::roundPlaces(value, places);
    if (!std::isfinite(rounded)) return errorPrefix + QStringLiteral("Overflow");
    return core::generalNumber(rounded);
}

QString errorText(const engine::EngineError& error) {
    if (error.code == platform::ErrorCode::undefinedVariable)
        return errorPrefix + QStringLiteral("Syntax");
    return errorPrefix + error.text;
}

QString evaluate(platform::MathEngine& engine, const QString& engineText, int places) {
    if (engineText.isEmpty()) {
        engine.clearError();
        return errorPrefix + engine::errtext(engine, platform::ErrorCode::syntax);
    }
    const double value = engine.eval(engineText.toStdString());
    const engine::EngineError error = engine::takeerror(engine);
    if (error.failed()) return errorText(error);
    return roundedText(value, places);
}

QString docalc(core::State& state, const QString& term) {
    if (term.trimmed().isEmpty()) return {};
    const int sw = state.handles.sw;
    const double drawingStep = sw >= 0 ? state.engine.variable(sw) : 0;
    state.engine.setVariable(sw, derivativeStep);
    const QString shown =
        evaluate(state.engine, engine::translate(term, false, state), state.calcDecimals);
    state.engine.setVariable(sw, drawingStep);
    return shown;
}

std::optional<int> readPlaces(platform::MathEngine& engine, const QString& text) {
    const auto v = core::evalnum(engine, text);
    return v ? core::wholeIn(*v, fewestPlaces, mostPlaces) : std::nullopt;
}

bool checkround(core::State& state, const QString& text) {
    const auto places = readPlaces(state.engine, text);
    if (!places) {
        state.messages->inform(QStringLiteral("Stellen nach dem Komma:"),
                               QStringLiteral("Ungültige Stellenzahl!"),
                               platform::MessageIcon::Critical);
        return false;
    }
    if (*places == state.calcDecimals) return true;
    state.calcDecimals = *places;
    if (state.configFolderWritable) engine::savesettings(state);
    return true;
}

} // namespace calc
