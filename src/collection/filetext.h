#pragma once
// The bytes of a collection file and its text: Latin-1 with CR LF line ends, or UTF-8 where
// Latin-1 cannot carry the text; and the safe replacement of a file on disk.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace collection {

// UTF-8 when the bytes are valid UTF-8 and hold a character beyond ASCII, else Latin-1.
QString decodeFileText(const QByteArray& bytes);

// Latin-1 when every character fits and the bytes cannot be mistaken for UTF-8 when read back;
// else UTF-8, so that nothing typed is lost.
QByteArray encodeFileText(const QString& text);

// The lines of a text: broken at LF, one CR before it dropped.
QStringList fileLines(const QString& text);

struct WriteResult {
    bool ok = true;
    QString message; // German, for the user; empty when ok
};

// Keeps the old file as path + ".tmp" until the new content is complete on disk, then replaces
// the file in one step and removes the backup. A failed write leaves the old file as it was.
WriteResult replaceFile(const QString& path, const QByteArray& bytes);

} // namespace collection
