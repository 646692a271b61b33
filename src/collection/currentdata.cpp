#include "collection/currentdata.h"

#include "core/numbers.h"
#include "core/scopes.h"
#include "engine/attributes.h"
#include "engine/translate.h"
#include "params/paramlogic.h"
#include "session/applydata.h"
#include "session/ranges.h"
#include "terms/termrows.h"

#include <QStringList>

#include <array>
#include <cmath>
#include <optional>

namespace collection {

namespace {

const QString crlf = QStringLiteral("\r\n");
const QString hiddenMark = QStringLiteral("(aus)");
const QString invalidLine = QStringLiteral("Ungültige Zeile!");
const QString invalidInterval = QStringLiteral("Ungültige Intervallangabe!");
const QString tooManyLines = QStringLiteral("Mehr als 13 Funktionsgleichungen!");
const QString badAttributes = QStringLiteral("Fehler in der Sammlungsdatei, in Attribut-Zeile!");
const QString syntaxError = QStringLiteral("Syntax-Fehler!");

constexpr std::array<char, 3> rangeRows = {'x', 'y', 't'};

// The fields are read back into the state: a number must come back as the very value.
QString num(double v) {
    return core::exactNumber(v);
}

QStringList fieldLines(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QString l = line;
        if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
        if (!l.trimmed().isEmpty()) lines << l.trimmed();
    }
    return lines;
}

// Index of the line in use named name, or -1.
int lineNamed(const core::State& state, const QString& name) {
    for (int i = 0; i < state.linesInUse; ++i)
        if (!name.isEmpty() && state.lines[i].name == name) return i;
    return -1;
}

bool anyCurve(const core::State& state) {
    for (int i = 0; i < state.linesInUse; ++i)
        if (state.lines[i].kind >= 0) return true;
    return false;
}

// --- building fields from the state --------------------------------------------------------

QString termsText(const core::State& state) {
    QStringList lines;
    for (int i = 0; i < state.linesInUse; ++i) {
        const auto& line = state.lines[i];
        QString text = line.name + QLatin1Char('(') + line.variable + QStringLiteral(")=");
        if (!line.name.isEmpty()) text += line.shownTerm;
        if (!line.drawn) text += QLatin1Char(' ') + hiddenMark;
        lines << text;
    }
    return lines.join(crlf);
}

QString timerText(const core::ParamSlot& p) {
    if (p.step == 0) return {};
    return QStringLiteral(" (") + (p.timerMode == 1 ? QLatin1Char('h') : QLatin1Char('z')) +
           num(p.step) + QLatin1Char(')');
}

bool listedParam(const core::ParamSlot& p) {
    return p.handle != -1 && !p.label.isEmpty();
}

QString paramsText(const core::State& state) {
    QStringList lines;
    for (int k = core::firstSampleCountSlot; k <= core::lastParamSlot; ++k) {
        const auto& p = state.params[k];
        if (listedParam(p)) lines << p.label + QLatin1Char('=') + num(p.value) + timerText(p);
    }
    return lines.join(crlf);
}

QString boundsText(const core::State& state) {
    QStringList lines;
    for (int k = core::firstSampleCountSlot; k <= core::lastParamSlot; ++k) {
        const auto& p = state.params[k];
        if (listedParam(p))
            lines << p.label + QLatin1Char('[') + num(p.minimum) + QLatin1Char(';') +
                         num(p.maximum) + QLatin1Char(']');
    }
    return lines.join(crlf);
}

QString rangesText(const core::State& state) {
    const core::Ranges& r = state.ranges;
    const std::array<std::array<double, 2>, 3> bounds = {
        {{r.xMin, r.xMax}, {r.yMin, r.yMax}, {r.tMin, r.tMax}}};
    const int rows = anyCurve(state) ? 3 : 2;
    QStringList lines;
    for (int row = 0; row < rows; ++row) {
        const QChar key = QLatin1Char(rangeRows[row]);
        lines << key + QLatin1Char('[') + num(bounds[row][0]) + QLatin1Char(';') +
                     num(bounds[row][1]) + QLatin1Char(']');
        lines << key + QStringLiteral("$[") + state.rangeFields[row][0] + QLatin1Char(';') +
                     state.rangeFields[row][1] + QLatin1Char(']');
    }
    for (int i = 0; i < state.linesInUse; ++i) {
        const auto& line = state.lines[i];
        if (line.name.isEmpty() || (line.lowerText.isEmpty() && line.upperText.isEmpty())) continue;
        lines << QLatin1Char('D') + line.name + QLatin1Char('[') +
                     (line.lowerText.isEmpty() ? QStringLiteral("-oo") : line.lowerText) +
                     QLatin1Char(';') +
                     (line.upperText.isEmpty() ? QStringLiteral("+oo") : line.upperText) +
                     QLatin1Char(']');
    }
    return lines.join(crlf);
}

QString lowerBoundsText(const core::State& state) {
    QStringList lines;
    for (int i = 0; i < state.linesInUse; ++i) {
        const auto& line = state.lines[i];
        if (line.name.isEmpty() || state.lineSlots[line.slot].integralSpec.isEmpty()) continue;
        lines << QLatin1Char('u') + line.name + QLatin1Char('=') +
                     num(state.params[line.slot].value);
    }
    return lines.join(crlf);
}

// "name:value," for every line in use.
template <class Value> QString lineList(const core::State& state, Value value) {
    QString text;
    for (int i = 0; i < state.linesInUse; ++i)
        text +=
            state.lines[i].name + QLatin1Char(':') + QString::number(value(i)) + QLatin1Char(',');
    return text;
}

// --- applying fields to the state ----------------------------------------------------------

using Result = std::optional<QString>; // a fault, or nothing when the field applied

double numberOr(core::State& state, const QString& text, double fallback) {
    return core::evalnum(state.engine, text).value_or(fallback);
}

// The text between "[" and "]" split at ";"; nothing when one of the three is missing.
std::optional<std::array<QString, 2>> bracketPair(const QString& line) {
    const qsizetype open = line.indexOf(QLatin1Char('['));
    const qsizetype semi = line.indexOf(QLatin1Char(';'), open + 1);
    const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
    if (open < 0 || semi < 0 || close < semi) return std::nullopt;
    return std::array<QString, 2>{line.mid(open + 1, semi - open - 1).trimmed(),
                                  line.mid(semi + 1, close - semi - 1).trimmed()};
}

// The older width line "$f2$g3$": names followed by their widths.
void applyWidthLine(core::State& state, const QString& line) {
    for (const QString& item : line.split(QLatin1Char('$'), Qt::SkipEmptyParts)) {
        qsizetype digits = item.size();
        while (digits > 0 && item.at(digits - 1).isDigit())
            --digits;
        const int i = lineNamed(state, item.left(digits).trimmed());
        if (i < 0 || digits == item.size()) continue;
        state.lines[i].lineWidth = item.mid(digits).toInt();
    }
}

Result applyTerms(core::State& state, const QString& text) {
    QStringList widthLines;
    int count = 0;
    for (QString line : fieldLines(text)) {
        if (line.size() > 1 && line.startsWith(QLatin1Char('$')) &&
            line.endsWith(QLatin1Char('$'))) {
            widthLines << line;
            continue;
        }
        if (count == core::lineCount) return tooManyLines;
        auto& record = state.lines[count];
        record.drawn = !line.contains(hiddenMark);
        line.remove(hiddenMark);
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const qsizetype open = line.indexOf(QLatin1Char('('));
        const qsizetype close = line.indexOf(QLatin1Char(')'));
        if (eq < 0 || open < 0 || close < open || close > eq) return invalidLine;
        ++count;
        state.linesInUse = count;
        const QString term = line.mid(eq + 1).trimmed();
        if (term.isEmpty()) continue;
        record.name = line.left(open).trimmed();
        record.variable = line.mid(open + 1, close - open - 1).trimmed();
        record.shownTerm = term;
        record.term =
            engine::replword(term, record.variable, core::variableMarker, 3, Qt::CaseInsensitive);
        state.usename(record.name);
    }
    for (const QString& line : widthLines)
        applyWidthLine(state, line);
    return std::nullopt;
}

Result applyRangeLine(core::State& state, const QString& line, int row, bool typed) {
    const auto pair = bracketPair(line);
    if (!pair) return invalidInterval;
    if (typed) {
        state.rangeFields[row] = *pair;
        return std::nullopt;
    }
    core::Ranges& r = state.ranges;
    std::array<double*, 2> target = row == 0   ? std::array{&r.xMin, &r.xMax}
                                    : row == 1 ? std::array{&r.yMin, &r.yMax}
                                               : std::array{&r.tMin, &r.tMax};
    for (int side = 0; side < 2; ++side)
        *target[side] = numberOr(state, (*pair)[side], *target[side]);
    return std::nullopt;
}

QString withoutInfinity(QString bound) {
    for (const char* mark : {"-oo", "+oo", "oo"})
        bound.remove(QLatin1String(mark));
    return bound.trimmed();
}

Result applyIntervals(core::State& state, const QString& text) {
    for (const QString& line : fieldLines(text)) {
        if (line.startsWith(QLatin1Char('D')) && line.contains(QLatin1Char('['))) {
            const auto pair = bracketPair(line);
            if (!pair) return invalidInterval;
            QString name = line.mid(1, line.indexOf(QLatin1Char('[')) - 1).trimmed();
            name.remove(QLatin1Char('!'));
            const int i = lineNamed(state, name);
            if (i < 0) continue;
            state.lines[i].lowerText = withoutInfinity((*pair)[0]);
            state.lines[i].upperText = withoutInfinity((*pair)[1]);
            continue;
        }
        const int row = int(QStringLiteral("xyt").indexOf(line.left(1)));
        const bool typed = line.mid(1, 2) == QStringLiteral("$[");
        if (row < 0 || !(typed || line.mid(1, 1) == QStringLiteral("["))) return invalidLine;
        if (Result fault = applyRangeLine(state, line, row, typed)) return fault;
    }
    return std::nullopt;
}

// A list "name:value," of lines: each value goes to the line of that name. The list holds one
// item for each line in use, in order, so an item without a name (a line the user has not typed
// yet, whose colour or width he already chose) belongs to the line at its place.
template <class Apply> Result applyLineList(core::State& state, const QString& text, Apply apply) {
    QString list = fieldLines(text).join(QString());
    list.replace(QLatin1Char('.'), QLatin1Char(','));
    const QStringList items = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (int place = 0; place < items.size(); ++place) {
        const QString& item = items[place];
        const qsizetype colon = item.indexOf(QLatin1Char(':'));
        if (colon < 0) return syntaxError;
        bool ok = false;
        const qlonglong value = item.mid(colon + 1).trimmed().toLongLong(&ok);
        if (!ok) return syntaxError;
        const QString name = item.left(colon).trimmed();
        const int i =
            name.isEmpty() ? (place < state.linesInUse ? place : -1) : lineNamed(state, name);
        if (i >= 0) apply(state.lines[i], value);
    }
    return std::nullopt;
}

// A parameter without a timer part has no timer step, whatever the assembly gave a new one.
void applyTimer(core::State& state, core::ParamSlot& p, QString timer) {
    timer.remove(QLatin1Char(' '));
    p.step = 0;
    p.timerMode = 0;
    if (timer.isEmpty()) return;
    p.timerMode = timer.startsWith(QLatin1Char('h')) ? 1 : 0;
    p.step = numberOr(state, timer.mid(1), 0);
}

Result applyParamLine(core::State& state, const QString& line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) return invalidLine;
    const int k = state.findparam(line.left(eq).trimmed());
    QString rest = line.mid(eq + 1);
    const qsizetype open = rest.indexOf(QLatin1Char('('));
    const QString timer = open < 0 ? QString() : rest.mid(open + 1).section(QLatin1Char(')'), 0, 0);
    if (open >= 0) rest.truncate(open);
    if (k < 0) return std::nullopt; // no term uses the parameter any more
    auto& p = state.params[k];
    params::setpar(state, k, numberOr(state, rest, p.value));
    applyTimer(state, p, timer);
    return std::nullopt;
}

Result applyParams(core::State& state, const QString& text) {
    for (const QString& line : fieldLines(text))
        if (Result fault = applyParamLine(state, line)) return fault;
    return std::nullopt;
}

Result applyBounds(core::State& state, const QString& text) {
    for (const QString& line : fieldLines(text)) {
        const auto pair = bracketPair(line);
        if (!pair) return invalidInterval;
        const int k = state.findparam(line.left(line.indexOf(QLatin1Char('['))).trimmed());
        if (k < 0) continue;
        const auto lo = core::evalnum(state.engine, (*pair)[0]);
        const auto hi = core::evalnum(state.engine, (*pair)[1]);
        // Bounds the parameter window would refuse are passed over, as the window keeps its own.
        if (lo && hi && *lo < *hi) params::setparb(state, k, *lo, *hi);
    }
    return std::nullopt;
}

// "u" and a line's name: the lower bound of that line's integral function. A parameter whose
// name begins with "u" lands in this field too when a file is read; it is set as a parameter.
Result applyLowerBounds(core::State& state, const QString& text) {
    for (const QString& line : fieldLines(text)) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) return invalidLine;
        const int i = lineNamed(state, line.mid(1, eq - 1).trimmed());
        if (i < 0) {
            if (Result fault = applyParamLine(state, line)) return fault;
            continue;
        }
        const int slot = state.lines[i].slot;
        params::setpar(state, slot, numberOr(state, line.mid(eq + 1), state.params[slot].value));
    }
    return std::nullopt;
}

// A slot that the entry does not name starts with the timer settings of a new parameter.
void resetForEntry(core::State& state) {
    state.initrecords();
    state.linesInUse = 0;
    state.resetnames();
    // An entry without typed ranges must not leave those of the last one in the range window.
    state.rangeFields = {};
    for (auto& p : state.params) {
        p.step = 1;
        p.timerMode = 0;
    }
}

// The records as the term window shows them, and the data set assembled from them. The bounds
// of the entry's intervals and ranges may name parameters: the assembly must see them.
void assemble(core::State& state) {
    terms::init(state, state.linesInUse);
    session::makedtxt(state);
    session::applydata(state);
}

struct FieldStep {
    int field;
    Result (*apply)(core::State&, const QString&);
};

Result applyAttributes(core::State& state, const QString& text) {
    const QString list = fieldLines(text).join(QString());
    if (list.isEmpty()) return std::nullopt;
    if (!list.contains(QLatin1Char(':'))) return badAttributes;
    engine::readattrs(state, list, engine::fromCollection);
    return std::nullopt;
}

Result applyColours(core::State& state, const QString& text) {
    return applyLineList(state, text, [&state](core::FuncLine& line, qlonglong v) {
        state.lineColours[line.slot] = core::Colour(v);
    });
}

Result applyWidths(core::State& state, const QString& text) {
    return applyLineList(state, text, [&state](core::FuncLine& line, qlonglong v) {
        line.lineWidth = int(v);
        state.lineSlots[line.slot].width = int(v);
    });
}

Result applyLineTypes(core::State& state, const QString& text) {
    return applyLineList(state, text,
                         [](core::FuncLine& line, qlonglong v) { line.lineType = int(v); });
}

// Before the assembly: what the records, ranges and pens are made of. After it: what needs the
// parameters that the assembly finds in the terms.
constexpr std::array<FieldStep, 6> beforeAssembly = {{{attribsField, applyAttributes},
                                                      {termsField, applyTerms},
                                                      {rangesField, applyIntervals},
                                                      {coloursField, applyColours},
                                                      {widthsField, applyWidths},
                                                      {lineTypesField, applyLineTypes}}};
constexpr std::array<FieldStep, 3> afterAssembly = {
    {{paramsField, applyParams}, {boundsField, applyBounds}, {lowerBoundField, applyLowerBounds}}};

template <std::size_t N>
std::optional<ApplyStatus> applySteps(core::State& state, const Fields& fields,
                                      const std::array<FieldStep, N>& steps) {
    for (const FieldStep& step : steps)
        if (Result fault = step.apply(state, fields[step.field]))
            return ApplyStatus{QStringLiteral("Eingabefeld \"") + fieldName(step.field) +
                                   QStringLiteral("\": ") + *fault,
                               applyErrorColour};
    return std::nullopt;
}

} // namespace

QString fieldName(int field) {
    static const std::array<QString, 9> names = {QStringLiteral("Funktionsterme"),
                                                 QStringLiteral("Parameter"),
                                                 QStringLiteral("Parameter-Grenzen"),
                                                 QStringLiteral("Intervalle"),
                                                 QStringLiteral("Stammfunktionsgrenzen"),
                                                 QStringLiteral("Farben"),
                                                 QStringLiteral("Dicke"),
                                                 QStringLiteral("Linientyp"),
                                                 QStringLiteral("Andere")};
    return field >= termsField && field <= attribsField ? names[field - termsField] : QString();
}

QString addone(core::State& state, int field) {
    switch (field) {
    case termsField:
        return termsText(state);
    case paramsField:
        return paramsText(state);
    case boundsField:
        return boundsText(state);
    case rangesField:
        return rangesText(state);
    case lowerBoundField:
        return lowerBoundsText(state);
    case coloursField:
        return lineList(state, [&](int i) { return state.lineColours[state.lines[i].slot]; });
    case widthsField:
        return lineList(state, [&](int i) { return state.lines[i].lineWidth; });
    case lineTypesField:
        return lineList(state, [&](int i) { return state.lines[i].lineType; });
    case attribsField:
        return engine::attrlist(state);
    case extraLinesField:
        return state.extraLinesText;
    case pointsField:
        return state.pointsText;
    default:
        return {};
    }
}

void aktpuff(Collection& collection, core::State& state) {
    for (int field = termsField; field < fieldCount; ++field)
        collection.currentData[field] = addone(state, field);
}

ApplyStatus colget(core::State& state, const Fields& fields) {
    std::optional<ApplyStatus> fault;
    {
        const core::BusyScope busy(state);
        resetForEntry(state);
        fault = applySteps(state, fields, beforeAssembly);
        if (!fault) {
            state.extraLinesText = fields[extraLinesField];
            state.pointsText = fields[pointsField];
            state.hooks.call(state.hooks.extraObjectsRead);
        }
        // The records were emptied: the engine must hear of the lines applied so far, whatever
        // field failed.
        assemble(state);
        if (!fault) fault = applySteps(state, fields, afterAssembly);
    }
    state.hooks.call(state.hooks.termStatusChanged);
    state.hooks.call(state.hooks.paramListRefresh);
    state.hooks.call(state.hooks.redrawall);
    return fault.value_or(ApplyStatus{});
}

ApplyStatus tmpakt(const Collection& collection, core::State& state) {
    return colget(state, collection.currentData);
}

} // namespace collection
