#include "terms/termrows.h"

#include "core/colours.h"
#include "core/rounding.h"
#include "terms/termcheck.h"

#include <QRegularExpression>

#include <algorithm>

namespace terms {

namespace {

const QString openInterval = QStringLiteral("-oo; +oo");

bool isLineInUse(const core::State& state, int i) {
    return i >= 0 && i < state.linesInUse && i < core::lineCount;
}

int currentLineIndex(const core::State& state) {
    return std::clamp(state.termEditor.currentLine, 0, core::lineCount - 1);
}

QString intervalTextOf(const core::FuncLine& line) {
    return (line.lowerText.isEmpty() ? QStringLiteral("-oo") : line.lowerText) +
           QStringLiteral(" ; ") +
           (line.upperText.isEmpty() ? QStringLiteral("+oo") : line.upperText);
}

// A line without content in the given slot. Everything the record carries is reset, so that a
// record beyond the lines in use never keeps a name that the data-set assembly would still see.
void emptyLine(core::State& state, int i, int slot) {
    core::FuncLine& line = state.lines[i];
    line = core::FuncLine{};
    line.slot = slot;
    line.intervalText = openInterval;
    // The width belongs to the slot: the pen is made from the slot's width.
    line.lineWidth = state.lineSlots[slot].width;
    state.termEditor.texts[i].clear();
}

// One more line in use behind the last one, empty, in the free slot that its record holds.
void appendLine(core::State& state) {
    const int i = state.linesInUse;
    emptyLine(state, i, state.lines[i].slot);
    setasein(state, i + 1);
}

} // namespace

int rowHeightTwips(int fontSize) {
    return int(core::roundEven(fontSize * 17.0 + 225.0));
}

int rowTopTwips(int row, int fontSize) {
    return (rowHeightTwips(fontSize) + 15) * row + rowsTopTwips;
}

int fittedHeightTwips(int fontSize, int linesInUse) {
    return (fontSize * 17 + 240) * linesInUse + rowsTopTwips + 60;
}

void setasein(core::State& state, int w) {
    w = std::clamp(w, 0, core::lineCount);
    state.linesInUse = w;
    state.lastLine = w - 1;
}

void init(core::State& state, int a) {
    setasein(state, a);
    if (state.linesInUse == 0) setasein(state, 1);
    const core::Ranges& r = state.ranges;
    for (int i = 0; i < state.linesInUse; ++i) {
        core::FuncLine& line = state.lines[i];
        line.intervalText = intervalTextOf(line);
        if (line.slot >= 0 && line.slot < core::lineCount)
            state.lineSlots[line.slot].width = line.lineWidth;
        if (line.lowerBound < r.xMin || line.lowerBound > r.xMax) line.lowerBound = r.xMin;
        if (line.kind >= 0) {
            line.intervalFrom = r.tMin;
            line.intervalTo = r.tMax;
        }
    }
    setstate(state, 0);
}

void clrall(core::State& state) {
    // Emptied records in the intervals view would leave the engine and the parameter windows
    // of the old lines in place; the terms view applies them away.
    if (state.termEditor.termState != 0) setstate(state, 0);
    for (int i = 0; i < core::lineCount; ++i) {
        core::FuncLine& line = state.lines[i];
        state.lineSlots[i].translated.clear();
        state.lineSlots[i].integralSpec.clear();
        state.lineSlots[i].width = 0;
        line.shownTerm.clear();
        line.name.clear();
        line.term.clear();
        line.variable.clear();
        line.lineWidth = 0;
        line.lowerText.clear();
        line.upperText.clear();
        line.kind = core::kindFunction;
        line.intervalText = openInterval;
        line.drawn = true;
        line.lineType = 0;
        line.lowerBound = 0;
        state.termEditor.texts[i].clear();
    }
    state.extraLinesText.clear();
    state.pointsText.clear();
    state.hooks.call(state.hooks.extraObjectsRead);
    state.rangeFields = {};
    state.rangeText.clear();
    state.resetnames();
    findandgetpre(state, 0);
}

bool clr(core::State& state, int a) {
    if (state.linesInUse <= 1 || !isLineInUse(state, a)) return false;
    const int freed = state.lines[a].slot;
    const QString& name = state.lines[a].name;
    if (name.size() == 1 && !state.freeNames.contains(name)) state.freeNames += name;
    for (int m = a; m <= state.linesInUse - 2; ++m)
        fmove(state, m, m + 1);
    const int last = state.lastLine;
    emptyLine(state, last, freed);
    setasein(state, last);
    findandgetpre(state, 0);
    return true;
}

bool add_before(core::State& state, int a, int j) {
    if (state.linesInUse >= core::lineCount || !isLineInUse(state, a)) return false;
    j = j == 0 ? 0 : 1;
    const bool backToIntervals = state.termEditor.termState == 1;
    if (backToIntervals) setstate(state, 0);
    const int freed = state.lines[state.linesInUse].slot;
    for (int m = state.linesInUse; m >= a + 1; --m)
        fmove(state, m, m - 1);
    emptyLine(state, a + j, freed);
    setasein(state, state.linesInUse + 1);
    findandgetpre(state, 0);
    if (backToIntervals) setstate(state, 1);
    return true;
}

void clearfields(core::State& state) {
    for (int i = 0; i < core::lineCount; ++i) {
        state.termEditor.texts[i].clear();
        state.lines[i].intervalText = openInterval;
        state.lines[i].lowerText.clear();
        state.lines[i].upperText.clear();
    }
    state.termEditor.windowCaption = QStringLiteral("Funktionsterme");
}

QStringList pastedLines(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|\\n|\\r"));
    QStringList lines = text.split(lineBreak);
    lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
    return lines;
}

int pasteLines(core::State& state, int i, const QStringList& lines) {
    if (!isLineInUse(state, i) || lines.isEmpty()) return -1;
    const int end = state.termEditor.termState == 1 ? state.linesInUse : core::lineCount;
    int k = i;
    for (const QString& line : lines) {
        if (k >= end) break;
        if (k == state.linesInUse) appendLine(state);
        state.termEditor.texts[k++] = line;
    }
    findandgetpre(state, 0);
    return k - 1;
}

void fmove(core::State& state, int k1, int k2) {
    if (k1 < 0 || k2 < 0 || k1 >= core::lineCount || k2 >= core::lineCount || k1 == k2) return;
    state.lines[k1] = state.lines[k2];
    state.termEditor.texts[k1] = state.termEditor.texts[k2];
}

void swvis(core::State& state) {
    core::FuncLine& line = state.lines[currentLineIndex(state)];
    line.drawn = !line.drawn;
    if (!line.name.isEmpty()) findandget(state, 0);
    state.hooks.call(state.hooks.collectionTakeOver);
}

int popupLine(const core::State& state, int i) {
    if (i < 0 || i >= core::lineCount) return 0;
    if (state.lines[i].kind != core::kindCurvePart) return i;
    // The x part carries the index of its y part as kind; searching by the rest of the name
    // could find the y line itself when it stands above its x line.
    for (int k = 0; k < state.linesInUse && k < core::lineCount; ++k)
        if (state.lines[k].kind == i) return k;
    return i;
}

QString visibilityCaption(const core::State& state, int line) {
    if (line < 0 || line >= core::lineCount) return QStringLiteral("verbergen");
    return state.lines[line].drawn ? QStringLiteral("verbergen") : QStringLiteral("anzeigen");
}

QString paracopy(const core::State& state, int mode) {
    QStringList out;
    for (int i = 0; i <= state.lastLine && i < core::lineCount; ++i) {
        const core::FuncLine& line = state.lines[i];
        // A line the check refused keeps its old shown term but has no name: nothing to copy.
        if (line.shownTerm.isEmpty() || line.name.isEmpty()) continue;
        const QString term = mode == 1 ? entpara(state, line.shownTerm) : line.shownTerm;
        out << line.name + QLatin1Char('(') + line.variable + QStringLiteral(")=") + term;
    }
    return out.join(QStringLiteral("\r\n"));
}

void setlinewidth(core::State& state, int k) {
    core::FuncLine& line = state.lines[currentLineIndex(state)];
    k = std::clamp(k, 0, 7);
    line.lineWidth = k;
    if (line.slot >= 0 && line.slot < core::lineCount) state.lineSlots[line.slot].width = k;
    state.hooks.call(state.hooks.redrawall);
    state.hooks.call(state.hooks.collectionTakeOver);
}

void setlinetype(core::State& state, int k) {
    state.lines[currentLineIndex(state)].lineType = std::clamp(k, 0, 10);
    state.hooks.call(state.hooks.redrawall);
    state.hooks.call(state.hooks.collectionTakeOver);
}

void setlinecolour(core::State& state, core::Colour colour) {
    const int slot = state.lines[currentLineIndex(state)].slot;
    core::setcolour(state, slot, colour);
    state.hooks.call(state.hooks.redrawall);
    state.hooks.call(state.hooks.collectionTakeOver);
}

void setfontsize(core::State& state, int size) {
    state.termEditor.fontSize = std::clamp(size, 6, 72);
    state.hooks.call(state.hooks.collectionTakeOver);
}

} // namespace terms
