#pragma once
// What a PDF file holds, for tests: its content streams unpacked, so that a test can see whether
// the picture went in as lines and text or as one bitmap.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QtEndian>

namespace testsupport {

struct PdfContent {
    QByteArray raw;     // the file as it is
    QByteArray streams; // every stream, unpacked where it was packed
};

inline PdfContent pdfContent(const QByteArray& raw) {
    PdfContent pdf{raw, {}};
    qsizetype at = 0;
    for (;;) {
        qsizetype start = raw.indexOf("stream", at);
        if (start < 0) break;
        start += 6;
        if (raw.mid(start, 2) == "\r\n")
            start += 2;
        else if (raw.mid(start, 1) == "\n")
            start += 1;
        const qsizetype end = raw.indexOf("endstream", start);
        if (end < 0) break;
        const QByteArray body = raw.mid(start, end - start);
        const qsizetype object = raw.lastIndexOf(" obj", start);
        const bool packed = raw.mid(object, start - object).contains("/FlateDecode");
        // qUncompress wants the size in front; it grows its buffer when the guess is short.
        QByteArray sized(4, '\0');
        qToBigEndian<quint32>(quint32(body.size() * 8 + 1024), sized.data());
        pdf.streams += packed ? qUncompress(sized + body) : body;
        pdf.streams += '\n';
        at = end + 9;
    }
    return pdf;
}

inline PdfContent pdfFile(const QString& path) {
    QFile file(path);
    return pdfContent(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
}

// Lines and text, not a picture of them: path operators (move, line, stroke), a text object with
// a font, and no image anywhere.
inline bool holdsVectorPicture(const PdfContent& pdf, std::string& why) {
    if (!pdf.raw.startsWith("%PDF")) return why = "not a PDF file", false;
    if (!pdf.streams.contains(" m\n") || !pdf.streams.contains(" l\n"))
        return why = "no path operators", false;
    if (!pdf.streams.contains("BT") || !pdf.streams.contains("Tf"))
        return why = "no text object", false;
    if (!pdf.raw.contains("/Font")) return why = "no font", false;
    if (pdf.raw.contains("/Subtype /Image")) return why = "holds an image", false;
    return true;
}

// The size of the (first) page in points.
inline QSizeF pdfPageSize(const PdfContent& pdf) {
    const qsizetype at = pdf.raw.indexOf("/MediaBox [");
    if (at < 0) return {};
    const QList<QByteArray> numbers =
        pdf.raw.mid(at + 11, pdf.raw.indexOf(']', at) - at - 11).simplified().split(' ');
    if (numbers.size() != 4) return {};
    return QSizeF(numbers[2].toDouble() - numbers[0].toDouble(),
                  numbers[3].toDouble() - numbers[1].toDouble());
}

} // namespace testsupport
