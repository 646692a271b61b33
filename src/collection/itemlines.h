#pragma once
// The lines inside an entry of a collection file, as the reader takes them and as the writer checks
// that they will be taken back.

#include "collection/entries.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace collection {

// Indices into the state's key table.
enum Key : int {
    noKey = -1,
    endKey = 1,
    sectionKey = 2,
    shortKey = 3,
    longKey = 4,
    coloursKey = 5, // then "LDicke=" and "LArt="
    firstRangeKey = 8,
    lastRangeKey = 13,
    attribsKey = 14,
    firstPlaceholderKey = 15,
    lastPlaceholderKey = 19,
    extraLinesKey = 20,
    pointsKey = 21,
    widthLineKey = 22
};

// The key a field is written with, or noKey for the fields recognised by the form of their lines.
int fieldKey(int field);

// Blanks (spaces only) removed at both ends, as the reader sees every line.
QStringView trimBlanks(QStringView text);

// A line that the reader would take into another field or alter is written escaped: "\", the field
// number, "\", then the text with "\", CR and LF written as "\\", "\r" and "\n". No line of an
// older file begins like this (names never hold a backslash), so older files read as before.
QString escapedLine(int field, const QString& text);

// The entry being read, line by line, and what each line does to it.
class EntryReader {
public:
    enum class Step { More, EntryDone, SectionDone, Invalid };

    explicit EntryReader(const QStringList& keys) : keys_(keys) {}

    // A new entry from its block-start line (the line trimmed, "{" still in front).
    Step start(QStringView blockStart, int position);
    // The next line inside the entry, as it stands in the file (without its line break).
    Step line(QStringView raw);
    bool insideValue() const { return valueField_ >= 0; }

    Entry entry;

private:
    Step item(QStringView raw, QStringView trimmed);
    Step valueLine(QStringView text, bool endsEntry);

    const QStringList& keys_;
    int valueField_ = -1; // the multi-line value being read, or -1
};

// The field (2 to 10) that takes a line of the file: the whole line for fields 2 to 6, the text
// after the key for fields 7 to 10; -1 when the line does something else (a description, an
// end, an escaped line, nothing at all).
int plainLineField(QStringView trimmed, const QStringList& keys);

} // namespace collection
