// What the window program sets up for all its windows: the icon and Qt's German texts.

#include "mainwindowfixture.h"

#include "mainwin/programsetup.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTranslator>

namespace {

using testsupport::MainWindowFixture;

using ProgramSetup = MainWindowFixture;

TEST_F(ProgramSetup, EveryWindowShowsTheProgramsIcon) {
    const QIcon icon = mainwin::programIcon();
    ASSERT_FALSE(icon.isNull());
    ASSERT_FALSE(icon.pixmap(32, 32).isNull()) << "the icon can be drawn";
    EXPECT_EQ(window->windowIcon().pixmap(32, 32).toImage(), icon.pixmap(32, 32).toImage());
    const auto frames = window->mdiArea()->subWindowList();
    ASSERT_GE(frames.size(), 4);
    for (QMdiSubWindow* frame : frames)
        EXPECT_EQ(frame->windowIcon().cacheKey(), window->windowIcon().cacheKey())
            << frame->objectName().toStdString();
}

TEST_F(ProgramSetup, QtsDialogsSpeakGerman) {
    QTranslator* translator = mainwin::installQtGerman(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's German translations are not installed";
    const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    const QString colour = QCoreApplication::translate("QColorDialog", "Select Color");
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_EQ(cancel, QStringLiteral("Abbrechen"));
    EXPECT_NE(colour, QStringLiteral("Select Color"));
}

} // namespace
