// Open and save as, with the dialogs answered by the test: what is asked and which files change.
// Appending, saving under a known name and the faults are driven through the menu in
// tests/mainwin/collectionwindow_test.cpp.

#include "collection/filecommands.h"
#include "collection/reader.h"
#include "collection/workingcopy.h"
#include "collection/writer.h"
#include "core/state.h"

#include "collectionsupport.h"
#include "opencollection.h"
#include "support/chosenfiles.h"
#include "support/printing.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace {

using collection::shortField;

using testsupport::ChosenFiles;

class FileCommands : public testsupport::OpenCollection {
protected:
    void SetUp() override {
        state.fileDialogs = dialogs;
        open(folder.filePath(QStringLiteral("config")));
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

    std::shared_ptr<ChosenFiles> dialogs = std::make_shared<ChosenFiles>();
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

TEST_F(FileCommands, ANewNameIsMadeOnOpening) {
    dialogs->answers = {file("neu.txt")};
    messages->answer = true;
    ASSERT_TRUE(collection::opencollection(keeper, state, false));
    EXPECT_TRUE(QFile::exists(file("neu.txt")));
    EXPECT_TRUE(keeper.collection.entries.empty());
    EXPECT_EQ(keeper.collection.path, file("neu.txt"));
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text,
              QStringLiteral("Diese Datei gibt es noch nicht. Soll sie neu erzeugt werden?"));
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
}

} // namespace
