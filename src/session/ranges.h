#pragma once
// The three displayed ranges (x, y and the curve parameter t) as the range window applies them:
// its six bound fields, the status line it shows, its standard buttons and the 1:1 scaling.

#include <QColor>
#include <QString>

#include <optional>

namespace core {
struct State;
}

namespace session {

inline constexpr int rangeRowCount = 3; // 0 x, 1 y, 2 t

// "x-Bereich", "y-Bereich", "Kurven- parameter- bereich": they head the row's messages.
QString rangeRowName(int row);

// What the status line of the range window shows. An error is drawn on dark red, anything
// else on the button face.
struct RangeStatus {
    QString text;
    bool error = false;
};
QColor rangeErrorColour();

// The field without the characters that cannot belong to a bound (# ~ " § $ ´ ` ° and blanks).
QString cleanRangeField(const QString& text);

// Sets one row to lo ... hi (swapped when reversed), recomputes the scale and, unless it is the
// y row, keeps the lower bounds of the integral functions within their ranges. The message
// when the bounds are equal; the row then keeps its range.
std::optional<QString> setRange(core::State& state, int row, double lo, double hi);

// Reads the row's two fields (with core::evalnum) and applies them. Nothing happens when both
// fields are empty; otherwise the message when a bound cannot be read or the bounds are equal.
std::optional<QString> applyRangeFields(core::State& state, int row);

// Cleans the six fields, rebuilds the bounds text, runs the data-set assembly (hook applydata:
// names new in the fields or the lines' interval bounds become parameters), applies the rows x,
// y, t independently, marks the parameters the rows use and redraws. The status holds the first
// error of the pass.
RangeStatus applyRanges(core::State& state);

// The rows x, y, t read again from their fields, as a parameter they use moved: no assembly, no
// redraw (the parameter's own change redraws).
RangeStatus rereadRanges(core::State& state);

// "Standardbereich verwenden": the six fields get -5, 5, -5, 5, 0, 10, and they are applied.
RangeStatus standardRanges(core::State& state);

// The standard range of the row (-5 ... 5, -5 ... 5, 0 ... 10); the other rows keep their
// values exactly.
RangeStatus standardRange(core::State& state, int row);

// 1:1 scaling: afterwards one unit has the same length in pixels on both axes. axis 1 changes
// the y range, axis 2 the x range; the middle of the changed axis stays.
void oneToOne(core::State& state, int axis);

// The bounds of the row as the labels of the window show them (x label format for x and t, y
// label format for y); side 0 lower, 1 upper.
QString shownBound(const core::State& state, int row, int side);

// The interval bound texts of all lines and then each non-empty range field, translated, in
// round brackets; the data-set assembly finds the parameters of bounds and ranges in it.
void makedtxt(core::State& state);

// Empties the six fields and the bounds text.
void clrvb(core::State& state);

// Sets bit 2^row of the range flags of every parameter whose name occurs as a word in the row's
// fields, and clears it for the others.
void checkp(core::State& state);

// Every named line's stored lower bound moves into the middle of its range (the x range for a
// function, its own interval for a curve) when it lies outside, and its lower-bound parameter
// takes that range and value.
void updatestamm(core::State& state);

} // namespace session
