// Reading files of the older line forms: what each line does, and the three messages.

#include "collection/reader.h"
#include "collectionsupport.h"
#include "core/state.h"
#include "support/printing.h"
#include "support/qtext.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace collection;
using testsupport::entry;
using testsupport::fileOf;

const QString head = q("[Funktionenplotter]");

struct ReadCase {
    const char* what;
    QStringList lines;
    std::vector<Entry> entries;
};

const ReadCase readCases[] = {
    {"a new empty file", {q("[Kurvatur]"), QString(), head}, {}},
    {"lines before the identification line and between entries",
     {q("irgendwas"), head, q("Kommentar"), q("{short:A}"), q("  noch einer"), q("{short:B}")},
     {entry({{0, q("A")}}), entry({{0, q("B")}})}},
    {"name and end in the block-start line",
     {head, q("  {  short:Name}")},
     {entry({{0, q("Name")}})}},
    {"protected entry without a name", {head, q("{ * }")}, {entry({{0, q("Eintrag 1")}}, true)}},
    {"an entry ends at a line beginning with a brace",
     {head, q("{short:A"), q("a=1"), q("} Rest"), q("{short:B}")},
     {entry({{0, q("A")}, {3, q("a=1")}}), entry({{0, q("B")}})}},
    {"the closing brace goes from the last item",
     {head, q("{short:A"), q("Attribs= 1 2 }")},
     {entry({{0, q("A")}, {10, q("1 2")}})}},
    {"lines go by form",
     {head, q("{short:A"), q("f(x)=x^2 (aus)"), q("$f2$"), q("a=1 (z1)"), q("ua=2"), q("uf=0"),
      q("a[-1;1]"), q("Df[-oo;2]"), q("x[-1;1]"), q("t$[0;2*pi]"), q("Coltab=f:255,"),
      q("LDicke=f:2,"), q("LArt= f:0,"), q("(]x"), q("}")},
     {entry({{0, q("A")},
             {2, q("f(x)=x^2 (aus)\r\n$f2$")},
             {3, q("a=1 (z1)")},
             {4, q("a[-1;1]")},
             {5, q("Df[-oo;2]\r\nx[-1;1]\r\nt$[0;2*pi]")},
             {6, q("ua=2\r\nuf=0")},
             {7, q("f:255,")},
             {8, q("f:2,")},
             {9, q("f:0,")}})}},
    {"multi-line values with line breaks and blanks",
     {head, q("{short:A"), q("long: erste  "), q("   zweite   "), QString(),
      q("dritte\\nvierte\\end\\"), q("asy=1;2\\n3;4\\end\\"), q("Punkte=P(1|2)"), q("Q\\end\\}"),
      q("{short:B}")},
     {entry({{0, q("A")},
             {1, q(" erste\r\nzweite\r\n\r\ndritte\r\nvierte")},
             {11, q("1;2\r\n3;4")},
             {12, q("P(1|2)\r\nQ")}}),
      entry({{0, q("B")}})}},
    {"a long description ending with \\end\\ and the brace in a line of their own",
     {head, q("{short:A"), q("long:Text"), q("\\end\\}"), q("{short:B}")},
     {entry({{0, q("A")}, {1, q("Text\r\n")}}), entry({{0, q("B")}})}},
    {"a line of the section ends the entry and the section",
     {head, q("{short:A"), q("[Ende"), q("{short:B}")},
     {entry({{0, q("A")}})}},
    {"the second section joins the table",
     {q("[Kurvenplotter]"), q("{short:K}"), head, q("{short:F}")},
     {entry({{0, q("F")}}), entry({{0, q("K")}})}},
    {"umlauts of a Latin-1 file", {head, q("{short:Größe}")}, {entry({{0, q("Größe")}})}},
    {"the current data leaves the table",
     {head, q("{short:__tmp__"), q("a=5}"), q("{short:A}")},
     {entry({{0, q("A")}})}},
};

class CollectionReader : public ::testing::TestWithParam<ReadCase> {
protected:
    core::State state;
};

TEST_P(CollectionReader, ReadsTheEntries) {
    Collection collection = emptyCollection(state);
    collection.entries = {entry({{0, q("alt")}})};
    ASSERT_EQ(readcollection(collection, fileOf(GetParam().lines), state), QString());
    EXPECT_EQ(collection.entries, GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(OlderFiles, CollectionReader, ::testing::ValuesIn(readCases));

TEST(CollectionReader, TakesTheCurrentDataOutOfTheFile) {
    core::State state;
    Collection collection = emptyCollection(state);
    collection.currentData[longField] = q("bleibt");
    const QByteArray bytes =
        fileOf({head, q("{short:__tmp__"), q("long:weg\\end\\"), q("a=5"), q("f(x)=x}")});
    ASSERT_EQ(readcollection(collection, bytes, state), QString());
    EXPECT_TRUE(collection.currentDataFound);
    EXPECT_EQ(collection.currentData[shortField], q("__tmp__"));
    EXPECT_EQ(collection.currentData[longField], q("bleibt"));
    EXPECT_EQ(collection.currentData[paramsField], q("a=5"));
    EXPECT_EQ(collection.currentData[termsField], q("f(x)=x"));

    ASSERT_EQ(readcollection(collection, fileOf({head}), state), QString());
    EXPECT_FALSE(collection.currentDataFound);
}

TEST(CollectionReader, AppendedEntriesFollowAndAreNamedByTheirPlace) {
    core::State state;
    Collection collection = emptyCollection(state);
    collection.entries = {entry({{0, q("A")}}), entry({{0, q("B")}})};
    ASSERT_EQ(readcollection(collection, fileOf({head, q("{a=1}")}), state, ReadMode::Append),
              QString());
    ASSERT_EQ(collection.entries.size(), 3u);
    EXPECT_EQ(collection.entries[2], entry({{0, q("Eintrag 3")}, {3, q("a=1")}}));
}

TEST(CollectionReader, ReadsUtf8WhenTheBytesAreUtf8) {
    core::State state;
    Collection collection = emptyCollection(state);
    const QByteArray bytes = (head + q("\r\n{short:Größe 5 €}\r\n")).toUtf8();
    ASSERT_EQ(readcollection(collection, bytes, state), QString());
    ASSERT_EQ(collection.entries.size(), 1u);
    EXPECT_EQ(collection.entries[0].fields[shortField], q("Größe 5 €"));
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
        {"no identification line", fileOf({q("{short:A}")}), missingIdentification, 0},
        {"only the second section", fileOf({q("[Kurvenplotter]"), q("{short:A}")}),
         missingIdentification, 0},
        {"identification line with a blank", fileOf({head + q(" "), q("{short:A}")}),
         missingIdentification, 0},
        {"more entries than the list can hold", manyEntries(maxEntries + 1), missingBlockStart,
         maxEntries},
        {"plain words in an entry", fileOf({head, q("{short:A}"), q("{short:B"), q("Worte")}),
         unexpectedEnd, 2},
        {"the file ends inside an entry", fileOf({head, q("{short:A"), q("a=1")}), unexpectedEnd,
         1},
        {"the file ends inside a value", fileOf({head, q("{short:A"), q("long:abc")}),
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
