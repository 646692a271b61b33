// "Datei → Animation speichern ...": the dialog offers the parameters shown, the file dialog asks
// for the file, and the frames are written for the plot area's size; the screen stays as it was.

#include "mainwindowfixture.h"

#include "graph/graphwindow.h"

#include "support/chosenfiles.h"

#include <QCheckBox>
#include <QDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

namespace {

using testsupport::MainWindowFixture;
using testsupport::q;

class AnimationExport : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        state.fileDialogs = files;
        ASSERT_TRUE(folder.isValid());
    }
    // Chooses the animation command and lets answer fill the dialog when it shows.
    void saveWith(const std::function<void(QDialog*)>& answer) {
        bool seen = false;
        QTimer::singleShot(0, window.get(), [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen = true;
            answer(dialog);
        });
        // The progress bar of a slow export is a modal dialog too; a watchdog of this test's
        // own keeps a dialog that does not show up as expected from hanging it.
        watchdog.stop();
        QTimer::singleShot(10000, window.get(), [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        action("mn_animation")->trigger();
        watchdog.start();
        EXPECT_TRUE(seen);
    }
    std::shared_ptr<testsupport::ChosenFiles> files = std::make_shared<testsupport::ChosenFiles>();
    QTemporaryDir folder;
};

TEST_F(AnimationExport, WritesTheFramesOfTheChosenParameter) {
    enter(0, "f(x) = a*x^2 + b");
    const QImage before = window->graphWindow()->picture().copy();
    const int a = state.findparam(q("a"));
    ASSERT_GE(a, 0);
    const double valueBefore = state.params[a].value;
    const QString gif = folder.filePath(QStringLiteral("film.gif"));
    files->answers = {gif};
    saveWith([](QDialog* dialog) {
        // The first parameter shown is chosen, with its bounds; the step is the user's.
        auto* a = dialog->findChild<QCheckBox*>(QStringLiteral("chosen0"));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), QStringLiteral("a"));
        EXPECT_TRUE(a->isChecked());
        EXPECT_FALSE(dialog->findChild<QCheckBox*>(QStringLiteral("chosen1"))->isChecked());
        EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("from0"))->text(), q("-10"));
        dialog->findChild<QLineEdit*>(QStringLiteral("from0"))->setText(q("-2"));
        dialog->findChild<QLineEdit*>(QStringLiteral("to0"))->setText(q("2"));
        dialog->findChild<QLineEdit*>(QStringLiteral("step0"))->setText(q("0,5"));
        dialog->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    });
    EXPECT_EQ(files->titles, QStringList{q("Animation speichern")});
    QImageReader reader(gif);
    EXPECT_EQ(reader.imageCount(), 9);
    EXPECT_EQ(reader.size(), window->graphWindow()->plotArea()->size());
    EXPECT_EQ(window->graphWindow()->picture(), before);
    EXPECT_EQ(state.params[a].value, valueBefore);
}

TEST_F(AnimationExport, AWrongStepKeepsTheDialogOpen) {
    enter(0, "f(x) = a*x");
    saveWith([this](QDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("step0"))->setText(q("0"));
        dialog->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(messages->shown.size(), 1u);
        EXPECT_EQ(messages->shown.front().text, q("Die Schrittweite für a darf nicht 0 sein."));
        messages->shown.clear();
        dialog->findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
    });
    EXPECT_TRUE(files->titles.isEmpty()); // no file asked for
}

} // namespace
