// Speed of a redraw of the graph: 13 function lines a*sin(b*x+c)+d*x on a plot area 1600 pixels
// wide, one sample per pixel column, drawn into an image. "Cached" is a parameter change (the
// background is copied from the cache), "NewBackground" a range change (setscale, the background
// is drawn anew), "SamplingOnly" the evaluation and clipping of the lines without any pixels.

#include "core/state.h"
#include "engine/applydata.h"
#include "graph/drawsurface.h"
#include "graph/plotter.h"
#include "graph/redraw.h"
#include "graph/renderer.h"
#include "graph/scale.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int plotWidth = 1600, plotHeight = 1000;

struct Scene {
    core::State state;
    int firstParam = -1; // handle of a0; a moving parameter

    Scene() {
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
            if (i == 0) firstParam = a;
            const QString s = QString::fromStdString(n);
            state.lines[i].name = QStringLiteral("f") + s;
            state.lines[i].sampleCount = plotWidth;
            state.lines[i].lineType = 0;
            state.lineSlots[i].translated = QStringLiteral("a%1*sin(b%1*_x+c%1)+d%1*_x").arg(s);
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
    void polygon(std::span<const QPoint>, core::Colour) override {}
    void text(QPoint, const QString&) override {}
    QSize measureText(const QString& s) override { return QSize(int(s.size()) * 7, 14); }
};

void reportPerRedraw(benchmark::State& st) {
    st.counters["samples"] = double(core::lineCount * (plotWidth + 1));
}

void BM_Redraw_Cached(benchmark::State& st) {
    Scene scene;
    graph::GraphRenderer renderer;
    renderer.render(scene.state, QSize(plotWidth, plotHeight));
    double a = 1;
    for (auto _ : st) {
        a = a > 4 ? 1 : a + 0.01; // a parameter moves, as with a slider or a timer
        scene.state.engine.setVariable(scene.firstParam, a);
        benchmark::DoNotOptimize(renderer.render(scene.state, QSize(plotWidth, plotHeight)));
    }
    reportPerRedraw(st);
}
BENCHMARK(BM_Redraw_Cached)->Unit(benchmark::kMillisecond);

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
    reportPerRedraw(st);
}
BENCHMARK(BM_Redraw_NewBackground)->Unit(benchmark::kMillisecond);

void BM_Redraw_SamplingOnly(benchmark::State& st) {
    Scene scene;
    graph::Plotter plotter;
    NullSurface surface;
    double a = 1;
    for (auto _ : st) {
        a = a > 4 ? 1 : a + 0.01;
        scene.state.engine.setVariable(scene.firstParam, a);
        graph::drawLines(scene.state, plotter, surface);
    }
    reportPerRedraw(st);
}
BENCHMARK(BM_Redraw_SamplingOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Text needs fonts, fonts need a running application; no window is shown.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
