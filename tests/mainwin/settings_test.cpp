// The settings file as the user meets it: what the windows change is saved on closing and on the
// menu command, comes back with the next start, and an attribute list reaches the windows.

#include "core/state.h"
#include "core/twips.h"
#include "engine/attributes.h"
#include "engine/settingsfile.h"
#include "graph/graphwindow.h"
#include "mainwin/mainwindow.h"
#include "terms/termwindow.h"

#include "mainwindowfixture.h"

#include <QDir>
#include <QFile>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

namespace {

using testsupport::q;

class SettingsTest : public testsupport::MainWindowFixture {
protected:
    QString savedText() const {
        QFile file(engine::settingsPath(state));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // The default attribute list with element k replaced.
    QString listWith(std::initializer_list<std::pair<int, const char*>> items) {
        core::State fresh;
        QStringList elements = engine::attrlist(fresh).split(QLatin1Char(':'));
        for (const auto& [k, text] : items)
            elements[k] = q(text);
        return elements.join(QLatin1Char(':'));
    }
};

TEST_F(SettingsTest, ColourAndWidthComeBackAfterClosing) {
    term->chooseColour = [](const QColor&) { return std::optional<QColor>(QColor(10, 20, 30)); };
    popupCommand(0, "mnp6");
    popupCommand(0, "mnp151", "4");
    window->close();

    core::State again;
    again.messages = messages;
    again.configFolder = state.configFolder;
    mainwin::MainWindow second(again);
    EXPECT_EQ(again.lineColours[0], core::rgb(10, 20, 30));
    EXPECT_EQ(again.lineSlots[0].width, 3);
    EXPECT_EQ(again.lines[0].lineWidth, 3);
    EXPECT_EQ(second.termWindow()->colourBox(0)->palette().color(QPalette::Window),
              QColor(10, 20, 30));
}

TEST_F(SettingsTest, MenuCommandsWriteTheFile) {
    window->winkelmas(2);
    action("mn_saveopt")->trigger();
    EXPECT_EQ(savedText().section(QLatin1Char('\n'), 1, 1).section(QLatin1Char(':'), 21, 21),
              q("2"))
        << savedText().toStdString();

    action("mn_optdef")->trigger();
    EXPECT_EQ(savedText().section(QLatin1Char('\n'), 1, 1).section(QLatin1Char(':'), 21, 21),
              q("1"));
}

TEST_F(SettingsTest, AWriteThatFailsIsToldAndLeavesNoHalfFile) {
    QFile blocker(QDir(state.configFolder).filePath(QStringLiteral("datei")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString root = state.configFolder;
    state.configFolder = QDir(root).filePath(QStringLiteral("datei/Kurvatur"));
    action("mn_saveopt")->trigger();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(messages->shown[0].text.startsWith(
        q("Die Einstellungen konnten nicht gespeichert werden: ")));
    messages->shown.clear();
    // Beside the blocker only the working copy that the start made.
    EXPECT_EQ(QDir(root).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              (QStringList{QStringLiteral("datei"), QStringLiteral("kurvatur.tmp")}));
    state.configFolder = root;
}

TEST_F(SettingsTest, ACollectionListChangesTheTermFontOnlyWhenItsMarkIsSet) {
    engine::readattrs(state, listWith({{22, "20"}}), engine::fromCollection);
    EXPECT_EQ(field(0)->font().pointSize(), 10);

    popupCommand(0, "mnp4b");
    EXPECT_TRUE(state.windowAttributes.termFontIndividual);
    engine::readattrs(state, listWith({{22, "20"}}), engine::fromCollection);
    EXPECT_EQ(field(0)->font().pointSize(), 20);
}

TEST_F(SettingsTest, ACollectionListSizesTheGraphWindowOnlyWhenItsMarkIsSet) {
    const QSize before = window->graphWindow()->size();
    // The height is above the graph window's smallest (4000 twips with frame and title).
    const QString list = listWith({{29, "5000"}, {30, "4500"}, {31, "600"}});
    engine::readattrs(state, list, engine::fromCollection);
    EXPECT_EQ(window->graphWindow()->size(), before);

    action("mn_gri")->trigger();
    engine::readattrs(state, list, engine::fromCollection);
    EXPECT_EQ(window->graphWindow()->size(),
              QSize(core::twipsToPixels(4500, state.tppX), core::twipsToPixels(5000, state.tppY)));
    EXPECT_EQ(window->graphFrame()->x(), core::twipsToPixels(600, state.tppX));
}

TEST_F(SettingsTest, TheSettingsFileSetsTheMarksAndTheWindowSizesGoIntoTheList) {
    engine::readattrs(state, listWith({{21, "3"}, {26, "-1"}, {28, "-1"}, {16, "0"}}),
                      engine::fromSettings);
    EXPECT_TRUE(action("mn_grad")->isChecked());
    EXPECT_FALSE(action("mn_rad")->isChecked());
    EXPECT_TRUE(action("mnp4b")->isChecked());
    EXPECT_TRUE(action("mn_gri")->isChecked());
    EXPECT_FALSE(action("mn_helpline")->isChecked());

    const QStringList items = engine::attrlist(state).split(QLatin1Char(':'));
    EXPECT_EQ(items[30].toInt(), core::pixelsToTwips(window->graphWindow()->width(), state.tppX));
    EXPECT_EQ(items[29].toInt(), core::pixelsToTwips(window->graphWindow()->height(), state.tppY));
}

} // namespace
