#include "collection/filetext.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace collection {

namespace {

bool isAscii(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
}

// The decoded text when the bytes are valid UTF-8.
std::optional<QString> utf8Text(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
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
    if (!isAscii(bytes))
        if (auto text = utf8Text(bytes)) {
            if (text->startsWith(QChar(0xfeff))) text->remove(0, 1);
            return *text;
        }
    return QString::fromLatin1(bytes);
}

QByteArray encodeFileText(const QString& text) {
    if (fitsLatin1(text)) {
        QByteArray latin1 = text.toLatin1();
        if (isAscii(latin1) || !utf8Text(latin1)) return latin1;
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
