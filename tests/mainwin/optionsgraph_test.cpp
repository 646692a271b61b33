// "Allgemeine  &Einstellungen": the dialog "Einstellungen zum Koordinatensystem" driven through
// its fields and buttons.

#include "mainwindowfixture.h"

#include "engine/attributes.h"
#include "engine/settingsfile.h"

#include <QDialog>
#include <QFile>
#include <QPushButton>

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
