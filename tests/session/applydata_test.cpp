#include "core/state.h"
#include "engine/linedefs.h"
#include "params/paramlogic.h"
#include "session/applydata.h"
#include "support/printing.h"
#include "support/recordingmessages.h"
#include "support/termlines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

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

    bool apply(const std::vector<const char*>& lines) {
        testsupport::typeLines(state, lines);
        return session::applydata(state);
    }

    int slotOf(const char* name) const { return state.findparam(QString::fromUtf8(name)); }

    double value(const char* text) {
        const double v = state.engine.eval(text);
        EXPECT_EQ(state.engine.error(), 0) << text;
        return v;
    }

    // True when the call fails, as a call of a line that is not drawn does.
    bool fails(const char* call) {
        state.engine.eval(call);
        const bool failed = state.engine.error() != 0;
        state.engine.clearError();
        return failed;
    }

    QString status() const { return state.termEditor.statusText; }
};

TEST_F(ApplyData, FreeNamesBecomeParametersFromSlot28AndKeepThemWhenOthersAreRenamed) {
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

    ASSERT_TRUE(apply({"f(x) = a*x^2 + c"}));
    EXPECT_EQ(slotOf("a"), 28);
    EXPECT_DOUBLE_EQ(state.params[28].value, 2);
    EXPECT_DOUBLE_EQ(value("a"), 2);
    EXPECT_EQ(slotOf("b"), -1);
    EXPECT_EQ(slotOf("c"), 29); // b's slot, freed in the same run, is the lowest free one
    EXPECT_EQ(state.params[30].handle, -1);
    EXPECT_EQ(state.usedParamNames, QStringLiteral("a,c,"));
}

TEST_F(ApplyData, FillMakesTheDensityParameter) {
    ASSERT_TRUE(apply({"f(x) = fill"}));
    const int k = slotOf("dichte");
    ASSERT_GE(k, 28);
    EXPECT_EQ(state.params[k].minimum, 1);
    EXPECT_EQ(state.params[k].maximum, 1001);
}

// What a user types: the status, the parameters the run makes (new ones start at 1), a line that
// draws with its value at one point, and a call of a line that must not draw.
struct TypedCase {
    std::vector<const char*> lines;
    const char* status;
    const char* params; // usedParamNames
    const char* call;   // null: no line to draw
    double expected;
    const char* refused = nullptr;
};

TEST_F(ApplyData, TermsAsAUserTypesThem) {
    const TypedCase cases[] = {
        // calls written with blanks, their neighbours not glued to them
        {{"f(x) = sin x"}, "Ok.", "", "f(pi/2)", 1},
        {{"f(x) = a sin x"}, "Ok.", "a,", "f(pi/2)", 1},
        {{"f(x) = a x"}, "Ok.", "a,", "f(3)", 3},
        // a line calls one defined below it; a line named like the constant e leaves it alone
        {{"g(x) = 2 f x + 1", "f(x) = x^2"}, "Ok.", "", "g(3)", 19},
        {{"e(x) = x", "f(x) = e^2"}, "Ok.", "", "f(0)", std::exp(2.0)},
        // names that begin like a function, and capitals, are parameters as usual
        {{"f(x) = sinus"}, "Ok.", "sinus,", "f(0)", 1},
        {{"f(x) = A*x + a"}, "Ok.", "a,", "f(3)", 4},
        // operator words between blanks make no parameters, in any case
        {{"f(x) = x mod 2"}, "Ok.", "", "f(7)", 1},
        {{"f(x) = x > 0 und Nicht x > 2"}, "Ok.", "", "f(3)", 0},
        {{"f(x) = Wenn(x>0; x; -x)"}, "Ok.", "", "f(-2)", 2},
        // heads without a variable: no parameter x, curves drawn in t
        {{"f=x^2"}, "Ok.", "", "f(3)", 9},
        {{"xk = cos(t)", "yk = sin(t)"}, "Ok.", "", "xk(pi)", -1},
        // a function without its argument is refused, not made a parameter
        {{"f(x) = sin + 1"}, "f(_x): Argument für sin fehlt!", "", nullptr, 0, "f(1)"},
        {{"f(x) = a*wurzel"}, "f(_x): Argument für wurzel fehlt!", "", nullptr, 0, "f(1)"},
        {{"f(x) = x^2", "g(x) = f + 1"}, "g(_x): Argument für f fehlt!", "", "f(3)", 9, "g(1)"},
        // a faulty line is named in the status with the engine's own reason; the other draws
        {{"f(x) = h(x) + 1", "2x"}, "f(_x): Nicht definierte Funktion: h", "", "g(4)", 8, "f(1)"},
        {{"f(x) = x +* 2", "2x"}, "f(_x): Ungültiger Term", "", "g(4)", 8, "f(1)"},
        {{"f(x) = q''(x) + a", "2x"}, "f(_x): Nicht definierte Funktion: q", "", "g(4)", 8, "f(1)"},
        {{"F(x)", "2x"}, "f(_x): Zu tief verschachtelte Funktionsaufrufe", "", "g(4)", 8, "f(1)"},
        {{"sin(x) = x", "x^2"}, "Funktionsname sin wird bereits verwendet!", "", "f(3)", 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.front());
        state.resetnames(); // each case as if typed into a new window: an unnamed line is f
        ASSERT_TRUE(apply(c.lines));
        EXPECT_EQ(status(), QString::fromUtf8(c.status));
        EXPECT_EQ(state.termEditor.statusIsError(), status() != QStringLiteral("Ok."));
        EXPECT_EQ(state.usedParamNames, QString::fromUtf8(c.params));
        if (c.call) {
            EXPECT_NEAR(value(c.call), c.expected, 1e-12) << c.call;
        }
        if (c.refused) {
            EXPECT_TRUE(fails(c.refused)) << c.refused;
        }
    }
}

TEST_F(ApplyData, SyntaxErrorBehindANewParameterLeavesNoPlaceholder) {
    // The term check stops at the undefined name a and cannot see the error behind it.
    ASSERT_TRUE(apply({"f(x) = a*x +* 2", "g(x) = f(x) + 1"}));
    EXPECT_TRUE(state.termEditor.statusIsError());
    EXPECT_TRUE(status().contains(QStringLiteral("Ungültiger Term"))) << status().toStdString();
    EXPECT_TRUE(state.lineSlots[0].translated.isEmpty());
    // Neither f nor a line using it may show the placeholder's value 1.
    EXPECT_TRUE(fails("f(2)"));
    EXPECT_TRUE(fails("g(2)"));
}

TEST_F(ApplyData, LinesThatCallThemselvesAreReportedAndNotDrawn) {
    const std::vector<std::vector<const char*>> cases{
        {"f(x) = f(x) + 1"},
        {"f(x) = g(x)", "g(x) = f(x)"},
        {"f(x) = g(x) + h(x)", "g(x) = h(x)*2", "h(x) = f(x)"},
    };
    for (const auto& lines : cases) {
        SCOPED_TRACE(lines.back());
        ASSERT_TRUE(apply(lines));
        EXPECT_TRUE(state.termEditor.statusIsError());
        EXPECT_NE(status(), QStringLiteral("Ok."));
        for (int i = 0; i <= state.lastLine; ++i)
            EXPECT_TRUE(state.lineSlots[i].translated.isEmpty()) << i;
        EXPECT_TRUE(fails("f(1)"));
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

// The free slots 28 to 60 hold 33 names; a 34th stops the run before it takes any slot.
TEST_F(ApplyData, ParameterLimitStopsTheRunAndTheNextRunRecovers) {
    auto sumOf = [](int names) {
        QString term = QStringLiteral("f(x) = 0");
        for (int n = 0; n < names; ++n)
            term += QStringLiteral("+p%1").arg(n);
        return term.toUtf8();
    };
    EXPECT_FALSE(apply({sumOf(34).constData()}));
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text, QStringLiteral("Fehler: mehr als 60 Parameter!"));
    EXPECT_EQ(messages->shown[0].icon, platform::MessageIcon::Critical);
    EXPECT_EQ(state.busyFlag, 0);
    for (int k = core::firstFreeParamSlot; k <= core::lastParamSlot; ++k)
        EXPECT_EQ(state.params[k].handle, -1) << k;

    EXPECT_TRUE(apply({sumOf(33).constData()}));
    EXPECT_EQ(slotOf("p32"), 60);

    ASSERT_TRUE(apply({"f(x) = a*x"}));
    EXPECT_EQ(status(), QStringLiteral("Ok."));
    EXPECT_EQ(slotOf("a"), 28);
    int used = 0;
    for (int k = core::firstFreeParamSlot; k <= core::lastParamSlot; ++k)
        used += state.params[k].handle != -1;
    EXPECT_EQ(used, 1);
    params::setpar(state, 28, 2);
    EXPECT_DOUBLE_EQ(value("f(3)"), 6);
    EXPECT_EQ(messages->shown.size(), 1u);
}

TEST_F(ApplyData, ApplyingTwiceGivesTheSameWorld) {
    ASSERT_TRUE(apply({"f(x) = a*sin(b*x)", "g(x) = f(x) + c", "x^2 + d"}));
    params::setpar(state, slotOf("b"), 4);
    auto snapshot = [&] {
        std::vector<std::tuple<QString, int, double>> s;
        for (const auto& p : state.params)
            s.emplace_back(p.label, p.handle, p.value);
        return s;
    };
    const auto first = snapshot();
    const double g1 = value("g(0.3)");
    ASSERT_TRUE(session::applydata(state)); // the fields as the first run left them
    EXPECT_EQ(snapshot(), first);
    EXPECT_DOUBLE_EQ(value("g(0.3)"), g1);
    EXPECT_EQ(state.usedParamNames, QStringLiteral("a,b,c,d,"));
}

TEST_F(ApplyData, AdditionalLinesAndPointsInTheirStoredFormGiveTheirParameters) {
    struct Case {
        const char* lines;  // the additional lines as a collection entry keeps them
        const char* points; // the points in their list form
        std::vector<const char*> parameters;
    };
    const Case cases[] = {
        // colour, equation and own line type; x is the running variable, not a parameter
        {"c=255:x=-2:2\r\nc=32768:y=a*x+t:3\r\nc=0:x=m", "", {"a", "t", "m"}},
        {"y=2,5*x+k", "", {"k"}},
        {"", "P(p;f(p)):255:6:30\r\nQ(q|2):0:0:30", {"p", "q"}},
        {"", "N_1(-wurzel(r);0):0:6:30\r\n(s;1,5)", {"r", "s"}},
        {"", "Ohne Klammer:0:0:30", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lines) + " | " + c.points);
        state.extraLinesText = QString::fromUtf8(c.lines);
        state.pointsText = QString::fromUtf8(c.points);
        ASSERT_TRUE(apply({"f(x) = x^2"}));
        EXPECT_EQ(status(), QStringLiteral("Ok."));
        int used = 0;
        for (int k = core::firstFreeParamSlot; k <= core::lastParamSlot; ++k)
            used += state.params[k].handle != -1;
        EXPECT_EQ(used, int(c.parameters.size()));
        for (const char* name : c.parameters)
            EXPECT_GE(slotOf(name), core::firstFreeParamSlot) << name;
    }
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
