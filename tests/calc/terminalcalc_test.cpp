#include "calc/terminalcalc.h"
#include "core/version.h"
#include "support/printing.h"
#include "support/qtext.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

struct Step {
    const char* input;
    const char* output;
};

void run(calc::TerminalCalc& calc, const std::vector<Step>& steps) {
    for (const auto& s : steps)
        EXPECT_EQ(calc.processLine(q(s.input)), q(s.output)) << s.input;
}

// The forward difference of x^2 at 3 with the step 0.0001, as double arithmetic gives it.
constexpr const char* derivativeAt3 = "6.00010000001205";

const std::vector<Step> acceptance{
    {"wurzel(9)", "3"},
    {"log(8; 2)", "3"},
    {"exp(3; 2)", "8"},
    {"betrag(-2)", "2"},
    {"-2^2", "-4"},
    {"2^3^2", "512"},
    {"1/0", "Error 14: Division durch 0"},
    {"wenn(2>1; 5; 1/0)", "5"},
    {"f(x) = x^2", "ok"},
    {"f'(3)", derivativeAt3},
};

TEST(TerminalCalc, UserNotation) {
    calc::TerminalCalc calc;
    run(calc, acceptance);
    run(calc, {
                  {"", ""},
                  {"   ", "Error 9: Ungültiger Term"},
                  {"0,1 + 0,2", "0.3"},
                  {"pi", "3.14159265358979"},
                  {"10^20", "1e+20"},
                  {"1e308*10", "inf"},
                  {"q", "Error 3: Undefined variable: q"},
                  {"1+2\r", "3"},
                  {"a = 1,5", "1.5"},
                  {"a * 2", "3"},
                  {"a = a + 1", "2.5"},
                  {"g(x; y) = x*y + a", "ok"},
                  {"g(2; 3)", "8.5"},
                  {"g(2)", "Error 12: Ungültige Anzahl von Argumenten in g"},
                  {"h(3)", "Error 11: Nicht definierte Funktion: h"},
                  {"h'(3)", "Error 9: Ungültiger Term"}, // no such function: apostrophe left
                  {"k(x) = f''(x) + 1", "ok"},
                  {"betrag(k(5) - 3) < 0,001", "1"},
                  {"1 < 2 und 2 < 1", "0"},
                  {"sw", "0.0001"},
                  {"7 \\ 0", "Error 15: Ganzzahldivision durch 0 (mit \\ oder DIV) "},
                  {"2+", "Error 9: Ungültiger Term"},
                  {"r(x) = r(x) + 1", "ok"},
                  {"r(1)", "Error 1: Zu tief verschachtelte Funktionsaufrufe"}, // not a crash
                  {"3", "3"}, // no error left over from the lines before
              });
}

TEST(TerminalCalc, AngleUnits) {
    calc::TerminalCalc radians;
    run(radians, {{"sin(pi/2)", "1"}, {"arcsin(1)*2 = pi", "1"}});
    calc::TerminalCalc degrees(false, 2);
    run(degrees, {{"sin(90)", "1"}, {"arcsin(1)", "90"}, {"sinhyp(0)", "0"}});
    calc::TerminalCalc grads(false, 3);
    run(grads, {{"sin(100)", "1"}, {"arccos(0)", "100"}});
}

TEST(TerminalCalc, RawLinesGoToTheEngineAsTheyAre) {
    calc::TerminalCalc calc(true);
    run(calc, {
                  {"max(1.5, 2)", "2"},
                  {"log(8, 2)", "3"},
                  {"f(x, y) = x + y", "ok"},
                  {"f(1, 2)", "3"},
                  {"a = 2.5", "2.5"},
                  {"a*2", "5"},
                  {"[1+2]", "Error 9: Ungültiger Term"},
                  {"1 und 0", "Error 3: Undefined variable: und"},
                  {"f'(1)", "Error 9: Ungültiger Term"}, // no derivative expansion
                  {"", ""},
              });
}

// The program itself, with an environment that holds PATH and nothing else: help and version
// need nothing from it, and the answers come out in UTF-8 all the same.
TEST(TerminalCalc, RealProgram) {
    QByteArray input, expected;
    for (const auto& s : acceptance) {
        input += s.input + QByteArray("\n");
        expected += s.output + QByteArray("\n");
    }
    input += "\nq\n   \n";
    expected += "\nError 3: Undefined variable: q\nError 9: Ungültiger Term\n";

    struct Run {
        QStringList args;
        QByteArray in, out;
        bool outStartsWith; // out is only the start of the output
        int exitCode;
        const char* error; // a part of the error output; none: no error output
    };
    const Run runs[] = {
        {{}, input, expected, false, 0, nullptr},
        {{q("--deg")}, "sin(90)", "1\n", false, 0, nullptr},
        {{q("--raw")}, "max(1.5, 2)\n1,5\n", "2\nError 9: Ungültiger Term\n", false, 0, nullptr},
        {{q("--places"), q("3")}, "1/3\n2/3\n", "0.333\n0.667\n", false, 0, nullptr},
        {{q("--places"), q("0")},
         "2,5\n1/0\nq\n1e308*10\n",
         "2\nError: Division durch 0\nError: Syntax\nError: Overflow\n",
         false,
         0,
         nullptr},
        {{q("--places"), q("23")}, "1\n", "", false, 2, "--places"},
        {{q("--places")}, "1\n", "", false, 2, "--places"},
        {{q("--bogus")}, "1\n", "", false, 2, "kurvatur-calc"},
        {{q("--help")}, "", "Aufruf: kurvatur-calc", true, 0, nullptr},
        {{q("--version")}, "", core::versionLine().toUtf8() + '\n', true, 0, nullptr},
    };
    for (const Run& r : runs) {
        SCOPED_TRACE(r.args.join(QLatin1Char(' ')).toStdString());
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KURVATUR_CALC_BINARY), r.args);
        ASSERT_TRUE(p.waitForStarted(10000));
        p.write(r.in);
        p.closeWriteChannel();
        ASSERT_TRUE(p.waitForFinished(30000));
        const QByteArray out = p.readAllStandardOutput();
        EXPECT_EQ(r.outStartsWith ? out.left(r.out.size()) : out, r.out);
        EXPECT_EQ(p.exitCode(), r.exitCode);
        const QByteArray err = p.readAllStandardError();
        if (r.error)
            EXPECT_TRUE(err.contains(r.error)) << err.constData();
        else
            EXPECT_TRUE(err.isEmpty()) << err.constData();
    }
}

} // namespace
