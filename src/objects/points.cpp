#include "objects/points.h"

#include "core/numbers.h"
#include "core/rounding.h"
#include "objects/engineterm.h"

#include <QRegularExpression>

#include <cmath>

namespace objects {

namespace {

const QChar colon = QLatin1Char(':');

QStringList textLines(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    return text.split(lineBreak);
}

// A whole number of the list form ("30", "-2", also "2,6" rounded); nothing for anything else.
std::optional<long long> listNumber(const QString& text) {
    const auto v = core::filenumber(text);
    if (!v || std::abs(*v) > 4294967295.0) return std::nullopt;
    return std::llround(core::roundEven(*v));
}

// The first ";" or "|" at the top bracket level of text from position from on; -1 if none. A
// coordinate may call a function of two arguments, log(2;8), whose ";" is not the separator.
qsizetype separator(const QString& text, qsizetype from) {
    int depth = 0;
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('(') || c == QLatin1Char('[') || c == QLatin1Char('{'))
            ++depth;
        else if (c == QLatin1Char(')') || c == QLatin1Char(']') || c == QLatin1Char('}'))
            --depth;
        else if (depth == 0 && (c == QLatin1Char(';') || c == QLatin1Char('|')))
            return i;
    }
    return -1;
}

double pixelsPer(int tpp) {
    return double(std::max(tpp, 1));
}

} // namespace

void makeentry(Point& p) {
    p.name.clear();
    p.xText.clear();
    p.yText.clear();
    p.located = false;
    const QString s = p.typed.trimmed();
    const qsizetype dollar = s.indexOf(QLatin1Char('$'));
    const qsizetype open = s.indexOf(QLatin1Char('('), dollar < 0 ? 0 : dollar);
    if (open < 0) return;
    p.name = s.left(open);
    if (!s.endsWith(QLatin1Char(')'))) return;
    const QString inner = s.mid(open + 1, s.size() - open - 2);
    const qsizetype q = separator(inner, 0);
    if (q < 0) return;
    p.xText = inner.left(q).trimmed();
    p.yText = inner.mid(q + 1).trimmed();
    p.located = !p.xText.isEmpty() && !p.yText.isEmpty();
}

std::vector<Point> makeliste(const QString& text) {
    std::vector<Point> points;
    for (const QString& line : textLines(text)) {
        if (line.trimmed().isEmpty()) continue;
        Point p;
        p.typed = line.trimmed();
        // The three numbers from the end; a line without them is a point as typed.
        const QStringList fields = p.typed.split(colon);
        if (fields.size() >= 4) {
            const auto colour = listNumber(fields[fields.size() - 3]);
            const auto right = listNumber(fields[fields.size() - 2]);
            const auto up = listNumber(fields[fields.size() - 1]);
            if (colour && right && up && *colour >= 0) {
                p.typed = fields.mid(0, fields.size() - 3).join(colon).trimmed();
                p.colour = core::Colour(*colour);
                p.nameRight = int(std::clamp<long long>(*right, -100000, 100000));
                p.nameUp = int(std::clamp<long long>(*up, -100000, 100000));
            }
        }
        makeentry(p);
        points.push_back(p);
    }
    return points;
}

QString getliste(const std::vector<Point>& points) {
    QStringList lines;
    for (const Point& p : points)
        lines << p.typed + colon + QString::number(p.colour) + colon +
                     QString::number(p.nameRight) + colon + QString::number(p.nameUp);
    return lines.join(QStringLiteral("\r\n"));
}

std::optional<int> taste(std::vector<Point>& points, const QString& input,
                         std::optional<int> selected) {
    const QString text = input.trimmed();
    if (text.isEmpty()) return std::nullopt;
    int row = -1;
    for (std::size_t i = 0; i < points.size() && row < 0; ++i)
        if (points[i].typed.trimmed() == text) row = int(i);
    if (row < 0 && selected && *selected >= 0 && *selected < int(points.size())) row = *selected;
    if (row < 0) {
        points.emplace_back();
        row = int(points.size()) - 1;
    }
    Point& p = points[std::size_t(row)];
    p.typed = text;
    makeentry(p);
    return row;
}

QStringList pointParameterTexts(const QString& text, const core::State& state) {
    QStringList texts;
    for (const Point& p : makeliste(text)) {
        if (!p.located) continue;
        for (const QString& t : {p.xText, p.yText})
            if (const QString term = engineTerm(t, state); !term.isEmpty()) texts << term;
    }
    return texts;
}

std::vector<NamePiece> namePieces(const QString& name) {
    QString rest = name;
    if (rest.startsWith(QLatin1Char('!')) || rest.startsWith(QChar(0xb0))) rest.remove(0, 1);
    if (rest.endsWith(QLatin1Char('$'))) rest.chop(1);
    std::vector<NamePiece> pieces;
    int shift = 0;
    while (true) {
        const qsizetype lower = rest.indexOf(QLatin1Char('_'));
        const qsizetype upper = rest.indexOf(QLatin1Char('^'));
        qsizetype at = lower;
        if (at < 0 || (upper >= 0 && upper < at)) at = upper;
        if (at < 0) {
            if (!rest.isEmpty()) pieces.push_back({rest, shift});
            return pieces;
        }
        if (at > 0) pieces.push_back({rest.left(at), shift});
        shift += rest[at] == QLatin1Char('_') ? 1 : -1;
        rest.remove(0, at + 1);
    }
}

std::vector<PointDrawing> drawpoints(core::State& state) {
    std::vector<PointDrawing> drawn;
    if (!state.pointsShown && !state.pointNamesShown) return drawn;
    const double w = state.scale.plotW / pixelsPer(state.tppX);
    const double h = state.scale.plotH / pixelsPer(state.tppY);
    const int radius = std::clamp(state.pointSize, smallestRadius, largestRadius);
    for (const Point& p : makeliste(state.pointsText)) {
        if (!p.located) continue;
        const auto value = [&](const QString& text) -> std::optional<double> {
            const QString term = engineTerm(text, state);
            if (term.isEmpty()) return std::nullopt;
            const double v = state.engine.eval(term.toStdString());
            const bool failed = state.engine.error() != 0;
            state.engine.clearError();
            if (failed || !std::isfinite(v)) return std::nullopt;
            return v;
        };
        const auto x = value(p.xText);
        const auto y = value(p.yText);
        if (!x || !y) continue;
        const double px = (*x - state.ranges.xMin) * state.scale.xmu / pixelsPer(state.tppX);
        const double py = (state.scale.plotH - (*y - state.ranges.yMin) * state.scale.ymu) /
                          pixelsPer(state.tppY);
        if (!(px >= 0 && px <= w && py >= 0 && py <= h)) continue;

        PointDrawing d;
        d.centre = QPoint(core::round32(px), core::round32(py));
        d.colour = p.colour & 0xffffffu;
        const bool noDisc = p.name.startsWith(QLatin1Char('!'));
        const bool ring = p.name.startsWith(QChar(0xb0));
        d.mark = !state.pointsShown || noDisc ? Mark::None : ring ? Mark::Ring : Mark::Disc;
        d.radius = radius + (ring ? 1 : 0);
        if (state.pointNamesShown) d.name = namePieces(p.name);
        d.nameAt = QPoint(core::round32(px + p.nameRight), core::round32(py - p.nameUp));
        drawn.push_back(d);
    }
    return drawn;
}

} // namespace objects
