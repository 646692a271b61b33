#include "calc/terminalcalc.h"
#include "core/version.h"
#include "support/printing.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

QString q(const char* s) {
    return QString::fromUtf8(s);
}

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
                  {"-1e308*10", "-inf"},
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
                  {"1 < 2 oder 2 < 1", "1"},
                  {"nicht (1 > 2)", "1"},
                  {"[1 + 2] * {2}", "6"},
                  {"sw", "0.0001"},
                  {"7 \\ 0", "Error 15: Ganzzahldivision durch 0 (mit \\ oder DIV) "},
                  {"wurzel(-1)", "Error 17: Ungültiger Wert unter der Wurzel"},
                  {"2+", "Error 9: Ungültiger Term"},
                  {"(1+2", "Error 2: Fehlerhafte Klammersetzung"},
                  {"3", "3"}, // no error left over from the lines before
              });
}

TEST(TerminalCalc, SelfCallingFunctionIsAnErrorNotACrash) {
    calc::TerminalCalc calc;
    EXPECT_EQ(calc.processLine(q("r(x) = r(x) + 1")), q("ok"));
    EXPECT_TRUE(calc.processLine(q("r(1)")).startsWith(q("Error 1: "))) << "self call";
    EXPECT_EQ(calc.processLine(q("1+1")), q("2"));
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

TEST(TerminalCalc, RealProgram) {
    QByteArray input;
    QByteArray expected;
    for (const auto& s : acceptance) {
        input += s.input;
        input += '\n';
        expected += s.output;
        expected += '\n';
    }
    input += "\nq\n   \n";
    expected += "\nError 3: Undefined variable: q\n";
    expected += "Error 9: Ungültiger Term\n"; // UTF-8 on the way out

    const auto runProgram = [](const QStringList& args, const QByteArray& in, int& exitCode,
                               QByteArray& err) {
        QProcess p;
        p.start(QStringLiteral(KURVATUR_CALC_BINARY), args);
        EXPECT_TRUE(p.waitForStarted(10000));
        p.write(in);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(30000));
        exitCode = p.exitCode();
        err = p.readAllStandardError();
        return p.readAllStandardOutput();
    };

    int exitCode = -1;
    QByteArray err;
    EXPECT_EQ(runProgram({}, input, exitCode, err), expected);
    EXPECT_EQ(exitCode, 0);

    EXPECT_EQ(runProgram({QStringLiteral("--deg")}, "sin(90)", exitCode, err), "1\n");
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(runProgram({QStringLiteral("--grad")}, "sin(100)\n", exitCode, err), "1\n");
    EXPECT_EQ(runProgram({QStringLiteral("--raw")}, "max(1.5, 2)\n1,5\n", exitCode, err),
              "2\nError 9: Ungültiger Term\n");

    EXPECT_EQ(runProgram({QStringLiteral("--bogus")}, "1\n", exitCode, err), QByteArray());
    EXPECT_EQ(exitCode, 2);
    EXPECT_TRUE(err.contains("kurvatur-calc")) << err.constData();
}

// Help and version need nothing from the environment: it holds PATH and nothing else.
TEST(TerminalCalc, HelpAndVersionWithAnEmptyEnvironment) {
    struct Case {
        const char* argument;
        QByteArray outStart;
    };
    const std::vector<Case> cases{{"--help", "Aufruf: kurvatur-calc"},
                                  {"-h", "Aufruf: kurvatur-calc"},
                                  {"--version", core::versionLine().toUtf8() + '\n'}};
    for (const Case& c : cases) {
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KURVATUR_CALC_BINARY), {QString::fromUtf8(c.argument)});
        ASSERT_TRUE(p.waitForFinished(30000)) << c.argument;
        EXPECT_EQ(p.exitCode(), 0) << c.argument;
        const QByteArray out = p.readAllStandardOutput();
        EXPECT_TRUE(out.startsWith(c.outStart)) << c.argument << ": " << out.constData();
        EXPECT_TRUE(p.readAllStandardError().isEmpty()) << c.argument;
    }
}

} // namespace
