// The main window with its term window, driven as a user drives them: keys and clicks in the
// term lines, the colour boxes and buttons, the pop-up menu of a line and the main menu.

#include "core/state.h"
#include "core/twips.h"
#include "graph/graphwindow.h"
#include "mainwin/mainwindow.h"
#include "mainwin/messagebox.h"
#include "params/paramlogic.h"
#include "params/paramwindow.h"
#include "params/paramwindows.h"
#include "params/timers.h"
#include "terms/termrows.h"
#include "terms/termwindow.h"

#include "mainwindowfixture.h"
#include "support/hovertip.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <vector>

namespace {

using testsupport::q;

const QColor hiddenGrey(192, 192, 192);

class MainWindowTest : public testsupport::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        term->chooseColour = [this](const QColor& initial) {
            colourAsked = initial;
            return colourAnswer;
        };
        window->copyText = [this](const QString& text) { clipboard = text; };
    }

    QWidget* box(int i) const { return term->colourBox(i); }
    QPushButton* plus(int i) const { return term->plusButton(i); }
    QLabel* status() const { return term->statusLine(); }

    QColor fieldBackground(int i) const { return field(i)->palette().color(QPalette::Base); }
    QColor boxColour(int i) const { return box(i)->palette().color(QPalette::Window); }
    QColor statusBackground() const { return status()->palette().color(QPalette::Window); }

    // What the rows in use show.
    QStringList texts() const {
        QStringList out;
        for (int i = 0; i < state.linesInUse; ++i)
            out << field(i)->text();
        return out;
    }
    // The colour box of every line that has a text, by its text.
    std::map<QString, QRgb> colourOfEachLine() const {
        std::map<QString, QRgb> out;
        for (int i = 0; i < state.linesInUse; ++i)
            if (!field(i)->text().isEmpty()) out[field(i)->text()] = boxColour(i).rgb();
        return out;
    }
    // Lines that moved took their colours with them.
    void expectColoursKept(std::map<QString, QRgb> before) const {
        for (const auto& [text, colour] : colourOfEachLine())
            EXPECT_EQ(colour, before[text]) << text.toStdString();
    }
    // Back to one empty line, as a user gets there: clear all, then delete the lines below.
    void startOver() {
        action("mn_allclr")->trigger();
        while (state.linesInUse > 1)
            QTest::keyClick(field(state.lastLine), Qt::Key_Delete, Qt::ShiftModifier);
        ASSERT_TRUE(field(0)->text().isEmpty());
    }

    // f(x) = a*x^2 entered and the window of its parameter a (slot 28) made the active one, as a
    // click on it does.
    void activateParameterA() {
        enter(0, "f(x)=a*x^2");
        params::ParamWindow* a = window->paramWindows()->window(28);
        ASSERT_NE(a, nullptr);
        auto* frame = qobject_cast<QMdiSubWindow*>(a->parentWidget());
        ASSERT_NE(frame, nullptr);
        frame->mdiArea()->setActiveSubWindow(frame);
    }

    // Pixels of the graph picture in the colour of the given line slot.
    int pixelsOfSlot(int slot) const {
        const QImage image = window->graphWindow()->picture().convertToFormat(QImage::Format_RGB32);
        const core::Colour c = state.lineColours[slot];
        const QRgb want = qRgb(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff));
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            n += int(std::count(row, row + image.width(), want));
        }
        return n;
    }

    // Something the user does to line i.
    struct Gesture {
        const char* name;
        std::function<void(int)> make;
        bool after = true; // for the gestures that add a line: after line i, or before it
    };
    std::function<void(int)> key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [this, k, m](int i) { QTest::keyClick(field(i), k, m); };
    }
    std::function<void(int)> popup(const char* name) {
        return [this, name](int i) { popupCommand(i, name); };
    }
    std::vector<Gesture> addingGestures() {
        return {
            {"Shift+Enter", key(Qt::Key_Return, Qt::ShiftModifier)},
            {"Insert", key(Qt::Key_Insert)},
            {"Ctrl+Insert", key(Qt::Key_Insert, Qt::ControlModifier), false},
            {"plus button", [this](int i) { QTest::mouseClick(plus(i), Qt::LeftButton); }},
            {"double click on the colour box",
             [this](int i) { QTest::mouseDClick(box(i), Qt::LeftButton); }},
            {"Ctrl+double click on the colour box",
             [this](int i) { QTest::mouseDClick(box(i), Qt::LeftButton, Qt::ControlModifier); },
             false},
            {"pop-up: line after this one", popup("mnp10")},
            {"pop-up: line before this one", popup("mnp9"), false},
        };
    }

    std::optional<QColor> colourAnswer;
    QColor colourAsked;
    QString clipboard;
};

TEST_F(MainWindowTest, StartsWithOneEmptyLineBesideTheGraph) {
    EXPECT_EQ(status()->text(), q("Ok."));
    EXPECT_EQ(state.linesInUse, 1);
    EXPECT_EQ(state.busyFlag, 0);
    EXPECT_TRUE(field(0)->isVisible());
    EXPECT_FALSE(field(1)->isVisible());
    EXPECT_EQ(boxColour(0), QColor(0, 0, 255));
    EXPECT_TRUE(action("mn_rad")->isChecked());

    // Term window on the left, graph window beside it, both inside the main window.
    const QRect termRect = window->termFrame()->geometry();
    const QRect graphRect = window->graphFrame()->geometry();
    EXPECT_TRUE(window->termFrame()->isVisible());
    EXPECT_TRUE(window->graphFrame()->isVisible());
    EXPECT_EQ(termRect.topLeft(), QPoint(0, 0));
    EXPECT_GE(graphRect.left(), termRect.right());
    EXPECT_FALSE(termRect.intersects(graphRect));
    EXPECT_LE(graphRect.right(), window->mdiArea()->viewport()->width());
    EXPECT_GT(graphRect.width(), 150);
}

TEST_F(MainWindowTest, EnterOrAClickShowsAnErrorOnRedOrAppliesTheLineAndMakesItsParameter) {
    enter(0, "f(x)==1");
    EXPECT_EQ(status()->text(), q("Zu viele Gleichheitszeichen!"));
    const QColor red = statusBackground();
    EXPECT_GT(red.red(), 100);
    EXPECT_EQ(red.green(), 0);
    EXPECT_EQ(red.blue(), 0);

    type(0, "f(x)=a*x^2");
    QTest::mouseClick(field(0), Qt::LeftButton);
    EXPECT_TRUE(field(0)->hasFocus());
    EXPECT_EQ(status()->text(), q("Ok."));
    EXPECT_EQ(statusBackground(), QApplication::palette(field(0)).color(QPalette::Button));
    EXPECT_EQ(field(0)->text(), q("f(x) = a*x^2"));
    EXPECT_EQ(state.lines[0].name, q("f"));
    EXPECT_EQ(state.params[28].label, q("a"));
    EXPECT_NE(state.params[28].handle, -1);
    params::ParamWindow* a = window->paramWindows()->window(28);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isVisible());
}

TEST_F(MainWindowTest, ATermTooCostlyToDrawIsReportedAfterThePaint) {
    // 3^x calls at each sample: far more than a redraw can afford.
    enter(0, "f(x)=wenn(x<a; 1; f(x-1)+f(x-1)+f(x-1))");
    // The drawing's message waits for the event loop, after the paint.
    EXPECT_EQ(status()->text(), q("Ok."));
    const auto waitForStatus = [this](const char* text) {
        for (int i = 0; i < 500 && status()->text() != q(text); ++i)
            QTest::qWait(10);
        EXPECT_EQ(status()->text(), q(text));
    };
    waitForStatus("f(x): Zeichnung abgebrochen, der Term ist zu aufwendig.");
    // The narrow status line cuts the text; its tooltip shows all of it.
    EXPECT_EQ(testsupport::hoverTip(status()), status()->text());
    EXPECT_GT(statusBackground().red(), 100);
    EXPECT_EQ(statusBackground().green(), 0);

    // The parameter makes the term cheap: the whole line is drawn and the status is back.
    const int drawnBefore = pixelsOfSlot(0);
    params::setpar(state, 28, 20);
    waitForStatus("Ok.");
    EXPECT_EQ(statusBackground(), QApplication::palette(field(0)).color(QPalette::Button));
    EXPECT_GT(pixelsOfSlot(0), drawnBefore);
}

TEST_F(MainWindowTest, EveryWayToAddALineShowsAnEmptyFocusedRowInPlace) {
    for (const Gesture& add : addingGestures()) {
        SCOPED_TRACE(add.name);
        startOver();
        lines({"f(x)=1", "g(x)=2"});
        const auto colours = colourOfEachLine();

        add.make(1);
        const int added = add.after ? 2 : 1;
        const QStringList expected = add.after
                                         ? QStringList{q("f(x) = 1"), q("g(x) = 2"), QString()}
                                         : QStringList{q("f(x) = 1"), QString(), q("g(x) = 2")};
        EXPECT_EQ(texts(), expected);
        EXPECT_TRUE(field(added)->hasFocus());
        EXPECT_TRUE(field(2)->isVisible());
        EXPECT_TRUE(box(2)->isVisible());
        EXPECT_TRUE(plus(2)->isVisible());
        expectColoursKept(colours);
        // The window grew by one row.
        EXPECT_EQ(term->height(), term->fittedHeight());
        EXPECT_EQ(term->height(), core::twipsToPixels(terms::fittedHeightTwips(10, 3), 15));
    }
}

TEST_F(MainWindowTest, ThirteenLinesAreTheLimit) {
    for (int i = 0; i < 12; ++i)
        QTest::keyClick(field(i), Qt::Key_Return, Qt::ShiftModifier);
    ASSERT_EQ(state.linesInUse, 13);
    for (const Gesture& add : addingGestures()) {
        SCOPED_TRACE(add.name);
        add.make(3);
        EXPECT_EQ(state.linesInUse, 13);
        EXPECT_TRUE(field(12)->isVisible());
    }
}

TEST_F(MainWindowTest, EveryWayToDeleteALineMovesTheOthersUpButKeepsTheLast) {
    const Gesture deleting[] = {
        {"Shift+Delete", key(Qt::Key_Delete, Qt::ShiftModifier)},
        {"Shift and the plus button",
         [this](int i) { QTest::mouseClick(plus(i), Qt::LeftButton, Qt::ShiftModifier); }},
        {"pop-up: delete this line", popup("mnp8")},
    };
    for (const Gesture& del : deleting) {
        SCOPED_TRACE(del.name);
        startOver();
        lines({"f(x)=1", "g(x)=2", "h(x)=3"});
        const auto colours = colourOfEachLine();

        del.make(0);
        EXPECT_EQ(texts(), (QStringList{q("g(x) = 2"), q("h(x) = 3")}));
        EXPECT_FALSE(field(2)->isVisible());
        EXPECT_TRUE(field(0)->hasFocus());
        EXPECT_EQ(status()->text(), q("Ok."));
        expectColoursKept(colours);

        del.make(0);
        del.make(0); // the only line stays
        EXPECT_EQ(texts(), QStringList{q("h(x) = 3")});
    }

    // Delete without Shift only deletes a character.
    field(0)->setCursorPosition(0);
    QTest::keyClick(field(0), Qt::Key_Delete);
    EXPECT_EQ(field(0)->text(), q("(x) = 3"));
}

TEST_F(MainWindowTest, EveryWayToHideALineTakesItOffTheGraphAndBack) {
    const Gesture hiding[] = {
        {"Shift+PageDown", key(Qt::Key_PageDown, Qt::ShiftModifier)},
        {"right button on the plus button",
         [this](int i) { QTest::mouseClick(plus(i), Qt::RightButton); }},
        {"Shift+double click on the colour box",
         [this](int i) { QTest::mouseDClick(box(i), Qt::LeftButton, Qt::ShiftModifier); }},
        {"pop-up: hide", popup("mnp1")},
    };
    for (const Gesture& hide : hiding) {
        SCOPED_TRACE(hide.name);
        startOver();
        lines({"f(x)=1", "g(x)=3"});
        const int slot = state.lines[1].slot;
        const int before = pixelsOfSlot(slot);
        EXPECT_GT(before, 50);

        hide.make(1);
        EXPECT_FALSE(state.lines[1].drawn);
        EXPECT_EQ(fieldBackground(1), hiddenGrey);
        EXPECT_NE(fieldBackground(0), hiddenGrey);
        EXPECT_EQ(pixelsOfSlot(slot), 0);

        hide.make(1);
        EXPECT_TRUE(state.lines[1].drawn);
        EXPECT_NE(fieldBackground(1), hiddenGrey);
        EXPECT_EQ(pixelsOfSlot(slot), before);
    }
}

TEST_F(MainWindowTest, TheRightButtonOnAColourBoxOpensThePopUp) {
    lines({"ya(t)=sin(t)", "f(x)=1", "xa(t)=cos(t)"});
    QTest::mouseClick(box(1), Qt::RightButton);
    QMenu* popup = window->linePopup();
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(state.termEditor.currentLine, 1);
    EXPECT_EQ(action("mnp1")->text(), q("verbergen"));
    EXPECT_FALSE(action("mnp3_0")->isEnabled());
    EXPECT_TRUE(action("mnp3_1")->isEnabled());
    popup->hide();

    // On the y part of a curve the menu acts on the x part.
    QTest::keyClick(field(0), Qt::Key_PageDown);
    EXPECT_EQ(state.termEditor.currentLine, 2);
    EXPECT_TRUE(popup->isVisible());
    popup->hide();
    action("mnp1")->trigger();
    EXPECT_FALSE(state.lines[2].drawn);
    EXPECT_EQ(action("mnp1")->text(), q("anzeigen"));
}

TEST_F(MainWindowTest, PopUpColourWidthStyleSampleCountAndFontSize) {
    lines({"f(x)=1", "g(x)=2"});
    colourAnswer = QColor(10, 20, 30);
    popupCommand(1, "mnp6");
    EXPECT_EQ(colourAsked, QColor(0, 160, 0));
    EXPECT_EQ(boxColour(1), QColor(10, 20, 30));
    EXPECT_GT(pixelsOfSlot(1), 0);

    colourAnswer.reset(); // cancelled: nothing changes
    popupCommand(1, "mnp6");
    EXPECT_EQ(boxColour(1), QColor(10, 20, 30));

    popupCommand(1, "mnp151", "3");
    EXPECT_EQ(state.lines[1].lineWidth, 2);
    popupCommand(1, "mnp151", "1");
    EXPECT_EQ(state.lines[1].lineWidth, 0);
    popupCommand(0, "mpua1", "Punkt 10");
    EXPECT_EQ(state.lines[0].lineType, 10);
    popupCommand(0, "mpua1", "Linie");
    EXPECT_EQ(state.lines[0].lineType, 0);

    popupCommand(1, "mnp5");
    params::ParamWindow* count = window->paramWindows()->window(core::firstSampleCountSlot + 1);
    ASSERT_NE(count, nullptr);
    EXPECT_TRUE(count->isVisible());
    EXPECT_EQ(state.params[core::firstSampleCountSlot + 1].label, q("anzg"));

    const int rowBefore = field(0)->height();
    popupCommand(0, "mnp41", "20");
    EXPECT_EQ(state.termEditor.fontSize, 20);
    EXPECT_EQ(field(1)->font().pointSize(), 20);
    EXPECT_GT(field(0)->height(), rowBefore);
    EXPECT_EQ(term->height(), core::twipsToPixels(terms::fittedHeightTwips(20, 2), 15));
    // The lower row still lies inside the window.
    EXPECT_LE(field(1)->geometry().bottom(), term->height());
}

TEST_F(MainWindowTest, AngleUnitMarksAreExclusiveAndSetTheEngine) {
    struct Case {
        const char* entry;
        int mode;
        const char* rightAngle; // a term that gives 1 in this unit
    };
    const Case cases[] = {
        {"mn_deg", 2, "sin(90)"},
        {"mn_deg", 2, "sin(90)"}, // the marked entry stays marked
        {"mn_grad", 3, "sin(100)"},
        {"mn_rad", 1, "sin(pi/2)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        action(c.entry)->trigger();
        EXPECT_EQ(state.trigMode, c.mode);
        EXPECT_TRUE(action(c.entry)->isChecked());
        EXPECT_EQ(int(action("mn_rad")->isChecked()) + int(action("mn_deg")->isChecked()) +
                      int(action("mn_grad")->isChecked()),
                  1);
        EXPECT_NEAR(state.engine.eval(c.rightAngle), 1.0, 1e-12);
    }

    // An applied line keeps the unit: the engine is reset on every apply.
    action("mn_deg")->trigger();
    enter(0, "f(x)=sin(x)");
    EXPECT_NEAR(state.engine.eval("f(90)"), 1.0, 1e-12);
}

TEST_F(MainWindowTest, TheFourTogglesFlipTheBackground) {
    struct Toggle {
        const char* name;
        bool core::GraphOptions::*option;
    };
    const std::vector<Toggle> toggles{{"mn_helpline", &core::GraphOptions::gridShown},
                                      {"mn_viewnumb", &core::GraphOptions::labelsShown},
                                      {"mn_axevis", &core::GraphOptions::axesShown},
                                      {"mn_axname", &core::GraphOptions::axisNamesShown}};
    for (const Toggle& t : toggles) {
        SCOPED_TRACE(t.name);
        QAction* a = action(t.name);
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(a->isChecked());
        EXPECT_TRUE(state.graphOptions.*t.option);
        const QImage before = window->graphWindow()->picture().copy();

        a->trigger();
        EXPECT_FALSE(a->isChecked());
        EXPECT_FALSE(state.graphOptions.*t.option);
        EXPECT_NE(window->graphWindow()->picture(), before);

        a->trigger();
        EXPECT_TRUE(state.graphOptions.*t.option);
        EXPECT_EQ(window->graphWindow()->picture(), before);
    }
}

TEST_F(MainWindowTest, CopyingTheTerms) {
    lines({"f(x)=a*x", "", "h(x)=2"});
    state.params[state.findparam(q("a"))].value = -2;
    action("mn_copytermo")->trigger();
    EXPECT_EQ(clipboard, q("f(x)=a*x\r\nh(x)=2"));
    action("mn_paracopy")->trigger();
    EXPECT_EQ(clipboard, q("f(x)=(-2)*x\r\nh(x)=2"));
}

// Ctrl+V and Shift+Insert paste alike.
struct PasteKey {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifier modifier;
};
const PasteKey pasteKeys[] = {{"Ctrl+V", Qt::Key_V, Qt::ControlModifier},
                              {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier}};

TEST_F(MainWindowTest, CopiedTermsPastedIntoALineFillItAndTheLinesBelow) {
    term->clipboardText = [this] { return clipboard; };
    const QStringList copied = {q("f(x) = a*x"), q("g(x) = 2"), q("h(x) = x^2")};
    for (const PasteKey& paste : pasteKeys) {
        SCOPED_TRACE(paste.name);
        startOver();
        lines({"f(x)=a*x", "g(x)=2", "h(x)=x^2"});
        action("mn_copytermo")->trigger();
        startOver();

        QTest::keyClick(field(0), paste.key, paste.modifier);
        EXPECT_EQ(texts(), copied);
        EXPECT_TRUE(field(2)->isVisible());
        EXPECT_TRUE(field(2)->hasFocus());
        EXPECT_EQ(term->height(), term->fittedHeight());
        EXPECT_EQ(status()->text(), q("Ok."));
    }
}

TEST_F(MainWindowTest, OneLinePastedGoesInAtTheCursor) {
    term->clipboardText = [this] { return clipboard; };
    for (const PasteKey& paste : pasteKeys) {
        SCOPED_TRACE(paste.name);
        clipboard = q("a*");
        type(0, "f(x)=x");
        field(0)->setCursorPosition(5);
        QTest::keyClick(field(0), paste.key, paste.modifier);
        EXPECT_EQ(field(0)->text(), q("f(x)=a*x"));
        EXPECT_EQ(state.linesInUse, 1); // Shift+Insert adds no line, as Insert would

        // A line break at the end makes no second line.
        clipboard = q("+1\r\n");
        field(0)->end(false);
        QTest::keyClick(field(0), paste.key, paste.modifier);
        EXPECT_EQ(field(0)->text(), q("f(x)=a*x+1"));
        QTest::keyClick(field(0), Qt::Key_Return);
        EXPECT_EQ(field(0)->text(), q("f(x) = a*x+1"));
        EXPECT_EQ(state.linesInUse, 1);
    }
}

TEST_F(MainWindowTest, PastingReadsQtsClipboard) {
    QGuiApplication::clipboard()->setText(q("f(x)=1\ng(x)=2\n"));
    QTest::keyClick(field(0), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(texts(), (QStringList{q("f(x) = 1"), q("g(x) = 2")}));
    QGuiApplication::clipboard()->clear();
}

TEST_F(MainWindowTest, ParameterMenu) {
    enter(0, "f(x)=a*x+b");
    const int a = state.findparam(q("a"));
    const int b = state.findparam(q("b"));
    ASSERT_GE(a, 28);
    ASSERT_GE(b, 28);
    state.params[a].visible = false;
    state.hooks.paramChanged(a);
    ASSERT_FALSE(window->paramWindows()->window(a)->isVisible());
    action("mn_para")->trigger();
    EXPECT_TRUE(window->paramWindows()->window(a)->isVisible());
    EXPECT_TRUE(window->paramWindows()->window(b)->isVisible());

    // Closed with its frame's close button, the window comes back whole, not as an empty frame.
    auto* frame = qobject_cast<QMdiSubWindow*>(window->paramWindows()->window(b)->parentWidget());
    ASSERT_NE(frame, nullptr);
    frame->close();
    EXPECT_FALSE(state.params[b].visible);
    action("mn_para")->trigger();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(window->paramWindows()->window(b)->isVisible());

    QAction* dock = action("mn_pardock");
    EXPECT_FALSE(dock->isChecked());
    dock->trigger();
    EXPECT_TRUE(state.arrangeParamsOnApply);

    action("mn_autoint")->trigger();
    EXPECT_TRUE(state.autoIntegralRecognition);
    EXPECT_EQ(status()->text(), q("Ok."));
}

TEST_F(MainWindowTest, WindowMenuShowsClosedWindowsAgain) {
    window->termFrame()->close();
    EXPECT_FALSE(window->termFrame()->isVisible());
    action("mn_term")->trigger();
    EXPECT_TRUE(window->termFrame()->isVisible());
    window->graphFrame()->close();
    action("mn_graph")->trigger();
    EXPECT_TRUE(window->graphFrame()->isVisible());
    EXPECT_EQ(window->mdiArea()->activeSubWindow(), window->graphFrame());
}

TEST_F(MainWindowTest, AModalBoxFailsTheTestInsteadOfHanging) {
    // The program's own message boxes are modal; in a test they must not come up.
    EXPECT_NONFATAL_FAILURE(
        mainwin::MessageBoxService().inform(q("Titel"), q("Text"), platform::MessageIcon::Critical),
        "unexpected modal dialog");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, ClosingShutsDownOnce) {
    action("mn_close")->trigger();
    EXPECT_TRUE(window->isShutDown());
    EXPECT_FALSE(window->isVisible());
    window->close();
    EXPECT_TRUE(window->isShutDown());
}

TEST_F(MainWindowTest, ThirtyThreeRunningParametersLeaveTheWindowResponsive) {
    QString term = QStringLiteral("f(x)=0");
    for (int n = 0; n < 33; ++n)
        term += QStringLiteral("+p%1*x").arg(n);
    enter(0, term.toUtf8().constData());
    action("mn_timergo")->trigger();
    EXPECT_EQ(state.timerList.size(), 33);
    const int last = core::lastParamSlot;
    const double before = state.params[last].value;
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.params[last].value != before; },
                                20 * params::timerTickMs));
    // Typing still reaches the term line while the timer runs.
    type(0, "f(x)=x");
    EXPECT_EQ(field(0)->text(), q("f(x)=x"));
    action("mn_timergo")->trigger();
    EXPECT_TRUE(state.timerList.isEmpty());
}

TEST_F(MainWindowTest, AClickSetsTheParameterActivatedLastAndTheZoomLockHoldsTheRange) {
    ASSERT_NO_FATAL_FAILURE(activateParameterA());
    graph::GraphWindow* graph = window->graphWindow();
    QWidget* plot = graph->plotArea();
    const QPoint at(plot->width() / 4, plot->height() / 4);
    const double x = at.x() * state.tppX / state.scale.xmu + state.ranges.xMin;
    const double y =
        (state.scale.plotH - at.y() * state.tppY) / state.scale.ymu + state.ranges.yMin;

    struct Case {
        Qt::MouseButton button;
        bool yCoupled; // "mn_koppely" checked
        double value;
    };
    const Case cases[] = {
        {Qt::RightButton, false, x},
        {Qt::LeftButton, false, x}, // the left button does not couple yet
        {Qt::LeftButton, true, y},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        if (action("mn_koppely")->isChecked() != c.yCoupled) action("mn_koppely")->trigger();
        QTest::mouseClick(plot, c.button, Qt::NoModifier, at);
        EXPECT_NEAR(state.params[28].value, c.value, 1e-9);
    }

    const core::Ranges before = state.ranges;
    action("mn_zoomtoggle")->trigger(); // locked
    QTest::mouseClick(plot, Qt::RightButton, Qt::ControlModifier, at);
    EXPECT_EQ(state.ranges.xMin, before.xMin);
    EXPECT_EQ(state.ranges.xMax, before.xMax);
    action("mn_zoomtoggle")->trigger(); // free again
    QTest::mouseClick(plot, Qt::RightButton, Qt::ControlModifier, at);
    EXPECT_NEAR(state.ranges.xMax - state.ranges.xMin, 1.5 * (before.xMax - before.xMin), 1e-9);
}

// Dragging with a coupled button held moves the parameter along; a shift key holds it.
TEST_F(MainWindowTest, DraggingWithACoupledButtonDrivesTheParameter) {
    ASSERT_NO_FATAL_FAILURE(activateParameterA());
    action("mn_koppely")->trigger(); // both buttons couple now
    QWidget* plot = window->graphWindow()->plotArea();
    const auto worldX = [&](QPoint p) {
        return p.x() * state.tppX / state.scale.xmu + state.ranges.xMin;
    };
    const auto worldY = [&](QPoint p) {
        return (state.scale.plotH - p.y() * state.tppY) / state.scale.ymu + state.ranges.yMin;
    };
    const QPoint from(plot->width() / 4, plot->height() / 4);
    const QPoint to(plot->width() / 2 + 7, plot->height() / 3);
    const auto drag = [&](Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
        QTest::mousePress(plot, button, modifiers, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), plot->mapToGlobal(QPointF(to)), button,
                         button, modifiers);
        QApplication::sendEvent(plot, &move);
    };
    drag(Qt::RightButton, Qt::NoModifier);
    EXPECT_NEAR(state.params[28].value, worldX(to), 1e-9);
    QTest::mouseRelease(plot, Qt::RightButton, Qt::NoModifier, to);
    drag(Qt::LeftButton, Qt::NoModifier);
    EXPECT_NEAR(state.params[28].value, worldY(to), 1e-9);
    QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, to);
    // The readout follows the pointer.
    EXPECT_TRUE(
        window->graphWindow()->findChild<QLabel*>(q("Label1"))->text().startsWith(q("   x: ")));

    const double before = state.params[28].value;
    const core::Ranges range = state.ranges;
    drag(Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(state.params[28].value, before);
    QTest::mouseRelease(plot, Qt::RightButton, Qt::ShiftModifier, to);
    EXPECT_NE(state.ranges.xMin, range.xMin); // Shift with the right button centres instead
}

} // namespace
