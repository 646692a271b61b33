#include "engine/translate.h"

#include "core/state.h"
#include "support/printing.h"
#include "support/qtext.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

// What the term check stores for a term typed with the variable x.
QString stored(const char* typed) {
    return engine::replword(q(typed), QStringLiteral("x"), core::variableMarker, 3);
}

struct TranslateCase {
    const char* term;
    const char* expected;
};

TEST(Translate, UserNotationBecomesEngineSyntax) {
    const std::vector<TranslateCase> cases{
        // logical words count only between single blanks
        {"x und y oder z", "x and y or z"},
        {"a and b or c xor d eqv e imp f", "a and b or c xor d eqv e imp f"},
        {"xund", "xund"},
        // so do the operator words mod and div
        {"(a+1) mod b und c div 3", "(a+1) mod b and c div 3"},
        {"xmod 2", "xmod2"},
        // the prefix word nicht (not) needs a blank behind it and no name character before it
        {"x > 0 und nicht x > 1", "x>0 and nicht x>1"},
        {"(nicht a) oder not b", "(nicht a) or not b"},
        {"nicht(a)", "nicht(a)"},
        {"anicht b", "anichtb"},
        // Teachers capitalise, and German nouns are capitalised anyway: the words are found
        // regardless of case, as the engine finds names.
        {"a UND b Or c", "a and b or c"},
        {"Nicht x > 0", "nicht x>0"},
        {"MAX(1,5; 2) + Min(1;2)", "MAX(1.5,2)+Min(1,2)"},
        // decimal comma, semicolons only inside the six list functions
        {"1,5*2", "1.5*2"},
        {"max(1,5; 2)", "max(1.5,2)"},
        {"wenn(x > 0; 1,5; -2)", "wenn(x>0,1.5,-2)"},
        {"min(1;2)+iif(a;b;c)+log(8; 2)+exp(3; 2)", "min(1,2)+iif(a,b,c)+log(8,2)+exp(3,2)"},
        {"max(1;2)+(1;2)", "max(1,2)+(1,2)"}, // every copy of the group changes
        {"a;b", "a;b"},
        {"g(1,5; 2)", "g(1.5;2)"},
        {"max(1;2", "max(1;2"}, // unclosed: left for the engine to report
        // brackets and characters without meaning
        {"{[a]+b}", "((a)+b)"},
        {"2 # ~ \"3§$´`°", "23"},
        {"   ", ""},
        // the stripe pattern, in any case
        {"2*Fill", "2*((Sgn(Sin(pi/dichte*_x/sw))+1)/2)"},
        // apostrophes without a known function
        {"g'(x)", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(engine::translate(q(c.term), false, QStringList{}), q(c.expected)) << c.term;
}

// The words keep the variable apart from its neighbours, and where the user's blank stood
// between the variable and a name or number, a "*" does: glued, "a x" would make a parameter a_x.
TEST(Translate, VariableMarkerBecomesRunningVariable) {
    const std::vector<TranslateCase> cases{
        {"x^2 und 1,5 > 0", "_x^2 and 1.5>0"},
        {"2x + sin(x)", "2_x+sin(_x)"},
        {"max(x; 1,5)", "max(_x,1.5)"},
        {"x mod 2 + 7 div x", "_x mod 2+7 div _x"},
        {"nicht x > 0", "nicht _x>0"},
        {"a x", "a*_x"},
        {"x x", "_x*_x"},
        {"x 2", "_x*2"},
        {"x (x+1)", "_x*(_x+1)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(engine::translate(stored(c.term), false, QStringList{}), q(c.expected)) << c.term;
}

struct DerivativeCase {
    const char* term;
    QStringList names;
    bool noderiv;
    const char* expected;
};

TEST(Translate, DerivativesOfLineFunctions) {
    const QStringList f{QStringLiteral("f")};
    const std::vector<DerivativeCase> cases{
        {"f'(3)", f, false, "((f((3)+sw)-f((3)))/sw)"},
        {"f''(_x)", f, false, "((f((_x)+sw)-2f((_x))+f((_x)-sw))/sw^2)"},
        {"f'(2*_x)+f'(2*_x)", f, false,
         "((f((2*_x)+sw)-f((2*_x)))/sw)+((f((2*_x)+sw)-f((2*_x)))/sw)"},
        {"f'(1)*f''(2)", f, false, "((f((1)+sw)-f((1)))/sw)*((f((2)+sw)-2f((2))+f((2)-sw))/sw^2)"},
        {"f'(3)", f, true, ""},
        {"f(3)", f, true, "f(3)"},
        {"g'(3)", f, false, ""},
        {"F'(3)", f, false, ""}, // names are compared as stored
        {"f'3", f, false, ""},
        // a line name that ends another name must not take its derivative apart
        {"gf'(2)", {QStringLiteral("f"), QStringLiteral("gf")}, false, "((gf((2)+sw)-gf((2)))/sw)"},
        {"2f'(2)", f, false, "2((f((2)+sw)-f((2)))/sw)"},
        // empty line names are skipped
        {"h'(1)", {QString(), QStringLiteral("h")}, false, "((h((1)+sw)-h((1)))/sw)"},
        // a derivative inside the argument of another one is expanded too
        {"f'(f'(1))", f, false,
         "((f((((f((1)+sw)-f((1)))/sw))+sw)-f((((f((1)+sw)-f((1)))/sw))))/sw)"},
        {"g'(f'(1))",
         {QStringLiteral("f"), QStringLiteral("g")},
         false,
         "((g((((f((1)+sw)-f((1)))/sw))+sw)-g((((f((1)+sw)-f((1)))/sw))))/sw)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(engine::translate(q(c.term), c.noderiv, c.names), q(c.expected)) << c.term;
}

TEST(Translate, DeeplyNestedDerivativesGiveUpInsteadOfExploding) {
    QString term;
    for (int i = 0; i < 40; ++i)
        term += QStringLiteral("f''(");
    term += QLatin1Char('1');
    term += QString(40, QLatin1Char(')'));
    EXPECT_EQ(engine::translate(term, false, QStringList{QStringLiteral("f")}), QString());
}

TEST(Translate, UsesTheNamesOfTheLinesInUse) {
    core::State state;
    state.lines[0].name = QStringLiteral("f");
    state.lines[1].name = QStringLiteral("g");
    state.linesInUse = 1;
    EXPECT_EQ(engine::translate(q("f'(3)"), false, state), q("((f((3)+sw)-f((3)))/sw)"));
    EXPECT_EQ(engine::translate(q("g'(3)"), false, state), QString());
    state.linesInUse = 2;
    EXPECT_EQ(engine::translate(q("g'(3)"), false, state), q("((g((3)+sw)-g((3)))/sw)"));
}

struct FlagsCase {
    int pos;
    const char* text;
    int len;
    int expected;
};

TEST(WholeWords, Wordflags) {
    const std::vector<FlagsCase> cases{
        {2, " x ", 1, 0},  {2, "ax ", 1, 1},  {3, "a1x ", 1, 1},    {4, "a12x", 1, 1},
        {3, "21x", 1, 0},  {3, "+1x", 1, 0},  {1, "x2", 1, 2},      {1, "x'", 1, 2},
        {1, "x(", 1, 2},   {1, "xA", 1, 2},   {1, "x)", 1, 0},      {1, "x_", 1, 0},
        {2, "_x", 1, 0},   {2, "Ax", 1, 1},   {2, "axb", 1, 3},     {1, "x", 1, 0},
        {2, "(ab)", 2, 0}, {2, "(ab1", 2, 2}, {5, "sin(ab)", 2, 0}, {2, "\u00e4x", 1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(engine::wordflags(c.pos, q(c.text), c.len), c.expected)
            << c.text << " at " << c.pos;
}

struct ReplCase {
    const char* text;
    const char* word;
    const char* replacement;
    int mask;
    const char* expected;
};

TEST(WholeWords, Replword) {
    const std::vector<ReplCase> cases{
        {"exp(x)+x2+ax+x'", "x", " !_x! ", 3, "exp( !_x! )+x2+ax+x'"},
        {"x", "x", " !_x! ", 3, "!_x!"},
        {"x*x", "x", "t", 3, "t*t"},
        {"  a + b  ", "a", "c", 3, "c + b"},
        {"a+a", "a", "aa", 3, "aa+aa"}, // the replacement holds the word: no second pass
        {"x2+ax", "x", "y", 1, "y2+ax"},
        {"x2+ax", "x", "y", 0, "y2+ay"},
        {"abc", "", "y", 3, "abc"},
        {"", "x", "y", 3, ""},
        {"a1*a", "a", "b", 3, "a1*b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(engine::replword(q(c.text), q(c.word), q(c.replacement), c.mask), q(c.expected))
            << c.text;
    // The term check marks its variable as the engine matches names, regardless of case.
    EXPECT_EQ(engine::replword(q("X*x+Xa+aX"), q("x"), q("t"), 3, Qt::CaseInsensitive),
              q("t*t+Xa+aX"));
    EXPECT_EQ(engine::replword(q("X*x"), q("x"), q("t"), 3), q("X*t"));
}

// Which neighbours make a part of a name is the wordflags table's business; here the search
// goes on past a part and stops at the ends of the text.
TEST(WholeWords, Hasword) {
    EXPECT_TRUE(engine::hasword(q("x2+x"), q("x")));
    EXPECT_FALSE(engine::hasword(q("ax"), q("x")));
    EXPECT_FALSE(engine::hasword(QString(), q("x")));
    EXPECT_FALSE(engine::hasword(q("abc"), QString()));
}

TEST(WholeWords, Callgroup) {
    struct Case {
        const char* text;
        int pos;
        const char* expected;
    };
    const std::vector<Case> cases{
        {"f(a(b)c)+d", 1, "(a(b)c)"},
        {"f(a(b", 1, ""},
        {"(a)(b)", 2, "(b)"},
        {"f(a)", 0, "(a)"},
        {"f(a)", 10, ""},
        {"a)(b)", 1, "(b)"},
        {"", 1, ""},
        {"max(1;(2))", 1, "(1;(2))"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(engine::callgroup(q(c.text), c.pos), q(c.expected)) << c.text;
}

} // namespace
