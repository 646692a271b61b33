#pragma once
// The additional points over the graphs: "P(x0;y0)" or "(x0;y0)", with a colour and a name
// drawn beside the point at an offset of its own. Markers in the name: "!" first draws no disc,
// "°" first draws a ring, "$" last is not shown (it lets a name hold brackets), "_" and "^" write
// the rest of the name half a font size lower or higher. The list form that the collection
// keeps has one line per point joined by CR LF:
//   <point as typed>:<colour>:<name offset right>:<name offset up>
// The three numbers are read from the end of the line, so that a ":" inside the point stays.

#include "core/state.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace objects {

inline constexpr int defaultNameUp = 30;
// What the size fields take: the font of the names as the coordinate-system dialog takes its
// fonts, the radius as the attribute list takes it.
inline constexpr int smallestNameFont = 5, largestNameFont = 30;
inline constexpr int smallestRadius = 1, largestRadius = 50;

struct Point {
    QString typed;
    core::Colour colour = 0;
    int nameRight = 0;
    int nameUp = defaultNameUp;
    // From the typed text (makeentry): the name part before the bracket and the coordinate
    // texts as typed; located is false when the text holds no coordinates.
    QString name;
    QString xText;
    QString yText;
    bool located = false;
};

// Reads name and coordinates from p.typed. A text without "(", without a separator ";" or "|"
// or without the closing ")" has no coordinates: the point is not drawn.
void makeentry(Point& p);

// The list form.
std::vector<Point> makeliste(const QString& text);
QString getliste(const std::vector<Point>& points);

// Takes the input line: a point typed equal to a listed one (blanks at the ends aside) keeps its
// colour and name offsets, so does the one selected row, which is rewritten; otherwise a new
// point is appended. Returns its row, or nothing for a blank input.
std::optional<int> taste(std::vector<Point>& points, const QString& input,
                         std::optional<int> selected);

// The coordinate texts of all points in engine syntax, for the data-set assembly.
QStringList pointParameterTexts(const QString& text, const core::State& state);

// One piece of a name: its text and how far it stands below the name's first piece, in half
// font sizes (negative: higher).
struct NamePiece {
    QString text;
    int shift = 0;
};
// The pieces of a name without its markers.
std::vector<NamePiece> namePieces(const QString& name);

enum class Mark { None, Disc, Ring };

struct PointDrawing {
    QPoint centre; // pixels of the plot area
    int radius = 0;
    Mark mark = Mark::Disc;
    core::Colour colour = 0;
    std::vector<NamePiece> name; // empty when names are not shown or there is none
    QPoint nameAt;               // top left of the name's first piece
};

// The points of state.pointsText that lie inside the plot area at the present values, with
// what of them is shown (discs, names).
std::vector<PointDrawing> drawpoints(core::State& state);

} // namespace objects
