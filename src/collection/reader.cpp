#include "collection/reader.h"

#include "collection/filetext.h"
#include "collection/itemlines.h"
#include "core/state.h"

#include <QDir>
#include <QFile>

namespace collection {

namespace {

class SectionReader {
public:
    SectionReader(Collection& collection, const QStringList& lines, const QStringList& keys)
        : collection_(collection), lines_(lines), entryReader_(keys) {}

    // Reads the entries of the section that begins after the line identification; a missing
    // identification line leaves found false.
    QString read(const QString& identification) {
        const qsizetype start = lines_.indexOf(identification);
        found = start >= 0;
        if (!found) return {};
        for (next_ = start + 1; next_ < lines_.size();) {
            const QStringView line = trimBlanks(lines_.at(next_++));
            if (line.startsWith(u'[')) return {};
            if (!line.startsWith(u'{')) continue;
            if (collection_.entries.size() >= maxEntries) return missingBlockStart;
            bool sectionEnded = false;
            if (!readEntry(line, sectionEnded)) return unexpectedEnd;
            if (sectionEnded) return {};
        }
        return {};
    }

    bool found = false;

private:
    // Reads the entry of the block-start line into the table; false on a fault.
    bool readEntry(QStringView blockStart, bool& sectionEnded) {
        using Step = EntryReader::Step;
        const int position = int(collection_.entries.size()) + 1;
        Step step = entryReader_.start(blockStart, position);
        while (step == Step::More && next_ < lines_.size())
            step = entryReader_.line(lines_.at(next_++));
        // An entry cut short stays in the table as far as it was read.
        collection_.entries.push_back(std::move(entryReader_.entry));
        sectionEnded = step == Step::SectionDone;
        return step == Step::EntryDone || step == Step::SectionDone;
    }

    Collection& collection_;
    const QStringList& lines_;
    EntryReader entryReader_;
    qsizetype next_ = 0;
};

QString bracketed(const QString& name) {
    return QLatin1Char('[') + name + QLatin1Char(']');
}

} // namespace

QString readcollection(Collection& collection, const QByteArray& bytes, const core::State& state,
                       ReadMode mode) {
    if (mode == ReadMode::Replace) collection.entries.clear();
    const QStringList lines = fileLines(decodeFileText(bytes));
    SectionReader reader(collection, lines, state.keyTable);
    for (int section = 0; section < state.plotTypeNames.size(); ++section) {
        const QString message = reader.read(bracketed(state.plotTypeNames.at(section)));
        if (!message.isEmpty()) return message;
        if (!reader.found && section == 0) return missingIdentification;
    }
    takeTempEntry(collection, int(collection.entries.size()), state.tempEntryName);
    return {};
}

QString loadcollection(Collection& collection, const QString& path, const core::State& state,
                       ReadMode mode) {
    QFile file(path);
    // The system's reason would reach the user in English.
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Die Datei %1 kann nicht gelesen werden.")
            .arg(QDir::toNativeSeparators(path));
    return readcollection(collection, file.readAll(), state, mode);
}

} // namespace collection
