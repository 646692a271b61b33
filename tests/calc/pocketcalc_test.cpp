#include "calc/pocketcalc.h"
#include "calc/terminalcalc.h"
#include "core/numbers.h"
#include "core/state.h"
#include "engine/settingsfile.h"
#include "session/applydata.h"
#include "support/printing.h"
#include "support/qtext.h"
#include "support/recordingmessages.h"
#include "support/termlines.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

TEST(PocketCalc, RoundsHalvesToEvenAsTheUserReadsTheNumber) {
    struct Case {
        double value;
        int places;
        const char* shown;
    };
    const Case cases[] = {
        {1.0 / 3, 3, "0.333"},
        {2.5, 0, "2"},
        {-2.5, 0, "-2"},
        {0.125, 2, "0.12"},
        {0.355, 2, "0.36"}, // a half as typed, though the double lies just below it
        {0.9996, 3, "1"},
        {-0.0004, 3, "0"}, // no "-0"
        {123456.789, 22, "123456.789"},
        {1.0 / 3, 22, "0.333333333333333"},
        {1e20, 3, "1e+20"},
        {1.7976931348623157e308, 0, "1.79769313486232e+308"},
        {inf, 3, "Error: Overflow"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(calc::roundedText(c.value, c.places), q(c.shown)) << c.value << " " << c.places;
}

class PocketCalcState : public ::testing::Test {
protected:
    void SetUp() override {
        state.messages = messages;
        state.busyFlag = 0;
        ASSERT_TRUE(folder.isValid());
        state.configFolder = folder.path();
    }
    void apply(std::initializer_list<const char*> lines) {
        testsupport::typeLines(state, lines);
        ASSERT_TRUE(session::applydata(state));
    }

    std::shared_ptr<platform::RecordingMessages> messages =
        std::make_shared<platform::RecordingMessages>();
    QTemporaryDir folder;
    core::State state;
};

// The calculator sees the lines' functions, their derivatives and the parameters.
TEST_F(PocketCalcState, TermsUseTheCurrentLinesAndParameters) {
    apply({"f(x) = a*x^2", "g(x) = f'(x)"});
    state.engine.setVariable(state.params[state.findparam(q("a"))].handle, 2);
    // As the last line drawn leaves it; the calculator's derivatives take a finer step.
    state.engine.setVariable(state.handles.sw, 0.04);
    struct Case {
        const char* term;
        const char* shown;
    };
    const Case cases[] = {
        {"1/3", "0.333"},
        {"f(3)", "18"},
        {"f'(1)", "4"}, // 4.0002 to three places
        {"g(1)", "4"},
        {"a * 1,25", "2.5"},
        {"", ""},
        {"q + 1", "Error: Syntax"},
        {"1/0", "Error: Division durch 0"},
        {"wurzel(-1)", "Error: Ungültiger Wert unter der Wurzel"},
        {"h'(2)", "Error: Ungültiger Term"}, // no line h: not the 0 of an empty text
        {"2+", "Error: Ungültiger Term"},
        {"h(2)", "Error: Nicht definierte Funktion: h"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(calc::docalc(state, q(c.term)), q(c.shown)) << c.term;
        EXPECT_EQ(state.engine.error(), 0) << c.term;
        EXPECT_EQ(state.engine.variable(state.handles.sw), 0.04) << c.term;
    }
    state.calcDecimals = 0;
    EXPECT_EQ(calc::docalc(state, q("2,5")), q("2"));
}

TEST_F(PocketCalcState, PlacesAreCheckedAndKeptInTheSettings) {
    struct Case {
        const char* typed;
        int places; // afterwards; -1: refused, the places stay
    };
    const Case cases[] = {
        {"4", 4},   {"23", -1}, {"-1", -1}, {"abc", -1}, {"", -1},
        {"2+3", 5}, {"2,4", 2}, {"22", 22}, {"0", 0},    {"1/0", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const int before = state.calcDecimals;
        messages->shown.clear();
        EXPECT_EQ(calc::checkround(state, q(c.typed)), c.places >= 0);
        if (c.places >= 0) {
            EXPECT_EQ(state.calcDecimals, c.places);
            EXPECT_TRUE(messages->shown.empty());
            core::State next;
            next.configFolder = state.configFolder;
            engine::loadsettings(next);
            EXPECT_EQ(next.calcDecimals, c.places); // written at once
        } else {
            EXPECT_EQ(state.calcDecimals, before);
            ASSERT_EQ(messages->shown.size(), 1u);
            EXPECT_EQ(messages->shown[0].title, q("Stellen nach dem Komma:"));
            EXPECT_EQ(messages->shown[0].text, q("Ungültige Stellenzahl!"));
            EXPECT_EQ(messages->shown[0].icon, platform::MessageIcon::Critical);
        }
    }
}

TEST_F(PocketCalcState, UnusablePlacesInTheSettingsFileAreSkipped) {
    for (const char* value : {"23", "-1", "drei", ""}) {
        QFile file(engine::settingsPath(state));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[Kurvatur]\nRechnerstellen=") + value + "\n");
        file.close();
        state.calcDecimals = 5;
        engine::loadsettings(state);
        EXPECT_EQ(state.calcDecimals, 5) << value;
    }
}

// Lines the program's run in terminalcalc_test does not cover: definitions give the window's forms.
TEST(PocketCalc, TerminalCalculatorDefinitionsShowWhatTheWindowShows) {
    calc::TerminalCalc three(false, 1, 3);
    EXPECT_EQ(three.processLine(q("a = 1/7")), q("0.143"));
    EXPECT_EQ(three.processLine(q("a * 7")), q("1"));
    EXPECT_EQ(three.processLine(q("g(x) = 2+")), q("Error: Ungültiger Term"));
    EXPECT_EQ(three.processLine(q("   ")), q("Error: Ungültiger Term"));
}

} // namespace
