// What curves and integral functions draw, checked on a recording surface: the drawn pixels are
// turned back into world coordinates and compared with the curve or antiderivative they show.

#include "core/intervals.h"
#include "core/rounding.h"
#include "core/state.h"
#include "engine/linedefs.h"
#include "graph/plotter.h"
#include "graph/recordingsurface.h"
#include "graph/redraw.h"
#include "graph/scale.h"
#include "params/paramlogic.h"
#include "session/applydata.h"
#include "support/recorded.h"
#include "support/recordingmessages.h"
#include "support/termlines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <numbers>
#include <vector>

namespace {

using Kind = graph::RecordingSurface::Kind;
using Op = graph::RecordingSurface::Op;

struct World {
    double x, y;
};

class Curves : public ::testing::Test {
protected:
    void SetUp() override {
        auto recorder = std::make_shared<platform::RecordingMessages>();
        messages = recorder.get();
        state.messages = recorder;
        state.busyFlag = 0;
    }

    // The lines as the user types them into the term window, applied as the program does, on a
    // plot of w x h pixels with the given ranges and N samples for every line.
    void apply(std::initializer_list<const char*> lines, int samples = 600,
               std::initializer_list<double> range = {-10, 10, -10, 10}, int w = 600, int h = 600) {
        testsupport::typeLines(state, lines);
        ASSERT_TRUE(session::applydata(state));
        ASSERT_EQ(state.termEditor.statusText, QStringLiteral("Ok."));
        state.busyFlag = 0;
        const auto* r = range.begin();
        state.ranges = {r[0], r[1], r[2], r[3], 0, 10};
        state.scale.plotW = w * 15.0;
        state.scale.plotH = h * 15.0;
        for (auto& line : state.lines)
            line.sampleCount = samples;
        graph::setscale(state);
    }

    // As the intervals view applies them.
    void setInterval(int i, const char* lower, const char* upper) {
        state.lines[i].lowerText = QString::fromUtf8(lower);
        state.lines[i].upperText = QString::fromUtf8(upper);
        core::evalintervals(state);
    }

    // The lower bound of the integral function in line i.
    void setLowerBound(int i, double a) { params::setValue(state, state.lines[i].slot, a); }

    // What line i drew (told apart by the colour of its slot), with the lines drawn as the
    // redraw does.
    std::vector<Op> drawnBy(int i) {
        surface.clear();
        graph::drawLines(state, plotter, surface);
        std::vector<Op> out;
        for (const Op& op : surface.ops())
            if (op.pen.colour == state.lineColours[state.lines[i].slot] ||
                (op.kind == Kind::Disc && op.fill == state.lineColours[state.lines[i].slot]))
                out.push_back(op);
        return out;
    }

    World world(QPoint p) const {
        return {state.ranges.xMin + p.x() * double(state.tppX) / state.scale.xmu,
                state.ranges.yMin +
                    (state.scale.plotH - p.y() * double(state.tppY)) / state.scale.ymu};
    }
    // World units of half a pixel.
    double halfPixelX() const { return 0.5 * state.tppX / state.scale.xmu; }
    double halfPixelY() const { return 0.5 * state.tppY / state.scale.ymu; }
    double column(double x) const { return (x - state.ranges.xMin) * state.scale.xmu / state.tppX; }
    double row(double y) const {
        return (state.scale.plotH - (y - state.ranges.yMin) * state.scale.ymu) / state.tppY;
    }

    // The drawn points of the integral of x from a by the rectangle rule with step sw, which is
    // off by exactly |x - a| * sw / 2; rounding to pixels adds half a pixel in y and, through
    // the slope x, in x.
    void expectHalfSquare(const std::vector<QPoint>& points, double a, double sw) {
        for (const QPoint& p : points) {
            const World w = world(p);
            const double bound = std::abs(w.x - a) * sw / 2 + halfPixelY() +
                                 (std::abs(w.x) + 1) * halfPixelX() + 1e-9;
            EXPECT_NEAR(w.y, (w.x * w.x - a * a) / 2, bound) << "x = " << w.x;
        }
    }

    core::State state;
    platform::RecordingMessages* messages = nullptr;
    graph::Plotter plotter;
    graph::RecordingSurface surface;
};

int count(const std::vector<Op>& ops, Kind kind) {
    return int(testsupport::ofKind(ops, kind).size());
}

using testsupport::columnSpan;
using testsupport::drawnPixels;
using testsupport::expectInsideClipping;
using testsupport::segmentsAcross;

// ---- curves ----

TEST_F(Curves, CurvePairDrawsOneUnitCircle) {
    constexpr double pi = std::numbers::pi;
    struct Case {
        const char *lower, *upper;
        int samples;
        int lineType;
        double tStart; // the parameter of the first point
    };
    const Case cases[] = {
        {"0", "2*pi", 600, 0, 0},
        {"0", "2*pi", 7, 0, 0},
        {"2*pi", "0", 100, 0, 2 * pi},  // written backwards: sampled downwards
        {"", "", 499, 0, 0},            // the default parameter range 0 ... 10
        {"-pi", "pi", 50, 3, -pi},      // discs
        {"0", "2*pi", 3'000'000, 0, 0}, // more samples than a picture shows: thinned out
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lower << " ; " << c.upper << " N=" << c.samples);
        apply({"xa(t) = cos(t)", "f(x) = x", "g(x) = -x", "ya(t) = sin(t)"}, c.samples,
              {-2, 2, -2, 2});
        setInterval(0, c.lower, c.upper);
        state.lines[0].lineType = c.lineType;
        EXPECT_TRUE(drawnBy(3).empty()); // the y line is drawn only as part of the curve
        const auto ops = drawnBy(0);
        const auto points = drawnPixels(ops);
        ASSERT_GE(points.size(), 4u);
        for (const QPoint& p : points) {
            const World w = world(p);
            EXPECT_NEAR(std::hypot(w.x, w.y), 1, 2 * halfPixelX()) << p.x() << "," << p.y();
        }
        if (c.lineType > 0) {
            EXPECT_EQ(count(ops, Kind::Disc), c.samples + 1);
            EXPECT_EQ(count(ops, Kind::LineTo), 0);
        } else {
            EXPECT_EQ(count(ops, Kind::MoveTo), 1); // one connected line
            if (c.samples < 100000) {
                EXPECT_EQ(count(ops, Kind::LineTo), c.samples);
            }
        }
        EXPECT_NEAR(world(points.front()).x, std::cos(c.tStart), 2 * halfPixelX());
        EXPECT_NEAR(world(points.front()).y, std::sin(c.tStart), 2 * halfPixelY());
    }
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(Curves, OneSampleGivesTheSegmentBetweenTheEndPoints) {
    struct Case {
        const char *x, *y, *lower, *upper;
        World from, to;
    };
    const Case cases[] = {
        {"xa(t) = t^2", "ya(t) = 3 - t", "-1", "2", {1, 4}, {4, 1}},
        {"xa(t) = t^2", "ya(t) = 3 - t", "2", "-1", {4, 1}, {1, 4}},
        {"xa(t) = t^2", "ya(t) = 3 - t", "0,5", "1.5", {0.25, 2.5}, {2.25, 1.5}}, // a comma
        // Through the whole plot between its two samples, but no pole: stays joined.
        {"xa(t) = 30*t", "ya(t) = t", "-1", "1", {-30, -1}, {30, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " " << c.lower << " ; " << c.upper);
        apply({c.x, c.y}, 1);
        setInterval(0, c.lower, c.upper);
        const auto ops = drawnBy(0);
        ASSERT_EQ(ops.size(), 2u);
        EXPECT_EQ(ops[0].kind, Kind::MoveTo);
        EXPECT_EQ(ops[1].kind, Kind::LineTo);
        EXPECT_EQ(ops[0].points[0],
                  QPoint(core::round32(column(c.from.x)), core::round32(row(c.from.y))));
        EXPECT_EQ(ops[1].points[1],
                  QPoint(core::round32(column(c.to.x)), core::round32(row(c.to.y))));
    }
}

TEST_F(Curves, PolesAreNotJoinedInEitherDirection) {
    struct Case {
        const char *x, *y;
        bool vertical; // the pole sends y (true) or x (false) off the plot
    };
    const Case cases[] = {{"xa(t) = t", "ya(t) = 1/t", true}, {"xa(t) = 1/t", "ya(t) = t", false}};
    for (const Case& c : cases) {
        for (int samples : {499, 500, 800, 1000, 333}) {
            SCOPED_TRACE(testing::Message() << c.x << " N=" << samples);
            apply({c.x, c.y}, samples, {-10, 10, -10, 10}, 800, 600);
            setInterval(0, "-5", "5");
            const auto ops = drawnBy(0);
            expectInsideClipping(ops, 800, 600, true);
            // No segment through the whole plot from one edge to the other.
            EXPECT_EQ(segmentsAcross(ops, 0, c.vertical ? 600 : 800, c.vertical), 0);
            EXPECT_GE(count(ops, Kind::LineTo), samples / 2); // both branches are there
        }
    }
}

TEST_F(Curves, BrokenIntervalsAndPartnersNeitherHangNorCrash) {
    struct Case {
        const char *lower, *upper;
        int samples;
        double tMin, tMax;
    };
    const Case cases[] = {
        {"1", "1", 600, 0, 10},
        {"5", "0", 600, 0, 10},
        {"", "", 1, 0, 10},
        {"unbekannt", "3", 2, 0, 10},
        {"", "", 600, 3, 3},
        {"", "", 0, 0, 10},
        {"", "", -7, 0, 10},
        {"1e300", "-1e300", 600, 0, 10},
        {"0", "1", 2'000'000'000, 0, 10},
        {"", "", 600, std::nan(""), 1},
    };
    for (const char* yTerm : {"ya(t) = sin(t)", "ya(t) = F(t)"}) { // a curve, an integral curve
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << yTerm << " " << c.lower << " ; " << c.upper << " N=" << c.samples);
            apply({"xa(t) = cos(t)", yTerm, "f(x) = x"}, 600);
            setLowerBound(1, 0.5);
            setInterval(0, c.lower, c.upper);
            state.lines[0].sampleCount = c.samples;
            state.ranges.tMin = c.tMin;
            state.ranges.tMax = c.tMax;
            expectInsideClipping(drawnBy(0), 600, 600, true);
            EXPECT_EQ(state.engine.error(), 0);
        }
    }
    // A y line that failed its check leaves no curve to draw.
    apply({"xa(t) = cos(t)", "ya(t) = sin(t)"});
    state.lineSlots[1].translated.clear();
    EXPECT_TRUE(drawnBy(0).empty());
    EXPECT_TRUE(messages->shown.empty());
}

// ---- integral functions ----

TEST_F(Curves, IntegralOfXFollowsHalfXSquaredFromItsLowerBound) {
    struct Case {
        const char *lower, *upper; // the interval
        double a;                  // the lower bound
        double from, to;           // the part that is drawn
        int samples = 800, lineType = 0;
    };
    const Case cases[] = {
        {"", "", 0, -4, 4},         {"", "", 1, -4, 4},
        {"", "", -2.5, -4, 4, 333}, {"", "", 0.123, -4, 4, 1000, 2}, // discs
        {"", "", 4, -4, 4, 60}, // on the edge of the displayed range
        {"1", "3", 0, 1, 3},    // left of the interval
        {"1", "3", 3.5, 1, 3},  // right of it
        {"3", "1", 2, 1, 3},    // inside, the interval written backwards
        {"1", "3", -4.5, 1, 3}, // left of the displayed range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.lower << " ; " << c.upper << " a = " << c.a << " N=" << c.samples);
        apply({"f(x) = x", "G(x) = F(x)"}, c.samples, {-4, 4, -10, 10}, 800, 600);
        setInterval(1, c.lower, c.upper);
        setLowerBound(1, c.a);
        state.lines[1].lineType = c.lineType;
        const auto points = drawnPixels(drawnBy(1));
        const double sw = 8.0 / c.samples;
        ASSERT_GE(points.size(), std::size_t((c.to - c.from) / sw));
        expectHalfSquare(points, c.a, sw);
        // The two directions together reach both ends.
        const auto [left, right] = columnSpan(points);
        EXPECT_NEAR(left, column(c.from), 1);
        EXPECT_NEAR(right, column(c.to), 1);
        // F(a) = 0 is drawn by each direction once, where a lies inside.
        const QPoint start(core::round32(column(c.a)), core::round32(row(0)));
        EXPECT_EQ(std::count(points.begin(), points.end(), start),
                  c.from <= c.a && c.a <= c.to ? 2 : 0);
    }
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(Curves, ADirectionEndsWhereTheValuesPassTheLimit) {
    // F rises steeply right of 0 (slope 1E11) and gently left of it (slope 1): the right
    // direction ends where |F| passes about 1 / limit, the left one still reaches the edge.
    struct Case {
        const char* limit;
        double end; // x where the right direction ends
    };
    const Case cases[] = {
        {"1E-10", 0.1},   {"1e-11", 1}, {"1,0E-11", 1}, // a decimal comma
        {"1E-20", 10.0},                                // never within the range
        {"Quatsch", 0.1},                               // a broken setting: the default
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        state.infinityLimit = QString::fromUtf8(c.limit);
        apply({"f(x) = wenn(x > 0; 10^11; 1)", "G(x) = F(x)"}, 800, {-10, 10, -10, 10}, 800, 600);
        setLowerBound(1, 0);
        const auto ops = drawnBy(1);
        expectInsideClipping(ops, 800, 600);
        const auto [left, right] = columnSpan(drawnPixels(ops));
        EXPECT_EQ(left, 0);
        EXPECT_NEAR(right, std::min(column(c.end), 800.0), 3);
        EXPECT_EQ(state.engine.error(), 0);
    }
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(Curves, IntegralAcrossAPoleEndsAndStaysFinite) {
    for (int samples : {499, 500, 800, 1000, 333, 2}) {
        SCOPED_TRACE(samples);
        apply({"f(x) = 1/x", "G(x) = F(x)"}, samples, {-10, 10, -10, 10}, 800, 600);
        setLowerBound(1, 1);
        const auto ops = drawnBy(1);
        expectInsideClipping(ops, 800, 600);
        EXPECT_EQ(state.engine.error(), 0);
        if (samples < 100) continue;
        // Right of the pole it is the logarithm.
        const double tolerance = 20.0 / samples + halfPixelY() + 2 * halfPixelX();
        int right = 0;
        for (const QPoint& p : drawnPixels(ops)) {
            const World w = world(p);
            if (w.x < 0.5) continue;
            EXPECT_NEAR(w.y, std::log(w.x), tolerance) << "x = " << w.x;
            ++right;
        }
        EXPECT_GE(right, samples / 3);
    }
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(Curves, IntegralJumpsAcrossThePlotOnlyWhereTheIntegrandRunsSmoothly) {
    struct Case {
        const char* integrand;
        bool joined;
    };
    const Case cases[] = {
        // From F(0) = 0 below the plot the first step jumps far above it; halfway through that
        // step the integrand has the other sign: a pole, not a steep rise.
        {"f(x) = -1/(x-0.00025)", false},
        {"f(x) = 4000", true}, // as steep, but smooth
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.integrand);
        apply({c.integrand, "G(x) = F(x)"}, 800, {-10, 10, 1, 3}, 800, 600);
        setLowerBound(1, 0);
        const auto ops = drawnBy(1);
        expectInsideClipping(ops, 800, 600);
        EXPECT_EQ(segmentsAcross(ops, 0, 600, true), c.joined ? 1 : 0);
        EXPECT_GT(count(ops, Kind::MoveTo) + count(ops, Kind::LineTo), 400);
    }
}

TEST_F(Curves, IntegralCurveFollowsTheIntegralOverT) {
    struct Case {
        const char *lower, *upper;
        double lowerBound;
        double tMin, tMax; // the default curve parameter range afterwards
        bool drawn;
    };
    const Case cases[] = {
        {"1", "3", 2, 1, 3, true},      {"3", "1", 2, 1, 3, true}, // written backwards
        {"1", "3", 1, 1, 3, true},      // the lower bound on the curve's own bound
        {"", "", 2, 0.5, 3.5, true},    // the default range
        {"1", "3", 3.5, 1, 3, false},   // the lower bound outside: nothing of it to draw
        {"2", "2", 2, 0.5, 3.5, false}, // an empty interval is no range for other curves
        {"1", "3", 1.5, 1, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lower << " ; " << c.upper << " a = " << c.lowerBound);
        // Few samples and large pixels: x and F must belong to the same t.
        apply({"f(x) = x", "xa(t) = t", "ya(t) = F(t)"}, 40, {0, 4, -3, 5});
        state.ranges.tMin = 0.5;
        state.ranges.tMax = 3.5;
        setInterval(1, c.lower, c.upper);
        setLowerBound(2, c.lowerBound);
        const auto points = drawnPixels(drawnBy(1));
        EXPECT_DOUBLE_EQ(state.ranges.tMin, c.tMin);
        EXPECT_DOUBLE_EQ(state.ranges.tMax, c.tMax);
        if (!c.drawn) {
            EXPECT_TRUE(points.empty());
            continue;
        }
        // Each sample of the interval once, and the start point twice.
        EXPECT_EQ(points.size(), 42u);
        expectHalfSquare(points, c.lowerBound, (c.tMax - c.tMin) / 40);
        // From one end of the interval to the other.
        const auto [left, right] = columnSpan(points);
        EXPECT_NEAR(left, column(c.tMin), 1);
        EXPECT_NEAR(right, column(c.tMax), 1);
    }
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(Curves, IntegralCurveSaysWhenTheEngineFailsBeyondTheGuards) {
    // A value that is not a number passes the guards' comparison; the step itself fails.
    apply({"f(x) = wenn(x > 2; 0*10^(400*x); 1)", "xa(t) = t", "ya(t) = F(t)"}, 400,
          {-1, 11, -10, 20});
    setInterval(1, "0", "4");
    setLowerBound(2, 1);
    const auto points = drawnPixels(drawnBy(1));
    // Collected for the windows to show after the paint; nothing is shown while drawing.
    EXPECT_TRUE(messages->shown.empty());
    const QStringList& notices = state.drawingReport.notices;
    ASSERT_EQ(notices.size(), 1); // the backward direction stays left of 2
    EXPECT_TRUE(
        notices[0].startsWith(QStringLiteral("Bei Integralfkt im Kurvenmodus unmöglicher Fehler ")))
        << notices[0].toStdString();
    EXPECT_GT(notices[0].size(), 51);
    EXPECT_EQ(state.engine.error(), 0);
    for (const QPoint& p : points)
        EXPECT_LE(world(p).x, 2 + 0.01 + 2 * halfPixelX());

    // In function mode the same failure ends the direction silently.
    messages->shown.clear();
    apply({"f(x) = wenn(x > 2; 0*10^(400*x); 1)", "G(x) = F(x)"}, 400, {-1, 11, -10, 20});
    setLowerBound(1, 1);
    for (const QPoint& p : drawnPixels(drawnBy(1)))
        EXPECT_LE(world(p).x, 2 + 0.05 + 2 * halfPixelX());
    EXPECT_TRUE(state.drawingReport.notices.isEmpty());
}

} // namespace

namespace {

// Ops compared by what they draw.
bool sameDrawing(const std::vector<Op>& a, const std::vector<Op>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (a[k].kind != b[k].kind || a[k].points != b[k].points) return false;
    return true;
}

} // namespace

// The integrand taken in sweeps draws exactly what the step texts evaluated one by one draw:
// across poles, jumps, undefined stretches, the guard's limit and both directions.
TEST_F(Curves, IntegralInSweepsDrawsWhatTheStepTextsDraw) {
    int drawn = 0;
    for (const char* integrand : {"f(x) = 1/x", "f(x) = wenn(x > 0; 10^11; 1)", "f(x) = sqrt(x)",
                                  "f(x) = tan(x)", "f(x) = x^2-3", "f(x) = wenn(x<1; 0; 1)"}) {
        for (const int samples : {7, 500, 801}) {
            SCOPED_TRACE(testing::Message() << integrand << " N=" << samples);
            apply({integrand, "G(x) = F(x)"}, samples, {-10, 10, -10, 10}, 800, 600);
            setLowerBound(1, 0.5);
            state.lines[1].lineType = samples == 7 ? 2 : 0;
            const auto swept = drawnBy(1);
            // Equivalent texts the sweep does not take apart.
            state.forwardStepText = QStringLiteral("qq + sw*");
            state.backwardStepText = QStringLiteral("qq - sw*");
            const auto stepped = drawnBy(1);
            state.forwardStepText = QStringLiteral("qq+sw*");
            state.backwardStepText = QStringLiteral("qq-sw*");
            drawn += !swept.empty();
            EXPECT_TRUE(sameDrawing(swept, stepped));
        }
    }
    EXPECT_GE(drawn, 15);
}
