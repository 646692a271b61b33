// The collection commands of the real program: a file listed, a file written anew, and the files
// that cannot be read or written; without a display, and never in the user's folders.

#include "collection/collectionsupport.h"
#include "collection/reader.h"
#include "collection/writer.h"
#include "core/state.h"
#include "mainwin/collectionrun.h"

#include "support/emptyhome.h"
#include "support/printing.h"
#include "support/qtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace collection;
using testsupport::entry;
using testsupport::fileOf;
using testsupport::Outcome;

const QString head = q("[Funktionenplotter]");

// Runs the program with a home and configuration folder of its own, which it must leave empty.
class CollectionCommand : public testsupport::EmptyHomeRun {
protected:
    Outcome list(const QString& file) {
        return run({QStringLiteral("--collection"), file, QStringLiteral("--list")});
    }

    Outcome saveAs(const QString& file, const QString& target) {
        return run({QStringLiteral("--collection"), file, QStringLiteral("--save-as"), target});
    }

    Collection readBack(const QString& path) {
        Collection read = emptyCollection(state);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        EXPECT_EQ(readcollection(read, file.readAll(), state), QString());
        return read;
    }

    core::State state;
};

// A file of the older line forms, Latin-1, with the current data first and a second section.
QByteArray olderFile() {
    return fileOf({head,
                   q("{short:__tmp__"),
                   q("a=5"),
                   q("f(x)=a*x}"),
                   q("  {  *short:Parabel mit Öffnung a"),
                   q("long: Die Öffnung hängt"),
                   q("von a ab\\end\\"),
                   q("f(x)=a*x^2"),
                   q("a=1 (z1)"),
                   q("a[-5;5]"),
                   q("x[-3;3]"),
                   q("}"),
                   q("{short:Größe}"),
                   q("{short:Nur a"),
                   q("a=2}"),
                   q("[Kurvenplotter]"),
                   q("{short:Kreis"),
                   q("x(t)=cos(t)"),
                   q("y(t)=sin(t)"),
                   q("t[0;2*pi]}")});
}

// A file of the program's writer, UTF-8 for the euro sign, with names that a row cannot hold.
QByteArray writtenFile(const core::State& state) {
    Collection c = emptyCollection(state);
    c.currentData[termsField] = q("g(x)=x");
    c.entries = {entry({{shortField, q("Zwei\r\nZeilen\tund Tab")}}, true),
                 entry({{shortField, q("Preis in €")}, {paramsField, q("p=3")}})};
    return collectionBytes(c, state);
}

// Which entry a name or a position picks: names (also as --list shows them) before positions,
// exact names before those of another case, the first of two alike.
TEST(EntryOfACollection, ChosenByNameThenPosition) {
    const core::State fresh;
    Collection table = emptyCollection(fresh);
    const QStringList names = {
        q("Gerade"), q("Parabel"), q("PARABEL"), q("3"), q("Zwei\r\nZeilen\tmit Tab"), q("Gerade")};
    for (qsizetype i = 0; i < names.size(); ++i)
        table.entries.push_back(
            entry({{shortField, names[i]}, {termsField, QString::number(i + 1)}}));
    struct Case {
        const char* which;
        int position; // 0: none
    };
    const std::vector<Case> cases{
        {"Parabel", 2},
        {"PARABEL", 3},
        {"parabel", 2},
        {"gerade", 1},
        {"Gerade", 1},
        {"3", 4},
        {"4", 4},
        {"6", 6},
        {" 2", 2},
        {"Zwei  Zeilen mit Tab", 5},
        {"Zwei\r\nZeilen\tmit Tab", 5},
        {"zwei  zeilen mit tab", 5},
        {"7", 0},
        {"0", 0},
        {"-1", 0},
        {"Ger", 0},
        {"Parabel ", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.which);
        const std::optional<Fields> fields = mainwin::entryFields(table, q(c.which));
        EXPECT_EQ(fields.has_value(), c.position != 0);
        if (fields) {
            EXPECT_EQ((*fields)[termsField], QString::number(c.position));
        }
    }
}

TEST_F(CollectionCommand, ListsEveryEntryButTheCurrentData) {
    struct Case {
        const char* what;
        QByteArray bytes;
        QByteArray out;
    };
    const std::vector<Case> cases{
        {"older line forms", olderFile(),
         "entry\t1\t1\tParabel mit Öffnung a\n"
         "entry\t2\t0\tGröße\n"
         "entry\t3\t0\tNur a\n"
         "entry\t4\t0\tKreis\n"},
        {"the program's writer", writtenFile(state),
         "entry\t1\t1\tZwei  Zeilen und Tab\n"
         "entry\t2\t0\tPreis in €\n"},
        {"only the current data", fileOf({head, q("{short:__tmp__"), q("a=5}")}), ""},
        {"a new empty file", fileOf({q("[Kurvatur]"), QString(), head}), ""},
    };
    // The desktop platform named in the environment is the start's business: commandline_test.cpp.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = list(fileWith(QStringLiteral("liste.kur"), c.bytes));
        ASSERT_TRUE(r.finished) << r.err.constData();
        EXPECT_EQ(r.code, 0) << r.err.constData();
        EXPECT_EQ(r.out, c.out);
        EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    }
}

TEST_F(CollectionCommand, SaveAsWritesTheSameCollectionInTheProgramsForm) {
    for (const QByteArray& bytes : {olderFile(), writtenFile(state)}) {
        const QString source = fileWith(QStringLiteral("quelle.kur"), bytes);
        const QString target = files.filePath(QStringLiteral("ziel.kur"));
        QFile::remove(target);
        const Outcome r = saveAs(source, target);
        ASSERT_TRUE(r.finished) << r.err.constData();
        EXPECT_EQ(r.code, 0) << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();

        const Collection original = readBack(source);
        const Collection written = readBack(target);
        EXPECT_EQ(written.entries, original.entries);
        EXPECT_TRUE(written.currentDataFound);
        EXPECT_EQ(written.currentData, original.currentData);
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), collectionBytes(original, state));
        EXPECT_EQ(list(target).out, list(source).out);
        EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral(".tmp")));
    }
}

TEST_F(CollectionCommand, SaveAsOverItsOwnFileWritesItAnew) {
    const QString path = fileWith(QStringLiteral("sammlung.kur"), olderFile());
    const Collection original = readBack(path);
    const Outcome r = saveAs(path, path);
    ASSERT_TRUE(r.finished) << r.err.constData();
    EXPECT_EQ(r.code, 0) << r.err.constData();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), collectionBytes(original, state));
}

QByteArray manyEntries(int count) {
    QByteArray bytes = "[Funktionenplotter]\r\n";
    for (int i = 0; i < count; ++i)
        bytes += "{}\r\n";
    return bytes;
}

// Nothing listed and nothing written: the reason alone, after "Fehler: ".
TEST_F(CollectionCommand, AFileThatCannotBeReadGivesTheReason) {
    const QString missing = files.filePath(QStringLiteral("fehlt.kur"));
    const QString folder = files.filePath(QStringLiteral("ordner.kur"));
    ASSERT_TRUE(QDir().mkdir(folder));
    struct Case {
        const char* what;
        QString path;
        QString message;
    };
    const std::vector<Case> cases{
        {"no identification line", fileWith(QStringLiteral("a.kur"), fileOf({q("{short:A}")})),
         missingIdentification},
        {"more entries than the list can hold",
         fileWith(QStringLiteral("b.kur"), manyEntries(maxEntries + 1)), missingBlockStart},
        {"the file ends inside an entry",
         fileWith(QStringLiteral("c.kur"), fileOf({head, q("{short:Ä"), q("a=1")})), unexpectedEnd},
        {"a missing file", missing, q("Die Datei \"%1\" gibt es nicht.").arg(missing)},
        {"a folder", folder, q("Die Datei \"%1\" kann nicht gelesen werden.").arg(folder)},
    };
    const QString target = files.filePath(QStringLiteral("ziel.kur"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray err = (q("Fehler: ") + c.message + QLatin1Char('\n')).toUtf8();
        for (const Outcome& r : {list(c.path), saveAs(c.path, target)}) {
            ASSERT_TRUE(r.finished) << r.err.constData();
            EXPECT_EQ(r.code, 1);
            EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
            EXPECT_EQ(r.err, err);
        }
        EXPECT_FALSE(QFileInfo::exists(target));
    }
}

TEST_F(CollectionCommand, ATargetThatCannotBeWrittenGivesTheReason) {
    const QString source = fileWith(QStringLiteral("quelle.kur"), olderFile());
    const QString folder = files.filePath(QStringLiteral("ordner"));
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& target : {files.filePath(QStringLiteral("fehlt/ziel.kur")), folder}) {
        SCOPED_TRACE(target.toStdString());
        const Outcome r = saveAs(source, target);
        ASSERT_TRUE(r.finished) << r.err.constData();
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
        const QByteArray start =
            (q("Fehler: Die Datei ") + target + q(" konnte nicht geschrieben werden")).toUtf8();
        EXPECT_TRUE(r.err.startsWith(start)) << r.err.constData();
        EXPECT_TRUE(r.err.endsWith('\n')) << r.err.constData();
        EXPECT_TRUE(QFileInfo(folder).isDir());
    }
    EXPECT_FALSE(QFileInfo::exists(files.filePath(QStringLiteral("fehlt"))));
}

} // namespace
