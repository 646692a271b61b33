#pragma once
// The parameter windows of all slots, made on first use inside the main window's MDI area and
// shown or hidden as the slots in the shared state say.

#include "core/state.h"

#include <QPointer>

#include <array>
#include <functional>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QRect;
class QWidget;

namespace params {

class ParamWindow;

class ParamWindows {
public:
    // Without an area the windows are top-level windows of their own.
    ParamWindows(core::State& state, QMdiArea* area);
    ~ParamWindows();
    ParamWindows(const ParamWindows&) = delete;
    ParamWindows& operator=(const ParamWindows&) = delete;

    // Shows the window of the slot as state.params[slot] says: hidden unless the slot is in use
    // and visible, else made when needed and updated. A window that appears is placed at the
    // right side of the area, in the first place no other parameter window covers and clear of
    // the windows keepClear names. Until the area is shown it has no size to place them in: the
    // windows that appear before are placed by placeWaiting.
    void refresh(int slot);
    // Places the windows that appeared while the area was not shown yet, as refresh would have,
    // in slot order; stacks them instead when the parameter windows are arranged.
    void placeWaiting();
    // Makes every free parameter in use (slots 28 ... 60) visible and shows its window.
    void showAllFree();
    // Stacks the visible windows of the sample counts and free parameters from the bottom of the
    // area upwards, beside the graph window when they fit there (core::arrangeparams). The
    // windows of the lower bounds stay where they are, but inside the area.
    void arrange();

    // Where the graph window stands in the area; a null rectangle while it is hidden.
    std::function<QRect()> graphGeometry;
    // The frames of the other windows that a parameter window appearing must not cover.
    std::function<std::vector<QRect>()> keepClear;
    // The user closed the window of a slot.
    std::function<void(int slot)> windowClosed;

    // The window of the slot; null until it is first shown.
    ParamWindow* window(int slot) const;

private:
    QWidget* frame(int slot) const; // the sub-window, or the window itself without an area
    QRect bounds() const;           // where the windows may stand
    void place(int slot);
    void stackBelow(int slot);

    core::State& state_;
    QPointer<QMdiArea> area_;
    std::array<QPointer<ParamWindow>, core::paramCount> windows_{};
    std::array<QPointer<QMdiSubWindow>, core::paramCount> frames_{};
    std::array<bool, core::paramCount> waiting_{}; // shown before the area had its size
};

} // namespace params
