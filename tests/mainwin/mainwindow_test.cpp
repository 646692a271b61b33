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

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
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
    const QString& text(int i) const { return state.termEditor.texts[i]; }

    // The entry of a control array (several actions of one name) by its caption.
    QAction* entry(const char* name, const char* caption) const {
        for (QAction* a : window->findChildren<QAction*>(QLatin1String(name)))
            if (a->text() == q(caption)) return a;
        return nullptr;
    }
    void popupCommand(int line, const char* name, const char* caption = nullptr) {
        state.termEditor.currentLine = line;
        QAction* a = caption ? entry(name, caption) : action(name);
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
    }

    QColor fieldBackground(int i) const { return field(i)->palette().color(QPalette::Base); }
    QColor boxColour(int i) const { return box(i)->palette().color(QPalette::Window); }
    QColor statusBackground() const { return status()->palette().color(QPalette::Window); }

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

    std::optional<QColor> colourAnswer;
    QColor colourAsked;
    QString clipboard;
};

TEST_F(MainWindowTest, StartsWithOneEmptyLineAndOk) {
    EXPECT_EQ(window->objectName(), q("mother"));
    EXPECT_EQ(window->windowTitle(),
              q("Kurvatur 2 - Funktionsgraphen und Kurven mit dynamischen Parametern"));
    EXPECT_EQ(term->objectName(), q("termform"));
    EXPECT_EQ(term->windowTitle(), q("Funktionsterme"));
    EXPECT_EQ(status()->text(), q("Ok."));
    EXPECT_EQ(status()->objectName(), q("Label9"));
    EXPECT_EQ(term->backButton()->text(), q("[ a ; b ]"));
    EXPECT_EQ(state.linesInUse, 1);
    EXPECT_EQ(state.busyFlag, 0);
    EXPECT_TRUE(field(0)->isVisible());
    EXPECT_FALSE(field(1)->isVisible());
    EXPECT_EQ(field(0)->font().family(), q("Arial"));
    EXPECT_EQ(boxColour(0), QColor(0, 0, 255));
    EXPECT_EQ(state.trigMode, 1);
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

TEST_F(MainWindowTest, EnterAppliesTheLineAndMakesItsParameter) {
    enter(0, "f(x)=a*x^2");
    EXPECT_EQ(status()->text(), q("Ok."));
    EXPECT_EQ(field(0)->text(), q("f(x) = a*x^2"));
    EXPECT_EQ(state.lines[0].name, q("f"));
    EXPECT_EQ(state.params[28].label, q("a"));
    EXPECT_NE(state.params[28].handle, -1);
    params::ParamWindow* a = window->paramWindows()->window(28);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isVisible());
    EXPECT_EQ(statusBackground(), QApplication::palette(field(0)).color(QPalette::Button));
}

TEST_F(MainWindowTest, AnErrorShowsOnRedAndGoesAwayWhenCorrected) {
    enter(0, "f(x)==1");
    EXPECT_EQ(status()->text(), q("Zu viele Gleichheitszeichen!"));
    const QColor red = statusBackground();
    EXPECT_GT(red.red(), 100);
    EXPECT_EQ(red.green(), 0);
    EXPECT_EQ(red.blue(), 0);

    enter(0, "f(x)=1");
    EXPECT_EQ(status()->text(), q("Ok."));
    EXPECT_EQ(statusBackground(), QApplication::palette(field(0)).color(QPalette::Button));
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
    EXPECT_GT(statusBackground().red(), 100);
    EXPECT_EQ(statusBackground().green(), 0);

    // The parameter makes the term cheap: the whole line is drawn and the status is back.
    const int drawnBefore = pixelsOfSlot(0);
    params::setpar(state, 28, 20);
    waitForStatus("Ok.");
    EXPECT_EQ(statusBackground(), QApplication::palette(field(0)).color(QPalette::Button));
    EXPECT_GT(pixelsOfSlot(0), drawnBefore);
}

TEST_F(MainWindowTest, ShiftEnterAddsALineBelowAndFocusesIt) {
    enter(0, "f(x)=x");
    QTest::keyClick(field(0), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(state.linesInUse, 2);
    EXPECT_TRUE(field(1)->isVisible());
    EXPECT_TRUE(box(1)->isVisible());
    EXPECT_TRUE(plus(1)->isVisible());
    EXPECT_TRUE(field(1)->hasFocus());
    EXPECT_EQ(field(0)->text(), q("f(x) = x"));
    EXPECT_TRUE(field(1)->text().isEmpty());
    // The window grew by one row.
    EXPECT_EQ(term->height(), term->fittedHeight());
    EXPECT_EQ(term->height(), core::twipsToPixels(terms::fittedHeightTwips(10, 2), 15));
}

TEST_F(MainWindowTest, InsertAddsAfterAndCtrlInsertBefore) {
    lines({"f(x)=1", "g(x)=2"});
    QTest::keyClick(field(0), Qt::Key_Insert);
    EXPECT_EQ(state.linesInUse, 3);
    EXPECT_EQ(field(0)->text(), q("f(x) = 1"));
    EXPECT_TRUE(field(1)->text().isEmpty());
    EXPECT_EQ(field(2)->text(), q("g(x) = 2"));
    EXPECT_TRUE(field(1)->hasFocus());

    QTest::keyClick(field(2), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(state.linesInUse, 4);
    EXPECT_TRUE(field(2)->text().isEmpty());
    EXPECT_EQ(field(3)->text(), q("g(x) = 2"));
    // The colour boxes followed their lines: g keeps its green.
    EXPECT_EQ(boxColour(3), QColor(0, 160, 0));
    EXPECT_EQ(boxColour(0), QColor(0, 0, 255));
}

TEST_F(MainWindowTest, ThirteenLinesAreTheLimit) {
    for (int i = 0; i < 12; ++i)
        QTest::keyClick(field(i), Qt::Key_Return, Qt::ShiftModifier);
    ASSERT_EQ(state.linesInUse, 13);
    QTest::keyClick(field(3), Qt::Key_Insert);
    QTest::keyClick(field(3), Qt::Key_Return, Qt::ShiftModifier);
    QTest::mouseClick(plus(3), Qt::LeftButton);
    EXPECT_EQ(state.linesInUse, 13);
    EXPECT_TRUE(field(12)->isVisible());
}

TEST_F(MainWindowTest, ShiftDeleteRemovesTheLine) {
    lines({"f(x)=1", "g(x)=2", "h(x)=3"});
    QTest::keyClick(field(0), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(state.linesInUse, 2);
    EXPECT_EQ(field(0)->text(), q("g(x) = 2"));
    EXPECT_EQ(field(1)->text(), q("h(x) = 3"));
    EXPECT_FALSE(field(2)->isVisible());
    EXPECT_EQ(boxColour(0), QColor(0, 160, 0));
    EXPECT_EQ(status()->text(), q("Ok."));

    // Delete without Shift only deletes a character.
    field(1)->setCursorPosition(0);
    QTest::keyClick(field(1), Qt::Key_Delete);
    EXPECT_EQ(state.linesInUse, 2);
    EXPECT_EQ(field(1)->text(), q("(x) = 3"));

    // The last line cannot go.
    QTest::keyClick(field(0), Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(field(0), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(state.linesInUse, 1);
}

TEST_F(MainWindowTest, ShiftPageDownHidesTheLine) {
    enter(0, "f(x)=3");
    const int before = pixelsOfSlot(0);
    EXPECT_GT(before, 50);
    QTest::keyClick(field(0), Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_FALSE(state.lines[0].drawn);
    EXPECT_EQ(fieldBackground(0), hiddenGrey);
    EXPECT_EQ(pixelsOfSlot(0), 0);

    QTest::keyClick(field(0), Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_TRUE(state.lines[0].drawn);
    EXPECT_NE(fieldBackground(0), hiddenGrey);
    EXPECT_EQ(pixelsOfSlot(0), before);
}

TEST_F(MainWindowTest, ShiftPageUpSwitchesToTheIntervalsAndBack) {
    lines({"f(x)=x", "xa(t)=cos(t)", "ya(t)=sin(t)"});
    QTest::keyClick(field(0), Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(term->windowTitle(), q("Darstellungsintervalle"));
    EXPECT_EQ(window->termFrame()->windowTitle(), q("Darstellungsintervalle"));
    EXPECT_EQ(term->backButton()->text(), q("Terme"));
    const auto compact = [](QString t) { return t.remove(QLatin1Char(' ')); };
    EXPECT_EQ(compact(field(0)->text()), q("f:]-oo;+oo["));
    EXPECT_EQ(compact(field(1)->text()), q("Param.fürxa:]-oo;+oo["));
    EXPECT_TRUE(field(2)->text().isEmpty());

    // A bound typed in the intervals view is applied with Enter.
    enter(0, "f: ] 0 ; 2 [");
    EXPECT_EQ(field(0)->text(), q("f: ] 0 ; 2 ["));
    EXPECT_EQ(state.lines[0].lowerText, q("0"));
    EXPECT_DOUBLE_EQ(state.lines[0].intervalTo, 2);

    QTest::mouseClick(term->backButton(), Qt::LeftButton);
    EXPECT_EQ(term->windowTitle(), q("Funktionsterme"));
    EXPECT_EQ(field(0)->text(), q("f(x) = x"));
}

TEST_F(MainWindowTest, ClickingIntoALineApplies) {
    type(0, "x^2");
    EXPECT_EQ(state.lines[0].name, QString());
    QTest::mouseClick(field(0), Qt::LeftButton);
    EXPECT_EQ(field(0)->text(), q("f(x) = x^2"));
    EXPECT_TRUE(field(0)->hasFocus());
}

TEST_F(MainWindowTest, ThePlusButtonAddsDeletesAndHides) {
    enter(0, "f(x)=1");
    QTest::mouseClick(plus(0), Qt::LeftButton);
    EXPECT_EQ(state.linesInUse, 2);
    EXPECT_TRUE(field(1)->hasFocus());
    type(1, "g(x)=2");

    QTest::mouseClick(plus(0), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(state.linesInUse, 1);
    EXPECT_EQ(field(0)->text(), q("g(x) = 2"));
    EXPECT_TRUE(field(0)->hasFocus());
    QTest::mouseClick(plus(0), Qt::LeftButton, Qt::ShiftModifier); // the only line stays
    EXPECT_EQ(state.linesInUse, 1);

    QTest::mouseClick(plus(0), Qt::RightButton);
    EXPECT_FALSE(state.lines[0].drawn);
    EXPECT_EQ(fieldBackground(0), hiddenGrey);
}

TEST_F(MainWindowTest, DoubleClickOnTheColourBox) {
    lines({"f(x)=1", "g(x)=2"});
    QTest::mouseDClick(box(1), Qt::LeftButton);
    EXPECT_EQ(state.linesInUse, 3);
    EXPECT_TRUE(field(2)->text().isEmpty());
    EXPECT_TRUE(field(2)->hasFocus());

    QTest::mouseDClick(box(1), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(state.linesInUse, 4);
    EXPECT_TRUE(field(1)->text().isEmpty());
    EXPECT_EQ(field(2)->text(), q("g(x) = 2"));

    QTest::mouseDClick(box(2), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_FALSE(state.lines[2].drawn);
    EXPECT_EQ(fieldBackground(2), hiddenGrey);
    EXPECT_EQ(state.termEditor.currentLine, 2);
}

TEST_F(MainWindowTest, TheRightButtonOnAColourBoxOpensThePopUp) {
    lines({"ya(t)=sin(t)", "f(x)=1", "xa(t)=cos(t)"});
    QTest::mouseClick(box(1), Qt::RightButton);
    QMenu* popup = window->linePopup();
    EXPECT_EQ(popup->objectName(), q("mn_pop1"));
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(state.termEditor.currentLine, 1);
    EXPECT_EQ(action("mnp1")->text(), q("verbergen"));
    EXPECT_FALSE(window->findChildren<QAction*>(q("mnp3"))[0]->isEnabled());
    EXPECT_TRUE(window->findChildren<QAction*>(q("mnp3"))[1]->isEnabled());
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

TEST_F(MainWindowTest, PopUpLineCommands) {
    lines({"f(x)=1", "g(x)=2"});
    popupCommand(0, "mnp10");
    EXPECT_EQ(state.linesInUse, 3);
    EXPECT_TRUE(field(1)->text().isEmpty());
    popupCommand(0, "mnp9");
    EXPECT_EQ(state.linesInUse, 4);
    EXPECT_TRUE(field(0)->text().isEmpty());
    EXPECT_EQ(field(1)->text(), q("f(x) = 1"));
    popupCommand(0, "mnp8");
    popupCommand(1, "mnp8");
    EXPECT_EQ(state.linesInUse, 2);
    EXPECT_EQ(field(0)->text(), q("f(x) = 1"));
    EXPECT_EQ(field(1)->text(), q("g(x) = 2"));

    popupCommand(1, "mnp1");
    EXPECT_FALSE(state.lines[1].drawn);
    EXPECT_EQ(fieldBackground(1), hiddenGrey);
    EXPECT_EQ(action("mnp1")->text(), q("anzeigen"));

    popupCommand(1, "mnp3", "Darstellungsintervall ändern");
    EXPECT_EQ(term->windowTitle(), q("Darstellungsintervalle"));
    popupCommand(1, "mnp3", "Funktionsterme ändern");
    EXPECT_EQ(term->windowTitle(), q("Funktionsterme"));
}

TEST_F(MainWindowTest, PopUpColourWidthStyleAndSampleCount) {
    lines({"f(x)=1", "g(x)=2"});
    colourAnswer = QColor(10, 20, 30);
    popupCommand(1, "mnp6");
    EXPECT_EQ(colourAsked, QColor(0, 160, 0));
    EXPECT_EQ(boxColour(1), QColor(10, 20, 30));
    EXPECT_EQ(state.lineColours[1], core::rgb(10, 20, 30));
    EXPECT_EQ(pixelsOfSlot(1) > 0, true);

    colourAnswer.reset(); // cancelled: nothing changes
    popupCommand(1, "mnp6");
    EXPECT_EQ(boxColour(1), QColor(10, 20, 30));

    popupCommand(1, "mnp151", "3");
    EXPECT_EQ(state.lines[1].lineWidth, 2);
    EXPECT_EQ(state.lineSlots[1].width, 2);
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
}

TEST_F(MainWindowTest, PopUpFontSizeResizesTheRows) {
    lines({"f(x)=1", "g(x)=2"});
    const int rowBefore = field(0)->height();
    popupCommand(0, "mnp41", "20");
    EXPECT_EQ(state.termEditor.fontSize, 20);
    EXPECT_EQ(field(1)->font().pointSize(), 20);
    EXPECT_GT(field(0)->height(), rowBefore);
    EXPECT_EQ(term->height(), core::twipsToPixels(terms::fittedHeightTwips(20, 2), 15));
    // The lower row still lies inside the window.
    EXPECT_LE(field(1)->geometry().bottom(), term->height());
}

TEST_F(MainWindowTest, MenuAndPopUpCaptions) {
    EXPECT_EQ(window->linePopup()->title(), q("PopUp"));
    const std::vector<std::pair<const char*, const char*>> entries{
        {"mnp10", "zusätzliche Eingabezeile nach dieser"},
        {"mnp9", "zusätzliche Eingabezeile vor dieser"},
        {"mnp8", "Eingabezeile löschen"},
        {"mnp6", "Farbe ändern"},
        {"mpu15", "Liniendicke ändern"},
        {"mpua", "Linie oder diskrete Punkte"},
        {"mnp5", "Stützstellenanzahl ändern"},
        {"mnp4b", "Schriftgröße individuell änderbar"},
        {"mnp4", "Schriftgröße ändern"},
        {"mn_file", "&Datei"},
        {"mn_close", "&S&chließen"},
        {"mn_edit", "&Bearbeiten"},
        {"mn_allclr", "Alle Einträge löschen"},
        {"mn_copytermo", "&Terme in Zwischenablage kopieren"},
        {"mn_paracopy", "Terme mit ersetzten &Parametern in Zwischenablage"},
        {"mn_pmw", "&Parameter"},
        {"mn_para", "Alle &Parameter anzeigen"},
        {"mn_pardock", "&Parameterfenster anordnen"},
        {"mn_timergo", "Alle &Timer gleichzeitig starten"},
        {"mn_extra", "&Einstellungen"},
        {"mn_helpum", "Verschiedene Objekte ein- und ausblenden"},
        {"mn_helpline", "Hilfs&linien sichtbar"},
        {"mn_viewnumb", "B&eschriftung sichtbar"},
        {"mn_axevis", "&Achsen sichtbar"},
        {"mn_axname", "Achsen&name sichtbar"},
        {"mn_winkum", "Einstellung der Winkelmaße"},
        {"mn_rad", "&Bogenmaß (Vollwinkel = 2 pi rad)"},
        {"mn_deg", "&Gradmaß (Vollwinkel = 360°)"},
        {"mn_grad", "Neugrad&maß (Vollwinkel = 400 grad)"},
        {"mn_win", "&Fenster"},
        {"mn_graph", "&Graphische Darstellung"},
        {"mn_term", "Funktions&terme"},
    };
    for (const auto& [name, caption] : entries) {
        QAction* a = action(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->text(), q(caption)) << name;
    }
    EXPECT_EQ(window->findChildren<QAction*>(q("mnp151")).size(), 8);
    EXPECT_EQ(window->findChildren<QAction*>(q("mpua1")).size(), 11);
    EXPECT_EQ(window->findChildren<QAction*>(q("mnp41")).size(), 10);
    EXPECT_NE(entry("mnp41", "26"), nullptr);
}

TEST_F(MainWindowTest, ClearingAllEntries) {
    lines({"f(x)=a*x", "g(x)=2"});
    QTest::keyClick(field(1), Qt::Key_PageDown, Qt::ShiftModifier);
    action("mn_allclr")->trigger();
    EXPECT_TRUE(field(0)->text().isEmpty());
    EXPECT_TRUE(field(1)->text().isEmpty());
    EXPECT_NE(fieldBackground(1), hiddenGrey);
    EXPECT_EQ(status()->text(), q("Ok."));
    EXPECT_EQ(state.findparam(q("a")), -1);
    EXPECT_EQ(pixelsOfSlot(0), 0);
    EXPECT_EQ(state.freeNames, q("fghijklmnopqrstuvwxyz"));
}

TEST_F(MainWindowTest, AngleUnitMarksAreExclusive) {
    const auto marks = [this] {
        return std::vector<bool>{action("mn_rad")->isChecked(), action("mn_deg")->isChecked(),
                                 action("mn_grad")->isChecked()};
    };
    action("mn_deg")->trigger();
    EXPECT_EQ(marks(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(state.trigMode, 2);
    EXPECT_NEAR(state.engine.eval("sin(90)"), 1.0, 1e-12);

    // An applied line keeps the unit: the engine is reset on every apply.
    enter(0, "f(x)=sin(x)");
    EXPECT_NEAR(state.engine.eval("f(90)"), 1.0, 1e-12);

    action("mn_deg")->trigger(); // the marked entry stays marked
    EXPECT_EQ(marks(), (std::vector<bool>{false, true, false}));
    action("mn_grad")->trigger();
    EXPECT_EQ(marks(), (std::vector<bool>{false, false, true}));
    EXPECT_NEAR(state.engine.eval("sin(100)"), 1.0, 1e-12);
    action("mn_rad")->trigger();
    EXPECT_EQ(marks(), (std::vector<bool>{true, false, false}));
    EXPECT_NEAR(state.engine.eval("sin(pi/2)"), 1.0, 1e-12);
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
        QAction* a = action(t.name);
        ASSERT_NE(a, nullptr) << t.name;
        EXPECT_TRUE(a->isChecked()) << t.name;
        EXPECT_TRUE(state.graphOptions.*t.option) << t.name;
        const QImage before = window->graphWindow()->picture().copy();

        a->trigger();
        EXPECT_FALSE(a->isChecked()) << t.name;
        EXPECT_FALSE(state.graphOptions.*t.option) << t.name;
        EXPECT_NE(window->graphWindow()->picture(), before) << t.name;

        a->trigger();
        EXPECT_TRUE(state.graphOptions.*t.option) << t.name;
        EXPECT_EQ(window->graphWindow()->picture(), before) << t.name;
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

// The timer symbol of slot k's parameter window.
QLabel* timerSymbol(mainwin::MainWindow& window, int k) {
    auto* para = window.findChild<params::ParamWindow*>(QStringLiteral("para%1").arg(k));
    return para ? para->findChild<QLabel*>(QStringLiteral("Image1")) : nullptr;
}

TEST_F(MainWindowTest, TheTimerSymbolStartsAndStopsItsParameter) {
    enter(0, "f(x)=a*x^2");
    QTimer* timer = MainWindowFixture::timer();
    ASSERT_NE(timer, nullptr);
    QLabel* symbol = timerSymbol(*window, 28);
    ASSERT_NE(symbol, nullptr);
    EXPECT_FALSE(timer->isActive());

    QTest::mouseClick(symbol, Qt::LeftButton);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(symbol->frameShape(), QFrame::Box);
    // One timer started from its symbol leaves the command for all of them as it was.
    EXPECT_EQ(action("mn_timergo")->text(), q("Alle &Timer gleichzeitig starten"));

    const double before = state.params[28].value;
    QTest::qWait(3 * params::timerTickMs);
    EXPECT_NE(state.params[28].value, before);

    QTest::mouseClick(symbol, Qt::LeftButton);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(symbol->frameShape(), QFrame::NoFrame);
}

TEST_F(MainWindowTest, TheMenuStartsAllTimersAndStopsThem) {
    enter(0, "f(x)=a*x^2 + b*x + c");
    QTimer* timer = MainWindowFixture::timer();
    action("mn_timergo")->trigger();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(state.timerList.size(), 3);
    EXPECT_EQ(action("mn_timergo")->text(), q("Alle &Timer anhalten"));
    action("mn_timergo")->trigger();
    EXPECT_FALSE(timer->isActive());
    EXPECT_TRUE(state.timerList.isEmpty());
    EXPECT_EQ(action("mn_timergo")->text(), q("Alle &Timer gleichzeitig starten"));
}

TEST_F(MainWindowTest, DeletingTheLineOfARunningParameterStopsItsTimer) {
    lines({"f(x)=a*x", "g(x)=x"});
    QTest::mouseClick(timerSymbol(*window, 28), Qt::LeftButton);
    QTimer* timer = MainWindowFixture::timer();
    ASSERT_TRUE(timer->isActive());
    QTest::keyClick(field(0), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_FALSE(timer->isActive());
    EXPECT_TRUE(state.timerList.isEmpty());
    EXPECT_EQ(state.params[28].handle, -1);
    QTest::qWait(2 * params::timerTickMs); // no tick may touch the freed slot
    EXPECT_EQ(state.params[28].handle, -1);
}

TEST_F(MainWindowTest, ThirtyThreeRunningParametersLeaveTheWindowResponsive) {
    QString term = QStringLiteral("f(x)=0");
    for (int n = 0; n < 33; ++n)
        term += QStringLiteral("+p%1*x").arg(n);
    enter(0, term.toUtf8().constData());
    action("mn_timergo")->trigger();
    EXPECT_EQ(state.timerList.size(), 33);
    QTest::qWait(4 * params::timerTickMs);
    // Typing still reaches the term line while the timer runs.
    type(0, "f(x)=x");
    EXPECT_EQ(field(0)->text(), q("f(x)=x"));
    action("mn_timergo")->trigger();
    EXPECT_TRUE(state.timerList.isEmpty());
}

} // namespace
