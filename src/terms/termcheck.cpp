#include "terms/termcheck.h"

#include "core/intervals.h"
#include "core/numbers.h"
#include "engine/enginedefs.h"
#include "engine/translate.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace terms {

namespace {

const QString tooManyEquals = QStringLiteral("Zu viele Gleichheitszeichen!");
const QString nameMissing = QStringLiteral("Funktionsname fehlt!");
const QString termMissing = QStringLiteral("Funktionsterm fehlt!");
const QString semicolonMissing = QStringLiteral("Semikolon fehlt!");
const QString curvePrefix = QStringLiteral("Param. für ");

// Index of the last line in use, kept inside the table whatever the caller left there.
int lastLineInUse(const core::State& state) {
    return std::clamp(state.lastLine, -1, core::lineCount - 1);
}

QString withoutBlanks(QString text) {
    text.removeIf([](QChar c) { return c.isSpace(); });
    return text;
}

std::string toEngine(const QString& text) {
    return text.toStdString();
}

// The pool of free one-letter names runs dry only when lines were added and deleted many times;
// it then starts afresh without the names that records still carry.
void refillNames(core::State& state) {
    state.resetnames();
    for (const auto& line : state.lines)
        state.usename(line.name);
}

// Why the engine refuses a name as a function of one argument. The error text of some codes
// already ends with the name concerned; it is not repeated then.
QString refusal(platform::MathEngine& engine, const engine::EngineError& e) {
    QString text = e.text.isEmpty() ? engine::errtext(engine, platform::ErrorCode::syntax) : e.text;
    if (!e.data.isEmpty() && !text.endsWith(e.data))
        text += QStringLiteral(": ") + e.data.toLower();
    return text;
}

// The term as the user typed it: everything after the first "=", or the whole line without one.
QString shownTermOf(const QString& typed) {
    const qsizetype p = typed.indexOf(QLatin1Char('='));
    return (p < 0 ? typed : typed.mid(p + 1)).trimmed();
}

QString intervalLine(const core::FuncLine& line) {
    return (line.kind >= 0 ? curvePrefix : QString()) + line.name + QStringLiteral(": ] ") +
           line.intervalText + QStringLiteral(" [");
}

QString termLine(const core::FuncLine& line) {
    return line.name + QLatin1Char('(') + line.variable + QStringLiteral(") = ") + line.shownTerm;
}

} // namespace

namespace {

struct Head {
    QString name;
    QString variable;
};

// A head whose first ")" comes before its first "(" has no variable group; the whole head is
// then taken as the name, and the engine refuses it.
Head splitHead(const QString& head) {
    const qsizetype open = head.indexOf(QLatin1Char('('));
    const qsizetype close = head.indexOf(QLatin1Char(')'));
    if (open >= 0 && close > open)
        return {head.left(open).trimmed(), head.mid(open + 1, close - open - 1)};
    return {head, QString()};
}

// The name that a typed line gives in its head; empty when it has no "=".
QString headName(const QString& typed) {
    const QString s = withoutBlanks(typed);
    const qsizetype p = s.indexOf(QLatin1Char('='));
    return p < 0 ? QString() : splitHead(s.left(p)).name;
}

// The line that makes a curve with a line of this name ("ya" for "xa", "x" for "y"), as checkxy
// pairs them; empty for a name that is no curve part.
QString curvePartner(const QString& name) {
    if (name.startsWith(QLatin1Char('x'))) return QLatin1Char('y') + name.mid(1);
    if (name.startsWith(QLatin1Char('y'))) return QLatin1Char('x') + name.mid(1);
    return {};
}

// "f = x^2" means f(x) = x^2, not a function of nothing in which x is a parameter. A head
// without a variable therefore takes the running variable of what the line draws: t for a part
// of a curve (its partner is typed too), x for a function.
QString runningVariableOf(const core::State& state, const QString& name) {
    const QString partner = curvePartner(name);
    if (!partner.isEmpty()) {
        for (int i = 0; i <= lastLineInUse(state); ++i)
            if (headName(state.termEditor.texts[i]) == partner) return QStringLiteral("t");
    }
    return QStringLiteral("x");
}

void acceptLine(core::State& state, int i, const Head& head) {
    auto& line = state.lines[i];
    auto& editor = state.termEditor;
    line.name = head.name;
    state.usename(head.name);
    line.variable = head.variable;
    line.shownTerm = shownTermOf(editor.texts[i]);
    // The engine matches names without regard to case: X in a term of f(x) can only mean the
    // variable (as a parameter x it would be drawn as a constant).
    line.term = engine::replword(line.shownTerm, head.variable, core::variableMarker, 3,
                                 Qt::CaseInsensitive);
    editor.texts[i] = termLine(line);
    if (head.name.startsWith(QLatin1Char('x')))
        editor.xList += head.name.mid(1) + QLatin1Char(',') + QString::number(i) + QLatin1Char(':');
}

// The engine decides whether the name can serve as a function of one argument. Returns the
// message, empty when the line is accepted.
QString checkName(core::State& state, int i, const Head& head) {
    auto& engine = state.engine;
    // A name the engine already calls is a predefined function or a line above.
    const std::string call = toEngine(head.name + QStringLiteral("(1)"));
    const auto callName = [&] { engine.eval(call); };
    if (!engine::checkedcall(engine, callName).failed())
        return QStringLiteral("Funktionsname ") + head.name +
               QStringLiteral(" wird bereits verwendet!");

    // The temporary definition stays until the data-set assembly defines the line functions
    // anew; it keeps a later line from taking the same name.
    engine.defineFunction(
        toEngine(head.name + QLatin1Char('(') + core::runningVariable + QStringLiteral(")=1")));
    const engine::EngineError e = engine::checkedcall(engine, callName);
    if (e.failed()) return refusal(engine, e);
    acceptLine(state, i, head);
    return {};
}

// Checks line i and fills its record when it is accepted; the message, empty when none.
QString checkLine(core::State& state, int i) {
    auto& line = state.lines[i];
    line.name.clear();
    line.term.clear();
    line.variable.clear();
    // checkxy sets the curve kinds afresh; a rejected line must not stay a curve part.
    line.kind = core::kindFunction;

    QString s = withoutBlanks(state.termEditor.texts[i]);
    if (s.isEmpty()) return {};
    qsizetype p = s.indexOf(QLatin1Char('='));
    if (p < 0) {
        if (state.freeNames.isEmpty()) refillNames(state);
        if (state.freeNames.isEmpty()) return nameMissing;
        s = state.freeNames.left(1) + QStringLiteral("(x)=") + s;
        p = 4;
    }
    if (s.indexOf(QStringLiteral("=="), p) >= 0) return tooManyEquals;
    Head head = splitHead(s.left(p));
    if (head.name.isEmpty()) return nameMissing;
    if (head.variable.isEmpty()) head.variable = runningVariableOf(state, head.name);
    if (s.mid(p + 1).trimmed().isEmpty()) return termMissing;
    return checkName(state, i, head);
}

} // namespace

QString checknames(core::State& state) {
    auto& editor = state.termEditor;
    if (editor.termState != 0) return {};
    QString message;
    editor.xList = QStringLiteral(":");
    for (int i = 0; i <= lastLineInUse(state); ++i)
        message += checkLine(state, i);
    checkxy(state);
    // The engine frees the expressions of these checks by itself; nothing is left to release.

    if (message.isEmpty())
        showerror(state, QStringLiteral("o.k."), statusNormal);
    else
        showerror(state, message, statusRed);
    return message;
}

void checkxy(core::State& state) {
    const QString& xList = state.termEditor.xList;
    if (xList == QStringLiteral(":")) return;
    for (int j = 0; j <= lastLineInUse(state); ++j) {
        const QString& name = state.lines[j].name;
        if (!name.startsWith(QLatin1Char('y'))) continue;
        const QString key = QLatin1Char(':') + name.mid(1) + QLatin1Char(',');
        const qsizetype at = xList.indexOf(key);
        if (at < 0) continue;
        const qsizetype from = at + key.size();
        const qsizetype to = xList.indexOf(QLatin1Char(':'), from);
        bool ok = false;
        const int k = xList.mid(from, to < 0 ? -1 : to - from).toInt(&ok);
        if (!ok || k < 0 || k >= core::lineCount) continue;
        state.lines[j].kind = core::kindCurvePart;
        state.lines[k].kind = j;
    }
}

void showerror(core::State& state, const QString& text, core::Colour colour) {
    auto& editor = state.termEditor;
    editor.statusText = text;
    editor.statusColour = colour;
    state.hooks.call(state.hooks.termStatusChanged);
}

void setstate(core::State& state, int s) {
    auto& editor = state.termEditor;
    if (s < 0) s = editor.termState;
    s = s == 0 ? 0 : 1;
    editor.editTermsEnabled = s == 1;
    editor.editIntervalEnabled = s == 0;
    editor.termState = s;
    editor.backButtonCaption = s == 0 ? QStringLiteral("[ a ; b ]") : QStringLiteral("Terme");
    editor.windowCaption =
        s == 0 ? QStringLiteral("Funktionsterme") : QStringLiteral("Darstellungsintervalle");

    for (int i = 0; i <= lastLineInUse(state); ++i) {
        const auto& line = state.lines[i];
        QString& text = editor.texts[i];
        if (line.name.isEmpty())
            text.clear();
        else if (s == 0)
            text = termLine(line);
        else
            text = line.kind == core::kindCurvePart ? QString() : intervalLine(line);
    }
}

QString readintervals(core::State& state) {
    auto& editor = state.termEditor;
    if (editor.termState != 1) return {};
    bool missing = false;

    for (int i = 0; i <= lastLineInUse(state); ++i) {
        auto& line = state.lines[i];
        QString s = withoutBlanks(editor.texts[i]);
        qsizetype p = s.indexOf(QLatin1Char(':'));
        if (p < 0) p = s.indexOf(QLatin1Char(']'));
        s = s.mid(p + 1);
        s.remove(QLatin1Char('['));
        s.remove(QLatin1Char(']'));

        if (!s.isEmpty()) {
            const qsizetype q = s.indexOf(QLatin1Char(';'));
            if (q < 0) {
                // This line keeps its bounds and its text; the other lines are still read and
                // written in normal form, so that no line shows an interval it does not have.
                missing = true;
                continue;
            }
            line.lowerText = s.left(q);
            line.lowerText.remove(QStringLiteral("-oo"));
            line.lowerText.remove(QStringLiteral("oo"));
            line.upperText = s.mid(q + 1);
            line.upperText.remove(QStringLiteral("+oo"));
            line.upperText.remove(QStringLiteral("oo"));
        }
        if (line.kind == core::kindCurvePart) continue;
        line.intervalText = (line.lowerText.isEmpty() ? QStringLiteral("-oo") : line.lowerText) +
                            QStringLiteral(" ; ") +
                            (line.upperText.isEmpty() ? QStringLiteral("+oo") : line.upperText);
        if (!line.name.isEmpty()) editor.texts[i] = intervalLine(line);
    }

    if (!missing) showerror(state, QStringLiteral("o.k."), statusNormal);
    state.hooks.call(state.hooks.rangeApply);
    core::evalintervals(state);
    // The range window writes its own status; a missing semicolon must still be seen.
    if (missing) {
        showerror(state, semicolonMissing, statusRed);
        return semicolonMissing;
    }
    return {};
}

QString entpara(const core::State& state, const QString& text) {
    QString t = text;
    for (const auto& p : state.params) {
        if (p.handle == -1) continue;
        // The label of a lower-bound slot carries an explanation after the name
        // ("uf = untere Grenze ..."); only the name can stand in a term.
        const QString name = p.label.section(QLatin1Char(' '), 0, 0);
        if (name.isEmpty()) continue;
        QString value = core::germanNumber(p.value);
        if (p.value < 0) value = QLatin1Char('(') + value + QLatin1Char(')');
        // The engine takes "A" for the parameter a; so must the copy with values.
        t = engine::replword(t, name, value, 3, Qt::CaseInsensitive);
    }
    return t;
}

void findandget(core::State& state, int i) {
    state.hooks.call(state.hooks.applydata);
    if (state.arrangeParamsOnApply) state.hooks.call(state.hooks.arrangeParams);
    if (i == 0) state.hooks.call(state.hooks.redrawall);
}

void findandgetpre(core::State& state, int i) {
    if (state.termEditor.termState == 0)
        findandget(state, i);
    else
        readintervals(state);
    state.hooks.call(state.hooks.collectionTakeOver);
}

} // namespace terms
