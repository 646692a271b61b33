// A teacher's session with the whole program: several lines typed one below the other, lines
// deleted and inserted while parameters and timers run, the intervals view, hidden lines, the
// pop-up commands, odd values in the parameter fields, windows closed and opened again from the
// menus. After each step the windows must show what the state holds.

#include "core/state.h"
#include "graph/graphwindow.h"
#include "mainwin/mainwindow.h"
#include "params/paramwindow.h"
#include "params/paramwindows.h"
#include "params/timers.h"
#include "terms/termwindow.h"

#include "mainwindowfixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using testsupport::q;

class SessionTest : public testsupport::MainWindowFixture {
protected:
    params::ParamWindow* para(int k) const { return window->paramWindows()->window(k); }
    template <typename T> T* child(int k, const char* name) const {
        params::ParamWindow* w = para(k);
        return w ? w->findChild<T*>(QLatin1String(name)) : nullptr;
    }

    // The running timers move the named parameter within a few ticks.
    void expectTicksMove(const char* name) {
        const int k = state.findparam(q(name));
        ASSERT_GE(k, 0) << name;
        const double before = state.params[k].value;
        EXPECT_TRUE(QTest::qWaitFor([&] { return state.params[k].value != before; },
                                    20 * params::timerTickMs))
            << "no tick moved " << name;
    }

    void typeInto(QLineEdit* f, const QString& text) {
        f->selectAll();
        QTest::keyClicks(f, text);
        QTest::keyClick(f, Qt::Key_Return);
    }

    // Every parameter window shows its slot as the state has it, and the main timer runs exactly
    // while some slot's timer does.
    void expectWindowsMatchState(const char* where) {
        SCOPED_TRACE(where);
        EXPECT_EQ(timer()->isActive(), !state.timerList.isEmpty());
        for (int k = 0; k < core::paramCount; ++k) {
            params::ParamWindow* w = para(k);
            if (!w) continue;
            SCOPED_TRACE(k);
            const core::ParamSlot& p = state.params[k];
            const bool shown = p.handle != -1 && p.visible;
            const auto* frame = qobject_cast<QMdiSubWindow*>(w->parentWidget());
            ASSERT_NE(frame, nullptr);
            EXPECT_EQ(frame->isVisible(), shown);
            if (!shown) continue;
            const bool running = params::timerRunning(state, k);
            EXPECT_EQ(child<QLabel>(k, "Image1")->frameShape(),
                      running ? QFrame::Box : QFrame::NoFrame);
            EXPECT_EQ(child<QLineEdit>(k, "Text3")->isEnabled(), !running);
            EXPECT_EQ(child<QLineEdit>(k, "Text3")->text(), p.valueText);
            EXPECT_EQ(child<QScrollBar>(k, "HScroll1")->value(), p.sliderPos);
            EXPECT_EQ(w->windowTitle(), p.caption);
        }
        for (const QChar c : std::as_const(state.timerList)) {
            const int k = c.unicode();
            ASSERT_LT(k, core::paramCount);
            EXPECT_NE(state.params[k].handle, -1) << "a timer runs on the free slot " << k;
        }
    }
};

TEST_F(SessionTest, TheUserTypesWhereTheFocusIs) {
    // At the start the first term line takes the keys, not the graph window shown last.
    EXPECT_EQ(window->mdiArea()->activeSubWindow(), window->termFrame());
    ASSERT_EQ(QApplication::focusWidget(), field(0));
    QTest::keyClicks(QApplication::focusWidget(), q("f(x)=a*x^2+b"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
    // New parameter windows appear without taking the keys away from the term line.
    ASSERT_EQ(QApplication::focusWidget(), field(1));
    QTest::keyClicks(QApplication::focusWidget(), q("g(x)=c*x"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(para(state.findparam(q("c")))->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), field(1));
    QTest::keyClicks(QApplication::focusWidget(), q("+d"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(field(1)->text(), q("g(x) = c*x+d"));
    EXPECT_EQ(state.params[state.findparam(q("a"))].valueText, q("1"));
    EXPECT_EQ(QApplication::focusWidget(), field(1));
    EXPECT_EQ(window->mdiArea()->activeSubWindow(), window->termFrame());
}

TEST_F(SessionTest, LinesDeletedAndInsertedWhileTimersRun) {
    lines({"f(x)=a*x^2", "g(x)=b*x+c", "h(x)=a+b"});
    EXPECT_EQ(term->statusLine()->text(), q("Ok."));
    expectWindowsMatchState("typed");

    action("mn_timergo")->trigger();
    EXPECT_EQ(state.timerList.size(), 3);
    EXPECT_EQ(action("mn_timergo")->text(), q("Alle &Timer anhalten"));
    expectTicksMove("c");
    expectWindowsMatchState("running");

    // g goes; c is freed while its timer runs.
    QTest::keyClick(field(1), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(state.findparam(q("c")), -1);
    expectWindowsMatchState("g deleted");
    EXPECT_EQ(action("mn_timergo")->text(), q("Alle &Timer gleichzeitig starten"));
    EXPECT_TRUE(field(1)->hasFocus());

    action("mn_timergo")->trigger();
    QTest::keyClick(field(0), Qt::Key_Insert);
    EXPECT_EQ(state.linesInUse, 3);
    EXPECT_TRUE(field(1)->hasFocus());
    expectWindowsMatchState("inserted");
    action("mn_timergo")->trigger();
    // Enter applies, which stops the timers as well.
    enter(1, "k(x)=d*x");
    EXPECT_TRUE(state.timerList.isEmpty());
    EXPECT_TRUE(field(1)->hasFocus());
    expectWindowsMatchState("new parameter");
    action("mn_timergo")->trigger();
    expectTicksMove("d");
    expectWindowsMatchState("after ticks");
}

TEST_F(SessionTest, ClearAllWhileTimersRunEmptiesTheLinesAndTheGraph) {
    const QImage empty = window->graphWindow()->picture().copy();
    lines({"f(x)=a*x^2+b", "g(x)=c"});
    QTest::keyClick(field(1), Qt::Key_PageDown, Qt::ShiftModifier); // g hidden
    action("mn_timergo")->trigger();
    expectTicksMove("c");
    action("mn_allclr")->trigger();
    EXPECT_TRUE(state.timerList.isEmpty());
    EXPECT_FALSE(timer()->isActive());
    expectWindowsMatchState("cleared");
    for (int k = core::firstFreeParamSlot; k <= core::lastParamSlot; ++k)
        EXPECT_EQ(state.params[k].handle, -1);
    // The rows stay, empty and shown again; the graph is as at the start.
    EXPECT_EQ(field(0)->text(), QString());
    EXPECT_EQ(field(1)->text(), QString());
    EXPECT_EQ(field(1)->palette().color(QPalette::Base), field(0)->palette().color(QPalette::Base));
    EXPECT_EQ(term->statusLine()->text(), q("Ok."));
    EXPECT_EQ(window->graphWindow()->picture(), empty);
}

TEST_F(SessionTest, TheIntervalsViewTakesTheBoundsAndGivesBackTheTerms) {
    lines({"f(x)=a*x", "xa(t)=cos(t)", "ya(t)=sin(t)"});
    EXPECT_EQ(term->backButton()->text(), q("[ a ; b ]"));
    QTest::keyClick(field(0), Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(window->termFrame()->windowTitle(), q("Darstellungsintervalle"));
    EXPECT_EQ(term->backButton()->text(), q("Terme"));
    const auto compact = [](QString t) { return t.remove(QLatin1Char(' ')); };
    EXPECT_EQ(compact(field(0)->text()), q("f:]-oo;+oo["));
    EXPECT_EQ(compact(field(1)->text()), q("Param.fürxa:]-oo;+oo["));
    EXPECT_TRUE(field(2)->text().isEmpty());

    enter(0, "f: ] 0 ; 2 [");
    // The bounds went through the data-set assembly, which has the last word.
    EXPECT_EQ(term->statusLine()->text(), q("Ok."));
    EXPECT_EQ(field(0)->text(), q("f: ] 0 ; 2 ["));
    EXPECT_EQ(state.lines[0].lowerText, q("0"));
    EXPECT_DOUBLE_EQ(state.lines[0].intervalTo, 2);
    // A line added in the intervals view: the view stays.
    QTest::keyClick(field(2), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(term->windowTitle(), q("Darstellungsintervalle"));
    EXPECT_EQ(state.linesInUse, 4);
    EXPECT_TRUE(field(3)->hasFocus());
    enter(0, "f: ] 0 ");
    EXPECT_EQ(term->statusLine()->text(), q("Semikolon fehlt!"));

    QTest::mouseClick(term->backButton(), Qt::LeftButton);
    EXPECT_EQ(term->windowTitle(), q("Funktionsterme"));
    EXPECT_EQ(field(0)->text(), q("f(x) = a*x"));
    EXPECT_EQ(field(1)->text(), q("xa(t) = cos(t)"));
    expectWindowsMatchState("back");

    // The pop-up menu switches the views as well.
    state.termEditor.currentLine = 0;
    action("mnp3_1")->trigger();
    EXPECT_EQ(term->windowTitle(), q("Darstellungsintervalle"));
    action("mnp3_0")->trigger();
    EXPECT_EQ(term->windowTitle(), q("Funktionsterme"));
}

TEST_F(SessionTest, OddValuesInTheValueField) {
    enter(0, "f(x)=a*x");
    const int a = state.findparam(q("a"));
    auto* value = child<QLineEdit>(a, "Text3");
    typeInto(value, q("2,5"));
    EXPECT_DOUBLE_EQ(state.engine.eval("a"), 2.5);
    for (const char* odd : {"1/0", "x+", "", "1e400", "(", "wurzel(-1)"}) {
        SCOPED_TRACE(odd);
        typeInto(value, q(odd));
        EXPECT_EQ(value->text(), q("2,5"));
        expectWindowsMatchState(odd);
    }
    auto* lower = child<QLineEdit>(a, "Text1");
    typeInto(lower, q("x+"));
    EXPECT_DOUBLE_EQ(state.params[a].minimum, -10);
    messages->shown.clear();
}

TEST_F(SessionTest, CurvesIntegralFunctionsAndTheirTimers) {
    lines({"xa(t)=r*cos(t)", "ya(t)=r*sin(t)", "f(x)=x", "F(x)"});
    EXPECT_EQ(term->statusLine()->text(), q("Ok.")) << term->statusLine()->text().toStdString();
    action("mn_ugr")->trigger();
    expectWindowsMatchState("lower bounds");
    action("mn_timergo")->trigger();
    expectTicksMove("r");
    expectWindowsMatchState("running");
    QTest::keyClick(field(0), Qt::Key_Delete, Qt::ShiftModifier);
    expectWindowsMatchState("xa deleted");
    // The timer symbol starts and stops the parameter alone; the menu still offers to start all.
    QLabel* symbol = child<QLabel>(state.findparam(q("r")), "Image1");
    ASSERT_NE(symbol, nullptr);
    QTest::mouseClick(symbol, Qt::LeftButton);
    EXPECT_EQ(action("mn_timergo")->text(), q("Alle &Timer gleichzeitig starten"));
    expectTicksMove("r");
    expectWindowsMatchState("started from its symbol");
    QTest::mouseClick(symbol, Qt::LeftButton);
    expectWindowsMatchState("stopped from its symbol");
    EXPECT_FALSE(timer()->isActive());
    action("mn_allclr")->trigger();
    expectWindowsMatchState("cleared");
}

TEST_F(SessionTest, FactoryDefaultsShowTheResetSampleCount) {
    enter(0, "f(x)=x");
    state.termEditor.currentLine = 0;
    action("mnp5")->trigger();
    const int anzf = core::firstSampleCountSlot;
    auto* value = child<QLineEdit>(anzf, "Text3");
    ASSERT_NE(value, nullptr);
    typeInto(value, q("1000"));
    EXPECT_EQ(state.lines[0].sampleCount, 999);
    action("mn_optdef")->trigger();
    EXPECT_EQ(state.lines[0].sampleCount, 499);
    EXPECT_EQ(value->text(), q("500"));
    expectWindowsMatchState("defaults");
}

TEST_F(SessionTest, TheGraphPictureFollowsTheWindowSize) {
    enter(0, "f(x)=x");
    QMdiSubWindow* frame = window->graphFrame();
    for (const QSize size : {QSize(300, 200), QSize(60, 40), QSize(900, 700), QSize(1, 1)}) {
        frame->resize(size);
        QApplication::processEvents();
        const QImage& picture = window->graphWindow()->picture();
        EXPECT_EQ(picture.size() / picture.devicePixelRatio(),
                  window->graphWindow()->plotArea()->size());
    }
}

} // namespace
