#include "platform/mathengine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

using platform::Expression;
using platform::MathEngine;

constexpr double pi = std::numbers::pi;
constexpr double inf = HUGE_VAL;

// The engine as the program sets it up at start-up, plus the running variable and three
// parameters: _x = 2, a = 3, b = -1, c = 0.5.
class Engine : public ::testing::Test {
protected:
    void SetUp() override { setUp(engine); }

    void setUp(MathEngine& e) {
        e.defineVariable("pi=2*asin(1)");
        e.defineVariable("e=exp(1)");
        e.defineFunction("log(m, n)=ln(m)/ln(n)");
        e.defineFunction("exp(m, n)=exp2(m*log2(n))");
        e.defineFunction("wurzel(m)=sqrt(m)");
        e.defineFunction("integral(m)=0");
        const char* aliases[][2] = {{"nicht", "not"},   {"wenn", "iif"},    {"arcsin", "asin"},
                                    {"arccos", "acos"}, {"arctan", "atan"}, {"sinhyp", "sinh"},
                                    {"coshyp", "cosh"}, {"tanhyp", "tanh"}, {"betrag", "abs"}};
        for (auto& a : aliases)
            e.alias(a[0], a[1]);
        x = e.defineVariable("_x");
        e.setVariable(x, 2);
        e.setVariable(e.defineVariable("a"), 3);
        e.setVariable(e.defineVariable("b"), -1);
        e.setVariable(e.defineVariable("c"), 0.5);
        ASSERT_EQ(e.error(), 0);
    }

    MathEngine engine;
    int x = -1;
};

void expectSame(double expected, double actual, const std::string& text, const char* path) {
    if (std::isinf(expected)) {
        EXPECT_EQ(expected, actual) << text << " (" << path << ")";
        return;
    }
    const double tolerance = 1e-12 * std::max(1.0, std::fabs(expected));
    EXPECT_NEAR(expected, actual, tolerance) << text << " (" << path << ")";
}

struct ValueCase {
    const char* text;
    double value;
};

// Every value is computed four ways: parsed then evaluated, evaluated at once, and both again
// after an unrelated function was redefined (which must not disturb compiled expressions).
TEST_F(Engine, ValuesAgreeOnEveryPath) {
    const ValueCase cases[] = {
        // precedence and associativity
        {"1+2*3", 7},
        {"(1+2)*3", 9},
        {"10-4-3", 3},
        {"2/4/2", 0.25},
        {"2^3^2", 512},
        {"-2^2", -4},
        {"-_x^2", -4},
        {"2^-1", 0.5},
        {"2^-_x", 0.25},
        {"2*-3", -6},
        {"--3", 3},
        {"+3", 3},
        {"2^3!", 64},
        {"-3!", -6},
        {"3!!", 720},
        {"0!", 1},
        {"1+2 mod 2", 1},
        {"2*3 mod 4", 2},
        {"7 mod 4\\2", 1},
        {"8\\2*2", 2},
        {"-7 mod 3", -1},
        {"7 mod -3", 1},
        {"5.5 mod 2", 1.5},
        {"9\\4", 2},
        {"-7\\2", -3},
        {"9 DIV 4", 2},
        {"7.6\\2", 4},
        {"170!", 7.257415615307994e306},
        // comparisons and logic give 1 and 0
        {"1<2", 1},
        {"1=1", 1},
        {"1<>1", 0},
        {"2>=2", 1},
        {"2<=1", 0},
        {"3>2", 1},
        {"1<2<3", 1},
        {"1 and 0", 0},
        {"1 and 2", 1},
        {"0 or 3", 1},
        {"1 xor 1", 0},
        {"0 eqv 0", 1},
        {"0 imp 0", 1},
        {"1 imp 0", 0},
        {"not 0", 1},
        {"not 5", 0},
        {"not 1 = 2", 1},
        {"1 or 0 and 0", 1},
        {"1 xor 1 or 1", 0},
        {"0 imp 0 eqv 1", 1},
        {"1 eqv 0 xor 1", 1},
        {"_x > 1 and _x < 3", 1},
        // implicit multiplication
        {"2_x", 4},
        {"2pi", 2 * pi},
        {"(1+1)(2+1)", 6},
        {"2(_x+1)", 6},
        {"2_x^2", 8},
        {"1/2_x", 1},
        {"(2)_x", 4},
        {"2 _x", 4},
        {"2sqrt(4)", 4},
        {"2e", 2 * std::numbers::e},
        {"2exp(0)", 2},
        {"2e-_x", 2 * std::numbers::e - 2},
        // number forms
        {"12", 12},
        {"1.5", 1.5},
        {".5", 0.5},
        {"5.", 5},
        {"1E-10", 1e-10},
        {"2e3", 2000},
        {"1e400", inf},
        {"1e-400", 0},
        // blanks and case
        {"  1 +   2 ", 3},
        {"\t1\t*\t2", 2},
        {"SQRT(4)", 2},
        {"Sgn(Sin(1))", 1},
        {"A", 3},
        {"PI", pi},
        // built-in functions
        {"sin(0)", 0},
        {"cos(0)", 1},
        {"sec(0)", 1},
        {"csc(pi/2)", 1},
        {"cot(pi/4)", 1.0 / std::tan(pi / 4)},
        {"asin(1)", pi / 2},
        {"acos(1)", 0},
        {"atan(1)", pi / 4},
        {"acot(1)", pi / 4},
        {"acot(0)", pi / 2},
        {"sinh(1)", std::sinh(1.0)},
        {"cosh(0)", 1},
        {"tanh(1)", std::tanh(1.0)},
        {"coth(1)", 1 / std::tanh(1.0)},
        {"sech(0)", 1},
        {"csch(1)", 1 / std::sinh(1.0)},
        {"asinh(1)", std::asinh(1.0)},
        {"acosh(1)", 0},
        {"atanh(0.5)", std::atanh(0.5)},
        {"acoth(2)", std::atanh(0.5)},
        {"asech(0.5)", std::acosh(2.0)},
        {"acsch(1)", std::asinh(1.0)},
        {"sqrt(16)", 4},
        {"abs(-3)", 3},
        {"sgn(-2)", -1},
        {"sgn(0)", 0},
        {"int(-2.5)", -3},
        {"fix(-2.5)", -2},
        {"frac(-2.5)", -0.5},
        {"round(2.5)", 2},
        {"round(3.5)", 4},
        {"round(-2.5)", -2},
        {"ceil(1.2)", 2},
        {"floor(-1.2)", -2},
        {"ln(e)", 1},
        {"log(e)", 1},
        {"log2(8)", 3},
        {"log10(1000)", 3},
        {"exp(0)", 1},
        {"exp2(10)", 1024},
        {"atan2(1, 1)", pi / 4},
        {"atan2(0, -1)", pi},
        {"min(3)", 3},
        {"min(3, 1, 2)", 1},
        {"max(3, 1, 2)", 3},
        {"max(-1, -2)", -1},
        {"max(_x, a, b, c)", 3},
        {"iif(_x>0, 10, 20)", 10},
        {"iif(_x<0, 10, 20)", 20},
        {"iif(_x<0, sqrt(-1), 5)", 5},
        {"iif(_x>0, 5, 1/0)", 5},
        {"1 + iif(_x>0, _x, 0)^2", 5},
        {"iif(_x>0, iif(a>5, 1, 2), 3)", 2},
        // the program's own vocabulary
        {"wenn(_x>0; wurzel(_x); 0)", std::sqrt(2.0)},
        {"wenn(_x<0; wurzel(_x); 0)", 0},
        {"exp(3, 2)", 8},
        // shapes the compiler rewrites
        {"a*_x^2+b*_x+c", 3 * 4 - 2 + 0.5},
        {"3*_x^2+2*_x+1", 17},
        {"_x^3", 8},
        {"_x^4", 16},
        {"_x^-2", 0.25},
        {"_x^0", 1},
        {"_x^1", 2},
        {"_x^0.5", std::sqrt(2.0)},
        {"_x^17", 131072},
        {"1-_x", -1},
        {"1/_x", 0.5},
        {"a-_x", 1},
        {"a/_x", 1.5},
        {"_x*3", 6},
        {"-(_x*3)", -6},
        {"-_x^2/10", -0.4},
        {"2-sin(0)*_x", 2},
        {"10/(_x+3)", 2},
        {"a-(_x+1)", 0},
        {"5 < _x+1", 0},
        {"5 >= _x*2", 1},
        {"sin(_x)^2+cos(_x)^2", 1},
        {"sqrt(abs(_x))*exp(-_x^2/10)", std::sqrt(2.0) * std::exp(-0.4)},
        {"_x - _x*3", -4},
        {"(_x+1)*(_x-1)", 3},
        {"a - -_x", 5},
        {"_x^2 - -_x", 6},
        {"iif(_x>=2, 1, 0)", 1},
        {"iif(_x=2, 1, 0)", 1},
        {"iif(a*_x>5, _x-1, -_x)", 1},
        {"iif(_x>0 and a>0, 1, 0)", 1},
        // overflow is a value
        {"10^400", inf},
        {"exp(1000)", inf},
        {"-exp(1000)", -inf},
        {"_x*1e308*10", inf},
    };
    for (const ValueCase& vc : cases) {
        Expression expr = engine.parse(vc.text);
        ASSERT_TRUE(expr.valid()) << vc.text << " code " << engine.error();
        expectSame(vc.value, engine.evaluate(expr), vc.text, "parse, evaluate");
        EXPECT_EQ(engine.error(), 0) << vc.text;
        expectSame(vc.value, engine.eval(vc.text), vc.text, "eval");
        EXPECT_EQ(engine.error(), 0) << vc.text;
        ASSERT_TRUE(engine.defineFunction("unrelated(q)=q+1"));
        ASSERT_TRUE(engine.defineFunction("unrelated(q)=q+2"));
        expectSame(vc.value, engine.evaluate(expr), vc.text, "evaluate after redefinition");
        expectSame(vc.value, engine.eval(vc.text), vc.text, "eval after redefinition");
        EXPECT_EQ(engine.error(), 0) << vc.text;
    }
}

struct ErrorCase {
    const char* text;
    int code;
    const char* data;
};

// Each error is reported the same way whether the text is parsed and evaluated or evaluated at
// once; a syntax error is found by the parser already.
TEST_F(Engine, ErrorsAgreeOnEveryPath) {
    engine.defineVariable("qq");
    engine.defineVariable("sw");
    const ErrorCase cases[] = {
        {"(1+2", 2, ""},
        {"1+2)", 2, ""},
        {"((1)", 2, ""},
        {"qq+sw*", 9, ""},
        {"1+", 9, ""},
        {"*1", 9, ""},
        {"1 +* 2", 9, ""},
        {"()", 9, ""},
        {"(1,2)", 9, ""},
        {"sin(1,,2)", 9, ""},
        {"min(1,)", 9, ""},
        {"1 # 2", 9, ""},
        {"[1]", 9, ""},
        {"1+\xc3\xa4", 9, ""},
        {"1..2", 9, ""},
        {"and", 9, ""},
        {"1 and", 9, ""},
        {"_x _x", 9, ""},
        {"3!2", 9, ""},
        {"\"", 8, ""},
        {"1 + \"x\"", 8, ""},
        {"q+1", 3, "q"},
        {"Q1 + Q2", 3, "Q1"},
        {"modul", 3, "modul"},
        {"AND_x", 3, "AND_x"},
        {"2q", 3, "q"},
        {"sqrt(-1)+zz", 3, "zz"},
        {"nofn(1)", 11, "nofn"},
        {"NoFn(1)", 11, "NoFn"},
        {"_x(1)", 11, "_x"},
        {"sin()", 12, "sin"},
        {"sin(1, 2)", 12, "sin"},
        {"atan2(1)", 12, "atan2"},
        {"iif(1, 2)", 12, "iif"},
        {"iif(_x, 2, 3, 4)", 12, "iif"},
        {"wenn(1)", 12, "wenn"},
        {"log(1, 2, 3)", 12, "log"},
        {"171!", 7, ""},
        {"(_x*100)!", 7, ""},
        {"(-1)!", 13, "!"},
        {"2.5!", 13, "!"},
        {"1/0", 14, ""},
        {"0/0", 14, ""},
        {"1/(_x-2)", 14, ""},
        {"1/b/(b+1)", 14, ""},
        {"5 mod 0", 15, ""},
        {"5\\0", 15, ""},
        {"5 div 0.4", 15, ""},
        {"_x mod (_x-2)", 15, ""},
        {"(-8)^(1/3)", 16, ""},
        {"0^-1", 16, ""},
        {"(-2)^0.5", 16, ""},
        {"b^0.5", 16, ""},
        {"(_x-2)^(-_x)", 16, ""},
        {"sqrt(-1)", 17, ""},
        {"log2(0)", 18, ""},
        {"log10(-1)", 19, ""},
        {"ln(0)", 20, ""},
        {"log(b, 2)", 20, ""},
        {"asin(2)", 21, ""},
        {"acos(-1.5)", 22, ""},
        {"csc(0)", 24, ""},
        {"cot(0)", 25, ""},
        {"coth(0)", 26, ""},
        {"csch(0)", 27, ""},
        {"acosh(0.5)", 28, ""},
        {"atanh(1)", 29, ""},
        {"acoth(0.5)", 30, ""},
        {"acoth(1)", 30, ""},
        {"asech(0)", 31, ""},
        {"asech(1.5)", 31, ""},
        {"acsch(0)", 32, ""},
        {"exp(1000)-exp(1000)", 1, "Ergebnis ist keine Zahl"},
        {"0*exp(_x*1000)", 1, "Ergebnis ist keine Zahl"},
        {"iif(_x>0, sqrt(b), 0)", 17, ""},
    };
    for (const ErrorCase& ec : cases) {
        engine.eval(ec.text);
        EXPECT_EQ(engine.error(), ec.code) << ec.text << " (eval)";
        EXPECT_EQ(engine.errorData(), ec.data) << ec.text << " (eval)";
        engine.eval("");
        ASSERT_EQ(engine.error(), 0);

        Expression expr = engine.parse(ec.text);
        if (expr.valid()) {
            EXPECT_EQ(engine.error(), 0) << ec.text;
            EXPECT_EQ(engine.evaluate(expr), 0) << ec.text;
        }
        EXPECT_EQ(engine.error(), ec.code) << ec.text << " (parse, evaluate)";
        EXPECT_EQ(engine.errorData(), ec.data) << ec.text << " (parse, evaluate)";
        engine.clearError();
    }
}

TEST_F(Engine, EmptyTextClearsThePendingError) {
    engine.eval("1/0");
    EXPECT_EQ(engine.error(), 14);
    EXPECT_EQ(engine.eval(""), 0);
    EXPECT_EQ(engine.error(), 0);
    engine.eval("q");
    EXPECT_EQ(engine.errorData(), "q");
    EXPECT_EQ(engine.eval("   "), 0);
    EXPECT_EQ(engine.error(), 0);
    EXPECT_EQ(engine.errorData(), "");
    EXPECT_FALSE(engine.parse("").valid());
    EXPECT_EQ(engine.error(), 9);
    EXPECT_EQ(engine.evaluate(Expression{}), 0);
    EXPECT_EQ(engine.error(), 9);
}

TEST_F(Engine, ErrorStaysUntilACallClearsIt) {
    engine.eval("1/0");
    engine.setVariable(x, 5);
    engine.alias("gross", "max");
    EXPECT_EQ(engine.error(), 14);
    Expression expr = engine.parse("_x");
    EXPECT_EQ(engine.error(), 0);
    engine.eval("ln(0)");
    EXPECT_EQ(engine.evaluate(expr), 5);
    EXPECT_EQ(engine.error(), 0);
}

// The data-set assembly turns undefined names into parameters one after the other.
TEST_F(Engine, UndefinedNamesAreReportedFromTheLeft) {
    const char* text = "q1 + 2*q2^2 - q3(1) + sin(q4)";
    engine.defineFunction("q3(t)=t");
    std::vector<std::string> reported;
    for (int round = 0; round < 10; ++round) {
        Expression expr = engine.parse(text);
        if (expr.valid()) break;
        ASSERT_EQ(engine.error(), 3);
        reported.push_back(engine.errorData());
        ASSERT_GE(engine.defineVariable(engine.errorData()), 0);
    }
    EXPECT_EQ(reported, (std::vector<std::string>{"q1", "q2", "q4"}));
    EXPECT_EQ(engine.eval(text), -1);
}

TEST_F(Engine, VariablesAreDefinedAndAssigned) {
    const int h = engine.defineVariable("Vv");
    ASSERT_GE(h, 0);
    EXPECT_EQ(engine.variable(h), 0);
    EXPECT_EQ(engine.defineVariable("vV = 4*2"), h);
    EXPECT_EQ(engine.variable(h), 8);
    EXPECT_EQ(engine.eval("VV"), 8);
    engine.setVariable(h, 1.5);
    EXPECT_EQ(engine.eval("vv*2"), 3);
    EXPECT_EQ(engine.defineVariable("vv"), h); // an existing name keeps its value
    EXPECT_EQ(engine.variable(h), 1.5);

    EXPECT_EQ(engine.defineVariable("1abc"), -1);
    EXPECT_EQ(engine.error(), 9);
    EXPECT_EQ(engine.defineVariable("mod"), -1);
    EXPECT_EQ(engine.error(), 9);
    EXPECT_EQ(engine.defineVariable("w=1/0"), -1);
    EXPECT_EQ(engine.error(), 14);
    EXPECT_EQ(engine.eval("w"), 0);
    EXPECT_EQ(engine.error(), 3); // a failed definition defines nothing
    EXPECT_EQ(engine.defineVariable("w=zz"), -1);
    EXPECT_EQ(engine.error(), 3);
    EXPECT_EQ(engine.errorData(), "zz");
}

// A parsed expression keeps the variable's place: setting it changes the next evaluation.
TEST_F(Engine, ParsedExpressionsFollowTheirVariables) {
    Expression expr = engine.parse("a*_x^2+b*_x+c");
    ASSERT_TRUE(expr.valid());
    for (double v : {-3.0, -0.5, 0.0, 1.0, 7.25}) {
        engine.setVariable(x, v);
        EXPECT_DOUBLE_EQ(engine.evaluate(expr), 3 * v * v - v + 0.5) << v;
    }
    // variables defined after the parse do not move the earlier ones
    for (int i = 0; i < 1000; ++i)
        engine.defineVariable("extra" + std::to_string(i));
    engine.setVariable(x, 10);
    EXPECT_DOUBLE_EQ(engine.evaluate(expr), 290.5);
}

TEST_F(Engine, FunctionsAreToldApartByNameAndArity) {
    ASSERT_TRUE(engine.defineFunction("f(p)=1"));
    ASSERT_TRUE(engine.defineFunction("F(p, q)=2"));
    ASSERT_TRUE(engine.defineFunction("f()=3"));
    EXPECT_EQ(engine.eval("f(0)"), 1);
    EXPECT_EQ(engine.eval("f(0, 0)"), 2);
    EXPECT_EQ(engine.eval("f()"), 3);
    engine.eval("f(0, 0, 0)");
    EXPECT_EQ(engine.error(), 12);
    EXPECT_EQ(engine.errorData(), "f");
    // the built-in log and the two-argument one of the predefinitions live side by side
    EXPECT_DOUBLE_EQ(engine.eval("log(100)"), std::log(100.0));
    EXPECT_DOUBLE_EQ(engine.eval("log(100, 10)"), 2);
    // a user function of a built-in's name and arity takes its place
    ASSERT_TRUE(engine.defineFunction("abs(p)=p*100"));
    EXPECT_EQ(engine.eval("abs(-1)"), -100);
}

TEST_F(Engine, ParametersShadowGlobalNames) {
    ASSERT_TRUE(engine.defineFunction("f(_x)=_x*10+a"));
    EXPECT_EQ(engine.eval("f(5)"), 53);
    EXPECT_EQ(engine.eval("f(_x)"), 23);
    ASSERT_TRUE(engine.defineFunction("g(a, B)=a-b"));
    EXPECT_EQ(engine.eval("g(10, 4)"), 6);
    EXPECT_EQ(engine.eval("g(_x, a)"), -1);
    ASSERT_TRUE(engine.defineFunction("h(t)=t^2+t*a+t/2-t"));
    EXPECT_EQ(engine.eval("h(2)"), 4 + 6 + 1 - 2);
    ASSERT_TRUE(engine.defineFunction("k(t)=-t+(t-1)*(t+1)+iif(t>2, t*2, 0)"));
    EXPECT_EQ(engine.eval("k(3)"), 11);
    EXPECT_EQ(engine.eval("k(2)"), 1);
}

// The placeholders of the data-set assembly rely on this: an expression parsed while f was a
// placeholder computes the real body once f is defined.
TEST_F(Engine, RedefinitionReachesExpressionsParsedBefore) {
    ASSERT_TRUE(engine.defineFunction("f(_x)=1"));
    ASSERT_TRUE(engine.defineFunction("g(_x)=2*f(_x)"));
    Expression direct = engine.parse("f(_x)+1");
    Expression indirect = engine.parse("g(_x)");
    EXPECT_EQ(engine.evaluate(direct), 2);
    EXPECT_EQ(engine.evaluate(indirect), 2);
    ASSERT_TRUE(engine.defineFunction("f(_x)=_x^2"));
    EXPECT_EQ(engine.evaluate(direct), 5);
    EXPECT_EQ(engine.evaluate(indirect), 8);
    // an empty body is accepted; calling it is code 9
    ASSERT_TRUE(engine.defineFunction("f(_x)="));
    EXPECT_EQ(engine.evaluate(direct), 0);
    EXPECT_EQ(engine.error(), 9);
    EXPECT_EQ(engine.evaluate(indirect), 0);
    EXPECT_EQ(engine.error(), 9);
    ASSERT_TRUE(engine.defineFunction("f(_x)=_x"));
    EXPECT_EQ(engine.evaluate(direct), 3);
    EXPECT_EQ(engine.error(), 0);
}

TEST_F(Engine, FaultyDefinitionsAreRefused) {
    ASSERT_TRUE(engine.defineFunction("f(t)=t+1"));
    const ErrorCase cases[] = {
        {"f(t=1", 9, ""},      {"f(t)", 9, ""},          {"f(t, t)=1", 9, ""},
        {"(t)=1", 9, ""},      {"f(1)=1", 9, ""},        {"f(t)=t+", 9, ""},
        {"f(t)=y", 3, "y"},    {"f(t)=gg(t)", 11, "gg"}, {"f(t)=sin(t, t)", 12, "sin"},
        {"mod(t)=1", 9, ""},   {"f(t)=(t", 2, ""},       {"f(and)=1", 9, ""},
        {"f(t)=\"t\"", 8, ""},
    };
    for (const ErrorCase& ec : cases) {
        EXPECT_FALSE(engine.defineFunction(ec.text)) << ec.text;
        EXPECT_EQ(engine.error(), ec.code) << ec.text;
        EXPECT_EQ(engine.errorData(), ec.data) << ec.text;
        EXPECT_EQ(engine.eval("f(1)"), 2) << "the earlier body stays: " << ec.text;
    }
    EXPECT_TRUE(engine.defineFunction("  k ( s ; t ) = s*t "));
    EXPECT_EQ(engine.eval("k(3, 4)"), 12);
}

// A function that calls itself, directly or through others, is an error of code 1 when it is
// evaluated: never a crash, never a hang.
TEST_F(Engine, RecursionIsStopped) {
    const char* recursive[][3] = {
        {"r(_x)=r(_x)+1", "", "r(1)"},
        {"p(_x)=1", "q(_x)=p(_x)*2", "q(1)"},
        {"s(_x)=s(_x)+s(_x)", "", "s(1)"},
        {"u()=u()", "", "u()"},
    };
    for (auto& r : recursive) {
        ASSERT_TRUE(engine.defineFunction(r[0])) << r[0];
        if (*r[1]) {
            ASSERT_TRUE(engine.defineFunction(r[1])) << r[1];
        }
    }
    ASSERT_TRUE(engine.defineFunction("p(_x)=q(_x)")); // closes the circle p -> q -> p
    for (auto& r : recursive) {
        Expression expr = engine.parse(r[2]);
        ASSERT_TRUE(expr.valid()) << r[2];
        EXPECT_EQ(engine.evaluate(expr), 0);
        EXPECT_EQ(engine.error(), 1) << r[2];
        EXPECT_EQ(engine.errorData(), MathEngine::recursionText) << r[2];
        EXPECT_EQ(engine.eval(r[2]), 0);
        EXPECT_EQ(engine.error(), 1) << r[2];
    }
    // the engine is fine afterwards
    EXPECT_EQ(engine.eval("1+1"), 2);
    EXPECT_EQ(engine.error(), 0);
}

// Forty functions each calling the one before twice would make 2^40 calls: the evaluation
// stops early with code 1 instead of hanging.
TEST_F(Engine, ExponentialCallTreesAreCut) {
    ASSERT_TRUE(engine.defineFunction("t0(v)=v"));
    for (int i = 1; i <= 40; ++i) {
        const std::string prev = "t" + std::to_string(i - 1);
        ASSERT_TRUE(
            engine.defineFunction("t" + std::to_string(i) + "(v)=" + prev + "(v)+" + prev + "(v)"));
    }
    EXPECT_EQ(engine.eval("t10(1)"), 1024);
    const auto begin = std::chrono::steady_clock::now();
    engine.eval("t40(1)");
    EXPECT_EQ(engine.error(), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
}

// The work of an evaluation is the same every time and grows with the calls it makes. Past a
// limit an evaluation fails with code 1, the one that passes it stops within one call, and
// every later one fails at once until the limit is raised.
TEST_F(Engine, WorkLimitStopsEvaluations) {
    ASSERT_TRUE(engine.defineFunction("t0(v)=v"));
    for (int i = 1; i <= 40; ++i) {
        char definition[40];
        std::snprintf(definition, sizeof definition, "t%d(v)=t%d(v)+t%d(v)", i, i - 1, i - 1);
        ASSERT_TRUE(engine.defineFunction(definition));
    }
    EXPECT_EQ(engine.workLimit(), MathEngine::noWorkLimit); // no limit unless one is set
    const auto workOf = [&](const Expression& expr) {
        const std::int64_t before = engine.work();
        engine.evaluate(expr);
        EXPECT_EQ(engine.error(), 0);
        return engine.work() - before;
    };

    const char* texts[] = {"_x*a+sin(_x)", "t5(_x)", "wenn(_x<1; 1; t5(_x))", "t12(_x)",
                           "t12(_x)+t12(_x)"};
    std::int64_t previous = 0;
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const Expression expr = engine.parse(text);
        ASSERT_TRUE(expr.valid());
        const std::int64_t work = workOf(expr);
        EXPECT_EQ(workOf(expr), work);
        EXPECT_GT(work, previous); // each text of the table needs more than the one before
        previous = work;

        engine.setWorkLimit(engine.work() + work); // just enough
        EXPECT_NE(engine.evaluate(expr), 0);
        EXPECT_EQ(engine.error(), 0);
        EXPECT_FALSE(engine.workLimitReached());

        engine.setWorkLimit(engine.work() + work - 1); // one unit short
        EXPECT_EQ(engine.evaluate(expr), 0);
        EXPECT_EQ(engine.error(), 1);
        EXPECT_EQ(engine.errorData(), MathEngine::workLimitText);
        EXPECT_TRUE(engine.workLimitReached());
        EXPECT_EQ(engine.eval("1+1"), 0); // everything fails from now on
        EXPECT_EQ(engine.error(), 1);

        engine.setWorkLimit(MathEngine::noWorkLimit);
        EXPECT_EQ(engine.eval("1+1"), 2);
        EXPECT_EQ(engine.error(), 0);
    }
    EXPECT_GT(previous, std::int64_t(4096)); // 8190 calls

    // A call tree far beyond the limit stops where the limit lies, long before the engine's
    // own limit of calls per evaluation.
    const std::int64_t start = engine.work();
    engine.setWorkLimit(start + 1000);
    engine.eval("t40(1)");
    EXPECT_EQ(engine.errorData(), MathEngine::workLimitText);
    EXPECT_LE(engine.work(), start + 1000 + 20);
    engine.setWorkLimit(MathEngine::noWorkLimit);
}

TEST_F(Engine, NestedCallsWithinTheLimitWork) {
    ASSERT_TRUE(engine.defineFunction("n0(v)=v+1"));
    for (int i = 1; i <= 100; ++i)
        ASSERT_TRUE(engine.defineFunction("n" + std::to_string(i) + "(v)=n" +
                                          std::to_string(i - 1) + "(v)+1"));
    EXPECT_EQ(engine.eval("n100(0)"), 101);
    EXPECT_EQ(engine.eval("n100(n100(0))*2"), 404);
}

// Expressions keep what they refer to: after a reset they still compute with the old
// definitions, while new parses see only the new ones.
TEST_F(Engine, ResetLeavesOldExpressionsSafe) {
    ASSERT_TRUE(engine.defineFunction("f(_x)=_x*a"));
    Expression expr = engine.parse("f(_x)+a");
    ASSERT_TRUE(expr.valid());
    engine.reset("35000,1000,1000,4000,300");
    EXPECT_EQ(engine.evaluate(expr), 9);
    EXPECT_EQ(engine.error(), 0);
    engine.eval("a");
    EXPECT_EQ(engine.error(), 3);
    engine.eval("f(1)");
    EXPECT_EQ(engine.error(), 11);
    engine.eval("wenn(1, 2, 3)");
    EXPECT_EQ(engine.error(), 11); // aliases are gone too
    setUp(engine);
    EXPECT_EQ(engine.eval("wenn(1, 2, 3)"), 2);
    EXPECT_EQ(engine.evaluate(expr), 9);
    // an expression may even outlive its engine and be evaluated by another one
    Expression survivor;
    {
        MathEngine shortLived;
        shortLived.defineVariable("k=21");
        survivor = shortLived.parse("k*2");
    }
    EXPECT_EQ(engine.evaluate(survivor), 42);
}

TEST_F(Engine, CapacityFromTheResetText) {
    engine.reset("35000,2,1,4000,300");
    EXPECT_GE(engine.defineVariable("v1"), 0);
    EXPECT_GE(engine.defineVariable("v2"), 0);
    EXPECT_EQ(engine.defineVariable("v3"), -1);
    EXPECT_EQ(engine.error(), 10);
    EXPECT_TRUE(engine.defineFunction("f(t)=t"));
    EXPECT_TRUE(engine.defineFunction("f(t)=2*t")); // replacing needs no room
    EXPECT_FALSE(engine.defineFunction("g(t)=t"));
    EXPECT_EQ(engine.error(), 10);
}

TEST_F(Engine, AliasesWorkWhereverTheWordDoes) {
    engine.alias("und", "and");
    engine.alias("Gross", "max");
    engine.alias("riesig", "gross"); // an alias of an alias
    engine.alias("quadrat", "sq");
    ASSERT_TRUE(engine.defineFunction("sq(t)=t*t"));
    engine.alias("zwei", "_x");
    EXPECT_EQ(engine.eval("1 und 0"), 0);
    EXPECT_EQ(engine.eval("1 UND 1"), 1);
    EXPECT_EQ(engine.eval("gross(1, 5, 2)"), 5);
    EXPECT_EQ(engine.eval("riesig(1, 7)"), 7);
    EXPECT_EQ(engine.eval("quadrat(3)"), 9);
    EXPECT_EQ(engine.eval("zwei*3"), 6);
    EXPECT_EQ(engine.eval("nicht nicht 3"), 1);
    EXPECT_EQ(engine.eval("wenn(0; 1; 2)"), 2);
    engine.alias("kreis", "kreis2");
    engine.alias("kreis2", "kreis"); // a cycle must not hang
    engine.eval("kreis");
    EXPECT_EQ(engine.error(), 3);
}

TEST_F(Engine, AngleModesScaleCircularFunctionsOnly) {
    Expression sine90 = engine.parse("sin(90)");
    Expression sinePiHalf = engine.parse("sin(pi/2)");
    EXPECT_DOUBLE_EQ(engine.evaluate(sinePiHalf), 1);

    engine.setTrigMode(2);
    EXPECT_EQ(engine.trigMode(), 2);
    EXPECT_EQ(engine.evaluate(sine90), 1); // parsed before the switch, computed after it
    const ValueCase degrees[] = {
        {"sin(90)", 1},
        {"cos(180)", -1},
        {"sin(180)", 0},
        {"sin(-90)", -1},
        {"cos(90)", 0},
        {"sin(450)", 1},
        {"sin(30)", 0.5},
        {"tan(45)", 1},
        {"cot(45)", 1},
        {"csc(90)", 1},
        {"sec(180)", -1},
        {"asin(1)", 90},
        {"acos(-1)", 180},
        {"atan(1)", 45},
        {"acot(1)", 45},
        {"atan2(1, 1)", 45},
        {"arcsin(0.5)", 30},
        {"sinh(1)", std::sinh(1.0)},
        {"tanhyp(1)", std::tanh(1.0)},
        {"acosh(1)", 0},
        {"pi", pi},
    };
    for (const ValueCase& vc : degrees) {
        expectSame(vc.value, engine.eval(vc.text), vc.text, "degrees");
        EXPECT_EQ(engine.error(), 0) << vc.text;
    }
    engine.eval("sec(90)");
    EXPECT_EQ(engine.error(), 23);
    engine.eval("csc(180)");
    EXPECT_EQ(engine.error(), 24);
    engine.eval("cot(360)");
    EXPECT_EQ(engine.error(), 25);

    engine.setTrigMode(3);
    EXPECT_EQ(engine.eval("sin(100)"), 1);
    EXPECT_DOUBLE_EQ(engine.eval("asin(1)"), 100);
    EXPECT_DOUBLE_EQ(engine.eval("cos(200)"), -1);

    // the predefinitions made after a reset in another mode still give pi
    engine.setTrigMode(2);
    engine.reset();
    setUp(engine);
    EXPECT_DOUBLE_EQ(engine.eval("pi"), pi);

    engine.setTrigMode(7); // not a mode: ignored
    EXPECT_EQ(engine.trigMode(), 2);
    engine.setTrigMode(1);
    EXPECT_DOUBLE_EQ(engine.evaluate(sine90), std::sin(90.0));
}

// Nothing a user or a file can hand the engine may crash it, hang it or exhaust its stack.
TEST_F(Engine, HostileTextsGiveAValueOrAnError) {
    auto check = [&](const std::string& text, bool mayBeValue) {
        const double v = engine.eval(text);
        const int code = engine.error();
        EXPECT_TRUE(code >= 0 && code <= 32) << code;
        if (code != 0) {
            EXPECT_EQ(v, 0);
        }
        if (!mayBeValue) {
            EXPECT_NE(code, 0) << text.substr(0, 40);
        }
        Expression expr = engine.parse(text);
        EXPECT_EQ(expr.valid(), engine.error() == 0);
        if (expr.valid()) engine.evaluate(expr);
        engine.eval("");
        return code;
    };
    const auto repeat = [](const std::string& s, int n) {
        std::string r;
        for (int i = 0; i < n; ++i)
            r += s;
        return r;
    };
    EXPECT_EQ(check(repeat("(", 10000) + "1" + repeat(")", 10000), false), 1);
    EXPECT_EQ(check(repeat("(", 10000), false), 2);
    check(repeat("-", 100000) + "1", false);
    check(repeat("not ", 10000) + "1", false);
    check(repeat("2^", 5000) + "2", false);
    check(repeat("sin(", 5000) + "1" + repeat(")", 5000), false);
    check(repeat("iif(1,", 3000) + "1" + repeat(",0)", 3000), false);
    check(repeat("f(", 3000) + "1" + repeat(")", 3000), false);
    check(repeat("x", 100000), false);
    check(repeat("1", 100000), true);
    check(repeat("1+", 20000), false);
    check(std::string(1000, '\0'), false);
    EXPECT_EQ(engine.eval(repeat("1+", 20000) + "1"), 20001);
    EXPECT_EQ(engine.eval(repeat("_x*", 10000) + "_x"), inf);
    EXPECT_EQ(engine.eval("min(" + repeat("1,", 5000) + "0)"), 0);
    EXPECT_EQ(engine.eval(repeat("(", 60) + "_x" + repeat(")", 60)), 2);
    EXPECT_EQ(engine.eval(repeat("1+(", 60) + "1" + repeat(")", 60)), 61);
    EXPECT_FALSE(engine.defineFunction(repeat("f", 100000)));
    EXPECT_FALSE(engine.defineFunction("f(" + repeat("p,", 50000) + "q)=" + repeat("(", 9000)));
}

TEST_F(Engine, RandomTextsGiveAValueOrAnError) {
    engine.defineFunction("f(t)=t*2");
    engine.defineFunction("g(t, u)=f(t)-u");
    const std::vector<std::string> tokens = {
        "1",    "2.5",  ".5",  "1e3", "2e",  "_x",  "a",   "b",   "pi",  "zz",   "sin",
        "sqrt", "ln",   "iif", "min", "f",   "g",   "(",   ")",   "(",   ")",    ",",
        ";",    "+",    "-",   "*",   "/",   "\\",  "^",   "!",   "=",   "<>",   "<",
        ">=",   " ",    "and", "or",  "not", "mod", "div", "xor", "imp", "wenn", "\"",
        "#",    "\xff", "0",   "1/0", "E",   "e-",  "ln(", "f(",  "g(",  "iif("};
    std::mt19937 rng(12345);
    for (int round = 0; round < 6000; ++round) {
        std::string text;
        if (round % 3 == 0) {
            std::uniform_int_distribution<int> length(0, 60), byte(0, 255);
            const int n = length(rng);
            for (int i = 0; i < n; ++i)
                text += char(byte(rng));
        } else {
            std::uniform_int_distribution<std::size_t> pick(0, tokens.size() - 1);
            std::uniform_int_distribution<int> length(0, 25);
            const int n = length(rng);
            for (int i = 0; i < n; ++i)
                text += tokens[pick(rng)];
        }
        if (text.find_first_not_of(" \t\r\n") == std::string::npos) continue; // the null text
        const double v = engine.eval(text);
        const int code = engine.error();
        ASSERT_TRUE(code >= 0 && code <= 32) << text;
        if (code == 0) {
            ASSERT_FALSE(std::isnan(v)) << text;
        }
        Expression expr = engine.parse(text);
        ASSERT_EQ(expr.valid(), engine.error() == 0) << text;
        if (expr.valid()) {
            const double again = engine.evaluate(expr);
            // evaluated at once or parsed first: the same outcome
            ASSERT_EQ(engine.error(), code) << text;
            if (code == 0 && !std::isinf(v)) {
                ASSERT_DOUBLE_EQ(again, v) << text;
            }
        } else {
            ASSERT_EQ(engine.error(), code) << text;
        }
        engine.eval("");
    }
}

} // namespace
