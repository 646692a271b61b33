// Lines drawn with the option "Polstellen und Sprünge genau zeichnen": refined where a segment
// is suspicious, lifted at poles and jumps, close to the true curve everywhere else.

#include "core/state.h"
#include "engine/linedefs.h"
#include "graph/plotter.h"
#include "graph/recordingsurface.h"
#include "graph/redraw.h"
#include "graph/scale.h"
#include "session/plotarea.h"
#include "support/recorded.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace {

using Kind = graph::RecordingSurface::Kind;
using Op = graph::RecordingSurface::Op;
using testsupport::ofKind;
using testsupport::segmentsAcross;

class SharpLines : public ::testing::Test {
protected:
    void SetUp() override {
        engine::resetengine(state);
        state.busyFlag = 0;
    }

    // One function line on a plot of w x h pixels with a sample per pixel column.
    std::vector<Op> draw(const QString& term, double xMin, double xMax, double yMin, double yMax,
                         bool refine, int lineType = 0, int w = 800, int h = 600) {
        state.scale.plotW = w * 15.0;
        state.scale.plotH = h * 15.0;
        state.ranges.xMin = xMin;
        state.ranges.xMax = xMax;
        state.ranges.yMin = yMin;
        state.ranges.yMax = yMax;
        state.lines[0].name = QStringLiteral("f");
        state.lines[0].kind = core::kindFunction;
        state.lines[0].sampleCount = w;
        state.lines[0].lineType = lineType;
        state.lineSlots[0].translated = term;
        state.lastLine = 0;
        state.linesInUse = 1;
        state.graphOptions.refineSampling = refine;
        graph::setscale(state);
        surface.clear();
        graph::drawLines(state, plotter, surface);
        return surface.ops();
    }

    double column(double x) const { return (x - state.ranges.xMin) * state.scale.xmu / state.tppX; }
    double row(double y) const {
        return (state.scale.plotH - (y - state.ranges.yMin) * state.scale.ymu) / state.tppY;
    }

    core::State state;
    graph::Plotter plotter;
    graph::RecordingSurface surface;
};

TEST_F(SharpLines, NoSegmentCrossesAPole) {
    struct Case {
        const char* term;
        double xMin, xMax, yRange;
        std::vector<double> poles;
    };
    const double p = std::numbers::pi;
    const Case cases[] = {
        {"tan(_x)", -10, 10, 10, {-5 * p / 2, -3 * p / 2, -p / 2, p / 2, 3 * p / 2, 5 * p / 2}},
        {"1/(_x-0.05)", -1, 1, 10, {0.05}},
        {"1/(_x-0.05)", -1, 1, 25, {0.05}},
        {"1/(_x-0.05)", -1, 1, 100, {0.05}},
        {"1/_x^2", -2, 2, 10, {0}},
        {"1/_x", -10, 10, 10, {0}}, // a sample lands on the pole
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.term << " y ±" << c.yRange);
        const auto ops = draw(QString::fromUtf8(c.term), c.xMin, c.xMax, -c.yRange, c.yRange, true);
        for (double pole : c.poles)
            EXPECT_EQ(segmentsAcross(ops, column(pole) - 1, column(pole) + 1), 0) << pole;
        EXPECT_EQ(segmentsAcross(ops, 0, 600, true), 0); // nothing from top to bottom
        EXPECT_GT(ofKind(ops, Kind::LineTo).size(), std::size_t(400));
    }
}

// A step: no vertical connector with the option, the one of the plain sampling without it; also
// where the line is steep on both sides of the step (3 pixels a column, a step of 60).
TEST_F(SharpLines, JumpIsNotJoined) {
    struct Case {
        const char* term;
        double yRange, below, above; // the values just below and above the step at x = 1
    };
    const Case cases[] = {{"iif(_x<1, 0, 1)", 2, 0, 1}, {"iif(_x<1, 40*_x, 40*_x+10)", 50, 40, 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.term);
        const QString step = QString::fromUtf8(c.term);
        const double gap = (c.above - c.below) / 10;
        const auto connectors = [&](const std::vector<Op>& ops) {
            const double a = row(c.below + gap), b = row(c.above - gap);
            return segmentsAcross(ops, std::min(a, b), std::max(a, b), true);
        };
        EXPECT_EQ(connectors(draw(step, -5, 5, -c.yRange, c.yRange, true)), 0);
        EXPECT_EQ(connectors(draw(step, -5, 5, -c.yRange, c.yRange, false)), 1);
        // Both levels are drawn up to the jump.
        const auto ops = draw(step, -5, 5, -c.yRange, c.yRange, true);
        int nearJump = 0;
        for (const Op& op : ofKind(ops, Kind::LineTo))
            nearJump += std::abs(op.points[1].x() - column(1)) <= 1;
        EXPECT_GE(nearJump, 2);
    }
}

// Where the curve is continuous the line passes within a pixel of it at every pixel column.
TEST_F(SharpLines, StaysWithinAPixelOfTheCurve) {
    struct Case {
        const char* term;
        std::function<double(double)> f;
        double xMin, xMax, yMin, yMax;
    };
    const Case cases[] = {
        {"sin(1/_x)", [](double x) { return std::sin(1 / x); }, 0.01, 1, -1.5, 1.5},
        {"10^(10*_x)", [](double x) { return std::pow(10.0, 10 * x); }, -1, 1, -10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.term);
        const auto ops = draw(QString::fromUtf8(c.term), c.xMin, c.xMax, c.yMin, c.yMax, true);
        const auto lines = ofKind(ops, Kind::LineTo);
        for (int col = 1; col < 800; ++col) {
            const double x = state.ranges.xMin + col * state.tppX / state.scale.xmu;
            const double want = row(c.f(x));
            if (!(want > 0 && want < 600)) continue; // off the plot
            bool near = false;
            for (const Op& op : lines) {
                const QPoint a = op.points[0], b = op.points[1];
                if (std::min(a.x(), b.x()) > col || std::max(a.x(), b.x()) < col) continue;
                const double lo = std::min(a.y(), b.y()) - 1, hi = std::max(a.y(), b.y()) + 1;
                if (a.x() == b.x()) {
                    near |= lo <= want && want <= hi;
                } else {
                    const double y =
                        a.y() + (b.y() - a.y()) * double(col - a.x()) / (b.x() - a.x());
                    near |= std::abs(y - want) <= 1.5;
                }
            }
            EXPECT_TRUE(near) << "column " << col << " row " << want;
        }
    }
}

// Discs mark the samples, with or without the option.
TEST_F(SharpLines, DiscsAreTheSamplesEither) {
    for (const char* term : {"tan(_x)", "iif(_x<1, 0, 1)", "1/_x"}) {
        const auto on =
            ofKind(draw(QString::fromUtf8(term), -10, 10, -10, 10, true, 3), Kind::Disc);
        const auto off =
            ofKind(draw(QString::fromUtf8(term), -10, 10, -10, 10, false, 3), Kind::Disc);
        ASSERT_EQ(on.size(), off.size()) << term;
        for (std::size_t k = 0; k < on.size(); ++k)
            EXPECT_EQ(on[k].points, off[k].points) << term;
    }
}

} // namespace

namespace {

// A surface of a device with two pixels per pixel.
class FineSurface : public graph::RecordingSurface {
public:
    int deviceScale() const override { return 2; }
    void setLineScale(int scale) override { scales.push_back(scale); }
    std::vector<int> scales;
};

} // namespace

// At a pixel ratio of 2 the lines are drawn in device pixels, discs stay in pixels, and the
// surface is back at pixels afterwards.
TEST_F(SharpLines, LinesAtTheDevicesResolution) {
    FineSurface fine;
    for (const int lineType : {0, 3}) {
        SCOPED_TRACE(lineType);
        draw(QStringLiteral("_x/2"), -10, 10, -10, 10, true, lineType);
        const auto pixels = surface.ops();
        fine.clear();
        fine.scales.clear();
        graph::drawLines(state, plotter, fine);
        EXPECT_EQ(fine.scales, (std::vector<int>{2, 1}));
        if (lineType == 0) {
            const auto lines = ofKind(fine.ops(), Kind::LineTo);
            ASSERT_FALSE(lines.empty());
            EXPECT_NEAR(lines.back().points[1].x(), 1600, 2);
            EXPECT_NEAR(lines.back().points[1].y(), 2 * row(5), 2);
        } else {
            const auto discs = ofKind(fine.ops(), Kind::Disc);
            ASSERT_EQ(discs.size(), ofKind(pixels, Kind::Disc).size());
            EXPECT_EQ(discs.back().points, ofKind(pixels, Kind::Disc).back().points);
        }
    }
}

// The default sample count follows the device's pixels.
TEST_F(SharpLines, OneSamplePerDevicePixel) {
    for (const double ratio : {1.0, 2.0}) {
        session::setPlotArea(state, 400 * 15.0, 300 * 15.0, ratio);
        EXPECT_EQ(state.lines[0].sampleCount, int(400 * ratio));
    }
}
