// The parameter timers: ticks, starting and stopping, the menu command and the timer dialog.

#include "params/timers.h"

#include "core/numbers.h"
#include "core/state.h"
#include "params/paramlogic.h"

#include "support/paramreadback.h"
#include "support/qtapp.h"
#include "support/recordingmessages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iomanip>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace {

using platform::MessageIcon;
using platform::RecordingMessages;

constexpr int a = 28;
constexpr int b = 29;
constexpr int c = 30;

// The running list as slot numbers, in its order.
std::vector<int> slotsOf(const QString& list) {
    std::vector<int> numbers;
    for (const QChar ch : list)
        numbers.push_back(ch.unicode());
    return numbers;
}

const QString startAll = QStringLiteral("Alle &Timer gleichzeitig starten");
const QString stopAll = QStringLiteral("Alle &Timer anhalten");

class Timers : public ::testing::Test {
protected:
    void SetUp() override {
        s.messages = recorder;
        s.busyFlag = 0;
        // redrawall draws only while busyFlag is clear; only those calls are pictures.
        s.hooks.redrawall = [this] {
            if (s.busyFlag == 0) ++redraws;
        };
        s.hooks.paramChanged = [this](int k) { changed.push_back(k); };
        s.hooks.timerRunningChanged = [this](bool running) { runningReports.push_back(running); };
    }

    std::shared_ptr<RecordingMessages> recorder = std::make_shared<RecordingMessages>();
    RecordingMessages& messages() { return *recorder; }

    // A free parameter with its window shown, as the data-set assembly makes it.
    void makeFree(int k, const QString& label, double lo = -10, double hi = 10, double value = 0) {
        auto& p = s.params[k];
        p.label = label;
        p.handle = s.engine.defineVariable(label.toStdString());
        p.minimum = lo;
        p.maximum = hi;
        p.value = value;
        p.visible = true;
        params::init(s, k);
    }
    void resetCounts() {
        redraws = 0;
        changed.clear();
        runningReports.clear();
    }
    std::optional<bool> lastRunning() const {
        if (runningReports.empty()) return std::nullopt;
        return runningReports.back();
    }

    core::State s;
    int redraws = 0;
    std::vector<int> changed;
    std::vector<bool> runningReports;
};

// Tenths from one to the other, both included.
std::vector<double> tenths(int from, int to) {
    std::vector<double> run;
    for (int t = from;; t += from < to ? 1 : -1) {
        run.push_back(t / 10.0);
        if (t == to) return run;
    }
}

std::vector<double> operator+(std::vector<double> first, const std::vector<double>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A value of whole tenths as the user writes it: "-0,7", "0", "6".
QString writtenInTenths(double v) {
    const long t = std::lround(v * 10);
    QString text = QString::number(std::abs(t) / 10);
    if (t % 10 != 0) text += QLatin1Char(',') + QString::number(std::abs(t) % 10);
    return t < 0 ? QLatin1Char('-') + text : text;
}

// Each tick moves the value by the step, looping or reversing at the bounds and never hanging on
// odd ones. Steps of 0,1 add up as the decimals shown: the field, the slider and the engine show
// the value itself, and Enter in the untouched fields changes nothing.
TEST_F(Timers, EachTickStepsTheValueAndShowsItExactly) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        int mode;
        double lo, hi, step, start;
        std::vector<double> values; // after each tick
        std::vector<double> steps;  // the stored step after each tick; none: a loop keeps it
    };
    // From -1 by 0,1 to 1, then back to -1; from 0,5 up to 1, down to -1 and up again.
    const std::vector<double> loop = tenths(-9, 10) + tenths(-10, -9);
    const std::vector<double> reversal = tenths(6, 10) + tenths(9, -10) + tenths(-9, -8);
    const std::vector<Case> cases = {
        {"loop", 0, 0, 10, 3, 0, {3, 6, 9, 0, 3}, {}},
        {"reversal", 1, 0, 10, 3, 0, {3, 6, 9, 6, 3, 0, 3}, {3, 3, 3, -3, -3, -3, 3}},
        {"loop downwards", 0, 0, 10, -3, 10, {7, 4, 1, 10, 7}, {}},
        {"reversal from below", 1, 0, 10, -4, 2, {6, 10, 6}, {4, 4, -4}},
        {"step as wide as the range", 0, 0, 10, 10, 0, {10, 0, 10}, {}},
        {"value above the range", 0, 0, 10, 1, 12, {0, 1}, {}},
        {"negative range", 1, -5, -1, 2, -5, {-3, -1, -3, -5, -3}, {2, 2, -2, -2, 2}},
        {"no bounds, loop", 0, nan, nan, 2, 1, {3, 5}, {}},
        {"no bounds, reversal", 1, nan, nan, 2, 1, {3, 5}, {2, 2}},
        {"no upper bound", 0, 0, inf, 2, 1, {3, 5}, {}},
        {"no lower bound, reversal", 1, -inf, 2, 2, 1, {-1, -3}, {-2, -2}},
        // Looping to an infinite bound is no value; the slot keeps its own.
        {"no lower bound, loop", 0, -inf, 2, 2, 1, {1, 1}, {}},
        {"tenths, loop", 0, -1, 1, 0.1, -1, loop, {}},
        {"tenths, reversal", 1, -1, 1, 0.1, 0.5, reversal, {}},
        {"tenths up to 6", 0, 0, 10, 0.1, 0, tenths(1, 60), {}},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.what);
        const bool bounded = std::isfinite(tc.hi - tc.lo);
        makeFree(a, QStringLiteral("a"), bounded ? tc.lo : -10, bounded ? tc.hi : 10, tc.start);
        core::ParamSlot& p = s.params[a];
        p.minimum = tc.lo;
        p.maximum = tc.hi;
        p.step = tc.step;
        p.timerMode = tc.mode;
        params::toggleTimer(s, a);
        ASSERT_TRUE(params::timerRunning(s, a));
        for (std::size_t i = 0; i < tc.values.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "tick " << i + 1);
            params::timerTick(s);
            EXPECT_EQ(p.value, tc.values[i]) << std::setprecision(17) << p.value;
            EXPECT_EQ(p.step, tc.steps.empty() ? (tc.mode == 0 ? tc.step : p.step) : tc.steps[i]);
            EXPECT_EQ(s.engine.eval("a"), p.value);
            EXPECT_EQ(s.busyFlag, 0);
            // The text is the value itself, not a rounding of it.
            EXPECT_EQ(p.valueText, writtenInTenths(p.value));
            EXPECT_EQ(core::evalnum(s.engine, p.valueText), p.value) << p.valueText.toStdString();
            if (bounded) {
                EXPECT_EQ(p.sliderPos, std::lround((p.value - tc.lo) * 1000 / (tc.hi - tc.lo)));
                EXPECT_TRUE(testsupport::readsBackUnchanged(s, a));
            }
        }
        params::toggleTimer(s, a);
        EXPECT_FALSE(params::timerShouldRun(s));
    }
}

TEST_F(Timers, OneRedrawPerTickForAllRunningSlotsAndNoMoveForAFreedOne) {
    makeFree(a, QStringLiteral("a"));
    makeFree(b, QStringLiteral("b"));
    makeFree(c, QStringLiteral("c"));
    s.params[b].step = 2;
    s.params[c].step = -0.5;
    for (const int k : {c, a, b})
        params::toggleTimer(s, k);
    EXPECT_EQ(slotsOf(s.timerList), (std::vector<int>{c, a, b}));
    resetCounts();

    params::timerTick(s);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(s.busyFlag, 0);
    EXPECT_EQ(s.params[a].value, 1);
    EXPECT_EQ(s.params[b].value, 2);
    EXPECT_EQ(s.params[c].value, -0.5);
    EXPECT_EQ(s.params[b].valueText, QStringLiteral("2"));
    EXPECT_EQ(s.params[c].valueText, QStringLiteral("-0,5"));

    // Slot c loses its parameter: it leaves the list, its symbol its border; the others run on.
    s.params[c].handle = -1;
    resetCounts();
    params::timerTick(s);
    EXPECT_EQ(s.params[c].value, -0.5);
    EXPECT_EQ(s.params[b].value, 4);
    EXPECT_EQ(slotsOf(s.timerList), (std::vector<int>{a, b}));
    EXPECT_EQ(changed.front(), c);
    EXPECT_EQ(redraws, 1);
    // Nor can it be started again.
    params::toggleTimer(s, c);
    EXPECT_EQ(slotsOf(s.timerList), (std::vector<int>{a, b}));

    // A tick that comes during a batch update leaves the batch's flag and draws nothing.
    s.busyFlag = 1;
    params::timerTick(s);
    EXPECT_EQ(s.busyFlag, 1);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(s.params[a].value, 3);
}

TEST_F(Timers, TheMenuStartsTheShownSlotsThatCanRunAndSharesTheListWithTheSymbols) {
    makeFree(a, QStringLiteral("a"));
    makeFree(b, QStringLiteral("b"));
    makeFree(c, QStringLiteral("c"));
    makeFree(c + 1, QStringLiteral("d"));
    s.params[c].visible = false; // its window was closed
    s.params[c + 1].step = 0;
    // Slot 32 is free but keeps the default step 1.
    ASSERT_EQ(s.params[32].handle, -1);
    ASSERT_NE(s.params[32].step, 0);

    // One timer started from its symbol: the menu still offers to start, but stops all, since
    // the main timer runs.
    EXPECT_EQ(params::timerSymbolPressed(s, a, true), params::TimerSymbolAction::Toggled);
    EXPECT_TRUE(params::timerRunning(s, a));
    EXPECT_EQ(lastRunning(), true);
    EXPECT_EQ(s.timerMenuCaption, startAll);
    params::timergo(s);
    EXPECT_FALSE(params::timerShouldRun(s));
    EXPECT_EQ(lastRunning(), false);
    EXPECT_EQ(s.timerMenuCaption, startAll);

    // Now it starts every shown parameter that can run.
    resetCounts();
    params::timergo(s);
    EXPECT_EQ(slotsOf(s.timerList), (std::vector<int>{a, b}));
    EXPECT_EQ(s.timerMenuCaption, stopAll);
    EXPECT_EQ(lastRunning(), true);
    EXPECT_EQ(changed, (std::vector<int>{a, b})); // both symbols show their border

    // Stopping them one by one from their symbols leaves nothing running and the menu offers to
    // start again, so that its caption says what it does.
    params::timerSymbolPressed(s, a, true);
    EXPECT_EQ(s.timerMenuCaption, stopAll);
    params::timerSymbolPressed(s, b, true);
    EXPECT_FALSE(params::timerShouldRun(s));
    EXPECT_EQ(lastRunning(), false);
    EXPECT_EQ(s.timerMenuCaption, startAll);

    // The right button opens the dialog and never toggles; so does the left one while the step
    // is 0, since such a slot cannot run.
    EXPECT_EQ(params::timerSymbolPressed(s, a, false), params::TimerSymbolAction::OpenDialog);
    s.params[a].step = 0;
    EXPECT_EQ(params::timerSymbolPressed(s, a, true), params::TimerSymbolAction::OpenDialog);
    params::toggleTimer(s, a);
    EXPECT_FALSE(params::timerShouldRun(s));

    // With nothing that can run the menu starts nothing and the timer stays off.
    s.params[b].step = 0;
    resetCounts();
    params::timergo(s);
    EXPECT_TRUE(s.timerList.isEmpty());
    EXPECT_EQ(s.timerMenuCaption, startAll);
    EXPECT_EQ(lastRunning(), false);
}

// A tick whose list holds nothing that can run moves nothing, draws nothing and switches the
// timer off, however the list came to that.
TEST_F(Timers, ATickWithNothingThatCanRunSwitchesTheTimerOff) {
    struct Case {
        const char* what;
        std::function<void()> spoil;
        bool symbolChanges; // the slot's symbol loses its border
    };
    const Case cases[] = {
        {"list emptied behind the timer's back, as the data-set assembly does",
         [this] { s.timerList.clear(); }, false},
        {"step set to 0", [this] { s.params[a].step = 0; }, true},
        {"parameter removed", [this] { s.params[a].handle = -1; }, true},
        {"a character that names no slot", [this] { s.timerList = QString(QChar(char16_t(200))); },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        makeFree(a, QStringLiteral("a"), -10, 10, 4);
        s.params[a].step = 1;
        params::timergo(s);
        ASSERT_EQ(s.timerMenuCaption, stopAll);
        c.spoil();
        resetCounts();

        params::timerTick(s);
        EXPECT_EQ(s.params[a].value, 4);
        EXPECT_TRUE(s.timerList.isEmpty());
        EXPECT_EQ(lastRunning(), false);
        EXPECT_EQ(s.timerMenuCaption, startAll);
        EXPECT_EQ(redraws, 0);
        EXPECT_EQ(s.busyFlag, 0);
        EXPECT_EQ(changed, c.symbolChanges ? std::vector<int>{a} : std::vector<int>{});
    }
}

TEST_F(Timers, DialogStepReadsBackUnchanged) {
    struct Case {
        double step;
        const char* shown;
    };
    const Case cases[] = {
        {1.0 / 3, "0,333333333333333"}, {-0.1, "-0,1"}, {1e-7, "1e-07"}, {0.1 + 0.2, "0,3"}};
    makeFree(a, QStringLiteral("a"), 0, 10);
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.shown);
        s.params[a].step = tc.step;
        const params::TimerDialogContents contents = params::timerDialogInit(s, a);
        EXPECT_EQ(contents.stepText, QString::fromUtf8(tc.shown));
        EXPECT_TRUE(params::timerDialogOk(s, a, contents.stepText, contents.mode));
        EXPECT_EQ(s.params[a].step, tc.step);
    }
    EXPECT_TRUE(messages().shown.empty());
}

TEST_F(Timers, DialogTakesOrRefusesTheStep) {
    struct Case {
        const char* text;
        int mode;
        bool accepted;
        double step;         // the slot's step afterwards
        const char* message; // when refused
    };
    const char* tooLarge = "Schrittweite ist größer als das Intervall!";
    const char* unreadable = "Schrittweite unverständlich!";
    // An empty field is a step of 0: such a slot cannot run, and a running one stops.
    const std::vector<Case> cases = {
        {"11", 1, false, 3, tooLarge},
        {"10", 1, true, 10, ""},
        {"-2,5", 1, true, -2.5, ""},
        {"2.5", 0, true, 2.5, ""},
        {"2*3", 1, true, 6, ""},
        {"10,0001", 0, false, 3, tooLarge},
        {"1e400", 1, false, 3, unreadable},
        {"abc", 1, false, 3, unreadable},
        {"0", 1, true, 0, ""},
        {"", 0, true, 0, ""},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.text);
        makeFree(a, QStringLiteral("a"), 0, 10);
        s.params[a].step = 3;
        s.params[a].timerMode = 0;
        params::toggleTimer(s, a);
        messages().shown.clear();

        EXPECT_EQ(params::timerDialogOk(s, a, QString::fromUtf8(tc.text), tc.mode), tc.accepted);
        EXPECT_EQ(s.params[a].step, tc.step);
        EXPECT_EQ(params::timerShouldRun(s), tc.step != 0);
        EXPECT_EQ(lastRunning(), tc.step != 0);
        params::stopTimer(s, a);
        if (tc.accepted) {
            EXPECT_TRUE(messages().shown.empty());
            EXPECT_EQ(s.params[a].timerMode, tc.mode);
        } else {
            ASSERT_EQ(messages().shown.size(), 1u);
            EXPECT_EQ(messages().shown[0].title, QStringLiteral("Inakzeptable Schrittweite"));
            EXPECT_EQ(messages().shown[0].text, QString::fromUtf8(tc.message));
            EXPECT_EQ(messages().shown[0].icon, MessageIcon::Critical);
            EXPECT_EQ(s.params[a].timerMode, 0); // the old values stay
        }
    }
}

} // namespace

namespace {

TEST(TimerTempo, TheIntervalFollowsTheTempo) {
    const struct {
        int tempo;
        int ms;
    } cases[] = {{1, 1000}, {25, 40}, {30, 33}, {60, 17}, {0, 1000}, {61, 17}, {-5, 1000}};
    for (const auto& c : cases)
        EXPECT_EQ(params::timerIntervalMs(c.tempo), c.ms) << c.tempo;
    EXPECT_EQ(params::timerTickMs, params::timerIntervalMs(core::defaultTimerTempo));
}

TEST_F(Timers, TheTempoIsAskedForAndRefusedOutsideOneToSixty) {
    const struct {
        std::optional<QString> answer;
        bool taken;
        int tempo;
    } cases[] = {{QStringLiteral("50"), true, 50},   {QStringLiteral("1"), true, 1},
                 {QStringLiteral("60"), true, 60},   {QStringLiteral("2*6"), true, 12},
                 {QStringLiteral("0"), false, 25},   {QStringLiteral("61"), false, 25},
                 {QStringLiteral("2,5"), false, 25}, {QStringLiteral("schnell"), false, 25},
                 {std::nullopt, false, 25}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.value_or(QStringLiteral("(abgebrochen)")).toStdString());
        s.timerTempo = 25;
        messages().shown.clear();
        messages().inputAnswer = c.answer;
        EXPECT_EQ(params::asktempo(s), c.taken);
        EXPECT_EQ(s.timerTempo, c.tempo);
        // The question, and a refusal of a typed answer said once.
        const std::size_t refused = !c.taken && c.answer ? 1 : 0;
        ASSERT_EQ(messages().shown.size(), 1 + refused);
        EXPECT_EQ(messages().shown[0].title, QStringLiteral("Tempo der Timer"));
        if (refused) {
            EXPECT_EQ(messages().shown[1].icon, MessageIcon::Critical);
        }
    }
}

} // namespace
