#include "session/startup.h"

#include "core/defaults.h"
#include "core/state.h"
#include "engine/enginedefs.h"
#include "engine/linedefs.h"
#include "engine/settingsfile.h"
#include "graph/scale.h"
#include "params/paramlogic.h"
#include "session/applydata.h"
#include "session/ranges.h"
#include "terms/termcheck.h"

#include <QStandardPaths>

namespace session {

void startupState(core::State& state) {
    state.engine.eval("");
    state.busyFlag = 1;
    state.initrecords();
    for (auto& line : state.lines)
        line.lowerBound = 0;
    state.ranges = core::Ranges{};
    state.linesInUse = 0;
    core::defaults(state);
    for (auto& p : state.params) {
        p.handle = -1;
        p.minimum = -10;
        p.maximum = 10;
        p.step = 1;
    }
    engine::resetengine(state);
    defintegralparams(state);
    engine::initengine(state.engine);
    graph::setscale(state);
    state.hooks.applydata = [&state] { applydata(state); };
    // The range window takes these over; without it the ranges still follow intervals and
    // parameters.
    state.hooks.rangeApply = [&state] { applyRanges(state); };
    state.hooks.rangeRowsReread = [&state] { rereadRanges(state); };
}

void startup(core::State& state, int tppX, int tppY, const StartupSteps& steps) {
    state.tppX = tppX;
    state.tppY = tppY;
    if (state.configFolder.isEmpty())
        state.configFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    startupState(state);
    if (steps.readSettings) {
        engine::loadsettings(state);
        // The grid settings just read decide the tick steps.
        graph::setscale(state);
    }
    if (steps.prepareWindows) steps.prepareWindows();
    state.busyFlag = 0;
    if (steps.arrange) steps.arrange();
    if (steps.drawKeptWork && steps.drawKeptWork()) return;
    terms::findandgetpre(state, 0);
}

void restoreDefaults(core::State& state) {
    core::defaults(state);
    graph::setscale(state);
    // The lines' sample counts went back to 499; their windows must not go on showing the old
    // counts.
    for (int k = core::firstSampleCountSlot; k < core::firstSampleCountSlot + core::lineCount; ++k)
        if (state.params[k].handle != -1) params::init(state, k);
}

} // namespace session
