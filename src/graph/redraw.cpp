#include "graph/redraw.h"

#include "core/state.h"
#include "graph/background.h"
#include "graph/curve.h"
#include "graph/drawsurface.h"
#include "graph/extraobjects.h"
#include "graph/functiongraph.h"
#include "graph/integral.h"
#include "graph/plotter.h"

#include <algorithm>
#include <cstdint>

namespace graph {

namespace {

// The engine work that one line may take, for the time of its drawing; the previous limit comes
// back afterwards, so that nothing outside the drawing (the calculator, the checks of the term
// lines) is ever limited by it. Work rather than time: the same terms are cut at the same place
// on every machine and in every run, so the picture does not depend on the load of the machine,
// and tests need no clock.
class LineBudget {
public:
    LineBudget(platform::MathEngine& engine, std::int64_t budget)
        : engine_(engine), previous_(engine.workLimit()) {
        const std::int64_t start = engine.work();
        const std::int64_t end =
            budget > platform::MathEngine::noWorkLimit - start ? previous_ : start + budget;
        engine.setWorkLimit(std::min(previous_, end));
    }
    ~LineBudget() { engine_.setWorkLimit(previous_); }
    LineBudget(const LineBudget&) = delete;
    LineBudget& operator=(const LineBudget&) = delete;

    bool spent() const { return engine_.workLimitReached(); }

private:
    platform::MathEngine& engine_;
    std::int64_t previous_;
};

// Draws line i, which has a translated term and is drawn, by its kind.
void drawLine(core::State& state, Plotter& plotter, DrawSurface& surface, int i) {
    const core::FuncLine& line = state.lines[i];
    const core::LineSlot& lineSlot = state.lineSlots[i];
    if (line.kind == core::kindFunction) {
        checkdef(state, plotter, i);
        if (lineSlot.integralSpec.isEmpty())
            drawf(state, plotter, surface, lineSlot.translated, i);
        else
            stammf(state, plotter, surface, lineSlot.translated, i);
    } else if (line.kind >= 0 && line.kind < core::lineCount) {
        checkdef2(state, i);
        if (state.lineSlots[line.kind].integralSpec.isEmpty())
            drawk(state, plotter, surface, lineSlot.translated, i);
        else
            stammk(state, plotter, surface, lineSlot.translated, i);
    }
    // kindCurvePart: drawn only as part of its curve.
}

} // namespace

void drawBackground(core::State& state, Plotter& plotter, DrawSurface& surface) {
    makepens(state, plotter.objects, renewAxisObjects);
    fosize(state, plotter, surface);
    helpline(state, plotter, surface);
}

void drawLines(core::State& state, Plotter& plotter, DrawSurface& surface) {
    state.drawingReport.clear();
    makepens(state, plotter.objects, renewLinePens);
    const int lastLine = std::min(state.lastLine, core::lineCount - 1);
    // The lines at the device's resolution.
    plotter.lineScale = surface.deviceScale();
    surface.setLineScale(plotter.lineScale);
    for (int i = 0; i <= lastLine; ++i) {
        const core::FuncLine& line = state.lines[i];
        const core::LineSlot& lineSlot = state.lineSlots[i];
        if (lineSlot.translated.isEmpty() || !line.drawn) continue;

        const int slot = line.slot >= 0 && line.slot < core::lineCount ? line.slot : i;
        surface.setPen(plotter.objects.linePens[slot]);
        plotter.currentColour = state.lineColours[slot];
        plotter.currentLineType = line.lineType;
        if (state.handles.sw >= 0) state.engine.setVariable(state.handles.sw, lineSlot.stepWidth);

        const LineBudget budget(state.engine, lineWorkBudget);
        drawLine(state, plotter, surface, i);
        if (budget.spent()) {
            state.drawingReport.cutLines.push_back(i);
            state.engine.clearError();
        }
    }
    surface.setLineScale(1);
    plotter.lineScale = 1;
    drawExtraObjects(state, plotter, surface);
    surface.flush();
}

} // namespace graph
