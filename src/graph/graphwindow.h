#pragma once
// The graph window ("graphform"): the plot area with the picture of the graph, the two scroll
// bars, the zoom picture, the coordinate readout and the 1:1 label. Its layout follows the plot
// area's size in twips; a resize gives the logic the new plot size and redraws. Mouse, wheel,
// keys and scroll bars are handed to the navigation logic.

#include "graph/navigation.h"
#include "graph/renderer.h"

#include <functional>

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
    // Zoom factors, zoom lock and parameter coupling; the windows above set them.
    Navigation& navigation() { return nav_; }

    // Shift or Ctrl on the zoom picture: the range window and the zoom options come to the front.
    std::function<void()> showRangeWindow;
    std::function<void()> showZoomOptions;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutControls();
    void render();
    // Shows what the drawing reported, after the paint: never from inside a paint event.
    void reportLater();
    void showOneToOne();
    bool plotEvent(QEvent* event);
    void zoomPictureClicked(QMouseEvent* event);
    void scrolled(QScrollBar* bar, int value);
    // A position on the plot area in twips.
    QPointF twips(QPointF pixels) const;

    core::State& state_;
    GraphRenderer renderer_;
    QWidget* plotArea_;
    QScrollBar* vScroll_;
    QScrollBar* hScroll_;
    QLabel* zoomPicture_;
    QLabel* readout_;
    QLabel* oneToOne_;
    bool reportPending_ = false;
    Navigation nav_;
    // Dragging with the middle button: the last position, and whether it moved at all.
    QPointF dragFrom_;
    bool dragging_ = false, dragged_ = false;
};

} // namespace graph
