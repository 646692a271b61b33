// Rendering from the command line: what it prints, the files it writes and how it refuses.

#include "mainwin/render.h"

#include "support/pdfcontent.h"
#include "support/picture.h"
#include "support/qtapp.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace Qt::StringLiterals;

[[maybe_unused]] const bool application = testsupport::useApplication<QGuiApplication>();

// The output line of the lower bound of the integral function in f, up to its value.
const QString lowerBoundLine = u"param\tuf = untere Grenze für Integralfunktion in f\t0\t"_s;

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

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    // A run that renders into the file of that name in the temporary folder.
    Outcome render(const QString& file, const QStringList& options) {
        return run(QStringList{u"--render"_s, path(file)} + options);
    }
    QTemporaryDir dir;
};

TEST_F(CommandLine, DrawsTheTermWithItsValuesAndRanges) {
    struct Case {
        QStringList options;
        double (*rowAt)(double column); // where the line runs on 400 x 400 pixels
        QStringList out;
    };
    const Case cases[] = {
        {{u"--term"_s, u"f(x) = a*x^2"_s, u"--set"_s, u"a=0,5"_s},
         // x and y from -10 to 10: 20 pixels per unit.
         [](double c) { return 200 - 0.5 * std::pow(-10 + c / 20, 2) * 20; },
         {u"Ok."_s, u"line\t0\tf(x) = a*x^2"_s, lowerBoundLine + u"0\t-10\t10"_s,
          u"param\tanzf\t13\t401\t2\t1002"_s, // one sample per pixel column, one more shown
          u"param\ta\t28\t0.5\t-10\t10"_s}},
        // A function name with a blank before its argument.
        {{u"--range"_s, u"x=-4:4"_s, u"--range"_s, u"y=-2:2"_s, u"--term"_s, u"f(x) = sin x"_s},
         // 50 pixels per unit across, 100 up, the origin in the middle.
         [](double c) { return 200 - 100 * std::sin((c - 200) / 50); },
         {u"Ok."_s, u"line\t0\tf(x) = sin x"_s, lowerBoundLine + u"0\t-4\t4"_s,
          u"param\tanzf\t13\t401\t2\t1002"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.out.value(1).toStdString());
        const Outcome r = render(u"f.png"_s, QStringList{u"--size"_s, u"400x400"_s} + c.options);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.outLines(), c.out);
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        const QImage image(path(u"f.png"_s));
        ASSERT_EQ(image.size(), QSize(400, 400));
        EXPECT_GT(testsupport::expectOnlyTheLine(image, c.rowAt, 2), 150);
    }
}

// The smallest rectangle that holds every pixel of line colour 0.
QRect blueBox(const QImage& image) {
    QRect box;
    for (int r = 0; r < image.height(); ++r)
        for (int c = 0; c < image.width(); ++c)
            if (testsupport::isLineBlue(image.pixel(c, r))) box |= QRect(c, r, 1, 1);
    return box;
}

TEST_F(CommandLine, OneToOneDrawsACircleRoundAtAnySize) {
    const QString sizes[] = {u"640x480"_s, u"300x500"_s, u"801x333"_s};
    for (const QString& size : sizes) {
        SCOPED_TRACE(size.toStdString());
        const Outcome r =
            render(u"kreis.png"_s, {u"--size"_s, size, u"--term"_s, u"x(t)=cos(t)"_s, u"--term"_s,
                                    u"y(t)=sin(t)"_s, u"--range"_s, u"t=0:2*pi"_s, u"--range"_s,
                                    u"x=-4:4"_s, u"--range"_s, u"y=-1:1"_s, u"--one-to-one"_s});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        const QRect box = blueBox(QImage(path(u"kreis.png"_s)));
        ASSERT_FALSE(box.isEmpty());
        const int across = size.section(u'x', 0, 0).toInt();
        EXPECT_NEAR(box.width(), across / 4, 3); // the diameter of 2 units of 8 across
        EXPECT_LE(std::abs(box.width() - box.height()), 1) << box.width() << " " << box.height();
    }
}

TEST_F(CommandLine, DrawsAdditionalLinesAndPoints) {
    // 400 x 400 pixels, x and y from -10 to 10: 20 pixels per unit.
    const Outcome r =
        render(u"o.png"_s, {u"--size"_s, u"400x400"_s, u"--line"_s, u"c=255:x=a:0"_s, u"--line"_s,
                            u"y=-x"_s, u"--set"_s, u"a=5"_s, u"--point"_s, u"P(2;3)"_s,
                            u"--point"_s, u"(-4;4):65280:0:30"_s});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(r.outLines().value(0), u"Ok."_s);
    EXPECT_TRUE(r.outLines().contains(u"param\ta\t28\t5\t-10\t10"_s)) << r.out.toStdString();
    const QImage image(path(u"o.png"_s));
    const auto red = [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 100 && qBlue(p) < 100; };
    const auto green = [](QRgb p) { return qGreen(p) > 200 && qRed(p) < 100 && qBlue(p) < 100; };
    const auto black = [](QRgb p) { return qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60; };
    // x = a at a = 5: column 300, red from top to bottom.
    for (int row : {5, 150, 390})
        EXPECT_TRUE(red(image.pixel(300, row))) << row;
    // y = -x in black through (-7;7), the discs at (2;3) and (-4;4).
    EXPECT_TRUE(black(image.pixel(60, 60)));
    EXPECT_TRUE(black(image.pixel(239, 139)));
    EXPECT_TRUE(green(image.pixel(119, 119)));
    // Wrong forms are refused with the usage.
    EXPECT_EQ(render(u"o.png"_s, {u"--line"_s, u" "_s}).code, 2);
}

TEST_F(CommandLine, SvgIsWrittenAtTheDefaultSize) {
    const QString file = path(u"bild.svg"_s);
    const Outcome r = run({u"--render="_s + file, u"--term=sin(x)"_s});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.outLines().value(3), u"param\tanzf\t13\t801\t2\t1002"_s);
    QFile svg(file);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray data = svg.readAll();
    EXPECT_TRUE(data.contains("<svg"));
    EXPECT_TRUE(data.contains("viewBox=\"0 0 800 600\""));
    EXPECT_TRUE(data.contains("#0000ff")); // the line in the colour of line 0
}

TEST_F(CommandLine, PdfIsWrittenAsLinesAndText) {
    const QString file = path(u"bild.PDF"_s);
    const Outcome r = render(u"bild.PDF"_s, {u"--size"_s, u"400x300"_s, u"--term"_s, u"x^2"_s});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.outLines().value(0), u"Ok."_s);
    const testsupport::PdfContent pdf = testsupport::pdfFile(file);
    std::string why;
    EXPECT_TRUE(testsupport::holdsVectorPicture(pdf, why)) << why;
    EXPECT_EQ(testsupport::pdfPageSize(pdf), QSizeF(300, 225)) << "400 x 300 pixels at 96 dpi";

    EXPECT_EQ(render(u"fehlt/bild.pdf"_s, {}).code, 1);
}

TEST_F(CommandLine, ValuesAndRangesAsTheirWindowsApplyThem) {
    struct Case {
        QStringList options; // after the term f(x) = a*x^2
        QString printed;     // a parameter's output line
        QString err = {};
    };
    const QString& uf = lowerBoundLine; // its bounds are the x range
    const QString differ = u": Grenzen müssen verschieden sein!\n"_s;
    const Case cases[] = {
        {{u"--set"_s, u"a=2,5"_s}, u"param\ta\t28\t2.5\t-10\t10"_s},
        {{u"--set"_s, u"A=2.5"_s}, u"param\ta\t28\t2.5\t-10\t10"_s},
        {{u"--set"_s, u"a=3*pi"_s}, u"param\ta\t28\t9.42477796076938\t-10\t10"_s},
        {{u"--set"_s, u"anzf=99,7"_s}, u"param\tanzf\t13\t99\t2\t1002"_s},
        {{u"--set"_s, u"uf=30"_s}, uf + u"0\t-10\t10"_s}, // outside the x range: to its middle
        // characters without meaning vanish, as in the range window
        {{u"--range"_s, u"x= -2,5 : 2#,5°"_s}, uf + u"0\t-2.5\t2.5"_s},
        {{u"--range"_s, u"x=2*pi:0"_s}, uf + u"0\t0\t6.28318530717959"_s},
        {{u"--range"_s, u"x=3:3"_s}, uf + u"0\t-10\t10"_s, u"x-Bereich"_s + differ},
        {{u"--range"_s, u"t=0:"_s},
         uf + u"0\t-10\t10"_s,
         u"Kurven- parameter- bereich: Obere Grenze unverständlich!\n"_s},
        // the lower bound of the integral function moves into a range without it
        {{u"--range"_s, u"x=1:5"_s}, uf + u"3\t1\t5"_s},
        // a refused row does not keep the next one from being applied
        {{u"--range"_s, u"x=1:1"_s, u"--range"_s, u"x=1:5"_s},
         uf + u"3\t1\t5"_s,
         u"x-Bereich"_s + differ},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(QLatin1Char(' ')).toStdString());
        const Outcome r = render(
            u"p.png"_s,
            QStringList{u"--size"_s, u"200x100"_s, u"--term"_s, u"f(x) = a*x^2"_s} + c.options);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.outLines().contains(c.printed)) << r.out.toStdString();
        EXPECT_EQ(r.err, c.err);
    }
}

TEST_F(CommandLine, StatusAndMessagesOfTheRun) {
    // A wrong line: the status line says why, the picture is still written.
    Outcome r = render(u"s.png"_s, {u"--term"_s, u"f(x) = x^2"_s, u"--term"_s, u"f(x) = x"_s});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.outLines().value(0), u"Funktionsname f wird bereits verwendet!"_s);
    EXPECT_EQ(r.outLines().value(2), u"line\t1\tf(x) = x"_s);
    EXPECT_TRUE(QFile::exists(path(u"s.png"_s)));

    // More parameters than slots: the message box goes to standard error.
    QString many = u"f(x) = x"_s;
    for (int i = 0; i < 34; ++i)
        many += u"+p"_s + QString::number(i);
    r = render(u"m.png"_s, {u"--term"_s, many});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.contains(u"Kurvatur 2: Fehler: mehr als 60 Parameter!\n"_s))
        << r.err.toStdString();
}

TEST_F(CommandLine, TermsTooCostlyToDrawAreCutAndSaySo) {
    // 2^12 calls at x = 10 and 20000 samples: far beyond the line's budget.
    const Outcome r = render(u"schwer.png"_s, {u"--term"_s, u"f(x) = iif(x<1; 1; f(x-1)+f(x-1))"_s,
                                               u"--set"_s, u"anzf=20000"_s});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.outLines().value(0), u"f(x): Zeichnung abgebrochen, der Term ist zu aufwendig."_s);
    EXPECT_TRUE(r.outLines().contains(u"param\tanzf\t13\t20000\t2\t1002"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_FALSE(QImage(path(u"schwer.png"_s)).isNull());
}

TEST_F(CommandLine, WrongArgumentsGiveTheUsage) {
    const QString png = path(u"u.png"_s);
    const QStringList cases[] = {
        {},
        {u"--render"_s},
        {u"--render"_s, path(u"u.gif"_s)},
        {u"--render"_s, path(u"u"_s)},
        {u"--render"_s, png, u"--size"_s, u"0x10"_s},
        {u"--render"_s, png, u"--size"_s, u"20000x10"_s},
        {u"--render"_s, png, u"--farbe"_s, u"rot"_s},
        {u"--render"_s, png, u"bild.png"_s},
        {u"--render"_s, png, u"--set"_s, u"a"_s},
        {u"--render"_s, png, u"--set"_s, u"=4"_s},
        {u"--render"_s, png, u"--range"_s, u"z=1:2"_s},
        {u"--render"_s, png, u"--range"_s, u"x=1"_s},
        {u"--render"_s, png, u"--term"_s},
        // an entry without its collection, an option twice or without its value
        {u"--render"_s, png, u"--entry"_s, u"1"_s},
        {u"--render"_s, png, u"--collection"_s, u"a.kur"_s, u"--collection"_s, u"b.kur"_s},
        {u"--render"_s, png, u"--collection"_s, u"a.kur"_s, u"--entry"_s, u"1"_s, u"--entry=2"_s},
        {u"--render"_s, png, u"--collection="_s},
        {u"--render"_s, png, u"--collection"_s, u"a.kur"_s, u"--entry="_s},
        {u"--render"_s, png, u"--collection"_s},
        // a name that no parameter in use carries
        {u"--render"_s, png, u"--term"_s, u"x^2"_s, u"--set"_s, u"b=1"_s},
    };
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome r = run(arguments);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains(u"Aufruf: kurvatur --render"_s));
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(QFile::exists(png));
    }

    // Thirteen term lines are the most there are.
    QStringList arguments = {u"--render"_s, png};
    for (int i = 0; i < 13; ++i)
        arguments << u"--term"_s << u"x+"_s + QString::number(i);
    EXPECT_EQ(run(arguments).code, 0);
    arguments << u"--term"_s << u"x"_s;
    EXPECT_EQ(run(arguments).code, 2);
}

TEST_F(CommandLine, UnwritableFile) {
    const QString file = path(u"fehlt/bild.png"_s);
    const Outcome r = run({u"--render"_s, file, u"--term"_s, u"x^2"_s});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, u"Die Datei \""_s + file + u"\" kann nicht geschrieben werden.\n"_s);
    EXPECT_EQ(r.outLines().value(0), u"Ok."_s);

    // A directory in the file's place.
    const QString svgDir = path(u"ordner.svg"_s);
    ASSERT_TRUE(QDir().mkpath(svgDir));
    EXPECT_EQ(run({u"--render"_s, svgDir}).code, 1);
}

} // namespace
