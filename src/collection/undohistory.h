#pragma once
// The history behind "Rückgängig" and "Wiederholen": the user's work as a row of snapshots, each
// the current data of the collection (the 13 fields an entry keeps of the state) together with
// the entry table and its selection. A change taken over adds a snapshot; undoing draws the one
// before it the way an entry is drawn, redoing the one after it.

#include "collection/collectionstate.h"
#include "collection/entries.h"
#include "core/state.h"

#include <QString>

#include <array>
#include <cstddef>
#include <vector>

namespace collection {

struct Snapshot {
    Fields current;             // the current data; fields 2 ... 12 describe the state
    std::vector<Entry> entries; // the entry table
    int selected = -1;
    // The free parameters by slot (28 ... 60; empty where none): the fields list the parameters
    // in slot order, and a drawn entry gives them slots in the order its terms name them.
    std::array<QString, core::lastParamSlot - core::firstFreeParamSlot + 1> paramLabels{};
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

// The state as it stands now (the current data takes it over first).
Snapshot takeSnapshot(CollectionState& keeper, core::State& state);

// The row of snapshots and the position of the present one in it. Plain bookkeeping; what a
// snapshot means for the state is left to the routines below.
class UndoHistory {
public:
    // At least this many steps can be undone.
    static constexpr std::size_t defaultSteps = 200;
    explicit UndoHistory(std::size_t steps = defaultSteps) : steps_(steps) {}

    // Starts anew from one snapshot: nothing to undo or redo.
    void reset(Snapshot start);
    // A new present after a change; the steps that could be redone are dropped. False (and
    // nothing changes) when it equals the present one. The oldest step goes when the row is full.
    bool record(Snapshot snapshot);
    // The present as it really became after a restore.
    void replacePresent(Snapshot snapshot);

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ + 1 < row_.size(); }
    // Moves one step back (forward) and gives the snapshot to restore; null when there is none.
    const Snapshot* undo();
    const Snapshot* redo();

    bool empty() const { return row_.empty(); }
    const Snapshot* present() const { return row_.empty() ? nullptr : &row_[position_]; }
    std::size_t undoSteps() const { return position_; }
    std::size_t redoSteps() const { return row_.empty() ? 0 : row_.size() - 1 - position_; }

private:
    std::size_t steps_;
    std::vector<Snapshot> row_;
    std::size_t position_ = 0;
};

// The history of one program run over the collection and the state it belongs to.
class EditHistory {
public:
    EditHistory(CollectionState& keeper, core::State& state) : keeper_(keeper), state_(state) {}

    // The state as it stands is the start; nothing to undo (at start-up, after opening a file).
    void restart();
    // After a change: the present state becomes a step. Nothing is noted while a snapshot is
    // being restored, during a batch update (busyFlag) or while parameter timers run (their values
    // are noted when the next change or undo comes).
    void note();
    // One step back (forward). A change not yet noted is noted first, so that it is the step
    // undone. False when there is nothing to undo (redo).
    bool undo();
    bool redo();

    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    bool restoring() const { return restoring_; }
    const UndoHistory& history() const { return history_; }

private:
    bool noteNow();
    void restore(const Snapshot& target);

    CollectionState& keeper_;
    core::State& state_;
    UndoHistory history_;
    bool restoring_ = false;
};

} // namespace collection
