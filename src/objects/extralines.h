#pragma once
// The additional straight lines over the graphs: "x=a" and "y=m*x+t", each with a colour and
// perhaps a pen style of its own. Their text form, one line per line joined by CR LF, is what
// the collection keeps:
//   c=<colour>:<equation>[:<style>]
// The style is read only from a last field that is one digit 0 ... 6 behind a colour field; a
// last field left empty says that the line has no style of its own, which keeps an equation
// that itself ends in ":2" (a division) apart from a style.

#include "core/state.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace objects {

inline constexpr int noOwnStyle = -1;
inline constexpr int largestStyle = 6;

struct ExtraLine {
    QString equation; // as typed
    core::Colour colour = 0;
    int style = noOwnStyle; // 0 ... 6, or noOwnStyle: the common style linesLineType
    bool operator==(const ExtraLine&) const = default;
};

// The lines of the text form; a line without "c=" takes the standard colour.
std::vector<ExtraLine> text2list(const QString& text, core::Colour standard);
// The text form of the lines.
QString readlist(const std::vector<ExtraLine>& lines);

// Index of the first line whose equation equals text when all blanks are removed from both;
// -1 if none.
int findinlist(const std::vector<ExtraLine>& lines, const QString& text);

// The own style typed into a row: one digit 0 ... 6, anything else means none.
int styleOf(const QString& typed);
// The row's text for a style: the digit, or empty for none.
QString styleText(int style);

// Takes the input line into the list: an equal line (blanks aside) is replaced in place and
// keeps its colour, so is the one selected line; else the line is appended in the standard
// colour. Input without "=" is read as "y=" input. Returns the position of the line, or nothing
// for a blank input.
std::optional<int> asytaste(std::vector<ExtraLine>& lines, const QString& input,
                            std::optional<int> selected, core::Colour standard);

// The text of each line's right side in engine syntax, for the data-set assembly to find the
// parameters the lines use. Lines whose right side is empty give nothing.
QStringList lineParameterTexts(const QString& text, const core::State& state);

struct LineSegment {
    QPoint from, to; // pixels of the plot area
    core::Colour colour = 0;
    int style = 0;
};

struct LineDrawing {
    std::vector<LineSegment> segments;
    // One message per line that the engine cannot parse or evaluate: its message, ": " and the
    // line.
    QStringList errors;
};

// The segments of all lines of state.extraLinesText at the present parameter values and scale.
// A "y=" line runs between its values at the two ends of the displayed x range (a term that is
// not linear in x shows as that chord), cut where it leaves the plot area's height; an "x=" line
// runs from bottom to top. A vertical line outside the plot area is not drawn.
LineDrawing interprete(core::State& state);

} // namespace objects
