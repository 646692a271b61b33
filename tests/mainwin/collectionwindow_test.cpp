// The collection window as the user drives it: adding the current state from the menu, choosing
// an entry in the list to draw it, editing its details and drawing them, and protection.

#include "collection/collectionstate.h"
#include "collection/collectionwindow.h"
#include "core/state.h"
#include "mainwin/mainwindow.h"
#include "terms/termwindow.h"

#include "mainwindowfixture.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using testsupport::q;

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
};

TEST_F(CollectionWindowTest, TheCurrentStateIsAddedAndDrawnAgainFromTheList) {
    EXPECT_FALSE(window->collectionFrame()->isVisible());
    lines({"f(x) = x^2"});
    action("mn_add")->trigger();
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
    lines({"f(x) = x^2"});
    action("mn_add")->trigger();
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
    lines({"f(x) = x^2"});
    action("mn_add")->trigger();
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
    class OneFile : public platform::FileDialogService {
    public:
        QString path;
        std::optional<QString> openFile(const QString&, const QString&) override { return path; }
        std::optional<QString> saveFile(const QString&, const QString&, const QString&) override {
            return path;
        }
    };
    auto dialogs = std::make_shared<OneFile>();
    dialogs->path = QDir(configFolder.path()).filePath(QStringLiteral("mathe.txt"));
    state.fileDialogs = dialogs;

    lines({"f(x) = x^2"});
    action("mn_add")->trigger();
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

} // namespace
