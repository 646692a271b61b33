#include "mainwin/collectionrun.h"

#include "collection/reader.h"
#include "collection/writer.h"
#include "core/state.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <optional>

namespace mainwin {

namespace {

const QString usageText = QStringLiteral(
    "Aufruf: kurvatur --collection DATEI --list\n"
    "        kurvatur --collection DATEI --save-as ZIEL\n"
    "  --collection DATEI  die Sammlungsdatei, die gelesen wird\n"
    "  --list              eine Zeile je Eintrag: \"entry\", Nummer, 1 für geschützt oder 0,\n"
    "                      Kurzbeschreibung, getrennt durch Tabulatoren\n"
    "  --save-as ZIEL      schreibt die Sammlung mit den aktuellen Daten neu nach ZIEL\n");

void fail(QTextStream& err, const QString& message) {
    err << QStringLiteral("Fehler: ") << message << Qt::endl;
}

// The bytes of the file, or nothing with the reason on err. The messages are the program's own:
// the system's reasons would reach the user in English.
std::optional<QByteArray> fileBytes(const QString& path, QTextStream& err) {
    const QFileInfo info(path);
    if (!info.exists()) {
        fail(err, QStringLiteral("Die Datei \"%1\" gibt es nicht.").arg(path));
        return std::nullopt;
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        fail(err, QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.").arg(path));
        return std::nullopt;
    }
    return file.readAll();
}

// A short description in one row of the list: its line breaks and tabs would split the row.
QString inOneRow(QString text) {
    for (const QChar c : {QLatin1Char('\r'), QLatin1Char('\n'), QLatin1Char('\t')})
        text.replace(c, QLatin1Char(' '));
    return text;
}

void list(const collection::Collection& table, QTextStream& out) {
    const QChar tab = QLatin1Char('\t');
    int position = 0;
    for (const collection::Entry& entry : table.entries)
        out << QStringLiteral("entry") << tab << ++position << tab << (entry.isProtected() ? 1 : 0)
            << tab << inOneRow(entry.fields[collection::shortField]) << QLatin1Char('\n');
    out.flush();
}

// The first entry whose short description, as it is or as --list shows it, equals which.
const collection::Entry* entryNamed(const collection::Collection& table, const QString& which,
                                    Qt::CaseSensitivity cs) {
    for (const collection::Entry& entry : table.entries) {
        const QString& name = entry.fields[collection::shortField];
        if (name.compare(which, cs) == 0 || inOneRow(name).compare(which, cs) == 0) return &entry;
    }
    return nullptr;
}

const collection::Entry* entryAt(const collection::Collection& table, const QString& which) {
    bool number = false;
    const qlonglong position = which.trimmed().toLongLong(&number);
    if (!number || position < 1 || position > qlonglong(table.entries.size())) return nullptr;
    return &table.entries[std::size_t(position - 1)];
}

} // namespace

QString collectionUsage() {
    return usageText;
}

QString collectionProblem(const CollectionRequest& request) {
    using Action = CollectionRequest::Action;
    if (request.file.isEmpty() && request.action != Action::None)
        return (request.action == Action::List ? QStringLiteral("--list")
                                               : QStringLiteral("--save-as")) +
               QStringLiteral(" gilt nur zusammen mit --collection");
    if (!request.file.isEmpty() && request.action == Action::None)
        return QStringLiteral(
            "--collection DATEI braucht --list, --save-as ZIEL oder --render BILD");
    return {};
}

std::optional<collection::Collection> readCollectionFile(const QString& path, QTextStream& err) {
    const std::optional<QByteArray> bytes = fileBytes(path, err);
    if (!bytes) return std::nullopt;
    // The key table, the section names and the current-data name of a fresh state: the file
    // reads as in the window program, whose settings do not change them.
    const core::State state;
    collection::Collection table = collection::emptyCollection(state);
    if (const QString message = collection::readcollection(table, *bytes, state);
        !message.isEmpty()) {
        fail(err, message);
        return std::nullopt;
    }
    return table;
}

std::optional<collection::Fields> entryFields(const collection::Collection& table,
                                              const QString& which) {
    const collection::Entry* entry = entryNamed(table, which, Qt::CaseSensitive);
    if (!entry) entry = entryNamed(table, which, Qt::CaseInsensitive);
    if (!entry) entry = entryAt(table, which);
    if (!entry) return std::nullopt;
    return entry->fields;
}

int runCollection(const CollectionRequest& request, QTextStream& out, QTextStream& err) {
    std::optional<collection::Collection> table = readCollectionFile(request.file, err);
    if (!table) return 1;
    if (request.action == CollectionRequest::Action::List) {
        list(*table, out);
        return 0;
    }
    // Written with a fresh state as it was read.
    const core::State state;
    const collection::WriteResult written =
        collection::writefile(*table, request.target, state, false);
    if (!written.ok) {
        fail(err, written.message);
        return 1;
    }
    return 0;
}

} // namespace mainwin
