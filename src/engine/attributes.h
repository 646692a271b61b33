#pragma once
// The attribute list: the display settings that travel with the user's work (axis names and font
// sizes, grid, decimal places, what is shown, the angle unit, window font sizes and sizes, the
// point size) as one line of 33 items, each followed by ":". It is the value of "Attribs" in the
// settings file and of the "Attribs=" line of every collection entry.
//
// It lives in the engine layer because one of its items is the angle unit, which only the engine
// layer can set (engine::setanglemode); everything else it touches is shared state.

#include <QString>

namespace core {
struct State;
}

namespace engine {

// Where a list comes from: the settings file applies every item, a collection entry leaves the
// three window marks alone and the window items to the windows whose mark the user has set.
inline constexpr int fromCollection = 0;
inline constexpr int fromSettings = 1;

// The list of the current state (after the windows have noted their sizes): texts as they are,
// whole numbers in decimal, flags -1 or 0, other numbers in the shortest form of up to 15
// significant digits with a decimal comma.
QString attrlist(core::State& state);

// Applies a list. Each item is taken from its element; an element that is missing, empty, not a
// number or outside what the option dialogs accept leaves its item as it is, and the reading
// goes on with the next. The items "additional lines/points shown" are never read. Afterwards the
// coordinate system is drawn anew and the windows are told (hook windowAttributesRead). The grid
// settings decide the tick steps: the caller recomputes the scale.
void readattrs(core::State& state, const QString& text, int mode);

} // namespace engine
