// What the background and the function graphs draw, checked on a recording surface.

#include "core/colours.h"
#include "core/rounding.h"
#include "core/state.h"
#include "engine/linedefs.h"
#include "graph/drawingobjects.h"
#include "graph/functiongraph.h"
#include "graph/plotter.h"
#include "graph/recordingsurface.h"
#include "graph/redraw.h"
#include "graph/scale.h"
#include "support/printing.h"
#include "support/recorded.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Kind = graph::RecordingSurface::Kind;
using Op = graph::RecordingSurface::Op;

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        engine::resetengine(state);
        state.busyFlag = 0;
        setPlot(800, 600);
    }

    // A plot area of w x h pixels at 15 twips per pixel, with one sample per pixel column.
    void setPlot(int w, int h) {
        state.scale.plotW = w * 15.0;
        state.scale.plotH = h * 15.0;
        for (auto& line : state.lines)
            line.sampleCount = w;
        graph::setscale(state);
    }

    void setRange(double xMin, double xMax, double yMin, double yMax) {
        state.ranges.xMin = xMin;
        state.ranges.xMax = xMax;
        state.ranges.yMin = yMin;
        state.ranges.yMax = yMax;
        graph::setscale(state);
    }

    // Line i as a function line with an already translated term.
    void setLine(int i, const QString& translated, const QString& lower = {},
                 const QString& upper = {}) {
        state.lines[i].name = QStringLiteral("f");
        state.lines[i].kind = core::kindFunction;
        state.lines[i].lowerText = lower;
        state.lines[i].upperText = upper;
        state.lineSlots[i].translated = translated;
        state.lastLine = std::max(state.lastLine, i);
        state.linesInUse = state.lastLine + 1;
        graph::setscale(state);
    }

    // Only the lines, no background.
    std::vector<Op> drawLines() {
        surface.clear();
        graph::drawLines(state, plotter, surface);
        return surface.ops();
    }

    std::vector<Op> drawBackground() {
        surface.clear();
        graph::drawBackground(state, plotter, surface);
        return surface.ops();
    }

    // Pixel column of world x and row of world y.
    double column(double x) const { return (x - state.ranges.xMin) * state.scale.xmu / state.tppX; }
    double row(double y) const {
        return (state.scale.plotH - (y - state.ranges.yMin) * state.scale.ymu) / state.tppY;
    }

    // Pixel row of the x labels (after a drawn background).
    int xLabelRow() const {
        const int digitHeight = plotter.digitHeight[1];
        const double y0 = -state.ranges.yMin * state.scale.ymu;
        double height = (0 <= y0 && y0 <= state.scale.plotH) ? y0 - 30 : digitHeight;
        if (height < digitHeight) height = core::round32(digitHeight * 1.2 + y0);
        return core::round32((state.scale.plotH - height) / state.tppY);
    }

    core::State state;
    graph::Plotter plotter;
    graph::RecordingSurface surface;
};

using testsupport::expectInsideClipping;
using testsupport::ofKind;
using testsupport::segmentsAcross;

TEST_F(Drawing, PoleOfOneOverXIsNotJoined) {
    struct Case {
        int width, height, samples;
        double xMin, xMax;
    };
    const Case cases[] = {
        {800, 600, 499, -10, 10}, // the default sample count: neighbours of 0 just inside the band
        {800, 600, 800, -10, 10},   {800, 600, 500, -10, 10}, // a sample lands on 0 itself
        {1600, 900, 1600, -10, 10}, {301, 200, 301, -7.3, 6.1}, {640, 480, 1000, -10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " N=" << c.samples);
        setPlot(c.width, c.height);
        state.lines[0].sampleCount = c.samples;
        setRange(c.xMin, c.xMax, -10, 10);
        setLine(0, QStringLiteral("1/_x"), QStringLiteral("-5"), QStringLiteral("5"));
        // Refined, the branches come within a fraction of a pixel of the pole on either side.
        state.graphOptions.refineSampling = true;
        EXPECT_EQ(segmentsAcross(drawLines(), column(0) - 1, column(0) + 1), 0);
        state.graphOptions.refineSampling = false;
        const auto ops = drawLines();
        EXPECT_EQ(segmentsAcross(ops, column(0), column(0)), 0);
        // Both branches are drawn.
        int left = 0, right = 0;
        for (const Op& op : ofKind(ops, Kind::LineTo)) {
            if (op.points[1].x() < column(0)) ++left;
            if (op.points[0].x() > column(0)) ++right;
        }
        EXPECT_GT(left, 0);
        EXPECT_GT(right, 0);
        expectInsideClipping(ops, c.width, c.height);
    }
}

TEST_F(Drawing, SteepButContinuousLinesStayJoined) {
    // The pole test must not break a line that really runs through the whole plot between
    // two samples.
    setLine(0, QStringLiteral("1000*_x+12.5"));
    const auto ops = drawLines();
    EXPECT_EQ(segmentsAcross(ops, column(-0.0125), column(-0.0125)), 1);
}

TEST_F(Drawing, LineTypeDrawsDiscsBesideEachSample) {
    setPlot(400, 300);
    state.lines[2].lineType = 3;
    state.lines[2].slot = 5;
    setLine(2, QStringLiteral("_x/2"));
    const auto ops = drawLines();
    EXPECT_TRUE(ofKind(ops, Kind::LineTo).empty());
    EXPECT_TRUE(ofKind(ops, Kind::MoveTo).empty());
    const auto discs = ofKind(ops, Kind::Disc);
    ASSERT_EQ(discs.size(), 401u); // samples 0 ... N
    for (int k : {0, 1, 57, 200, 399, 400}) {
        const Op& d = discs[std::size_t(k)];
        const double x = -10 + k * (20.0 / 400);
        EXPECT_EQ(d.radius, 3);
        EXPECT_EQ(d.fill, state.lineColours[5]);
        // One pixel right of and below the sample's pixel (one sample per pixel column).
        EXPECT_EQ(d.points[0], QPoint(k + 1, core::round32(row(x / 2) + 1))) << k;
    }
}

TEST_F(Drawing, LinesUseThePenOfTheirSlot) {
    state.lineSlots[4].width = 2;
    state.lineSlots[6].width = 1;
    state.lineSlots[6].widthOverride = 4;
    state.lines[1].slot = 4;
    state.lines[3].slot = 6;
    setLine(1, QStringLiteral("_x"));
    setLine(3, QStringLiteral("-_x"));
    // The pens of the drawn segments, each once, in the order of the lines.
    const auto pens = [this] {
        std::vector<graph::Pen> used;
        for (const Op& op : ofKind(drawLines(), Kind::LineTo))
            if (std::find(used.begin(), used.end(), op.pen) == used.end()) used.push_back(op.pen);
        return used;
    };
    EXPECT_EQ(pens(),
              (std::vector<graph::Pen>{{2, state.lineColours[4]}, {4, state.lineColours[6]}}));

    // A new colour reaches the pen at the next redraw; the override wins, also when 0.
    core::setcolour(state, 4, core::rgb(1, 2, 3));
    state.lineSlots[6].widthOverride = 0;
    EXPECT_EQ(pens(),
              (std::vector<graph::Pen>{{2, core::rgb(1, 2, 3)}, {0, state.lineColours[6]}}));
    EXPECT_EQ(state.storedColours[4], core::rgb(1, 2, 3));
}

TEST_F(Drawing, HiddenOrEmptyLinesDrawNothing) {
    setLine(0, QStringLiteral("_x"));
    state.lines[0].drawn = false;
    setLine(1, QString());
    setLine(2, QStringLiteral("_x"));
    state.lines[2].kind = core::kindCurvePart;
    EXPECT_TRUE(drawLines().empty());

    // A line beyond the last term line is not drawn either.
    state.lineSlots[5].translated = QStringLiteral("_x");
    EXPECT_TRUE(drawLines().empty());
}

TEST_F(Drawing, DrawnWithinTheIntervalWhereTheTermIsDefined) {
    const int a = state.engine.defineVariable("a");
    ASSERT_GE(a, 0);
    struct Case {
        const char *term, *lower, *upper;
        double from, to; // the drawn x range; nothing is drawn when from lies above to
        double a = 0;
    };
    const Case cases[] = {
        {"_x/2", "0", "2", 0, 2},
        {"_x/2", "2", "0", 0, 2}, // written the other way round
        {"_x/2", " 0 ", "2", 0, 2},
        {"_x/2", "0,5", "1.5", 0.5, 1.5}, // a decimal comma
        {"_x/2", "-100", "100", -10, 10}, // held at the range's edges
        {"_x/2", "", "3", -10, 3},
        {"_x/2", "unbekannt", "3", -10, 3}, // does not evaluate
        {"_x/2", "1", "2+", 1, 10},
        // Values beyond the plot are held at the clipping band.
        {"sqrt(-_x^2)", "", "", 0, 0},
        {"10^(10^_x)", "", "", -10, 10},
        {"ln(_x)", "", "", 0, 10},
        {"0*10^(10^_x)", "", "", -10, 2.5},
        {"sqrt(_x)", "", "", 0, 10},
        {"1/0", "", "", 1, -1},
        {"_x^_x^_x^_x", "", "", -1, 10}, // at -1 and from 0 on
        // A pole wherever the parameter puts it.
        {"1/(_x-a)", "", "", -10, 10, -3.3},
        {"1/(_x-a)", "", "", -10, 10, 0},
        {"1/(_x-a)", "", "", -10, 10, 0.025},
        {"1/(_x-a)", "", "", -10, 10, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.term << " [" << c.lower << ";" << c.upper << "] a = " << c.a);
        state.engine.setVariable(a, c.a);
        setLine(0, QString::fromUtf8(c.term), QString::fromUtf8(c.lower),
                QString::fromUtf8(c.upper));
        const auto ops = drawLines();
        EXPECT_EQ(state.engine.error(), 0);
        if (c.from > c.to) {
            EXPECT_TRUE(ops.empty());
            continue;
        }
        expectInsideClipping(ops, 800, 600);
        // One sample per pixel column: the nearest samples to the bounds.
        const auto [lo, hi] = testsupport::columnSpan(testsupport::drawnPixels(ops));
        EXPECT_NEAR(lo, column(c.from), 1.0);
        EXPECT_NEAR(hi, column(c.to), 1.0);
        EXPECT_TRUE(ofKind(ops, Kind::LineTo).empty() || c.from < c.to);
        EXPECT_EQ(segmentsAcross(ops, column(c.a), column(c.a)), 0);
    }
}

TEST_F(Drawing, BrokenSampleSettingsNeitherHangNorCrash) {
    setLine(0, QStringLiteral("sin(_x)"));
    for (int n : {0, -5, 1, 2'000'000'000}) {
        SCOPED_TRACE(n);
        state.lines[0].sampleCount = n;
        graph::setscale(state);
        expectInsideClipping(drawLines(), 800, 600);
    }
    state.lines[0].sampleCount = 800;

    setRange(3, 3, 1, 1); // no span at all: the range is repaired first
    expectInsideClipping(drawLines(), 800, 600);

    state.lineSlots[0].stepWidth = std::nan(""); // a step width that was never set
    EXPECT_TRUE(drawLines().empty());
    state.lineSlots[0].stepWidth = 0;
    EXPECT_TRUE(drawLines().empty());

    setRange(-10, 10, -10, 10);
    state.lineSlots[0].translated = QStringLiteral("sin(");
    EXPECT_TRUE(drawLines().empty());
    EXPECT_EQ(state.engine.error(), 0);
}

// ---- background ----

TEST_F(Drawing, GridFollowsTheAdaptiveStep) {
    state.scale.xGridStep = 1;
    state.scale.xLinesMin = 5;
    state.scale.xLinesMax = 20;
    setRange(-50, 50, -10, 10);
    std::vector<int> columns;
    int rows = 0;
    for (const Op& op : ofKind(drawBackground(), Kind::LineTo)) {
        if (!(op.pen == plotter.objects.gridPen)) continue;
        if (op.points[0].x() != op.points[1].x()) {
            ++rows;
            continue;
        }
        columns.push_back(op.points[0].x());
        EXPECT_EQ(op.points[0].y(), 0); // the whole height
        EXPECT_EQ(op.points[1].y(), 600);
    }
    // Step 1 on a width of 100 with 20 lines at most: a line every 4 units, from -48 to the
    // first one at or beyond the right edge.
    ASSERT_EQ(columns.size(), 26u);
    for (std::size_t k = 0; k < columns.size(); ++k)
        EXPECT_EQ(columns[k], core::round16(column(-48 + 4.0 * double(k)))) << k;
    // y: 0.5 on a height of 20 gives 40 lines, within 10 ... 40.
    EXPECT_EQ(rows, 41);
}

// The number labels, split into those along the x axis (one row) and the rest.
struct Labels {
    std::vector<Op> x, y;
};

Labels labels(const std::vector<Op>& ops, const graph::Font& numberFont, int xRow) {
    Labels l;
    for (const Op& op : ofKind(ops, Kind::Text)) {
        if (!(op.font == numberFont)) continue;
        (op.points[0].y() == xRow ? l.x : l.y).push_back(op);
    }
    return l;
}

TEST_F(Drawing, LabelsKeepTheirDistanceAndStayInside) {
    struct Case {
        int width, height;
        double step, xMin, xMax, yMin, yMax;
    };
    const Case cases[] = {
        {800, 600, 0.5, -10, 10, -10, 10},  {300, 200, 0.1, -3, 3, -3, 3},
        {1600, 900, 0.5, -10, 10, -5, 5},   {500, 400, 0.25, 0.5, 13, -1e3, 1e3},
        {800, 600, 0.5, -1e-3, 1e-3, 0, 2}, {200, 900, 1, -10, 10, -10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.width << "x" << c.height << " [" << c.xMin << ";" << c.xMax << "]");
        setPlot(c.width, c.height);
        state.scale.xGridStep = state.scale.yGridStep = c.step;
        setRange(c.xMin, c.xMax, c.yMin, c.yMax);
        const auto ops = drawBackground();
        const Labels l = labels(ops, plotter.objects.numberFont, xLabelRow());
        ASSERT_GE(l.x.size(), 2u);
        ASSERT_GE(l.y.size(), 2u);

        double lastRight = 0; // twips
        for (const Op& op : l.x) {
            const double left = op.points[0].x() * 15.0;
            const double w = surface.measure(op.font, op.text).width() * 15.0;
            // Rounding to pixels moves a label by half a pixel (7.5 twips) at most.
            EXPECT_GT(left, lastRight + 80 - 8) << op.text.toStdString();
            EXPECT_LT(left + w, state.scale.plotW + 8) << op.text.toStdString();
            lastRight = left + w;
        }
        for (std::size_t k = 1; k < l.y.size(); ++k)
            EXPECT_LT(l.y[k].points[0].y(), l.y[k - 1].points[0].y()); // upwards, no overlap
    }
}

TEST_F(Drawing, LabelTexts) {
    setPlot(1600, 900);
    state.scale.xGridStep = 0.5;
    setRange(-3, 3, -10, 10);
    const auto ops = drawBackground();
    std::vector<QString> texts; // the x labels and the axis names
    for (const Op& op : ofKind(ops, Kind::Text))
        if (op.points[0].y() == xLabelRow() || !(op.font == plotter.objects.numberFont))
            texts.push_back(op.text);
    for (const char* expected : {"-2,5", "-1", "0", "2", "2,5", "x", "y"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), QString::fromUtf8(expected)), texts.end())
            << expected;
    EXPECT_EQ(std::find(texts.begin(), texts.end(), QStringLiteral("3")), texts.end())
        << "a label that reaches the right edge";
    EXPECT_EQ(std::find(texts.begin(), texts.end(), QStringLiteral("2,")), texts.end());
}

TEST_F(Drawing, AxesOnlyWhereTheRangeHoldsZeroAndTheMenuShowsThem) {
    enum { hideGrid = 1, hideAxes = 2, hideNames = 4, hideLabels = 8 }; // the menu's toggles
    struct Case {
        double xMin, xMax, yMin, yMax;
        bool yAxis, xAxis; // inside the range
        int hidden = 0;
    };
    const Case cases[] = {
        {-10, 10, -10, 10, true, true},
        {1, 10, -10, 10, false, true},
        {-10, 10, 2, 5, true, false},
        {-9, -1, 0.5, 5, false, false},
        {0, 10, 0, 10, true, true}, // 0 on the edge is still inside
        {-10, 10, -10, 10, true, true, hideGrid},
        {-10, 10, -10, 10, true, true, hideAxes},
        {1, 10, -10, 10, false, true, hideNames},
        {-10, 10, 2, 5, true, false, hideLabels},
        {-10, 10, -10, 10, true, true, hideGrid | hideAxes | hideNames | hideLabels},
        {-10, 10, -10, 10, true, true, hideGrid | hideAxes | hideLabels}, // names need their axes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.xMin << " " << c.xMax << " " << c.yMin << " " << c.yMax
                                        << " hidden " << c.hidden);
        state.graphOptions.gridShown = !(c.hidden & hideGrid);
        state.graphOptions.axesShown = !(c.hidden & hideAxes);
        state.graphOptions.axisNamesShown = !(c.hidden & hideNames);
        state.graphOptions.labelsShown = !(c.hidden & hideLabels);
        setRange(c.xMin, c.xMax, c.yMin, c.yMax);
        const auto ops = drawBackground();
        const graph::DrawingObjects& o = plotter.objects;
        int grid = 0, vertical = 0, horizontal = 0, names = 0, numbers = 0;
        for (const Op& op : ops) {
            if (op.kind == Kind::LineTo && op.pen == o.gridPen) ++grid;
            if (op.kind == Kind::LineTo && op.pen == o.axisPen)
                (op.points[0].x() == op.points[1].x() ? vertical : horizontal)++;
            if (op.kind == Kind::Text && op.font == o.axisNameFont) ++names;
            if (op.kind == Kind::Text && op.font == o.numberFont) ++numbers;
        }
        const bool axes = !(c.hidden & hideAxes);
        const int axesShown = axes ? int(c.yAxis) + int(c.xAxis) : 0;
        EXPECT_EQ(grid > 0, !(c.hidden & hideGrid));
        EXPECT_EQ(vertical, int(axes && c.yAxis));
        EXPECT_EQ(horizontal, int(axes && c.xAxis));
        EXPECT_EQ(names, c.hidden & hideNames ? 0 : axesShown);
        EXPECT_EQ(numbers > 0, !(c.hidden & hideLabels));
        const auto arrows = ofKind(ops, Kind::Polygon);
        EXPECT_EQ(int(arrows.size()), axesShown);
        for (const Op& a : arrows) {
            EXPECT_EQ(a.points.size(), 4u);
            EXPECT_EQ(a.fill, 0u);
            EXPECT_EQ(a.pen, (graph::Pen{1, 0}));
        }

        if (c.hidden & hideLabels) continue;
        if (!c.xAxis) { // x labels at one digit height above the bottom
            const int xRow = core::round32((state.scale.plotH - plotter.digitHeight[1]) / 15);
            EXPECT_FALSE(labels(ops, o.numberFont, xRow).x.empty());
        }
        if (!c.yAxis) { // y labels at the right edge
            for (const Op& op : labels(ops, o.numberFont, xLabelRow()).y) {
                const double w = surface.measure(op.font, op.text).width() * 15.0;
                EXPECT_EQ(op.points[0].x(), core::round32((state.scale.plotW - w - 70) / 15))
                    << op.text.toStdString();
            }
        }
    }
}

TEST_F(Drawing, FontsNamesAndGridColourFollowTheOptions) {
    state.graphOptions.xAxisName = QStringLiteral("Zeit");
    state.graphOptions.yAxisName = QStringLiteral("Weg");
    state.graphOptions.axisNameFontSize = 22;
    state.graphOptions.numberFontSize = 20;
    core::setcolour(state, 13, core::rgb(1, 2, 3));
    graph::setscale(state);
    const auto ops = drawBackground();
    std::vector<QString> names;
    int numbers = 0, grid = 0;
    for (const Op& op : ofKind(ops, Kind::Text)) {
        if (op.font == graph::Font{QStringLiteral("Arial"), 22, 700}) names.push_back(op.text);
        if (op.font == graph::Font{QStringLiteral("Arial"), 20, 400}) ++numbers;
    }
    for (const Op& op : ofKind(ops, Kind::LineTo))
        grid += op.pen == graph::Pen{1, core::rgb(1, 2, 3)};
    EXPECT_EQ(names, (std::vector<QString>{QStringLiteral("Weg"), QStringLiteral("Zeit")}));
    EXPECT_GT(numbers, 0);
    EXPECT_GT(grid, 0);
    EXPECT_EQ(plotter.digitHeight[0], core::round32(22 * 1.15) * 15);
}

TEST_F(Drawing, BackgroundSurvivesBrokenSettings) {
    state.scale.xGridStart = 1e300;
    state.scale.yGridStart = std::nan("");
    state.scale.xLinesMax = 32767;
    state.scale.xLinesMin = 32000;
    setRange(1e15, 1e15 + 1, -1e-300, 1e-300);
    expectInsideClipping(drawBackground(), 800, 600);
    state.scale.xLinesMin = 10;
    state.scale.xLinesMax = 40;
    setRange(-1e300, 1e300, -10, 10);
    expectInsideClipping(drawBackground(), 800, 600);
}

} // namespace
