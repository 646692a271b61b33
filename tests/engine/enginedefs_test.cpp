#include "engine/enginedefs.h"

#include "core/state.h"
#include "engine/translate.h"
#include "platform/mathengine.h"
#include "support/printing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

namespace {

QString q(const char* s) {
    return QString::fromUtf8(s);
}

TEST(Errtext, EveryCodeHasItsGermanMessage) {
    platform::MathEngine engine; // no error pending, no error data
    const std::vector<std::pair<int, const char*>> cases{
        {1, ""},
        {2, "Fehlerhafte Klammersetzung"},
        {3, "Undefined variable: "},
        {4, "Ungültige Binärzahl"},
        {5, "Ungültige Oktalzahl"},
        {6, "Ungültige Hexadezimalzahl"},
        {7, "Faktorieller Überlauf"},
        {8, "Falschplatzierte Anführungsstriche"},
        {9, "Ungültiger Term"},
        {10, "Speicher für Definitionen ist voll"},
        {11, "Nicht definierte Funktion: "},
        {12, "Ungültige Anzahl von Argumenten in "},
        {13, "Ungültiger Argumenttyp in "},
        {14, "Division durch 0"},
        {15, "Ganzzahldivision durch 0 (mit \\ oder DIV) "},
        {16, "Ungültiger Wert im Exponenten"},
        {17, "Ungültiger Wert unter der Wurzel"},
        {18, "Ungültiger Wert für LOG2"},
        {19, "Ungültiger Wert für LOG10"},
        {20, "Ungültiger Wert für LOG oder LN"},
        {21, "Ungültiger Wert für ARCSIN"},
        {22, "Ungültiger Wert für ARCCOS"},
        {23, "Ungültiger Wert für SEC"},
        {24, "Ungültiger Wert für CSC"},
        {25, "Ungültiger Wert für COT"},
        {26, "Ungültiger Wert für COTH"},
        {27, "Ungültiger Wert für CSCH"},
        {28, "Ungültiger Wert für ACOSH"},
        {29, "Ungültiger Wert für ATANH"},
        {30, "Ungültiger Wert für ACOTH"},
        {31, "Ungültiger Wert für ASECH"},
        {32, "Ungültiger Wert für ACSCH"},
        {0, ""},
        {33, ""},
        {-2, ""},
        {1000, ""},
        {-1, ""}, // the engine's own code, which is 0
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(engine::errtext(engine, code), q(text)) << code;
}

class Predefined : public ::testing::Test {
protected:
    void SetUp() override {
        engine.reset("35000,1000,1000,4000,300");
        engine::initengine(engine);
    }
    platform::MathEngine engine;
};

TEST_F(Predefined, ErrorDataIsAppended) {
    engine.eval("a+1");
    EXPECT_EQ(engine::errtext(engine, -1), q("Undefined variable: a"));
    EXPECT_EQ(engine::errtext(engine, 3), q("Undefined variable: a"));
    engine.eval("g(2)");
    EXPECT_EQ(engine::errtext(engine, -1), q("Nicht definierte Funktion: g"));
    engine.eval("1/0");
    EXPECT_EQ(engine::errtext(engine, -1), q("Division durch 0"));
    engine.eval("");
    EXPECT_EQ(engine::errtext(engine, -1), QString());
}

TEST_F(Predefined, ConstantsFunctionsAndAliases) {
    const double pi = std::numbers::pi;
    const std::vector<std::pair<const char*, double>> cases{
        {"wurzel(9)", 3},
        {"log(8, 2)", 3},
        {"exp(3, 2)", 8},
        {"integral(5)", 0},
        {"betrag(-2)", 2},
        {"pi", pi},
        {"e", std::numbers::e},
        {"log(8)", std::log(8.0)}, // the one-argument forms stay
        {"exp(1)", std::numbers::e},
        {"log(1000, 10)", 3},
        {"exp(0.5, 4)", 2},
        {"wenn(1>0, 2, 1/0)", 2},
        {"wenn(0, 1/0, 3)", 3},
        {"nicht 0", 1},
        {"nicht 1", 0},
        {"arcsin(1)", pi / 2},
        {"arccos(1)", 0},
        {"arctan(1)", pi / 4},
        {"sinhyp(0)", 0},
        {"coshyp(0)", 1},
        {"tanhyp(0)", 0},
        {"WURZEL(16)", 4},
        {"Betrag(-3)", 3},
    };
    for (const auto& [text, value] : cases) {
        const double once = engine.eval(text);
        EXPECT_EQ(engine.error(), 0) << text;
        EXPECT_NEAR(once, value, 1e-12) << text;
        const platform::Expression expr = engine.parse(text);
        ASSERT_TRUE(expr.valid()) << text;
        EXPECT_NEAR(engine.evaluate(expr), value, 1e-12) << text;
        EXPECT_EQ(engine.error(), 0) << text;
    }
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

TEST_F(Predefined, TranslatedUserTermsEvaluate) {
    const std::vector<std::pair<const char*, double>> cases{
        {"wurzel(9)", 3},        {"log(8; 2)", 3},         {"exp(3; 2)", 8},
        {"max(1,5; 2)", 2},      {"wenn(2>1; 5; 1/0)", 5}, {"1 < 2 und 3 < 2", 0},
        {"1 < 2 oder 3 < 2", 1}, {"[1+2]*{3}", 9},         {"betrag(-2,5)", 2.5},
    };
    for (const auto& [term, value] : cases) {
        const QString text = engine::translate(q(term), false, QStringList{});
        EXPECT_NEAR(engine.eval(text.toStdString()), value, 1e-12)
            << term << " -> " << text.toStdString();
        EXPECT_EQ(engine.error(), 0) << term;
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
    ASSERT_TRUE(engine::setanglemode(state, 2));
    EXPECT_EQ(state.trigMode, 2);
    EXPECT_NEAR(state.engine.eval("sin(90)"), 1, 1e-15);
    EXPECT_NEAR(state.engine.eval("arcsin(1)"), 90, 1e-12);
    ASSERT_TRUE(engine::setanglemode(state, 3));
    EXPECT_EQ(state.trigMode, 3);
    EXPECT_NEAR(state.engine.eval("sin(100)"), 1, 1e-15);
    ASSERT_TRUE(engine::setanglemode(state, 1));
    EXPECT_EQ(state.trigMode, 1);
    EXPECT_NEAR(state.engine.eval("sin(pi/2)"), 1, 1e-15);
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
