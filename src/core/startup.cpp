#include "core/startup.h"

#include "core/state.h"
#include "engine/applydata.h"
#include "engine/enginedefs.h"
#include "graph/scale.h"

namespace core {

void defaults(State& state) {
    state.trigMode = 1;
    state.engine.setTrigMode(1);
    state.autoIntegralRecognition = false;
    // The grid settings go back to the factory values; the plot area stays as the window has it.
    const double plotW = state.scale.plotW, plotH = state.scale.plotH;
    state.scale = Scale{};
    state.scale.plotW = plotW;
    state.scale.plotH = plotH;
    state.graphOptions = GraphOptions{};
    state.resetColours();
    for (int i = 0; i < lineCount; ++i) {
        state.lineSlots[i].width = 0;
        state.lineSlots[i].widthOverride = -1;
        state.lines[i].sampleCount = 499;
    }
}

void startupState(State& state) {
    state.engine.eval("");
    state.busyFlag = 1;
    state.initrecords();
    for (auto& line : state.lines)
        line.lowerBound = 0;
    state.ranges = Ranges{};
    state.linesInUse = 0;
    defaults(state);
    for (auto& p : state.params) {
        p.handle = -1;
        p.minimum = -10;
        p.maximum = 10;
        p.step = 1;
    }
    engine::resetengine(state);
    engine::defintegralparams(state);
    engine::initengine(state.engine);
    graph::setscale(state);
}

} // namespace core
