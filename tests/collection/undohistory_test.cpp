// Undo and redo over the user's work: the bookkeeping of the steps, each step giving back exactly
// the state before it, and random sequences of changes undone and redone completely.

#include "collection/entryops.h"
#include "collection/undohistory.h"
#include "core/colours.h"
#include "core/scopes.h"
#include "core/state.h"
#include "params/paramlogic.h"
#include "session/applydata.h"

#include "opencollection.h"
#include "support/printing.h"
#include "support/termlines.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace collection {
// A failing comparison names the fields of both snapshots.
void PrintTo(const Snapshot& s, std::ostream* os) {
    for (int f = termsField; f < fieldCount; ++f)
        *os << "\n  field " << f << ": " << s.current[f].toStdString();
    *os << "\n  " << s.entries.size() << " entries, selected " << s.selected;
}
} // namespace collection

namespace {

using collection::Snapshot;

Snapshot named(const char* terms) {
    Snapshot s;
    s.current[collection::termsField] = QString::fromUtf8(terms);
    return s;
}

TEST(UndoHistory, KeepsTheStepsInOrder) {
    collection::UndoHistory h;
    EXPECT_FALSE(h.canUndo());
    h.reset(named("a"));
    EXPECT_TRUE(h.record(named("b")));
    EXPECT_FALSE(h.record(named("b"))) << "a snapshot like the present one is no step";
    EXPECT_TRUE(h.record(named("c")));
    EXPECT_EQ(h.undoSteps(), 2u);
    EXPECT_EQ(*h.undo(), named("b"));
    EXPECT_EQ(*h.undo(), named("a"));
    EXPECT_EQ(h.undo(), nullptr);
    EXPECT_EQ(*h.redo(), named("b"));
    // A new change drops what could have been redone.
    EXPECT_TRUE(h.record(named("d")));
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(*h.undo(), named("b"));
}

TEST(UndoHistory, KeepsAtLeastAHundredSteps) {
    collection::UndoHistory h;
    h.reset(named("start"));
    for (int i = 0; i < 300; ++i)
        h.record(named(QByteArray::number(i).constData()));
    EXPECT_EQ(h.undoSteps(), collection::UndoHistory::defaultSteps);
    EXPECT_GE(h.undoSteps(), 100u);
    for (std::size_t i = 0; i < collection::UndoHistory::defaultSteps; ++i)
        ASSERT_NE(h.undo(), nullptr);
    EXPECT_EQ(*h.present(), named("99"));
}

class EditHistoryTest : public testsupport::OpenCollection {
public: // the changes below act on the fixture
    void SetUp() override {
        OpenCollection::SetUp();
        history.restart();
    }

    // Lines applied as from the term window, where the lines below the last one in use are empty.
    void type(const QStringList& lines) {
        testsupport::typeLines(state, lines);
        for (int i = state.linesInUse; i < core::lineCount; ++i)
            state.lines[std::size_t(i)].name.clear();
        session::applydata(state);
    }
    Snapshot now() { return collection::takeSnapshot(keeper, state); }
    int param(const char* name) const { return state.findparam(QString::fromUtf8(name)); }

    collection::EditHistory history{keeper, state};
};

// One change of each kind the user makes; each undone gives back the state before it exactly,
// and redone the state after it.
struct Change {
    const char* what;
    std::function<void(EditHistoryTest&)> make;
};

TEST_F(EditHistoryTest, EachChangeUndoneAndRedoneExactly) {
    type({QStringLiteral("f(x)=a*x^2+b"), QStringLiteral("g(x)=sin(x)")});
    history.note();
    const QDateTime when(QDate(2026, 1, 2), QTime(3, 4));
    const Change changes[] = {
        {"term lines", [](auto& t) { t.type({QStringLiteral("f(x)=a*x+c")}); }},
        {"parameter value", [](auto& t) { params::setpar(t.state, t.param("a"), 2.5); }},
        {"parameter bounds", [](auto& t) { params::setparb(t.state, t.param("c"), -3, 7); }},
        {"timer step",
         [](auto& t) {
             t.state.params[t.param("a")].step = 0.5;
             t.state.params[t.param("a")].timerMode = 1;
         }},
        {"colour", [](auto& t) { core::setcolour(t.state, t.state.lines[0].slot, 0x123456); }},
        {"width",
         [](auto& t) {
             t.state.lines[0].lineWidth = 3;
             t.state.lineSlots[t.state.lines[0].slot].width = 3;
         }},
        {"ranges", [](auto& t) { t.state.ranges.xMin = -2, t.state.ranges.xMax = 4; }},
        {"definition interval", [](auto& t) { t.state.lines[0].lowerText = QStringLiteral("0"); }},
        {"additional lines",
         [](auto& t) {
             t.state.extraLinesText = QStringLiteral("c=255:x=2");
             session::applydata(t.state);
         }},
        {"points",
         [](auto& t) {
             t.state.pointsText = QStringLiteral("P(1;2)");
             session::applydata(t.state);
         }},
        {"all lines cleared", [](auto& t) { t.type({QString()}); }},
        {"entry added", [&](auto& t) { collection::addcol(t.keeper, t.state, when); }},
        {"empty entry", [&](auto& t) { collection::newentry(t.keeper, t.state, when); }},
        {"entry pasted",
         [](auto& t) {
             collection::copyone(t.keeper, true);
             collection::insert(t.keeper, t.state, true);
         }},
        {"entry deleted", [](auto& t) { collection::clrone(t.keeper, t.state); }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        const Snapshot before = now();
        change.make(*this);
        history.note();
        const Snapshot after = now();
        ASSERT_NE(before, after) << "the change must change something";
        ASSERT_TRUE(history.undo());
        EXPECT_EQ(now(), before);
        ASSERT_TRUE(history.redo());
        EXPECT_EQ(now(), after);
    }
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(EditHistoryTest, AChangeNotYetNotedIsTheStepUndone) {
    type({QStringLiteral("f(x)=a*x")});
    history.note();
    const Snapshot before = now();
    params::setpar(state, param("a"), 4); // a slider moved, nobody noted it
    const Snapshot after = now();
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(now(), before);
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(now(), after);
    EXPECT_FALSE(history.redo());
}

TEST_F(EditHistoryTest, NothingIsNotedWhileRestoringOrBusy) {
    type({QStringLiteral("f(x)=x")});
    history.note();
    // The drawing of a restored step calls back, as the windows' hooks do.
    state.hooks.redrawall = [this] { history.note(); };
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(history.history().redoSteps(), 1u);
    {
        const core::ScopedValue<int> busy(state.busyFlag, 1);
        type({QStringLiteral("f(x)=2*x")});
        history.note();
    }
    EXPECT_EQ(history.history().redoSteps(), 1u);
}

// Random sequences of changes, seeded: undone completely they give the start, redone completely
// the end, and every step on the way is the state noted there.
TEST_F(EditHistoryTest, RandomSequencesUndoneAndRedoneCompletely) {
    const QStringList terms = {QStringLiteral("f(x)=a*x^2+b"), QStringLiteral("g(x)=c*sin(x)"),
                               QStringLiteral("h(x)=x-a"),     QStringLiteral("k(x)=F(x)"),
                               QStringLiteral("p(t)=cos(t)"),  QStringLiteral("q(t)=b*sin(t)")};
    const QDateTime when(QDate(2026, 1, 2), QTime(3, 4));
    // The working copy is written at every change; here only the logic counts, not the disk.
    state.configFolderWritable = false;
    for (const unsigned seed : {1u, 2u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const auto pick = [&random](int n) { return int(random() % unsigned(n)); };
        type({QString()});
        keeper.collection.entries.clear();
        keeper.selected = -1;
        history.restart();
        std::vector<Snapshot> noted = {now()};
        const std::vector<std::function<void()>> changes = {
            [&] {
                QStringList lines;
                for (const QString& t : terms)
                    if (pick(2) == 0) lines << t;
                // The term window keeps one empty line when all are deleted.
                type(lines.isEmpty() ? QStringList{QString()} : lines);
            },
            [&] {
                const int k = param(pick(2) == 0 ? "a" : "b");
                if (k >= 0) params::setpar(state, k, pick(21) - 10);
            },
            [&] {
                const int k = param("c");
                if (k >= 0) params::setparb(state, k, -pick(5) - 1, pick(5) + 1);
            },
            [&] {
                if (state.linesInUse > 0)
                    core::setcolour(state, state.lines[0].slot, core::Colour(pick(0xffffff)));
            },
            [&] { state.ranges.yMax = 5 + pick(10); },
            [&] {
                state.extraLinesText = QStringLiteral("c=255:x=%1").arg(pick(9));
                session::applydata(state);
            },
            [&] {
                state.pointsText = QStringLiteral("P(%1;1)").arg(pick(9));
                session::applydata(state);
            },
            [&] { collection::addcol(keeper, state, when); },
            [&] { collection::newentry(keeper, state, when); },
            [&] {
                keeper.selected = keeper.collection.entries.empty()
                                      ? -1
                                      : pick(int(keeper.collection.entries.size()));
                collection::clrone(keeper, state);
            },
        };
        for (int step = 0; step < 150; ++step) {
            changes[std::size_t(pick(int(changes.size())))]();
            history.note();
            if (now() != noted.back()) noted.push_back(now());
        }
        for (std::size_t i = noted.size() - 1; i > 0; --i) {
            ASSERT_TRUE(history.undo()) << i;
            ASSERT_EQ(now(), noted[i - 1]) << "undone to step " << i - 1;
        }
        EXPECT_FALSE(history.undo());
        for (std::size_t i = 1; i < noted.size(); ++i) {
            ASSERT_TRUE(history.redo()) << i;
            ASSERT_EQ(now(), noted[i]) << "redone to step " << i;
        }
        EXPECT_FALSE(history.redo());
    }
    EXPECT_TRUE(messages->shown.empty());
}

} // namespace
