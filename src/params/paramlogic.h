#pragma once
// The logic of a parameter window: slider, value field and the two bound fields of one parameter
// slot k. The window itself only mirrors the slot's fields (caption, valueText, lowerText,
// upperText, sliderPos) and calls these routines; it must move its slider without running
// changepar again, since these routines already account for the slider's own reaction.
//
// Three kinds of slot share the logic: lower bounds of integral functions (0 ... 12; their
// bounds are the x range or the curve interval of the owner line), sample counts of the lines
// (13 ... 25; whole numbers from 2 on) and free parameters (28 ... 60; a name ending in "_int"
// takes whole numbers only).

#include <QString>

namespace core {
struct State;
}

namespace params {

inline constexpr int sliderMax = 1000;
// Sample counts beyond this are refused as bounds and limited as values.
inline constexpr int maxSampleCount = 20000;

// Prepares the window of slot k: caption, field colour, value and bounds by kind of slot.
void init(core::State& state, int k);
// Takes the value from the slider (or from the slot while setpar moves the slider) and applies it.
void changepar(core::State& state, int k);
// Sets the slot to v and moves the slider to match. A value that is not a finite number is
// refused: the slot keeps its value and the field shows it again.
void setpar(core::State& state, int k, double v);
// The coupled parameter follows a mouse coordinate: slot k is set to v, and its value field shows
// v in the label format of that axis. A slot without an engine variable does not take part.
void couple(core::State& state, int k, double v, const QString& format);
// Reads the two bound fields (lowerText, upperText) and applies them, or refuses them with a
// message box; refused bounds leave the present bounds in place. A field the engine cannot
// evaluate (or an empty one) keeps its present bound, and so does a field that still shows it,
// with the digits beyond the fifteenth that the field cannot show.
void chpari(core::State& state, int k);
// Sets the bounds to a and b, shows them and applies the current value again.
void setparb(core::State& state, int k, double a, double b);

// Stores the slot's current value ("wert") and sets its engine variable when it has one.
void setValue(core::State& state, int k, double v);

// What the window does on its own events.
void moveSlider(core::State& state, int k, int position); // the user moved the slider
// Enter in the value field; a text the engine cannot evaluate (or none) keeps the value, and so
// does the text as shown.
void enterValue(core::State& state, int k, const QString& text);

// Slider position of v within minimum ... maximum, 0 ... 1000; 0 when the span is empty.
int sliderPosition(double v, double minimum, double maximum);
// Value at a slider position.
double sliderValue(int position, double minimum, double maximum);

} // namespace params
