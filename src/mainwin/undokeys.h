#pragma once
// Undo and redo of the user's work in the main window: the history of the collection, fed after
// every change the user makes, and the keys Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z.
//
// The steps are noted after each mouse button release, key release and wheel turn that the
// application sees (once the event has done its work), and whenever the collection takes over the
// current data; a snapshot equal to the present one is no step. So every window's changes are
// steps without the windows knowing of the history.
//
// In a text field the user can edit, the three keys undo and redo the typing in that field, as the
// field itself does it; elsewhere they run the main window's "Rückgängig" and "Wiederholen".

#include "collection/undohistory.h"

#include <QObject>

#include <functional>

class QWidget;

namespace mainwin {

class UndoKeys : public QObject {
public:
    UndoKeys(collection::CollectionState& keeper, core::State& state, QObject* parent);
    ~UndoKeys() override;

    collection::EditHistory& history() { return history_; }
    // The windows show a restored step (the state's own hooks have run already).
    std::function<void()> restored;

    void undo();
    void redo();
    // Notes the present state once the running event is done.
    void noteLater();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    collection::EditHistory history_;
    bool notePending_ = false;
};

} // namespace mainwin
