#include "session/plotarea.h"

#include "core/rounding.h"
#include "core/scopes.h"
#include "core/state.h"
#include "graph/scale.h"
#include "params/paramlogic.h"

#include <algorithm>

namespace session {

void setPlotArea(core::State& state, double plotW, double plotH, double devicePixelRatio) {
    state.scale.plotW = plotW;
    state.scale.plotH = plotH;

    if (!state.keepSampleCount) {
        // A line never draws fewer than one sample interval, however narrow the window.
        const double ratio = devicePixelRatio >= 1 && devicePixelRatio <= 4 ? devicePixelRatio : 1;
        const int count = std::max<int>(1, core::round16(plotW / std::max(state.tppX, 1) * ratio));
        const core::BusyScope busy(state); // the parameter windows must not redraw 13 times
        for (int i = 0; i < core::lineCount; ++i) {
            core::FuncLine& line = state.lines[i];
            line.sampleCount = count;
            const int k = core::firstSampleCountSlot + line.slot;
            if (k < core::firstSampleCountSlot || k >= core::firstFreeParamSlot) continue;
            core::ParamSlot& p = state.params[k];
            // A slot without a line has no window and no owner yet; the data-set assembly
            // takes the line's count when the line gets a name.
            if (p.handle == -1 || p.owner != i)
                p.value = count + 1;
            else
                params::setpar(state, k, count + 1);
        }
    }
    graph::setscale(state);
}

} // namespace session
