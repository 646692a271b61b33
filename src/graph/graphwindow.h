#pragma once
// The graph window ("graphform"): the plot area with the picture of the graph, the two scroll
// bars, the zoom picture, the coordinate readout and the 1:1 label. Its layout follows the plot
// area's size in twips; a resize gives the logic the new plot size and redraws.

#include "graph/renderer.h"

#include <QWidget>

class QLabel;
class QScrollBar;

namespace core {
struct State;
}

namespace graph {

class GraphWindow : public QWidget {
public:
    explicit GraphWindow(core::State& state, QWidget* parent = nullptr);

    // Renders the picture through the renderer (the background from its cache when nothing
    // changed it) and shows it. Keeps the last picture while busyFlag is set. What the drawing
    // reported (lines cut for taking too much work, notices) is shown afterwards, from the event
    // loop.
    void redraw();

    // The last picture drawn (at the plot area's device pixel ratio).
    const QImage& picture() const { return renderer_.image(); }
    QWidget* plotArea() const { return plotArea_; }
    GraphRenderer& renderer() { return renderer_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutControls();
    void render();
    // Shows what the drawing reported, after the paint: never from inside a paint event.
    void reportLater();

    core::State& state_;
    GraphRenderer renderer_;
    QWidget* plotArea_;
    QScrollBar* vScroll_;
    QScrollBar* hScroll_;
    QLabel* zoomPicture_;
    QLabel* readout_;
    QLabel* oneToOne_;
    bool reportPending_ = false;
};

} // namespace graph
