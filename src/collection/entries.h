#pragma once
// The entry table of a collection and the current data that every collection file carries as its
// first entry.

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace core {
struct State;
}

namespace collection {

inline constexpr int fieldCount = 13;

// The 13 text fields of an entry; lines inside a field are joined by CR LF.
enum Field : int {
    shortField = 0,  // short description, the entry's name in the list
    longField,       // long description
    termsField,      // term lines and the older "$" width line
    paramsField,     // parameters
    boundsField,     // parameter bounds
    rangesField,     // ranges and definition intervals
    lowerBoundField, // lower bounds of integral functions
    coloursField,    // "Coltab="
    widthsField,     // "LDicke="
    lineTypesField,  // "LArt="
    attribsField,    // "Attribs=", kept as opaque text here
    extraLinesField, // "asy="
    pointsField      // "Punkte="
};

using Fields = std::array<QString, fieldCount>;

struct Entry {
    Fields fields;
    std::int32_t protection = 0; // 1: the entry cannot be deleted, renamed or overwritten

    bool isProtected() const { return protection == 1; }
    friend bool operator==(const Entry&, const Entry&) = default;
};

// The list positions of the collection window are 16-bit: a table holds at most this many entries.
inline constexpr int maxEntries = 32767;

struct Collection {
    std::vector<Entry> entries;
    Fields currentData;            // the inputs at the last update; field 0 is the temp entry name
    QString path;                  // collectionPath: the named file; empty while there is none
    bool changed = false;          // collectionChanged: changes not yet saved under path
    bool currentDataFound = false; // the last file read held a current-data entry
};

// An empty collection whose current data carries the state's temp entry name.
Collection emptyCollection(const core::State& state);

// text, then CR LF unless the field was empty, then line.
void appendline(QString& field, const QString& line);

// The form in which fields 2 to 12 are written: no empty line between lines, no blanks and no
// line break at the end.
QString remcrlf(QString text);

// Moves the first of the first count entries named like the current data out of the table; its
// fields 2 to 12 become the current data. Sets currentDataFound accordingly.
void takeTempEntry(Collection& collection, int count, const QString& tempEntryName);

} // namespace collection
