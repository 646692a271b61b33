#include "engine/linedefs.h"

#include "core/state.h"
#include "engine/calls.h"
#include "engine/enginedefs.h"
#include "engine/translate.h"

#include <QStringList>

#include <vector>

namespace engine {

namespace {

const QString resetText = QStringLiteral("35000,1000,1000,4000,300");
const QString callArgument = QStringLiteral("(_x)");

std::string toEngine(const QString& text) {
    return text.toStdString();
}

// A line whose function ends up calling itself cannot be drawn; the engine reports it at the
// first evaluation. Such lines get an empty body and a message.
// Named lines without a usable term get an empty body: a call of it is an error, never the
// placeholder's value.
void defineEmptyBodies(core::State& state) {
    for (int i = 0; i <= state.lastLine; ++i) {
        const auto& line = state.lines[i];
        if (!line.name.isEmpty() && state.lineSlots[i].translated.isEmpty())
            state.engine.defineFunction(toEngine(line.name + callArgument + QLatin1Char('=')));
    }
}

void checkRecursion(core::State& state, QStringList& messages) {
    for (int i = 0; i <= state.lastLine; ++i) {
        const auto& line = state.lines[i];
        if (line.name.isEmpty() || state.lineSlots[i].translated.isEmpty()) continue;
        state.engine.eval(toEngine(line.name + callArgument));
        const bool recursive = state.engine.recursionError();
        const EngineError e = takeerror(state.engine);
        if (recursive) {
            messages << line.name + callArgument + QStringLiteral(": ") + e.text;
            state.lineSlots[i].translated.clear();
        }
    }
    defineEmptyBodies(state);
}

// A function name without its argument would become a parameter of that name ("sin + 1" with a
// slider called sin, drawn as a constant). A name that the engine also knows as a variable (a
// line named e beside the constant e) stays a variable.
QString uncalledFunction(core::State& state, const QString& text) {
    for (const QString& name : uncalledfunctions(text, linenames(state))) {
        const std::string value = toEngine(name);
        if (checkedcall(state.engine, [&] { state.engine.eval(value); }).failed()) return name;
    }
    return {};
}

} // namespace

void resetengine(core::State& state) {
    auto& engine = state.engine;
    engine.reset(toEngine(resetText));
    auto& h = state.handles;
    h.x = engine.defineVariable("_x");
    h.qq = engine.defineVariable("qq");
    h.sw = engine.defineVariable("sw");
    h.xmu = engine.defineVariable("xmu");
    h.xmi = engine.defineVariable("xmi");
    h.ymu = engine.defineVariable("ymu");
    h.ymi = engine.defineVariable("ymi");
}

QString checkterm(core::State& state, int i) {
    const QString& term = state.lines[i].term;
    QString full = translate(term, false, state);
    full.replace(QLatin1Char(':'), QLatin1Char('/'));
    state.lineSlots[i].translated = full;

    QString plain = term;
    plain.remove(QLatin1Char('\''));
    plain = translate(plain, true, state);
    plain.replace(QLatin1Char(':'), QLatin1Char('/'));
    if (plain.isEmpty()) return {};

    defplaceholders(state);
    state.engine.parse(toEngine(plain));
    const EngineError e = takeerror(state.engine, {platform::ErrorCode::undefinedVariable});
    if (!e.text.isEmpty()) return e.text;
    if (const QString name = uncalledFunction(state, plain); !name.isEmpty())
        return QStringLiteral("Argument für ") + name + QStringLiteral(" fehlt!");
    // A derivative of a function that no line defines leaves nothing to draw: say so rather
    // than report the line as fine.
    if (full.isEmpty()) return errtext(state.engine, platform::ErrorCode::syntax);
    return {};
}

void defplaceholders(core::State& state) {
    for (int i = 0; i <= state.lastLine; ++i) {
        const QString& name = state.lines[i].name;
        if (!name.isEmpty())
            state.engine.defineFunction(toEngine(name + callArgument + QStringLiteral("=1")));
    }
}

QString defineall(core::State& state) {
    const int lines = state.lastLine + 1;
    std::vector<bool> pending(lines, true);
    QStringList messages;
    for (int pass = 1; pass <= lines; ++pass) {
        for (int i = 0; i < lines; ++i) {
            if (!pending[i]) continue;
            QString& translated = state.lineSlots[i].translated;
            state.engine.eval(toEngine(translated));
            const EngineError e = takeerror(state.engine);
            if (e.code != platform::ErrorCode::undefinedFunction) {
                pending[i] = false;
                // A term the engine refuses (a syntax error behind a new parameter, which the
                // term check cannot see) must not leave the placeholder's value 1 standing: the
                // line gets an empty body below, like every other faulty line.
                if (!translated.isEmpty() &&
                    !state.engine.defineFunction(toEngine(state.lines[i].name + callArgument +
                                                          QLatin1Char('=') + translated))) {
                    translated.clear();
                    state.engine.clearError();
                }
            } else if (pass > lines - 2) {
                translated.clear();
                messages << e.text;
            }
        }
    }
    defineEmptyBodies(state);
    checkRecursion(state, messages);
    return messages.join(QStringLiteral("; "));
}

void integralspec(core::State& state, int i) {
    QString t = state.lineSlots[i].translated;
    for (int p = 0; p + 1 < t.size(); ++p) {
        const QChar c = t.at(p);
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z') && t.at(p + 1) == QLatin1Char('(')) {
            t = t.left(p) + QStringLiteral("integral(") + c.toLower() + t.mid(p + 1) +
                QLatin1Char(')');
            break;
        }
    }
    auto& slot = state.lineSlots[i];
    slot.integralSpec = t.startsWith(QStringLiteral("integral(")) ? callgroup(t, 9) : QString();
    if (state.autoIntegralRecognition) {
        const int k = state.lines[i].slot;
        state.params[k].visible = !slot.integralSpec.isEmpty();
        state.hooks.call(state.hooks.paramChanged, k);
    }
}

} // namespace engine
