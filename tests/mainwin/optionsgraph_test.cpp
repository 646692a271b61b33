// "Allgemeine  &Einstellungen": the dialog "Einstellungen zum Koordinatensystem" driven through
// its fields and buttons; likewise "Zoom-Einstellungen" of "&Zoom-Faktoren".

#include "mainwindowfixture.h"

#include "core/numbers.h"
#include "engine/attributes.h"
#include "engine/settingsfile.h"
#include "graph/graphwindow.h"
#include "graph/scale.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>

#include <string>
#include <vector>

namespace {

using testsupport::MainWindowFixture;
using testsupport::q;

class OptionsGraph : public MainWindowFixture {
protected:
    QDialog* open() {
        action("mn_groptions")->trigger();
        auto* dialog = window->findChild<QDialog*>(QStringLiteral("optionsgraph"));
        EXPECT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog && dialog->isVisible());
        return dialog;
    }
    void set(QDialog* dialog, int field, const char* text) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(field));
        ASSERT_NE(edit, nullptr) << field;
        edit->selectAll();
        QTest::keyClicks(edit, q(text));
    }
    void click(QDialog* dialog, const char* name) {
        auto* b = dialog->findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QString settingsText() const {
        QFile file(engine::settingsPath(state));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }
};

TEST_F(OptionsGraph, EveryMessageThroughTheFields) {
    const struct {
        int field;
        const char* text;
        const char* title;
        const char* message;
    } cases[] = {
        {2, "0", "Fehler", "Ungültige x-Schrittweite!"},
        {4, "0", "Fehler", "Ungültige y-Schrittweite!"},
        {1, "abc", "Fehler", "Ungültiger x-Startwert!"},
        {3, "abc", "Fehler", "Ungültiger y-Startwert!"},
        {5, "40", "x-Hilfslinien", "Unsinnige Reihenfolge bei der Anzahl!"},
        {7, "40", "y-Hilfslinien", "Unsinnige Reihenfolge bei der Anzahl!"},
        {5, "-1", "x-Hilfslinien", "Minimalzahl muss positiv sein!"},
        {7, "-1", "y-Hilfslinien", "Minimalzahl muss positiv sein!"},
        {9, "11", "Stellengenauigkeit für x", "Stellenzahl muss zwischen 1 und 10 liegen!"},
        {10, "0", "Stellengenauigkeit für y", "Stellenzahl muss zwischen 1 und 10 liegen!"},
        {11, "31", "Schriftgröße der Zahlen", "Schriftgröße muss zwischen 4 und 31 liegen!"},
        {12, "4", "Schriftgröße der Achsennamen", "Schriftgröße muss zwischen 4 und 31 liegen!"},
        {13, "256", "Hilfslinien-Helligkeit", "Helligkeit muss zwischen 0 und 255 liegen!"},
        {13, "hell", "Hilfslinien-Helligkeit", "Helligkeit muss zwischen 0 und 255 liegen!"},
    };
    const core::Scale before = state.scale;
    QDialog* dialog = open();
    ASSERT_NE(dialog, nullptr);
    for (const auto& c : cases) {
        click(dialog, "Command3"); // every case starts from the presets
        set(dialog, c.field, c.text);
        set(dialog, 14, "Zeit"); // a valid change elsewhere is not taken either
        click(dialog, "Command1");
        ASSERT_EQ(messages->shown.size(), 1u) << c.message;
        EXPECT_EQ(messages->shown[0].title, q(c.title)) << c.message;
        EXPECT_EQ(messages->shown[0].text, q(c.message));
        EXPECT_EQ(messages->shown[0].icon, platform::MessageIcon::Critical);
        EXPECT_EQ(state.graphOptions.xAxisName, q("x")) << c.message;
        messages->shown.clear();
    }
    EXPECT_EQ(state.scale.xGridStep, before.xGridStep);
}

TEST_F(OptionsGraph, AcceptedValuesReachStateListAndSettingsFile) {
    QDialog* dialog = open();
    ASSERT_NE(dialog, nullptr);
    set(dialog, 2, "0,25");
    set(dialog, 11, "30");
    set(dialog, 13, "100");
    set(dialog, 15, "Weg");
    set(dialog, 16, "2");
    click(dialog, "Command1");

    EXPECT_EQ(state.scale.xGridStep, 0.25);
    EXPECT_EQ(state.graphOptions.numberFontSize, 30);
    EXPECT_EQ(state.lineColours[13], core::gridColour(100));
    EXPECT_EQ(state.graphOptions.yAxisName, q("Weg"));
    EXPECT_EQ(state.infinityLimit, q("1E-10"));
    EXPECT_TRUE(settingsText().contains(engine::attrlist(state)));
    EXPECT_TRUE(dialog->isVisible());

    click(dialog, "Command2");
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(OptionsGraph, PresetsRestoreFieldsAndState) {
    QDialog* dialog = open();
    ASSERT_NE(dialog, nullptr);
    set(dialog, 4, "2");
    set(dialog, 14, "Zeit");
    click(dialog, "Command1");
    ASSERT_EQ(state.scale.yGridStep, 2);

    click(dialog, "Command3");
    EXPECT_EQ(state.scale.yGridStep, 0.5);
    EXPECT_EQ(state.graphOptions.xAxisName, q("x"));
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("Text4"))->text(), q("0,5"));
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("Text14"))->text(), q("x"));
    EXPECT_TRUE(settingsText().contains(engine::attrlist(state)));
}

} // namespace

namespace {

TEST_F(OptionsGraph, KeepingTheSampleCountIsReadByTheResize) {
    enter(0, "f(x)=x^2");
    QDialog* dialog = open();
    ASSERT_NE(dialog, nullptr);
    auto* keep = dialog->findChild<QCheckBox*>(QStringLiteral("Check1"));
    ASSERT_NE(keep, nullptr);
    EXPECT_FALSE(keep->isChecked());
    QWidget* graphFrame = window->graphFrame();
    QWidget* plot = window->graphWindow()->plotArea();

    QTest::mouseClick(keep, Qt::LeftButton);
    EXPECT_TRUE(state.keepSampleCount);
    const int kept = state.lines[0].sampleCount;
    graphFrame->resize(graphFrame->width() - 90, graphFrame->height());
    QApplication::processEvents();
    EXPECT_NE(plot->width(), kept);
    EXPECT_EQ(state.lines[0].sampleCount, kept);
    EXPECT_EQ(state.params[13].value, kept + 1);

    QTest::mouseClick(keep, Qt::LeftButton);
    EXPECT_FALSE(state.keepSampleCount);
    graphFrame->resize(graphFrame->width() + 40, graphFrame->height());
    QApplication::processEvents();
    EXPECT_EQ(state.lines[0].sampleCount, plot->width()); // one sample per pixel column
    EXPECT_EQ(state.params[13].value, plot->width() + 1);
}

class OptionsZoom : public OptionsGraph {
protected:
    QDialog* openZoom() {
        action("mn_zoomoptions")->trigger();
        auto* dialog = window->findChild<QDialog*>(QStringLiteral("optionszoom"));
        EXPECT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog && dialog->isVisible());
        return dialog;
    }
    QString text(QDialog* dialog, int field) const {
        return dialog->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(field))->text();
    }
};

TEST_F(OptionsZoom, FactorsThroughTheFieldsWithEveryMessage) {
    EXPECT_EQ(action("mn_zoomoptions")->text(), q("&Zoom-Faktoren"));
    QDialog* dialog = openZoom();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), q("Zoom-Einstellungen"));
    EXPECT_EQ(text(dialog, 1), q("1,5"));
    EXPECT_EQ(text(dialog, 2), q("1,5"));

    const struct {
        const char* x;
        const char* y;
        double zoomX, zoomY;
        std::vector<const char*> messages;
    } cases[] = {
        {"2", "1", 2, 1, {}},
        {"0,5", "2,5", 2, 2.5, {"ungültiger Zoomfaktor in x-Richtung!"}},
        {"3", "zwei", 3, 2.5, {"ungültiger Zoomfaktor in y-Richtung!"}},
        {"?",
         "0",
         3,
         2.5,
         {"ungültiger Zoomfaktor in x-Richtung!", "ungültiger Zoomfaktor in y-Richtung!"}},
        {"1,25", "1,75", 1.25, 1.75, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.x) + " " + c.y);
        set(dialog, 1, c.x);
        set(dialog, 2, c.y);
        click(dialog, "Command1");
        EXPECT_EQ(state.zoomX, c.zoomX);
        EXPECT_EQ(state.zoomY, c.zoomY);
        ASSERT_EQ(messages->shown.size(), c.messages.size());
        for (size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(messages->shown[i].text, q(c.messages[i]));
            EXPECT_EQ(messages->shown[i].title, q("Kurvatur 2"));
        }
        messages->shown.clear();
        // Saved at once, refused or not.
        EXPECT_TRUE(settingsText().contains(q("Zoom=") + core::exactNumber(c.zoomX) + q(":") +
                                            core::exactNumber(c.zoomY) + q(":")))
            << settingsText().toStdString();
    }

    // The factors steer the zoom picture.
    state.ranges = {-10, 10, -10, 10, 0, 10};
    graph::setscale(state);
    auto* zoomPicture = window->graphWindow()->findChild<QLabel*>(q("Image1"));
    QTest::mouseClick(zoomPicture, Qt::RightButton);
    EXPECT_DOUBLE_EQ(state.ranges.xMax - state.ranges.xMin, 25);
    EXPECT_DOUBLE_EQ(state.ranges.yMax - state.ranges.yMin, 35);

    // "&Schließen" takes nothing; Ctrl and a click on the zoom picture show the factors again.
    set(dialog, 1, "9");
    click(dialog, "Command2");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(state.zoomX, 1.25);
    QTest::mouseClick(zoomPicture, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(text(dialog, 1), q("1,25"));
    EXPECT_DOUBLE_EQ(state.ranges.xMax - state.ranges.xMin, 25); // no zoom step
}

} // namespace
