// The collection window and the collection's file commands as the user drives them: adding the
// current state from the menu, choosing an entry in the list to draw it, editing its details and
// drawing them, the entry commands and protection, and open, append, save and save as through
// the replaceable file dialogs.

#include "collection/collectionstate.h"
#include "collection/collectionwindow.h"
#include "collection/reader.h"
#include "collection/workingcopy.h"
#include "collection/writer.h"
#include "core/state.h"
#include "engine/settingsfile.h"
#include "mainwin/mainwindow.h"
#include "terms/termwindow.h"

#include "mainwindowfixture.h"
#include "support/chosenfiles.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace {

using testsupport::q;

using testsupport::ChosenFiles;

class CollectionWindowTest : public testsupport::MainWindowFixture {
protected:
    collection::CollectionWindow* sammlung() const { return window->collectionWindow(); }
    QListWidget* list() const { return sammlung()->entryList(); }
    QString label(const char* name) const {
        return sammlung()->findChild<QLabel*>(QLatin1String(name))->text();
    }
    void click(const char* name) {
        QTest::mouseClick(sammlung()->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }
    void choose(int row) {
        QListWidgetItem* item = list()->item(row);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(item).center());
    }
    collection::Collection& kept() const { return window->collectionState().collection; }
    QStringList names() const {
        QStringList shown;
        for (int row = 0; row < list()->count(); ++row)
            shown << list()->item(row)->text();
        return shown;
    }
    static QStringList namesOf(const collection::Collection& c) {
        QStringList all;
        for (const collection::Entry& e : c.entries)
            all << e.fields[collection::shortField];
        return all;
    }
    // The entries of the collection file at path, as the next start or open would read them.
    QStringList namesInFile(const QString& path) const {
        collection::Collection c = collection::emptyCollection(state);
        EXPECT_EQ(collection::loadcollection(c, path, state), QString()) << path.toStdString();
        return namesOf(c);
    }
    QStringList workingCopyNames() const { return namesInFile(collection::workingCopyPath(state)); }
    QString file(const char* name) const {
        return QDir(configFolder.path()).filePath(QString::fromUtf8(name));
    }
    // A collection file of entries with these names; protected ones as the file marks them.
    void writeEntries(const QString& path, const QStringList& entryNames,
                      bool isProtected = false) {
        collection::Collection c = collection::emptyCollection(state);
        for (const QString& n : entryNames) {
            collection::Entry e;
            e.fields[collection::shortField] = n;
            e.fields[collection::termsField] = QStringLiteral("p(x)=x-1");
            e.protection = isProtected ? 1 : 0;
            c.entries.push_back(e);
        }
        ASSERT_TRUE(collection::writefile(c, path, state, false).ok);
    }
    std::shared_ptr<ChosenFiles> useDialogs() {
        auto dialogs = std::make_shared<ChosenFiles>();
        state.fileDialogs = dialogs;
        return dialogs;
    }
    // The current state f(x) = x^2 added to the collection from the menu.
    void addParabola() {
        lines({"f(x) = x^2"});
        action("mn_add")->trigger();
    }
    void clickInto(QPlainTextEdit* field) {
        QTest::mouseClick(field->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    }
};

TEST_F(CollectionWindowTest, TheCurrentStateIsAddedAndDrawnAgainFromTheList) {
    EXPECT_FALSE(window->collectionFrame()->isVisible());
    addParabola();
    EXPECT_TRUE(window->collectionFrame()->isVisible());
    EXPECT_EQ(sammlung()->windowTitle(), q("Sammlung: (noch ohne Bezeichnung)"));
    ASSERT_EQ(list()->count(), 1);
    EXPECT_EQ(list()->item(0)->text(), q("Eintrag 1"));
    EXPECT_EQ(label("Label3"), q(" Eintrag 1"));
    EXPECT_EQ(sammlung()->detailField(1)->toPlainText(), q("f(x)=x^2"));

    lines({"g(x) = 3"});
    choose(0);
    EXPECT_EQ(field(0)->text(), q("f(x) = x^2"));
    EXPECT_EQ(label("Label9"), q("O.k."));

    // The details as edited are the entry that is drawn.
    sammlung()->detailField(1)->setPlainText(q("h(x)=2*x\nk(x)=x+1"));
    click("Command1");
    EXPECT_EQ(state.lines[0].name, q("h"));
    EXPECT_EQ(state.lines[1].name, q("k"));
    EXPECT_EQ(kept().entries[0].fields[collection::termsField], q("h(x)=2*x\r\nk(x)=x+1"));
    EXPECT_TRUE(kept().changed);

    // A faulty field shows its name in the status line.
    sammlung()->detailField(1)->setPlainText(q("h x = 2"));
    click("Command1");
    EXPECT_EQ(label("Label9"), q("Eingabefeld \"Funktionsterme\": Ungültige Zeile!"));
    kept().changed = false;
}

TEST_F(CollectionWindowTest, DrawingFromTheMenuDoesNotOverwriteAndProtectedEntriesStay) {
    addParabola();
    lines({"g(x) = 3"});
    action("mn_einakt")->trigger();
    EXPECT_EQ(kept().entries[0].fields[collection::termsField], q("f(x)=x^2"));
    EXPECT_EQ(state.lines[0].name, q("f"));

    kept().entries[0].protection = 1;
    sammlung()->showCollection();
    EXPECT_TRUE(sammlung()->findChild<QLabel*>(QStringLiteral("Label7"))->isVisible());
    action("mn_clr")->trigger();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text, q("Dieser Eintrag ist geschützt!"));
    EXPECT_EQ(list()->count(), 1);
    messages->shown.clear();

    action("mn_copy")->trigger();
    action("mn_insaft")->trigger();
    ASSERT_EQ(list()->count(), 2);
    EXPECT_EQ(list()->item(1)->text(), q("1. Kopie von Eintrag 1"));
    action("mn_clr")->trigger();
    EXPECT_EQ(list()->count(), 1);
    EXPECT_TRUE(messages->shown.empty());
    kept().changed = false;
}

// With "Daten bei Änderung sofort in Auswahl übernehmen" ticked, an applied change goes into the
// selected entry and its details at once.
TEST_F(CollectionWindowTest, TheSyncOptionCarriesChangesIntoTheSelectedEntry) {
    addParabola();
    sammlung()->findChild<QCheckBox*>(QStringLiteral("Check2"))->setChecked(true);
    enter(0, "f(x) = x^3");
    EXPECT_EQ(kept().entries[0].fields[collection::termsField], q("f(x)=x^3"));
    EXPECT_EQ(sammlung()->detailField(1)->toPlainText(), q("f(x)=x^3"));

    sammlung()->findChild<QCheckBox*>(QStringLiteral("Check2"))->setChecked(false);
    enter(0, "f(x) = x^4");
    EXPECT_EQ(kept().entries[0].fields[collection::termsField], q("f(x)=x^3"));
    kept().changed = false;
}

TEST_F(CollectionWindowTest, TheDescriptionTakesTheChosenFontSize) {
    const QString before =
        window->collectionState().collection.currentData[collection::attribsField];
    entry("mnfs1", "22")->trigger();
    EXPECT_EQ(sammlung()->detailField(0)->font().pointSizeF(), 22.0);
    EXPECT_EQ(state.windowAttributes.descriptionFontSize, 22.0f);
    // The current data keeps it in its attribute list.
    const QString after =
        window->collectionState().collection.currentData[collection::attribsField];
    EXPECT_NE(after, before);
    EXPECT_EQ(after.count(QStringLiteral(":22:")), before.count(QStringLiteral(":22:")) + 1);
}

// The file entries of the menu: save as names the collection in the window's title, and open
// brings the saved entries back after others were added.
TEST_F(CollectionWindowTest, SaveAsAndOpenFromTheFileMenu) {
    auto dialogs = useDialogs();
    dialogs->answers = {file("mathe.txt"), file("mathe.txt")};

    addParabola();
    action("mn_saveas")->trigger();
    EXPECT_EQ(sammlung()->windowTitle(), q("Sammlung: mathe.txt"));
    EXPECT_FALSE(kept().changed);

    action("mn_newentry")->trigger();
    ASSERT_EQ(list()->count(), 2);
    messages->answer = false; // the new entry is not saved
    action("mn_open")->trigger();
    ASSERT_EQ(list()->count(), 1);
    EXPECT_EQ(list()->item(0)->text(), q("Eintrag 1"));
    EXPECT_EQ(label("Label3"), q(" (kein Eintrag angewählt)"));
    ASSERT_EQ(messages->shown.size(), 1u);
    messages->shown.clear();
}

// The entry commands of the menu on the list the user sees; every change reaches the working copy
// at once and marks the collection changed.
TEST_F(CollectionWindowTest, AddNewCopyPasteCutDeleteAndRename) {
    addParabola();
    action("mn_newentry")->trigger();
    EXPECT_EQ(names(), (QStringList{q("Eintrag 1"), q("Neuer Eintrag 2")}));
    EXPECT_EQ(label("Label3"), q(" Neuer Eintrag 2"));
    EXPECT_TRUE(
        kept().entries[1].fields[collection::longField].startsWith(q("leer hinzugefügt am ")));
    EXPECT_TRUE(kept().entries[1].fields[collection::termsField].isEmpty());

    // The same copy pasted twice is the first and then the second copy.
    choose(0);
    action("mn_copy")->trigger();
    action("mn_insaft")->trigger();
    action("mn_insaft")->trigger();
    EXPECT_EQ(names(), (QStringList{q("Eintrag 1"), q("1. Kopie von Eintrag 1"),
                                    q("2. Kopie von Eintrag 1"), q("Neuer Eintrag 2")}));
    EXPECT_EQ(label("Label3"), q(" 2. Kopie von Eintrag 1"));
    // "Einfügen" puts the next copy before the selected entry.
    action("mn_insert")->trigger();
    EXPECT_EQ(list()->item(2)->text(), q("3. Kopie von Eintrag 1"));
    EXPECT_EQ(list()->currentRow(), 2);

    // Cutting keeps the name for the paste; the entry at its place is selected.
    choose(0);
    action("mn_cut")->trigger();
    EXPECT_EQ(list()->count(), 4);
    EXPECT_EQ(label("Label3"), q(" 1. Kopie von Eintrag 1"));
    choose(3);
    action("mn_insaft")->trigger();
    EXPECT_EQ(list()->item(4)->text(), q("Eintrag 1"));

    // Deleting the last entry selects the new last one.
    action("mn_clr")->trigger();
    EXPECT_EQ(names(), (QStringList{q("1. Kopie von Eintrag 1"), q("3. Kopie von Eintrag 1"),
                                    q("2. Kopie von Eintrag 1"), q("Neuer Eintrag 2")}));
    EXPECT_EQ(list()->currentRow(), 3);
    EXPECT_EQ(label("Label3"), q(" Neuer Eintrag 2"));

    messages->inputAnswer = q("Parabel");
    action("mn_rename")->trigger();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, q("Umbenennung der Kurzbeschreibung:"));
    EXPECT_EQ(messages->shown[0].text, q("Bisherige Bezeichnung: Neuer Eintrag 2\r\nWie soll die "
                                         "neue Bezeichnung lauten?"));
    EXPECT_EQ(list()->item(3)->text(), q("Parabel"));
    EXPECT_EQ(label("Label3"), q(" Parabel"));
    // A blank answer changes nothing.
    messages->inputAnswer = q("   ");
    action("mn_rename")->trigger();
    EXPECT_EQ(list()->item(3)->text(), q("Parabel"));
    messages->shown.clear();

    EXPECT_EQ(workingCopyNames(), names());
    EXPECT_TRUE(kept().changed);
    kept().changed = false;
}

// Deleting the only entry empties the caption and the detail fields.
TEST_F(CollectionWindowTest, DeletingTheOnlyEntryEmptiesTheDetails) {
    addParabola();
    ASSERT_FALSE(sammlung()->detailField(1)->toPlainText().isEmpty());
    action("mn_clr")->trigger();
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(label("Label3"), q(" (kein Eintrag angewählt)"));
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(sammlung()->detailField(i)->toPlainText().isEmpty()) << i;
    kept().changed = false;
}

// A protected entry (marked so in its file) refuses to be deleted, cut, renamed or overwritten
// with one message each time, and stays as it was.
TEST_F(CollectionWindowTest, AProtectedEntryRefusesEveryChangeWithOneMessage) {
    writeEntries(file("geschuetzt.txt"), {q("Fest")}, true);
    struct Row {
        const char* what;
        std::function<void()> act;
    };
    const std::vector<Row> rows = {
        {"mn_clr", [this] { action("mn_clr")->trigger(); }},
        {"mn_cut", [this] { action("mn_cut")->trigger(); }},
        {"mn_rename", [this] { action("mn_rename")->trigger(); }},
        {"Command5", [this] { click("Command5"); }},
    };
    auto dialogs = useDialogs();
    lines({"g(x) = 7"});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        dialogs->answers = {file("geschuetzt.txt")};
        action("mn_open")->trigger();
        action("mn_shc")->trigger();
        choose(0);
        ASSERT_EQ(label("Label3"), q(" Fest"));
        EXPECT_TRUE(sammlung()->findChild<QLabel*>(QStringLiteral("Label7"))->isVisible());
        const collection::Entry before = kept().entries[0];
        lines({"g(x) = 7"});
        messages->inputAnswer = q("Anders");
        messages->shown.clear();

        row.act();
        ASSERT_EQ(messages->shown.size(), 1u);
        EXPECT_EQ(messages->shown[0].title, q("Hinweis!"));
        EXPECT_EQ(messages->shown[0].text, q("Dieser Eintrag ist geschützt!"));
        EXPECT_EQ(messages->shown[0].icon, platform::MessageIcon::Warning);
        ASSERT_EQ(names(), QStringList{q("Fest")});
        EXPECT_EQ(kept().entries[0], before);
        EXPECT_FALSE(kept().changed);
        messages->shown.clear();
    }
    // Its details cannot be edited, and a click into them changes nothing.
    EXPECT_TRUE(sammlung()->detailField(1)->isReadOnly());
    clickInto(sammlung()->detailField(1));
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_FALSE(kept().changed);
}

// Overwriting the selection with the current state ("Momentan angewählten Eintrag ...") takes the
// state; drawing it ("Auswahl zeichnen") puts the entry back on the screen.
TEST_F(CollectionWindowTest, TheSelectionIsOverwrittenWithTheStateAndDrawnAgain) {
    addParabola();
    lines({"g(x) = 3"});
    click("Command5");
    EXPECT_EQ(kept().entries[0].fields[collection::termsField], q("g(x)=3"));
    EXPECT_EQ(sammlung()->detailField(1)->toPlainText(), q("g(x)=3"));
    lines({"h(x) = 1"});
    click("Command1");
    EXPECT_EQ(field(0)->text(), q("g(x) = 3"));
    EXPECT_EQ(kept().entries[0].fields[collection::termsField], q("g(x)=3"));
    kept().changed = false;
}

// A click into a detail field keeps what was edited in the fields and draws it; braces of the
// description become round brackets.
TEST_F(CollectionWindowTest, AClickIntoADetailFieldKeepsAndDrawsTheEdits) {
    addParabola();
    sammlung()->detailField(0)->setPlainText(q("Parabel {verschoben}"));
    sammlung()->detailField(1)->setPlainText(q("g(x)=x+1"));
    clickInto(sammlung()->detailField(2));
    const collection::Fields& fields = kept().entries[0].fields;
    EXPECT_EQ(fields[collection::longField], q("Parabel (verschoben)"));
    EXPECT_EQ(fields[collection::termsField], q("g(x)=x+1"));
    EXPECT_EQ(sammlung()->detailField(0)->toPlainText(), q("Parabel (verschoben)"));
    EXPECT_EQ(state.lines[0].name, q("g"));
    EXPECT_EQ(field(0)->text(), q("g(x) = x+1"));
    EXPECT_EQ(workingCopyNames(), QStringList{q("Eintrag 1")});
    kept().changed = false;
}

// The commands that act on the list are in the menu while the window is shown, and only then.
TEST_F(CollectionWindowTest, TheEntryCommandsComeAndGoWithTheWindow) {
    const std::vector<const char*> entryCommands = {"mn_newentry", "mn_einakt", "mn_rename",
                                                    "mn_copy",     "mn_insert", "mn_insaft",
                                                    "mn_cut",      "mn_clr"};
    const auto offered = [&](bool expected) {
        for (const char* name : entryCommands)
            EXPECT_EQ(action(name)->isVisible(), expected) << name;
        EXPECT_TRUE(action("mn_shc")->isVisible());
        EXPECT_TRUE(action("mn_add")->isVisible());
    };
    offered(false);
    action("mn_shc")->trigger();
    offered(true);
    click("Command2");
    EXPECT_FALSE(window->collectionFrame()->isVisible());
    offered(false);
    action("mn_add")->trigger();
    offered(true);
    window->collectionFrame()->close();
    offered(false);
    action("mn_col")->trigger();
    EXPECT_TRUE(window->collectionFrame()->isVisible());
    offered(true);
    kept().changed = false;
}

// A file that cannot be taken leaves the collection, its window and the working copy as they
// were: one that is no collection, a folder, and the working copy itself.
TEST_F(CollectionWindowTest, OpeningAFileThatCannotBeTakenChangesNothing) {
    QFile bad(file("kaputt.txt"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("keine Sammlung\r\n");
    bad.close();
    ASSERT_TRUE(QDir(configFolder.path()).mkdir(QStringLiteral("ordner.txt")));
    struct Row {
        QString path;
        QString message;
    };
    const std::vector<Row> rows = {
        {file("kaputt.txt"), q("In der Sammlungsdatei fehlt die Kennungszeile!")},
        {file("ordner.txt"), q("Die Datei %1 kann nicht gelesen werden.")
                                 .arg(QDir::toNativeSeparators(file("ordner.txt")))},
        {collection::workingCopyPath(state),
         q("Die Datei %1 ist die Arbeitskopie der Sammlung und kann nicht geöffnet werden.")
             .arg(QDir::toNativeSeparators(collection::workingCopyPath(state)))},
    };
    auto dialogs = useDialogs();
    addParabola();
    action("mn_newentry")->trigger();
    const QStringList before = names();
    const collection::Fields currentBefore = kept().currentData;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        messages->answer = false; // the changed collection is not saved first
        dialogs->answers = {row.path};
        action("mn_open")->trigger();
        ASSERT_EQ(messages->shown.size(), 2u);
        EXPECT_EQ(messages->shown[0].text,
                  q("Die Sammlung ist geändert worden. Soll sie gespeichert werden?"));
        EXPECT_EQ(messages->shown[1].title, q("Fehler"));
        EXPECT_EQ(messages->shown[1].text, row.message);
        messages->shown.clear();
        EXPECT_EQ(names(), before);
        EXPECT_EQ(workingCopyNames(), before);
        EXPECT_EQ(kept().currentData, currentBefore);
        EXPECT_TRUE(kept().changed);
        EXPECT_TRUE(kept().path.isEmpty());
        EXPECT_EQ(sammlung()->windowTitle(), q("Sammlung: (noch ohne Bezeichnung)"));
    }
    kept().changed = false;
}

// "Ja" to saving the changed collection before opening another, and then the save dialog
// cancelled: nothing is opened, so the changes are not lost with the working copy.
TEST_F(CollectionWindowTest, OpeningEndsWhenTheWantedSaveDidNotHappen) {
    writeEntries(file("andere.txt"), {q("Andere")});
    auto dialogs = useDialogs();
    addParabola();
    messages->answer = true;
    dialogs->answers = {QString(), file("andere.txt")};
    action("mn_open")->trigger();
    EXPECT_EQ(dialogs->titles, QStringList{q("Sammlungsdatei speichern")});
    EXPECT_EQ(names(), QStringList{q("Eintrag 1")});
    EXPECT_EQ(workingCopyNames(), QStringList{q("Eintrag 1")});
    EXPECT_TRUE(kept().changed);
    ASSERT_EQ(messages->shown.size(), 1u);
    messages->shown.clear();

    // "Ja" and a name: the collection is saved, then the other one opened.
    dialogs->answers = {file("erste.txt"), file("andere.txt")};
    action("mn_open")->trigger();
    EXPECT_EQ(namesInFile(file("erste.txt")), QStringList{q("Eintrag 1")});
    EXPECT_EQ(names(), QStringList{q("Andere")});
    EXPECT_EQ(sammlung()->windowTitle(), q("Sammlung: andere.txt"));
    EXPECT_FALSE(kept().changed);
    messages->shown.clear();
}

// Opening reads the settings file again, as the start does.
TEST_F(CollectionWindowTest, OpeningReadsTheSettingsAgain) {
    writeEntries(file("a.txt"), {q("A")});
    auto dialogs = useDialogs();
    const core::Colour saved = state.lineColours[0];
    action("mn_saveopt")->trigger();
    state.lineColours[0] = saved ^ 0x00ff00;
    dialogs->answers = {file("a.txt")};
    action("mn_open")->trigger();
    EXPECT_EQ(state.lineColours[0], saved);
    EXPECT_EQ(names(), QStringList{q("A")});
    EXPECT_EQ(dialogs->titles, QStringList{q("Sammlungsdatei öffnen")});
}

// Appending keeps the name and the entries, adds those of the file after them, marks the
// collection changed, redraws and writes the settings file.
TEST_F(CollectionWindowTest, AppendingAddsTheEntriesRedrawsAndWritesTheSettings) {
    writeEntries(file("a.txt"), {q("A")});
    writeEntries(file("b.txt"), {q("B1"), q("B2")});
    auto dialogs = useDialogs();
    dialogs->answers = {file("a.txt")};
    action("mn_open")->trigger();
    action("mn_shc")->trigger();
    QFile::remove(engine::settingsPath(state));
    int redraws = 0;
    const auto redraw = state.hooks.redrawall;
    state.hooks.redrawall = [&] {
        ++redraws;
        redraw();
    };

    // A file that does not exist is asked for again, without the offer to make it.
    dialogs->answers = {file("fehlt.txt"), file("b.txt")};
    action("mn_mrg")->trigger();
    EXPECT_EQ(dialogs->titles.last(), q("Einträge aus welcher Datei anhängen?"));
    EXPECT_EQ(dialogs->titles.size(), 3);
    EXPECT_FALSE(QFile::exists(file("fehlt.txt")));
    EXPECT_EQ(names(), (QStringList{q("A"), q("B1"), q("B2")}));
    EXPECT_EQ(workingCopyNames(), names());
    EXPECT_EQ(sammlung()->windowTitle(), q("Sammlung: a.txt"));
    EXPECT_TRUE(kept().changed);
    EXPECT_GE(redraws, 1);
    EXPECT_TRUE(QFile::exists(engine::settingsPath(state)));
    EXPECT_TRUE(messages->shown.empty());
    state.hooks.redrawall = redraw;
    kept().changed = false;
}

// "Speichern" without a name asks for one like "Speichern unter...", with a name it asks
// nothing; an existing file is overwritten only after "Ja".
TEST_F(CollectionWindowTest, SavingFromTheFileMenu) {
    auto dialogs = useDialogs();
    addParabola();
    QFile::remove(engine::settingsPath(state));
    dialogs->answers = {file("mathe.txt")};
    action("mn_save")->trigger();
    EXPECT_EQ(dialogs->titles, QStringList{q("Sammlungsdatei speichern")});
    EXPECT_EQ(sammlung()->windowTitle(), q("Sammlung: mathe.txt"));
    EXPECT_FALSE(kept().changed);
    EXPECT_EQ(namesInFile(file("mathe.txt")), QStringList{q("Eintrag 1")});
    EXPECT_TRUE(QFile::exists(engine::settingsPath(state)));

    action("mn_newentry")->trigger();
    EXPECT_TRUE(kept().changed);
    action("mn_save")->trigger();
    EXPECT_EQ(dialogs->titles.size(), 1);
    EXPECT_FALSE(kept().changed);
    EXPECT_FALSE(QFile::exists(file("mathe.txt.tmp")));
    EXPECT_EQ(namesInFile(file("mathe.txt")), (QStringList{q("Eintrag 1"), q("Neuer Eintrag 2")}));

    writeEntries(file("da.txt"), {q("X")});
    messages->answer = true;
    dialogs->answers = {file("da.txt")};
    action("mn_saveas")->trigger();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, q("Meldung:"));
    EXPECT_EQ(messages->shown[0].text,
              q("Diese Datei gibt es bereits. Soll sie überschrieben werden?"));
    EXPECT_EQ(sammlung()->windowTitle(), q("Sammlung: da.txt"));
    EXPECT_EQ(namesInFile(file("da.txt")), (QStringList{q("Eintrag 1"), q("Neuer Eintrag 2")}));
    messages->shown.clear();
}

// A save into a folder that does not exist is told in German; the collection keeps its name and
// stays changed.
TEST_F(CollectionWindowTest, ASaveThatFailsIsToldAndTheCollectionStaysChanged) {
    auto dialogs = useDialogs();
    addParabola();
    const QString target = file("fehlt/nirgends.txt");
    dialogs->answers = {target};
    action("mn_saveas")->trigger();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, q("Fehler"));
    EXPECT_TRUE(messages->shown[0].text.startsWith(q("Die Datei ") + target +
                                                   q(" konnte nicht geschrieben werden")))
        << messages->shown[0].text.toStdString();
    EXPECT_TRUE(kept().changed);
    EXPECT_EQ(sammlung()->windowTitle(), q("Sammlung: (noch ohne Bezeichnung)"));
    EXPECT_FALSE(QFile::exists(target));
    messages->shown.clear();
    kept().changed = false;
}

// The working copy is no name to save the collection under: the user is told and asked again.
TEST_F(CollectionWindowTest, SavingAsTheWorkingCopyAsksForAnotherName) {
    auto dialogs = useDialogs();
    addParabola();
    const QString workingCopy = collection::workingCopyPath(state);
    dialogs->answers = {workingCopy, file("mathe.txt")};
    action("mn_saveas")->trigger();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, q("Fehler"));
    EXPECT_EQ(messages->shown[0].text,
              q("Die Datei %1 ist die Arbeitskopie der Sammlung. Bitte einen anderen Namen wählen.")
                  .arg(QDir::toNativeSeparators(workingCopy)));
    EXPECT_EQ(dialogs->titles.size(), 2);
    EXPECT_EQ(sammlung()->windowTitle(), q("Sammlung: mathe.txt"));
    EXPECT_EQ(namesInFile(file("mathe.txt")), QStringList{q("Eintrag 1")});
    EXPECT_FALSE(kept().changed);
    messages->shown.clear();
}

} // namespace
