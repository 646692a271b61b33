#include "core/startup.h"

#include "core/state.h"
#include "engine/applydata.h"
#include "engine/enginedefs.h"
#include "graph/scale.h"

namespace core {

void defaults(State& state) {
    const State fresh;
    state.trigMode = 1;
    state.engine.setTrigMode(1);
    state.autoIntegralRecognition = false;
    state.scale = fresh.scale;
    state.graphOptions = fresh.graphOptions;
    state.storedColours = fresh.storedColours;
    for (int i = 0; i < 13; ++i)
        state.lineColours[i] = state.storedColours[i];
    state.lineColours[13] = gridColour(210);
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
