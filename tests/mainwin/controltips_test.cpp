// Every control of every window tells the mouse and a screen reader what it is for; a status
// line that is too short for its message shows the whole message under the mouse.

#include "core/controltips.h"
#include "graph/graphwindow.h"
#include "params/paramwindow.h"
#include "params/paramwindows.h"

#include "mainwindowfixture.h"
#include "support/chosenfiles.h"
#include "support/hovertip.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <set>
#include <string>

namespace {

using testsupport::hoverTip;
using testsupport::q;

bool isControl(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w);
}

// The window a control belongs to: the widget in its frame, or its dialog.
QWidget* ownerOf(QWidget* w) {
    for (QWidget* p = w; p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(p->parentWidget())) return p;
    return w->window();
}

// Pictures and labels that answer the mouse, by window and control name (prefixes).
bool isClickablePicture(QWidget* w) {
    struct Clickable {
        const char* window;
        const char* control;
    };
    static const Clickable clickable[] = {{"termform", "fcol"},
                                          {"graphform", "Picture1"},
                                          {"graphform", "Image1"},
                                          {"graphform", "Label2"},
                                          {"para", "Image1"}};
    const QString window = ownerOf(w)->objectName();
    for (const Clickable& c : clickable)
        if (window.startsWith(q(c.window)) && w->objectName().startsWith(q(c.control))) return true;
    return false;
}

// Parts of a control (the field of a spin box, the bars of a list) and the bars of the
// MDI area are no controls of their own.
bool isPartOfAnother(QWidget* w) {
    if (w->parentWidget() && w->parentWidget()->objectName().startsWith(q("qt_scrollarea")))
        return true;
    for (QWidget* p = w->parentWidget(); p && p != w->window(); p = p->parentWidget())
        if (isControl(p)) return true;
    return false;
}

class ControlTips : public testsupport::MainWindowFixture {
protected:
    // Checks every visible control under top and notes the windows they belong to.
    void checkControls(QWidget* top) {
        QList<QWidget*> widgets = top->findChildren<QWidget*>();
        widgets.prepend(top);
        for (QWidget* w : widgets) {
            if (!w->isVisible() || !(isControl(w) || isClickablePicture(w)) || isPartOfAnother(w))
                continue;
            const std::string where = ownerOf(w)->objectName().toStdString() + "/" +
                                      w->objectName().toStdString() + " (" +
                                      w->metaObject()->className() + ")";
            EXPECT_FALSE(w->toolTip().isEmpty()) << "no tool tip: " << where;
            EXPECT_FALSE(w->accessibleName().isEmpty()) << "no accessible name: " << where;
            // A name the user never sees is no description.
            EXPECT_NE(w->toolTip(), w->objectName()) << where;
            seen.insert(ownerOf(w)->objectName().toStdString());
        }
    }
    // Runs command, which opens a modal dialog, and checks that dialog's controls.
    void checkModal(const std::function<void()>& command) {
        bool shown = false;
        watchdog.stop();
        QTimer::singleShot(0, window.get(), [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            shown = true;
            checkControls(modal);
            modal->close();
        });
        command();
        watchdog.start();
        EXPECT_TRUE(shown);
    }
    std::set<std::string> seen;
};

TEST_F(ControlTips, EveryControlOfEveryWindowIsDescribed) {
    lines({"f(x) = a*x"});
    const int slot = state.findparam(q("a"));
    ASSERT_GE(slot, 0);
    // Every window as the menus open it.
    for (const char* entry :
         {"mn_calc", "mn_graph", "mn_term", "mn_col", "mn_asy", "mn_punkt", "mn_inter", "mn_spal",
          "mn_para", "mn_groptions", "mn_zoomoptions", "mn_hlpm"}) {
        ASSERT_NE(action(entry), nullptr) << entry;
        action(entry)->trigger();
    }
    QApplication::processEvents();
    checkControls(window.get());

    // The modal dialogs: the timer of a parameter, the animation and the picture's size.
    QWidget* timerSymbol = window->paramWindows()->window(slot)->findChild<QWidget*>(q("Image1"));
    ASSERT_NE(timerSymbol, nullptr);
    checkModal([&] { QTest::mouseClick(timerSymbol, Qt::RightButton); });
    checkModal([&] { action("mn_animation")->trigger(); });
    QTemporaryDir folder;
    auto files = std::make_shared<testsupport::ChosenFiles>();
    files->answers = {folder.filePath(q("bild.png"))};
    state.fileDialogs = files;
    checkModal([&] { action("mn_savepicture")->trigger(); });

    const std::set<std::string> windows = {
        "termform",     "graphform",       "minicalc",
        "sammlung",     "Asymptoten",      "Punkte",
        "interform",    "Parameter",       "para" + std::to_string(slot),
        "optionsgraph", "optionszoom",     "hilfe",
        "Dialog",       "animationDialog", "pictureSize"};
    for (const std::string& name : windows)
        EXPECT_TRUE(seen.count(name)) << "no control checked in " << name;
}

// A status line too short for its message shows the whole message under the mouse; once the
// message fits, the tip is gone (or back to the one the line had).
TEST(CutStatusLine, ShowsTheWholeTextOnlyWhileItIsCut) {
    struct Case {
        const char* text;
        bool wordWrap;
        const char* ownTip;
        QSize cut;
        QSize whole;
    };
    const Case cases[] = {
        {"x-Bereich: Grenzen müssen verschieden sein!", false, "", {60, 20}, {900, 20}},
        {"Fehler in Zeile 1\nFehler in Zeile 2\nFehler in Zeile 3",
         true,
         "",
         {400, 20},
         {400, 200}},
        {"0,333333333333333333", false, "Ergebnis", {30, 20}, {600, 20}},
    };
    for (const Case& c : cases) {
        QWidget window;
        auto* label = new QLabel(&window);
        label->setWordWrap(c.wordWrap);
        label->setToolTip(q(c.ownTip));
        core::tipWhenCut(label);
        label->setText(q(c.text));
        window.show();
        label->resize(c.cut);
        EXPECT_FALSE(core::textFits(label)) << c.text;
        EXPECT_EQ(hoverTip(label), q(c.text));
        label->resize(c.whole);
        EXPECT_TRUE(core::textFits(label)) << c.text;
        EXPECT_EQ(hoverTip(label), q(c.ownTip));
    }
}

// The term window's status line at the window's smallest and at a wide width.
TEST_F(ControlTips, TheTermStatusLineShowsItsMessageWhenNarrow) {
    lines({"f(x) = 2*", "g(x) = 3*", "h(x) = 4*"});
    QLabel* status = term->statusLine();
    const QString message = status->text();
    ASSERT_NE(message, q("Ok."));
    window->termFrame()->resize(50, window->termFrame()->height());
    EXPECT_EQ(hoverTip(status), message);
    window->termFrame()->resize(1150, window->termFrame()->height());
    EXPECT_EQ(hoverTip(status), QString());
}

} // namespace
