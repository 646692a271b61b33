// The work of one run comes back with the next: closing the program keeps the current state in
// the working copy of the configuration folder, and the next start draws it again.

#include "collection/collectionstate.h"
#include "collection/workingcopy.h"
#include "core/state.h"
#include "graph/graphwindow.h"
#include "mainwin/mainwindow.h"
#include "params/paramwindow.h"
#include "params/paramwindows.h"
#include "terms/termwindow.h"

#include "mainwindowfixture.h"

#include <QFile>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

using testsupport::q;

class WorkingCopyTest : public testsupport::MainWindowFixture {
protected:
    void enterParam(int slot, const char* text) {
        auto* value =
            window->paramWindows()->window(slot)->findChild<QLineEdit*>(QStringLiteral("Text3"));
        ASSERT_NE(value, nullptr);
        value->selectAll();
        QTest::keyClicks(value, q(text));
        QTest::keyClick(value, Qt::Key_Return);
    }

    // A second run of the program on the same configuration folder.
    std::unique_ptr<mainwin::MainWindow> startAgain(core::State& again) {
        again.messages = messages;
        again.configFolder = state.configFolder;
        auto second = std::make_unique<mainwin::MainWindow>(again);
        second->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(second.get()));
        QApplication::processEvents();
        return second;
    }
};

TEST_F(WorkingCopyTest, LinesParametersAndPictureComeBackWithTheNextStart) {
    lines({"f(x) = a*x^2", "g(x) = x + b"});
    enterParam(state.findparam(q("a")), "2,5");
    enterParam(state.findparam(q("b")), "-3");
    QApplication::processEvents();
    const QImage picture = window->graphWindow()->picture().copy();
    window->close();
    EXPECT_TRUE(QFile::exists(collection::workingCopyPath(state)));

    core::State again;
    auto second = startAgain(again);
    EXPECT_EQ(second->termWindow()->lineField(0)->text(), q("f(x) = a*x^2"));
    EXPECT_EQ(second->termWindow()->lineField(1)->text(), q("g(x) = x + b"));
    EXPECT_EQ(again.params[again.findparam(q("a"))].value, 2.5);
    EXPECT_EQ(again.params[again.findparam(q("b"))].value, -3);
    EXPECT_EQ(again.termEditor.statusText, q("Ok."));
    EXPECT_EQ(again.lines[1].sampleCount, state.lines[1].sampleCount);
    EXPECT_EQ(second->graphWindow()->picture(), picture);
    second->close();
}

// A collection changed and not saved is offered for saving once; a save dialog cancelled after
// "Ja" keeps the program open, "Nein" lets it end.
TEST_F(WorkingCopyTest, AChangedCollectionIsOfferedForSavingOnClosing) {
    class CancelledDialogs : public platform::FileDialogService {
    public:
        int asked = 0;
        std::optional<QString> openFile(const QString&, const QString&) override {
            ++asked;
            return std::nullopt;
        }
        std::optional<QString> saveFile(const QString&, const QString&, const QString&) override {
            ++asked;
            return std::nullopt;
        }
    };
    auto dialogs = std::make_shared<CancelledDialogs>();
    state.fileDialogs = dialogs;
    lines({"f(x) = x"});
    window->collectionState().collection.changed = true;

    messages->answer = true;
    window->close();
    EXPECT_FALSE(window->isShutDown());
    EXPECT_EQ(dialogs->asked, 1);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, q("Achtung!"));
    EXPECT_EQ(messages->shown[0].text,
              q("Die Sammlung ist geändert worden. Soll sie gespeichert werden?"));

    messages->answer = false;
    window->close();
    EXPECT_TRUE(window->isShutDown());
    EXPECT_EQ(dialogs->asked, 1);
    EXPECT_EQ(messages->shown.size(), 2u);
    messages->shown.clear();
}

TEST_F(WorkingCopyTest, AnUnchangedCollectionEndsWithoutAQuestion) {
    lines({"f(x) = x"});
    window->close();
    EXPECT_TRUE(window->isShutDown());
    EXPECT_TRUE(messages->shown.empty());
}

} // namespace
