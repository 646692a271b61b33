// Write -> read -> write: every state the table can hold comes back as written, byte for byte.

#include "collection/reader.h"
#include "collection/writer.h"
#include "collectionsupport.h"
#include "core/state.h"
#include "support/printing.h"
#include "support/qtext.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

using namespace collection;
using testsupport::entry;

const QString crlf = QStringLiteral("\r\n");

struct RoundTrip {
    const char* what;
    Entry entry;
    bool plain; // written in the older line forms only, without an escaped line
};

const QString thirteenTerms = [] {
    QStringList lines;
    for (const char* name : {"f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q", "r"})
        lines << q(name) + QStringLiteral("(x)=x^2");
    return lines.join(crlf);
}();

const RoundTrip roundTrips[] = {
    {"ordinary entry",
     entry({{0, q("Gerade")},
            {1, q("Eine Gerade")},
            {2, q("f(x)=m*x+b")},
            {3, q("m=1\r\nb=0 (h0,5)")},
            {4, q("m[-5;5]\r\nb[-5;5]")},
            {5, q("x[-10;10]\r\nx$[-10;10]\r\nDf[-oo;+oo]")},
            {6, q("uf=0")},
            {7, q("f:255,")},
            {10, q("opak 1 2 3")}}),
     true},
    {"13 term lines", entry({{0, q("Dreizehn")}, {2, thirteenTerms}}), true},
    {"umlauts", entry({{0, q("Größe")}, {1, q("Übung für Schüler")}, {2, q("ä(x)=x")}}), true},
    {"term ending with a brace, last line", entry({{0, q("K")}, {2, q("f(x)=2*{x+1}")}}), false},
    {"term with braces inside, last line", entry({{0, q("K")}, {2, q("f(x)={x+1}*2")}}), true},
    {"term with braces before other lines",
     entry({{0, q("K")}, {2, q("f(x)=2*{x+1}\r\ng(x)={x}")}, {3, q("a=1")}}), false},
    {"short description ending with a brace", entry({{0, q("Menge {1}")}}), false},
    {"short description with blanks around", entry({{0, q(" Name ")}}), false},
    {"empty short description", entry({{0, QString()}}), true},
    {"long description ending with a brace", entry({{0, q("L")}, {1, q("Menge {1;2}")}}), true},
    {"long description, a line ending with a brace",
     entry({{0, q("L")}, {1, q("Menge {1;2}\r\nund mehr")}}), false},
    {"long description with indented lines",
     entry({{0, q("L")}, {1, q("erste \r\n  zweite\r\n\r\ndritte")}}), false},
    {"long description ending with a line break",
     entry({{0, q("L")}, {1, q("erste\r\nzweite\r\n")}}), true},
    {"long description with backslash texts",
     entry({{0, q("L")}, {1, q("C:\\neu und \\end\\ dort")}}), false},
    {"long description with a lone line feed", entry({{0, q("L")}, {1, q("a\nb\rc")}}), false},
    {"parameters y, t, asy and u",
     entry({{0, q("P")},
            {3, q("y=1\r\nt=2 (z1)\r\nasy=3\r\nu=4\r\nua=5 (h0,5)")},
            {4, q("y[-1;1]\r\nt[0;5]\r\nasy[0;1]\r\nu[0;1]\r\nua[0;1]")}}),
     false},
    {"parameters named like keys",
     entry({{0, q("P")},
            {3, q("Coltab=1\r\nLDicke=2\r\nAttribs=3\r\nPunkte=4\r\nD=5")},
            {4, q("D[0;1]\r\nDa[0;2]")}}),
     false},
    {"lines of odd forms typed into a field",
     entry({{0, q("P")},
            {3, q("nur Worte\r\n\\3\\x\r\n  a=1  \r\n{b=2\r\n}\r\n[c\r\nshort:d\r\nlong:e")},
            {7, q("a\r\nb")}}),
     false},
    {"attributes ending with a brace", entry({{0, q("A")}, {10, q("opak}")}}), false},
    {"additional lines and points",
     entry({{0, q("Z")}, {11, q("1;2;3;4\r\n5;6;7;8")}, {12, q("P(1|2)\r\nQ(3|4)")}}), true},
    {"additional lines with braces and indents",
     entry({{0, q("Z")}, {11, q("{1}\r\n  2")}, {12, q("a}b")}}), false},
    {"protected entry", entry({{0, q("Fest")}, {2, q("f(x)=x")}}, true), true},
    {"protected entry with an escaped name", entry({{0, q("*Fest}")}}, true), false},
    {"a user's entry named like the current data", entry({{0, q("__tmp__")}, {3, q("a=1")}}), true},
    {"characters beyond Latin-1", entry({{0, q("Preis in €")}, {2, q("f(x)=π*x")}}), true},
    {"Latin-1 text that looks like UTF-8", entry({{0, q("Ã¤")}, {1, q("Â©")}}), true},
};

bool hasEscapedLine(const QByteArray& bytes) {
    static const QRegularExpression escaped(QStringLiteral("^\\\\\\d+\\\\"),
                                            QRegularExpression::MultilineOption);
    return QString::fromLatin1(bytes).contains(escaped);
}

void PrintTo(const RoundTrip& c, std::ostream* os) {
    *os << c.what;
}

class CollectionRoundTrip : public ::testing::TestWithParam<RoundTrip> {
protected:
    core::State state;
};

TEST_P(CollectionRoundTrip, WritesReadsAndWritesTheSame) {
    const RoundTrip& c = GetParam();
    Collection written = emptyCollection(state);
    written.currentData[termsField] = q("f(x)=x");
    written.entries = {entry({{0, q("davor")}, {3, q("a=1")}}), c.entry,
                       entry({{0, q("danach")}, {2, q("g(x)=1")}})};
    const QByteArray bytes = collectionBytes(written, state);

    Collection read = emptyCollection(state);
    ASSERT_EQ(readcollection(read, bytes, state), QString()) << bytes.toStdString();
    ASSERT_EQ(read.entries.size(), 3u) << bytes.toStdString();
    EXPECT_TRUE(read.currentDataFound);
    EXPECT_EQ(read.currentData[termsField], q("f(x)=x"));
    for (int field = 0; field < fieldCount; ++field)
        EXPECT_EQ(read.entries[1].fields[field], writtenForm(field, c.entry.fields[field]))
            << "field " << field << "\n"
            << bytes.toStdString();
    EXPECT_EQ(read.entries[1].protection, c.entry.protection);
    EXPECT_EQ(read.entries[2].fields[shortField], q("danach"));
    EXPECT_EQ(collectionBytes(read, state).toStdString(), bytes.toStdString());
    EXPECT_EQ(!hasEscapedLine(bytes), c.plain) << bytes.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Entries, CollectionRoundTrip, ::testing::ValuesIn(roundTrips),
                         [](const auto& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.what))
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

TEST(CollectionEncoding, Latin1UnlessTheTextNeedsMore) {
    core::State state;
    const struct {
        const char* name;
        bool utf8;
    } cases[] = {{"Größe", false}, {"Preis in €", true}, {"Ã¤", true}, {"plain", false}};
    for (const auto& c : cases) {
        Collection collection = emptyCollection(state);
        collection.entries = {entry({{0, q(c.name)}})};
        const QByteArray bytes = collectionBytes(collection, state);
        const QByteArray name = c.utf8 ? q(c.name).toUtf8() : q(c.name).toLatin1();
        EXPECT_TRUE(bytes.contains("{short:" + name + "\r\n")) << c.name;
    }
}

TEST(CollectionWriter, TheProtectedExampleEntryHasTheDescribedLines) {
    core::State state;
    Collection collection = emptyCollection(state);
    const Entry parabel = entry({{0, q("Parabel")},
                                 {1, q("Verschobene Normalparabel")},
                                 {2, q("f(x)=(x-a)^2")},
                                 {3, q("a=1 (z1)")},
                                 {4, q("a[-10;10]")},
                                 {5, q("x[-10;10]\r\nx$[-10;10]\r\ny[-10;10]\r\ny$[-10;10]")},
                                 {7, q("f:16711680,")},
                                 {8, q("f:1,")},
                                 {9, q("f:0,")},
                                 {10, q("Attribute")}},
                                true);
    collection.entries = {parabel};
    const QByteArray expected = testsupport::fileOf({
        q("[Funktionenplotter]"),
        q("{short:__tmp__"),
        q("long:\\end\\}"),
        q("{*short:Parabel"),
        q("long:Verschobene Normalparabel\\end\\"),
        q("f(x)=(x-a)^2"),
        q("a=1 (z1)"),
        q("a[-10;10]"),
        q("x[-10;10]"),
        q("x$[-10;10]"),
        q("y[-10;10]"),
        q("y$[-10;10]"),
        q("Coltab=f:16711680,"),
        q("LDicke=f:1,"),
        q("LArt=f:0,"),
        q("Attribs=Attribute}"),
    });
    EXPECT_EQ(collectionBytes(collection, state), expected);

    Collection read = emptyCollection(state);
    ASSERT_EQ(readcollection(read, expected, state), QString());
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(read.entries[0], parabel);
}

TEST(CollectionWriter, RemcrlfDropsEmptyLinesAndTheEnd) {
    const struct {
        const char* text;
        const char* written;
    } cases[] = {{"a\r\n\r\n\r\nb", "a\r\nb"}, {"a  ", "a"}, {"a\r\n", "a"}, {"a \r\n", "a"},
                 {"a\r\n  \r\n", "a"},         {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(remcrlf(q(c.text)), q(c.written)) << c.text;
}

} // namespace
