#include "collection/filecommands.h"

#include "collection/reader.h"
#include "collection/workingcopy.h"
#include "collection/writer.h"
#include "core/state.h"
#include "engine/settingsfile.h"
#include "graph/scale.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>

namespace collection {

namespace {

// The chosen file, made when the user agrees to open a new one; no value when he cancelled.
std::optional<QString> chooseFile(core::State& state, bool append) {
    const QString title = append ? QStringLiteral("Einträge aus welcher Datei anhängen?")
                                 : QStringLiteral("Sammlungsdatei öffnen");
    for (;;) {
        const auto chosen = state.fileDialogs->openFile(title, platform::collectionFileFilter);
        if (!chosen) return std::nullopt;
        if (QFileInfo::exists(*chosen)) return chosen;
        if (append || !state.messages->ask(QStringLiteral("Meldung:"), createQuestion)) continue;
        const WriteResult made = newcollectionfile(*chosen, state);
        reportWriteFault(state, made);
        if (!made.ok) return std::nullopt;
        return chosen;
    }
}

// A changed collection is offered for saving before another takes its place. False when the user
// wanted it saved and it was not: the changes would be lost with the working copy.
bool offerSaving(CollectionState& keeper, core::State& state) {
    if (!keeper.collection.changed || !state.messages->ask(saveQuestionTitle, saveQuestion))
        return true;
    return savecommand(keeper, state, true) == SaveOutcome::Saved;
}

// The settings file is read again after a file was taken in, as at the start, and the picture
// shows what was read. Appending writes the settings as well, as "Anhängen" always has.
void settingsAfterReading(core::State& state, bool append) {
    engine::loadsettings(state);
    graph::setscale(state);
    state.hooks.call(state.hooks.redrawall);
    if (append) engine::savesettings(state);
}

// Reads the file at path into the collection (after or in place of its entries); a replaced
// collection takes the name named. A file that cannot be read leaves everything as it was.
bool takeFile(CollectionState& keeper, core::State& state, const QString& path, bool append,
              const QString& named) {
    Collection read = keeper.collection;
    const QString fault =
        loadcollection(read, path, state, append ? ReadMode::Append : ReadMode::Replace);
    if (!fault.isEmpty()) {
        state.messages->inform(errorTitle, fault, platform::MessageIcon::Critical);
        return false;
    }
    if (append) {
        // The state on the screen stays the current data; only the entries join the table.
        keeper.collection.entries = std::move(read.entries);
    } else {
        read.path = named;
        read.changed = false;
        keeper.collection = std::move(read);
        keeper.selected = -1;
    }
    reportWriteFault(state, writeWorkingCopy(keeper.collection, state, append));
    settingsAfterReading(state, append);
    return true;
}

} // namespace

bool opencollection(CollectionState& keeper, core::State& state, bool append) {
    if (!append && !offerSaving(keeper, state)) return false;
    const auto path = chooseFile(state, append);
    if (!path) return false;
    if (isWorkingCopy(*path, state)) {
        state.messages->inform(errorTitle, workingCopyRefused.arg(QDir::toNativeSeparators(*path)),
                               platform::MessageIcon::Warning);
        return false;
    }
    return takeFile(keeper, state, *path, append, *path);
}

bool openExamples(CollectionState& keeper, core::State& state, const QString& source) {
    if (!offerSaving(keeper, state)) return false;
    // The collection is read from a copy of its own: the source is never the file of the
    // collection, so no save can ever write into it.
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("Beispiele.txt"));
    if (!folder.isValid() || !QFile::copy(source, copy)) {
        state.messages->inform(errorTitle,
                               QStringLiteral("Die Beispielsammlung konnte nicht gelesen "
                                              "werden:\n%1")
                                   .arg(QDir::toNativeSeparators(source)),
                               platform::MessageIcon::Critical);
        return false;
    }
    return takeFile(keeper, state, copy, false, QString());
}

} // namespace collection
