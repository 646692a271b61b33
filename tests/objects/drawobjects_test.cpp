// The additional lines and points as the redraw draws them over the graphs: on a recording
// surface and in the pixels of a rendered picture.

#include "core/state.h"
#include "engine/enginedefs.h"
#include "engine/linedefs.h"
#include "graph/plotter.h"
#include "graph/recordingsurface.h"
#include "graph/redraw.h"
#include "graph/renderer.h"
#include "graph/scale.h"
#include "plotfixture.h"

#include "support/qtapp.h"
#include "support/qtext.h"
#include "support/recorded.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace {

using testsupport::Kind;
using testsupport::ofKind;

[[maybe_unused]] const bool application = testsupport::useApplication<QGuiApplication>();

class ObjectsDrawn : public PlotFixture {
protected:
    std::vector<testsupport::Op> record() {
        graph::drawBackground(state, plotter, surface);
        surface.clear();
        graph::drawLines(state, plotter, surface);
        return surface.ops();
    }
    graph::Plotter plotter;
    graph::RecordingSurface surface;
};

TEST_F(ObjectsDrawn, LinesInTheirColourAndStyle) {
    state.extraLinesText = q("c=255:x=2:0\r\nc=255:y=x");
    const auto lines = ofKind(record(), Kind::LineTo);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points, (std::vector<QPoint>{{480, 600}, {480, 0}}));
    EXPECT_EQ(lines[0].pen, (graph::Pen{1, 255, 0}));
    EXPECT_EQ(lines[1].points, (std::vector<QPoint>{{0, 600}, {800, 0}}));
    EXPECT_EQ(lines[1].pen, (graph::Pen{1, 255, 2}));
    // Hidden by the menu's mark.
    state.extraLinesShown = false;
    EXPECT_TRUE(ofKind(record(), Kind::LineTo).empty());
}

TEST_F(ObjectsDrawn, PointsWithDiscRingAndNamesAboveThem) {
    state.pointsText = q("P(2;3)\r\n°A(1;1)\r\nx_1^2(-2;-3):255:0:30");
    const auto ops = record();
    const auto discs = ofKind(ops, Kind::Disc);
    ASSERT_EQ(discs.size(), 2u);
    EXPECT_EQ(discs[0].points[0], QPoint(480, 210));
    EXPECT_EQ(discs[0].fill, 0u);
    EXPECT_EQ(discs[1].fill, 255u);
    const auto rings = ofKind(ops, Kind::Ring);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0].radius, 5);

    const auto texts = ofKind(ops, Kind::Text);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0].text, q("P"));
    EXPECT_EQ(texts[0].points[0], QPoint(480, 180)); // 30 pixels above the point
    EXPECT_EQ(texts[0].font.pixelHeight, state.graphOptions.thirdFontSize);
    EXPECT_EQ(texts[1].text, q("A"));
    // x, then 1 half a font size (7,5 pixels) lower, then 2 as much higher again.
    const QPoint x = texts[2].points[0];
    EXPECT_EQ(texts[2].text, q("x"));
    EXPECT_EQ(x, QPoint(320, 360));
    EXPECT_EQ(texts[2].textColour, 255u);
    EXPECT_EQ(texts[3].text, q("1"));
    EXPECT_EQ(texts[3].points[0].y(), x.y() + 8);
    EXPECT_GT(texts[3].points[0].x(), x.x());
    EXPECT_EQ(texts[4].text, q("2"));
    EXPECT_EQ(texts[4].points[0].y(), x.y());
    EXPECT_GT(texts[4].points[0].x(), texts[3].points[0].x());
}

TEST_F(ObjectsDrawn, StayVectorObjectsInTheSvg) {
    state.extraLinesText = q("c=255:x=2:1");
    state.pointsText = q("P(2;3):16711680:0:30");
    const QString svg = QString::fromUtf8(graph::renderSvg(state, QSize(800, 600)));
    EXPECT_TRUE(svg.contains(q("#ff0000"))) << "the red line";
    EXPECT_TRUE(svg.contains(q("stroke-dasharray"))) << "dashed";
    EXPECT_TRUE(svg.contains(q("#0000ff"))) << "the blue disc and name";
    EXPECT_TRUE(svg.contains(q(">P<"))) << "the name as text";
}

bool isRed(QRgb p) {
    return qRed(p) > 200 && qGreen(p) < 100 && qBlue(p) < 100;
}
bool isBlack(QRgb p) {
    return qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60;
}

TEST_F(ObjectsDrawn, ShowInThePicture) {
    state.graphOptions.gridShown = false;
    state.graphOptions.axesShown = false;
    state.graphOptions.labelsShown = false;
    state.graphOptions.axisNamesShown = false;
    state.extraLinesText = q("c=255:x=2:0\r\nc=255:y=x:0");
    state.pointsText = q("P(2;3)\r\n°A(-5;5)");
    const QImage image = graph::renderImage(state, QSize(800, 600));
    ASSERT_FALSE(image.isNull());
    // The vertical line at column 480, the diagonal through the middle.
    for (int row : {20, 100, 500})
        EXPECT_TRUE(isRed(image.pixel(480, row))) << row;
    EXPECT_TRUE(isRed(image.pixel(200, 450)));
    // The disc at (2;3) and its name above it; the ring is hollow.
    EXPECT_TRUE(isBlack(image.pixel(479, 209)));
    int nameDark = 0;
    for (int r = 180; r < 198; ++r)
        for (int c = 480; c < 495; ++c)
            nameDark += isBlack(image.pixel(c, r));
    EXPECT_GT(nameDark, 5);
    EXPECT_FALSE(isBlack(image.pixel(199, 149)));
    int ring = 0;
    for (int d = -6; d <= 6; ++d)
        ring += isBlack(image.pixel(200 + d, 150)) ? 1 : 0;
    EXPECT_GE(ring, 2);
}

} // namespace
