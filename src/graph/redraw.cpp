#include "graph/redraw.h"

#include "core/state.h"
#include "graph/background.h"
#include "graph/curve.h"
#include "graph/drawsurface.h"
#include "graph/functiongraph.h"
#include "graph/integral.h"
#include "graph/plotter.h"

#include <algorithm>

namespace graph {

void drawBackground(core::State& state, Plotter& plotter, DrawSurface& surface) {
    makepens(state, plotter.objects, renewAxisObjects);
    fosize(state, plotter, surface);
    helpline(state, plotter, surface);
}

void drawLines(core::State& state, Plotter& plotter, DrawSurface& surface) {
    state.drawingReport.clear();
    makepens(state, plotter.objects, renewLinePens);
    const int lastLine = std::min(state.lastLine, core::lineCount - 1);
    for (int i = 0; i <= lastLine; ++i) {
        const core::FuncLine& line = state.lines[i];
        const core::LineSlot& lineSlot = state.lineSlots[i];
        if (lineSlot.translated.isEmpty() || !line.drawn) continue;

        const int slot = line.slot >= 0 && line.slot < core::lineCount ? line.slot : i;
        surface.setPen(plotter.objects.linePens[slot]);
        plotter.currentColour = state.lineColours[slot];
        plotter.currentLineType = line.lineType;
        if (state.handles.sw >= 0) state.engine.setVariable(state.handles.sw, lineSlot.stepWidth);

        if (line.kind == core::kindFunction) {
            checkdef(state, plotter, i);
            if (lineSlot.integralSpec.isEmpty()) {
                drawf(state, plotter, surface, lineSlot.translated, i);
            } else {
                stammf(state, plotter, surface, lineSlot.translated, i);
            }
        } else if (line.kind >= 0 && line.kind < core::lineCount) {
            checkdef2(state, i);
            if (state.lineSlots[line.kind].integralSpec.isEmpty())
                drawk(state, plotter, surface, lineSlot.translated, i);
            else
                stammk(state, plotter, surface, lineSlot.translated, i);
        }
        // kindCurvePart: drawn only as part of its curve.
    }
    surface.flush();
}

} // namespace graph
