#pragma once
// Moving and zooming the displayed range: the scroll bars, zoom clicks, keys, the mouse wheel
// and dragging, and the world coordinates under the pointer. Positions are in twips within the
// plot area, Y counted from the top, as the mouse reports them.

#include <QString>

#include <functional>

namespace core {
struct State;
}

namespace graph {

// Mouse buttons and shift keys as the navigation counts them; they add up.
inline constexpr int leftButton = 1, rightButton = 2, middleButton = 4;
inline constexpr int shiftKey = 1, ctrlKey = 2, altKey = 4;

struct Navigation {
    bool zoomLocked = false; // "Zoom sperren": clicks only refresh the picture
    // Bit 2: the right button couples the parameter with x; bit 1: the left button with y.
    int couplingMask = 2;
    // Parameter slot whose window was activated last; -1 = none.
    int coupledParameter = -1;
    // Sets the coupled parameter's slot to a value; xFormat tells which label format its field
    // shows. The parameters lie above the graph, so a higher layer connects this.
    std::function<void(int slot, double value, bool xFormat)> couple;
};

// The world coordinates under a position.
double worldX(const core::State& state, double x);
double worldY(const core::State& state, double y);
// "   x: ...        y: ..." in the label formats of the axes.
QString readoutText(const core::State& state, double x, double y);

// Moves the range by v percent of its span (right or up for positive v) and shows the result.
void scrlr(core::State& state, double v);
void scrud(core::State& state, double v);

// A click on the plot area at (x, y) with the mouse button and shift keys. A plain click couples
// the parameter; Shift moves the view; Ctrl and Alt zoom x and y about the point under the
// mouse (right button out, left in). Returns true when the range changed.
bool zoom(core::State& state, const Navigation& nav, int button, int shift, double x, double y);

// Couples the parameter with the world coordinate at (x, y) if the button is a coupled one.
void parkop(core::State& state, const Navigation& nav, int button, double x, double y);

// True when the grid index of a range bound no longer has room for a fraction: the view has
// been zoomed in further than doubles can tell apart from its distance to the grid start.
bool precisionLost(const core::State& state);

// The mouse wheel: steps notches towards the user zoom in, away zoom out, about the pointer;
// Ctrl zooms only x, Shift only y.
bool wheelZoom(core::State& state, const Navigation& nav, int steps, int shift, double x, double y);

// Moves the view by a drag of dx, dy twips (y counted downwards), the world point under the
// pointer following it.
void pan(core::State& state, double dx, double dy);

// Scaling 1:1: the left button gives y the span that makes one unit as many pixels long as on x,
// the right button gives x that span; the middle of the changed axis stays. The "1:1" label, the
// keys X and Y and the range window's button all come here.
void einszueins(core::State& state, int button);
// True when one unit is equally long in pixels on both axes (to a part in a million).
bool isOneToOne(const core::State& state);

// A key on the plot area; returns false for keys that navigation does not use.
bool navigationKey(core::State& state, const Navigation& nav, int key, int shift);

// Keypad 8, 2, 4, 6 (the digit keys as Qt names them): the name of the selected additional
// point moves one pixel up, down, left or right, and the picture follows. Returns false for
// other keys.
bool pointNameKey(core::State& state, int key);

} // namespace graph
