#include "collection/entryops.h"

#include "collection/workingcopy.h"
#include "core/state.h"

#include <QLocale>

namespace collection {

namespace {

const QString copyMark = QStringLiteral(". Kopie von ");

bool validIndex(const Collection& collection, int index) {
    return index >= 0 && index < int(collection.entries.size());
}

Entry& selectedEntry(CollectionState& keeper) {
    return keeper.collection.entries[std::size_t(keeper.selected)];
}

bool hasSelection(const CollectionState& keeper) {
    return validIndex(keeper.collection, keeper.selected);
}

// The working copy holds every change of the table at once.
void tableChanged(CollectionState& keeper, core::State& state) {
    reportWriteFault(state, writeWorkingCopy(keeper.collection, state, true));
}

// prefix followed by the first number from the count of entries on that no entry carries.
QString freeName(const Collection& collection, const QString& prefix) {
    int n = int(collection.entries.size());
    do
        ++n;
    while (find(collection, prefix + QString::number(n)) != 0);
    return prefix + QString::number(n);
}

QString dateAndTime(const QDateTime& now) {
    const QLocale locale = QLocale::system();
    return locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral(" um ") +
           locale.toString(now.time(), QLocale::ShortFormat);
}

void append(CollectionState& keeper, core::State& state, Entry entry) {
    keeper.collection.entries.push_back(std::move(entry));
    keeper.selected = int(keeper.collection.entries.size()) - 1;
    tableChanged(keeper, state);
}

} // namespace

int find(const Collection& collection, const QString& name) {
    for (std::size_t i = 0; i < collection.entries.size(); ++i)
        if (collection.entries[i].fields[shortField] == name) return int(i) + 1;
    return 0;
}

bool geschutzt(const Collection& collection, int index, core::State& state) {
    if (!validIndex(collection, index) || !collection.entries[std::size_t(index)].isProtected())
        return false;
    state.messages->inform(protectedTitle, protectedMessage, platform::MessageIcon::Warning);
    return true;
}

QString selectionCaption(const CollectionState& keeper) {
    if (!hasSelection(keeper)) return noEntryCaption;
    return QLatin1Char(' ') +
           keeper.collection.entries[std::size_t(keeper.selected)].fields[shortField];
}

void addcol(CollectionState& keeper, core::State& state, const QDateTime& now) {
    Entry entry;
    entry.fields[shortField] = freeName(keeper.collection, QStringLiteral("Eintrag "));
    entry.fields[longField] = QStringLiteral("hinzugefügt am ") + dateAndTime(now);
    aktpuff(keeper.collection, state);
    for (int field = termsField; field < fieldCount; ++field)
        entry.fields[field] = keeper.collection.currentData[field];
    append(keeper, state, std::move(entry));
}

void newentry(CollectionState& keeper, core::State& state, const QDateTime& now) {
    Entry entry;
    entry.fields[shortField] = freeName(keeper.collection, QStringLiteral("Neuer Eintrag "));
    entry.fields[longField] = QStringLiteral("leer hinzugefügt am ") + dateAndTime(now);
    append(keeper, state, std::move(entry));
}

void clrone(CollectionState& keeper, core::State& state) {
    if (!hasSelection(keeper) || geschutzt(keeper.collection, keeper.selected, state)) return;
    auto& entries = keeper.collection.entries;
    entries.erase(entries.begin() + keeper.selected);
    keeper.selected = std::min(keeper.selected, int(entries.size()) - 1);
    tableChanged(keeper, state);
}

void copyone(CollectionState& keeper, bool asCopy) {
    if (!hasSelection(keeper)) return;
    keeper.clipboard = selectedEntry(keeper).fields;
    if (asCopy)
        keeper.clipboard[shortField] =
            QStringLiteral("1") + copyMark + keeper.clipboard[shortField];
}

QString nextCopyName(const QString& name) {
    const qsizetype mark = name.indexOf(copyMark);
    bool numbered = false;
    const int n = mark < 0 ? 0 : name.left(mark).toInt(&numbered);
    if (!numbered) return QStringLiteral("1") + copyMark + name;
    return QString::number(n + 1) + copyMark + name.mid(mark + copyMark.size());
}

void insert(CollectionState& keeper, core::State& state, bool after) {
    if (keeper.clipboard[shortField].isEmpty()) return;
    auto& entries = keeper.collection.entries;
    if (int(entries.size()) >= maxEntries) return;
    const int position =
        hasSelection(keeper) ? keeper.selected + (after ? 1 : 0) : int(entries.size());
    Entry entry;
    entry.fields = keeper.clipboard;
    entries.insert(entries.begin() + position, std::move(entry));
    keeper.selected = position;
    keeper.clipboard[shortField] = nextCopyName(keeper.clipboard[shortField]);
    tableChanged(keeper, state);
}

void ren(CollectionState& keeper, core::State& state) {
    if (!hasSelection(keeper) || geschutzt(keeper.collection, keeper.selected, state)) return;
    QString& name = selectedEntry(keeper).fields[shortField];
    const auto answer =
        state.messages->input(renameTitle,
                              QStringLiteral("Bisherige Bezeichnung: ") + name +
                                  QStringLiteral("\r\nWie soll die neue Bezeichnung lauten?"),
                              QString());
    if (!answer || answer->trimmed().isEmpty()) return;
    name = *answer;
    tableChanged(keeper, state);
}

void allakt(CollectionState& keeper, core::State& state) {
    if (!hasSelection(keeper) || geschutzt(keeper.collection, keeper.selected, state)) return;
    aktpuff(keeper.collection, state);
    Fields& fields = selectedEntry(keeper).fields;
    for (int field = termsField; field < fieldCount; ++field)
        fields[field] = keeper.collection.currentData[field];
    tableChanged(keeper, state);
}

void intolist(CollectionState& keeper, core::State& state, const Fields& edited) {
    if (!hasSelection(keeper) || selectedEntry(keeper).isProtected()) return;
    Fields& fields = selectedEntry(keeper).fields;
    bool changed = false;
    for (int field = longField; field <= attribsField; ++field) {
        changed = changed || fields[field] != edited[field];
        fields[field] = edited[field];
    }
    if (changed) tableChanged(keeper, state);
}

void drawSelected(CollectionState& keeper, core::State& state) {
    if (!hasSelection(keeper)) return;
    keeper.status = colget(state, selectedEntry(keeper).fields);
    aktpuff(keeper.collection, state);
    reportWriteFault(state, writeWorkingCopy(keeper.collection, state, false));
}

} // namespace collection
