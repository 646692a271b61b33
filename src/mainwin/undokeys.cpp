#include "mainwin/undokeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

namespace mainwin {

namespace {

enum class UndoKey { None, Undo, Redo };

UndoKey undoKey(const QKeyEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() &
        (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (event->key() == Qt::Key_Z && mods == Qt::ControlModifier) return UndoKey::Undo;
    if (event->key() == Qt::Key_Y && mods == Qt::ControlModifier) return UndoKey::Redo;
    if (event->key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier))
        return UndoKey::Redo;
    return UndoKey::None;
}

// Undoes or redoes the typing in watched when it is a text field the user can edit; false when
// it is none.
bool textFieldStep(QObject* watched, UndoKey key, bool run) {
    const bool undo = key == UndoKey::Undo;
    if (auto* line = qobject_cast<QLineEdit*>(watched); line && !line->isReadOnly()) {
        if (run) undo ? line->undo() : line->redo();
        return true;
    }
    if (auto* text = qobject_cast<QPlainTextEdit*>(watched); text && !text->isReadOnly()) {
        if (run) undo ? text->undo() : text->redo();
        return true;
    }
    if (auto* text = qobject_cast<QTextEdit*>(watched); text && !text->isReadOnly()) {
        if (run) undo ? text->undo() : text->redo();
        return true;
    }
    return false;
}

} // namespace

UndoKeys::UndoKeys(collection::CollectionState& keeper, core::State& state, QObject* parent)
    : QObject(parent), history_(keeper, state) {
    qApp->installEventFilter(this);
}

UndoKeys::~UndoKeys() {
    qApp->removeEventFilter(this);
}

void UndoKeys::undo() {
    if (history_.undo() && restored) restored();
}

void UndoKeys::redo() {
    if (history_.redo() && restored) restored();
}

void UndoKeys::noteLater() {
    if (notePending_) return;
    notePending_ = true;
    QTimer::singleShot(0, this, [this] {
        notePending_ = false;
        // A message box asks in the middle of a change; the change is noted when it is done.
        if (!QApplication::activeModalWidget()) history_.note();
    });
}

bool UndoKeys::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const UndoKey which = undoKey(key);
        if (which == UndoKey::None || !textFieldStep(watched, which, false)) break;
        // The field takes the key, not the menu entry; and it undoes or redoes whichever of the
        // keys the platform gives it.
        event->accept();
        if (event->type() == QEvent::KeyPress) textFieldStep(watched, which, true);
        return true;
    }
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        noteLater();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace mainwin
