// Reading files of the older line forms: what each line does, and the three messages.

#include "collection/reader.h"
#include "collectionsupport.h"
#include "core/state.h"
#include "support/printing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace collection;
using testsupport::entry;
using testsupport::fileOf;

QString str(const char* text) {
    return QString::fromUtf8(text);
}

const QString head = str("[Funktionenplotter]");

struct ReadCase {
    const char* what;
    QStringList lines;
    std::vector<Entry> entries;
};

const ReadCase readCases[] = {
    {"a new empty file", {str("[Kurvatur]"), QString(), head}, {}},
    {"lines before the identification line and between entries",
     {str("irgendwas"), head, str("Kommentar"), str("{short:A}"), str("  noch einer"),
      str("{short:B}")},
     {entry({{0, str("A")}}), entry({{0, str("B")}})}},
    {"name and end in the block-start line",
     {head, str("  {  short:Name}")},
     {entry({{0, str("Name")}})}},
    {"protected entry without a name",
     {head, str("{ * }")},
     {entry({{0, str("Eintrag 1")}}, true)}},
    {"an entry ends at a line beginning with a brace",
     {head, str("{short:A"), str("a=1"), str("} Rest"), str("{short:B}")},
     {entry({{0, str("A")}, {3, str("a=1")}}), entry({{0, str("B")}})}},
    {"the closing brace goes from the last item",
     {head, str("{short:A"), str("Attribs= 1 2 }")},
     {entry({{0, str("A")}, {10, str("1 2")}})}},
    {"lines go by form",
     {head, str("{short:A"), str("f(x)=x^2 (aus)"), str("$f2$"), str("a=1 (z1)"), str("ua=2"),
      str("uf=0"), str("a[-1;1]"), str("Df[-oo;2]"), str("x[-1;1]"), str("t$[0;2*pi]"),
      str("Coltab=f:255,"), str("LDicke=f:2,"), str("LArt= f:0,"), str("(]x"), str("}")},
     {entry({{0, str("A")},
             {2, str("f(x)=x^2 (aus)\r\n$f2$")},
             {3, str("a=1 (z1)")},
             {4, str("a[-1;1]")},
             {5, str("Df[-oo;2]\r\nx[-1;1]\r\nt$[0;2*pi]")},
             {6, str("ua=2\r\nuf=0")},
             {7, str("f:255,")},
             {8, str("f:2,")},
             {9, str("f:0,")}})}},
    {"multi-line values with line breaks and blanks",
     {head, str("{short:A"), str("long: erste  "), str("   zweite   "), QString(),
      str("dritte\\nvierte\\end\\"), str("asy=1;2\\n3;4\\end\\"), str("Punkte=P(1|2)"),
      str("Q\\end\\}"), str("{short:B}")},
     {entry({{0, str("A")},
             {1, str(" erste\r\nzweite\r\n\r\ndritte\r\nvierte")},
             {11, str("1;2\r\n3;4")},
             {12, str("P(1|2)\r\nQ")}}),
      entry({{0, str("B")}})}},
    {"a long description ending with \\end\\ and the brace in a line of their own",
     {head, str("{short:A"), str("long:Text"), str("\\end\\}"), str("{short:B}")},
     {entry({{0, str("A")}, {1, str("Text\r\n")}}), entry({{0, str("B")}})}},
    {"a line of the section ends the entry and the section",
     {head, str("{short:A"), str("[Ende"), str("{short:B}")},
     {entry({{0, str("A")}})}},
    {"the second section joins the table",
     {str("[Kurvenplotter]"), str("{short:K}"), head, str("{short:F}")},
     {entry({{0, str("F")}}), entry({{0, str("K")}})}},
    {"umlauts of a Latin-1 file", {head, str("{short:Größe}")}, {entry({{0, str("Größe")}})}},
    {"the current data leaves the table",
     {head, str("{short:__tmp__"), str("a=5}"), str("{short:A}")},
     {entry({{0, str("A")}})}},
};

class CollectionReader : public ::testing::TestWithParam<ReadCase> {
protected:
    core::State state;
};

TEST_P(CollectionReader, ReadsTheEntries) {
    Collection collection = emptyCollection(state);
    collection.entries = {entry({{0, str("alt")}})};
    ASSERT_EQ(readcollection(collection, fileOf(GetParam().lines), state), QString());
    EXPECT_EQ(collection.entries, GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(OlderFiles, CollectionReader, ::testing::ValuesIn(readCases));

TEST(CollectionReader, TakesTheCurrentDataOutOfTheFile) {
    core::State state;
    Collection collection = emptyCollection(state);
    collection.currentData[longField] = str("bleibt");
    const QByteArray bytes =
        fileOf({head, str("{short:__tmp__"), str("long:weg\\end\\"), str("a=5"), str("f(x)=x}")});
    ASSERT_EQ(readcollection(collection, bytes, state), QString());
    EXPECT_TRUE(collection.currentDataFound);
    EXPECT_EQ(collection.currentData[shortField], str("__tmp__"));
    EXPECT_EQ(collection.currentData[longField], str("bleibt"));
    EXPECT_EQ(collection.currentData[paramsField], str("a=5"));
    EXPECT_EQ(collection.currentData[termsField], str("f(x)=x"));

    ASSERT_EQ(readcollection(collection, fileOf({head}), state), QString());
    EXPECT_FALSE(collection.currentDataFound);
}

TEST(CollectionReader, AppendedEntriesFollowAndAreNamedByTheirPlace) {
    core::State state;
    Collection collection = emptyCollection(state);
    collection.entries = {entry({{0, str("A")}}), entry({{0, str("B")}})};
    ASSERT_EQ(readcollection(collection, fileOf({head, str("{a=1}")}), state, ReadMode::Append),
              QString());
    ASSERT_EQ(collection.entries.size(), 3u);
    EXPECT_EQ(collection.entries[2], entry({{0, str("Eintrag 3")}, {3, str("a=1")}}));
}

TEST(CollectionReader, ReadsUtf8WhenTheBytesAreUtf8) {
    core::State state;
    Collection collection = emptyCollection(state);
    const QByteArray bytes = (head + str("\r\n{short:Größe 5 €}\r\n")).toUtf8();
    ASSERT_EQ(readcollection(collection, bytes, state), QString());
    ASSERT_EQ(collection.entries.size(), 1u);
    EXPECT_EQ(collection.entries[0].fields[shortField], str("Größe 5 €"));
}

struct FaultCase {
    const char* what;
    QByteArray bytes;
    QString message;
    int entriesKept;
};

QByteArray manyEntries(int count) {
    QByteArray bytes = "[Funktionenplotter]\r\n";
    for (int i = 0; i < count; ++i)
        bytes += "{}\r\n";
    return bytes;
}

TEST(CollectionReader, FaultsGiveTheirMessageAndKeepWhatWasRead) {
    core::State state;
    const FaultCase cases[] = {
        {"no identification line", fileOf({str("{short:A}")}), missingIdentification, 0},
        {"only the second section", fileOf({str("[Kurvenplotter]"), str("{short:A}")}),
         missingIdentification, 0},
        {"identification line with a blank", fileOf({head + str(" "), str("{short:A}")}),
         missingIdentification, 0},
        {"more entries than the list can hold", manyEntries(maxEntries + 1), missingBlockStart,
         maxEntries},
        {"plain words in an entry", fileOf({head, str("{short:A}"), str("{short:B"), str("Worte")}),
         unexpectedEnd, 2},
        {"the file ends inside an entry", fileOf({head, str("{short:A"), str("a=1")}),
         unexpectedEnd, 1},
        {"the file ends inside a value", fileOf({head, str("{short:A"), str("long:abc")}),
         unexpectedEnd, 1},
    };
    for (const FaultCase& c : cases) {
        Collection collection = emptyCollection(state);
        EXPECT_EQ(readcollection(collection, c.bytes, state), c.message) << c.what;
        EXPECT_EQ(int(collection.entries.size()), c.entriesKept) << c.what;
        EXPECT_FALSE(collection.currentDataFound) << c.what;
    }
}

} // namespace
