#include "collection/filetext.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace collection {

namespace {

bool isAscii(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
}

bool isUtf8(const QByteArray& bytes) {
    return QByteArrayView(bytes).isValidUtf8();
}

bool fitsLatin1(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xff; });
}

QString failure(const QString& path, const QString& reason) {
    return QStringLiteral("Die Datei %1 konnte nicht geschrieben werden (%2). Die bisherige Datei "
                          "bleibt unverändert.")
        .arg(path, reason);
}

} // namespace

QString decodeFileText(const QByteArray& bytes) {
    if (isAscii(bytes) || !isUtf8(bytes)) return QString::fromLatin1(bytes);
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xfeff))) text.remove(0, 1);
    return text;
}

QByteArray encodeFileText(const QString& text) {
    if (fitsLatin1(text)) {
        QByteArray latin1 = text.toLatin1();
        if (isAscii(latin1) || !isUtf8(latin1)) return latin1;
    }
    return text.toUtf8();
}

QStringList fileLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast(); // the final line break
    return lines;
}

WriteResult replaceFile(const QString& path, const QByteArray& bytes) {
    const QString backup = path + QStringLiteral(".tmp");
    QFile::remove(backup);
    if (QFile::exists(path) && !QFile::copy(path, backup))
        return {false, failure(path, QStringLiteral("keine Sicherungskopie möglich"))};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {false, failure(path, file.errorString())};
    QFile::remove(backup);
    return {};
}

} // namespace collection
