// The example collection that comes with the program, "Datei > Beispiele öffnen": a copy is
// opened in place of the user's collection, and every entry draws without a fault.

#include "mainwindowfixture.h"

#include "collection/collectionstate.h"
#include "collection/collectionwindow.h"
#include "collection/filecommands.h"
#include "collection/reader.h"

#include "support/chosenfiles.h"

#include <QFile>
#include <QListWidget>
#include <QMdiSubWindow>

namespace {

using testsupport::MainWindowFixture;
using testsupport::q;

class Examples : public MainWindowFixture {
protected:
    collection::CollectionState& keeper() const { return window->collectionState(); }
    QByteArray resourceBytes() const {
        QFile file(collection::examplesResource);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(Examples, EveryEntryIsDrawnWithoutAFault) {
    action("mn_examples")->trigger();
    ASSERT_TRUE(messages->shown.empty()) << messages->shown[0].text.toStdString();
    const auto& entries = keeper().collection.entries;
    ASSERT_GE(entries.size(), 20u);
    EXPECT_TRUE(window->collectionFrame()->isVisible());

    QListWidget* list = window->collectionWindow()->entryList();
    ASSERT_EQ(list->count(), int(entries.size()));
    for (int row = 0; row < list->count(); ++row) {
        const collection::Fields& fields = entries[std::size_t(row)].fields;
        SCOPED_TRACE(fields[collection::shortField].toStdString());
        // Each says at length what to try.
        EXPECT_GE(fields[collection::longField].size(), 300);
        list->setCurrentRow(row);
        action("mn_einakt")->trigger();
        EXPECT_TRUE(keeper().status.ok()) << keeper().status.text.toStdString();
        EXPECT_EQ(state.termEditor.statusText, q("Ok."));
        EXPECT_GT(state.linesInUse, 0);
        EXPECT_TRUE(messages->shown.empty()) << messages->shown[0].text.toStdString();
        messages->shown.clear();
    }
}

TEST_F(Examples, ACopyIsOpenedWithoutAName) {
    action("mn_examples")->trigger();
    const collection::Collection& opened = keeper().collection;
    // Saving asks for a name: the examples themselves are never written.
    EXPECT_TRUE(opened.path.isEmpty());
    EXPECT_FALSE(opened.changed);

    // The collection holds what the file that comes with the program holds.
    collection::Collection read = collection::emptyCollection(state);
    ASSERT_EQ(collection::readcollection(read, resourceBytes(), state), QString());
    EXPECT_EQ(read.entries, opened.entries);
}

TEST_F(Examples, ChangedCollectionIsOfferedForSavingFirst) {
    action("mn_add")->trigger(); // the current data as an entry: the collection is changed
    ASSERT_TRUE(keeper().collection.changed);
    const auto before = keeper().collection.entries;
    auto files = std::make_shared<testsupport::ChosenFiles>();
    state.fileDialogs = files;

    // The user wants it saved and cancels the save dialog: it stays.
    messages->answer = true;
    action("mn_examples")->trigger();
    ASSERT_FALSE(messages->shown.empty());
    EXPECT_EQ(messages->shown[0].text, collection::saveQuestion);
    EXPECT_EQ(keeper().collection.entries, before);
    messages->shown.clear();

    // He does not want it saved: the examples take its place.
    messages->answer = false;
    action("mn_examples")->trigger();
    EXPECT_GE(keeper().collection.entries.size(), 20u);
    messages->shown.clear();
}

TEST_F(Examples, MissingSourceIsToldAndChangesNothing) {
    const auto before = keeper().collection.entries;
    EXPECT_FALSE(collection::openExamples(keeper(), state, q("/nirgends/Beispiele.txt")));
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(messages->shown[0].text.startsWith(q("Die Beispielsammlung konnte nicht")));
    EXPECT_EQ(keeper().collection.entries, before);
    messages->shown.clear();
}

} // namespace
