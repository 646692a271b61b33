#pragma once
// The settings file "Kurvatur.ini" in the configuration folder: section "Kurvatur" with the
// attribute list ("Attribs") and, per line slot 0 ... 12, the colour ("Coltab"), the line width
// ("LDicke") and the line type ("LArt"), each number followed by ":", the calculator's decimal
// places ("Rechnerstellen") and the zoom factors in x and y ("Zoom"). It lives beside the
// attribute list, which it carries.

#include <QString>

namespace core {
struct State;
}

namespace engine {

// The calculator offers 0 ... 22 decimal places.
inline constexpr int mostCalcPlaces = 22;

// The settings file in state.configFolder.
QString settingsPath(const core::State& state);

// Writes the keys (the folder is made when missing); whatever else the file holds stays.
// A failed write leaves the old file as it was, tells the user and gives false.
bool savesettings(core::State& state);

// Reads the keys and applies them. A missing file or key leaves the current values; of the
// numbers, at most the first 13 count, and one that is empty, not a number or outside what the
// program offers (colours 0 ... 0xffffff, widths 0 ... 7, line types 0 ... 10, places 0 ... 22)
// leaves its slot as it is; so does a zoom factor below 1. The attribute list is read as coming
// from the settings file.
void loadsettings(core::State& state);

} // namespace engine
