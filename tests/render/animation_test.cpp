// Saving animations: the values a parameter steps through, the "--animate" texts, the GIF and the
// numbered PNG files written from the command line, and a cancelled or failed export.

#include "mainwin/animation.h"
#include "mainwin/gifwriter.h"
#include "mainwin/render.h"

#include "core/state.h"
#include "core/twips.h"
#include "session/plotarea.h"
#include "session/startup.h"

#include "support/program.h"
#include "support/qtapp.h"
#include "support/termlines.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTextStream>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace Qt::StringLiterals;
using mainwin::AnimatedParam;

[[maybe_unused]] const bool application = testsupport::useApplication<QGuiApplication>();

TEST(AnimationValues, RunFromTheFirstTowardsTheSecondNumber) {
    struct Case {
        AnimatedParam param;
        std::vector<double> values;
    };
    const Case cases[] = {
        {{28, 0, 2, 0.5}, {0, 0.5, 1, 1.5, 2}},
        {{28, 2, 0, 0.5}, {2, 1.5, 1, 0.5, 0}},  // downwards
        {{28, 2, 0, -0.5}, {2, 1.5, 1, 0.5, 0}}, // the step's sign does not matter
        {{28, 0, 1, 0.3}, {0, 0.3, 0.6, 0.9}},   // the end only where a step lands
        {{28, -0.3, 0.3, 0.1}, {-0.3, -0.2, -0.1, 0, 0.1, 0.2, 0.3}}, // no binary noise
        {{28, 1, 1, 0.5}, {1}},
        {{28, 0, 1, 0}, {}},
        {{28, 0, 1, 1e-9}, {}}, // far too many frames
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.param.from);
        EXPECT_EQ(mainwin::animationValues(c.param), c.values);
    }
}

TEST(AnimationValues, NumberedFilesCarryEnoughDigits) {
    EXPECT_EQ(mainwin::numberedFramePath(u"/tmp/bild.png"_s, 0, 5), u"/tmp/bild_001.png"_s);
    EXPECT_EQ(mainwin::numberedFramePath(u"bild.PNG"_s, 41, 100), u"bild_042.PNG"_s);
    EXPECT_EQ(mainwin::numberedFramePath(u"a.b/bild.png"_s, 9, 1200), u"a.b/bild_0010.png"_s);
}

TEST(GifPalette, KeepsTheDrawingColoursExactly) {
    const std::vector<QRgb> exact{qRgb(255, 255, 255), qRgb(0, 0, 255), qRgb(255, 0, 0),
                                  qRgb(0, 128, 0),     qRgb(1, 128, 0), qRgb(210, 210, 210)};
    const std::vector<QRgb> palette = mainwin::gifPalette(exact);
    ASSERT_EQ(palette.size(), 256u);
    const mainwin::PaletteIndex index(palette);
    // Two colours one step apart share a cell of the table and still come through apart.
    for (const QRgb c : exact)
        EXPECT_EQ(palette[index(c)], c) << std::hex << c;
    // Any other colour goes to a near one.
    const QRgb blend = qRgb(128, 128, 255);
    const QRgb near = palette[index(blend)];
    EXPECT_LE(std::abs(qRed(near) - 128) + std::abs(qGreen(near) - 128) +
                  std::abs(qBlue(near) - 255),
              60);
}

// The program as the command line starts it, with lines applied.
struct Scene {
    explicit Scene(std::initializer_list<const char*> lines = {}) {
        state.messages = std::make_shared<platform::StreamMessages>(err);
        session::StartupSteps steps;
        steps.readSettings = false;
        steps.prepareWindows = [this, lines] {
            session::setPlotArea(state, core::pixelsToTwips(200, state.tppX),
                                 core::pixelsToTwips(150, state.tppY));
            if (lines.size() > 0) testsupport::typeLines(state, lines);
        };
        session::startup(state, core::defaultTwipsPerPixel, core::defaultTwipsPerPixel, steps);
    }
    QString errText;
    QTextStream err{&errText};
    core::State state;
};

class Animation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(Animation, ReadsTheAnimateTexts) {
    Scene scene{"f(x) = a*x^2 + b"};
    struct Case {
        const char* text;
        bool ok;
        const char* problem; // beginning of the reason
    };
    const Case cases[] = {
        {"a=0:2:0,5", true, ""},
        {"A = -1 : 2*pi : pi/4", true, ""},
        {"b=0:1", false, nullptr}, // not NAME=FROM:TO:STEP
        {"=0:1:1", false, nullptr},
        {"q=0:1:1", false, "Unbekannter Parameter: q"},
        {"a=x y:1:1", false, "Ungültiger Anfangswert für a"},
        {"a=0::1", false, "Ungültiger Endwert für a"},
        {"a=0:1:0", false, "Die Schrittweite für a darf nicht 0 sein."},
        {"a=0:1:0,00001", false, "Zu viele Bilder für a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto text = mainwin::splitAnimateText(QString::fromUtf8(c.text));
        ASSERT_EQ(text.has_value(), c.problem != nullptr);
        if (!text) continue;
        QString problem;
        const auto param = mainwin::readAnimatedParam(scene.state, *text, problem);
        EXPECT_EQ(param.has_value(), c.ok);
        if (c.ok)
            EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
        else
            EXPECT_TRUE(problem.startsWith(QString::fromUtf8(c.problem))) << problem.toStdString();
    }
}

TEST_F(Animation, CancelledOrFailedLeavesTheOldFile) {
    Scene scene{"f(x) = a*x^2"};
    const int a = mainwin::slotOfName(scene.state, u"a"_s);
    ASSERT_GE(a, 28);
    scene.state.params[a].value = 0.25;
    const QString gif = path(u"alt.gif"_s);
    {
        QFile old(gif);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("alt");
    }
    for (const QString& target : {gif, path(u"bild.png"_s)}) {
        SCOPED_TRACE(target.toStdString());
        std::vector<int> told;
        const auto outcome = mainwin::writeAnimation(
            scene.state, {target, QSize(200, 150), 10, {{a, 0, 2, 0.5}}}, [&told](int done, int) {
                told.push_back(done);
                return done < 2;
            });
        EXPECT_EQ(outcome.result, mainwin::AnimationResult::Cancelled);
        EXPECT_EQ(told, (std::vector<int>{0, 1, 2}));
        EXPECT_TRUE(outcome.files.isEmpty());
        EXPECT_EQ(scene.state.params[a].value, 0.25); // the value from before
    }
    QFile old(gif);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "alt");
    // Nothing else: no frames, no folder of half-made frames.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{u"alt.gif"_s});

    const auto unwritable = mainwin::writeAnimation(
        scene.state, {path(u"fehlt/a.gif"_s), QSize(200, 150), 10, {{a, 0, 2, 0.5}}});
    EXPECT_EQ(unwritable.result, mainwin::AnimationResult::Failed);
    EXPECT_TRUE(unwritable.problem.contains(u"kann nicht geschrieben werden"_s));
}

// The frames of a GIF as giflib reads them: the count and each delay.
struct GifFrames {
    int count = -1;
    std::vector<int> delays;
};

GifFrames readGif(const QString& file) {
    GifFrames frames;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(QFile::encodeName(file).constData(), &error);
    if (!gif) return frames;
    if (DGifSlurp(gif) == GIF_OK) {
        frames.count = gif->ImageCount;
        for (int i = 0; i < gif->ImageCount; ++i) {
            GraphicsControlBlock control{};
            DGifSavedExtensionToGCB(gif, i, &control);
            frames.delays.push_back(control.DelayTime);
        }
    }
    DGifCloseFile(gif, &error);
    return frames;
}

// Every frame as a viewer shows it.
std::vector<QImage> shownFrames(const QString& file) {
    std::vector<QImage> frames;
    QImageReader reader(file);
    QImage image;
    while (reader.read(&image))
        frames.push_back(image.convertToFormat(QImage::Format_RGB32));
    return frames;
}

struct RenderRun {
    int code = -1;
    QString out;
    QString err;
};

RenderRun render(const QStringList& arguments) {
    RenderRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = mainwin::render(arguments, out, err);
    return r;
}

TEST_F(Animation, WritesAGifFromTheCommandLine) {
    const QString gif = path(u"parabel.gif"_s);
    const RenderRun r =
        render({u"--render"_s, gif, u"--size"_s, u"200x150"_s, u"--term"_s, u"f(x) = a*x^2"_s,
                u"--set"_s, u"a=-1"_s, u"--animate"_s, u"a=0:2:0,5"_s, u"--fps"_s, u"20"_s});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(u"frames\t5\n"_s)) << r.out.toStdString();
    // The value given stands again afterwards.
    EXPECT_TRUE(r.out.contains(u"param\ta\t28\t-1\t"_s)) << r.out.toStdString();
    const GifFrames read = readGif(gif);
    EXPECT_EQ(read.count, 5);
    EXPECT_EQ(read.delays, (std::vector<int>(5, 5))); // 20 frames a second

    const std::vector<QImage> frames = shownFrames(gif);
    ASSERT_EQ(frames.size(), 5u);
    for (std::size_t i = 1; i < frames.size(); ++i)
        EXPECT_NE(frames[i], frames[i - 1]) << "frame " << i;
    // The last frame is the picture for a = 2, with the line's colour kept exactly.
    const QString still = path(u"a2.png"_s);
    ASSERT_EQ(render({u"--render"_s, still, u"--size"_s, u"200x150"_s, u"--term"_s,
                      u"f(x) = a*x^2"_s, u"--set"_s, u"a=2"_s})
                  .code,
              0);
    const QImage expected = QImage(still).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), frames.back().size());
    int lineColoured = 0, kept = 0;
    const core::Colour colour = Scene{}.state.lineColours[0];
    const QRgb blue = qRgb(int(colour & 0xff), int((colour >> 8) & 0xff), int(colour >> 16));
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (expected.pixel(x, y) == blue) {
                ++lineColoured;
                kept += frames.back().pixel(x, y) == blue;
            }
    EXPECT_GT(lineColoured, 5);
    EXPECT_EQ(kept, lineColoured);
}

TEST_F(Animation, SeveralParametersMoveTogether) {
    const QString pngs = path(u"welle.png"_s);
    const RenderRun r =
        render({u"--render"_s, pngs, u"--size"_s, u"120x90"_s, u"--term"_s, u"f(x) = a*sin(b*x)"_s,
                u"--animate"_s, u"a=1:2:0,5"_s, u"--animate"_s, u"b=1:2:0,2"_s});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(u"frames\t6\n"_s)) << r.out.toStdString();
    QStringList expected;
    for (int i = 1; i <= 6; ++i)
        expected << u"welle_00%1.png"_s.arg(i);
    EXPECT_EQ(QDir(dir.path())
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
              expected);
    // a holds 2 from the third frame on while b still moves.
    EXPECT_NE(QImage(path(u"welle_005.png"_s)), QImage(path(u"welle_006.png"_s)));
    EXPECT_EQ(QImage(path(u"welle_001.png"_s)).size(), QSize(120, 90));
}

TEST_F(Animation, RefusesWrongArguments) {
    struct Case {
        QStringList arguments;
        int code;
        const char* err;
    };
    const QString gif = path(u"x.gif"_s);
    const QStringList term{u"--term"_s, u"f(x) = a*x"_s};
    const Case cases[] = {
        {QStringList{u"--render"_s, gif} + term, 2, "Eine GIF-Datei entsteht nur mit --animate"},
        {QStringList{u"--render"_s, path(u"x.svg"_s), u"--animate"_s, u"a=0:1:1"_s} + term, 2,
         "nicht .svg"},
        {QStringList{u"--render"_s, gif, u"--animate"_s, u"a=0:1"_s} + term, 2,
         "Erwartet NAME=VON:BIS:SCHRITT: a=0:1"},
        {QStringList{u"--render"_s, gif, u"--animate"_s, u"a=0:1:1"_s, u"--fps"_s, u"0"_s} + term,
         2, "Ungültige Bildrate"},
        {QStringList{u"--render"_s, path(u"fehlt/x.gif"_s), u"--animate"_s, u"a=0:1:1"_s} + term, 1,
         "kann nicht geschrieben werden"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const RenderRun r = render(c.arguments);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(gif));
}

TEST(AnimationProgram, WritesFiveFramesWithoutADisplay) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString gif = dir.filePath(u"out.gif"_s);
    const testsupport::Outcome r =
        testsupport::runKurvatur({u"--render"_s, gif, u"--size"_s, u"160x120"_s, u"--term"_s,
                                  u"f(x) = a*x^2"_s, u"--animate"_s, u"a=0:2:0,5"_s},
                                 testsupport::withoutDisplay(false));
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.code, 0) << r.err.constData();
    EXPECT_EQ(readGif(gif).count, 5);
    EXPECT_EQ(readGif(gif).delays, (std::vector<int>(5, 10)));
}

} // namespace
