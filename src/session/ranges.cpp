#include "session/ranges.h"

#include "core/intervals.h"
#include "core/numbers.h"
#include "core/state.h"
#include "engine/translate.h"
#include "graph/navigation.h"
#include "graph/scale.h"
#include "params/paramlogic.h"

#include <utility>

namespace session {

namespace {

const QString junkCharacters = QStringLiteral("#~\"§$´`° ");

struct Span {
    double lo;
    double hi;
};

Span standardSpan(int row) {
    return row == 2 ? Span{0, 10} : Span{-5, 5};
}

void storeRange(core::State& state, int row, double lo, double hi) {
    auto& r = state.ranges;
    if (row == 0) {
        r.xMin = lo;
        r.xMax = hi;
    } else if (row == 1) {
        r.yMin = lo;
        r.yMax = hi;
    } else {
        r.tMin = lo;
        r.tMax = hi;
    }
}

Span rowRange(const core::State& state, int row) {
    const auto& r = state.ranges;
    if (row == 0) return {r.xMin, r.xMax};
    if (row == 1) return {r.yMin, r.yMax};
    return {r.tMin, r.tMax};
}

} // namespace

QString rangeRowName(int row) {
    static const QString names[rangeRowCount] = {QStringLiteral("x-Bereich"),
                                                 QStringLiteral("y-Bereich"),
                                                 QStringLiteral("Kurven- parameter- bereich")};
    return names[row];
}

QColor rangeErrorColour() {
    return QColor(150, 0, 0);
}

QString cleanRangeField(const QString& text) {
    QString result;
    for (const QChar c : text)
        if (!junkCharacters.contains(c)) result += c;
    return result;
}

std::optional<QString> setRange(core::State& state, int row, double lo, double hi) {
    if (lo > hi) std::swap(lo, hi);
    if (lo == hi) return rangeRowName(row) + QStringLiteral(": Grenzen müssen verschieden sein!");
    storeRange(state, row, lo, hi);
    graph::setscale(state);
    if (row != 1) updatestamm(state);
    return std::nullopt;
}

std::optional<QString> applyRangeFields(core::State& state, int row) {
    const auto& fields = state.rangeFields[row];
    if (fields[0].isEmpty() && fields[1].isEmpty()) return std::nullopt;
    const auto lower = core::evalnum(state.engine, fields[0]);
    if (!lower) return rangeRowName(row) + QStringLiteral(": UntereGrenze unverständlich!");
    const auto upper = core::evalnum(state.engine, fields[1]);
    if (!upper) return rangeRowName(row) + QStringLiteral(": Obere Grenze unverständlich!");
    return setRange(state, row, *lower, *upper);
}

RangeStatus rereadRanges(core::State& state) {
    RangeStatus status;
    for (int row = 0; row < rangeRowCount; ++row) {
        const auto message = applyRangeFields(state, row);
        // A later row that succeeds must not hide the error of an earlier one.
        if (message && !status.error) status = {*message, true};
    }
    return status;
}

RangeStatus applyRanges(core::State& state) {
    for (auto& row : state.rangeFields)
        for (auto& field : row)
            field = cleanRangeField(field);
    makedtxt(state);
    state.hooks.call(state.hooks.applydata);
    const RangeStatus status = rereadRanges(state);
    checkp(state);
    state.hooks.call(state.hooks.redrawall);
    return status;
}

RangeStatus standardRanges(core::State& state) {
    for (int row = 0; row < rangeRowCount; ++row) {
        const Span span = standardSpan(row);
        state.rangeFields[row] = {core::germanNumber(span.lo), core::germanNumber(span.hi)};
    }
    return applyRanges(state);
}

RangeStatus standardRange(core::State& state, int row) {
    const Span span = standardSpan(row);
    setRange(state, row, span.lo, span.hi);
    state.hooks.call(state.hooks.redrawall);
    return {};
}

void oneToOne(core::State& state, int axis) {
    graph::einszueins(state, axis == 1 ? graph::leftButton : graph::rightButton);
}

QString shownBound(const core::State& state, int row, int side) {
    const Span span = rowRange(state, row);
    const QString& format = row == 1 ? state.scale.yNumberFormat : state.scale.xNumberFormat;
    return graph::numberText(side == 0 ? span.lo : span.hi, format);
}

void makedtxt(core::State& state) {
    QString text;
    auto add = [&](const QString& bound) {
        if (bound.isEmpty()) return;
        text += QLatin1Char('(') + engine::translate(bound, false, state) + QLatin1Char(')');
    };
    for (int i = 0; i <= state.lastLine && i < core::lineCount; ++i) {
        add(state.lines[i].lowerText);
        add(state.lines[i].upperText);
    }
    for (const auto& row : state.rangeFields)
        for (const auto& field : row)
            add(field);
    state.rangeText = text;
}

void clrvb(core::State& state) {
    for (auto& row : state.rangeFields)
        for (auto& field : row)
            field.clear();
    state.rangeText.clear();
}

void checkp(core::State& state) {
    for (int row = 0; row < rangeRowCount; ++row) {
        const int bit = 1 << row;
        const QString& lower = state.rangeFields[row][0];
        const QString& upper = state.rangeFields[row][1];
        for (auto& p : state.params) {
            if (p.handle == -1 || p.label.isEmpty()) continue;
            const QString name = p.label.section(QLatin1Char(' '), 0, 0);
            if (engine::hasword(lower, name) || engine::hasword(upper, name))
                p.rangeFlags |= bit;
            else
                p.rangeFlags &= ~bit;
        }
    }
}

void updatestamm(core::State& state) {
    const int busy = state.busyFlag;
    state.busyFlag = 1;
    core::evalintervals(state);
    for (int i = 0; i <= state.lastLine && i < core::lineCount; ++i) {
        auto& line = state.lines[i];
        if (line.name.isEmpty() || state.params[line.slot].handle == -1) continue;
        const Span span = line.kind == core::kindFunction
                              ? Span{state.ranges.xMin, state.ranges.xMax}
                              : Span{line.intervalFrom, line.intervalTo};
        if (line.lowerBound < span.lo || line.lowerBound > span.hi)
            line.lowerBound = (span.lo + span.hi) / 2;
        params::setValue(state, line.slot, line.lowerBound);
        params::setparb(state, line.slot, span.lo, span.hi);
    }
    state.busyFlag = busy;
}

} // namespace session
