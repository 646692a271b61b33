#include "graph/drawingobjects.h"

#include "core/state.h"

namespace graph {

namespace {

constexpr core::Colour black = 0;
constexpr int normalWeight = 400;
constexpr int boldWeight = 700;

Font arial(int pixelHeight, int weight) {
    Font f;
    f.family = QStringLiteral("Arial");
    f.pixelHeight = pixelHeight;
    f.weight = weight;
    return f;
}

} // namespace

void makepens(core::State& state, DrawingObjects& objects, int mask) {
    if (mask & renewLinePens) {
        for (int j = 0; j < core::lineCount; ++j) {
            const core::LineSlot& slot = state.lineSlots[j];
            const int width = slot.widthOverride >= 0 ? slot.widthOverride : slot.width;
            const Pen pen{std::max(width, 0), state.lineColours[j]};
            // Each set of objects knows what its pens were made with (the screen and an export
            // hold one each).
            if (objects.linePens[j] == pen) continue;
            objects.linePens[j] = pen;
        }
    }
    if (mask & renewAxisObjects) {
        const core::GraphOptions& o = state.graphOptions;
        objects.gridPen = Pen{1, state.lineColours[13]};
        objects.axisPen = Pen{std::max(state.axisPenWidth, 0), black};
        objects.numberFont = arial(o.numberFontSize, normalWeight);
        objects.axisNameFont = arial(o.axisNameFontSize, boldWeight);
        objects.thirdFont = arial(o.thirdFontSize, boldWeight);
        objects.arrowPen = Pen{1, black};
    }
}

} // namespace graph
