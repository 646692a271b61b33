// The work of one run comes back with the next: closing the program keeps the current state in
// the working copy of the configuration folder, and the next start draws it again.

#include "collection/collectionstate.h"
#include "collection/reader.h"
#include "collection/workingcopy.h"
#include "core/state.h"
#include "graph/graphwindow.h"
#include "mainwin/mainwindow.h"
#include "params/paramwindow.h"
#include "params/paramwindows.h"
#include "terms/termwindow.h"

#include "mainwindowfixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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
    std::unique_ptr<mainwin::MainWindow> startAgain(core::State& again, QSize size = {}) {
        again.messages = messages;
        again.configFolder = state.configFolder;
        auto second = std::make_unique<mainwin::MainWindow>(again);
        if (size.isValid()) second->resize(size);
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

// What the user must see of the two lines f and g: every parameter window in the area and clear of
// the term window, and both rows of the term window. Gives the frames of the parameter windows a
// and b and of the term window.
std::vector<QRect> expectAllSeen(const mainwin::MainWindow& run, const core::State& s,
                                 const char* when) {
    SCOPED_TRACE(when);
    std::vector<QRect> frames;
    const QRect area = run.mdiArea()->viewport()->rect();
    const QRect termFrame = run.termFrame()->geometry();
    for (const char* name : {"a", "b"}) {
        params::ParamWindow* w = run.paramWindows()->window(s.findparam(q(name)));
        const auto* frame = w ? qobject_cast<QMdiSubWindow*>(w->parentWidget()) : nullptr;
        EXPECT_NE(frame, nullptr) << name;
        if (!frame) return frames;
        frames.push_back(frame->geometry());
        EXPECT_TRUE(frame->isVisible()) << name;
        EXPECT_TRUE(area.contains(frame->geometry())) << name;
        EXPECT_FALSE(frame->geometry().intersects(termFrame)) << name;
    }
    for (int i = 0; i < 2; ++i) {
        QLineEdit* field = run.termWindow()->lineField(i);
        EXPECT_TRUE(field->isVisible()) << "row " << i;
        const QRect inFrame(field->mapTo(run.termFrame(), QPoint(0, 0)), field->size());
        EXPECT_TRUE(run.termFrame()->rect().contains(inFrame)) << "row " << i;
    }
    frames.push_back(termFrame);
    return frames;
}

// The windows stand where the user saw them, in the run that made them and in the next one.
TEST_F(WorkingCopyTest, ParameterWindowsAndAllTermRowsAreSeenAgainWithTheNextStart) {
    const QSize size = window->size();
    enter(0, "f(x)=a*x^2+b");
    QTest::mouseClick(term->plusButton(0), Qt::LeftButton);
    enter(1, "g(x)=1/(x-1)");
    QApplication::processEvents();
    const std::vector<QRect> first = expectAllSeen(*window, state, "first run");
    window->close();

    core::State again;
    auto second = startAgain(again, size);
    ASSERT_TRUE(second->termWindow()->lineField(1)->text().startsWith(q("g(x)")));
    EXPECT_EQ(expectAllSeen(*second, again, "next start"), first);
    second->close();
}

// The save dialog of the exit question: a file name, or cancelled when there is none.
class ExitSaveDialog : public platform::FileDialogService {
public:
    std::optional<QString> answer;
    int asked = 0;
    std::optional<QString> openFile(const QString&, const QString&) override {
        ADD_FAILURE() << "no open dialog on closing";
        return std::nullopt;
    }
    std::optional<QString> saveFile(const QString&, const QString&, const QString&) override {
        ++asked;
        return answer;
    }
};

struct ExitAnswer {
    const char* name;
    bool yes;         // the answer to the save question
    bool fileChosen;  // a name is given in the save dialog after "Ja"
    bool endsProgram; // the program ends
};

class ExitQuestion : public WorkingCopyTest, public ::testing::WithParamInterface<ExitAnswer> {};

// A collection changed and not saved is offered for saving on closing: "Ja" saves it under the
// name chosen, "Nein" lets the program end without a file, and a save dialog cancelled after
// "Ja" keeps the program open and asks again with the next close. The working copy keeps the
// collection whatever the answer.
TEST_P(ExitQuestion, TheAnswerDecidesWhatBecomesOfTheChangedCollection) {
    const ExitAnswer& row = GetParam();
    const QString target = QDir(configFolder.path()).filePath(QStringLiteral("ende.txt"));
    auto dialogs = std::make_shared<ExitSaveDialog>();
    if (row.fileChosen) dialogs->answer = target;
    state.fileDialogs = dialogs;
    lines({"f(x) = x"});
    action("mn_add")->trigger();
    ASSERT_TRUE(window->collectionState().collection.changed);

    messages->answer = row.yes;
    window->close();
    EXPECT_EQ(window->isShutDown(), row.endsProgram);
    EXPECT_EQ(dialogs->asked, row.yes ? 1 : 0);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, q("Achtung!"));
    EXPECT_EQ(messages->shown[0].text,
              q("Die Sammlung ist geändert worden. Soll sie gespeichert werden?"));
    EXPECT_EQ(QFile::exists(target), row.yes && row.fileChosen);
    if (QFile::exists(target)) {
        collection::Collection saved = collection::emptyCollection(state);
        ASSERT_EQ(collection::loadcollection(saved, target, state), QString());
        ASSERT_EQ(saved.entries.size(), 1u);
        EXPECT_EQ(saved.entries[0].fields[collection::termsField], q("f(x)=x"));
        EXPECT_FALSE(window->collectionState().collection.changed);
    }
    collection::Collection kept = collection::emptyCollection(state);
    ASSERT_EQ(collection::readWorkingCopy(kept, state), QString());
    EXPECT_EQ(kept.entries.size(), 1u);

    if (!row.endsProgram) {
        messages->answer = false;
        window->close();
        EXPECT_TRUE(window->isShutDown());
        EXPECT_EQ(messages->shown.size(), 2u);
    }
    messages->shown.clear();
}

INSTANTIATE_TEST_SUITE_P(Answers, ExitQuestion,
                         ::testing::Values(ExitAnswer{"Ja", true, true, true},
                                           ExitAnswer{"JaAbgebrochen", true, false, false},
                                           ExitAnswer{"Nein", false, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkingCopyTest, AnUnchangedCollectionEndsWithoutAQuestion) {
    lines({"f(x) = x"});
    window->close();
    EXPECT_TRUE(window->isShutDown());
    EXPECT_TRUE(messages->shown.empty());
}

} // namespace
