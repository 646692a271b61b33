// Open, append, save and save as, with the dialogs answered by the test: what is asked, which
// files change, and that a file that cannot be read changes nothing.

#include "collection/entryops.h"
#include "collection/filecommands.h"
#include "collection/reader.h"
#include "collection/workingcopy.h"
#include "collection/writer.h"
#include "core/state.h"
#include "session/startup.h"

#include "collectionsupport.h"
#include "support/chosenfiles.h"
#include "support/printing.h"
#include "support/recordingmessages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace {

using collection::shortField;

using testsupport::ChosenFiles;

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        state.messages = messages;
        state.fileDialogs = dialogs;
        state.configFolder = folder.filePath(QStringLiteral("config"));
        session::startupState(state);
        state.busyFlag = 0;
        collection::openWorkingCopy(keeper, state);
    }
    QString file(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }
    void writeEntries(const QString& path, const QStringList& names) {
        collection::Collection c = collection::emptyCollection(state);
        for (const QString& n : names)
            c.entries.push_back(testsupport::entry({{shortField, n}}));
        ASSERT_TRUE(collection::writefile(c, path, state, false).ok);
    }
    QStringList names(const collection::Collection& c) const {
        QStringList list;
        for (const auto& e : c.entries)
            list << e.fields[shortField];
        return list;
    }
    QStringList workingCopyNames() {
        collection::Collection c = collection::emptyCollection(state);
        EXPECT_EQ(collection::readWorkingCopy(c, state), QString());
        return names(c);
    }

    QTemporaryDir folder;
    std::shared_ptr<platform::RecordingMessages> messages =
        std::make_shared<platform::RecordingMessages>();
    std::shared_ptr<ChosenFiles> dialogs = std::make_shared<ChosenFiles>();
    core::State state;
    collection::CollectionState keeper;
};

TEST_F(FileCommands, OpeningReplacesTheCollectionAndNamesIt) {
    writeEntries(file("a.txt"), {QStringLiteral("A"), QStringLiteral("B")});
    dialogs->answers = {file("a.txt")};
    ASSERT_TRUE(collection::opencollection(keeper, state, false));
    EXPECT_EQ(names(keeper.collection), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(workingCopyNames(), names(keeper.collection));
    EXPECT_FALSE(keeper.collection.changed);
    EXPECT_EQ(collection::windowTitle(keeper.collection), QStringLiteral("Sammlung: a.txt"));
    EXPECT_EQ(dialogs->titles, QStringList{QStringLiteral("Sammlungsdatei öffnen")});
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(FileCommands, AFileThatCannotBeReadLeavesTheWorkingCopyAlone) {
    keeper.collection.entries.push_back(testsupport::entry({{shortField, QStringLiteral("Alt")}}));
    keeper.collection.changed = true;
    ASSERT_TRUE(collection::writeWorkingCopy(keeper.collection, state, true).ok);
    QFile bad(file("kaputt.txt"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("keine Sammlung\r\n");
    bad.close();

    dialogs->answers = {file("kaputt.txt")};
    messages->answer = false; // not saved first
    EXPECT_FALSE(collection::opencollection(keeper, state, false));
    EXPECT_EQ(names(keeper.collection), QStringList{QStringLiteral("Alt")});
    EXPECT_EQ(workingCopyNames(), QStringList{QStringLiteral("Alt")});
    ASSERT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(messages->shown[0].text,
              QStringLiteral("Die Sammlung ist geändert worden. Soll sie gespeichert werden?"));
    EXPECT_EQ(messages->shown[1].text,
              QStringLiteral("In der Sammlungsdatei fehlt die Kennungszeile!"));
    EXPECT_EQ(messages->shown[1].title, QStringLiteral("Fehler"));
}

TEST_F(FileCommands, ANewNameIsMadeOnOpeningAndAskedAgainOnAppending) {
    dialogs->answers = {file("neu.txt")};
    messages->answer = true;
    ASSERT_TRUE(collection::opencollection(keeper, state, false));
    EXPECT_TRUE(QFile::exists(file("neu.txt")));
    EXPECT_TRUE(keeper.collection.entries.empty());
    EXPECT_EQ(keeper.collection.path, file("neu.txt"));
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text,
              QStringLiteral("Diese Datei gibt es noch nicht. Soll sie neu erzeugt werden?"));
    messages->shown.clear();

    writeEntries(file("b.txt"), {QStringLiteral("B")});
    dialogs->answers = {file("fehlt.txt"), file("b.txt")};
    ASSERT_TRUE(collection::opencollection(keeper, state, true));
    EXPECT_FALSE(QFile::exists(file("fehlt.txt")));
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(dialogs->titles.last(), QStringLiteral("Einträge aus welcher Datei anhängen?"));
    EXPECT_EQ(names(keeper.collection), QStringList{QStringLiteral("B")});
    EXPECT_TRUE(keeper.collection.changed);
    EXPECT_EQ(keeper.collection.path, file("neu.txt"));
    EXPECT_EQ(workingCopyNames(), QStringList{QStringLiteral("B")});
}

TEST_F(FileCommands, SavingWithAKnownNameAsksNothingAndLeavesNoBackup) {
    writeEntries(file("a.txt"), {QStringLiteral("A")});
    dialogs->answers = {file("a.txt")};
    ASSERT_TRUE(collection::opencollection(keeper, state, false));
    collection::newentry(keeper, state, QDateTime(QDate(2026, 1, 2), QTime(3, 4)));
    ASSERT_TRUE(keeper.collection.changed);

    const int dialogsBefore = int(dialogs->titles.size());
    EXPECT_EQ(collection::savecommand(keeper, state, false), collection::SaveOutcome::Saved);
    EXPECT_EQ(int(dialogs->titles.size()), dialogsBefore);
    EXPECT_FALSE(keeper.collection.changed);
    EXPECT_FALSE(QFile::exists(file("a.txt.tmp")));
    collection::Collection saved = collection::emptyCollection(state);
    ASSERT_EQ(collection::loadcollection(saved, file("a.txt"), state), QString());
    EXPECT_EQ(names(saved), (QStringList{QStringLiteral("A"), QStringLiteral("Neuer Eintrag 2")}));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(FileCommands, SavingAsAsksBeforeOverwritingAndCancelsQuietly) {
    writeEntries(file("da.txt"), {QStringLiteral("X")});
    keeper.collection.entries.push_back(testsupport::entry({{shortField, QStringLiteral("A")}}));

    dialogs->answers = {QString()};
    EXPECT_EQ(collection::savecommand(keeper, state, true), collection::SaveOutcome::Cancelled);
    EXPECT_TRUE(messages->shown.empty());

    // No to overwriting shows the dialog again.
    dialogs->answers = {file("da.txt"), file("neu.txt")};
    messages->answer = false;
    EXPECT_EQ(collection::savecommand(keeper, state, true), collection::SaveOutcome::Saved);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, QStringLiteral("Meldung:"));
    EXPECT_EQ(messages->shown[0].text,
              QStringLiteral("Diese Datei gibt es bereits. Soll sie überschrieben werden?"));
    EXPECT_EQ(keeper.collection.path, file("neu.txt"));
    EXPECT_EQ(collection::windowTitle(keeper.collection), QStringLiteral("Sammlung: neu.txt"));
    messages->shown.clear();

    // A folder that cannot be written is told in German, and the collection stays changed.
    keeper.collection.changed = true;
    dialogs->answers = {folder.filePath(QStringLiteral("fehlt/nirgends.txt"))};
    EXPECT_EQ(collection::savecommand(keeper, state, true), collection::SaveOutcome::Failed);
    EXPECT_TRUE(keeper.collection.changed);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, QStringLiteral("Fehler"));
    EXPECT_FALSE(messages->shown[0].text.isEmpty());
    messages->shown.clear();
}

} // namespace
