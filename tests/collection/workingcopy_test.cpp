// The working copy in the configuration folder, and what a write that fails leaves behind.

#include "collection/reader.h"
#include "collection/workingcopy.h"
#include "collection/writer.h"
#include "collectionsupport.h"
#include "core/state.h"
#include "support/printing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace collection;
using testsupport::entry;

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class WorkingCopy : public ::testing::Test {
protected:
    QTemporaryDir folder;
    core::State state;
    Collection collection = emptyCollection(state);

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        state.configFolder = folder.filePath(QStringLiteral("neu/Kurvatur"));
    }
};

TEST_F(WorkingCopy, StartMakesTheFolderAndAnEmptyCollection) {
    collection.changed = true;
    collection.path = QStringLiteral("/irgendwo/alt.sam");
    ASSERT_TRUE(inittempfile(collection, state).ok);
    EXPECT_FALSE(collection.changed);
    EXPECT_TRUE(collection.path.isEmpty());
    EXPECT_EQ(contents(workingCopyPath(state)), "[Kurvatur]\r\n\r\n[Funktionenplotter]\r\n");
    EXPECT_EQ(readWorkingCopy(collection, state), QString());
    EXPECT_TRUE(collection.entries.empty());
}

TEST_F(WorkingCopy, StartKeepsAnExistingWorkingCopy) {
    ASSERT_TRUE(inittempfile(collection, state).ok);
    collection.entries = {entry({{0, QStringLiteral("bleibt")}})};
    ASSERT_TRUE(writeWorkingCopy(collection, state, false).ok);
    const QByteArray before = contents(workingCopyPath(state));

    Collection next = emptyCollection(state);
    ASSERT_TRUE(inittempfile(next, state).ok);
    EXPECT_EQ(contents(workingCopyPath(state)), before);
    ASSERT_EQ(readWorkingCopy(next, state), QString());
    EXPECT_EQ(next.entries, collection.entries);
    EXPECT_TRUE(next.currentDataFound);
}

TEST_F(WorkingCopy, OnlyASuccessfulSaveClearsTheChange) {
    ASSERT_TRUE(inittempfile(collection, state).ok);
    ASSERT_TRUE(writeWorkingCopy(collection, state, true).ok);
    EXPECT_TRUE(collection.changed);

    // A save that fails keeps the change: tests/mainwin/collectionwindow_test.cpp.
    const QString named = folder.filePath(QStringLiteral("sammlung.sam"));
    ASSERT_TRUE(savecollection(collection, named, state).ok);
    EXPECT_FALSE(collection.changed);
    EXPECT_EQ(collection.path, named);
    EXPECT_EQ(contents(named), contents(workingCopyPath(state)));
    EXPECT_FALSE(QFile::exists(named + QStringLiteral(".tmp")));
}

TEST_F(WorkingCopy, AFailedWriteLeavesTheOldFile) {
    ASSERT_TRUE(inittempfile(collection, state).ok);
    const QString path = workingCopyPath(state);
    const QByteArray before = contents(path);
    // A folder in the place of the backup: the backup cannot be made, so nothing is replaced.
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral(".tmp/x")));
    collection.entries = {entry({{0, QStringLiteral("neu")}})};
    const WriteResult result = writeWorkingCopy(collection, state, true);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.isEmpty());
    EXPECT_FALSE(collection.changed);
    EXPECT_EQ(contents(path), before);
}

TEST_F(WorkingCopy, AMissingFileSaysWhy) {
    EXPECT_FALSE(
        loadcollection(collection, folder.filePath(QStringLiteral("fehlt.sam")), state).isEmpty());
}

} // namespace
