// F1 in every window shows the help page of that window; the help menu does the same for the
// window that holds the focus and shows the about box.

#include "collection/collectionwindow.h"
#include "core/version.h"
#include "graph/graphwindow.h"
#include "objects/linewindow.h"
#include "objects/pointwindow.h"
#include "params/paramlist.h"
#include "params/paramwindow.h"
#include "params/paramwindows.h"
#include "params/timerdialog.h"
#include "session/rangewindow.h"

#include "mainwindowfixture.h"

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QTextBrowser>

namespace {

using testsupport::q;

class HelpTest : public testsupport::MainWindowFixture {
protected:
    // The help window that F1 on widget opened, and the page it shows.
    QString pressF1(QWidget* widget) {
        QTest::keyClick(widget, Qt::Key_F1);
        return shownPage(window.get());
    }
    QString shownPage(QWidget* owner) const {
        QWidget* help = owner->findChild<QWidget*>(QStringLiteral("hilfe"));
        if (!help || !help->isVisible()) return {};
        return help->findChild<QTextBrowser*>(QStringLiteral("Seite"))->source().fileName();
    }
    QWidget* helpWindow() const { return window->findChild<QWidget*>(QStringLiteral("hilfe")); }
};

TEST_F(HelpTest, F1ShowsThePageOfTheWindow) {
    lines({"f(x) = a*x"});
    const int slot = state.findparam(q("a"));
    ASSERT_GE(slot, 0);
    action("mn_calc")->trigger();
    action("mn_inter")->trigger();
    action("mn_col")->trigger();
    action("mn_groptions")->trigger();
    action("mn_asy")->trigger();
    action("mn_punkt")->trigger();
    action("mn_spal")->trigger();
    auto* options = window->findChild<QDialog*>(QStringLiteral("optionsgraph"));
    ASSERT_NE(options, nullptr);
    auto* timer = new params::TimerDialog(state, window->paramWindows()->window(slot));
    timer->init(slot);
    timer->show();

    struct Case {
        QWidget* widget;
        const char* page;
    };
    const Case cases[] = {
        {field(0), "funktionsterme.html"},
        {window->graphWindow(), "graphik.html"},
        {window->paramWindows()->window(slot)->findChild<QLineEdit*>(q("Text3")),
         "parameterfenster.html"},
        {timer, "timer.html"},
        {window->rangeWindow()->findChild<QLineEdit*>(q("von0")), "bereich.html"},
        {window->collectionWindow(), "sammlung.html"},
        {window->findChild<QWidget*>(q("minicalc"))->findChild<QLineEdit*>(q("Text1")),
         "taschenrechner.html"},
        {options, "einstellungen.html"},
        {window->lineWindow()->findChild<QLineEdit*>(q("Text4")), "geraden.html"},
        {window->pointWindow()->findChild<QLineEdit*>(q("Text4")), "punkte.html"},
        {window->paramList()->findChild<QListWidget*>(q("List1")), "parameterliste.html"},
        {window->menuBar(), "hauptfenster.html"},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.widget, nullptr) << c.page;
        if (helpWindow()) helpWindow()->hide();
        EXPECT_EQ(pressF1(c.widget), q(c.page));
    }
    // F1 in the help keeps its page.
    QTest::keyClick(helpWindow()->findChild<QTextBrowser*>(q("Seite")), Qt::Key_F1);
    EXPECT_EQ(shownPage(window.get()), q("hauptfenster.html"));
    delete timer;
}

TEST_F(HelpTest, TheMenuShowsTheHelpOfTheWindowWithTheFocus) {
    EXPECT_EQ(action("mn_help")->text(), q("&Hilfe"));
    EXPECT_EQ(action("mn_hlpm")->text(), q("Hilfe zum markierten Objekt"));
    action("mn_calc")->trigger();
    action("mn_hlpm")->trigger();
    EXPECT_EQ(shownPage(window.get()), q("taschenrechner.html"));
    field(0)->setFocus();
    action("mn_hlpm")->trigger();
    EXPECT_EQ(shownPage(window.get()), q("funktionsterme.html"));
}

TEST_F(HelpTest, ContentsAndSearch) {
    pressF1(field(0));
    auto* contents = helpWindow()->findChild<QListWidget*>(q("Inhalt"));
    auto* search = helpWindow()->findChild<QLineEdit*>(q("Suche"));
    ASSERT_NE(contents, nullptr);
    ASSERT_NE(search, nullptr);
    const auto shownTitles = [contents] {
        QStringList titles;
        for (int i = 0; i < contents->count(); ++i)
            if (!contents->item(i)->isHidden()) titles << contents->item(i)->text();
        return titles;
    };
    EXPECT_EQ(shownTitles().size(), 13);
    QTest::keyClicks(search, q("stellenzahl"));
    EXPECT_EQ(shownTitles(), QStringList{q("Taschenrechner")});
    QListWidgetItem* item = contents->findItems(q("Taschenrechner"), Qt::MatchExactly).value(0);
    ASSERT_NE(item, nullptr);
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                      contents->visualItemRect(item).center());
    EXPECT_EQ(shownPage(window.get()), q("taschenrechner.html"));
    EXPECT_TRUE(helpWindow()
                    ->findChild<QTextBrowser*>(q("Seite"))
                    ->toPlainText()
                    .contains(q("Genauigkeit")));
    search->clear();
    EXPECT_EQ(shownTitles().size(), 13);
}

// A modal dialog takes all input; its help belongs to it, so that it can be read.
TEST_F(HelpTest, F1InTheModalTimerDialog) {
    lines({"f(x) = a*x"});
    const int slot = state.findparam(q("a"));
    ASSERT_GE(slot, 0);
    watchdog.stop();
    QString page;
    QTimer::singleShot(0, window.get(), [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        QTest::keyClick(modal, Qt::Key_F1);
        page = shownPage(modal);
        modal->close();
    });
    params::TimerDialog::run(state, slot, window->paramWindows()->window(slot));
    EXPECT_EQ(page, q("timer.html"));
}

TEST_F(HelpTest, AboutBoxShowsTheVersion) {
    EXPECT_EQ(action("mn_about")->text(), q("über Kurvatur"));
    action("mn_about")->trigger();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, q("Über Kurvatur 2"));
    EXPECT_TRUE(messages->shown[0].text.contains(q("Version ") + core::programVersion()));
    messages->shown.clear();
}

} // namespace
