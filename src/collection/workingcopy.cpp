#include "collection/workingcopy.h"

#include "collection/reader.h"
#include "collection/writer.h"
#include "core/state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace collection {

QString workingCopyPath(const core::State& state) {
    return QDir(state.configFolder).filePath(QStringLiteral("kurvatur.tmp"));
}

WriteResult inittempfile(Collection& collection, const core::State& state) {
    collection.changed = false;
    collection.path.clear();
    if (!QDir().mkpath(state.configFolder))
        return {
            false,
            QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(state.configFolder)};
    const QString path = workingCopyPath(state);
    if (QFile::exists(path)) return {};
    return newcollectionfile(path, state);
}

bool isWorkingCopy(const QString& path, const core::State& state) {
    const QFileInfo chosen(path);
    const QFileInfo workingCopy(workingCopyPath(state));
    if (chosen.absoluteFilePath() == workingCopy.absoluteFilePath()) return true;
    // A link or another spelling of the same file.
    const QString canonical = chosen.canonicalFilePath();
    return !canonical.isEmpty() && canonical == workingCopy.canonicalFilePath();
}

WriteResult writeWorkingCopy(Collection& collection, const core::State& state, bool markChanged) {
    // The start told the user that the folder cannot be written; the change counts all the same.
    if (!state.configFolderWritable) {
        if (markChanged) collection.changed = true;
        return {};
    }
    return writefile(collection, workingCopyPath(state), state, markChanged);
}

QString readWorkingCopy(Collection& collection, const core::State& state) {
    QFile file(workingCopyPath(state));
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    const QByteArray bytes = file.readAll();
    const QString fault = readcollection(collection, bytes, state);
    if (!fault.isEmpty()) return fault;
    // Every working copy the program writes begins with the current data; only the empty one
    // that a start makes has none. Without it, a crash cut the file short after its first lines
    // and the entries that followed are lost.
    if (!collection.currentDataFound && bytes != newcollectionBytes(state))
        return QStringLiteral("Die Arbeitskopie der Sammlung ist unvollständig.");
    return {};
}

} // namespace collection
