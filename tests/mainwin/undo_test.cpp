// Undo and redo on the main window as the user meets them: the keys and menu entries of
// "&Bearbeiten", the typing in a text field that keeps its own undo, the keys of a parameter
// slider, and the tempo of the timers.

#include "mainwindowfixture.h"

#include "collection/collectionstate.h"
#include "core/numbers.h"
#include "graph/graphwindow.h"
#include "params/paramwindow.h"
#include "params/paramwindows.h"
#include "params/timers.h"
#include "session/rangewindow.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <functional>

namespace {

using testsupport::q;

class UndoTest : public testsupport::MainWindowFixture {
protected:
    // A key on the graph, where no text field has the focus: the main window's entries take it.
    void globalKey(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QWidget* plot = window->graphWindow()->plotArea();
        plot->setFocus();
        ASSERT_TRUE(plot->hasFocus());
        QTest::keyClick(plot, key, modifiers);
        QApplication::processEvents();
    }
    void fieldKey(int i, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        field(i)->setFocus();
        QTest::keyClick(field(i), key, modifiers);
        QApplication::processEvents();
    }
    QString term(int i) const { return state.lines[std::size_t(i)].shownTerm; }
};

TEST_F(UndoTest, TheEditMenuOffersBothEntriesWithTheirKeys) {
    QAction* undo = action("mn_undo");
    QAction* redo = action("mn_redo");
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(redo, nullptr);
    EXPECT_EQ(undo->text(), q("&Rückgängig"));
    EXPECT_EQ(redo->text(), q("&Wiederholen"));
    EXPECT_EQ(undo->shortcut(), QKeySequence(q("Ctrl+Z")));
    EXPECT_EQ(redo->shortcuts(),
              (QList<QKeySequence>{QKeySequence(q("Ctrl+Y")), QKeySequence(q("Ctrl+Shift+Z"))}));
}

TEST_F(UndoTest, KeysOnTheMainWindowUndoAndRedoTheAppliedLines) {
    enter(0, "f(x)=x^2");
    enter(0, "f(x)=x^3");
    QApplication::processEvents();
    ASSERT_EQ(term(0), q("x^3"));

    globalKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(term(0), q("x^2"));
    EXPECT_TRUE(field(0)->text().contains(q("x^2")));
    globalKey(Qt::Key_Z, Qt::ControlModifier); // back to the empty start
    EXPECT_TRUE(term(0).isEmpty());
    EXPECT_TRUE(field(0)->text().isEmpty());
    globalKey(Qt::Key_Z, Qt::ControlModifier); // nothing more to undo
    EXPECT_TRUE(term(0).isEmpty());

    globalKey(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(term(0), q("x^2"));
    globalKey(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(term(0), q("x^3"));
    EXPECT_TRUE(field(0)->text().contains(q("x^3")));
    globalKey(Qt::Key_Y, Qt::ControlModifier); // nothing more to redo
    EXPECT_EQ(term(0), q("x^3"));

    // The menu entries do the same.
    action("mn_undo")->trigger();
    EXPECT_EQ(term(0), q("x^2"));
    action("mn_redo")->trigger();
    EXPECT_EQ(term(0), q("x^3"));
}

// Commands of the menus, each undone to the state before it and redone to the state after it.
TEST_F(UndoTest, MenuCommandsAreUndoneAndRedone) {
    const auto picture = [this] {
        return QStringList{QString::number(state.linesInUse),
                           term(0),
                           term(1),
                           QString::number(state.lineSlots[0].width),
                           QString::number(state.lines[0].lineType),
                           QString::number(window->collectionState().collection.entries.size())};
    };
    const struct {
        const char* what;
        std::function<void()> run;
    } commands[] = {
        {"Alle Einträge löschen", [this] { action("mn_allclr")->trigger(); }},
        {"Liniendicke", [this] { popupCommand(0, "mnp151", "4"); }},
        {"Linientyp", [this] { popupCommand(0, "mpua1", "Punkt 2"); }},
        {"Eingabezeile löschen", [this] { popupCommand(0, "mnp8"); }},
        {"Aktuelle Daten hinzufügen", [this] { action("mn_add")->trigger(); }},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.what);
        action("mn_allclr")->trigger();
        lines({"f(x)=x^2", "g(x)=2*x"});
        QApplication::processEvents();
        const QStringList before = picture();
        c.run();
        QApplication::processEvents();
        const QStringList after = picture();
        ASSERT_NE(after, before);
        action("mn_undo")->trigger();
        EXPECT_EQ(picture(), before);
        action("mn_redo")->trigger();
        EXPECT_EQ(picture(), after);
    }
}

// The displayed-range window shows the ranges of the step it went back to.
TEST_F(UndoTest, RangesComeBackInTheRangeWindow) {
    action("mn_inter")->trigger();
    session::RangeWindow* range = window->rangeWindow();
    const auto child = [range](const char* name) {
        return range->findChild<QWidget*>(QLatin1String(name));
    };
    const auto text = [&child](const char* name) {
        QWidget* w = child(name);
        if (auto* field = qobject_cast<QLineEdit*>(w)) return field->text();
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        return QStringLiteral("(fehlt)");
    };
    static_cast<QLineEdit*>(child("von0"))->setText(q("-3"));
    static_cast<QLineEdit*>(child("bis0"))->setText(q("3"));
    static_cast<QPushButton*>(child("Command2"))->click();
    ASSERT_EQ(state.ranges.xMin, -3);

    action("mn_undo")->trigger();
    EXPECT_EQ(state.ranges.xMin, -10);
    EXPECT_EQ(text("nvon0"), q("-10"));
    EXPECT_EQ(text("von0"), QString());
    action("mn_redo")->trigger();
    EXPECT_EQ(state.ranges.xMax, 3);
    EXPECT_EQ(text("nbis0"), q("3"));
    EXPECT_EQ(text("bis0"), q("3"));
}

TEST_F(UndoTest, InATextFieldTheKeysUndoTheTyping) {
    enter(0, "f(x)=x^2");
    enter(0, "f(x)=x^3");
    // One step undone: the history could go back and forth from here.
    globalKey(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(term(0), q("x^2"));
    const QString applied = field(0)->text();
    field(0)->setFocus();
    field(0)->end(false);
    QTest::keyClicks(field(0), q("1"));
    const QString typed = field(0)->text();
    ASSERT_NE(typed, applied);

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const QString& shown;
    } keys[] = {{Qt::Key_Z, Qt::ControlModifier, applied},
                {Qt::Key_Y, Qt::ControlModifier, typed},
                {Qt::Key_Z, Qt::ControlModifier, applied},
                {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, typed}};
    for (const auto& k : keys) {
        fieldKey(0, k.key, k.modifiers);
        EXPECT_EQ(field(0)->text(), k.shown);
        EXPECT_EQ(term(0), q("x^2")) << "the history stays where it was";
    }
}

TEST_F(UndoTest, ASliderMovedByKeysIsOneStepEach) {
    enter(0, "f(x)=a*x");
    QApplication::processEvents();
    const int a = state.findparam(q("a"));
    params::ParamWindow* w = window->paramWindows()->window(a);
    ASSERT_NE(w, nullptr);
    auto* slider = w->findChild<QScrollBar*>(q("HScroll1"));
    auto* value = w->findChild<QLineEdit*>(q("Text3"));
    EXPECT_EQ(slider->accessibleName(), q("Schieberegler von a"));
    EXPECT_FALSE(slider->toolTip().isEmpty());
    window->paramWindows()->window(a)->activateWindow();
    slider->setFocus();
    ASSERT_TRUE(slider->hasFocus());

    // Each key goes the way of a drag: the value field and the picture follow.
    const struct {
        Qt::Key key;
        const char* shown;
    } keys[] = {{Qt::Key_Right, "1,02"},
                {Qt::Key_PageUp, "1,22"},
                {Qt::Key_PageDown, "1,02"},
                {Qt::Key_Left, "1"},
                {Qt::Key_Left, "0,98"}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.shown);
        const QImage before = window->graphWindow()->picture().copy();
        QTest::keyClick(slider, k.key);
        QApplication::processEvents();
        EXPECT_EQ(value->text(), q(k.shown));
        EXPECT_EQ(q(k.shown), core::germanNumber(state.params[a].value));
        EXPECT_NE(window->graphWindow()->picture(), before);
    }
    // Undone key by key, the value goes back the way it came.
    for (const char* shown : {"1", "1,02", "1,22", "1,02", "1"}) {
        action("mn_undo")->trigger();
        EXPECT_EQ(core::germanNumber(state.params[a].value), q(shown));
        EXPECT_EQ(value->text(), q(shown));
    }
}

TEST_F(UndoTest, TheTempoSetsTheTimersInterval) {
    QAction* tempo = action("mn_tempo");
    ASSERT_NE(tempo, nullptr);
    messages->inputAnswer = q("50");
    tempo->trigger();
    EXPECT_EQ(state.timerTempo, 50);
    EXPECT_EQ(timer()->interval(), 20);
    messages->inputAnswer = q("0");
    tempo->trigger();
    EXPECT_EQ(state.timerTempo, 50);
    EXPECT_EQ(timer()->interval(), 20);
    ASSERT_EQ(messages->shown.size(), 3u); // two questions, one refusal
    messages->shown.clear();
}

} // namespace
