#pragma once
// What a control tells about itself: the tool tip that the mouse brings up and the name that a
// screen reader speaks. And status lines, whose text may run longer than the line: the mouse
// brings up the whole text.

#include <QString>

class QLabel;
class QWidget;

namespace core {

// The accessible name of control, and its tool tip: tip, or the name itself when tip is empty.
void describe(QWidget* control, const QString& name, const QString& tip = {});

// Whether the text of label is shown whole at the label's present size (plain text).
bool textFits(const QLabel* label);

// While label's text does not fit (textFits), its tool tip is the whole text; while it fits,
// the tool tip it had when this was called (mostly none). Kept up to date whenever the label is
// resized, painted or asked for its tool tip, so the text may change in any way. The label may
// become narrower than its text: a long message does not widen its window.
void tipWhenCut(QLabel* label);

} // namespace core
