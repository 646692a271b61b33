#include "core/state.h"
#include "engine/linedefs.h"
#include "params/paramlogic.h"
#include "session/applydata.h"
#include "support/recordingmessages.h"
#include "support/termlines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <numbers>

namespace {

class ApplyData : public ::testing::Test {
protected:
    core::State state;
    platform::RecordingMessages* messages = nullptr;

    void SetUp() override {
        auto recorder = std::make_shared<platform::RecordingMessages>();
        messages = recorder.get();
        state.messages = recorder;
        state.busyFlag = 0;
    }

    bool apply(std::initializer_list<const char*> lines) {
        testsupport::typeLines(state, lines);
        return session::applydata(state);
    }

    int slotOf(const char* name) const { return state.findparam(QString::fromUtf8(name)); }

    double value(const char* text) {
        const double v = state.engine.eval(text);
        EXPECT_EQ(state.engine.error(), 0) << text;
        return v;
    }

    QString status() const { return state.termEditor.statusText; }
};

TEST_F(ApplyData, FreeNamesBecomeParametersFromSlot28) {
    ASSERT_TRUE(apply({"f(x) = a*x^2 + b"}));
    EXPECT_EQ(status(), QStringLiteral("Ok."));
    EXPECT_EQ(slotOf("a"), 28);
    EXPECT_EQ(slotOf("b"), 29);
    for (int k : {28, 29}) {
        EXPECT_EQ(state.params[k].minimum, -10);
        EXPECT_EQ(state.params[k].maximum, 10);
        EXPECT_EQ(state.params[k].step, 1);
        EXPECT_TRUE(state.params[k].visible);
    }
    EXPECT_EQ(state.params[30].handle, -1);
    EXPECT_EQ(state.usedParamNames, QStringLiteral("a,b,"));
    params::setpar(state, 28, 2);
    params::setpar(state, 29, 1);
    EXPECT_DOUBLE_EQ(value("f(3)"), 19);
}

TEST_F(ApplyData, RenamingKeepsTheOtherParameterAndItsValue) {
    ASSERT_TRUE(apply({"f(x) = a*x^2 + b"}));
    params::setpar(state, 28, 3);
    ASSERT_TRUE(apply({"f(x) = a*x^2 + c"}));
    EXPECT_EQ(slotOf("a"), 28);
    EXPECT_DOUBLE_EQ(state.params[28].value, 3);
    EXPECT_EQ(slotOf("b"), -1);
    EXPECT_EQ(slotOf("c"), 29); // b's slot, freed in the same run, is the lowest free one
    EXPECT_EQ(state.params[30].handle, -1);
    EXPECT_EQ(state.usedParamNames, QStringLiteral("a,c,"));
    EXPECT_DOUBLE_EQ(value("a"), 3);
}

TEST_F(ApplyData, UpperCaseNamesAreTheSameParameter) {
    ASSERT_TRUE(apply({"f(x) = A*x + a"}));
    EXPECT_EQ(slotOf("a"), 28);
    EXPECT_EQ(state.params[29].handle, -1);
}

TEST_F(ApplyData, FillMakesTheDensityParameter) {
    ASSERT_TRUE(apply({"f(x) = fill"}));
    const int k = slotOf("dichte");
    ASSERT_GE(k, 28);
    EXPECT_EQ(state.params[k].minimum, 1);
    EXPECT_EQ(state.params[k].maximum, 1001);
}

TEST_F(ApplyData, LinesAreDefinedInDependencyOrder) {
    ASSERT_TRUE(apply({"g(x) = f(x) + 1", "f(x) = x^2"}));
    EXPECT_EQ(status(), QStringLiteral("Ok."));
    EXPECT_DOUBLE_EQ(value("g(2)"), 5);
    EXPECT_DOUBLE_EQ(value("f(3)"), 9);
}

// A faulty line is emptied and named in the status with the engine's own reason; the other
// line goes on working.
TEST_F(ApplyData, FaultyLinesAreEmptiedAndNamedWithTheirReason) {
    struct Case {
        const char* faulty;
        const char* status;
    };
    const Case cases[] = {
        {"f(x) = h(x) + 1", "f(_x): Nicht definierte Funktion: h"},
        {"f(x) = x +* 2", "f(_x): Ungültiger Term"},
        // Derivatives and integrals of a function that no line defines name the missing one.
        {"f(x) = q'(x)", "f(_x): Nicht definierte Funktion: q"},
        {"f(x) = q''(x) + a", "f(_x): Nicht definierte Funktion: q"},
        {"f(x) = Q(x)", "f(_x): Nicht definierte Funktion: Q"},
        {"f(x) = F(x)", "f(_x): Zu tief verschachtelte Funktionsaufrufe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.faulty);
        ASSERT_TRUE(apply({c.faulty, "g(x) = 2x"}));
        EXPECT_EQ(status(), QString::fromUtf8(c.status));
        EXPECT_TRUE(state.termEditor.statusIsError());
        EXPECT_TRUE(state.lineSlots[0].translated.isEmpty());
        EXPECT_DOUBLE_EQ(value("g(4)"), 8);
    }
}

TEST_F(ApplyData, OperatorWordsBetweenBlanksMakeNoParameters) {
    struct Case {
        const char* line;
        const char* call;
        double expected;
    };
    const Case cases[] = {
        {"f(x) = x mod 2", "f(7)", 1},
        {"f(x) = x div 2", "f(7)", 3},
        {"f(x) = nicht x > 0", "f(-1)", 1},
        {"f(x) = x > 0 und nicht x > 2", "f(3)", 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(apply({c.line}));
        EXPECT_EQ(status(), QStringLiteral("Ok.")) << c.line;
        EXPECT_TRUE(state.usedParamNames.isEmpty())
            << c.line << ": " << state.usedParamNames.toStdString();
        EXPECT_DOUBLE_EQ(value(c.call), c.expected) << c.line;
    }
}

// What a new user types: the status, the parameters the run makes (new ones start at 1), how
// the line reads back, and the value of line 0 at one point.
struct TypedCase {
    const char* typed;
    const char* status;
    const char* params; // usedParamNames
    const char* readBack;
    const char* call; // null: the line is refused and not drawn
    double expected;
};

TEST_F(ApplyData, TermsAsANewUserTypesThem) {
    const double pi = std::numbers::pi;
    const TypedCase cases[] = {
        // calls written with blanks
        {"f(x) = sin x", "Ok.", "", "f(x) = sin x", "f(pi/2)", 1},
        {"sin x", "Ok.", "", "f(x) = sin x", "f(pi/2)", 1},
        {"f(x) = SIN x", "Ok.", "", "f(x) = SIN x", "f(pi/2)", 1},
        {"f(x) = 3 sin x + 1", "Ok.", "", "f(x) = 3 sin x + 1", "f(pi/2)", 4},
        {"f(x) = wurzel 2", "Ok.", "", "f(x) = wurzel 2", "f(0)", std::sqrt(2.0)},
        {"f(x) = Wurzel x", "Ok.", "", "f(x) = Wurzel x", "f(9)", 3},
        {"f(x) = Betrag x - 1", "Ok.", "", "f(x) = Betrag x - 1", "f(-3)", 2},
        {"f(x) = cos 2x", "Ok.", "", "f(x) = cos 2x", "f(pi/2)", -1},
        {"f(x) = sin x^2", "Ok.", "", "f(x) = sin x^2", "f(2)", std::sin(4.0)},
        {"f(x) = sin (x)^2", "Ok.", "", "f(x) = sin (x)^2", "f(1)", std::pow(std::sin(1.0), 2)},
        {"f(x) = a sin x", "Ok.", "a,", "f(x) = a sin x", "f(pi/2)", 1},
        {"f(x) = x^2 sin x", "Ok.", "", "f(x) = x^2 sin x", "f(pi/2)", pi * pi / 4},
        {"f(x) = a x", "Ok.", "a,", "f(x) = a x", "f(3)", 3},
        // names that begin like a function, and capitals, are parameters as usual
        {"f(x) = sinus", "Ok.", "sinus,", "f(x) = sinus", "f(0)", 1},
        {"f(x) = cost*x", "Ok.", "cost,", "f(x) = cost*x", "f(2)", 2},
        {"f(x) = A*x", "Ok.", "a,", "f(x) = A*x", "f(3)", 3},
        {"f(x) = X^2", "Ok.", "", "f(x) = X^2", "f(3)", 9},
        // the words of the translation in capitals
        {"f(x) = 2 UND x", "Ok.", "", "f(x) = 2 UND x", "f(0)", 0},
        {"f(x) = x MOD 3", "Ok.", "", "f(x) = x MOD 3", "f(7)", 1},
        {"f(x) = 7 Div x", "Ok.", "", "f(x) = 7 Div x", "f(2)", 3},
        {"f(x) = Nicht x > 0 ODER x > 5", "Ok.", "", "f(x) = Nicht x > 0 ODER x > 5", "f(6)", 1},
        {"f(x) = Wenn(x>0; x; -x)", "Ok.", "", "f(x) = Wenn(x>0; x; -x)", "f(-2)", 2},
        {"f(x) = MAX(x; 1,5)", "Ok.", "", "f(x) = MAX(x; 1,5)", "f(0)", 1.5},
        // heads without a variable
        {"f=x^2", "Ok.", "", "f(x) = x^2", "f(3)", 9},
        {"g() = x+1", "Ok.", "", "g(x) = x+1", "g(3)", 4},
        // a function without its argument is refused, not made a parameter
        {"f(x) = sin + 1", "f(_x): Argument für sin fehlt!", "", "f(x) = sin + 1", nullptr, 0},
        {"f(x) = a*wurzel", "f(_x): Argument für wurzel fehlt!", "", "f(x) = a*wurzel", nullptr, 0},
        {"f(x) = sin - x", "f(_x): Argument für sin fehlt!", "", "f(x) = sin - x", nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        state.resetnames(); // each line as if typed into a new window: an unnamed one is f
        ASSERT_TRUE(apply({c.typed}));
        EXPECT_EQ(status(), QString::fromUtf8(c.status));
        EXPECT_EQ(state.usedParamNames, QString::fromUtf8(c.params));
        EXPECT_EQ(state.termEditor.texts[0], QString::fromUtf8(c.readBack));
        if (c.call)
            EXPECT_NEAR(value(c.call), c.expected, 1e-12);
        else
            EXPECT_TRUE(state.lineSlots[0].translated.isEmpty());
    }
}

TEST_F(ApplyData, LineFunctionsAreCalledWithBlanksToo) {
    ASSERT_TRUE(apply({"f(x) = x^2", "g(x) = 2 f x + 1"}));
    EXPECT_EQ(status(), QStringLiteral("Ok."));
    EXPECT_DOUBLE_EQ(value("g(3)"), 19);

    // A line's name alone would make a parameter f beside the function f.
    ASSERT_TRUE(apply({"f(x) = x^2", "g(x) = f + 1"}));
    EXPECT_EQ(status(), QStringLiteral("g(_x): Argument für f fehlt!"));
    EXPECT_TRUE(state.usedParamNames.isEmpty());
    EXPECT_TRUE(state.lineSlots[1].translated.isEmpty());

    // A line named like the constant e leaves the constant alone.
    ASSERT_TRUE(apply({"e(x) = x", "f(x) = e^2"}));
    EXPECT_EQ(status(), QStringLiteral("Ok."));
    EXPECT_NEAR(value("f(0)"), std::exp(2.0), 1e-12);
}

TEST_F(ApplyData, CurveLinesWithoutVariableDrawInT) {
    ASSERT_TRUE(apply({"xk = cos(t)", "yk = sin(t)"}));
    EXPECT_EQ(status(), QStringLiteral("Ok."));
    EXPECT_TRUE(state.usedParamNames.isEmpty());
    EXPECT_EQ(state.lines[0].kind, 1);
    EXPECT_NEAR(value("xk(pi)"), -1, 1e-12);
    EXPECT_NEAR(value("yk(pi/2)"), 1, 1e-12);
}

TEST_F(ApplyData, SyntaxErrorBehindANewParameterLeavesNoPlaceholder) {
    // The term check stops at the undefined name a and cannot see the error behind it.
    ASSERT_TRUE(apply({"f(x) = a*x +* 2", "g(x) = f(x) + 1"}));
    EXPECT_TRUE(state.termEditor.statusIsError());
    EXPECT_TRUE(status().contains(QStringLiteral("Ungültiger Term"))) << status().toStdString();
    EXPECT_TRUE(state.lineSlots[0].translated.isEmpty());
    // Neither f nor a line using it may show the placeholder's value 1.
    for (const char* call : {"f(2)", "g(2)"}) {
        state.engine.eval(call);
        EXPECT_NE(state.engine.error(), 0) << call;
        state.engine.clearError();
    }
}

TEST_F(ApplyData, LinesThatCallThemselvesAreReportedAndNotDrawn) {
    struct Case {
        std::initializer_list<const char*> lines;
    };
    const Case cases[] = {
        {{"f(x) = f(x) + 1"}},
        {{"f(x) = g(x)", "g(x) = f(x)"}},
        {{"f(x) = g(x) + h(x)", "g(x) = h(x)*2", "h(x) = f(x)"}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(apply(c.lines));
        EXPECT_TRUE(state.termEditor.statusIsError());
        EXPECT_NE(status(), QStringLiteral("Ok."));
        for (int i = 0; i <= state.lastLine; ++i)
            EXPECT_TRUE(state.lineSlots[i].translated.isEmpty()) << i;
        state.engine.eval("f(1)");
        EXPECT_NE(state.engine.error(), 0);
        state.engine.clearError();
    }
}

TEST_F(ApplyData, IntegralFunctionGetsItsIntegrand) {
    ASSERT_TRUE(apply({"f(x) = x", "G(x) = F(x)"}));
    EXPECT_EQ(state.lineSlots[1].integralSpec, QStringLiteral("(f(_x))"));
    EXPECT_TRUE(state.lineSlots[0].integralSpec.isEmpty());
    // Lower bound and sample count parameters of every named line.
    EXPECT_EQ(state.params[0].label,
              QStringLiteral("uf = untere Grenze für Integralfunktion in f"));
    EXPECT_EQ(state.params[13].label, QStringLiteral("anzf"));
    EXPECT_EQ(state.params[14].label, QStringLiteral("anzG"));
    EXPECT_NE(state.params[13].handle, -1);
    EXPECT_EQ(state.params[15].handle, -1);
}

TEST_F(ApplyData, ParameterLimitStopsTheRun) {
    QString term = QStringLiteral("f(x) = 0");
    for (int n = 0; n < 34; ++n)
        term += QStringLiteral("+p%1").arg(n);
    const QByteArray text = term.toUtf8();
    EXPECT_FALSE(apply({text.constData()}));
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text, QStringLiteral("Fehler: mehr als 60 Parameter!"));
    EXPECT_EQ(messages->shown[0].icon, platform::MessageIcon::Critical);
    EXPECT_EQ(state.busyFlag, 0);

    // The next run with fewer names recovers fully.
    for (int k = core::firstFreeParamSlot; k <= core::lastParamSlot; ++k)
        EXPECT_EQ(state.params[k].handle, -1) << k;
    ASSERT_TRUE(apply({"f(x) = a*x"}));
    EXPECT_EQ(status(), QStringLiteral("Ok."));
    EXPECT_EQ(slotOf("a"), 28);
    int used = 0;
    for (int k = core::firstFreeParamSlot; k <= core::lastParamSlot; ++k)
        used += state.params[k].handle != -1;
    EXPECT_EQ(used, 1);
    params::setpar(state, 28, 2);
    EXPECT_DOUBLE_EQ(value("f(3)"), 6);
}

TEST_F(ApplyData, ThirtyThreeNamesFitExactly) {
    QString term = QStringLiteral("f(x) = 0");
    for (int n = 0; n < 33; ++n)
        term += QStringLiteral("+p%1").arg(n);
    const QByteArray text = term.toUtf8();
    EXPECT_TRUE(apply({text.constData()}));
    EXPECT_EQ(slotOf("p32"), 60);
}

TEST_F(ApplyData, ApplyingTwiceGivesTheSameWorld) {
    const auto lines = {"f(x) = a*sin(b*x)", "g(x) = f(x) + c", "x^2 + d"};
    ASSERT_TRUE(apply(lines));
    params::setpar(state, slotOf("b"), 4);
    struct Snapshot {
        QString label;
        int handle;
        double value;
    };
    auto snapshot = [&] {
        std::vector<Snapshot> s;
        for (const auto& p : state.params)
            s.push_back({p.label, p.handle, p.value});
        return s;
    };
    const auto first = snapshot();
    const double g1 = value("g(0.3)");
    ASSERT_TRUE(session::applydata(state)); // the fields as the first run left them
    const auto second = snapshot();
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t k = 0; k < first.size(); ++k) {
        EXPECT_EQ(first[k].label, second[k].label) << k;
        EXPECT_EQ(first[k].handle, second[k].handle) << k;
        EXPECT_EQ(first[k].value, second[k].value) << k;
    }
    EXPECT_DOUBLE_EQ(value("g(0.3)"), g1);
    EXPECT_EQ(state.usedParamNames, QStringLiteral("a,b,c,d,"));
}

TEST_F(ApplyData, RangeFieldsAreParsedAndSearchedForParameters) {
    state.rangeFields[0][0] = QStringLiteral("-r");
    state.rangeFields[0][1] = QStringLiteral("r");
    state.rangeFields[1][1] = QStringLiteral("2*");
    state.rangeText = QStringLiteral("(-r)(r)");
    ASSERT_TRUE(apply({"f(x) = x"}));
    EXPECT_GE(slotOf("r"), 28);
    EXPECT_EQ(state.rangeExprFrom[0].status, core::RangeExpr::Parsed);
    EXPECT_EQ(state.rangeExprFrom[1].status, core::RangeExpr::Empty);
    EXPECT_EQ(state.rangeExprTo[1].status, core::RangeExpr::Failed);
    params::setpar(state, slotOf("r"), 4);
    EXPECT_DOUBLE_EQ(state.engine.evaluate(state.rangeExprTo[0].expr), 4);
}

TEST_F(ApplyData, StrangeInputNeverStopsTheOtherLines) {
    const QByteArray longLine = "f(x) = " + QByteArray(20000, 'x').replace("xx", "x+");
    ASSERT_TRUE(apply({"sin(x) = x", ")x(=1", "h(x) = ä*x + ß", longLine.constData(), "k(x) = 2*x",
                       "((((((((((", "m(x) = 1/0", "n(x) = wurzel(-x^2)", "p(x) = 10^(10^x)",
                       "q(x) = x", "r(x) = x", "s(x) = x", "u(x) = x"}));
    EXPECT_TRUE(state.termEditor.statusIsError());
    EXPECT_DOUBLE_EQ(value("k(2)"), 4);
    EXPECT_DOUBLE_EQ(value("u(5)"), 5);
}

} // namespace
