// Speed of a redraw of the graph: 13 function lines a*sin(b*x+c)+d*x on a plot area 1600 pixels
// wide, one sample per pixel column, drawn into an image. "Cached" is a parameter change (the
// background is restored from the cache where the last lines lay), "NewBackground" a range change
// (setscale, the background is drawn anew), "SamplingOnly" the evaluation and clipping of the lines
// without any pixels. "CurvesAndIntegrals" draws 6 parametric curves and 6 integral functions of
// 1000 samples each. "DenseSines" draws 13 lines a*sin(b*x+c) with 20000 samples each, the heaviest
// ordinary drawing; "Recursive" 13 lines f(x) = iif(x<1; 1; f(x-1)+f(x-1)) with 20000 samples each,
// whose calls double with every unit of x, so that each line stops at its work budget.
// "NavigationStep" is one zoom click on the plot area as the graph window handles it: the range
// changes, setscale, and the redraw that follows draws the background anew; it should stay
// below 8 ms in a Release build, so that holding a key or turning the wheel feels immediate.
// "DevicePixels" is "Cached" at device pixel ratio 2 (3200 x 2000 pixels, 3200 samples a line)
// with pole- and jump-aware sampling; it should stay below 2 ms. The screen's renderer sets the
// pixels of thin lines on a second thread, so every benchmark that draws pixels counts wall time.

#include "core/state.h"
#include "engine/linedefs.h"
#include "graph/drawsurface.h"
#include "graph/navigation.h"
#include "graph/plotter.h"
#include "graph/redraw.h"
#include "graph/renderer.h"
#include "graph/scale.h"

#include <QGuiApplication>

#include "guimain.h"
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

constexpr int plotWidth = 1600, plotHeight = 1000;

struct Scene {
    core::State state;
    static constexpr double samplesPerRedraw = core::lineCount * (plotWidth + 1);
    int moving = -1; // handle of a0, the parameter that a slider or a timer moves

    explicit Scene(int samples = plotWidth,
                   const QString& term = QStringLiteral("a%1*sin(b%1*_x+c%1)+d%1*_x")) {
        engine::resetengine(state);
        state.busyFlag = 0;
        state.scale.plotW = plotWidth * 15.0;
        state.scale.plotH = plotHeight * 15.0;
        for (int i = 0; i < core::lineCount; ++i) {
            const std::string n = std::to_string(i);
            const int a = state.engine.defineVariable("a" + n + "=" + std::to_string(1 + i % 5));
            state.engine.defineVariable("b" + n + "=" + std::to_string(0.5 + 0.25 * i));
            state.engine.defineVariable("c" + n + "=" + std::to_string(0.3 * i));
            state.engine.defineVariable("d" + n + "=" + std::to_string(0.1 * (i - 6)));
            state.engine.defineFunction("r" + n + "(_x)=iif(_x<1,1,r" + n + "(_x-1)+r" + n +
                                        "(_x-1))");
            if (i == 0) moving = a;
            const QString s = QString::fromStdString(n);
            state.lines[i].name = QStringLiteral("f") + s;
            state.lines[i].sampleCount = samples;
            state.lines[i].lineType = 0;
            state.lineSlots[i].translated = term.arg(s);
        }
        state.lastLine = core::lineCount - 1;
        state.linesInUse = core::lineCount;
        graph::setscale(state);
    }
};

struct DenseSineScene : Scene {
    static constexpr int samples = 20000;
    static constexpr double samplesPerRedraw = core::lineCount * (samples + 1);
    DenseSineScene() : Scene(samples, QStringLiteral("a%1*sin(b%1*_x+c%1)")) {}
};

struct RecursiveScene : Scene {
    static constexpr int samples = 20000;
    static constexpr double samplesPerRedraw = core::lineCount * (samples + 1);
    RecursiveScene() : Scene(samples, QStringLiteral("r%1(_x)")) {}
};

// Six curves x_i(t) = cos(p_i*t + q) with the one y line sin(r*t) (thirteen lines cannot hold
// six pairs beside six integral functions, so the curves share their y line), and six integral
// functions of the line functions g_i(x) = a_i*sin(b_i*x) + c_i*x, each from its own lower
// bound.
struct CurveScene {
    static constexpr int samples = 1000;
    static constexpr int curves = 6, yLine = 6, firstIntegral = 7;
    static constexpr double samplesPerRedraw = 12 * (samples + 1);
    core::State state;
    int moving = -1; // handle of q, a moving parameter

    CurveScene() {
        engine::resetengine(state);
        state.busyFlag = 0;
        state.scale.plotW = plotWidth * 15.0;
        state.scale.plotH = plotHeight * 15.0;
        platform::MathEngine& e = state.engine;
        moving = e.defineVariable("q=0.5");
        e.defineVariable("r=3");
        for (int i = 0; i < curves; ++i) {
            const QString s = QString::number(i);
            e.defineVariable(QStringLiteral("p%1=%2").arg(i).arg(1 + i).toStdString());
            core::FuncLine& line = state.lines[i];
            line.name = QStringLiteral("xa") + s;
            line.kind = yLine;
            line.sampleCount = samples;
            line.lowerText = QStringLiteral("0");
            line.upperText = QStringLiteral("2*pi");
            state.lineSlots[i].translated = QStringLiteral("8*cos(p%1*_x+q)").arg(s);
        }
        state.lines[yLine].name = QStringLiteral("ya");
        state.lines[yLine].kind = core::kindCurvePart;
        state.lineSlots[yLine].translated = QStringLiteral("8*sin(r*_x)");
        for (int i = firstIntegral; i < core::lineCount; ++i) {
            const QString s = QString::number(i);
            auto define = [&](const QString& text) { return text.arg(s).toStdString(); };
            e.defineVariable(define(QStringLiteral("a%1=") + QString::number(0.5 + 0.1 * i)));
            e.defineVariable(define(QStringLiteral("b%1=") + QString::number(0.2 * i)));
            e.defineVariable(define(QStringLiteral("c%1=") + QString::number(0.02 * (i - 9))));
            e.defineFunction(define(QStringLiteral("g%1(_x)=a%1*sin(b%1*_x)+c%1*_x")));
            state.lines[i].name = QStringLiteral("G") + s;
            state.lines[i].sampleCount = samples;
            state.lineSlots[i].translated = QStringLiteral("G%1(_x)").arg(s);
            state.lineSlots[i].integralSpec = QStringLiteral("(g%1(_x))").arg(s);
            state.params[i].value = -5 + i % 3; // the lower bound
        }
        state.lastLine = core::lineCount - 1;
        state.linesInUse = core::lineCount;
        graph::setscale(state);
    }
};

// Takes everything and draws nothing.
class NullSurface : public graph::DrawSurface {
public:
    void setPen(const graph::Pen&) override {}
    void setFont(const graph::Font&) override {}
    void setTextColour(core::Colour) override {}
    void moveTo(QPoint p) override { benchmark::DoNotOptimize(p); }
    void lineTo(QPoint p) override { benchmark::DoNotOptimize(p); }
    void polyline(std::span<const QPoint>) override {}
    void disc(QPoint, int, core::Colour) override {}
    void ring(QPoint, int, core::Colour) override {}
    void polygon(std::span<const QPoint>, core::Colour) override {}
    void text(QPoint, const QString&) override {}
    QSize measureText(const QString& s) override { return QSize(int(s.size()) * 7, 14); }
};

// Counts the points drawn, so that the report shows that the scene draws what it should.
class CountingSurface : public NullSurface {
public:
    void moveTo(QPoint p) override {
        ++points;
        NullSurface::moveTo(p);
    }
    void lineTo(QPoint p) override {
        ++points;
        NullSurface::lineTo(p);
    }
    std::int64_t points = 0;
};

// The value of the moving parameter at the next redraw, as with a slider or a timer.
double nextValue(double v) {
    return v > 3 ? 0 : v + 0.01;
}

// A parameter moves; the background comes from the cache.
template <typename S> void redrawCached(benchmark::State& st) {
    S scene;
    graph::GraphRenderer renderer;
    renderer.render(scene.state, QSize(plotWidth, plotHeight));
    double v = 0;
    for (auto _ : st) {
        v = nextValue(v);
        scene.state.engine.setVariable(scene.moving, v);
        benchmark::DoNotOptimize(renderer.render(scene.state, QSize(plotWidth, plotHeight)));
    }
    st.counters["samples"] = S::samplesPerRedraw;
}

// Sampling and clipping alone: no pixels are set.
template <typename S> void samplingOnly(benchmark::State& st) {
    S scene;
    graph::Plotter plotter;
    CountingSurface surface;
    double v = 0;
    for (auto _ : st) {
        v = nextValue(v);
        scene.state.engine.setVariable(scene.moving, v);
        graph::drawLines(scene.state, plotter, surface);
    }
    st.counters["samples"] = S::samplesPerRedraw;
    st.counters["drawn"] =
        benchmark::Counter(double(surface.points), benchmark::Counter::kAvgIterations);
}

void BM_Redraw_Cached(benchmark::State& st) {
    redrawCached<Scene>(st);
}
BENCHMARK(BM_Redraw_Cached)->Unit(benchmark::kMillisecond)->UseRealTime();

// A parameter moves on a plot of 1600 x 1000 logical pixels at a device pixel ratio of 2: one
// sample per device pixel column (3200 a line), the background cached, poles and jumps refined.
// Should stay below 2 ms in a Release build.
void BM_Redraw_DevicePixels(benchmark::State& st) {
    Scene scene(2 * plotWidth);
    scene.state.graphOptions.refineSampling = true;
    graph::GraphRenderer renderer;
    renderer.render(scene.state, QSize(plotWidth, plotHeight), 2.0);
    double v = 0;
    for (auto _ : st) {
        v = nextValue(v);
        scene.state.engine.setVariable(scene.moving, v);
        benchmark::DoNotOptimize(renderer.render(scene.state, QSize(plotWidth, plotHeight), 2.0));
    }
    st.counters["samples"] = core::lineCount * (2 * plotWidth + 1);
}
BENCHMARK(BM_Redraw_DevicePixels)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Redraw_NewBackground(benchmark::State& st) {
    Scene scene;
    graph::GraphRenderer renderer;
    renderer.render(scene.state, QSize(plotWidth, plotHeight));
    double shift = 0;
    for (auto _ : st) {
        shift = shift > 5 ? 0 : shift + 0.1; // scrolling: the range moves
        scene.state.ranges.xMin = -10 + shift;
        scene.state.ranges.xMax = 10 + shift;
        graph::setscale(scene.state);
        benchmark::DoNotOptimize(renderer.render(scene.state, QSize(plotWidth, plotHeight)));
    }
    st.counters["samples"] = Scene::samplesPerRedraw;
}
BENCHMARK(BM_Redraw_NewBackground)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Redraw_NavigationStep(benchmark::State& st) {
    Scene scene;
    graph::GraphRenderer renderer;
    graph::Navigation nav;
    scene.state.hooks.redrawall = [&] {
        benchmark::DoNotOptimize(renderer.render(scene.state, QSize(plotWidth, plotHeight)));
    };
    renderer.render(scene.state, QSize(plotWidth, plotHeight));
    // Off the centre, so that each step also moves the range; in and out by turns keeps it near.
    const double x = scene.state.scale.plotW * 0.3, y = scene.state.scale.plotH * 0.6;
    bool in = true;
    for (auto _ : st) {
        graph::zoom(scene.state, nav, in ? graph::leftButton : graph::rightButton,
                    graph::ctrlKey | graph::altKey, x, y);
        in = !in;
    }
    st.counters["samples"] = Scene::samplesPerRedraw;
}
BENCHMARK(BM_Redraw_NavigationStep)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Redraw_SamplingOnly(benchmark::State& st) {
    samplingOnly<Scene>(st);
}
BENCHMARK(BM_Redraw_SamplingOnly)->Unit(benchmark::kMillisecond);

void BM_Redraw_CurvesAndIntegrals_Cached(benchmark::State& st) {
    redrawCached<CurveScene>(st);
}
BENCHMARK(BM_Redraw_CurvesAndIntegrals_Cached)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Redraw_CurvesAndIntegrals_SamplingOnly(benchmark::State& st) {
    samplingOnly<CurveScene>(st);
}
BENCHMARK(BM_Redraw_CurvesAndIntegrals_SamplingOnly)->Unit(benchmark::kMillisecond);

void BM_Redraw_DenseSines_Cached(benchmark::State& st) {
    redrawCached<DenseSineScene>(st);
}
BENCHMARK(BM_Redraw_DenseSines_Cached)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Redraw_Recursive_Cached(benchmark::State& st) {
    redrawCached<RecursiveScene>(st);
}
BENCHMARK(BM_Redraw_Recursive_Cached)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return runDrawingBenchmarks(argc, argv);
}
