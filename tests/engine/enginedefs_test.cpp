#include "engine/enginedefs.h"

#include "core/state.h"
#include "engine/translate.h"
#include "platform/mathengine.h"
#include "support/printing.h"
#include "support/qtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

class Predefined : public ::testing::Test {
protected:
    void SetUp() override {
        engine.reset("35000,1000,1000,4000,300");
        engine::initengine(engine);
    }

    // Evaluated at once and parsed first, the text gives the value without an error.
    void expectValue(const std::string& text, double value, const std::string& shown) {
        EXPECT_NEAR(engine.eval(text), value, 1e-12) << shown;
        EXPECT_EQ(engine.error(), 0) << shown;
        const platform::Expression expr = engine.parse(text);
        ASSERT_TRUE(expr.valid()) << shown;
        EXPECT_NEAR(engine.evaluate(expr), value, 1e-12) << shown;
        EXPECT_EQ(engine.error(), 0) << shown;
    }

    platform::MathEngine engine;
};

// What the user reads for a faulty term: the wording that belongs to the engine's code, followed
// by the name the error concerns where the message ends in one. In degrees, so that sec meets a
// pole exactly.
TEST_F(Predefined, MessagesFollowTheEngineErrors) {
    engine.setTrigMode(2);
    const std::pair<const char*, const char*> cases[] = {
        {"exp(1000)-exp(1000)", "Ergebnis ist keine Zahl"},
        {"(1", "Fehlerhafte Klammersetzung"},
        {"a+1", "Undefined variable: a"},
        {"171!", "Faktorieller Überlauf"},
        {"1+\"", "Falschplatzierte Anführungsstriche"},
        {"1+*2", "Ungültiger Term"},
        {"g(2)", "Nicht definierte Funktion: g"},
        {"sin(1, 2)", "Ungültige Anzahl von Argumenten in sin"},
        {"(-1)!", "Ungültiger Argumenttyp in !"},
        {"1/0", "Division durch 0"},
        {"5 mod 0", "Ganzzahldivision durch 0 (mit \\ oder DIV) "},
        {"0^-1", "Ungültiger Wert im Exponenten"},
        {"wurzel(-1)", "Ungültiger Wert unter der Wurzel"},
        {"1+1", ""},
    };
    for (const auto& [text, message] : cases) {
        engine.eval(text);
        EXPECT_EQ(engine::errtext(engine, -1), q(message)) << text;
        EXPECT_EQ(engine::errtext(engine, engine.error()), q(message)) << text;
    }
    // The domain errors name the function.
    const std::pair<const char*, const char*> domains[] = {
        {"log2(0)", "LOG2"},     {"log10(0)", "LOG10"},   {"ln(0)", "LOG oder LN"},
        {"arcsin(2)", "ARCSIN"}, {"arccos(2)", "ARCCOS"}, {"sec(90)", "SEC"},
        {"csc(0)", "CSC"},       {"cot(0)", "COT"},       {"coth(0)", "COTH"},
        {"csch(0)", "CSCH"},     {"acosh(0.5)", "ACOSH"}, {"atanh(1)", "ATANH"},
        {"acoth(0.5)", "ACOTH"}, {"asech(0)", "ASECH"},   {"acsch(0)", "ACSCH"},
    };
    for (const auto& [text, name] : domains) {
        engine.eval(text);
        EXPECT_EQ(engine::errtext(engine, -1), q("Ungültiger Wert für ") + q(name)) << text;
    }
    for (int code : {0, 33, -2, 1000})
        EXPECT_EQ(engine::errtext(engine, code), QString()) << code;
}

// The one-argument log and exp stay beside the two-argument forms.
TEST_F(Predefined, ConstantsFunctionsAndAliases) {
    const double pi = std::numbers::pi, e = std::numbers::e, ln8 = std::log(8.0);
    const double sinh1 = std::sinh(1.0), cosh1 = std::cosh(1.0), tanh1 = std::tanh(1.0);
    const std::pair<const char*, double> cases[] = {
        {"wurzel(9)", 3},     {"log(8, 2)", 3},      {"exp(3, 2)", 8},     {"integral(5)", 0},
        {"betrag(-2)", 2},    {"log(8)", ln8},       {"exp(1)", e},        {"nicht 0", 1},
        {"nicht 1", 0},       {"arcsin(1)", pi / 2}, {"arccos(1)", 0},     {"arctan(1)", pi / 4},
        {"sinhyp(1)", sinh1}, {"coshyp(1)", cosh1},  {"tanhyp(1)", tanh1}, {"WURZEL(16)", 4},
        {"Betrag(-3)", 3},
    };
    for (const auto& [text, value] : cases)
        expectValue(text, value, text);
    expectValue("pi", pi, "pi");
    expectValue("e", e, "e");
}

TEST_F(Predefined, FunctionNamesAreTheOnesTheEngineCalls) {
    const std::vector<std::pair<const char*, bool>> cases{
        {"sin", true},    {"SIN", true},    {"Sqrt", true},   {"iif", true},    {"atan2", true},
        {"log", true},    {"exp", true},    {"wurzel", true}, {"Wurzel", true}, {"integral", true},
        {"betrag", true}, {"BETRAG", true}, {"wenn", true},   {"Wenn", true},   {"arcsin", true},
        {"tanhyp", true}, {"nicht", false}, {"not", false},   {"und", false},   {"mod", false},
        {"pi", false},    {"e", false},     {"sinus", false}, {"cost", false},  {"wurzelx", false},
        {"f", false},     {"", false},      {"log(", false},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(engine::ispredefinedfunction(q(name)), expected) << name;
        if (!expected) continue;
        // The engine knows it as a function (a wrong count of arguments is still a call).
        engine.eval(std::string(name) + "(1)");
        EXPECT_NE(engine.error(), platform::ErrorCode::undefinedFunction) << name;
        engine.eval("");
    }
}

// Terms as the user types them: decimal commas, semicolons between arguments, German words.
TEST_F(Predefined, TranslatedUserTermsEvaluate) {
    const std::pair<const char*, double> cases[] = {
        {"log(8; 2)", 3},         {"exp(3; 2)", 8},       {"max(1,5; 2)", 2},
        {"wenn(2>1; 5; 1/0)", 5}, {"wenn(0; 1/0; 3)", 3}, {"1 < 2 und 3 < 2", 0},
        {"1 < 2 oder 3 < 2", 1},  {"[1+2]*{3}", 9},       {"betrag(-2,5)", 2.5},
    };
    for (const auto& [term, value] : cases) {
        const QString text = engine::translate(q(term), false, QStringList{});
        expectValue(text.toStdString(), value, term + (" -> " + text.toStdString()));
    }
}

TEST_F(Predefined, DerivativeTemplatesGiveTheDifferenceQuotients) {
    const int sw = engine.defineVariable("sw");
    engine.setVariable(sw, 0.0001);
    ASSERT_TRUE(engine.defineFunction("f(_x)=_x^3"));
    const QStringList names{QStringLiteral("f")};
    const double first = engine.eval(engine::translate(q("f'(2)"), false, names).toStdString());
    EXPECT_EQ(engine.error(), 0);
    EXPECT_NEAR(first, 12, 1e-3);
    const double second = engine.eval(engine::translate(q("f''(2)"), false, names).toStdString());
    EXPECT_EQ(engine.error(), 0);
    EXPECT_NEAR(second, 12, 1e-3);
}

TEST(AngleMode, SetsEngineAndState) {
    core::State state;
    state.engine.reset();
    engine::initengine(state.engine);
    const struct {
        int mode;
        const char* text; // 1 in that unit
    } cases[] = {{2, "sin(90)"}, {3, "sin(100)"}, {1, "sin(pi/2)"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(engine::setanglemode(state, c.mode));
        EXPECT_EQ(state.trigMode, c.mode);
        EXPECT_NEAR(state.engine.eval(c.text), 1, 1e-15) << c.text;
    }
    // A damaged attribute list must not leave the engine in an unknown unit.
    EXPECT_FALSE(engine::setanglemode(state, 0));
    EXPECT_FALSE(engine::setanglemode(state, 4));
    EXPECT_EQ(state.trigMode, 1);
    EXPECT_EQ(state.engine.trigMode(), 1);
}

TEST_F(Predefined, TakeerrorReadsAndClears) {
    engine.eval("1/0");
    engine::EngineError e = engine::takeerror(engine);
    EXPECT_EQ(e.code, 14);
    EXPECT_EQ(e.text, q("Division durch 0"));
    EXPECT_EQ(engine.error(), 0);

    // The term check lets undefined names through: they become parameters.
    e = engine::checkedcall(engine, [this] { engine.parse("a*b"); }, {3});
    EXPECT_EQ(e.code, 3);
    EXPECT_EQ(e.data, q("a"));
    EXPECT_TRUE(e.text.isEmpty());
    EXPECT_EQ(engine.error(), 0);

    e = engine::checkedcall(engine, [this] { engine.eval("2+3"); });
    EXPECT_FALSE(e.failed());
    EXPECT_TRUE(e.text.isEmpty());
}

} // namespace
