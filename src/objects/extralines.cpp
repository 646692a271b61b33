#include "objects/extralines.h"

#include "core/numbers.h"
#include "core/rounding.h"
#include "engine/enginedefs.h"
#include "objects/engineterm.h"

#include <QRegularExpression>

#include <cmath>

namespace objects {

namespace {

const QString colourKey = QStringLiteral("c=");
const QChar colon = QLatin1Char(':');

QString withoutBlanks(QString text) {
    return text.remove(QLatin1Char(' '));
}

// The lines of a text joined by CR LF; a lone LF or CR (a text edited elsewhere) ends a line too.
QStringList textLines(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    return text.split(lineBreak);
}

ExtraLine readLine(const QString& line, core::Colour standard) {
    ExtraLine result;
    result.colour = standard;
    QString rest = line.trimmed();
    if (!rest.startsWith(colourKey)) {
        result.equation = rest;
        return result;
    }
    const qsizetype end = rest.indexOf(colon);
    const QString colourText = rest.mid(2, end < 0 ? -1 : end - 2);
    if (const auto v = core::filenumber(colourText); v && *v >= 0 && *v <= 4294967295.0)
        result.colour = core::Colour(std::llround(*v));
    rest = end < 0 ? QString() : rest.mid(end + 1);
    const qsizetype last = rest.lastIndexOf(colon);
    if (last >= 0) {
        const QString field = rest.mid(last + 1).trimmed();
        if (field.isEmpty()) {
            rest = rest.left(last);
        } else if (const int style = styleOf(field); style != noOwnStyle) {
            result.style = style;
            rest = rest.left(last);
        }
    }
    result.equation = rest.trimmed();
    return result;
}

// The sides of an equation without blanks: "y" and "2*x+1" for "y = 2*x + 1"; a text without
// "=" is the right side of "y=".
std::pair<QString, QString> sides(const QString& equation) {
    const QString s = withoutBlanks(equation);
    const qsizetype eq = s.indexOf(QLatin1Char('='));
    if (eq < 0) return {QStringLiteral("y"), s};
    return {s.left(eq).toLower(), s.mid(eq + 1)};
}

} // namespace

std::vector<ExtraLine> text2list(const QString& text, core::Colour standard) {
    std::vector<ExtraLine> lines;
    for (const QString& line : textLines(text)) {
        if (line.trimmed().isEmpty()) continue;
        lines.push_back(readLine(line, standard));
    }
    return lines;
}

QString readlist(const std::vector<ExtraLine>& lines) {
    QStringList out;
    for (const ExtraLine& line : lines) {
        QString text = colourKey + QString::number(line.colour) + colon + line.equation;
        if (line.style != noOwnStyle)
            text += colon + QString::number(line.style);
        else if (line.equation.contains(colon))
            text += colon; // the equation's own last field is no style
        out << text;
    }
    return out.join(QStringLiteral("\r\n"));
}

int findinlist(const std::vector<ExtraLine>& lines, const QString& text) {
    const QString wanted = withoutBlanks(text);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (withoutBlanks(lines[i].equation) == wanted) return int(i);
    return -1;
}

int styleOf(const QString& typed) {
    const QString t = typed.trimmed();
    if (t.size() != 1 || t[0] < QLatin1Char('0') || t[0] > QLatin1Char('0' + largestStyle))
        return noOwnStyle;
    return t[0].unicode() - '0';
}

QString styleText(int style) {
    return style == noOwnStyle ? QString() : QString::number(style);
}

std::optional<int> asytaste(std::vector<ExtraLine>& lines, const QString& input,
                            std::optional<int> selected, core::Colour standard) {
    QString text = input.trimmed();
    if (text.isEmpty()) return std::nullopt;
    if (!text.contains(QLatin1Char('='))) text = QStringLiteral("y=") + text;
    ExtraLine line{text, standard, noOwnStyle};
    int at = findinlist(lines, text);
    if (at < 0 && selected && *selected >= 0 && *selected < int(lines.size())) at = *selected;
    if (at >= 0) {
        line.colour = lines[std::size_t(at)].colour;
        line.style = lines[std::size_t(at)].style;
        lines[std::size_t(at)] = line;
        return at;
    }
    lines.push_back(line);
    return int(lines.size()) - 1;
}

QStringList lineParameterTexts(const QString& text, const core::State& state) {
    QStringList texts;
    for (const ExtraLine& line : text2list(text, 0)) {
        const QString term = engineTerm(sides(line.equation).second, state);
        if (!term.isEmpty()) texts << term;
    }
    return texts;
}

LineDrawing interprete(core::State& state) {
    LineDrawing drawing;
    const double w = state.scale.plotW, h = state.scale.plotH;
    const double tppX = std::max(state.tppX, 1), tppY = std::max(state.tppY, 1);
    const auto pixel = [&](double x, double y) {
        return QPoint(core::round32(x / tppX), core::round32((h - y) / tppY));
    };
    for (const ExtraLine& line : text2list(state.extraLinesText, state.lineColours[14])) {
        const auto [left, right] = sides(line.equation);
        const bool vertical = left == QStringLiteral("x");
        if (!vertical && left != QStringLiteral("y")) {
            drawing.errors << QStringLiteral("Gleichungen der Gestalt x=a oder y=m*x+t: ") +
                                  line.equation;
            continue;
        }
        const QString term = engineTerm(right, state);
        const platform::Expression expr = state.engine.parse(term.toStdString());
        const auto failed = [&] {
            const engine::EngineError e = engine::takeerror(state.engine);
            drawing.errors << (e.text.isEmpty() ? QStringLiteral("Ungültiger Term") : e.text) +
                                  QStringLiteral(": ") + line.equation;
        };
        if (term.isEmpty() || !expr.valid()) {
            failed();
            continue;
        }
        const auto valueAt = [&](double x) {
            state.engine.setVariable(state.handles.x, x);
            return state.engine.evaluate(expr);
        };
        const core::Ranges& r = state.ranges;
        double x1, x2, y1, y2;
        if (vertical) {
            x1 = x2 = (valueAt(r.xMin) - r.xMin) * state.scale.xmu;
            y1 = 0;
            y2 = h;
        } else {
            y1 = (valueAt(r.xMin) - r.yMin) * state.scale.ymu;
            y2 = (valueAt(r.xMax) - r.yMin) * state.scale.ymu;
            x1 = 0;
            x2 = w;
        }
        if (state.engine.error() != 0) {
            failed();
            continue;
        }
        if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(y2)) continue;
        if (!vertical) {
            // Cut where the line leaves the plot area's height, so that a steep line keeps its
            // direction instead of running along the clipped edge.
            const double slope = (y2 - y1) / w;
            if (slope != 0) {
                if (y2 > h) {
                    x2 = (h - y1) / slope;
                    y2 = h;
                } else if (y2 < 0) {
                    x2 = -y1 / slope;
                    y2 = 0;
                }
                if (y1 > h) {
                    x1 = (h - y1) / slope;
                    y1 = h;
                } else if (y1 < 0) {
                    x1 = -y1 / slope;
                    y1 = 0;
                }
            }
        }
        if (x1 < 0 || x2 > w) continue;
        // A line that passes above or below the plot area altogether is cut to nothing.
        if (x1 > x2) continue;
        const int style = line.style == noOwnStyle ? state.linesLineType : line.style;
        drawing.segments.push_back({pixel(x1, y1), pixel(x2, y2), line.colour & 0xffffffu, style});
    }
    return drawing;
}

} // namespace objects
