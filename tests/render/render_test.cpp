// Rendering from the command line: what it prints, the files it writes and how it refuses.

#include "core/rounding.h"
#include "mainwin/render.h"

#include "support/qtapp.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <ostream>

namespace {

[[maybe_unused]] const bool application = testsupport::useApplication<QGuiApplication>();

struct Outcome {
    int code = -1;
    QString out;
    QString err;
    QStringList outLines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

Outcome run(const QStringList& arguments) {
    Outcome result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.code = mainwin::render(arguments, out, err);
    out.flush();
    err.flush();
    return result;
}

// The colour of line 0, also where antialiasing blends it with white.
bool isLineBlue(QRgb p) {
    return qBlue(p) > 200 && qRed(p) < 140 && qGreen(p) < 140;
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(CommandLine, ParabolaWithParameter) {
    const QString file = path(QStringLiteral("f.png"));
    const Outcome r =
        run({QStringLiteral("--render"), file, QStringLiteral("--size"), QStringLiteral("400x400"),
             QStringLiteral("--term"), QStringLiteral("f(x) = a*x^2"), QStringLiteral("--set"),
             QStringLiteral("a=0,5")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.outLines(),
              QStringList({QStringLiteral("Ok."), QStringLiteral("line\t0\tf(x) = a*x^2"),
                           QStringLiteral("param\tuf = untere Grenze für Integralfunktion in "
                                          "f\t0\t0\t-10\t10"),
                           // one sample per pixel column, the parameter shows one more
                           QStringLiteral("param\tanzf\t13\t401\t2\t1002"),
                           QStringLiteral("param\ta\t28\t0.5\t-10\t10")}));
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    const QImage image(file);
    ASSERT_EQ(image.size(), QSize(400, 400));
    // x and y from -10 to 10 on 400 pixels: 20 pixels per unit.
    const auto rowAt = [](double column) {
        const double x = -10 + column / 20;
        return 200 - 0.5 * x * x * 20;
    };
    int shown = 0;
    for (int c = 2; c < 398; ++c) {
        const int row = core::round32(rowAt(c));
        if (row < 2 || row > 397) continue;
        bool found = false;
        for (int dr = -2; dr <= 2 && !found; ++dr)
            found = isLineBlue(image.pixel(c, row + dr));
        EXPECT_TRUE(found) << "column " << c << " row " << row;
        shown += found;
    }
    EXPECT_GT(shown, 150);
    int stray = 0;
    for (int r = 0; r < 400; ++r)
        for (int c = 0; c < 400; ++c) {
            if (!isLineBlue(image.pixel(c, r))) continue;
            bool near = false;
            for (int dc = -3; dc <= 3 && !near; ++dc)
                near = std::abs(rowAt(c + dc) - r) <= 3;
            stray += !near;
        }
    EXPECT_EQ(stray, 0);
}

// A line of colour 0 within two pixels above or below the point.
bool blueNear(const QImage& image, int column, int row) {
    for (int dr = -2; dr <= 2; ++dr) {
        const int r = row + dr;
        if (r >= 0 && r < image.height() && isLineBlue(image.pixel(column, r))) return true;
    }
    return false;
}

TEST_F(CommandLine, SineWrittenWithABlankIsTheSine) {
    const QString file = path(QStringLiteral("sin.png"));
    const Outcome r =
        run({QStringLiteral("--render"), file, QStringLiteral("--size"), QStringLiteral("400x400"),
             QStringLiteral("--range"), QStringLiteral("x=-4:4"), QStringLiteral("--range"),
             QStringLiteral("y=-2:2"), QStringLiteral("--term"), QStringLiteral("f(x) = sin x")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.outLines().value(0), QStringLiteral("Ok."));
    EXPECT_EQ(r.outLines().value(1), QStringLiteral("line\t0\tf(x) = sin x"));
    EXPECT_EQ(r.outLines().size(), 4) << r.out.toStdString(); // uf and anzf only

    const QImage image(file);
    ASSERT_EQ(image.size(), QSize(400, 400));
    // 50 pixels per unit across, 100 up, the origin in the middle.
    for (int c = 2; c < 398; c += 4) {
        const double x = (c - 200) / 50.0;
        const int row = core::round32(200 - 100 * std::sin(x));
        EXPECT_TRUE(blueNear(image, c, row)) << "column " << c;
    }
    EXPECT_TRUE(blueNear(image, core::round32(200 + 50 * std::numbers::pi / 2), 100));
    EXPECT_FALSE(blueNear(image, 120, 100)); // no constant line at y = 1
}

TEST_F(CommandLine, TermsAsANewUserTypesThem) {
    struct Case {
        QString term;
        QString status;
        QString line;
        QStringList freeParams; // slots 28 and above
    };
    const Case cases[] = {
        {QStringLiteral("f(x) = sin x"),
         QStringLiteral("Ok."),
         QStringLiteral("line\t0\tf(x) = sin x"),
         {}},
        {QStringLiteral("wurzel 2"),
         QStringLiteral("Ok."),
         QStringLiteral("line\t0\tf(x) = wurzel 2"),
         {}},
        {QStringLiteral("f(x) = a sin x"),
         QStringLiteral("Ok."),
         QStringLiteral("line\t0\tf(x) = a sin x"),
         {QStringLiteral("param\ta\t28\t1\t-10\t10")}},
        {QStringLiteral("f(x) = 2 UND x"),
         QStringLiteral("Ok."),
         QStringLiteral("line\t0\tf(x) = 2 UND x"),
         {}},
        {QStringLiteral("f(x) = x MOD 3"),
         QStringLiteral("Ok."),
         QStringLiteral("line\t0\tf(x) = x MOD 3"),
         {}},
        {QStringLiteral("f=x^2"), QStringLiteral("Ok."), QStringLiteral("line\t0\tf(x) = x^2"), {}},
        {QStringLiteral("f(x) = sin + 1"),
         QStringLiteral("f(_x): Argument für sin fehlt!"),
         QStringLiteral("line\t0\tf(x) = sin + 1"),
         {}},
        {QStringLiteral("f(x) = g'(x)"),
         QStringLiteral("f(_x): Nicht definierte Funktion: g"),
         QStringLiteral("line\t0\tf(x) = g'(x)"),
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.term.toStdString());
        const Outcome r = run({QStringLiteral("--render"), path(QStringLiteral("t.png")),
                               QStringLiteral("--size"), QStringLiteral("100x100"),
                               QStringLiteral("--term"), c.term});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.outLines().value(0), c.status);
        EXPECT_EQ(r.outLines().value(1), c.line);
        QStringList freeParams;
        for (const QString& l : r.outLines())
            if (l.startsWith(QStringLiteral("param\t")) &&
                l.section(QLatin1Char('\t'), 2, 2).toInt() >= 28)
                freeParams << l;
        EXPECT_EQ(freeParams, c.freeParams);
    }
}

TEST_F(CommandLine, SvgIsWrittenAtTheDefaultSize) {
    const QString file = path(QStringLiteral("bild.svg"));
    const Outcome r = run({QStringLiteral("--render=") + file, QStringLiteral("--term=sin(x)")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // An unnamed line gets the first free name.
    EXPECT_EQ(r.outLines().value(1), QStringLiteral("line\t0\tf(x) = sin(x)"));
    EXPECT_EQ(r.outLines().value(3), QStringLiteral("param\tanzf\t13\t801\t2\t1002"));
    QFile svg(file);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray data = svg.readAll();
    EXPECT_TRUE(data.contains("<svg"));
    EXPECT_TRUE(data.contains("viewBox=\"0 0 800 600\""));
    EXPECT_TRUE(data.contains("#0000ff")); // the line in the colour of line 0
}

TEST_F(CommandLine, ValuesTypedIntoParameterWindows) {
    struct Case {
        QString set;
        QString expected; // the parameter's output line
    };
    const Case cases[] = {
        {QStringLiteral("a=2,5"), QStringLiteral("param\ta\t28\t2.5\t-10\t10")},
        {QStringLiteral("A=2.5"), QStringLiteral("param\ta\t28\t2.5\t-10\t10")},
        {QStringLiteral("a=3*pi"), QStringLiteral("param\ta\t28\t9.42477796076938\t-10\t10")},
        // beyond the bounds: accepted, the slider stops at its end
        {QStringLiteral("a=25"), QStringLiteral("param\ta\t28\t25\t-10\t10")},
        {QStringLiteral("anzf=1"), QStringLiteral("param\tanzf\t13\t2\t2\t1002")},
        {QStringLiteral("anzf=99,7"), QStringLiteral("param\tanzf\t13\t99\t2\t1002")},
        {QStringLiteral("uf=3"),
         QStringLiteral("param\tuf = untere Grenze für Integralfunktion in f\t0\t3\t-10\t10")},
        // a lower bound outside the x range goes to its middle
        {QStringLiteral("uf=30"),
         QStringLiteral("param\tuf = untere Grenze für Integralfunktion in f\t0\t0\t-10\t10")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set.toStdString());
        const Outcome r =
            run({QStringLiteral("--render"), path(QStringLiteral("p.png")),
                 QStringLiteral("--size"), QStringLiteral("200x100"), QStringLiteral("--term"),
                 QStringLiteral("f(x) = a*x^2"), QStringLiteral("--set"), c.set});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.outLines().contains(c.expected)) << r.out.toStdString();
    }
}

TEST_F(CommandLine, RangesAsTheRangeWindowAppliesThem) {
    struct Case {
        QStringList ranges;
        QString boundsLine; // the lower bound's slot shows the x range
        QString err;
    };
    const QString prefix =
        QStringLiteral("param\tuf = untere Grenze für Integralfunktion in f\t0\t");
    const Case cases[] = {
        {{QStringLiteral("x=-1,5:2,5")}, prefix + QStringLiteral("0\t-1.5\t2.5"), {}},
        {{QStringLiteral("x=5:-5")}, prefix + QStringLiteral("0\t-5\t5"), {}},
        {{QStringLiteral("x=2*pi:0")}, prefix + QStringLiteral("0\t0\t6.28318530717959"), {}},
        {{QStringLiteral("x=3:3")},
         prefix + QStringLiteral("0\t-10\t10"),
         QStringLiteral("x-Bereich: Grenzen müssen verschieden sein!\n")},
        {{QStringLiteral("y=1:1")},
         prefix + QStringLiteral("0\t-10\t10"),
         QStringLiteral("y-Bereich: Grenzen müssen verschieden sein!\n")},
        {{QStringLiteral("x=a+:2")},
         prefix + QStringLiteral("0\t-10\t10"),
         QStringLiteral("x-Bereich: UntereGrenze unverständlich!\n")},
        {{QStringLiteral("t=0:")},
         prefix + QStringLiteral("0\t-10\t10"),
         QStringLiteral("Kurven- parameter- bereich: Obere Grenze unverständlich!\n")},
        // the lower bound of the integral function moves into a range without it
        {{QStringLiteral("x=1:5")}, prefix + QStringLiteral("3\t1\t5"), {}},
        // a refused row does not keep the next one from being applied
        {{QStringLiteral("x=1:1"), QStringLiteral("x=1:5")},
         prefix + QStringLiteral("3\t1\t5"),
         QStringLiteral("x-Bereich: Grenzen müssen verschieden sein!\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ranges.join(QLatin1Char(' ')).toStdString());
        QStringList arguments = {QStringLiteral("--render"), path(QStringLiteral("r.png")),
                                 QStringLiteral("--size"),   QStringLiteral("100x100"),
                                 QStringLiteral("--term"),   QStringLiteral("f(x) = x")};
        for (const QString& range : c.ranges)
            arguments << QStringLiteral("--range") << range;
        const Outcome r = run(arguments);
        ASSERT_EQ(r.code, 0);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.outLines().value(2), c.boundsLine);
    }
}

TEST_F(CommandLine, StatusAndMessagesOfTheRun) {
    // A wrong line: the status line says why, the picture is still written.
    Outcome r =
        run({QStringLiteral("--render"), path(QStringLiteral("s.png")), QStringLiteral("--term"),
             QStringLiteral("f(x) = x^2"), QStringLiteral("--term"), QStringLiteral("f(x) = x")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.outLines().value(0), QStringLiteral("Funktionsname f wird bereits verwendet!"));
    EXPECT_EQ(r.outLines().value(2), QStringLiteral("line\t1\tf(x) = x"));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("s.png"))));

    // More parameters than slots: the message box goes to standard error.
    QString many;
    for (int i = 0; i < 34; ++i)
        many += QStringLiteral("+p") + QString::number(i);
    r = run({QStringLiteral("--render"), path(QStringLiteral("m.png")), QStringLiteral("--term"),
             QStringLiteral("f(x) = x") + many});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Kurvatur 2: Fehler: mehr als 60 Parameter!\n")))
        << r.err.toStdString();
}

TEST_F(CommandLine, TermsTooCostlyToDrawAreCutAndSaySo) {
    // Thirteen lines that each call themselves 2^12 times at x = 10, with 20000 samples each:
    // minutes of work without a budget.
    const QString file = path(QStringLiteral("schwer.png"));
    QStringList arguments = {QStringLiteral("--render"), file};
    QString names;
    for (const char name : QByteArrayLiteral("fghijklmnopqr")) {
        const QString f = QString(QLatin1Char(name));
        arguments << QStringLiteral("--term")
                  << QStringLiteral("%1(x) = iif(x<1; 1; %1(x-1)+%1(x-1))").arg(f);
        names += (names.isEmpty() ? QString() : QStringLiteral(", ")) + f + QStringLiteral("(x)");
    }
    for (const char name : QByteArrayLiteral("fghijklmnopqr"))
        arguments << QStringLiteral("--set")
                  << QStringLiteral("anz%1=20000").arg(QLatin1Char(name));

    const auto begin = std::chrono::steady_clock::now();
    const Outcome r = run(arguments);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(60)); // generous
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.outLines().value(0),
              names + QStringLiteral(": Zeichnung abgebrochen, die Terme sind zu aufwendig."));
    EXPECT_TRUE(
        r.outLines().contains(QStringLiteral("param	anzr	25	20000	2	1002")))
        << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_FALSE(QImage(file).isNull());
}

TEST_F(CommandLine, WrongArgumentsGiveTheUsage) {
    const QString png = path(QStringLiteral("u.png"));
    const QStringList cases[] = {
        {},
        {QStringLiteral("--render")},
        {QStringLiteral("--render"), path(QStringLiteral("u.gif"))},
        {QStringLiteral("--render"), path(QStringLiteral("u"))},
        {QStringLiteral("--render"), png, QStringLiteral("--size"), QStringLiteral("0x10")},
        {QStringLiteral("--render"), png, QStringLiteral("--size"), QStringLiteral("400")},
        {QStringLiteral("--render"), png, QStringLiteral("--size"), QStringLiteral("20000x10")},
        {QStringLiteral("--render"), png, QStringLiteral("--size"), QStringLiteral("-4x10")},
        {QStringLiteral("--render"), png, QStringLiteral("--farbe"), QStringLiteral("rot")},
        {QStringLiteral("--render"), png, QStringLiteral("bild.png")},
        {QStringLiteral("--render"), png, QStringLiteral("--set"), QStringLiteral("a")},
        {QStringLiteral("--render"), png, QStringLiteral("--set"), QStringLiteral("=4")},
        {QStringLiteral("--render"), png, QStringLiteral("--range"), QStringLiteral("z=1:2")},
        {QStringLiteral("--render"), png, QStringLiteral("--range"), QStringLiteral("x=1")},
        {QStringLiteral("--render"), png, QStringLiteral("--term")},
        // a name that no parameter in use carries
        {QStringLiteral("--render"), png, QStringLiteral("--term"), QStringLiteral("x^2"),
         QStringLiteral("--set"), QStringLiteral("b=1")},
    };
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome r = run(arguments);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains(QStringLiteral("Aufruf: kurvatur --render")));
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(QFile::exists(png));
    }

    // Thirteen term lines are the most there are.
    QStringList arguments = {QStringLiteral("--render"), png};
    for (int i = 0; i < 13; ++i)
        arguments << QStringLiteral("--term") << QStringLiteral("x+") + QString::number(i);
    EXPECT_EQ(run(arguments).code, 0);
    arguments << QStringLiteral("--term") << QStringLiteral("x");
    EXPECT_EQ(run(arguments).code, 2);
}

TEST_F(CommandLine, UnwritableFile) {
    const QString file = path(QStringLiteral("fehlt/bild.png"));
    const Outcome r =
        run({QStringLiteral("--render"), file, QStringLiteral("--term"), QStringLiteral("x^2")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Die Datei \"") + file +
                         QStringLiteral("\" kann nicht geschrieben werden.\n"));
    EXPECT_EQ(r.outLines().value(0), QStringLiteral("Ok."));

    // A directory in the file's place.
    const QString svgDir = path(QStringLiteral("ordner.svg"));
    ASSERT_TRUE(QDir().mkpath(svgDir));
    EXPECT_EQ(run({QStringLiteral("--render"), svgDir}).code, 1);
}

} // namespace
