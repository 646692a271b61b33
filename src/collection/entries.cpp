#include "collection/entries.h"

#include "core/state.h"

namespace collection {

namespace {
const QString crlf = QStringLiteral("\r\n");
}

Collection emptyCollection(const core::State& state) {
    Collection collection;
    collection.currentData[shortField] = state.tempEntryName;
    return collection;
}

void appendline(QString& field, const QString& line) {
    if (!field.isEmpty()) field += crlf;
    field += line;
}

QString remcrlf(QString text) {
    const QString twoLineBreaks = crlf + crlf;
    while (text.contains(twoLineBreaks))
        text.replace(twoLineBreaks, crlf);
    // Blanks and line breaks go from the end in any order, so that a field written once is
    // written the same way again.
    for (qsizetype end = -1; end != text.size();) {
        end = text.size();
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        if (text.endsWith(crlf)) text.chop(crlf.size());
    }
    return text;
}

void takeTempEntry(Collection& collection, int count, const QString& tempEntryName) {
    collection.currentDataFound = false;
    const auto end =
        collection.entries.begin() + std::min<qsizetype>(count, collection.entries.size());
    for (auto it = collection.entries.begin(); it != end; ++it) {
        if (it->fields[shortField] != tempEntryName) continue;
        collection.currentDataFound = true;
        for (int k = termsField; k < fieldCount; ++k)
            collection.currentData[k] = it->fields[k];
        collection.entries.erase(it);
        return;
    }
}

} // namespace collection
