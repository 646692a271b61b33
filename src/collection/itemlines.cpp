#include "collection/itemlines.h"

namespace collection {

namespace {

const QString crlf = QStringLiteral("\r\n");
const QString valueEnd = QStringLiteral("\\end\\");
const QLatin1Char brace('}');
const QLatin1Char backslash('\\');

// Field of an escaped line ("\" number "\"), or -1; length receives the marker's length.
int escapedField(QStringView trimmed, qsizetype& length) {
    if (!trimmed.startsWith(backslash)) return -1;
    int field = 0;
    qsizetype i = 1;
    for (; i < trimmed.size() && i < 4 && trimmed.at(i).isDigit(); ++i)
        field = field * 10 + trimmed.at(i).digitValue();
    if (i == 1 || i >= trimmed.size() || trimmed.at(i) != backslash || field >= fieldCount)
        return -1;
    length = i + 1;
    return field;
}

QString unescaped(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (c == backslash && (next == backslash || next == u'r' || next == u'n')) {
            out += next == u'r' ? QChar(u'\r') : next == u'n' ? QChar(u'\n') : backslash;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// A term line: "(" and ")" both before the first "=".
bool isTermLine(QStringView line) {
    const qsizetype equals = line.indexOf(u'=');
    const qsizetype open = line.indexOf(u'(');
    const qsizetype close = line.indexOf(u')');
    return open >= 0 && open < equals && close >= 0 && close < equals;
}

// Field of a line that holds "=" or "[" but no key.
int fieldByForm(QStringView line) {
    if (line.contains(u'=')) {
        if (isTermLine(line)) return termsField;
        return line.startsWith(u'u') ? lowerBoundField : paramsField;
    }
    if (line.contains(u'[')) return line.startsWith(u'D') ? rangesField : boundsField;
    return -1;
}

int keyedField(int key) {
    if (key >= coloursKey && key < coloursKey + 3) return coloursField + key - coloursKey;
    if (key == attribsKey) return attribsField;
    return -1;
}

int valueFieldOf(int key) {
    return key == longKey         ? longField
           : key == extraLinesKey ? extraLinesField
           : key == pointsKey     ? pointsField
                                  : -1;
}

// The first key of the table that the line begins with.
int keyOf(QStringView trimmed, const QStringList& keys) {
    for (int key = endKey; key <= widthLineKey && key < keys.size(); ++key)
        if (trimmed.startsWith(keys.at(key))) return key;
    return noKey;
}

} // namespace

int fieldKey(int field) {
    switch (field) {
    case shortField:
        return shortKey;
    case longField:
        return longKey;
    case coloursField:
    case widthsField:
    case lineTypesField:
        return coloursKey + field - coloursField;
    case attribsField:
        return attribsKey;
    case extraLinesField:
        return extraLinesKey;
    case pointsField:
        return pointsKey;
    default:
        return noKey;
    }
}

QStringView trimBlanks(QStringView text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

QString escapedLine(int field, const QString& text) {
    QString out = backslash + QString::number(field) + backslash;
    out.reserve(out.size() + text.size() + 8);
    for (const QChar c : text) {
        if (c == backslash)
            out += QStringLiteral("\\\\");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out;
}

EntryReader::Step EntryReader::start(QStringView blockStart, int position) {
    entry = Entry{};
    entry.fields[shortField] = QStringLiteral("Eintrag %1").arg(position);
    valueField_ = -1;
    QStringView rest = trimBlanks(blockStart.sliced(1));
    if (rest.startsWith(u'*')) {
        entry.protection = 1;
        rest = trimBlanks(rest.sliced(1));
    }
    return rest.isEmpty() ? Step::More : item(rest, rest);
}

EntryReader::Step EntryReader::line(QStringView raw) {
    const QStringView trimmed = trimBlanks(raw);
    if (insideValue()) return valueLine(trimmed, trimmed.endsWith(brace));
    if (trimmed.isEmpty()) return Step::More;
    return item(raw, trimmed);
}

EntryReader::Step EntryReader::item(QStringView raw, QStringView trimmed) {
    qsizetype markerLength = 0;
    if (const int field = escapedField(trimmed, markerLength); field >= 0) {
        // The text runs to the end of the line as it stands, blanks included.
        const qsizetype start = raw.indexOf(backslash) + markerLength;
        const QString text = unescaped(raw.sliced(start));
        if (field == shortField)
            entry.fields[shortField] = text;
        else
            appendline(entry.fields[field], text);
        return Step::More;
    }
    const int key = keyOf(trimmed, keys_);
    QString line = trimmed.toString();
    const bool endsEntry = line.endsWith(brace);
    if (endsEntry && key != longKey) line.remove(brace);
    if (key == endKey) return Step::EntryDone;
    if (key == sectionKey) return Step::SectionDone;
    const Step after = endsEntry ? Step::EntryDone : Step::More;
    if (key == shortKey) {
        entry.fields[shortField] =
            trimBlanks(QStringView(line).sliced(keys_.at(key).size())).toString();
        return after;
    }
    if (const int field = valueFieldOf(key); field >= 0) {
        valueField_ = field;
        return valueLine(QStringView(line).sliced(keys_.at(key).size()), endsEntry);
    }
    if (const int field = keyedField(key); field >= 0) {
        appendline(entry.fields[field],
                   trimBlanks(QStringView(line).sliced(keys_.at(key).size())).toString());
        return after;
    }
    if (key >= firstPlaceholderKey && key <= lastPlaceholderKey) return after;
    const int field = key == widthLineKey                           ? termsField
                      : key >= firstRangeKey && key <= lastRangeKey ? rangesField
                                                                    : fieldByForm(line);
    if (field < 0) return Step::Invalid;
    appendline(entry.fields[field], line);
    return after;
}

EntryReader::Step EntryReader::valueLine(QStringView text, bool endsEntry) {
    QString value = text.toString();
    value.replace(QStringLiteral("\\n"), crlf);
    QString& field = entry.fields[valueField_];
    if (const qsizetype end = value.indexOf(valueEnd); end >= 0) {
        value.truncate(end);
        valueField_ = -1;
    } else if (endsEntry) {
        while (value.endsWith(brace))
            value.chop(1);
        valueField_ = -1;
    }
    field += value;
    if (insideValue()) field += crlf;
    return endsEntry ? Step::EntryDone : Step::More;
}

int plainLineField(QStringView trimmed, const QStringList& keys) {
    qsizetype markerLength = 0;
    if (escapedField(trimmed, markerLength) >= 0) return -1;
    const int key = keyOf(trimmed, keys);
    if (key == widthLineKey) return termsField;
    if (key >= firstRangeKey && key <= lastRangeKey) return rangesField;
    if (key != noKey) return keyedField(key);
    return fieldByForm(trimmed);
}

} // namespace collection
