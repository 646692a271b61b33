// The entry operations as the user meets them: names of new entries and copies, where a paste
// lands, what deleting selects, renaming, protection, and that every change reaches the working
// copy.

#include "collection/entryops.h"
#include "collection/reader.h"
#include "collection/workingcopy.h"
#include "core/state.h"

#include "collectionsupport.h"
#include "opencollection.h"
#include "support/printing.h"
#include "support/termlines.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using collection::shortField;
using namespace Qt::StringLiterals;

class EntryOps : public testsupport::OpenCollection {
protected:
    // The table holds entries of these names; the one named with a "*" is protected.
    void holds(const QStringList& names) {
        keeper.collection.entries.clear();
        for (QString name : names) {
            const bool isProtected = name.startsWith(QLatin1Char('*'));
            if (isProtected) name.remove(0, 1);
            keeper.collection.entries.push_back(
                testsupport::entry({{shortField, name}}, isProtected));
        }
        keeper.collection.changed = false;
    }
    QStringList names() const {
        QStringList list;
        for (const auto& e : keeper.collection.entries)
            list << e.fields[shortField];
        return list;
    }
    // The entries' names as the working copy holds them.
    QStringList namesOnDisk() {
        collection::Collection read = collection::emptyCollection(state);
        EXPECT_EQ(collection::readWorkingCopy(read, state), QString());
        QStringList list;
        for (const auto& e : read.entries)
            list << e.fields[shortField];
        return list;
    }

    const QDateTime now{QDate(2026, 3, 4), QTime(10, 5)};
};

TEST_F(EntryOps, NewEntriesTakeTheFirstFreeNumber) {
    struct Case {
        QStringList before;
        bool empty; // newentry, else addcol
        const char* added;
    };
    const std::vector<Case> cases = {
        {{}, false, "Eintrag 1"},
        {{QStringLiteral("Eintrag 3")}, false, "Eintrag 2"},
        {{QStringLiteral("A"), QStringLiteral("Eintrag 3")}, false, "Eintrag 4"},
        {{}, true, "Neuer Eintrag 1"},
        {{QStringLiteral("Neuer Eintrag 2")}, true, "Neuer Eintrag 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.added);
        holds(c.before);
        if (c.empty)
            collection::newentry(keeper, state, now);
        else
            collection::addcol(keeper, state, now);
        EXPECT_EQ(names(), c.before + QStringList{QString::fromUtf8(c.added)});
        EXPECT_EQ(keeper.selected, c.before.size());
        EXPECT_TRUE(keeper.collection.changed);
        EXPECT_EQ(namesOnDisk(), names());
        const QString& description = keeper.collection.entries.back().fields[collection::longField];
        EXPECT_TRUE(description.startsWith(c.empty ? QStringLiteral("leer hinzugefügt am ")
                                                   : QStringLiteral("hinzugefügt am ")))
            << description.toStdString();
    }
}

TEST_F(EntryOps, TheCurrentStateBecomesAnEntryAndIsDrawnAgain) {
    testsupport::typeLines(state, {"f(x) = a*x^2"});
    ASSERT_TRUE(state.hooks.applydata);
    state.hooks.applydata();
    collection::addcol(keeper, state, now);
    EXPECT_EQ(keeper.collection.entries[0].fields[collection::termsField],
              QStringLiteral("f(x)=a*x^2"));

    testsupport::typeLines(state, {"g(x) = x"});
    state.hooks.applydata();
    collection::drawSelected(keeper, state);
    EXPECT_EQ(state.lines[0].name, QStringLiteral("f"));
    EXPECT_EQ(keeper.status.text, QStringLiteral("O.k."));
    EXPECT_EQ(keeper.collection.currentData[collection::termsField], QStringLiteral("f(x)=a*x^2"));
}

TEST_F(EntryOps, CopiesArePastedWithNumberedNames) {
    struct Case {
        int selected;
        bool after;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        {0, false, {u"2. Kopie von A"_s, u"1. Kopie von A"_s, u"A"_s, u"B"_s}},
        {0, true, {u"A"_s, u"2. Kopie von A"_s, u"1. Kopie von A"_s, u"B"_s}},
        {-1, false, {u"A"_s, u"B"_s, u"1. Kopie von A"_s, u"2. Kopie von A"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.join(QStringLiteral(", ")).toStdString());
        holds({QStringLiteral("*A"), QStringLiteral("B")});
        keeper.selected = 0;
        collection::copyone(keeper, true);
        keeper.selected = c.selected;
        collection::insert(keeper, state, c.after);
        keeper.selected = c.selected;
        collection::insert(keeper, state, c.after);
        EXPECT_EQ(names(), c.expected);
        EXPECT_EQ(namesOnDisk(), c.expected);
        for (const auto& e : keeper.collection.entries)
            if (e.fields[shortField].contains(QStringLiteral("Kopie"))) {
                EXPECT_FALSE(e.isProtected());
            }
    }
    EXPECT_EQ(collection::nextCopyName(QStringLiteral("9. Kopie von X")),
              QStringLiteral("10. Kopie von X"));
}

TEST_F(EntryOps, CuttingKeepsTheNameAndDeletingSelectsTheNeighbour) {
    struct Case {
        QStringList before;
        int selected;
        QStringList after;
        int selectedAfter;
    };
    const std::vector<Case> cases = {
        {{u"A"_s, u"B"_s, u"C"_s}, 1, {u"A"_s, u"C"_s}, 1},
        {{u"A"_s, u"B"_s, u"C"_s}, 2, {u"A"_s, u"B"_s}, 1},
        {{u"A"_s}, 0, {}, -1},
        {{u"A"_s, u"*B"_s}, 1, {u"A"_s, u"B"_s}, 1},
        {{u"A"_s}, -1, {u"A"_s}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before.join(QStringLiteral(", ")).toStdString());
        holds(c.before);
        keeper.selected = c.selected;
        collection::copyone(keeper, false);
        collection::clrone(keeper, state);
        EXPECT_EQ(names(), c.after);
        EXPECT_EQ(keeper.selected, c.selectedAfter);
        const bool refused = c.before.size() == c.after.size() && c.selected >= 0;
        EXPECT_EQ(messages->shown.size(), refused ? 1u : 0u);
        if (refused) {
            EXPECT_EQ(messages->shown[0].text, QStringLiteral("Dieser Eintrag ist geschützt!"));
            EXPECT_EQ(messages->shown[0].title, QStringLiteral("Hinweis!"));
        }
        if (c.selected >= 0) {
            EXPECT_EQ(keeper.clipboard[shortField],
                      c.before[c.selected].mid(c.before[c.selected].startsWith(QLatin1Char('*'))));
        }
        messages->shown.clear();
    }
    EXPECT_EQ(collection::selectionCaption(keeper), QStringLiteral(" (kein Eintrag angewählt)"));
}

TEST_F(EntryOps, RenamingTakesOnlyAnAnswerWithText) {
    struct Case {
        const char* before;
        std::optional<QString> answer;
        const char* after;
    };
    const std::vector<Case> cases = {
        {"A", QStringLiteral(" Neu "), " Neu "},
        {"A", QStringLiteral("   "), "A"},
        {"A", std::nullopt, "A"},
        {"*A", QStringLiteral("Neu"), "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        holds({QString::fromUtf8(c.before)});
        keeper.selected = 0;
        messages->inputAnswer = c.answer;
        collection::ren(keeper, state);
        EXPECT_EQ(names(), QStringList{QString::fromUtf8(c.after)});
        EXPECT_EQ(keeper.collection.changed, QString::fromUtf8(c.after) != QStringLiteral("A"));
        ASSERT_EQ(messages->shown.size(), 1u);
        if (c.before[0] == '*') {
            EXPECT_EQ(messages->shown[0].text, QStringLiteral("Dieser Eintrag ist geschützt!"));
        } else {
            EXPECT_EQ(messages->shown[0].title,
                      QStringLiteral("Umbenennung der Kurzbeschreibung:"));
            EXPECT_EQ(messages->shown[0].text,
                      QStringLiteral("Bisherige Bezeichnung: A\r\nWie soll die neue Bezeichnung "
                                     "lauten?"));
        }
        messages->shown.clear();
    }
}

// Overwriting with the current state, by the command and while the sync option is set; a protected
// entry keeps its fields.
TEST_F(EntryOps, OverwritingLeavesProtectedEntriesAlone) {
    testsupport::typeLines(state, {"f(x) = x"});
    state.hooks.applydata();
    for (bool isProtected : {false, true}) {
        for (bool bySync : {false, true}) {
            SCOPED_TRACE(testing::Message() << isProtected << bySync);
            holds({isProtected ? QStringLiteral("*A") : QStringLiteral("A")});
            keeper.selected = 0;
            keeper.syncSelection = bySync;
            if (bySync)
                collection::takeOver(keeper, state);
            else
                collection::allakt(keeper, state);
            EXPECT_EQ(keeper.collection.entries[0].fields[collection::termsField],
                      isProtected ? QString() : QStringLiteral("f(x)=x"));
            EXPECT_EQ(keeper.collection.changed, !isProtected);
            EXPECT_EQ(messages->shown.size(), isProtected && !bySync ? 1u : 0u);
            messages->shown.clear();
        }
    }
}

// A working copy that cannot be read is told at the start and kept beside the new one.
TEST_F(EntryOps, AnUnreadableWorkingCopyIsKeptBesideTheNewOne) {
    QFile broken(collection::workingCopyPath(state));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("[Funktionenplotter]\r\n{short:A\r\nnur Worte\r\n");
    broken.close();
    collection::openWorkingCopy(keeper, state);
    EXPECT_TRUE(keeper.collection.entries.empty());
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(messages->shown[0].text.startsWith(
        QStringLiteral("Die Sammlungsdatei bricht unerwartet ab!")));
    EXPECT_TRUE(QFile::exists(collection::workingCopyPath(state) + QStringLiteral(".defekt")));
    messages->shown.clear();
}

// A second broken start keeps its copy beside the first one instead of over it.
TEST_F(EntryOps, EveryUnreadableWorkingCopyIsKept) {
    const QString path = collection::workingCopyPath(state);
    const QByteArray texts[] = {"[Funktionenplotter]\r\n{short:A\r\nerster\r\n",
                                "[Funktionenplotter]\r\n{short:B\r\nzweiter\r\n",
                                "[Funktionenplotter]\r\n{short:C\r\ndritter\r\n"};
    const QString kept[] = {path + QStringLiteral(".defekt"), path + QStringLiteral(".defekt.2"),
                            path + QStringLiteral(".defekt.3")};
    for (const QByteArray& text : texts) {
        QFile broken(path);
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write(text);
        broken.close();
        collection::openWorkingCopy(keeper, state);
    }
    for (int i = 0; i < 3; ++i) {
        QFile file(kept[i]);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << kept[i].toStdString();
        EXPECT_EQ(file.readAll(), texts[i]);
    }
    ASSERT_EQ(messages->shown.size(), 3u);
    EXPECT_TRUE(messages->shown[2].text.contains(kept[2]));
    messages->shown.clear();
}

} // namespace
