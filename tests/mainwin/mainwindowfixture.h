#pragma once
// The whole program in one main window, driven as a user drives it: typing into the term lines,
// the menus, and a watchdog that fails a test instead of hanging on an unexpected modal dialog.

#include "core/state.h"
#include "mainwin/mainwindow.h"
#include "platform/messages.h"
#include "terms/termwindow.h"

#include "support/qtapp.h"
#include "support/recordingmessages.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace testsupport {

inline QString q(const char* s) {
    return QString::fromUtf8(s);
}

[[maybe_unused]] inline const bool widgetApplication = useApplication<QApplication>();

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        state.messages = messages;
        // Settings and working copy go to a folder of the test's own, never the user's.
        ASSERT_TRUE(configFolder.isValid());
        state.configFolder = configFolder.path();
        window = std::make_unique<mainwin::MainWindow>(state);
        term = window->termWindow();
        window->copyText = [](const QString&) {};
        watchdog.setInterval(50);
        QObject::connect(&watchdog, &QTimer::timeout, &watchdog, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "unexpected modal dialog: " << modal->windowTitle().toStdString();
                modal->close();
            }
        });
        watchdog.start();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::processEvents();
    }
    void TearDown() override {
        window->linePopup()->hide();
        window.reset();
        EXPECT_TRUE(messages->shown.empty())
            << "message: " << messages->shown.front().text.toStdString();
    }

    QLineEdit* field(int i) const { return term->lineField(i); }
    QAction* action(const char* name) const {
        return window->findChild<QAction*>(QLatin1String(name));
    }
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
    QTimer* timer() const { return window->findChild<QTimer*>(QStringLiteral("Timer1")); }

    void type(int i, const char* s) {
        field(i)->selectAll();
        QTest::keyClicks(field(i), q(s));
    }
    void enter(int i, const char* s) {
        type(i, s);
        QTest::keyClick(field(i), Qt::Key_Return);
    }
    // Lines typed one below the other, each added with Shift+Enter, then applied.
    void lines(std::initializer_list<const char*> typed) {
        int i = 0;
        for (const char* s : typed) {
            if (i > 0) QTest::keyClick(field(i - 1), Qt::Key_Return, Qt::ShiftModifier);
            type(i++, s);
        }
        QTest::keyClick(field(i - 1), Qt::Key_Return);
    }

    std::shared_ptr<platform::RecordingMessages> messages =
        std::make_shared<platform::RecordingMessages>();
    QTemporaryDir configFolder;
    core::State state;
    std::unique_ptr<mainwin::MainWindow> window;
    terms::TermWindow* term = nullptr;
    QTimer watchdog;
};

} // namespace testsupport
