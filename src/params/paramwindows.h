#pragma once
// The parameter windows of all slots, made on first use inside the main window's MDI area and
// shown or hidden as the slots in the shared state say.

#include "core/state.h"

#include <QPointer>

#include <array>

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
    // Stacks every visible parameter window at the right side of the area, in slot order, in
    // columns from right to left.
    void arrange();

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
