#pragma once
// Which parameter windows the parameter selection list offers, and the two filters of the term
// lines' pop-up menu that show the parameters of one function.

#include <QString>

#include <vector>

namespace core {
struct State;
}

namespace params {

// The lower-bound slots of the lines that have an integral function (in line order): each line
// in use with a name, an integral function and its lower-bound parameter.
std::vector<int> integralLowerBoundSlots(const core::State& state);

// The slots the list shows, one row each: the lower bounds of integral functions, then the free
// parameters in use in slot order. Sample counts are never listed.
std::vector<int> listedSlots(const core::State& state);

// Marks the windows of the free parameters that the translated term of line i uses as visible;
// with only set, every other parameter window is hidden first. The caller shows the windows.
void showLineParams(core::State& state, int i, bool only);

// The caption of the list's button: "&Alle" while some row is not selected or there is no row,
// else "&Keine".
QString selectionButtonCaption(int selected, int listed);

} // namespace params
