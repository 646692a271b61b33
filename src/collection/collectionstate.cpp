#include "collection/collectionstate.h"

#include "collection/reader.h"
#include "collection/workingcopy.h"
#include "collection/writer.h"
#include "core/state.h"
#include "engine/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace collection {

namespace {

const QString collectionTitlePrefix = QStringLiteral("Sammlung: ");
const QString workingCopyNotSaved = QStringLiteral(
    "Die Datei %1 ist die Arbeitskopie der Sammlung. Bitte einen anderen Namen wählen.");
const QString unkeptChanges =
    QStringLiteral("\nÄnderungen an Sammlung und Einstellungen werden nicht gespeichert.");
const QString overwriteQuestion =
    QStringLiteral("Diese Datei gibt es bereits. Soll sie überschrieben werden?");

bool mayOverwrite(const Collection& collection, int index) {
    return index >= 0 && index < int(collection.entries.size()) &&
           !collection.entries[std::size_t(index)].isProtected();
}

// The file name the user chose for saving, after the question about an existing file; no value
// when the dialog was cancelled.
std::optional<QString> chooseSaveName(const Collection& collection, core::State& state) {
    for (;;) {
        const auto chosen =
            state.fileDialogs->saveFile(QStringLiteral("Sammlungsdatei speichern"), collection.path,
                                        platform::collectionFileFilter);
        if (!chosen) return std::nullopt;
        if (isWorkingCopy(*chosen, state)) {
            state.messages->inform(errorTitle,
                                   workingCopyNotSaved.arg(QDir::toNativeSeparators(*chosen)),
                                   platform::MessageIcon::Warning);
            continue;
        }
        if (!QFileInfo::exists(*chosen) ||
            state.messages->ask(QStringLiteral("Meldung:"), overwriteQuestion))
            return chosen;
    }
}

} // namespace

void reportWriteFault(core::State& state, const WriteResult& result) {
    if (!result.ok)
        state.messages->inform(errorTitle, result.message, platform::MessageIcon::Warning);
}

QString windowTitle(const Collection& collection) {
    return collectionTitlePrefix + (collection.path.isEmpty()
                                        ? QStringLiteral("(noch ohne Bezeichnung)")
                                        : QFileInfo(collection.path).fileName());
}

namespace {

// Where an unreadable working copy is kept: "kurvatur.tmp.defekt", or when an earlier one is kept
// there already, the first free of ".defekt.2" ... ".defekt.99", so that a second broken start
// does not throw away what the first one kept. With all taken, the first name is used again.
QString freeKeptPath(const QString& workingCopy) {
    const QString first = workingCopy + QStringLiteral(".defekt");
    if (!QFileInfo::exists(first)) return first;
    for (int n = 2; n < 100; ++n) {
        const QString next = first + QLatin1Char('.') + QString::number(n);
        if (!QFileInfo::exists(next)) return next;
    }
    return first;
}

} // namespace

void openWorkingCopy(CollectionState& keeper, core::State& state) {
    keeper.collection = emptyCollection(state);
    const WriteResult made = inittempfile(keeper.collection, state);
    state.configFolderWritable = made.ok;
    if (!made.ok) {
        // There is no working copy to read, and the program runs on without one.
        state.messages->inform(errorTitle, made.message + unkeptChanges,
                               platform::MessageIcon::Warning);
        return;
    }
    // A working copy that the program cannot replace (something else stands at its place, or the
    // folder is read-only) is told once, like a folder that cannot be made.
    const QFileInfo place(workingCopyPath(state));
    state.configFolderWritable = place.isFile() && QFileInfo(place.absolutePath()).isWritable();
    if (!state.configFolderWritable) {
        state.messages->inform(errorTitle,
                               QStringLiteral("Die Arbeitskopie %1 kann nicht geschrieben werden.")
                                       .arg(QDir::toNativeSeparators(place.filePath())) +
                                   unkeptChanges,
                               platform::MessageIcon::Warning);
        if (!place.isFile()) return;
    }
    const QString fault = readWorkingCopy(keeper.collection, state);
    if (fault.isEmpty()) return;
    // The next change overwrites the working copy: what could not be read is kept beside it.
    const QString kept = freeKeptPath(workingCopyPath(state));
    QFile::remove(kept);
    const bool copied = QFile::copy(workingCopyPath(state), kept);
    state.messages->inform(errorTitle,
                           copied ? fault + QStringLiteral("\nDie Datei bleibt als ") + kept +
                                        QStringLiteral(" erhalten.")
                                  : fault,
                           platform::MessageIcon::Critical);
    keeper.collection = emptyCollection(state);
    keeper.collection.changed = false;
}

bool drawCurrentData(CollectionState& keeper, core::State& state) {
    if (!keeper.collection.currentDataFound) return false;
    keeper.status = tmpakt(keeper.collection, state);
    return true;
}

void takeOver(CollectionState& keeper, core::State& state) {
    Collection& collection = keeper.collection;
    aktpuff(collection, state);
    const bool intoSelection = keeper.syncSelection && mayOverwrite(collection, keeper.selected);
    if (intoSelection) {
        Fields& fields = collection.entries[std::size_t(keeper.selected)].fields;
        for (int field = termsField; field < fieldCount; ++field)
            fields[field] = collection.currentData[field];
    }
    reportWriteFault(state, writeWorkingCopy(collection, state, intoSelection));
}

SaveOutcome savecommand(CollectionState& keeper, core::State& state, bool askForName) {
    Collection& collection = keeper.collection;
    QString path = collection.path;
    if (askForName || path.isEmpty()) {
        const auto chosen = chooseSaveName(collection, state);
        if (!chosen) return SaveOutcome::Cancelled;
        path = *chosen;
    }
    const WriteResult result = savecollection(collection, path, state);
    reportWriteFault(state, result);
    if (!result.ok) return SaveOutcome::Failed;
    // The working copy holds what was saved, and the next start finds it unchanged.
    reportWriteFault(state, writeWorkingCopy(collection, state, false));
    engine::savesettings(state);
    return SaveOutcome::Saved;
}

bool closeCollection(CollectionState& keeper, core::State& state) {
    const bool wasChanged = keeper.collection.changed;
    aktpuff(keeper.collection, state);
    reportWriteFault(state, writeWorkingCopy(keeper.collection, state, false));
    if (!wasChanged || !state.messages->ask(saveQuestionTitle, saveQuestion)) return true;
    return savecommand(keeper, state, true) == SaveOutcome::Saved;
}

} // namespace collection
