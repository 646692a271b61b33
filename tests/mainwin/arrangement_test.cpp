// The child windows of the main window as a user meets them: docked while the main window
// changes size, the menu entries that steer the layout, and the parameter selection list.

#include "collection/collectionwindow.h"
#include "core/state.h"
#include "core/twips.h"
#include "graph/graphwindow.h"
#include "graph/navigation.h"
#include "mainwin/mainwindow.h"
#include "params/paramlist.h"
#include "params/paramwindow.h"
#include "params/paramwindows.h"
#include "terms/termwindow.h"

#include "mainwindowfixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using testsupport::q;

class ArrangementTest : public testsupport::MainWindowFixture {
protected:
    QSize area() const { return window->mdiArea()->viewport()->size(); }
    QMdiSubWindow* frameOf(int slot) const {
        params::ParamWindow* w = window->paramWindows()->window(slot);
        return w ? qobject_cast<QMdiSubWindow*>(w->parentWidget()) : nullptr;
    }
    std::vector<QMdiSubWindow*> shownFrames() const {
        std::vector<QMdiSubWindow*> out;
        for (QMdiSubWindow* sub : window->mdiArea()->subWindowList())
            if (sub->isVisible()) out.push_back(sub);
        return out;
    }
    void resizeMain(QSize size) {
        window->resize(size);
        QApplication::processEvents();
    }
    int px(int twips) const { return core::twipsToPixels(twips, state.tppX); }

    // The selection list's rows: label and whether selected.
    std::map<QString, bool> rows() const {
        std::map<QString, bool> out;
        QListWidget* list = window->paramList()->list();
        for (int i = 0; i < list->count(); ++i)
            out[list->item(i)->text()] = list->item(i)->isSelected();
        return out;
    }
    void clickRow(const QString& label) {
        QListWidget* list = window->paramList()->list();
        const auto found = list->findItems(label, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << label.toStdString();
        list->scrollToItem(found.front());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(found.front()).center());
    }
    QString buttonText() const { return window->paramList()->button()->text(); }
    bool shown(const char* name) const {
        const int k = state.findparam(q(name));
        return k >= 0 && frameOf(k) && frameOf(k)->isVisible();
    }
};

// Docked, the graph window stands at the right edge, the term window at the top left, narrowed
// only as far as needed and never below its smallest width, the collection window below it, and
// every window that is shown starts inside the visible area.
TEST_F(ArrangementTest, DockedWindowsFollowTheMainWindowsSize) {
    lines({"f(x)=a*x+b", "g(x)=c*x^2+d"});
    action("mn_spal")->trigger();
    window->collectionFrame()->show();
    const int termWidth = window->termFrame()->width();
    const int graphWidth = window->graphFrame()->width();
    const int termSmallest = window->termFrame()->minimumWidth();
    ASSERT_GE(termSmallest, px(3050));

    for (const QSize size :
         {QSize(1300, 900), QSize(1000, 700), QSize(800, 560), QSize(600, 480)}) {
        SCOPED_TRACE(size.width());
        resizeMain(size);
        const QSize a = area();
        const QRect graph = window->graphFrame()->geometry();
        const QRect term = window->termFrame()->geometry();
        const QRect collection = window->collectionFrame()->geometry();
        EXPECT_EQ(graph.top(), 0);
        EXPECT_EQ(graph.x() + graph.width(), a.width()) << "graph at the right edge";
        EXPECT_EQ(graph.width(), std::min(graphWidth, a.width()));
        EXPECT_EQ(term.topLeft(), QPoint(0, 0));
        EXPECT_EQ(term.width(), std::max(std::min(termWidth, graph.x()), termSmallest));
        EXPECT_EQ(collection.x(), 0);
        if (collection.height() <= a.height())
            EXPECT_EQ(collection.y() + collection.height(), a.height()) << "at the bottom";
        else
            EXPECT_EQ(collection.y(), 0);
        for (QMdiSubWindow* sub : shownFrames()) {
            SCOPED_TRACE(sub->objectName().toStdString());
            EXPECT_GE(sub->x(), 0);
            EXPECT_GE(sub->y(), 0);
            EXPECT_LE(sub->x() + std::min(sub->width(), a.width()), a.width());
            EXPECT_LE(sub->y() + std::min(sub->height(), a.height()), a.height());
        }
    }
}

TEST_F(ArrangementTest, TheCollectionFillsTheRoomBelowTheTermWindow) {
    window->collectionFrame()->show();
    auto* extended = window->collectionWindow()->findChild<QCheckBox*>(QStringLiteral("Check1"));
    ASSERT_NE(extended, nullptr);
    extended->setChecked(false); // the normal view may take any height from 4165 twips on
    for (const bool docked : {true, false}) {
        SCOPED_TRACE(docked);
        if (action("mn_dock")->isChecked() != docked) action("mn_dock")->trigger();
        const int termHeight = window->termFrame()->height();
        QTest::keyClick(field(state.lastLine), Qt::Key_Return, Qt::ShiftModifier);
        ASSERT_GT(window->termFrame()->height(), termHeight);
        const QRect term = window->termFrame()->geometry();
        const QRect collection = window->collectionFrame()->geometry();
        EXPECT_EQ(collection.height(), area().height() - term.height());
        if (docked) {
            EXPECT_EQ(collection.top(), term.y() + term.height());
        }
    }
}

TEST_F(ArrangementTest, UndockedWindowsStayAndTheAreaScrollsToThem) {
    enter(0, "f(x)=a*x");
    resizeMain(QSize(1200, 800));
    action("mn_dock")->trigger();
    EXPECT_FALSE(action("mn_dock")->isChecked());
    std::map<QMdiSubWindow*, QRect> before;
    for (QMdiSubWindow* sub : shownFrames())
        before[sub] = sub->geometry();
    resizeMain(QSize(700, 500));
    for (const auto& [sub, rect] : before)
        EXPECT_EQ(sub->geometry(), rect) << sub->objectName().toStdString();
    EXPECT_TRUE(window->mdiArea()->horizontalScrollBar()->isVisible() ||
                window->mdiArea()->verticalScrollBar()->isVisible());

    // Docked again, the windows are arranged at once.
    action("mn_dock")->trigger();
    const QRect graph = window->graphFrame()->geometry();
    EXPECT_EQ(graph.x() + graph.width(), area().width());
    EXPECT_LE(graph.height(), area().height());
}

TEST_F(ArrangementTest, MaximisedGraphHeightAndTheIndividualGraphWindowExcludeEachOther) {
    // Only the height: a maximised frame would cover every other window.
    EXPECT_FALSE(window->graphFrame()->windowFlags() & Qt::WindowMaximizeButtonHint);
    window->graphFrame()->resize(400, 300);
    QApplication::processEvents();
    action("mn_ghm")->trigger();
    EXPECT_TRUE(action("mn_ghm")->isChecked());
    EXPECT_EQ(window->graphFrame()->height(), area().height());
    resizeMain(QSize(900, 650));
    EXPECT_EQ(window->graphFrame()->height(), area().height());

    action("mn_gri")->trigger();
    EXPECT_TRUE(action("mn_gri")->isChecked());
    EXPECT_TRUE(state.windowAttributes.graphIndividual);
    EXPECT_FALSE(action("mn_ghm")->isChecked());
    action("mn_ghm")->trigger();
    EXPECT_FALSE(action("mn_gri")->isChecked());
    EXPECT_FALSE(state.windowAttributes.graphIndividual);
    // Removing one mark leaves the other alone.
    action("mn_ghm")->trigger();
    EXPECT_FALSE(action("mn_ghm")->isChecked());
    EXPECT_FALSE(action("mn_gri")->isChecked());

    // Without the mark the graph window keeps its height, within the area.
    window->graphFrame()->resize(window->graphFrame()->width(), 300);
    resizeMain(QSize(1000, 750));
    EXPECT_EQ(window->graphFrame()->height(), 300);
}

TEST_F(ArrangementTest, TheGraphWindowComesBackWithItsSizeAndSide) {
    window->graphFrame()->resize(500, 380);
    QApplication::processEvents();
    const QSize inner = window->graphWindow()->size();
    window->close();

    core::State again;
    again.messages = messages;
    again.configFolder = state.configFolder;
    mainwin::MainWindow second(again);
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    QApplication::processEvents();
    EXPECT_EQ(second.graphWindow()->size(), inner);
    const QRect graph = second.graphFrame()->geometry();
    EXPECT_EQ(graph.x() + graph.width(), second.mdiArea()->viewport()->width());
    EXPECT_EQ(second.termFrame()->x(), 0);
}

TEST_F(ArrangementTest, ParameterWindowsStackFromTheBottom) {
    enter(0, "f(x)=a*x^2+b*x+c");
    action("mn_pardock")->trigger();
    const int a = state.findparam(q("a"));
    const int c = state.findparam(q("c"));
    ASSERT_GT(c, a);
    // The graph window fills the right side: the stack stands at the left edge, the highest
    // slot at the bottom.
    EXPECT_EQ(frameOf(c)->x(), 0);
    EXPECT_EQ(frameOf(c)->y() + frameOf(c)->height(), area().height());
    EXPECT_EQ(frameOf(a)->y() + frameOf(a)->height(), frameOf(c)->y() - frameOf(c)->height());
    resizeMain(QSize(900, 600));
    EXPECT_EQ(frameOf(c)->y() + frameOf(c)->height(), area().height());
}

struct FreeWindowsCase {
    const char* name;
    bool termRight;       // the term window moved to the top right
    bool collectionShown; // the collection window shown at the top right
};

class NewParameterWindow : public ArrangementTest,
                           public ::testing::WithParamInterface<FreeWindowsCase> {};

// Not stacked, a parameter window appears at the right and leaves the term and collection
// windows free wherever the user put them.
TEST_P(NewParameterWindow, LeavesTheTermAndCollectionWindowsFree) {
    const FreeWindowsCase& c = GetParam();
    action("mn_dock")->trigger();
    ASSERT_FALSE(action("mn_dock")->isChecked());
    const auto toRight = [this](QMdiSubWindow* f) {
        f->show();
        f->move(area().width() - f->width(), 0);
    };
    if (c.termRight) toRight(window->termFrame());
    if (c.collectionShown) toRight(window->collectionFrame());
    QApplication::processEvents();
    enter(0, "f(x)=a*x+b");
    for (const char* name : {"a", "b"}) {
        QMdiSubWindow* f = frameOf(state.findparam(q(name)));
        ASSERT_TRUE(f && f->isVisible()) << name;
        EXPECT_TRUE(QRect(QPoint(), area()).contains(f->geometry())) << name;
        EXPECT_FALSE(f->geometry().intersects(window->termFrame()->geometry())) << name;
        if (c.collectionShown) {
            EXPECT_FALSE(f->geometry().intersects(window->collectionFrame()->geometry())) << name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Places, NewParameterWindow,
                         ::testing::Values(FreeWindowsCase{"TermAtTheRight", true, false},
                                           FreeWindowsCase{"CollectionAtTheRight", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ArrangementTest, AnEmptyListOffersAll) {
    enter(0, "f(x)=x");
    action("mn_spal")->trigger();
    EXPECT_TRUE(window->paramListFrame()->isVisible());
    EXPECT_EQ(window->paramList()->windowTitle(), q("Parameter:"));
    EXPECT_EQ(window->paramList()->list()->count(), 0);
    EXPECT_EQ(buttonText(), q("&Alle"));
    action("mn_spal")->trigger();
    EXPECT_FALSE(window->paramListFrame()->isVisible());
    // Closed by its frame, the list loses the menu's mark.
    action("mn_spal")->trigger();
    window->paramListFrame()->close();
    EXPECT_FALSE(action("mn_spal")->isChecked());
}

TEST_F(ArrangementTest, RowsShowAndHideTheirWindows) {
    enter(0, "f(x)=a*x^2+b*x+c");
    action("mn_spal")->trigger();
    using Rows = std::map<QString, bool>;
    EXPECT_EQ(rows(), (Rows{{q("a"), true}, {q("b"), true}, {q("c"), true}}));
    EXPECT_EQ(buttonText(), q("&Keine"));

    // One click hides all, the next shows all.
    QTest::mouseClick(window->paramList()->button(), Qt::LeftButton);
    EXPECT_EQ(rows(), (Rows{{q("a"), false}, {q("b"), false}, {q("c"), false}}));
    EXPECT_FALSE(shown("a") || shown("b") || shown("c"));
    EXPECT_EQ(buttonText(), q("&Alle"));
    QTest::mouseClick(window->paramList()->button(), Qt::LeftButton);
    EXPECT_TRUE(shown("a") && shown("b") && shown("c"));
    EXPECT_EQ(buttonText(), q("&Keine"));

    // A click toggles its own row only, and its parameter is the one the mouse drives.
    clickRow(q("b"));
    EXPECT_EQ(rows(), (Rows{{q("a"), true}, {q("b"), false}, {q("c"), true}}));
    EXPECT_FALSE(shown("b"));
    EXPECT_TRUE(shown("a") && shown("c"));
    EXPECT_EQ(buttonText(), q("&Alle"));
    EXPECT_EQ(window->graphWindow()->navigation().coupledParameter, state.findparam(q("b")));
    clickRow(q("b"));
    EXPECT_TRUE(shown("b"));
    EXPECT_EQ(buttonText(), q("&Keine"));

    // Closed by its frame, a window loses its row's selection.
    frameOf(state.findparam(q("c")))->close();
    EXPECT_EQ(rows(), (Rows{{q("a"), true}, {q("b"), true}, {q("c"), false}}));
    EXPECT_EQ(buttonText(), q("&Alle"));

    // A new parameter gets its row at once.
    enter(0, "f(x)=a*x^2+b*x+c+k");
    EXPECT_EQ(rows().count(q("k")), 1u);
}

TEST_F(ArrangementTest, TheFiltersShowTheParametersOfOneFunction) {
    lines({"f(x)=a*x+b", "g(x)=c*x"});
    using Rows = std::map<QString, bool>;
    popupCommand(0, "mnp2"); // only
    EXPECT_TRUE(shown("a") && shown("b"));
    EXPECT_FALSE(shown("c"));
    EXPECT_TRUE(window->paramListFrame()->isVisible());
    EXPECT_TRUE(action("mn_spal")->isChecked());
    EXPECT_EQ(rows(), (Rows{{q("a"), true}, {q("b"), true}, {q("c"), false}}));

    popupCommand(1, "mnp7"); // also
    EXPECT_TRUE(shown("a") && shown("b") && shown("c"));
    popupCommand(1, "mnp2");
    EXPECT_EQ(rows(), (Rows{{q("a"), false}, {q("b"), false}, {q("c"), true}}));
}

TEST_F(ArrangementTest, LowerBoundsOfEveryIntegralFunction) {
    lines({"f(x)=x", "g(x)=x^2", "h(x)=x^3", "k(x)=2*x", "K(x)"});
    ASSERT_EQ(term->statusLine()->text(), q("Ok.")) << term->statusLine()->text().toStdString();
    const int slot = state.lines[4].slot;
    ASSERT_NE(state.params[std::size_t(slot)].handle, -1);
    action("mn_ugr")->trigger();
    ASSERT_NE(frameOf(slot), nullptr);
    EXPECT_TRUE(frameOf(slot)->isVisible());
    // Lines without an integral function show none.
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(frameOf(state.lines[std::size_t(i)].slot) &&
                     frameOf(state.lines[std::size_t(i)].slot)->isVisible());
    action("mn_spal")->trigger();
    EXPECT_EQ(rows().count(state.params[std::size_t(slot)].label), 1u);
}

} // namespace
