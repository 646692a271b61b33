#include "session/applydata.h"

#include "core/intervals.h"
#include "core/scopes.h"
#include "core/state.h"
#include "engine/enginedefs.h"
#include "engine/linedefs.h"
#include "engine/translate.h"
#include "graph/scale.h"
#include "objects/extralines.h"
#include "objects/points.h"
#include "params/paramlogic.h"
#include "terms/termcheck.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace session {

namespace {

const QString callArgument = QStringLiteral("(_x)");
constexpr core::Colour darkRed = core::rgb(150, 0, 0);
// More undefined names than this in one text means the engine keeps reporting a name that it
// cannot define; the search stops rather than loop.
constexpr int maxNamesPerText = 400;

std::string toEngine(const QString& text) {
    return text.toStdString();
}

void appendMessage(QString& message, const QString& text) {
    if (!message.isEmpty()) message += QStringLiteral("; ");
    message += text;
}

// The parameters of the previous run that some text may take over again, in slot order.
struct ExistingParam {
    QString name;
    int slot;
};

// One name that no existing parameter carries, with the handle of its new engine variable.
struct NewParam {
    QString name;
    int handle;
};

struct ParamSearch {
    std::vector<ExistingParam> existing;
    std::vector<int> freeSlots;
    std::vector<NewParam> fresh;
};

void stopTimers(core::State& state) {
    state.timerList.clear();
    state.timerMenuCaption = QStringLiteral("Alle &Timer gleichzeitig starten");
    state.hooks.call(state.hooks.timersStopped);
}

void hideParam(core::State& state, int slot) {
    state.params[slot].visible = false;
    state.hooks.call(state.hooks.paramChanged, slot);
}

// Lower-bound windows of lines without an integral function, and sample-count windows whose
// line was renamed, are of no use any more.
void hideStaleLineParams(core::State& state) {
    for (int k = 0; k < core::firstSampleCountSlot; ++k) {
        const auto& p = state.params[k];
        if (p.visible && state.lineSlots[p.owner].integralSpec.isEmpty()) hideParam(state, k);
    }
    for (int k = core::firstSampleCountSlot; k < core::firstSampleCountSlot + core::lineCount;
         ++k) {
        auto& p = state.params[k];
        if (p.visible && p.label != QStringLiteral("anz") + state.lines[p.owner].name) {
            p.handle = -1;
            hideParam(state, k);
        }
    }
}

ParamSearch startParamSearch(const core::State& state) {
    ParamSearch search;
    for (int k = core::firstFreeParamSlot; k <= core::lastParamSlot; ++k) {
        if (state.params[k].handle != -1)
            search.existing.push_back({state.params[k].label, k});
        else
            search.freeSlots.push_back(k);
    }
    return search;
}

// A found name becomes an engine variable; an existing parameter of that name keeps its slot
// and value, any other name waits for a free slot.
void takeName(core::State& state, ParamSearch& search, const QString& name, int handle) {
    state.usedParamNames += name + QLatin1Char(',');
    for (auto it = search.existing.begin(); it != search.existing.end(); ++it) {
        if (it->name != name) continue;
        const int slot = it->slot;
        search.existing.erase(it);
        std::erase(search.freeSlots, slot);
        state.params[slot].handle = handle;
        params::init(state, slot);
        return;
    }
    search.fresh.push_back({name, handle});
}

// Finds every undefined name of one text, one engine report at a time (the engine reports the
// leftmost undefined name). Returns the last error the engine reported for the text.
engine::EngineError collectNames(core::State& state, ParamSearch& search, const QString& text) {
    const std::string engineText = toEngine(text);
    QString lastName;
    engine::EngineError e;
    for (int n = 0; n < maxNamesPerText; ++n) {
        state.engine.eval(engineText);
        e = engine::takeerror(state.engine);
        if (e.code != platform::ErrorCode::undefinedVariable) break;
        const QString name = e.data.toLower();
        const int handle = state.engine.defineVariable(toEngine(name));
        if (handle < 0) return engine::takeerror(state.engine);
        if (name == lastName) break;
        lastName = name;
        takeName(state, search, name, handle);
    }
    return e;
}

// Errors of the text itself, as against errors of a value (a division by zero at x = 1).
bool isSyntaxError(int code) {
    using platform::ErrorCode;
    return (code >= ErrorCode::other && code <= ErrorCode::undefinedVariable) ||
           (code >= ErrorCode::doubleQuote && code <= ErrorCode::factorialArgument);
}

void collectAllNames(core::State& state, ParamSearch& search, QString& message) {
    std::vector<std::pair<QString, QString>> texts; // (label, text)
    for (int j = 0; j < state.linesInUse; ++j)
        texts.emplace_back(state.lines[j].name, state.lineSlots[j].translated);
    // Each line's term and each point's coordinate on its own: a wrong one hides no parameter
    // of the others.
    for (const QString& t : objects::lineParameterTexts(state.extraLinesText, state))
        texts.emplace_back(QStringLiteral("Geradenfenster"), t);
    for (const QString& t : objects::pointParameterTexts(state.pointsText, state))
        texts.emplace_back(QStringLiteral("Punktefenster"), t);
    texts.emplace_back(QStringLiteral("Intervallfenster"), state.rangeText);
    // Lines that use each other evaluate against these stand-ins until defineall; new variables
    // leave them in place, so they are made once for all texts.
    engine::defplaceholders(state);
    for (const auto& [label, text] : texts) {
        if (text.trimmed().isEmpty()) continue;
        const engine::EngineError e = collectNames(state, search, text);
        if (isSyntaxError(e.code) && message.isEmpty())
            message = label + QStringLiteral(": ") + e.text;
    }
}

// Parameters that no text uses any more give their slots back at once, so that a new name can
// take them in the same run (and a run after one with too many names recovers).
void freeUnusedParams(core::State& state, ParamSearch& search) {
    for (const auto& p : search.existing) {
        state.params[p.slot].handle = -1;
        state.params[p.slot].label.clear();
        hideParam(state, p.slot);
        search.freeSlots.push_back(p.slot);
    }
    search.existing.clear();
    std::sort(search.freeSlots.begin(), search.freeSlots.end());
}

bool assignNewParams(core::State& state, ParamSearch& search) {
    // Refuse before taking any slot: half a set of parameter windows helps nobody.
    if (search.fresh.size() > search.freeSlots.size()) {
        state.messages->inform(QStringLiteral("Kurvatur 2"),
                               QStringLiteral("Fehler: mehr als 60 Parameter!"),
                               platform::MessageIcon::Critical);
        return false;
    }
    std::size_t next = 0;
    for (const auto& p : search.fresh) {
        auto& slot = state.params[search.freeSlots[next++]];
        const bool density = p.name == QStringLiteral("dichte");
        slot.label = p.name;
        slot.handle = p.handle;
        slot.minimum = density ? 1 : -10;
        slot.maximum = density ? 1001 : 10;
        slot.step = 1;
        // A new parameter starts at 1, so that a*x^2 shows its parabola at once (at 0 most
        // terms collapse onto an axis).
        slot.value = 1;
        slot.visible = true;
        params::init(state, search.freeSlots[next - 1]);
    }
    return true;
}

void parseRangeFields(core::State& state) {
    for (int row = 0; row < 3; ++row) {
        for (int side = 0; side < 2; ++side) {
            auto& target = side == 0 ? state.rangeExprFrom[row] : state.rangeExprTo[row];
            const QString& text = state.rangeFields[row][side];
            target = core::RangeExpr{};
            if (text.trimmed().isEmpty()) continue;
            target.expr = state.engine.parse(toEngine(text));
            target.status = target.expr.valid() ? core::RangeExpr::Parsed : core::RangeExpr::Failed;
            if (!target.expr.valid()) state.engine.clearError();
        }
    }
}

} // namespace

void defintegralparams(core::State& state) {
    for (int i = 0; i < core::lineCount; ++i) {
        auto& line = state.lines[i];
        const int s = line.slot;
        auto& lower = state.params[s];
        auto& count = state.params[s + core::firstSampleCountSlot];
        count.minimum = 2;
        count.maximum = 1002;
        if (line.name.isEmpty()) {
            lower.label.clear();
            lower.handle = -1;
            count.handle = -1;
            line.sampleCount = 499;
            continue;
        }
        const QString lowerName = QStringLiteral("u") + line.name;
        lower.label =
            lowerName + QStringLiteral(" = untere Grenze für Integralfunktion in ") + line.name;
        lower.handle = state.engine.defineVariable(toEngine(lowerName));
        lower.value = line.lowerBound;
        lower.owner = i;
        params::init(state, s);

        const QString countName = QStringLiteral("anz") + line.name;
        count.label = countName;
        count.handle = state.engine.defineVariable(toEngine(countName));
        count.value = line.sampleCount + 1;
        count.owner = i;
        params::init(state, s + core::firstSampleCountSlot);
    }
}

namespace {

// The steps that must not redraw on the way: engine reset, line checks, parameters. Their
// messages go into message; false when the parameter slots ran out.
bool assemble(core::State& state, QString& message) {
    core::BusyScope busy(state);
    engine::resetengine(state);
    state.engine.setVariable(state.handles.x, 1);
    engine::initengine(state.engine);
    state.engine.setTrigMode(int(state.trigMode));

    message = terms::checknames(state);
    defintegralparams(state);
    for (int i = 0; i <= state.lastLine; ++i) {
        const QString m = engine::checkterm(state, i);
        if (!m.isEmpty()) {
            state.lineSlots[i].translated.clear();
            appendMessage(message, state.lines[i].name + callArgument + QStringLiteral(": ") + m);
        }
        engine::integralspec(state, i);
    }
    for (int i = state.linesInUse; i < core::lineCount; ++i) {
        state.lineSlots[i].translated.clear();
        state.lineSlots[i].integralSpec.clear();
    }

    hideStaleLineParams(state);
    ParamSearch search = startParamSearch(state);
    collectAllNames(state, search, message);
    freeUnusedParams(state, search);
    if (!assignNewParams(state, search)) return false;
    if (busy.outermost()) {
        state.hooks.call(state.hooks.paramListRefresh);
        if (state.arrangeParamsOnApply) state.hooks.call(state.hooks.arrangeParams);
    }
    return true;
}

} // namespace

bool applydata(core::State& state) {
    stopTimers(state);
    state.usedParamNames.clear();
    QString message;
    if (!assemble(state, message)) return false;

    const QString undefined = engine::defineall(state);
    if (!undefined.isEmpty()) message = undefined;
    if (message.isEmpty())
        terms::showerror(state, QStringLiteral("Ok."), 0);
    else
        terms::showerror(state, message, darkRed);

    core::evalintervals(state);
    state.hooks.call(state.hooks.rangeWindowUpdate);
    parseRangeFields(state);
    graph::setscale(state);
    state.hooks.call(state.hooks.docalc);
    return true;
}

} // namespace session
