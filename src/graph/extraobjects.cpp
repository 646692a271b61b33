#include "graph/extraobjects.h"

#include "core/rounding.h"
#include "core/state.h"
#include "graph/drawsurface.h"
#include "graph/plotter.h"
#include "objects/extralines.h"
#include "objects/points.h"

namespace graph {

namespace {

void drawExtraLines(core::State& state, DrawSurface& surface) {
    for (const objects::LineSegment& s : objects::interprete(state).segments) {
        surface.setPen(Pen{1, s.colour, s.style});
        surface.moveTo(s.from);
        surface.lineTo(s.to);
    }
    surface.flush();
}

void drawPoints(core::State& state, Plotter& plotter, DrawSurface& surface) {
    const double halfFont = state.graphOptions.thirdFontSize * 0.5;
    surface.setFont(plotter.objects.thirdFont);
    for (const objects::PointDrawing& p : objects::drawpoints(state)) {
        if (p.mark == objects::Mark::Disc) surface.disc(p.centre, p.radius, p.colour);
        if (p.mark == objects::Mark::Ring) surface.ring(p.centre, p.radius, p.colour);
        if (p.name.empty()) continue;
        surface.setTextColour(p.colour);
        int x = p.nameAt.x();
        for (const objects::NamePiece& piece : p.name) {
            const int y = p.nameAt.y() + core::round32(piece.shift * halfFont);
            surface.text(QPoint(x, y), piece.text);
            x += surface.measureText(piece.text).width();
        }
    }
}

} // namespace

void drawExtraObjects(core::State& state, Plotter& plotter, DrawSurface& surface) {
    if (state.extraLinesShown && !state.extraLinesText.trimmed().isEmpty())
        drawExtraLines(state, surface);
    if (!state.pointsText.trimmed().isEmpty()) drawPoints(state, plotter, surface);
}

} // namespace graph
