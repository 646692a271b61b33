// The drawn picture: pixels of a rendered image, the background cache, the PNG and SVG files.

#include "core/state.h"
#include "engine/linedefs.h"
#include "graph/renderer.h"
#include "graph/scale.h"

#include "support/pdfcontent.h"
#include "support/picture.h"
#include "support/qtapp.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace {

[[maybe_unused]] const bool application = testsupport::useApplication<QGuiApplication>();

class Rendering : public ::testing::Test {
protected:
    void SetUp() override {
        engine::resetengine(state);
        state.busyFlag = 0;
        state.lineColours[13] = core::rgb(210, 210, 210); // the grid's default brightness
        state.scale.plotW = size.width() * 15.0;
        state.scale.plotH = size.height() * 15.0;
        for (auto& line : state.lines)
            line.sampleCount = size.width();
        graph::setscale(state);
    }

    void setLine(int i, const QString& translated) {
        state.lines[i].name = QStringLiteral("f");
        state.lineSlots[i].translated = translated;
        state.lastLine = std::max(state.lastLine, i);
        graph::setscale(state);
    }

    double rowOf(double y) const {
        return (state.scale.plotH - (y - state.ranges.yMin) * state.scale.ymu) / 15;
    }

    QSize size{400, 300};
    core::State state;
};

TEST_F(Rendering, ParabolaLiesWhereItMust) {
    ASSERT_EQ(state.lineColours[0], core::rgb(0, 0, 255));
    // Width 0 goes straight into the image's pixels, width 3 through the painter; at twice the
    // density the picture keeps its logical coordinates.
    for (const auto& [width, ratio] : {std::pair{0, 1.0}, {3, 1.0}, {0, 2.0}}) {
        SCOPED_TRACE(testing::Message() << "width " << width << " ratio " << ratio);
        state.lineSlots[0].width = width;
        setLine(0, QStringLiteral("_x^2/10-5"));
        graph::GraphRenderer renderer;
        const QImage& image = renderer.render(state, size, ratio);
        ASSERT_EQ(image.size(), size * ratio);
        EXPECT_EQ(image.devicePixelRatio(), ratio);
        const auto parabolaRow = [&](double column) {
            const double x = -10 + column / ratio * 20.0 / size.width();
            return ratio * rowOf(x * x / 10 - 5);
        };
        EXPECT_EQ(testsupport::expectOnlyTheLine(image, parabolaRow, 1), image.width() - 4);
    }
}

TEST_F(Rendering, LinesFarOutsideTheImageAreClipped) {
    // Samples held far above and below the plot, lines along its edges and beyond them.
    const char* const terms[] = {"1/_x",    "10^(10^_x)", "tan(_x)",
                                 "-10.001", "1000*_x",    "100*sin(_x)"};
    state.lines[5].sampleCount = 3; // long segments
    for (int i = 0; i < 6; ++i)
        setLine(i, QString::fromUtf8(terms[i]));
    for (qreal ratio : {1.0, 1.5}) {
        const QImage image = graph::renderImage(state, size, ratio);
        EXPECT_FALSE(image.isNull());
    }
}

TEST_F(Rendering, CachedBackgroundGivesTheSamePicture) {
    const int a = state.engine.defineVariable("a=1");
    setLine(0, QStringLiteral("a*sin(_x)"));
    setLine(1, QStringLiteral("_x/a"));
    graph::GraphRenderer renderer;

    EXPECT_TRUE(renderer.render(state, size) == graph::renderImage(state, size));
    EXPECT_TRUE(state.scale.backgroundValid);

    // A parameter moves: the cached background, new lines, also when an earlier frame is still
    // held elsewhere.
    QImage held;
    for (double value : {2.5, -1.0, 0.3, 4.0, 2.5}) {
        state.engine.setVariable(a, value);
        EXPECT_TRUE(renderer.render(state, size) == graph::renderImage(state, size)) << value;
        if (value < 0) held = renderer.image();
    }
    state.engine.setVariable(a, -1.0);
    EXPECT_TRUE(held == graph::renderImage(state, size)); // later frames left it alone
    graph::GraphRenderer fine;                            // lines two device pixels wide
    for (double value : {2.5, -1.0, 0.3}) {
        state.engine.setVariable(a, value);
        EXPECT_TRUE(fine.render(state, size, 2.0) == graph::renderImage(state, size, 2.0)) << value;
    }

    // The range changes: setscale drops the cache and the background is drawn anew.
    state.ranges.xMin = -3;
    state.ranges.yMax = 4;
    graph::setscale(state);
    EXPECT_FALSE(state.scale.backgroundValid);
    EXPECT_TRUE(renderer.render(state, size) == graph::renderImage(state, size));

    // While busy the old picture stays.
    const QImage before = renderer.image();
    state.busyFlag = 1;
    state.engine.setVariable(a, -4);
    EXPECT_TRUE(renderer.render(state, size) == before);
}

TEST_F(Rendering, MovingFramesMatchFreshPictures) {
    // Each frame starts from the background again and restores only what the lines of the
    // frame before covered: whatever moved (thin and wide lines, discs, dashed additional lines,
    // points and their names) must leave nothing behind, at whole and broken pixel ratios and
    // at sizes that end inside a block of restored pixels.
    const int a = state.engine.defineVariable("a=1");
    setLine(0, QStringLiteral("a*sin(_x)"));
    state.lineSlots[1].width = 3;
    setLine(1, QStringLiteral("_x/a"));
    state.lines[2].lineType = 3;
    setLine(2, QStringLiteral("a*_x^2/10"));
    state.extraLinesText = QStringLiteral("c=255:y=a*x:2\r\nx=a");
    state.pointsText = QStringLiteral("P(a;1)\r\nQ(1;a)");
    for (const auto& [size, ratio] :
         {std::pair{QSize(400, 300), 1.0}, {QSize(203, 157), 2.0}, {QSize(400, 300), 1.5}}) {
        const graph::PlotSizeScope plotSize(state, size);
        graph::GraphRenderer renderer;
        for (double value : {2.5, -1.0, 0.3, 4.0, 2.5, -7.0}) {
            state.engine.setVariable(a, value);
            EXPECT_TRUE(renderer.render(state, size, ratio) ==
                        graph::renderImage(state, size, ratio))
                << value << " at ratio " << ratio;
        }
    }
}

TEST_F(Rendering, FilesAreWritten) {
    setLine(0, QStringLiteral("sin(_x)"));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const double plotW = state.scale.plotW;

    const QString png = dir.filePath(QStringLiteral("bild.png"));
    ASSERT_TRUE(graph::writePng(state, png, QSize(320, 200)));
    const QImage read(png);
    EXPECT_EQ(read.size(), QSize(320, 200));
    EXPECT_EQ(state.scale.plotW, plotW); // the plot area keeps its own size

    const QString svg = dir.filePath(QStringLiteral("bild.svg"));
    ASSERT_TRUE(graph::writeSvg(state, svg, QSize(320, 200)));
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    EXPECT_TRUE(data.contains("polyline") || data.contains("<path"));
    EXPECT_TRUE(data.contains(">2<")); // a number label stays text

    EXPECT_FALSE(graph::writePng(state, png, QSize(0, 10)));
    EXPECT_EQ(QImage(png).size(), QSize(320, 200)); // a failed write leaves the old file
}

TEST_F(Rendering, FittedPictureKeepsItsAspectOnAnyPage) {
    setLine(0, QStringLiteral("sin(_x)"));
    const QColor page(90, 90, 90);
    struct Case {
        QSize target;
        QRect picture; // where the white plot area must land
    };
    // A plot area of 400 x 300 pixels.
    const Case cases[] = {
        {{400, 300}, {0, 0, 400, 300}},    // its own size
        {{800, 800}, {0, 100, 800, 600}},  // a portrait page: full width, centred up and down
        {{1000, 300}, {300, 0, 400, 300}}, // a landscape strip: full height, centred across
        {{200, 600}, {0, 225, 200, 150}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.target.width() << "x" << c.target.height());
        QImage image(c.target, QImage::Format_ARGB32_Premultiplied);
        image.fill(page);
        {
            QPainter painter(&image);
            graph::drawFitted(state, painter, QRectF(QPointF(0, 0), QSizeF(c.target)), size);
        }
        QRect drawn;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != page) drawn |= QRect(x, y, 1, 1);
        EXPECT_EQ(drawn, c.picture);
    }
    // The screen's plot area keeps its own size.
    EXPECT_EQ(state.scale.plotW, size.width() * 15.0);
}

TEST_F(Rendering, PdfHoldsLinesAndText) {
    setLine(0, QStringLiteral("sin(_x)"));
    const testsupport::PdfContent pdf = testsupport::pdfContent(graph::renderPdf(state, size));
    std::string why;
    EXPECT_TRUE(testsupport::holdsVectorPicture(pdf, why)) << why;
    EXPECT_EQ(testsupport::pdfPageSize(pdf), QSizeF(300, 225)) << "400 x 300 pixels at 96 dpi";
    EXPECT_TRUE(graph::renderPdf(state, QSize(0, 10)).isEmpty());
}

} // namespace
