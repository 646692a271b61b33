#include "core/arrange.h"

#include "core/twips.h"

#include <algorithm>

namespace core {

namespace {

// Layout sizes in twips.
constexpr int smallestTermWidth = 3050;
constexpr int collectionHeightWithoutRoom = 5000; // when the term window leaves no room below
constexpr int columnShift = 300;                  // between columns of parameter windows

} // namespace

QRect keepInside(QRect rect, QSize area) {
    const int x = std::max(0, std::min(rect.x(), area.width() - rect.width()));
    const int y = std::max(0, std::min(rect.y(), area.height() - rect.height()));
    rect.moveTopLeft(QPoint(x, y));
    return rect;
}

DockedLayout arrange(DockedLayout layout) {
    const int w = layout.area.width();
    const int h = layout.area.height();
    if (!layout.graph.visible || w <= 0 || h <= 0) return layout;

    // The graph window keeps its size, but no more than the area shows.
    QSize graphSize = layout.graph.rect.size();
    if (layout.maximiseGraphHeight) graphSize.setHeight(h);
    graphSize = layout.graph.limits.bound(graphSize.boundedTo(layout.area));
    QRect graph(layout.graph.rect.topLeft(), graphSize);

    const QRect& term = layout.term.rect;
    int tw = term.width();
    const int smallest =
        std::max(twipsToPixels(smallestTermWidth, layout.tppX), layout.term.limits.minimum.width());
    int termLeft = 0;
    const bool graphOnLeft =
        graph.left() < term.left() || (graph.left() == term.left() && layout.graphOnLeft);
    layout.graphOnLeft = graphOnLeft;
    if (graphOnLeft) {
        if (layout.mode == 0) graph.moveTopLeft(QPoint(0, 0));
        const int d = w - graph.width() - tw;
        if (d < 0) tw = std::max(tw + d, smallest);
        tw = layout.term.limits.bound(QSize(tw, term.height())).width();
        termLeft = w - tw;
    } else {
        if (layout.mode == 0) graph.moveTopLeft(QPoint(w - graph.width(), 0));
        const int d = graph.left() - tw;
        if (d < 0) tw = std::max(tw + d, smallest);
        tw = layout.term.limits.bound(QSize(tw, term.height())).width();
    }
    layout.graph.rect = keepInside(graph, layout.area);
    if (layout.term.visible)
        layout.term.rect = keepInside(QRect(termLeft, 0, tw, term.height()), layout.area);

    // The collection window fills the room below the term window, on the term window's side.
    int ch = h - term.height();
    if (ch < 0) ch = twipsToPixels(collectionHeightWithoutRoom, layout.tppY);
    const QSize collection = layout.collection.limits.bound(QSize(tw, ch).boundedTo(layout.area));
    layout.collection.rect =
        keepInside(QRect(QPoint(termLeft, h - collection.height()), collection), layout.area);

    // The selection list stands at the graph window's inner edge, below the term window.
    const QSize list = layout.list.rect.size();
    const int listLeft = graphOnLeft ? graph.x() + graph.width() : graph.left() - list.width();
    layout.list.rect = keepInside(QRect(QPoint(listLeft, term.height()), list), layout.area);
    return layout;
}

std::vector<ParamFrame> arrangeparams(QSize area, QRect graphRect, int tppX,
                                      std::vector<ParamFrame> frames) {
    if (frames.empty()) return frames;
    std::sort(frames.begin(), frames.end(),
              [](const ParamFrame& a, const ParamFrame& b) { return a.slot > b.slot; });
    const int ph = frames.front().rect.height();
    const int pw = frames.front().rect.width();
    const int top0 = std::max(0, area.height() - ph);
    int left = graphRect.isNull() ? 0 : graphRect.x() + graphRect.width();
    if (area.width() < left + pw) left = 0;
    const int shift = twipsToPixels(columnShift, tppX);
    int top = top0;
    for (ParamFrame& f : frames) {
        // Columns shifted past the right edge stay where they can still be reached.
        f.rect.moveTopLeft(QPoint(std::max(0, std::min(left, area.width() - f.rect.width())), top));
        top -= ph;
        if (top < 0) {
            top = top0;
            left += shift;
        }
    }
    return frames;
}

} // namespace core
