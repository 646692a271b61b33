#include "collection/undohistory.h"

#include "collection/currentdata.h"
#include "collection/workingcopy.h"
#include "core/scopes.h"
#include "core/state.h"

#include <algorithm>

namespace collection {

namespace {

constexpr int firstFree = core::firstFreeParamSlot;

decltype(Snapshot::paramLabels) paramLabels(const core::State& state) {
    decltype(Snapshot::paramLabels) labels{};
    for (int k = firstFree; k <= core::lastParamSlot; ++k) {
        const core::ParamSlot& p = state.params[std::size_t(k)];
        if (p.handle != -1) labels[std::size_t(k - firstFree)] = p.label;
    }
    return labels;
}

// The free parameters take the slots they had in the snapshot before it is drawn: the data-set
// assembly keeps the slot of a parameter that exists, and gives the others slots in the order
// the terms name them.
void placeParams(core::State& state, const Snapshot& target) {
    for (int k = firstFree; k <= core::lastParamSlot; ++k) {
        core::ParamSlot& p = state.params[std::size_t(k)];
        const QString& label = target.paramLabels[std::size_t(k - firstFree)];
        if ((p.handle == -1 ? QString() : p.label) == label) continue;
        p.label = label;
        // Any handle but -1 marks the slot as taken; the assembly defines the variable anew.
        p.handle = label.isEmpty() ? -1 : 0;
        if (!label.isEmpty()) p.visible = true;
    }
}

} // namespace

Snapshot takeSnapshot(CollectionState& keeper, core::State& state) {
    aktpuff(keeper.collection, state);
    return Snapshot{keeper.collection.currentData, keeper.collection.entries, keeper.selected,
                    paramLabels(state)};
}

void UndoHistory::reset(Snapshot start) {
    row_.clear();
    row_.push_back(std::move(start));
    position_ = 0;
}

bool UndoHistory::record(Snapshot snapshot) {
    if (row_.empty()) {
        reset(std::move(snapshot));
        return true;
    }
    if (row_[position_] == snapshot) return false;
    row_.erase(row_.begin() + std::ptrdiff_t(position_) + 1, row_.end());
    row_.push_back(std::move(snapshot));
    // The present and the steps before it that may be undone.
    if (row_.size() > steps_ + 1) row_.erase(row_.begin(), row_.end() - std::ptrdiff_t(steps_ + 1));
    position_ = row_.size() - 1;
    return true;
}

void UndoHistory::replacePresent(Snapshot snapshot) {
    if (row_.empty())
        reset(std::move(snapshot));
    else
        row_[position_] = std::move(snapshot);
}

const Snapshot* UndoHistory::undo() {
    if (!canUndo()) return nullptr;
    return &row_[--position_];
}

const Snapshot* UndoHistory::redo() {
    if (!canRedo()) return nullptr;
    return &row_[++position_];
}

void EditHistory::restart() {
    history_.reset(takeSnapshot(keeper_, state_));
}

bool EditHistory::noteNow() {
    // Inside a batch update the state is half made; inside a restore it is the step itself.
    if (restoring_ || state_.busyFlag != 0) return false;
    history_.record(takeSnapshot(keeper_, state_));
    return true;
}

void EditHistory::note() {
    // Every tick of a running timer would be a step of its own.
    if (!state_.timerList.isEmpty()) return;
    noteNow();
}

bool EditHistory::undo() {
    if (!noteNow()) return false;
    const Snapshot* target = history_.undo();
    if (!target) return false;
    restore(*target);
    return true;
}

bool EditHistory::redo() {
    if (!noteNow()) return false;
    const Snapshot* target = history_.redo();
    if (!target) return false;
    restore(*target);
    return true;
}

void EditHistory::restore(const Snapshot& target) {
    const core::ScopedValue<bool> restoring(restoring_, true);
    Collection& collection = keeper_.collection;
    const bool tableChanged = collection.entries != target.entries;
    collection.entries = target.entries;
    keeper_.selected = std::clamp(target.selected, -1, int(collection.entries.size()) - 1);
    const bool stateChanged =
        !std::equal(collection.currentData.begin() + termsField, collection.currentData.end(),
                    target.current.begin() + termsField) ||
        paramLabels(state_) != target.paramLabels;
    // The state comes back the way an entry is drawn.
    if (stateChanged) {
        placeParams(state_, target);
        keeper_.status = colget(state_, target.current);
    }
    reportWriteFault(state_, writeWorkingCopy(collection, state_, tableChanged));
    // Drawing may round what it was given; the history keeps what the state really became.
    history_.replacePresent(takeSnapshot(keeper_, state_));
}

} // namespace collection
