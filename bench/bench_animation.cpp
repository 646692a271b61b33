// Speed of "Animation speichern": 100 frames of a plot area of 800 x 600 pixels written into an
// animated GIF, while the parameter a moves from 0,02 to 2 in steps of 0,02. The picture holds a
// family of three parabolas and a sine, all moved by a. Each frame is drawn (the background
// comes from the cache), reduced to the palette and compressed. The whole export should stay
// below 3 s in a Release build; it takes about 0,3 s of processor time (wall time 1,3 s on a
// machine busy with other builds).

#include "core/state.h"
#include "core/twips.h"
#include "mainwin/animation.h"
#include "session/plotarea.h"
#include "session/startup.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include "guimain.h"
#include <benchmark/benchmark.h>

namespace {

constexpr int width = 800, height = 600;

void BM_AnimationExport(benchmark::State& st) {
    core::State state;
    session::StartupSteps steps;
    steps.readSettings = false;
    steps.prepareWindows = [&state] {
        session::setPlotArea(state, core::pixelsToTwips(width, state.tppX),
                             core::pixelsToTwips(height, state.tppY));
        const QStringList lines = {
            QStringLiteral("f(x) = a*x^2"), QStringLiteral("g(x) = a*x^2 - 4"),
            QStringLiteral("h(x) = -a*x^2 + 4"), QStringLiteral("s(x) = 3*sin(x + a)")};
        for (int i = 0; i < lines.size(); ++i)
            state.termEditor.texts[std::size_t(i)] = lines[i];
        state.linesInUse = int(lines.size());
        state.lastLine = state.linesInUse - 1;
    };
    session::startup(state, core::defaultTwipsPerPixel, core::defaultTwipsPerPixel, steps);
    const int a = mainwin::slotOfName(state, QStringLiteral("a"));
    QTemporaryDir dir;
    if (a < 0 || !dir.isValid()) {
        st.SkipWithError("no parameter a or no temporary folder");
        return;
    }
    const mainwin::AnimationRequest request{dir.filePath(QStringLiteral("film.gif")),
                                            QSize(width, height),
                                            mainwin::defaultAnimationFps,
                                            {{a, 0.02, 2, 0.02}}};
    int frames = 0;
    for (auto _ : st) {
        const mainwin::AnimationOutcome outcome = mainwin::writeAnimation(state, request);
        if (outcome.result != mainwin::AnimationResult::Written) {
            st.SkipWithError("the animation was not written");
            return;
        }
        frames = outcome.frames;
    }
    st.counters["frames"] = frames;
    st.counters["frames_per_s"] =
        benchmark::Counter(double(frames) * double(st.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AnimationExport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return runDrawingBenchmarks(argc, argv);
}
