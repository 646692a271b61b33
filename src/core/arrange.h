#pragma once
// Where the child windows of the main window stand: the docked layout of the graph, term and
// collection windows with the parameter selection list, and the stacks of parameter windows.
// Plain geometry in pixels of the main window's inner area: rectangles in, rectangles out; the
// main window applies them.

#include <QRect>
#include <QSize>

#include <vector>

namespace core {

// The size limits of a window's frame, as the window itself enforces them.
struct SizeLimits {
    QSize minimum{0, 0};
    QSize maximum{bigSize, bigSize};
    static constexpr int bigSize = 16777215;

    QSize bound(QSize s) const { return s.expandedTo(minimum).boundedTo(maximum); }
};

struct ChildWindow {
    QRect rect; // the frame in the main window's inner area
    bool visible = false;
    SizeLimits limits;
};

struct DockedLayout {
    QSize area;    // the main window's inner size
    int tppX = 15; // twips per pixel
    int tppY = 15;
    int mode = 0; // 0: the graph window moves to its edge; 1: it stays where the user put it
    bool maximiseGraphHeight = false;
    // The graph window's side. In: the side it keeps while its left edge equals the term
    // window's (as when it fills the whole width); out: the side it was given.
    bool graphOnLeft = false;
    ChildWindow graph;
    ChildWindow term;
    ChildWindow collection;
    ChildWindow list; // the parameter selection list
};

// The docked layout: the graph window at its side (the side its left edge is on, compared with
// the term window's), the term window at the top of the other side, narrowed so that both fit
// (though never below its smallest width), the collection window below the term window, the
// parameter selection list beside the graph window. Every window keeps its own size limits and
// stays inside the area as far as its size allows. Nothing changes while the graph window is
// hidden or the area is empty.
DockedLayout arrange(DockedLayout layout);

// One parameter window to stack: its slot and its frame.
struct ParamFrame {
    int slot = 0;
    QRect rect;
};

// Stacks the parameter windows from the bottom of the area upwards, in falling slot order, at
// the graph window's right edge when a window fits there, else at the left edge; a full column
// goes on at the bottom again, shifted a little to the right. graphRect is null when the graph
// window is hidden.
std::vector<ParamFrame> arrangeparams(QSize area, QRect graphRect, int tppX,
                                      std::vector<ParamFrame> frames);

// The rectangle moved (not resized) so that as much of it as fits lies inside the area, its top
// left corner (the title bar) first.
QRect keepInside(QRect rect, QSize area);

} // namespace core
