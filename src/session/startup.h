#pragma once
// The program's start, shared by the window program and the command-line rendering.

#include <functional>

namespace core {
struct State;
}

namespace session {

// What the caller does at its places in the start: the windows prepare and show themselves (the
// command-line rendering sets its plot area and lines there), and the windows are arranged.
struct StartupSteps {
    std::function<void()> prepareWindows;
    std::function<void()> arrange;
    // The user's settings file is read before the windows prepare themselves. The command-line
    // rendering leaves it out: its pictures are the same wherever it runs.
    bool readSettings = true;
    // Once the windows are arranged: the work kept from the last run is drawn again. True when
    // there was some; otherwise the term lines as they stand are applied.
    std::function<bool()> drawKeptWork;
};

// The whole start, in this order: the state with its defaults and the given screen units per
// pixel, the engine with its definitions and fixed variables, the settings file of the
// configuration folder (chosen here when the state has none), the scale, the windows; then
// busyFlag is cleared, the windows are arranged and the kept work is drawn, or the term lines
// as they stand are applied.
void startup(core::State& state, int tppX, int tppY, const StartupSteps& steps);

// The first part of the start alone (everything before the windows); leaves busyFlag at 1.
void startupState(core::State& state);

// The factory defaults as the menu restores them: settings, scale and the sample-count windows.
void restoreDefaults(core::State& state);

} // namespace session
