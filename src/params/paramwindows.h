#pragma once
// The parameter windows of all slots, made on first use inside the main window's MDI area and
// shown or hidden as the slots in the shared state say.

#include "core/state.h"

#include <QPointer>

#include <array>
#include <functional>

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
    // right side of the area, in the first place no other parameter window covers.
    void refresh(int slot);
    // Makes every free parameter in use (slots 28 ... 60) visible and shows its window.
    void showAllFree();
    // Stacks the visible windows of the sample counts and free parameters from the bottom of the
    // area upwards, beside the graph window when they fit there (core::arrangeparams). The
    // windows of the lower bounds stay where they are, but inside the area.
    void arrange();

    // Where the graph window stands in the area; a null rectangle while it is hidden.
    std::function<QRect()> graphGeometry;
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
};

} // namespace params
