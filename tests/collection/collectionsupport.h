#pragma once
// What the collection tests share: entries built from field texts, and file bytes from lines.

#include "collection/entries.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <utility>

namespace testsupport {

// An entry of the given fields (by number), protected or not; the rest stay empty.
inline collection::Entry entry(std::initializer_list<std::pair<int, QString>> fields,
                               bool isProtected = false) {
    collection::Entry e;
    for (const auto& [field, text] : fields)
        e.fields[field] = text;
    e.protection = isProtected ? 1 : 0;
    return e;
}

// Latin-1 bytes of the lines, each ended by CR LF.
inline QByteArray fileOf(const QStringList& lines) {
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

} // namespace testsupport
