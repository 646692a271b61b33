#pragma once
// Flags that a routine sets for its own duration and gives back on every way out, early returns
// included.

#include "core/state.h"

namespace core {

template <class T> class ScopedValue {
public:
    ScopedValue(T& target, T value) : target_(target), previous_(target) { target_ = value; }
    ~ScopedValue() { target_ = previous_; }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

    const T& previous() const { return previous_; }

private:
    T& target_;
    T previous_;
};

// busyFlag set: redrawall does nothing until the batch update is over.
class BusyScope : public ScopedValue<int> {
public:
    explicit BusyScope(State& state) : ScopedValue(state.busyFlag, 1) {}
    // True when nobody else was busy before: the batch's own refreshes are due at its end.
    bool outermost() const { return previous() == 0; }
};

// settingFlag of a parameter slot set: the slider moves under the program's hand, and its
// reaction must take the slot's value rather than the rounded slider position.
class SettingScope : public ScopedValue<bool> {
public:
    explicit SettingScope(ParamSlot& slot) : ScopedValue(slot.settingFlag, true) {}
};

} // namespace core
