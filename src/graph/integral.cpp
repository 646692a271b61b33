#include "graph/integral.h"

#include "core/state.h"
#include "engine/enginedefs.h"
#include "graph/curve.h"
#include "graph/plotter.h"
#include "graph/scale.h"
#include "graph/sweep.h"
#include "graph/trace.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace graph {

namespace {

const QString defaultInfinityLimit = QStringLiteral("1E-10");
const QString curveModeError = QStringLiteral("Bei Integralfkt im Kurvenmodus unmöglicher Fehler ");

// Steps a direction may take before it reaches the samples that are drawn: a lower bound far
// outside the displayed range would otherwise keep the redraw busy for minutes.
constexpr std::int64_t maxApproachSteps = std::int64_t(1) << 20;

QString guardText(const QString& text, const QString& limit) {
    return QStringLiteral("iif(1/(1+abs(") + text + QStringLiteral("))<") + limit +
           QStringLiteral(",0,1)");
}

// The current value of the lower-bound parameter of line i.
double lowerBound(const core::State& state, int i) {
    const int slot = state.lines[i].slot;
    return state.params[slot >= 0 && slot < core::lineCount ? slot : i].value;
}

// The forward and the backward step text of an integrand. A bare integral name has no integrand
// to step with: the texts stay incomplete and the engine refuses them, which ends both
// directions at once.
std::array<QString, 2> stepTexts(const core::State& state, const QString& integrand, bool bare) {
    const QString tail = bare ? QString() : integrand;
    return {state.forwardStepText + tail, state.backwardStepText + tail};
}

// The engine variable sw for the time of one integration; the line's own step comes back
// afterwards.
class StepWidth {
public:
    StepWidth(core::State& state, double step, double restore) : state_(state), restore_(restore) {
        set(step);
    }
    ~StepWidth() { set(restore_); }
    StepWidth(const StepWidth&) = delete;
    StepWidth& operator=(const StepWidth&) = delete;

private:
    void set(double v) {
        if (state_.handles.sw >= 0) state_.engine.setVariable(state_.handles.sw, v);
    }
    core::State& state_;
    double restore_;
};

// Puts the engine variables of an integration step (qq, sw and the running variable) back at the
// end of a scope.
class KeptStepVariables {
public:
    explicit KeptStepVariables(core::State& state)
        : state_(state), qq_(value(state.handles.qq)), sw_(value(state.handles.sw)),
          running_(value(state.handles.x)) {}
    ~KeptStepVariables() {
        const core::EngineHandles& h = state_.handles;
        state_.engine.setVariable(h.qq, qq_);
        state_.engine.setVariable(h.sw, sw_);
        state_.engine.setVariable(h.x, running_);
    }
    KeptStepVariables(const KeptStepVariables&) = delete;
    KeptStepVariables& operator=(const KeptStepVariables&) = delete;

private:
    double value(int handle) const { return handle >= 0 ? state_.engine.variable(handle) : 0; }
    core::State& state_;
    double qq_, sw_, running_;
};

// F halfway between the last drawn point (where F is `from`) and the next one, for the pole test:
// half a step from the last point with the integrand taken halfway, at `at`. Half a rectangle
// step with the integrand of the whole step would always lie between the two points; the
// integrand halfway shows a pole between them instead: it is undefined there, or of the other
// sign, or more than twice as large. The running variable is left at `at`. False where the step
// cannot be evaluated.
bool halfway(core::State& state, const platform::Expression& step, double from, double at,
             double halfStep, double& value) {
    platform::MathEngine& engine = state.engine;
    const core::EngineHandles& h = state.handles;
    engine.setVariable(h.qq, from);
    engine.setVariable(h.sw, halfStep);
    engine.setVariable(h.x, at);
    value = engine.evaluate(step);
    const bool defined = engine.error() == 0;
    engine.clearError();
    return defined;
}

} // namespace

platform::Expression ifdl(core::State& state, const QString& text) {
    QString limit = state.infinityLimit.trimmed();
    limit.replace(QLatin1Char(','), QLatin1Char('.'));
    platform::Expression guard = state.engine.parse(guardText(text, limit).toStdString());
    if (!guard.valid() && limit != defaultInfinityLimit)
        guard = state.engine.parse(guardText(text, defaultInfinityLimit).toStdString());
    return guard;
}

void stammf(core::State& state, Plotter& plotter, DrawSurface& surface, const QString& term,
            int i) {
    platform::MathEngine& engine = state.engine;
    const core::EngineHandles& h = state.handles;
    if (i < 0 || i >= core::lineCount || h.x < 0 || h.qq < 0) return;

    const core::FuncLine& line = state.lines[i];
    const double sw = state.lineSlots[i].stepWidth;
    const double a = lowerBound(state, i);
    const double first = plotter.firstSample[i], last = plotter.lastSample[i];
    if (!(sw > 0) || !std::isfinite(sw) || !std::isfinite(a) || last < first) return;

    const auto texts =
        stepTexts(state, state.lineSlots[i].integralSpec, term == QStringLiteral("F(x)"));
    const double n = std::max(line.sampleCount, 1);
    const double xMin = state.ranges.xMin, yMin = state.ranges.yMin;
    const double ymu = state.scale.ymu;
    const double plotW = state.scale.plotW, plotH = state.scale.plotH;
    const double clipX = 2 * plotW, clipY = 2 * plotH;
    const double tppY = std::max(state.tppY, 1);
    const double toPixel = plotter.sampleToPixel;
    const bool discs = plotter.currentLineType > 0;
    // A sample count beyond what a picture can show is integrated with a coarser step.
    const std::int64_t stride = std::max(plotter.sampleStride[i], 1);
    const double stepWidth = sw * double(stride);
    const StepWidth step(state, stepWidth, sw);

    // The lower bound's position in samples; not rounded, so F(a) = 0 is drawn where a lies.
    const double kx = (a - xMin) * n / state.scale.xRange;

    // With the usual step texts the integrand alone goes to the engine, in sweeps; the limit of
    // the guard is the number its text gives.
    const bool bare = term == QStringLiteral("F(x)");
    const QString& integrandText = state.lineSlots[i].integralSpec;
    const bool usualSteps = state.forwardStepText == QStringLiteral("qq+sw*") &&
                            state.backwardStepText == QStringLiteral("qq-sw*");
    platform::Expression integrand;
    double infinityLimit = 1e-10;
    if (usualSteps && !bare) {
        integrand = engine.parse(integrandText.toStdString());
        QString limit = state.infinityLimit.trimmed();
        limit.replace(QLatin1Char(','), QLatin1Char('.'));
        const double l = engine.eval(limit.toStdString());
        if (engine.error() == 0) infinityLimit = l;
        engine.clearError();
    }
    const bool sweepable = integrand.valid();

    for (const int dir : {1, -1}) {
        // The line's work budget is spent: the other direction would fail at once.
        if (engine.workLimitReached()) break;
        const double approach = dir > 0 ? first - kx : kx - last;
        if (!(approach / double(stride) <= double(maxApproachSteps))) continue;

        const QString& text = texts[dir > 0 ? 0 : 1];
        const platform::Expression next = engine.parse(text.toStdString());
        if (!next.valid()) {
            engine.clearError();
            continue;
        }
        double value = 0;        // F at the current point
        double ty = -yMin * ymu; // its height
        Trace trace;
        trace.outY = ty;
        const auto middle = [&](double position, double&, double& v) {
            const KeptStepVariables kept(state);
            return halfway(state, next, trace.last.y, a + (position - kx) * sw, stepWidth / 2, v);
        };
        const auto drawPoint = [&](double position) {
            double tx = 0; // the column is the sample's, always inside
            double clipped = ty;
            trace.clip(tx, clipped, clipX, clipY);
            if (position < first || position > last) trace.skipSample = true;
            const SamplePoint p{position, 0, value, tx, clipped};
            trace.liftAtPole(discs, p, plotW, plotH, middle);
            trace.draw(surface, plotter, p, toPixel * position, (plotH - clipped) / tppY);
        };

        if (sweepable) {
            // The integrand a chunk at a time in sweeps of the engine; the step and its guard
            // computed here exactly as the engine computes their texts: qq+sw*f is (f*sw)+qq.
            const double ahead = dir > 0 ? last - kx : kx - first;
            const std::int64_t steps =
                std::max<std::int64_t>(1, std::int64_t(std::floor(ahead / double(stride))) + 2);
            const double signedStep = dir > 0 ? stepWidth : -stepWidth;
            const auto stepped = [&](double qq, double f) { return f * signedStep + qq; };
            const auto withinLimit = [&](double v) {
                return !(1.0 / (1.0 + std::abs(v)) < infinityLimit);
            };
            Sweep sweep(engine, integrand, h.x);
            std::int64_t chunkStart = 0, chunkEnd = 0;
            const auto f = [&](std::int64_t s, double& out) {
                if (s >= chunkEnd) {
                    chunkStart = s;
                    const std::int64_t count =
                        std::max<std::int64_t>(1, std::min<std::int64_t>(Sweep::chunk, steps - s));
                    chunkEnd = s + count;
                    sweep.take(int(count), [&](int j) {
                        return a + double((chunkStart + j) * dir * stride) * sw;
                    });
                }
                const int j = int(s - chunkStart);
                out = sweep.value(j);
                return sweep.defined(j);
            };
            double fPrev = 0;
            bool failed = !f(0, fPrev);
            double position = kx;
            for (std::int64_t s = 0;; ++s) {
                if (failed || !withinLimit(stepped(value, fPrev))) break;
                drawPoint(position);
                double fs = 0;
                if (f(s, fs)) {
                    value = stepped(value, fs);
                    failed = std::isnan(value);
                } else {
                    value = 0;
                    failed = true;
                }
                if (failed) value = 0;
                ty = (value - yMin) * ymu;
                fPrev = fs;
                position += double(dir * stride);
                if (dir > 0 ? position > last : position < first) break;
            }
            continue;
        }

        const platform::Expression guard = ifdl(state, text);
        if (!guard.valid()) {
            engine.clearError();
            continue;
        }
        engine.setVariable(h.x, a);
        engine.setVariable(h.qq, 0);
        std::int64_t k = 0;
        double position = kx;
        while (true) {
            if (engine.error() != 0) {
                engine.clearError();
                break;
            }
            if (engine.evaluate(guard) == 0) { // also when the guard cannot be evaluated
                engine.clearError();
                break;
            }
            drawPoint(position);

            engine.setVariable(h.x, a + double(k) * sw);
            value = engine.evaluate(next);
            engine.setVariable(h.qq, value);
            ty = (value - yMin) * ymu;

            k += dir * stride;
            position += double(dir * stride);
            if (dir > 0 ? position > last : position < first) break;
        }
    }
    engine.clearError();
}

void stammk(core::State& state, Plotter& plotter, DrawSurface& surface, const QString& term,
            int i) {
    platform::MathEngine& engine = state.engine;
    const core::EngineHandles& h = state.handles;
    if (i < 0 || i >= core::lineCount || h.x < 0 || h.qq < 0) return;
    const int partner = state.lines[i].kind;
    if (partner < 0 || partner >= core::lineCount) return;
    const QString& integrand = state.lineSlots[partner].integralSpec;
    if (integrand.isEmpty()) return;

    const core::FuncLine& line = state.lines[i];
    const double tLo = line.intervalFrom, tHi = line.intervalTo;
    const double lo = std::min(tLo, tHi), hi = std::max(tLo, tHi);

    const double sw = state.lineSlots[i].stepWidth; // negative when tLo lies above tHi
    const double a = lowerBound(state, partner);
    if (!(sw != 0) || !std::isfinite(sw) || !std::isfinite(a)) return;
    const std::int64_t n = std::max(line.sampleCount, 1);
    const std::int64_t stride = sampleStride(n);
    const double stepT = sw * double(stride);
    // Samples land on the bounds only up to rounding.
    const double tolerance = std::abs(stepT) * 1e-6;
    if (a < lo - tolerance || a > hi + tolerance) return; // nothing of it inside the interval

    const platform::Expression xExpr = engine.parse(makemx(term).toStdString());
    const platform::Expression xGuard = ifdl(state, term);
    if (!xExpr.valid() || !xGuard.valid()) {
        engine.clearError();
        return;
    }

    const auto texts = stepTexts(state, integrand, term == QStringLiteral("X(t)"));
    const double yMin = state.ranges.yMin, ymu = state.scale.ymu;
    const double plotW = state.scale.plotW, plotH = state.scale.plotH;
    const double clipX = 2 * plotW, clipY = 2 * plotH;
    const double tppX = std::max(state.tppX, 1), tppY = std::max(state.tppY, 1);
    const bool discs = plotter.currentLineType > 0;
    const StepWidth step(state, stepT, sw);
    // Every sample of the interval at most, whatever rounding does to the bound test.
    const std::int64_t maxSteps = n / stride + 2;

    for (const int dir : {1, -1}) {
        const QString& text = texts[dir > 0 ? 0 : 1];
        const platform::Expression next = engine.parse(text.toStdString());
        const platform::Expression guard = ifdl(state, text);
        if (!next.valid() || !guard.valid()) {
            engine.clearError();
            continue;
        }

        double t = a;
        double value = 0;        // F at t
        double ty = -yMin * ymu; // its height
        engine.setVariable(h.x, t);
        engine.setVariable(h.qq, 0);
        Trace trace;
        const auto middle = [&](double at, double& x, double& y) {
            const KeptStepVariables kept(state);
            if (!halfway(state, next, trace.last.y, at, stepT / 2, y)) return false;
            x = engine.evaluate(xExpr);
            const bool defined = engine.error() == 0;
            engine.clearError();
            return defined;
        };
        std::int64_t k = 0;
        for (std::int64_t s = 0; s <= maxSteps; ++s) {
            // The guards first: a value that grows beyond the limit, or that cannot be
            // evaluated at all, ends the direction silently.
            if (engine.evaluate(guard) == 0 || engine.evaluate(xGuard) == 0) {
                engine.clearError();
                break;
            }
            // The x value of the point F belongs to: F was stepped to t, so x is taken at t.
            double tx = engine.evaluate(xExpr);
            if (engine.error() != 0) break;
            const double xValue = tx;
            double clipped = ty;
            trace.clip(tx, clipped, clipX, clipY);
            const SamplePoint p{t, xValue, value, tx, clipped};
            trace.liftAtPole(discs, p, plotW, plotH, middle);
            trace.draw(surface, plotter, p, tx / tppX, (plotH - clipped) / tppY);

            value = engine.evaluate(next);
            if (engine.error() != 0) break;
            engine.setVariable(h.qq, value);
            ty = (value - yMin) * ymu;

            k += dir * stride;
            t = a + double(k) * sw;
            if (t < lo - tolerance || t > hi + tolerance) break;
            engine.setVariable(h.x, t);
        }
        if (engine.error() == 0) continue;
        // The line's work budget is spent: the redraw says so, and the other direction would
        // fail at once.
        const bool spent = engine.workLimitReached();
        // Otherwise only what the guards let through comes here, such as a value that is not a
        // number although the guard could still compare it.
        if (!spent) state.drawingReport.addNotice(curveModeError + engine::errtext(engine, -1));
        engine.clearError();
        if (spent) break;
    }
}

} // namespace graph
