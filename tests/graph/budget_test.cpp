// The work budget of a redraw: a line whose term needs too much engine work stops drawing and is
// reported in German, however heavy the term; ordinary heavy drawings are never cut.

#include "core/state.h"
#include "graph/plotter.h"
#include "graph/recordingsurface.h"
#include "graph/redraw.h"
#include "graph/scale.h"
#include "params/paramlogic.h"
#include "session/applydata.h"
#include "support/recordingmessages.h"
#include "support/termlines.h"
#include "terms/drawingstatus.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace {

using Kind = graph::RecordingSurface::Kind;

// Calls that double with every unit of x: 2^12 calls at x = 10.
const char* const doubling = "f(x) = wenn(x<1; 1; f(x-1)+f(x-1))";

struct Scene {
    Scene(std::vector<const char*> typed, int n = 20000, double from = -10, double to = 10,
          std::vector<int> off = {})
        : lines(std::move(typed)), samples(n), xMin(from), xMax(to), hidden(std::move(off)) {}
    std::vector<const char*> lines;
    int samples;
    double xMin, xMax;
    std::vector<int> hidden; // lines with their drawn flag off
};

class Budget : public ::testing::Test {
protected:
    void SetUp() override {
        state.messages = std::make_shared<platform::RecordingMessages>();
        state.busyFlag = 0;
    }

    // The lines as the user types them, applied as the program does, on a plot of 800 x 600
    // pixels (or wider) with the given samples for every line.
    void apply(const Scene& scene, int width = 800) {
        testsupport::typeLines(state, scene.lines);
        ASSERT_TRUE(session::applydata(state));
        ASSERT_EQ(state.termEditor.statusText, QStringLiteral("Ok."));
        state.busyFlag = 0;
        state.ranges.xMin = scene.xMin;
        state.ranges.xMax = scene.xMax;
        state.scale.plotW = width * 15.0;
        state.scale.plotH = 600 * 15.0;
        for (auto& line : state.lines) {
            line.sampleCount = scene.samples;
            line.drawn = true;
        }
        for (int i : scene.hidden)
            state.lines[i].drawn = false;
        graph::setscale(state);
    }

    // The parameter of that name takes the value, where a term uses it.
    void setParam(const char* name, double value) {
        const int k = state.findparam(QString::fromUtf8(name));
        if (k >= 0) params::setValue(state, k, value);
    }

    // Draws the lines as a redraw does; returns the seconds it took.
    double draw() {
        surface.clear();
        const auto begin = std::chrono::steady_clock::now();
        graph::drawLines(state, plotter, surface);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    }

    // Points drawn by line i, told apart by the colour of its slot.
    int pointsOf(int i) const {
        int n = 0;
        for (const auto& op : surface.ops())
            if ((op.kind == Kind::MoveTo || op.kind == Kind::LineTo) &&
                op.pen.colour == state.lineColours[state.lines[i].slot])
                ++n;
        return n;
    }

    core::State state;
    graph::Plotter plotter;
    graph::RecordingSurface surface;
};

TEST_F(Budget, HeavyTermsAreCutAndSaySo) {
    struct Case {
        Scene scene;
        std::vector<int> cut;
        const char* status;
    };
    const char* const all[] = {
        "f(x) = wenn(x<1; 1; f(x-1)+f(x-1))", "g(x) = wenn(x<1; 1; g(x-1)+g(x-1))",
        "h(x) = wenn(x<1; 1; h(x-1)+h(x-1))", "i(x) = wenn(x<1; 1; i(x-1)+i(x-1))",
        "j(x) = wenn(x<1; 1; j(x-1)+j(x-1))", "k(x) = wenn(x<1; 1; k(x-1)+k(x-1))",
        "l(x) = wenn(x<1; 1; l(x-1)+l(x-1))", "m(x) = wenn(x<1; 1; m(x-1)+m(x-1))",
        "n(x) = wenn(x<1; 1; n(x-1)+n(x-1))", "o(x) = wenn(x<1; 1; o(x-1)+o(x-1))",
        "p(x) = wenn(x<1; 1; p(x-1)+p(x-1))", "q(x) = wenn(x<1; 1; q(x-1)+q(x-1))",
        "r(x) = wenn(x<1; 1; r(x-1)+r(x-1))"};
    const Case cases[] = {
        {{{doubling}}, {0}, "f(x): Zeichnung abgebrochen, der Term ist zu aufwendig."},
        // Beyond the engine's own limit of calls per evaluation every sample fails, each only
        // after 100000 calls.
        {{{doubling}, 2000, 10, 30},
         {0},
         "f(x): Zeichnung abgebrochen, der Term ist zu aufwendig."},
        // A tree of branches, each calling on.
        {{{"f(x) = wenn(x<1; 1; wenn(x<2; f(x-1)+f(x-1); f(x-1)+f(x-2)+f(x-2)))"}},
         {0},
         "f(x): Zeichnung abgebrochen, der Term ist zu aufwendig."},
        // Curves: the heavy term in y, in x.
        {{{"xa(t) = t", "ya(t) = wenn(t<1; 1; ya(t-1)+ya(t-1))"}},
         {0},
         "xa(t), ya(t): Zeichnung abgebrochen, die Terme sind zu aufwendig."},
        {{{"xa(t) = wenn(t<1; 1; xa(t-1)+xa(t-1))", "ya(t) = t"}},
         {0},
         "xa(t), ya(t): Zeichnung abgebrochen, die Terme sind zu aufwendig."},
        // An integral function and an integral curve of the heavy term, which is not drawn.
        {{{doubling, "G(x) = F(x)"}, 20000, -10, 10, {0}},
         {1},
         "G(x): Zeichnung abgebrochen, der Term ist zu aufwendig."},
        {{{doubling, "xa(t) = t", "ya(t) = F(t)"}, 20000, -10, 10, {0}},
         {1},
         "xa(t), ya(t): Zeichnung abgebrochen, die Terme sind zu aufwendig."},
        // Thirteen of them.
        {{{std::begin(all), std::end(all)}},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
         "f(x), g(x), h(x), i(x), j(x), k(x), l(x), m(x), n(x), o(x), p(x), q(x), r(x): "
         "Zeichnung abgebrochen, die Terme sind zu aufwendig."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scene.lines.back() << " N=" << c.scene.samples);
        apply(c.scene);
        const std::int64_t before = state.engine.work();
        const double seconds = draw();
        EXPECT_EQ(state.drawingReport.cutLines, c.cut);
        EXPECT_EQ(terms::cutLinesText(state), QString::fromUtf8(c.status));
        // Minutes without the budget; a generous bound even for a slow build.
        EXPECT_LT(seconds, 30.0);
        // Each line stops within its budget.
        EXPECT_LE(state.engine.work() - before,
                  std::int64_t(c.cut.size()) * (graph::lineWorkBudget + 100'000) + 10'000'000);
        // Nothing of it outlives the redraw.
        EXPECT_EQ(state.engine.error(), 0);
        EXPECT_EQ(state.engine.workLimit(), platform::MathEngine::noWorkLimit);
        EXPECT_TRUE(state.drawingReport.notices.isEmpty());
    }
}

TEST_F(Budget, OrdinaryHeavyDrawingsAreNotCut) {
    const char* const sines[] = {
        "f(x) = a*sin(b*x+c)", "g(x) = a*sin(b*x+c)", "h(x) = a*sin(b*x+c)", "i(x) = a*sin(b*x+c)",
        "j(x) = a*sin(b*x+c)", "k(x) = a*sin(b*x+c)", "l(x) = a*sin(b*x+c)", "m(x) = a*sin(b*x+c)",
        "n(x) = a*sin(b*x+c)", "o(x) = a*sin(b*x+c)", "p(x) = a*sin(b*x+c)", "q(x) = a*sin(b*x+c)",
        "r(x) = a*sin(b*x+c)"};
    struct Case {
        Scene scene;
        int fullLines; // lines 0 ... fullLines-1 draw every sample, one point each
        int width = 800;
    };
    const Case cases[] = {
        {{{std::begin(sines), std::end(sines)}}, 13},
        {{{"xa(t) = 8*cos(a*t)", "ya(t) = 8*sin(b*t)"}}, 1},
        {{{"f(x) = a*sin(b*x+c)", "G(x) = F(x)"}}, 1},
        {{{"f(x) = a*sin(b*x+c)", "xa(t) = t", "ya(t) = F(t)"}}, 1},
        {{{"f(x) = x^3-2x", "g(x) = f''(x)*f'(x)/10+f(x)"}, 20000, -1.5, 1.5}, 2},
        {{{"f(x) = 5*sin(x)*fill"}}, 1, 1600}, // four samples per pixel column
        {{{doubling}, 500}, 1},                // what 20000 samples of it cannot afford
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scene.lines.back() << " N=" << c.scene.samples);
        apply(c.scene, c.width);
        for (const auto& [name, value] :
             {std::pair{"a", 3.0}, {"b", 2.0}, {"c", 1.0}, {"dichte", 5.0}})
            setParam(name, value);
        const std::int64_t before = state.engine.work();
        draw();
        EXPECT_TRUE(state.drawingReport.cutLines.empty());
        EXPECT_TRUE(terms::cutLinesText(state).isEmpty());
        for (int i = 0; i < c.fullLines; ++i)
            EXPECT_EQ(pointsOf(i), state.lines[i].sampleCount + 1) << "line " << i;
        // Far from the budget, not just below it.
        EXPECT_LT(state.engine.work() - before, state.linesInUse * graph::lineWorkBudget / 3);
    }
}

} // namespace
