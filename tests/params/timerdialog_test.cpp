// The timer dialog as the user fills it in: kind of change, step, OK and cancel.

#include "core/state.h"
#include "params/timerdialog.h"

#include "support/qtapp.h"
#include "support/recordingmessages.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

[[maybe_unused]] const bool application = testsupport::useApplication<QApplication>();

constexpr int a = 28;

class TimerDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.messages = messages;
        auto& p = state.params[a];
        p.label = QStringLiteral("a");
        p.handle = state.engine.defineVariable("a");
        p.minimum = 0;
        p.maximum = 10;
        p.step = 1.5;
        p.timerMode = 1;
        dialog = std::make_unique<params::TimerDialog>(state);
        dialog->init(a);
        dialog->show();
        combo = dialog->findChild<QComboBox*>(QStringLiteral("Combo1"));
        step = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
        ok = dialog->findChild<QPushButton*>(QStringLiteral("OKButton"));
        cancel = dialog->findChild<QPushButton*>(QStringLiteral("CancelButton"));
        ASSERT_TRUE(combo && step && ok && cancel);
    }
    void TearDown() override {
        dialog.reset();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    void typeStep(const QString& text) {
        step->selectAll();
        QTest::keyClicks(step, text);
    }

    std::shared_ptr<platform::RecordingMessages> messages =
        std::make_shared<platform::RecordingMessages>();
    core::State state;
    std::unique_ptr<params::TimerDialog> dialog;
    QComboBox* combo = nullptr;
    QLineEdit* step = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

TEST_F(TimerDialogTest, ShowsTheSlot) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Timer für a"));
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Schleife"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Richtungsumkehr"));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(step->text(), QStringLiteral("1,5"));

    // A mode the dialog does not know shows as a loop, which is how the tick treats it too.
    state.params[a].timerMode = 7;
    dialog->init(a);
    EXPECT_EQ(combo->currentIndex(), 0);
}

// Both close the dialog; only OK takes what was chosen.
TEST_F(TimerDialogTest, OkTakesStepAndKindCancelKeepsThem) {
    for (QPushButton* button : {cancel, ok}) {
        SCOPED_TRACE(button->text().toStdString());
        dialog->init(a);
        dialog->show();
        combo->setCurrentIndex(0);
        typeStep(QStringLiteral("-2,5"));
        QTest::mouseClick(button, Qt::LeftButton);
        const bool taken = button == ok;
        EXPECT_EQ(dialog->result(), taken ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(state.params[a].step, taken ? -2.5 : 1.5);
        EXPECT_EQ(state.params[a].timerMode, taken ? 0 : 1);
    }
}

TEST_F(TimerDialogTest, TooLargeStepKeepsTheDialogOpen) {
    typeStep(QStringLiteral("12"));
    QTest::keyClick(step, Qt::Key_Return); // Enter is OK
    EXPECT_EQ(messages->shown.size(), 1u); // its wording is the timer logic's
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(step->text(), QStringLiteral("12"));
    EXPECT_EQ(state.params[a].step, 1.5);

    // Corrected, it is taken.
    typeStep(QStringLiteral("2"));
    QTest::keyClick(step, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(state.params[a].step, 2);
}

TEST_F(TimerDialogTest, RunOpensModalBesideTheParameterWindow) {
    QWidget paramWindow;
    paramWindow.setGeometry(100, 120, 300, 80);
    paramWindow.show();
    bool seen = false;
    QPoint at;
    QTimer::singleShot(0, &paramWindow, [&] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal) return;
        seen = true;
        at = modal->pos();
        modal->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("4"));
        modal->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    });
    // Should the dialog not show up as expected, it must not hang the test.
    QTimer::singleShot(5000, &paramWindow, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    EXPECT_TRUE(params::TimerDialog::run(state, a, &paramWindow));
    ASSERT_TRUE(seen);
    EXPECT_EQ(at.x(), paramWindow.frameGeometry().right() + 1);
    EXPECT_EQ(at.y(), paramWindow.frameGeometry().top());
    EXPECT_EQ(state.params[a].step, 4);
}

} // namespace

namespace {

// A screen reader names every control, and the mouse finds a tip on each.
TEST_F(TimerDialogTest, EveryControlIsNamedAndExplained) {
    const struct {
        QWidget* control;
        const char* name;
    } controls[] = {{combo, "Art der Veränderung"},
                    {step, "Schrittweite pro Takt"},
                    {ok, "OK"},
                    {cancel, "Abbrechen"}};
    for (const auto& c : controls) {
        EXPECT_EQ(c.control->accessibleName(), QString::fromUtf8(c.name));
        EXPECT_FALSE(c.control->toolTip().isEmpty()) << c.name;
    }
}

} // namespace
