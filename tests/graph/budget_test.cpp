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
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Kind = graph::RecordingSurface::Kind;

// Calls that double with every unit of x: 2^12 calls at x = 10.
const char* const doubling = "f(x) = wenn(x<1; 1; f(x-1)+f(x-1))";

// Thirteen lines, all there are: the pattern with each name from f to r for %1.
std::vector<std::string> thirteen(const char* pattern) {
    std::vector<std::string> lines;
    for (const char name : std::string_view("fghijklmnopqr"))
        lines.push_back(QString::fromUtf8(pattern).arg(QLatin1Char(name)).toStdString());
    return lines;
}

struct Scene {
    std::vector<std::string> lines;
    int samples = 20000;
    double xMin = -10, xMax = 10;
    std::vector<int> hidden = {}; // lines with their drawn flag off
    int width = 800;
};

class Budget : public ::testing::Test {
protected:
    void SetUp() override {
        state.messages = std::make_shared<platform::RecordingMessages>();
        state.busyFlag = 0;
        // Samples only, so that a whole line is its sample count in points.
        state.graphOptions.refineSampling = false;
    }

    // The lines as the user types them, applied as the program does, on a plot of width x 600
    // pixels with the given samples for every line.
    void apply(const Scene& scene) {
        QStringList typed;
        for (const std::string& line : scene.lines)
            typed << QString::fromStdString(line);
        testsupport::typeLines(state, typed);
        ASSERT_TRUE(session::applydata(state));
        ASSERT_EQ(state.termEditor.statusText, QStringLiteral("Ok."));
        state.busyFlag = 0;
        state.ranges.xMin = scene.xMin;
        state.ranges.xMax = scene.xMax;
        state.scale.plotW = scene.width * 15.0;
        state.scale.plotH = 600 * 15.0;
        for (auto& line : state.lines) {
            line.sampleCount = scene.samples;
            line.drawn = true;
        }
        for (int i : scene.hidden)
            state.lines[i].drawn = false;
        graph::setscale(state);
        // The parameters where a term uses them.
        for (const auto& [name, value] :
             {std::pair{"a", 3.0}, {"b", 2.0}, {"c", 1.0}, {"dichte", 5.0}}) {
            const int k = state.findparam(QString::fromUtf8(name));
            if (k >= 0) params::setValue(state, k, value);
        }
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

TEST_F(Budget, OnlyTermsTooCostlyToDrawAreCutAndSaySo) {
    // The status line: the names of the cut lines, then one of these.
    const char* const one = ": Zeichnung abgebrochen, der Term ist zu aufwendig.";
    const char* const many = ": Zeichnung abgebrochen, die Terme sind zu aufwendig.";
    struct Case {
        Scene scene;
        std::vector<int> cut;
        const char *names = "", *tail = "";
        int fullLines = 0; // lines 0 ... fullLines-1 draw every sample, one point each
    };
    const Case cases[] = {
        {{{doubling}}, {0}, "f(x)", one},
        // Beyond the engine's own limit of calls per evaluation every sample fails, each only
        // after 100000 calls.
        {{{doubling}, 2000, 10, 30}, {0}, "f(x)", one},
        // A tree of branches, each calling on.
        {{{"f(x) = wenn(x<1; 1; wenn(x<2; f(x-1)+f(x-1); f(x-1)+f(x-2)+f(x-2)))"}},
         {0},
         "f(x)",
         one},
        // Curves: the heavy term in y, in x.
        {{{"xa(t) = t", "ya(t) = wenn(t<1; 1; ya(t-1)+ya(t-1))"}}, {0}, "xa(t), ya(t)", many},
        {{{"xa(t) = wenn(t<1; 1; xa(t-1)+xa(t-1))", "ya(t) = t"}}, {0}, "xa(t), ya(t)", many},
        // An integral function and an integral curve of the heavy term, which is not drawn.
        {{{doubling, "G(x) = F(x)"}, 20000, -10, 10, {0}}, {1}, "G(x)", one},
        {{{doubling, "xa(t) = t", "ya(t) = F(t)"}, 20000, -10, 10, {0}}, {1}, "xa(t), ya(t)", many},
        {{thirteen("%1(x) = wenn(x<1; 1; %1(x-1)+%1(x-1))")},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
         "f(x), g(x), h(x), i(x), j(x), k(x), l(x), m(x), n(x), o(x), p(x), q(x), r(x)",
         many},
        // Ordinary heavy drawings.
        {{thirteen("%1(x) = a*sin(b*x+c)")}, {}, "", "", 13},
        {{{"xa(t) = 8*cos(a*t)", "ya(t) = 8*sin(b*t)"}}, {}, "", "", 1},
        {{{"f(x) = a*sin(b*x+c)", "G(x) = F(x)"}}, {}, "", "", 1},
        {{{"f(x) = a*sin(b*x+c)", "xa(t) = t", "ya(t) = F(t)"}}, {}, "", "", 1},
        {{{"f(x) = x^3-2x", "g(x) = f''(x)*f'(x)/10+f(x)"}, 20000, -1.5, 1.5}, {}, "", "", 2},
        {{{"f(x) = 5*sin(x)*fill"}, 20000, -10, 10, {}, 1600}, {}, "", "", 1}, // 4 a column
        {{{doubling}, 500}, {}, "", "", 1}, // what 20000 samples of it cannot afford
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scene.lines.front() << " ... " << c.scene.lines.back()
                                        << " N=" << c.scene.samples);
        apply(c.scene);
        const std::int64_t before = state.engine.work();
        const auto begin = std::chrono::steady_clock::now();
        surface.clear();
        graph::drawLines(state, plotter, surface);
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - begin;
        const std::int64_t work = state.engine.work() - before;
        EXPECT_EQ(state.drawingReport.cutLines, c.cut);
        EXPECT_EQ(terms::cutLinesText(state),
                  QString::fromUtf8(c.names) + QString::fromUtf8(c.tail));
        for (int i = 0; i < c.fullLines; ++i)
            EXPECT_EQ(pointsOf(i), state.lines[i].sampleCount + 1) << "line " << i;
        if (c.cut.empty()) { // far from the budget, not just below it
            EXPECT_LT(work, state.linesInUse * graph::lineWorkBudget / 3);
        } else { // each cut line stops within its budget
            EXPECT_LE(work,
                      std::int64_t(c.cut.size()) * (graph::lineWorkBudget + 100'000) + 10'000'000);
        }
        // Minutes without the budget; a generous bound even for a slow build.
        EXPECT_LT(seconds.count(), 30.0);
        // Nothing of it outlives the redraw.
        EXPECT_EQ(state.engine.error(), 0);
        EXPECT_EQ(state.engine.workLimit(), platform::MathEngine::noWorkLimit);
        EXPECT_TRUE(state.drawingReport.notices.isEmpty());
    }
}

} // namespace
