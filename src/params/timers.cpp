#include "params/timers.h"

#include "core/numbers.h"
#include "core/scopes.h"
#include "core/state.h"
#include "params/paramlogic.h"

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace params {

namespace {

bool validSlot(int k) {
    return k >= 0 && k < core::paramCount;
}

QChar slotChar(int k) {
    return QChar(char16_t(k));
}

// A slot runs only while it carries a parameter and has a step that moves it.
bool canRun(const core::ParamSlot& p) {
    return p.handle != -1 && std::isfinite(p.step) && p.step != 0;
}

void notify(core::State& state, int k) {
    state.hooks.call(state.hooks.paramChanged, k);
}

void announce(core::State& state) {
    // With nothing running the menu offers to start again, whoever emptied the list.
    if (state.timerList.isEmpty()) state.timerMenuCaption = timerStartAllCaption;
    state.hooks.call(state.hooks.timerRunningChanged, timerShouldRun(state));
}

// Takes out every slot that can no longer run (its parameter was removed, or its step is 0), so
// that no timer keeps moving a slot that is free or reused. True when something was taken out.
bool dropStaleSlots(core::State& state) {
    QString kept;
    std::vector<int> dropped;
    for (const QChar c : std::as_const(state.timerList)) {
        const int k = c.unicode();
        if (validSlot(k) && canRun(state.params[k]) && !kept.contains(c))
            kept.append(c);
        else
            dropped.push_back(k);
    }
    if (dropped.empty()) return false;
    state.timerList = kept;
    for (const int k : dropped)
        if (validSlot(k)) notify(state, k);
    return true;
}

// One step as the user adds it up: steps of 0,1 from -1 reach 0 and 1 exactly, with no binary
// noise piling up from tick to tick. A loop to a bound takes the bound itself.
double stepped(double cur, double s) {
    return s == 0 ? cur : core::decimalSum(cur, s);
}

// The next value of a running slot; a reversal stores the step with its new sign.
double nextValue(core::ParamSlot& p) {
    const bool reverse = p.timerMode == timerModeReverse;
    double cur = p.value;
    double s = p.step;
    if (stepped(cur, s) > p.maximum) {
        if (reverse) {
            s = -std::abs(s);
            p.step = s;
        } else {
            cur = p.minimum;
            s = 0;
        }
    }
    if (stepped(cur, s) < p.minimum) {
        if (reverse) {
            s = std::abs(s);
            p.step = s;
        } else {
            cur = p.maximum;
            s = 0;
        }
    }
    return stepped(cur, s);
}

} // namespace

bool timerShouldRun(const core::State& state) {
    return !state.timerList.isEmpty();
}

bool timerRunning(const core::State& state, int k) {
    return validSlot(k) && state.timerList.contains(slotChar(k));
}

void toggleTimer(core::State& state, int k) {
    if (!validSlot(k)) return;
    if (timerRunning(state, k)) {
        state.timerList.remove(slotChar(k));
    } else {
        if (!canRun(state.params[k])) return;
        state.timerList.append(slotChar(k));
    }
    notify(state, k);
    announce(state);
}

void stopTimer(core::State& state, int k) {
    if (timerRunning(state, k)) toggleTimer(state, k);
}

TimerSymbolAction timerSymbolPressed(core::State& state, int k, bool leftButton) {
    if (!validSlot(k)) return TimerSymbolAction::OpenDialog;
    const core::ParamSlot& p = state.params[k];
    // A running timer always stops from its symbol, whatever its step has become.
    if (leftButton && (p.step != 0 || timerRunning(state, k))) {
        toggleTimer(state, k);
        return TimerSymbolAction::Toggled;
    }
    return TimerSymbolAction::OpenDialog;
}

void timergo(core::State& state) {
    const bool start = !timerShouldRun(state);
    const QString before = state.timerList;
    state.timerList.clear();
    if (start) {
        // Only parameters the user sees: a hidden window's slot (a sample count, say) would
        // change the picture with no symbol to show why or to stop it.
        for (int k = 0; k < core::paramCount; ++k) {
            const core::ParamSlot& p = state.params[k];
            if (canRun(p) && p.visible) state.timerList.append(slotChar(k));
        }
    }
    for (int k = 0; k < core::paramCount; ++k)
        if (before.contains(slotChar(k)) != state.timerList.contains(slotChar(k))) notify(state, k);
    state.timerMenuCaption = timerShouldRun(state) ? timerStopAllCaption : timerStartAllCaption;
    announce(state);
}

void timerTick(core::State& state) {
    const bool dropped = dropStaleSlots(state);
    if (!timerShouldRun(state)) {
        announce(state);
        return;
    }
    if (dropped) announce(state);

    {
        // The single moves must not redraw; one picture follows for all of them.
        const core::BusyScope busy(state);
        const QString running = state.timerList;
        for (const QChar c : running) {
            const int k = c.unicode();
            core::ParamSlot& p = state.params[k];
            if (p.handle == -1) continue;
            setpar(state, k, nextValue(p));
        }
    }
    state.hooks.call(state.hooks.redrawall);
}

TimerDialogContents timerDialogInit(const core::State& state, int k) {
    TimerDialogContents contents;
    if (!validSlot(k)) return contents;
    const core::ParamSlot& p = state.params[k];
    contents.caption = QStringLiteral("Timer für ") + p.label;
    contents.mode = p.timerMode == timerModeReverse ? timerModeReverse : timerModeLoop;
    contents.stepText = core::germanNumber(p.step);
    return contents;
}

bool timerDialogOk(core::State& state, int k, const QString& stepText, int mode) {
    if (!validSlot(k)) return false;
    core::ParamSlot& p = state.params[k];
    // OK with the step as shown keeps it with all its digits.
    const std::optional<double> step = core::rereadnum(state.engine, stepText, p.step);
    // An empty field is a step of 0, which stops the timer.
    const double s = stepText.trimmed().isEmpty() ? 0 : step.value_or(0);
    const QString problem = !step && !stepText.trimmed().isEmpty()
                                ? QStringLiteral("Schrittweite unverständlich!")
                            : !(std::abs(s) <= p.maximum - p.minimum)
                                ? QStringLiteral("Schrittweite ist größer als das Intervall!")
                                : QString();
    if (!problem.isEmpty()) {
        state.messages->inform(QStringLiteral("Inakzeptable Schrittweite"), problem,
                               platform::MessageIcon::Critical);
        return false;
    }
    p.timerMode = mode == timerModeReverse ? timerModeReverse : timerModeLoop;
    p.step = s;
    if (s == 0) stopTimer(state, k);
    return true;
}

} // namespace params

namespace params {

bool asktempo(core::State& state) {
    const std::optional<QString> answer = state.messages->input(
        tempoTitle,
        QStringLiteral("Schritte pro Sekunde (%1 bis %2):").arg(slowestTempo).arg(fastestTempo),
        QString::number(state.timerTempo));
    if (!answer) return false;
    const std::optional<double> v = core::evalnum(state.engine, *answer);
    if (!v || *v != std::floor(*v) || *v < slowestTempo || *v > fastestTempo) {
        state.messages->inform(
            tempoTitle,
            QStringLiteral("Das Tempo muss eine ganze Zahl von %1 bis %2 Schritten pro Sekunde "
                           "sein!")
                .arg(slowestTempo)
                .arg(fastestTempo),
            platform::MessageIcon::Critical);
        return false;
    }
    state.timerTempo = int(*v);
    return true;
}

} // namespace params
