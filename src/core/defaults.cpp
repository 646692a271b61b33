#include "core/defaults.h"

#include "core/state.h"

namespace core {

void defaults(State& state) {
    state.trigMode = 1;
    state.engine.setTrigMode(1);
    state.autoIntegralRecognition = false;
    state.zoomX = state.zoomY = 1.5;
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

} // namespace core
