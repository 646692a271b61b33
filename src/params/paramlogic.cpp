#include "params/paramlogic.h"

#include "core/intervals.h"
#include "core/numbers.h"
#include "core/rounding.h"
#include "core/scopes.h"
#include "core/state.h"
#include "graph/scale.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace params {

namespace {

// Slots 13 ... 27 count samples; only 13 ... 25 belong to a line.
constexpr int endSampleCountSlots = core::firstFreeParamSlot;
constexpr int endLineSampleCountSlots = core::firstSampleCountSlot + core::lineCount;

bool validSlot(int k) {
    return k >= 0 && k < core::paramCount;
}
bool isLowerBound(int k) {
    return k < core::firstSampleCountSlot;
}
bool isSampleCount(int k) {
    return k >= core::firstSampleCountSlot && k < endSampleCountSlots;
}
bool takesWholeNumbers(const core::ParamSlot& p) {
    return p.label.endsWith(QStringLiteral("_int"));
}

// The line a lower-bound or sample-count slot belongs to; none for the other slots.
core::FuncLine* ownerLine(core::State& state, int k) {
    if (k >= endLineSampleCountSlots) return nullptr;
    const int owner = state.params[k].owner;
    if (owner < 0 || owner >= core::lineCount) return nullptr;
    return &state.lines[owner];
}

// The range of an integral function's lower bound: the displayed x range for a function line,
// the curve interval otherwise. Never empty, never reversed.
std::pair<double, double> lowerBoundRange(core::State& state, int k) {
    const core::FuncLine* line = ownerLine(state, k);
    double lo = state.ranges.xMin;
    double hi = state.ranges.xMax;
    if (line && line->kind != core::kindFunction && std::isfinite(line->intervalFrom) &&
        std::isfinite(line->intervalTo)) {
        lo = line->intervalFrom;
        hi = line->intervalTo;
    }
    // A curve interval may run downwards; the bound may lie anywhere between its ends.
    if (hi < lo) std::swap(lo, hi);
    if (lo == hi) hi = lo + 1;
    return {lo, hi};
}

// Sample counts are whole numbers from 2 on; the line draws one sample fewer.
double applySampleCount(core::State& state, int k, double v) {
    v = std::min(std::trunc(std::abs(v)), double(maxSampleCount));
    if (k < endLineSampleCountSlots) {
        v = std::max(v, 2.0);
        if (core::FuncLine* line = ownerLine(state, k)) line->sampleCount = int(v) - 1;
    }
    return v;
}

void showValue(core::ParamSlot& p, double v) {
    p.valueText = core::germanNumber(v);
}

// Bounds are shown with all the digits a user may have typed (not in the axis-label format,
// which shows 0,001 as "0"), so that an Enter in either field reads back the bounds in place.
void showBounds(core::ParamSlot& p, double lo, double hi) {
    p.lowerText = core::germanNumber(lo);
    p.upperText = core::germanNumber(hi);
}

void notify(core::State& state, int k) {
    state.hooks.call(state.hooks.paramChanged, k);
}

void refresh(core::State& state) {
    // Interval bounds may be terms of the parameter.
    core::evalintervals(state);
    state.hooks.call(state.hooks.redrawall);
    state.hooks.call(state.hooks.docalc);
}

// Moves the slider to position; the slider's own reaction is changepar, otherwise the picture is
// refreshed directly.
void moveSliderTo(core::State& state, int k, int position) {
    core::ParamSlot& p = state.params[k];
    if (position != p.sliderPos) {
        p.sliderPos = position;
        changepar(state, k);
    } else {
        refresh(state);
    }
}

} // namespace

int sliderPosition(double v, double minimum, double maximum) {
    const double span = maximum - minimum;
    if (!(span != 0)) return 0;
    double position = (v - minimum) * sliderMax / span;
    if (!std::isfinite(span)) // bounds near the largest doubles: the same ratio at half size
        position = (v / 2 - minimum / 2) / (maximum / 2 - minimum / 2) * sliderMax;
    if (std::isnan(position)) return 0;
    return int(core::roundEven(std::clamp(position, 0.0, double(sliderMax))));
}

double sliderValue(int position, double minimum, double maximum) {
    const double v = minimum + (maximum - minimum) * position / sliderMax;
    if (std::isfinite(v)) return v;
    // The span overflows for bounds near the largest doubles; weigh the bounds instead.
    const double t = double(position) / sliderMax;
    return minimum * (1 - t) + maximum * t;
}

void setValue(core::State& state, int k, double v) {
    if (!validSlot(k)) return;
    core::ParamSlot& p = state.params[k];
    p.value = v;
    if (p.handle != -1) state.engine.setVariable(p.handle, v);
}

void init(core::State& state, int k) {
    if (!validSlot(k)) return;
    core::ParamSlot& p = state.params[k];

    if (isSampleCount(k))
        p.caption = QStringLiteral("Stützstellenanzahl für ") + p.label.mid(3);
    else if (k >= core::firstFreeParamSlot)
        p.caption = QStringLiteral("Parameter: ") + p.label;
    else
        p.caption = p.label;

    p.valueHighlighted = k < core::firstFreeParamSlot;
    p.boundsLocked = isLowerBound(k);
    core::FuncLine* line = ownerLine(state, k);
    if (isSampleCount(k) && line) p.value = line->sampleCount + 1;
    if (isLowerBound(k)) {
        if (line) p.value = line->lowerBound;
        const auto [lo, hi] = lowerBoundRange(state, k);
        p.minimum = lo;
        p.maximum = hi;
    }

    setValue(state, k, p.value);
    p.rangeFlags = 0;
    p.settingFlag = false;

    setparb(state, k, p.minimum, p.maximum);
    setpar(state, k, p.value);
}

void changepar(core::State& state, int k) {
    if (!validSlot(k)) return;
    core::ParamSlot& p = state.params[k];
    if (p.rangeFlags & 7) state.hooks.call(state.hooks.rangeRowsReread);

    double v;
    if (p.settingFlag) {
        v = p.value;
    } else {
        if (isLowerBound(k)) {
            // The bounds follow the x range, which may have changed since the window was set up.
            const auto [lo, hi] = lowerBoundRange(state, k);
            v = sliderValue(p.sliderPos, lo, hi);
        } else {
            v = sliderValue(p.sliderPos, p.minimum, p.maximum);
        }
        showValue(p, v);
        setValue(state, k, v);
    }

    if (isLowerBound(k)) {
        if (core::FuncLine* line = ownerLine(state, k)) line->lowerBound = v;
    } else if (k >= core::firstFreeParamSlot && takesWholeNumbers(p)) {
        v = std::floor(v);
        showValue(p, v);
        setValue(state, k, v);
    } else if (isSampleCount(k)) {
        v = applySampleCount(state, k, v);
        showValue(p, v);
        setValue(state, k, v);
        graph::setsteps(state);
    }

    refresh(state);
    notify(state, k);
}

void setpar(core::State& state, int k, double v) {
    if (!validSlot(k)) return;
    core::ParamSlot& p = state.params[k];
    if (!std::isfinite(v)) {
        // A field that evaluates to no number must not reach the engine or the line.
        showValue(p, p.value);
        notify(state, k);
        return;
    }

    if (!isLowerBound(k)) {
        const core::SettingScope setting(p);
        if (isSampleCount(k)) {
            v = applySampleCount(state, k, v);
            const int owner = p.owner;
            if (k < endLineSampleCountSlots && owner >= 0 && owner < core::lineCount &&
                state.lines[owner].kind == core::kindFunction)
                state.lineSlots[owner].stepWidth = state.scale.xRange / (v - 1);
        }
        if (takesWholeNumbers(p)) v = std::floor(v);
        const int position = sliderPosition(v, p.minimum, p.maximum);
        setValue(state, k, v);
        moveSliderTo(state, k, position);
        showValue(p, v);
    } else {
        const auto [lo, hi] = lowerBoundRange(state, k);
        // The bounds shown are those the slider maps to.
        if (lo != p.minimum || hi != p.maximum) {
            p.minimum = lo;
            p.maximum = hi;
            showBounds(p, lo, hi);
        }
        if (!(v >= lo && v <= hi)) v = lo / 2 + hi / 2;
        setValue(state, k, v);
        if (core::FuncLine* line = ownerLine(state, k)) line->lowerBound = v;
        // The slider's reaction must take v itself, not the value of its rounded position.
        {
            const core::SettingScope setting(p);
            moveSliderTo(state, k, sliderPosition(v, lo, hi));
        }
        showValue(p, v);
    }
    notify(state, k);
}

void chpari(core::State& state, int k) {
    if (!validSlot(k)) return;
    core::ParamSlot& p = state.params[k];
    // A field the engine cannot read keeps its present bound, and so does a field left as shown.
    double lo = core::rereadnum(state.engine, p.lowerText, p.minimum).value_or(p.minimum);
    double hi = core::rereadnum(state.engine, p.upperText, p.maximum).value_or(p.maximum);

    if (!(lo < hi) || !std::isfinite(lo) || !std::isfinite(hi)) {
        state.messages->inform(QStringLiteral("Ungültige Parametergrenzen von ") + p.label +
                                   QStringLiteral(":"),
                               QStringLiteral("Untere Grenze muss kleiner sein als obere Grenze!"),
                               platform::MessageIcon::Critical);
        lo = p.minimum;
        hi = p.maximum;
    }
    if (isSampleCount(k) && !(lo >= 2 && hi <= maxSampleCount)) {
        state.messages->inform(QStringLiteral("Fehlerhafte Eingabe"),
                               QStringLiteral("Stützstellenanzahl muss im Bereich [2; 20000] "
                                              "liegen!"),
                               platform::MessageIcon::Critical);
        lo = p.minimum;
        hi = p.maximum;
    }
    setparb(state, k, lo, hi);
}

void couple(core::State& state, int k, double v, const QString& format) {
    if (!validSlot(k) || state.params[k].handle < 0) return;
    setpar(state, k, v);
    state.params[k].valueText = graph::numberText(state.params[k].value, format);
    notify(state, k);
}

void setparb(core::State& state, int k, double a, double b) {
    if (!validSlot(k)) return;
    core::ParamSlot& p = state.params[k];
    if (!std::isfinite(a) || !std::isfinite(b)) {
        a = p.minimum;
        b = p.maximum;
    }
    showBounds(p, a, b);
    p.minimum = a;
    p.maximum = b;
    setpar(state, k, p.value);
}

void moveSlider(core::State& state, int k, int position) {
    if (!validSlot(k)) return;
    state.params[k].sliderPos = std::clamp(position, 0, sliderMax);
    changepar(state, k);
}

void enterValue(core::State& state, int k, const QString& text) {
    if (!validSlot(k)) return;
    // A text the engine cannot read (or none) keeps the value; setpar shows it again. The text
    // as shown stands for the value with all its digits (1/3, not 0,333333333333333).
    const core::ParamSlot& p = state.params[k];
    setpar(state, k,
           core::rereadnum(state.engine, text, p.value)
               .value_or(std::numeric_limits<double>::quiet_NaN()));
}

} // namespace params
