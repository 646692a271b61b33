#include "platform/mathengine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace {

using platform::Expression;
using platform::MathEngine;

constexpr double pi = std::numbers::pi;
constexpr double inf = HUGE_VAL;

struct ValueCase {
    const char* text;
    double value;
};

struct ErrorCase {
    const char* text;
    int code;
    const char* data = "";
};

void expectSame(double expected, double actual, const std::string& text, const char* path) {
    if (std::isinf(expected)) {
        EXPECT_EQ(expected, actual) << text << " (" << path << ")";
        return;
    }
    const double tolerance = 1e-12 * std::max(1.0, std::fabs(expected));
    EXPECT_NEAR(expected, actual, tolerance) << text << " (" << path << ")";
}

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

    struct Outcome {
        double value;
        int code;
        std::string data;
        Expression expr; // valid when the text parsed
    };

    // Evaluated at once or parsed first, the text has the same outcome: the same value, never
    // NaN, or the same error code and error data with 0 as the value. No error stays pending.
    Outcome outcome(const std::string& text) {
        const std::string shown = text.substr(0, 40);
        Outcome o{engine.eval(text), engine.error(), engine.errorData(), {}};
        EXPECT_TRUE(o.code >= 0 && o.code <= 32) << o.code << " " << shown;
        EXPECT_TRUE(o.code == 0 ? !std::isnan(o.value) : o.value == 0) << shown;
        o.expr = engine.parse(text);
        EXPECT_EQ(o.expr.valid(), engine.error() == 0) << shown;
        if (o.expr.valid()) {
            const double again = engine.evaluate(o.expr);
            if (std::isfinite(o.value)) {
                EXPECT_DOUBLE_EQ(again, o.value) << shown;
            } else {
                EXPECT_EQ(again, o.value) << shown;
            }
        }
        EXPECT_EQ(engine.error(), o.code) << shown << " (parse, evaluate)";
        EXPECT_EQ(engine.errorData(), o.data) << shown << " (parse, evaluate)";
        if (o.expr.valid()) { // a sweep over the running variable's value gives it at every sample
            const double here = engine.variable(x);
            const std::vector<double> xs(3, here);
            std::vector<double> ys(xs.size(), -1);
            std::vector<std::uint8_t> codes(xs.size(), 99);
            engine.evaluateSweep(o.expr, x, xs, ys, codes);
            for (std::size_t k = 0; k < xs.size(); ++k) {
                EXPECT_EQ(codes[k], o.code) << shown << " (sweep)";
                if (std::isfinite(o.value)) {
                    EXPECT_DOUBLE_EQ(ys[k], o.value) << shown << " (sweep)";
                } else {
                    EXPECT_EQ(ys[k], o.value) << shown << " (sweep)";
                }
            }
            EXPECT_EQ(engine.variable(x), here);
        }
        engine.eval("");
        return o;
    }

    // Every value is computed four ways: evaluated at once, parsed then evaluated, and both again
    // after an unrelated function was redefined (which must not disturb compiled expressions).
    void expectValues(std::span<const ValueCase> cases) {
        for (const ValueCase& vc : cases) {
            const Outcome o = outcome(vc.text);
            EXPECT_EQ(o.code, 0) << vc.text;
            expectSame(vc.value, o.value, vc.text, "eval");
            ASSERT_TRUE(engine.defineFunction("unrelated(q)=q+1"));
            ASSERT_TRUE(engine.defineFunction("unrelated(q)=q+2"));
            expectSame(vc.value, engine.evaluate(o.expr), vc.text, "evaluate after redefinition");
            expectSame(vc.value, engine.eval(vc.text), vc.text, "eval after redefinition");
            EXPECT_EQ(engine.error(), 0) << vc.text;
        }
    }

    void expectErrors(std::span<const ErrorCase> cases) {
        for (const ErrorCase& ec : cases) {
            const Outcome o = outcome(ec.text);
            EXPECT_EQ(o.code, ec.code) << ec.text;
            EXPECT_EQ(o.data, ec.data) << ec.text;
        }
    }

    MathEngine engine;
    int x = -1;
};

// Operators bind and associate as at school; overflow is a value, not an error.
TEST_F(Engine, OperatorsBindAndAssociateAsWritten) {
    const ValueCase cases[] = {
        {"1+2*3", 7},     {"(1+2)*3", 9},     {"10-4-3", 3},        {"2/4/2", 0.25},
        {"2^3^2", 512},   {"-2^2", -4},       {"-_x^2", -4},        {"2^-1", 0.5},
        {"2^-_x", 0.25},  {"2*-3", -6},       {"--3", 3},           {"+3", 3},
        {"2^3!", 64},     {"-3!", -6},        {"3!!", 720},         {"0!", 1},
        {"1+2 mod 2", 1}, {"2*3 mod 4", 2},   {"7 mod 4\\2", 1},    {"8\\2*2", 2},
        {"-7 mod 3", -1}, {"7 mod -3", 1},    {"5.5 mod 2", 1.5},   {"9\\4", 2},
        {"-7\\2", -3},    {"9 DIV 4", 2},     {"7.6\\2", 4},        {"170!", 7.257415615307994e306},
        {"10^400", inf},  {"exp(1000)", inf}, {"-exp(1000)", -inf}, {"_x*1e308*10", inf},
    };
    expectValues(cases);
}

TEST_F(Engine, ComparisonsAndLogicGiveOneOrZero) {
    const ValueCase cases[] = {
        {"1<2", 1},           {"1=1", 1},           {"1<>1", 0},         {"2>=2", 1},
        {"2<=1", 0},          {"3>2", 1},           {"1<2<3", 1},        {"1 and 0", 0},
        {"1 and 2", 1},       {"0 or 3", 1},        {"1 xor 1", 0},      {"0 eqv 0", 1},
        {"0 imp 0", 1},       {"1 imp 0", 0},       {"not 0", 1},        {"not 5", 0},
        {"not 1 = 2", 1},     {"1 or 0 and 0", 1},  {"1 xor 1 or 1", 0}, {"0 imp 0 eqv 1", 1},
        {"1 eqv 0 xor 1", 1}, {"_x>1 and _x<3", 1},
    };
    expectValues(cases);
}

// Implicit products, number forms, blanks and letter case.
TEST_F(Engine, TermsAreReadAsSchoolWritesThem) {
    const double e = std::numbers::e;
    const ValueCase cases[] = {
        {"2_x", 4},        {"2pi", 2 * pi},  {"(1+1)(2+1)", 6}, {"2(_x+1)", 6},
        {"2_x^2", 8},      {"1/2_x", 1},     {"(2)_x", 4},      {"2 _x", 4},
        {"2sqrt(4)", 4},   {"2e", 2 * e},    {"2exp(0)", 2},    {"2e-_x", 2 * e - 2},
        {"12", 12},        {"1.5", 1.5},     {".5", 0.5},       {"5.", 5},
        {"1E-10", 1e-10},  {"2e3", 2000},    {"1e400", inf},    {"1e-400", 0},
        {"  1 +   2 ", 3}, {"\t1\t*\t2", 2}, {"SQRT(4)", 2},    {"Sgn(Sin(1))", 1},
        {"A", 3},          {"PI", pi},
    };
    expectValues(cases);
}

TEST_F(Engine, CircularAndHyperbolicFunctions) {
    const double sinh1 = std::sinh(1.0), tanh1 = std::tanh(1.0), atanh5 = std::atanh(0.5);
    const double asinh1 = std::asinh(1.0), acosh2 = std::acosh(2.0);
    const ValueCase cases[] = {
        {"sin(0)", 0},          {"cos(0)", 1},          {"sec(0)", 1},
        {"csc(pi/2)", 1},       {"cot(pi/4)", 1},       {"asin(1)", pi / 2},
        {"acos(1)", 0},         {"atan(1)", pi / 4},    {"acot(1)", pi / 4},
        {"acot(0)", pi / 2},    {"sinh(1)", sinh1},     {"cosh(0)", 1},
        {"tanh(1)", tanh1},     {"coth(1)", 1 / tanh1}, {"sech(0)", 1},
        {"csch(1)", 1 / sinh1}, {"asinh(1)", asinh1},   {"acosh(1)", 0},
        {"atanh(0.5)", atanh5}, {"acoth(2)", atanh5},   {"asech(0.5)", acosh2},
        {"acsch(1)", asinh1},
    };
    expectValues(cases);
}

TEST_F(Engine, RoundingLogarithmsAndOtherFunctions) {
    const ValueCase cases[] = {
        {"sqrt(16)", 4},     {"abs(-3)", 3},          {"sgn(-2)", -1},      {"sgn(0)", 0},
        {"int(-2.5)", -3},   {"fix(-2.5)", -2},       {"frac(-2.5)", -0.5}, {"round(2.5)", 2},
        {"round(3.5)", 4},   {"round(-2.5)", -2},     {"ceil(1.2)", 2},     {"floor(-1.2)", -2},
        {"ln(e)", 1},        {"log2(8)", 3},          {"log10(1000)", 3},   {"exp(0)", 1},
        {"exp2(10)", 1024},  {"atan2(1, 1)", pi / 4}, {"atan2(0, -1)", pi}, {"min(3)", 3},
        {"min(3, 1, 2)", 1}, {"max(3, 1, 2)", 3},     {"max(-1, -2)", -1},  {"max(_x, a, b, c)", 3},
    };
    expectValues(cases);
}

// Only the branch taken is evaluated: the other one may be an error.
TEST_F(Engine, ConditionalsComputeTheBranchTaken) {
    const double r2 = std::sqrt(2.0);
    const ValueCase cases[] = {
        {"iif(_x>0, 10, 20)", 10},     {"iif(_x>0, iif(a>5, 1, 2), 3)", 2},
        {"iif(_x<0, 10, 20)", 20},     {"wenn(_x>0; wurzel(_x); 0)", r2},
        {"iif(_x>0, 5, 1/0)", 5},      {"wenn(_x<0; wurzel(_x); 0)", 0},
        {"iif(_x=2, 1, 0)", 1},        {"iif(_x<0, sqrt(-1), 5)", 5},
        {"iif(_x>=2, 1, 0)", 1},       {"iif(_x>0 and a>0, 1, 0)", 1},
        {"1 + iif(_x>0, _x, 0)^2", 5}, {"iif(a*_x>5, _x-1, -_x)", 1},
    };
    expectValues(cases);
}

// The compiler folds constants and merges common shapes into single steps; each shape must
// still give the plain value.
TEST_F(Engine, RewrittenShapesKeepTheirValue) {
    const double r2 = std::sqrt(2.0);
    const ValueCase cases[] = {
        {"_x^3", 8},          {"_x^4", 16},       {"_x^-2", 0.25},    {"_x^0", 1},
        {"_x^1", 2},          {"_x^0.5", r2},     {"_x^17", 131072},  {"1-_x", -1},
        {"1/_x", 0.5},        {"a-_x", 1},        {"a/_x", 1.5},      {"_x*3", 6},
        {"-(_x*3)", -6},      {"-_x^2/10", -0.4}, {"2-sin(0)*_x", 2}, {"10/(_x+3)", 2},
        {"a-(_x+1)", 0},      {"5 < _x+1", 0},    {"5 >= _x*2", 1},   {"_x - _x*3", -4},
        {"(_x+1)*(_x-1)", 3}, {"a - -_x", 5},     {"_x^2 - -_x", 6},
    };
    expectValues(cases);
    const ValueCase longer[] = {
        {"a*_x^2+b*_x+c", 10.5},
        {"3*_x^2+2*_x+1", 17},
        {"sin(_x)^2+cos(_x)^2", 1},
        {"sqrt(abs(_x))*exp(-_x^2/10)", r2 * std::exp(-0.4)},
    };
    expectValues(longer);
}

TEST_F(Engine, WritingErrors) {
    engine.defineVariable("qq");
    engine.defineVariable("sw");
    const ErrorCase cases[] = {
        {"(1+2", 2},   {"1+2)", 2},  {"qq+sw*", 9},     {"1+", 9},        {"*1", 9},
        {"1 +* 2", 9}, {"()", 9},    {"(1,2)", 9},      {"sin(1,,2)", 9}, {"min(1,)", 9},
        {"1 # 2", 9},  {"[1]", 9},   {"1+\xc3\xa4", 9}, {"1..2", 9},      {"and", 9},
        {"1 and", 9},  {"_x _x", 9}, {"3!2", 9},        {"\"", 8},        {"1 + \"x\"", 8},
    };
    expectErrors(cases);
}

// The name the error concerns comes with it, as written.
TEST_F(Engine, UnknownNamesAndWrongArgumentCounts) {
    const ErrorCase unknown[] = {
        {"q+1", 3, "q"}, {"Q1 + Q2", 3, "Q1"},     {"modul", 3, "modul"},   {"AND_x", 3, "AND_x"},
        {"2q", 3, "q"},  {"sqrt(-1)+zz", 3, "zz"}, {"NoFn(1)", 11, "NoFn"}, {"_x(1)", 11, "_x"},
    };
    expectErrors(unknown);
    const ErrorCase argumentCounts[] = {
        {"sin()", 12, "sin"},        {"sin(1, 2)", 12, "sin"},        {"atan2(1)", 12, "atan2"},
        {"iif(1, 2)", 12, "iif"},    {"iif(_x, 2, 3, 4)", 12, "iif"}, {"wenn(1)", 12, "wenn"},
        {"log(1, 2, 3)", 12, "log"},
    };
    expectErrors(argumentCounts);
}

TEST_F(Engine, ArithmeticErrors) {
    const ErrorCase cases[] = {
        {"171!", 7},          {"(_x*100)!", 7},   {"(-1)!", 13, "!"}, {"2.5!", 13, "!"},
        {"1/0", 14},          {"0/0", 14},        {"1/(_x-2)", 14},   {"1/b/(b+1)", 14},
        {"5 mod 0", 15},      {"5\\0", 15},       {"5 div 0.4", 15},  {"_x mod (_x-2)", 15},
        {"(-8)^(1/3)", 16},   {"0^-1", 16},       {"(-2)^0.5", 16},   {"b^0.5", 16},
        {"(_x-2)^(-_x)", 16}, {"sqrt(-1)", 17},   {"log2(0)", 18},    {"log10(-1)", 19},
        {"ln(0)", 20},        {"log(b, 2)", 20},  {"asin(2)", 21},    {"acos(-1.5)", 22},
        {"csc(0)", 24},       {"cot(0)", 25},     {"coth(0)", 26},    {"csch(0)", 27},
        {"acosh(0.5)", 28},   {"atanh(1)", 29},   {"acoth(0.5)", 30}, {"acoth(1)", 30},
        {"asech(0)", 31},     {"asech(1.5)", 31}, {"acsch(0)", 32},   {"iif(_x>0, sqrt(b), 0)", 17},
    };
    expectErrors(cases);
    const ErrorCase notANumber[] = {
        {"exp(1000)-exp(1000)", 1, "Ergebnis ist keine Zahl"},
        {"0*exp(_x*1000)", 1, "Ergebnis ist keine Zahl"},
    };
    expectErrors(notANumber);
}

// An error stays through calls that neither parse nor evaluate; parsing or evaluating clears it,
// and so does the empty text (blanks too), which as an expression is itself a syntax error.
TEST_F(Engine, ErrorStaysUntilACallClearsIt) {
    engine.eval("q");
    engine.setVariable(x, 5);
    engine.alias("gross", "max");
    EXPECT_EQ(engine.error(), 3);
    EXPECT_EQ(engine.errorData(), "q");
    EXPECT_EQ(engine.eval("   "), 0);
    EXPECT_EQ(engine.error(), 0);
    EXPECT_EQ(engine.errorData(), "");
    engine.eval("1/0");
    Expression expr = engine.parse("_x");
    EXPECT_EQ(engine.error(), 0);
    engine.eval("ln(0)");
    EXPECT_EQ(engine.evaluate(expr), 5);
    EXPECT_EQ(engine.error(), 0);
    EXPECT_FALSE(engine.parse("").valid());
    EXPECT_EQ(engine.error(), 9);
    EXPECT_EQ(engine.evaluate(Expression{}), 0);
    EXPECT_EQ(engine.error(), 9);
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

    const ErrorCase refused[] = {{"1abc", 9}, {"mod", 9}, {"w=1/0", 14}, {"w=zz", 3, "zz"}};
    for (const ErrorCase& ec : refused) {
        EXPECT_EQ(engine.defineVariable(ec.text), -1) << ec.text;
        EXPECT_EQ(engine.error(), ec.code) << ec.text;
        EXPECT_EQ(engine.errorData(), ec.data) << ec.text;
        engine.eval("w");
        EXPECT_EQ(engine.error(), 3) << "a failed definition defines nothing: " << ec.text;
    }
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
    ASSERT_TRUE(engine.defineFunction("g(a, B)=a-b"));
    ASSERT_TRUE(engine.defineFunction("h(t)=t^2+t*a+t/2-t"));
    ASSERT_TRUE(engine.defineFunction("k(t)=-t+(t-1)*(t+1)+iif(t>2, t*2, 0)"));
    const ValueCase cases[] = {
        {"f(5)", 53}, {"f(_x)", 23}, {"g(10, 4)", 6}, {"g(_x, a)", -1}, {"h(2)", 4 + 6 + 1 - 2},
        {"k(3)", 11}, {"k(2)", 1},
    };
    expectValues(cases);
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
        {"f(t)", 9},       {"f(t)=y", 3, "y"},
        {"f(t=1", 9},      {"f(t)=gg(t)", 11, "gg"},
        {"(t)=1", 9},      {"f(t)=sin(t, t)", 12, "sin"},
        {"f(1)=1", 9},     {"f(t, t)=1", 9},
        {"f(t)=t+", 9},    {"mod(t)=1", 9},
        {"f(t)=(t", 2},    {"f(and)=1", 9},
        {"f(t)=\"t\"", 8},
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
    // p and q call each other once p is redefined
    for (const char* definition : {"r(_x)=r(_x)+1", "p(_x)=1", "q(_x)=p(_x)*2", "p(_x)=q(_x)",
                                   "s(_x)=s(_x)+s(_x)", "u()=u()"})
        ASSERT_TRUE(engine.defineFunction(definition)) << definition;
    const char* tooDeep = MathEngine::recursionText;
    const ErrorCase calls[] = {
        {"r(1)", 1, tooDeep}, {"q(1)", 1, tooDeep}, {"s(1)", 1, tooDeep}, {"u()", 1, tooDeep}};
    expectErrors(calls);
    // the engine is fine afterwards
    EXPECT_EQ(engine.eval("1+1"), 2);
    EXPECT_EQ(engine.error(), 0);
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

// A hundred nested calls work; forty functions each calling the one before twice would make
// 2^40 calls, and the evaluation stops early with code 1 instead of hanging.
TEST_F(Engine, DeepCallsWorkExponentialCallTreesAreCut) {
    ASSERT_TRUE(engine.defineFunction("n0(v)=v+1"));
    ASSERT_TRUE(engine.defineFunction("t0(v)=v"));
    for (int i = 1; i <= 100; ++i) {
        const std::string n = std::to_string(i), prev = std::to_string(i - 1);
        ASSERT_TRUE(engine.defineFunction("n" + n + "(v)=n" + prev + "(v)+1"));
        ASSERT_TRUE(engine.defineFunction("t" + n + "(v)=t" + prev + "(v)+t" + prev + "(v)"));
    }
    EXPECT_EQ(engine.eval("n100(0)"), 101);
    EXPECT_EQ(engine.eval("n100(n100(0))*2"), 404);
    EXPECT_EQ(engine.eval("t10(1)"), 1024);
    engine.eval("t40(1)");
    EXPECT_EQ(engine.error(), 1);
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
    // variables, functions and aliases are gone
    const ErrorCase gone[] = {{"a", 3, "a"}, {"f(1)", 11, "f"}, {"wenn(1, 2, 3)", 11, "wenn"}};
    expectErrors(gone);
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
    const ValueCase cases[] = {
        {"1 und 0", 0},    {"1 UND 1", 1}, {"gross(1, 5, 2)", 5}, {"riesig(1, 7)", 7},
        {"quadrat(3)", 9}, {"zwei*3", 6},  {"nicht nicht 3", 1},  {"wenn(0; 1; 2)", 2},
    };
    expectValues(cases);
    engine.alias("kreis", "kreis2");
    engine.alias("kreis2", "kreis"); // a cycle must not hang
    engine.eval("kreis");
    EXPECT_EQ(engine.error(), 3);
}

TEST(EngineNames, BuiltinFunctionsAreKnownWithoutAnEngine) {
    const char* builtins[] = {
        "sin",   "cos",   "tan",   "sec",   "csc",  "cot",  "asin", "acos",   "atan",
        "acot",  "sinh",  "cosh",  "tanh",  "coth", "sech", "csch", "asinh",  "acosh",
        "atanh", "acoth", "asech", "acsch", "sqrt", "abs",  "sgn",  "int",    "fix",
        "frac",  "round", "ceil",  "floor", "ln",   "log",  "log2", "log10",  "exp",
        "exp2",  "atan2", "min",   "max",   "iif",  "SIN",  "Sqrt", "ArcTan2"};
    for (const char* name : builtins)
        EXPECT_EQ(MathEngine::isBuiltinFunction(name), std::string(name) != "ArcTan2") << name;
    // Definitions and aliases are the program's, not the engine's own.
    for (const char* name : {"wurzel", "betrag", "wenn", "pi", "e", "not", "and", "sinus", ""})
        EXPECT_FALSE(MathEngine::isBuiltinFunction(name)) << name;
}

TEST_F(Engine, AngleModesScaleCircularFunctionsOnly) {
    Expression sine90 = engine.parse("sin(90)");
    engine.setTrigMode(2);
    EXPECT_EQ(engine.trigMode(), 2);
    EXPECT_EQ(engine.evaluate(sine90), 1); // parsed before the switch, computed after it
    const double sinh1 = std::sinh(1.0), tanh1 = std::tanh(1.0);
    const ValueCase degrees[] = {
        {"sin(90)", 1},      {"cos(180)", -1},   {"sin(180)", 0},      {"sin(-90)", -1},
        {"cos(90)", 0},      {"sin(450)", 1},    {"sin(30)", 0.5},     {"tan(45)", 1},
        {"cot(45)", 1},      {"csc(90)", 1},     {"sec(180)", -1},     {"asin(1)", 90},
        {"acos(-1)", 180},   {"atan(1)", 45},    {"acot(1)", 45},      {"atan2(1, 1)", 45},
        {"arcsin(0.5)", 30}, {"sinh(1)", sinh1}, {"tanhyp(1)", tanh1}, {"acosh(1)", 0},
        {"pi", pi},
    };
    expectValues(degrees);
    const ErrorCase poles[] = {{"sec(90)", 23}, {"csc(180)", 24}, {"cot(360)", 25}};
    expectErrors(poles);

    engine.setTrigMode(3);
    const ValueCase grads[] = {{"sin(100)", 1}, {"asin(1)", 100}, {"cos(200)", -1}};
    expectValues(grads);

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
    const auto repeat = [](const std::string& s, int n) {
        std::string r;
        for (int i = 0; i < n; ++i)
            r += s;
        return r;
    };
    EXPECT_EQ(outcome(repeat("(", 10000) + "1" + repeat(")", 10000)).code, 1);
    EXPECT_EQ(outcome(repeat("(", 10000)).code, 2);
    const std::string errors[] = {
        repeat("-", 100000) + "1",
        repeat("not ", 10000) + "1",
        repeat("2^", 5000) + "2",
        repeat("sin(", 5000) + "1" + repeat(")", 5000),
        repeat("iif(1,", 3000) + "1" + repeat(",0)", 3000),
        repeat("f(", 3000) + "1" + repeat(")", 3000),
        repeat("x", 100000),
        repeat("1+", 20000),
        std::string(1000, '\0'),
    };
    for (const std::string& text : errors)
        EXPECT_NE(outcome(text).code, 0) << text.substr(0, 40);
    outcome(repeat("1", 100000));
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
        outcome(text);
        ASSERT_FALSE(HasFailure()) << text; // one report, not thousands
    }
}

} // namespace

namespace {

// A random term over the running variable _x: every operator and function of the engine,
// conditions, user functions (one that ends its recursion, one that never does) and constants
// that hit the edges of the functions' domains.
class TreeMaker {
public:
    // tame: without the large constants, so that no angle grows far beyond a few turns unless
    // the term makes it.
    explicit TreeMaker(unsigned seed, bool tame = false) : rng_(seed), tame_(tame) {}

    std::string term(int depth) {
        if (depth <= 0 || pick(5) == 0) return leaf();
        static const char* unary[] = {
            "sin",   "cos",    "tan",   "sec",   "csc",     "cot",  "asin", "acos",  "atan",
            "acot",  "sinh",   "cosh",  "tanh",  "coth",    "sech", "csch", "asinh", "acosh",
            "atanh", "acoth",  "asech", "acsch", "sqrt",    "abs",  "sgn",  "int",   "fix",
            "frac",  "round",  "ceil",  "floor", "ln",      "log",  "log2", "log10", "exp",
            "exp2",  "wurzel", "h",     "rec",   "endless", "q",    "tr"};
        static const char* binary[] = {
            "+", "-", "*",  "/",  "^",     " mod ", "\\",    " div ", "=",    "<>",
            "<", ">", "<=", ">=", " and ", " or ",  " xor ", " eqv ", " imp "};
        const std::string a = term(depth - 1);
        switch (pick(9)) {
        case 0:
        case 1: {
            const char* f = unary[pick(std::size(unary))];
            if (std::string(f) == "endless" && pick(4) != 0) f = "h";
            return std::string(f) + "(" + a + ")";
        }
        case 2:
        case 3:
        case 4:
            return "(" + a + binary[pick(std::size(binary))] + term(depth - 1) + ")";
        case 5:
            return (pick(2) ? "iif(" : "wenn(") + a + "; " + term(depth - 1) + "; " +
                   term(depth - 1) + ")";
        case 6: {
            static const char* two[] = {"atan2", "min", "max", "g", "log", "exp"};
            return std::string(two[pick(std::size(two))]) + "(" + a + ", " + term(depth - 1) + ")";
        }
        case 7:
            return pick(2) ? "-" + a : "not " + a;
        default:
            return pick(2) ? "(" + a + ")!" : "(" + a + ")^" + std::to_string(int(pick(7)) - 3);
        }
    }

private:
    std::size_t pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
    }

    std::string leaf() {
        static const char* leaves[] = {"_x",  "_x", "_x",  "a",   "b",   "0",   "1",  "2",
                                       "0.5", "90", "180", "200", "1e9", "171", "pi", "e"};
        static const char* tameLeaves[] = {"_x", "_x", "_x",  "a",  "b", "0",
                                           "1",  "2",  "0.5", "pi", "e"};
        return tame_ ? tameLeaves[pick(std::size(tameLeaves))] : leaves[pick(std::size(leaves))];
    }

    std::mt19937 rng_;
    bool tame_;
};

struct Sampled {
    std::vector<double> values;
    std::vector<std::uint8_t> codes;
    std::int64_t work = 0;
};

// Values of the running variable around the edges of the domains, over several blocks.
std::vector<double> sweepValues() {
    std::vector<double> xs;
    for (int k = -120; k <= 120; ++k)
        xs.push_back(k / 20.0);
    for (double v : {90.0, 180.0, 270.0, 100.0, 200.0, 1e9, -1e9, 171.0, 170.0, 3e8, 1e300})
        xs.push_back(v);
    return xs;
}

Sampled scalarWay(MathEngine& engine, const Expression& expr, int x,
                  const std::vector<double>& xs) {
    Sampled s;
    const std::int64_t before = engine.work();
    for (double v : xs) {
        engine.setVariable(x, v);
        engine.clearError();
        s.values.push_back(engine.evaluate(expr));
        s.codes.push_back(std::uint8_t(engine.error()));
    }
    engine.clearError();
    s.work = engine.work() - before;
    return s;
}

Sampled sweepWay(MathEngine& engine, const Expression& expr, int x, const std::vector<double>& xs) {
    Sampled s;
    s.values.assign(xs.size(), -1);
    s.codes.assign(xs.size(), 99);
    const std::int64_t before = engine.work();
    engine.evaluateSweep(expr, x, xs, s.values, s.codes);
    EXPECT_EQ(engine.error(), 0);
    s.work = engine.work() - before;
    return s;
}

void expectSameSamples(const Sampled& scalar, const Sampled& sweep, const std::vector<double>& xs,
                       const std::string& text) {
    EXPECT_EQ(scalar.work, sweep.work) << text;
    for (std::size_t k = 0; k < xs.size(); ++k) {
        ASSERT_EQ(scalar.codes[k], sweep.codes[k]) << text << " at " << xs[k];
        const double a = scalar.values[k], b = sweep.values[k];
        ASSERT_TRUE(a == b || (std::isnan(a) && std::isnan(b)))
            << text << " at " << xs[k] << ": " << a << " " << b;
    }
}

} // namespace

// The exact sweep gives every sample exactly what one evaluation per sample gives: values, error
// codes and work, in every angle mode, with calls that end, calls that never end and functions
// redefined after the terms were parsed.
TEST_F(Engine, SweepMatchesOneEvaluationPerSample) {
    engine.setExactSweep(true);
    ASSERT_TRUE(engine.defineFunction("h(t)=t*2"));
    ASSERT_TRUE(engine.defineFunction("g(t, u)=h(t)-u*_x"));
    ASSERT_TRUE(engine.defineFunction("rec(n)=iif(n<1; 0; rec(n-1)+1)"));
    ASSERT_TRUE(engine.defineFunction("endless(t)=endless(t)+1"));
    // plain bodies, which the sweep writes into the caller: errors inside, an angle, a call of
    // another function with a computed argument
    ASSERT_TRUE(engine.defineFunction("q(t)=1/t+sqrt(t)*_x"));
    ASSERT_TRUE(engine.defineFunction("tr(t)=sin(t)*g(t-1, t)+t mod 3"));
    const std::vector<double> xs = sweepValues();
    TreeMaker maker(2024);
    std::vector<std::pair<std::string, Expression>> terms;
    for (int i = 0; i < 2000; ++i) {
        const std::string text = maker.term(1 + i % 5);
        Expression expr = engine.parse(text);
        if (expr.valid()) terms.emplace_back(text, std::move(expr));
    }
    engine.clearError();
    ASSERT_GT(terms.size(), std::size_t(1500));
    for (int mode = 1; mode <= 3; ++mode) {
        engine.setTrigMode(mode);
        if (mode == 3) {
            ASSERT_TRUE(engine.defineFunction("h(t)=t-1")); // late binding
        }
        for (std::size_t i = 0; i < terms.size(); ++i) {
            const auto& [text, expr] = terms[i];
            SCOPED_TRACE(testing::Message() << "mode " << mode << ": " << text);
            const Sampled scalar = scalarWay(engine, expr, x, xs);
            expectSameSamples(scalar, sweepWay(engine, expr, x, xs), xs, text);
            if (i % 7 == 0 && scalar.work > 2) { // a work limit reached within the sweep
                engine.setWorkLimit(engine.work() + scalar.work / 2);
                const Sampled cutScalar = scalarWay(engine, expr, x, xs);
                engine.setWorkLimit(engine.work() + scalar.work / 2);
                const Sampled cutSweep = sweepWay(engine, expr, x, xs);
                engine.setWorkLimit(MathEngine::noWorkLimit);
                expectSameSamples(cutScalar, cutSweep, xs, text + " (limited)");
            }
            ASSERT_FALSE(HasFailure());
        }
    }
    engine.setTrigMode(1);
}

// Terms that the sweep must not take apart: products computed inline, a recursion deeper than
// the engine allows, a term on a variable that is not the running one, an invalid expression.
TEST_F(Engine, SweepOfSpecialTerms) {
    engine.setExactSweep(true);
    ASSERT_TRUE(engine.defineFunction("rec(n)=iif(n<1; 0; rec(n-1)+1)"));
    ASSERT_TRUE(engine.defineFunction("sq(t)=t^2+1"));
    // conditions nested in a deep recursion: beyond what the sweep follows natively
    ASSERT_TRUE(engine.defineFunction(
        "deep(n)=iif(n<1; 0; iif(n>-1; iif(n>-2; iif(n>-3; deep(n-1)+1; 0); 0); 0))"));
    ASSERT_TRUE(engine.defineFunction("twice(t)=sq(t)+sq(1/t)"));
    // more calls than an evaluation may make: the limit is reached inside plain bodies
    ASSERT_TRUE(engine.defineFunction("w0(t)=t+1"));
    char definition[64];
    for (int k = 1; k <= 17; ++k) {
        std::snprintf(definition, sizeof definition, "w%d(t)=w%d(t)*w%d(t-1)", k, k - 1, k - 1);
        ASSERT_TRUE(engine.defineFunction(definition));
    }
    ASSERT_TRUE(engine.defineFunction("wide(t)=w17(t)"));
    // plain bodies nested deeper than they are written into each other
    ASSERT_TRUE(engine.defineFunction("c0(t)=t/2"));
    for (int k = 1; k <= 12; ++k) {
        std::snprintf(definition, sizeof definition, "c%d(t)=c%d(t+1)", k, k - 1);
        ASSERT_TRUE(engine.defineFunction(definition));
    }
    ASSERT_TRUE(engine.defineFunction("chain(t)=c12(t)*c3(t)"));
    std::vector<double> xs;
    for (int k = 0; k < 300; ++k)
        xs.push_back(k - 20);
    for (const char* text : {"_x",
                             "_x^2",
                             "3*_x",
                             "a*_x",
                             "a",
                             "rec(_x)",
                             "rec(_x)*0+1/(_x-3)",
                             "wenn(_x<1; 0; 1)",
                             "iif(_x>250; rec(_x); _x)",
                             "0*_x*1e400",
                             "deep(_x)",
                             "a*_x^2+b*_x+e",
                             "1e300*_x^2+b*_x+1",
                             "iif(_x<3; a*_x^2; b*_x+_x*_x+0.5)",
                             "_x*_x+a*_x+pi",
                             "_x^2+1e308",
                             "sq(_x)*sq(_x-1)",
                             "twice(_x)",
                             "twice(_x)+1/_x",
                             "sqrt(_x-5)+twice(_x/2)",
                             "wide(_x)",
                             "chain(_x)",
                             "sq(a)*_x",
                             "tan(_x*1e400*0)+sin(cos(_x*1e400))"}) {
        const Expression expr = engine.parse(text);
        ASSERT_TRUE(expr.valid()) << text;
        expectSameSamples(scalarWay(engine, expr, x, xs), sweepWay(engine, expr, x, xs), xs, text);
    }
    const std::vector<double> few = {1, 2, 3};
    const Expression wide = engine.parse("wide(_x)");
    const Sampled wideScalar = scalarWay(engine, wide, x, few);
    EXPECT_EQ(wideScalar.codes[0], 1);
    expectSameSamples(wideScalar, sweepWay(engine, wide, x, few), few, "wide");
    // a function defined anew between two sweeps of a term: the new body, also where the
    // function now calls itself or has no body
    const Expression later = engine.parse("twice(_x)*2");
    for (const char* body :
         {"twice(t)=sq(t)-t", "twice(t)=twice(t-1)", "twice(t)=", "twice(t)=sq(sin(t))"}) {
        ASSERT_TRUE(engine.defineFunction(body));
        expectSameSamples(scalarWay(engine, later, x, xs), sweepWay(engine, later, x, xs), xs,
                          body);
    }
    ASSERT_TRUE(engine.defineFunction("sq(t)=t*0"));
    expectSameSamples(scalarWay(engine, later, x, xs), sweepWay(engine, later, x, xs), xs, "sq");
    std::vector<double> ys(xs.size());
    std::vector<std::uint8_t> codes(xs.size());
    engine.evaluateSweep(later, x, xs, ys, codes);
    EXPECT_EQ(ys[30], 0);
    // rec(_x) at _x = 200 and beyond nests too deep
    engine.evaluateSweep(engine.parse("rec(_x)"), x, xs, ys, codes);
    EXPECT_EQ(ys[20 + 150], 150);
    EXPECT_EQ(codes[20 + 250], 1);
    engine.evaluateSweep(Expression{}, x, xs, ys, codes);
    EXPECT_EQ(codes[0], 9);
    EXPECT_EQ(engine.variable(x), xs.back());
}

// The sweep as graphs run it, with the library's functions several lanes at once, on random
// terms over moderate values without the parts that turn a last bit into another answer
// (conditions, comparisons, rounding, remainders, factorials): the same work, and at every sample
// but a very few the same error code and a value within 1e-6 (relative beyond 1). The few are
// where a last bit decides after all: an exponent computed to be whole or not (-6^exp2(log2(3))),
// tanh(19) just below 1 or 1 itself under atanh, sin of an angle grown to 1e20 by exp(exp(x)).
TEST_F(Engine, VectorisedSweepKeepsTheMeaningOfRandomTerms) {
    ASSERT_TRUE(engine.defineFunction("h(t)=t*2"));
    ASSERT_TRUE(engine.defineFunction("q(t)=1/t+sqrt(t)*_x"));
    std::vector<double> xs;
    for (int k = -120; k <= 120; ++k)
        xs.push_back(k / 20.0);
    TreeMaker maker(4711, true);
    int checked = 0, samples = 0, off = 0;
    for (int i = 0; i < 12000; ++i) {
        const std::string text = maker.term(1 + i % 3);
        bool chaotic = false;
        for (const char* part :
             {"iif",  "wenn",  "=",   "<",   ">",   "int", "fix",     "frac", "round",
              "ceil", "floor", "sgn", "mod", "div", "\\",  "!",       "and",  "or",
              "not",  "eqv",   "imp", "min", "max", "rec", "endless", "tr("})
            chaotic = chaotic || text.find(part) != std::string::npos;
        const Expression expr = engine.parse(text);
        if (chaotic || !expr.valid()) continue;
        SCOPED_TRACE(text);
        const Sampled scalar = scalarWay(engine, expr, x, xs);
        const Sampled sweep = sweepWay(engine, expr, x, xs);
        ASSERT_EQ(scalar.work, sweep.work);
        for (std::size_t k = 0; k < xs.size(); ++k) {
            const double a = scalar.values[k], b = sweep.values[k];
            const bool near = a == b || std::fabs(a - b) <= 1e-6 * std::max(1.0, std::fabs(a));
            off += scalar.codes[k] != sweep.codes[k] || !near ? 1 : 0;
        }
        samples += int(xs.size());
        ++checked;
    }
    EXPECT_GT(checked, 3000);
    EXPECT_LE(off, samples / 10000) << off << " of " << samples;
}
