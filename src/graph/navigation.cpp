#include "graph/navigation.h"

#include "core/rounding.h"
#include "core/state.h"
#include "graph/scale.h"

#include <Qt>

#include <algorithm>
#include <cmath>

namespace graph {

namespace {

bool rangeUsable(double lo, double hi) {
    return std::isfinite(lo) && std::isfinite(hi) && std::isfinite(hi - lo) && lo < hi;
}

bool indexLost(double lo, double gridStart, double tickStep) {
    const double k = core::roundEven((lo - gridStart) / tickStep);
    return k + 0.01 == k;
}

// Shows a changed range: the range window's fields and the picture.
void showRange(core::State& state) {
    state.hooks.call(state.hooks.rangeWindowUpdate);
    state.hooks.call(state.hooks.redrawall);
}

// Runs setscale on the new range; a range that doubles cannot show (not finite, empty, or too
// fine for the grid index) gives way to the old one. Returns true when the new range stayed.
bool applyRange(core::State& state, const core::Ranges& old) {
    core::Ranges& r = state.ranges;
    bool kept = rangeUsable(r.xMin, r.xMax) && rangeUsable(r.yMin, r.yMax);
    if (kept) {
        setscale(state);
        kept = !precisionLost(state);
    }
    if (!kept) {
        r = old;
        setscale(state);
    }
    showRange(state);
    return kept &&
           (r.xMin != old.xMin || r.xMax != old.xMax || r.yMin != old.yMin || r.yMax != old.yMax);
}

// Zooms one axis by factor f about the world point m.
void zoomAxis(double& lo, double& hi, double m, double f) {
    const double span = hi - lo;
    lo = m - (m - lo) * f;
    hi = lo + f * span;
}

} // namespace

double worldX(const core::State& state, double x) {
    return x / state.scale.xmu + state.ranges.xMin;
}

double worldY(const core::State& state, double y) {
    return (state.scale.plotH - y) / state.scale.ymu + state.ranges.yMin;
}

QString readoutText(const core::State& state, double x, double y) {
    return QStringLiteral("   x: ") + numberText(worldX(state, x), state.scale.xNumberFormat) +
           QStringLiteral("        y: ") + numberText(worldY(state, y), state.scale.yNumberFormat);
}

namespace {

// Moves one axis by v percent of its span.
void scroll(core::State& state, double v, double core::Ranges::*lo, double core::Ranges::*hi,
            double span) {
    if (v == 0) return;
    const core::Ranges old = state.ranges;
    const double d = v * span / 100;
    state.ranges.*lo += d;
    state.ranges.*hi += d;
    applyRange(state, old);
}

} // namespace

void scrlr(core::State& state, double v) {
    scroll(state, v, &core::Ranges::xMin, &core::Ranges::xMax, state.scale.xRange);
}

void scrud(core::State& state, double v) {
    scroll(state, v, &core::Ranges::yMin, &core::Ranges::yMax, state.scale.yRange);
}

void parkop(core::State& state, const Navigation& nav, int button, double x, double y) {
    if ((button != leftButton && button != rightButton) || (nav.couplingMask & button) == 0 ||
        nav.coupledParameter < 0 || !nav.couple)
        return;
    const bool right = button == rightButton;
    nav.couple(nav.coupledParameter, right ? worldX(state, x) : worldY(state, y), right);
}

bool zoom(core::State& state, const Navigation& nav, int button, int shift, double x, double y) {
    const core::Ranges old = state.ranges;
    core::Ranges& r = state.ranges;
    const double mx = worldX(state, x), my = worldY(state, y);
    if (!nav.zoomLocked) {
        if (shift == 0) {
            parkop(state, nav, button, x, y);
            return false;
        }
        if (shift == shiftKey) {
            if (button == rightButton) { // the clicked point to the centre
                const double dx = (state.scale.plotW / 2 - x) / state.scale.xmu;
                const double dy = (y - state.scale.plotH / 2) / state.scale.ymu;
                r.xMin -= dx, r.xMax -= dx, r.yMin -= dy, r.yMax -= dy;
            } else if (button == leftButton) { // the origin to the clicked point
                r.xMin -= mx, r.xMax -= mx, r.yMin -= my, r.yMax -= my;
            }
        } else {
            const bool out = button == rightButton;
            if (shift & ctrlKey) zoomAxis(r.xMin, r.xMax, mx, out ? state.zoomX : 1 / state.zoomX);
            if (shift & altKey) zoomAxis(r.yMin, r.yMax, my, out ? state.zoomY : 1 / state.zoomY);
        }
    }
    return applyRange(state, old);
}

bool precisionLost(const core::State& state) {
    const core::Scale& s = state.scale;
    return indexLost(state.ranges.xMin, s.xGridStart, s.xTickStep) ||
           indexLost(state.ranges.yMin, s.yGridStart, s.yTickStep);
}

bool wheelZoom(core::State& state, const Navigation& nav, int steps, int shift, double x,
               double y) {
    const int axes = shift == ctrlKey ? ctrlKey : shift == shiftKey ? altKey : ctrlKey | altKey;
    const int button = steps > 0 ? leftButton : rightButton;
    bool changed = false;
    for (int i = 0; i < std::abs(steps); ++i)
        changed = zoom(state, nav, button, axes, x, y) || changed;
    return changed;
}

void pan(core::State& state, double dx, double dy) {
    if (dx == 0 && dy == 0) return;
    const core::Ranges old = state.ranges;
    core::Ranges& r = state.ranges;
    const double wx = dx / state.scale.xmu, wy = dy / state.scale.ymu;
    r.xMin -= wx, r.xMax -= wx, r.yMin += wy, r.yMax += wy;
    applyRange(state, old);
}

namespace {

// Pixels per unit on each axis.
double pixelsPerUnitX(const core::State& state) {
    return state.scale.xmu / std::max(state.tppX, 1);
}
double pixelsPerUnitY(const core::State& state) {
    return state.scale.ymu / std::max(state.tppY, 1);
}

void resizeAboutMiddle(double& lo, double& hi, double span) {
    lo += (hi - lo - span) / 2;
    hi = lo + span;
}

} // namespace

void einszueins(core::State& state, int button) {
    const core::Ranges old = state.ranges;
    core::Ranges& r = state.ranges;
    const double ratio = pixelsPerUnitX(state) / pixelsPerUnitY(state);
    if (button == leftButton)
        resizeAboutMiddle(r.yMin, r.yMax, state.scale.yRange / ratio);
    else if (button == rightButton)
        resizeAboutMiddle(r.xMin, r.xMax, state.scale.xRange * ratio);
    applyRange(state, old);
}

bool isOneToOne(const core::State& state) {
    const double x = pixelsPerUnitX(state), y = pixelsPerUnitY(state);
    return std::abs(x - y) <= 1e-6 * std::max(x, y);
}

bool navigationKey(core::State& state, const Navigation& nav, int key, int shift) {
    const double cx = state.scale.plotW / 2, cy = state.scale.plotH / 2;
    const double step = (shift & shiftKey) ? 5 : 1;
    const bool ctrl = shift & ctrlKey;
    switch (key) {
    case Qt::Key_Up:
        ctrl ? void(zoom(state, nav, leftButton, altKey, cx, cy)) : scrud(state, step);
        return true;
    case Qt::Key_Down:
        ctrl ? void(zoom(state, nav, rightButton, altKey, cx, cy)) : scrud(state, -step);
        return true;
    case Qt::Key_Left:
        ctrl ? void(zoom(state, nav, rightButton, ctrlKey, cx, cy)) : scrlr(state, -step);
        return true;
    case Qt::Key_Right:
        ctrl ? void(zoom(state, nav, leftButton, ctrlKey, cx, cy)) : scrlr(state, step);
        return true;
    case Qt::Key_Plus:
        zoom(state, nav, leftButton, ctrlKey | altKey, cx, cy);
        return true;
    case Qt::Key_Minus:
        zoom(state, nav, rightButton, ctrlKey | altKey, cx, cy);
        return true;
    case Qt::Key_X:
        einszueins(state, leftButton);
        return true;
    case Qt::Key_Y:
        einszueins(state, rightButton);
        return true;
    default:
        return false;
    }
}

bool pointNameKey(core::State& state, int key) {
    int dx = 0, dy = 0;
    switch (key) {
    case Qt::Key_8:
        dy = -1;
        break;
    case Qt::Key_2:
        dy = 1;
        break;
    case Qt::Key_4:
        dx = -1;
        break;
    case Qt::Key_6:
        dx = 1;
        break;
    default:
        return false;
    }
    if (state.hooks.movePointName && state.hooks.movePointName(dx, dy))
        state.hooks.call(state.hooks.redrawall);
    return true;
}

} // namespace graph
