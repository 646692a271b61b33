#include "collection/writer.h"

#include "collection/itemlines.h"
#include "core/state.h"

namespace collection {

namespace {

const QString crlf = QStringLiteral("\r\n");
const QString valueEnd = QStringLiteral("\\end\\");

// A CR or LF breaks the line in the file; a text of one line must hold neither.
bool hasLineBreak(QStringView text) {
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// A CR or LF that is not part of a CR LF pair would break a line of a value where it should not.
bool hasLoneBreak(const QString& text) {
    const qsizetype pairs = text.count(crlf);
    return text.count(QLatin1Char('\r')) != pairs || text.count(QLatin1Char('\n')) != pairs;
}

// The lines of a field of fields 2 to 10 after remcrlf, empty ones left out.
auto writtenLines(const QString& trimmed) {
    return QStringView(trimmed).tokenize(crlf, Qt::SkipEmptyParts);
}

// Collects the lines of one entry and knows whether the last of them may carry the closing "}".
class EntryWriter {
public:
    EntryWriter(QString& out, const QStringList& keys) : out_(out), keys_(keys) {}

    void write(const Entry& entry) {
        writeShort(entry.fields[shortField], entry.isProtected());
        writeValue(longField, entry.fields[longField]);
        for (int field : {extraLinesField, pointsField})
            if (QString text = writtenForm(field, entry.fields[field]); !text.isEmpty())
                writeValue(field, text);
        for (int field = termsField; field <= attribsField; ++field)
            writeLines(field, entry.fields[field]);
        out_ += lastTakesBrace_ ? QStringLiteral("}") : crlf + QLatin1Char('}');
    }

private:
    const QString& key(int field) const {
        static const QString none;
        const int index = fieldKey(field);
        return index == noKey ? none : keys_.at(index);
    }

    // Whether the reader takes the lines back into the field as text, and nothing else.
    bool readsBack(const QStringList& lines, int field, const QString& text, bool block) const {
        using Step = EntryReader::Step;
        EntryReader reader(keys_);
        Step step = block ? reader.start(lines.first(), 1) : reader.line(lines.first());
        for (qsizetype i = 1; i < lines.size() && step == Step::More; ++i)
            step = reader.line(lines.at(i));
        Entry expected;
        expected.fields[shortField] = reader.entry.fields[shortField];
        expected.fields[field] = text;
        expected.protection = reader.entry.protection;
        return step == Step::More && !reader.insideValue() && reader.entry == expected;
    }

    void writeShort(const QString& name, bool isProtected) {
        const QString start =
            QLatin1Char('{') + (isProtected ? QStringLiteral("*") : QString()) + key(shortField);
        if (!hasLineBreak(name) && readsBack({start + name}, shortField, name, true)) {
            out_ += start + name;
        } else {
            out_ += start + crlf + escapedLine(shortField, name);
        }
        lastTakesBrace_ = false;
    }

    void writeValue(int field, const QString& text) {
        const QString plain = key(field) + text + valueEnd;
        out_ += crlf;
        if (!hasLoneBreak(text) && readsBack(plain.split(crlf), field, text, false)) {
            out_ += plain;
            lastTakesBrace_ = field == longField || !plain.contains(QLatin1Char('}'));
        } else {
            out_ += escapedLine(field, text);
            lastTakesBrace_ = false;
        }
    }

    void writeLines(int field, const QString& text) {
        const QString& prefix = key(field);
        const QString trimmed = remcrlf(text);
        for (const QStringView line : writtenLines(trimmed)) {
            out_ += crlf;
            if (isPlain(field, prefix, line)) {
                out_ += prefix;
                out_ += line;
                lastTakesBrace_ = !line.contains(QLatin1Char('}'));
            } else {
                out_ += escapedLine(field, line.toString());
                lastTakesBrace_ = false;
            }
        }
    }

    // A line of fields 2 to 10 goes plain when the reader takes it back whole into the field.
    bool isPlain(int field, const QString& prefix, QStringView line) const {
        if (hasLineBreak(line) || line.endsWith(QLatin1Char('}')) ||
            trimBlanks(line).size() != line.size())
            return false;
        if (prefix.isEmpty()) return plainLineField(line, keys_) == field;
        return plainLineField(QString(prefix + line.toString()), keys_) == field;
    }

    QString& out_;
    const QStringList& keys_;
    bool lastTakesBrace_ = false;
};

} // namespace

QString writtenForm(int field, const QString& text) {
    if (field <= longField) return text;
    const QString trimmed = remcrlf(text);
    if (field >= extraLinesField) return trimmed;
    QStringList lines;
    for (const QStringView line : writtenLines(trimmed))
        lines << line.toString();
    return lines.join(crlf);
}

QByteArray collectionBytes(const Collection& collection, const core::State& state) {
    QString out = QLatin1Char('[') + state.plotTypeNames.at(0) + QLatin1Char(']') + crlf;
    out.reserve(qsizetype(collection.entries.size() + 1) * 1024);
    EntryWriter writer(out, state.keyTable);
    Entry current{collection.currentData, 0};
    current.fields[shortField] = state.tempEntryName;
    writer.write(current);
    for (const Entry& entry : collection.entries) {
        out += crlf;
        writer.write(entry);
    }
    out += crlf;
    return encodeFileText(out);
}

WriteResult writefile(Collection& collection, const QString& path, const core::State& state,
                      bool markChanged) {
    WriteResult result = replaceFile(path, collectionBytes(collection, state));
    if (result.ok && markChanged) collection.changed = true;
    return result;
}

WriteResult savecollection(Collection& collection, const QString& path, const core::State& state) {
    WriteResult result = writefile(collection, path, state, false);
    if (!result.ok) return result;
    collection.path = path;
    collection.changed = false;
    return result;
}

QByteArray newcollectionBytes(const core::State& state) {
    return encodeFileText(QStringLiteral("[Kurvatur]\r\n\r\n[") + state.plotTypeNames.at(0) +
                          QStringLiteral("]\r\n"));
}

WriteResult newcollectionfile(const QString& path, const core::State& state) {
    return replaceFile(path, newcollectionBytes(state));
}

} // namespace collection
