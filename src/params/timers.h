#pragma once
// The parameter timers: one periodic timer of the main window moves every running parameter slot
// by its step on each tick and redraws the picture once. state.timerList holds the running slots,
// one character each whose code is the slot number, in the order they were started; the main
// timer runs exactly while that list is not empty.
//
// Every routine here that changes the list or the menu caption calls
// hooks.timerRunningChanged(running) afterwards, and hooks.paramChanged(k) for each slot whose
// timer symbol changed. The main window starts or stops its timer in the first and shows
// state.timerMenuCaption; a parameter window shows its symbol's border and locks its fields while
// the slot runs.

#include "core/state.h"

#include <QString>

#include <array>

namespace params {

// The tempo of the timers in steps a second. 25 steps a second look continuous, and at about 2 ms
// for a full redraw the event loop stays free for the sliders and the menus between two ticks.
inline constexpr int slowestTempo = core::slowestTimerTempo;
inline constexpr int fastestTempo = core::fastestTimerTempo;
// The main timer's period for a tempo (limited to slowestTempo ... fastestTempo), in ms.
constexpr int timerIntervalMs(int tempo) {
    const int t = tempo < slowestTempo ? slowestTempo : tempo > fastestTempo ? fastestTempo : tempo;
    return (2000 + t) / (2 * t); // 1000 / t, halves up
}
inline constexpr int timerTickMs = timerIntervalMs(core::defaultTimerTempo);

// "&Tempo der Timer ...": asks for the tempo. A whole number from 1 to 60 becomes the tempo
// (true); anything else is refused with a message box and the tempo stays. Cancelling keeps it.
inline const QString tempoTitle = QStringLiteral("Tempo der Timer");
bool asktempo(core::State& state);

inline constexpr int timerModeLoop = 0;    // "Schleife": from the upper bound back to the lower
inline constexpr int timerModeReverse = 1; // "Richtungsumkehr": the step changes its sign

inline const QString timerStartAllCaption = QStringLiteral("Alle &Timer gleichzeitig starten");
inline const QString timerStopAllCaption = QStringLiteral("Alle &Timer anhalten");

// True while the main timer is to run: some slot's timer is running.
bool timerShouldRun(const core::State& state);
// True while slot k's timer runs.
bool timerRunning(const core::State& state, int k);

// Starts or stops slot k's timer. A slot without a parameter or with step 0 does not start.
void toggleTimer(core::State& state, int k);
// Stops slot k's timer if it runs (for instance when its window is closed).
void stopTimer(core::State& state, int k);

enum class TimerSymbolAction { Toggled, OpenDialog };
// The timer symbol of slot k's window was pressed: the left button toggles the timer, unless the
// step is 0 and the timer is off; then, and for any other button, the timer dialog is to open.
TimerSymbolAction timerSymbolPressed(core::State& state, int k, bool leftButton);

// The menu command "Alle &Timer gleichzeitig starten": stops all timers when the main timer runs,
// otherwise starts the timer of every shown parameter that can run.
void timergo(core::State& state);

// One tick of the main timer: every running slot moves by its step, looping or reversing at its
// bounds, then the picture is redrawn once. Slots that lost their parameter leave the list.
void timerTick(core::State& state);

// The timer dialog ("Dialog") of one slot.
inline const std::array<QString, 2> timerModeNames = {QStringLiteral("Schleife"),
                                                      QStringLiteral("Richtungsumkehr")};
struct TimerDialogContents {
    QString caption;  // "Timer für " and the slot's label
    int mode = 0;     // index into timerModeNames
    QString stepText; // the step as the dialog shows it
};
TimerDialogContents timerDialogInit(const core::State& state, int k);
// OK in the dialog: reads the step (a term, as in every number field) and takes it with the mode.
// A step that is larger than the slot's interval, or a text that gives no finite number, is
// refused with a message box; then nothing changes and false is returned so that the dialog
// stays open. A step of 0 (also an empty field) stops the slot's timer, since such a slot cannot
// run.
bool timerDialogOk(core::State& state, int k, const QString& stepText, int mode);

} // namespace params
