// The reader takes any bytes: it never crashes nor hangs, and ends with the table or a message.

#include "collection/reader.h"
#include "collection/writer.h"
#include "collectionsupport.h"
#include "core/state.h"
#include "support/printing.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace collection;

class ReaderFuzz : public ::testing::Test {
protected:
    core::State state;
    std::mt19937 random{20261206};

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    void expectReadable(const QByteArray& bytes, const char* what) {
        Collection collection = emptyCollection(state);
        const QString message = readcollection(collection, bytes, state);
        EXPECT_TRUE(message.isEmpty() || message == missingIdentification ||
                    message == missingBlockStart || message == unexpectedEnd)
            << what << ": " << message.toStdString();
        EXPECT_LE(collection.entries.size(), std::size_t(maxEntries)) << what;
    }

    QByteArray sample() {
        Collection collection = emptyCollection(state);
        collection.entries = {
            testsupport::entry({{0, QStringLiteral("A")},
                                {1, QStringLiteral("zwei\r\nZeilen}")},
                                {2, QStringLiteral("f(x)=2*{x}")},
                                {3, QStringLiteral("a=1\r\nasy=2")},
                                {11, QStringLiteral("1;2")}},
                               true),
            testsupport::entry({{0, QStringLiteral("Größe €")}, {4, QStringLiteral("y[0;1]")}})};
        return collectionBytes(collection, state);
    }

    QByteArray mutated(QByteArray bytes) {
        static const QByteArray pieces[] = {
            "{",     "}",  "*", "\\end\\", "long:", "asy=",   "\r\n",    "\n",  "[",
            "\\1\\", "\\", "=", "\xc3",    "\xff",  "short:", "Punkte=", "\\n", "("};
        for (int n = 1 + below(4); n > 0; --n) {
            const int at = below(int(bytes.size()) + 1);
            switch (below(4)) {
            case 0:
                bytes.truncate(at);
                break;
            case 1:
                bytes.insert(at, pieces[below(std::size(pieces))]);
                break;
            case 2:
                if (at < bytes.size()) bytes[at] = char(below(256));
                break;
            default:
                bytes.remove(at, below(20));
                break;
            }
        }
        return bytes;
    }
};

TEST_F(ReaderFuzz, MutatedAndRandomFiles) {
    const QByteArray base = sample();
    for (int i = 0; i < 2000; ++i)
        expectReadable(mutated(base), "mutated");
    for (int i = 0; i < 300; ++i) {
        QByteArray bytes = "[Funktionenplotter]\r\n";
        for (int n = below(400); n > 0; --n)
            bytes += char(below(256));
        expectReadable(bytes, "random");
    }
}

// Any text in any field, made of the pieces the line forms give meaning to, comes back as written.
TEST_F(ReaderFuzz, RandomFieldsComeBackAsWritten) {
    static const char* const pieces[] = {"{",    "}",       "*",       "\\",      "\\end\\", "\\n",
                                         "\r\n", "\r",      "\n",      " ",       "a=1",     "y[",
                                         "u",    "D",       "(x)",     "=",       "[",       ";",
                                         "]",    "$",       "long:",   "asy=",    "short:",  "ä",
                                         "€",    "\\3\\",   "Coltab=", "Punkte=", "x$[",     "(]",
                                         "\t",   "f(x)={x}"};
    for (int round = 0; round < 1000; ++round) {
        Collection written = emptyCollection(state);
        for (int n = 1 + below(3); n > 0; --n) {
            Entry entry;
            entry.protection = below(2);
            for (QString& field : entry.fields)
                for (int k = below(6); k > 0; --k)
                    field += QString::fromUtf8(pieces[below(int(std::size(pieces)))]);
            written.entries.push_back(entry);
        }
        const QByteArray bytes = collectionBytes(written, state);
        Collection read = emptyCollection(state);
        ASSERT_EQ(readcollection(read, bytes, state), QString()) << bytes.toStdString();
        ASSERT_EQ(read.entries.size(), written.entries.size()) << bytes.toStdString();
        for (std::size_t i = 0; i < read.entries.size(); ++i)
            for (int field = 0; field < fieldCount; ++field)
                ASSERT_EQ(read.entries[i].fields[field],
                          writtenForm(field, written.entries[i].fields[field]))
                    << "field " << field << "\n"
                    << bytes.toStdString();
        ASSERT_EQ(collectionBytes(read, state).toStdString(), bytes.toStdString());
    }
}

TEST_F(ReaderFuzz, HugeFiles) {
    QByteArray hugeLine = "[Funktionenplotter]\r\n{short:A\r\na=";
    hugeLine += QByteArray(4 << 20, '1');
    expectReadable(hugeLine + "}\r\n", "huge line");
    expectReadable(hugeLine, "huge line without end");

    QByteArray deepValue = "[Funktionenplotter]\r\n{short:A\r\nlong:";
    for (int i = 0; i < 200000; ++i)
        deepValue += "Zeile\\n\r\n";
    expectReadable(deepValue, "long value without end");
    expectReadable(deepValue + "\\end\\}\r\n", "long value");

    QByteArray many = "[Funktionenplotter]\r\n";
    for (int i = 0; i < 100000; ++i)
        many += "{short:E\r\na=1}\r\n";
    expectReadable(many, "100 000 entries");
    expectReadable(QByteArray(1 << 20, '\0'), "zero bytes");
    expectReadable(QByteArray(1 << 20, '\n'), "empty lines");
}

} // namespace
