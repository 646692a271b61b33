#pragma once
// The rows of the term window as data: how many lines are in use, inserting, deleting and
// moving lines (each line takes its record, its text and its slot with it), showing or hiding a
// line, and the line commands of the pop-up menu. The window only reads its fields into
// State::termEditor.texts before a command and shows the state afterwards.

#include "core/state.h"

#include <QString>
#include <QStringList>

namespace terms {

// Background of the text field of a hidden line.
inline constexpr core::Colour hiddenLineBackground = core::rgb(192, 192, 192);

// Row geometry in twips for a font size in points.
inline constexpr int rowsTopTwips = 400; // the status line and its button stand above the rows
int rowHeightTwips(int fontSize);
int rowTopTwips(int row, int fontSize);
// Inner height of the window that shows exactly the lines in use.
int fittedHeightTwips(int fontSize, int linesInUse);

// Number of lines in use = w (0 ... 13), the index of the last line one less.
void setasein(core::State& state, int w);

// Sets up the rows for the records as they stand (after a collection entry was loaded): a
// lines in use (at least one), interval texts rebuilt from the bound texts, line widths into
// the width table, integral lower bounds outside the x range put to its start, curve intervals
// to the curve range, and the terms view.
void init(core::State& state, int a);

// Empties all 13 lines, the additional lines and points and the bound fields of the displayed
// range, refills the name pool and applies.
void clrall(core::State& state);

// Deletes line a and applies; the lines below move up. Does nothing (false) when only one line
// is in use or a is no line in use. The deleted line's slot becomes the free slot; a one-letter
// name goes back to the name pool.
bool clr(core::State& state, int a);

// Inserts an empty line at a + j (j = 0 before line a, 1 after it) and applies. The new line
// takes the free slot (the one behind the last line in use). Does nothing (false) when all 13
// lines are in use or a is no line in use.
bool add_before(core::State& state, int a, int j);

// Empties the 13 text fields and the lines' definition intervals; the window shows the terms
// view's caption.
void clearfields(core::State& state);

// The lines of a text pasted into a term line: split at every line break (CR LF, LF or CR),
// blank lines left out, since they carry no term and would only take up room among the 13.
QStringList pastedLines(const QString& text);

// Pastes lines into line i and the lines below it, adding lines after the last one in use as
// needed, then applies as Enter does. Lines that do not fit into the 13 are left out; in the
// intervals view only the lines in use are filled, as a new line has no term to bound there.
// Returns the index of the last line filled, -1 (nothing done) when i is no line in use or
// there are no lines.
int pasteLines(core::State& state, int i, const QStringList& lines);

// Copies line k2 onto line k1: the record (with its slot) and the text.
void fmove(core::State& state, int k1, int k2);

// Shows or hides the current line; a line with a name is applied again so the graph follows.
void swvis(core::State& state);

// The line the pop-up menu acts on when it is opened on line i: the y part of a curve stands
// for its x part, which carries the curve.
int popupLine(const core::State& state, int i);
// Caption of the show/hide entry of the pop-up menu for that line.
QString visibilityCaption(const core::State& state, int line);

// The terms as text for the clipboard, one "name(variable)=term" per line joined by CR LF;
// mode 1 puts the current values in place of the parameters.
QString paracopy(const core::State& state, int mode);

// Pop-up commands for the current line. Line width entry k (0 ... 7, shown as "1" ... "8"),
// drawing style k (0 a line, 1 ... 10 discs of that radius), and the colour of the line's slot.
void setlinewidth(core::State& state, int k);
void setlinetype(core::State& state, int k);
void setlinecolour(core::State& state, core::Colour colour);
// Font size of the term lines in points.
void setfontsize(core::State& state, int size);

} // namespace terms
