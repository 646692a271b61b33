// Function names written without brackets, as the translation reads them.

#include "engine/calls.h"

#include "core/state.h"
#include "engine/translate.h"
#include "support/printing.h"
#include "support/qtext.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The engine text for a term typed in a line f(x) beside a line g, the x marked as the term
// check stores it.
QString translated(const char* typed) {
    const QString term = engine::replword(q(typed), QStringLiteral("x"), core::variableMarker, 3);
    return engine::translate(term, false, {QStringLiteral("f"), QStringLiteral("g")});
}

struct CallCase {
    const char* typed;
    const char* expected;
};

TEST(BlankCalls, OperandIsTheNextFactorAndNamesAreNotGluedTogether) {
    const std::vector<CallCase> cases{
        {"sin x", "sin(_x)"},
        {"Wurzel 2", "Wurzel(2)"},
        {"Betrag x - 1", "Betrag(_x)-1"},
        {"sin 1,5", "sin(1.5)"},
        {"ln 1E-3", "ln(1E-3)"},
        // glued factors belong to the operand, a blank or an operator ends it
        {"cos 2x", "cos(2_x)"},
        {"sin 2(x+1)", "sin(2(_x+1))"},
        {"sin 2 x", "sin(2)_x"},
        {"sin pi/2", "sin(pi)/2"},
        // with its power, factorial and sign
        {"sin x^2", "sin(_x^2)"},
        {"sin x^-1", "sin(_x^-1)"},
        {"sin 2^x^2", "sin(2^_x^2)"},
        {"sin x!", "sin(_x!)"},
        {"sin -x", "sin(-_x)"},
        {"sin - x", "sin-_x"}, // no operand: the term check refuses the bare name
        // a bracket after the blanks is the argument list, as without the blanks
        {"sin (x)^2", "sin(_x)^2"},
        {"sin [x]", "sin(_x)"},
        {"max (1; 2)", "max(1,2)"},
        {"Wenn (x > 0; x; -x)", "Wenn(_x>0,_x,-_x)"},
        // nested calls
        {"sin cos x", "sin(cos(_x))"},
        {"sin(cos x)", "sin(cos(_x))"},
        // the names of the function lines
        {"G x", "G(_x)"},
        {"2 g x + f 1", "2*g(_x)+f(1)"},
        // operator words around calls
        {"nicht sin x", "nicht sin(_x)"},
        {"sin x mod 2", "sin(_x) mod 2"},
        // Deleting the blanks must not glue a name to its neighbours: "a sin x" is no arc sine.
        {"a sin x", "a*sin(_x)"},
        {"3 sin x + 1", "3*sin(_x)+1"},
        {"(x+1) sin x", "(_x+1)*sin(_x)"},
        {"2sin x", "2sin(_x)"},
        {"asin x", "asin(_x)"},
        {"a f'(x)", "a*((f((_x)+sw)-f((_x)))/sw)"},
        // names that only begin like a function stay names
        {"sinus x", "sinus*_x"},
        {"sinx", "sinx"},
        // broken operands are left for the engine to report
        {"sin (x", "sin(_x"},
        {"sin x^", "sin(_x)^"},
        {"sin ^2", "sin^2"},
        {"sin ", "sin"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(translated(c.typed), q(c.expected)) << c.typed;
}

TEST(BlankCalls, WithoutTheVariableMarker) {
    // The calculator hands its terms over with the names as typed.
    EXPECT_EQ(engine::translate(q("sin x"), false, QStringList{}), q("sin(x)"));
    EXPECT_EQ(engine::translate(q("h t + 1"), false, {QStringLiteral("h")}), q("h(t)+1"));
}

TEST(BlankCalls, DeepOperandsGiveATextWithoutFailure) {
    const QString deep = QStringLiteral("sin ").repeated(1000) + QStringLiteral("x");
    EXPECT_FALSE(engine::translate(deep, false, QStringList{}).isEmpty());
    const QString powers =
        QStringLiteral("sin x") + QStringLiteral("^x").repeated(1000) + QStringLiteral(" + 1");
    EXPECT_FALSE(engine::translate(powers, false, QStringList{}).isEmpty());
}

struct UncalledCase {
    const char* text;
    QStringList expected;
};

TEST(BlankCalls, FunctionNamesWithoutArgumentAreFound) {
    const QStringList lines{QStringLiteral("f"), QString()};
    const std::vector<UncalledCase> cases{
        {"sin+1", {QStringLiteral("sin")}},
        {"2sin", {QStringLiteral("sin")}},
        {"_x*Wurzel+f", {QStringLiteral("Wurzel"), QStringLiteral("f")}},
        {"sin(1)+f(_x)+sinus+cost+e^2+pi+1E5+2e3+_x mod 2 and nicht a", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(engine::uncalledfunctions(q(c.text), lines), c.expected) << c.text;
}

} // namespace
