// The window "Taschenrechner" opened from the window menu and driven through its fields and
// buttons.

#include "engine/settingsfile.h"
#include "params/paramwindow.h"
#include "params/paramwindows.h"

#include "mainwindowfixture.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {

using testsupport::q;

class CalcWindowTest : public testsupport::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ASSERT_NE(action("mn_calc"), nullptr);
        EXPECT_EQ(action("mn_calc")->text(), q("&Taschenrechner"));
        action("mn_calc")->trigger();
        calc = window->findChild<QWidget*>(QStringLiteral("minicalc"));
        ASSERT_NE(calc, nullptr);
        ASSERT_TRUE(calc->isVisible());
        termField = child<QLineEdit>("Text1");
        placesField = child<QLineEdit>("Text2");
    }
    template <class T> T* child(const char* name) const {
        T* w = calc->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString result() const { return child<QLabel>("Label1")->text(); }
    void compute(const char* term) {
        termField->selectAll();
        QTest::keyClicks(termField, q(term));
        QTest::keyClick(termField, Qt::Key_Return);
    }
    void places(const char* text) {
        placesField->setFocus();
        placesField->selectAll();
        QTest::keyClicks(placesField, q(text));
        QTest::keyClick(placesField, Qt::Key_Return);
    }

    QWidget* calc = nullptr;
    QLineEdit* termField = nullptr;
    QLineEdit* placesField = nullptr;
};

TEST_F(CalcWindowTest, EnterComputesToThePlacesSet) {
    EXPECT_EQ(calc->windowTitle(), q("Taschenrechner"));
    EXPECT_EQ(placesField->text(), q("3"));
    EXPECT_TRUE(termField->hasFocus());
    const std::pair<const char*, const char*> cases[] = {
        {"1/3", "0.333"},
        {"2/3", "0.667"},
        {"wurzel(2)", "1.414"},
        {"q + 1", "Error: Syntax"},
        {"1/0", "Error: Division durch 0"},
        {"10^400", "Error: Overflow"},
        {"2,5 + 0,25", "2.75"},
    };
    for (const auto& [term, shown] : cases) {
        compute(term);
        EXPECT_EQ(result(), q(shown)) << term;
        EXPECT_EQ(termField->text(), q(term)); // Enter adds nothing to the term
    }
}

TEST_F(CalcWindowTest, PlacesFieldTakesTheNumberOrSaysItIsWrong) {
    compute("2,5");
    places("0");
    EXPECT_EQ(result(), q("2"));
    EXPECT_EQ(state.calcDecimals, 0);
    QFile settings(engine::settingsPath(state));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("Rechnerstellen=0"));

    for (const char* wrong : {"23", "-1", "abc"}) {
        messages->shown.clear();
        places(wrong);
        ASSERT_EQ(messages->shown.size(), 1u) << wrong; // once, though the box takes the focus
        EXPECT_EQ(messages->shown[0].text, q("Ungültige Stellenzahl!"));
        EXPECT_EQ(messages->shown[0].title, q("Stellen nach dem Komma:"));
        EXPECT_EQ(state.calcDecimals, 0);
        EXPECT_EQ(placesField->text(), q("0")); // the places in use again
    }
    messages->shown.clear();

    // Leaving the field takes the places as well.
    placesField->setFocus();
    placesField->selectAll();
    QTest::keyClicks(placesField, q("1"));
    termField->setFocus();
    EXPECT_EQ(state.calcDecimals, 1);
    EXPECT_EQ(result(), q("2.5"));
}

TEST_F(CalcWindowTest, ButtonsComputeClearAndClose) {
    termField->setText(q("7 \\ 2"));
    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(result(), q("3"));
    EXPECT_TRUE(termField->hasFocus());
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    EXPECT_TRUE(termField->text().isEmpty());
    EXPECT_TRUE(result().isEmpty());
    EXPECT_EQ(child<QPushButton>("Command3")->text(), q("&Löschen"));
    QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_FALSE(calc->isVisible());
    action("mn_calc")->trigger();
    EXPECT_TRUE(calc->isVisible());
}

// The result follows the terms and the parameters without a key in the calculator.
TEST_F(CalcWindowTest, RecomputesAfterEveryChangeOfTheData) {
    compute("f(2) + f'(2)");
    EXPECT_EQ(result(), q("Error: Ungültiger Term")); // no line f: no derivative either
    state.calcDecimals = 4; // as a collection read with its settings leaves it
    lines({"f(x) = a*x^2"});
    EXPECT_EQ(placesField->text(), q("4"));
    const int slot = state.findparam(q("a"));
    ASSERT_GE(slot, 0);
    EXPECT_EQ(result(), q("8.0001")); // a = 1: 4 + 4.0001
    ASSERT_NE(window->paramWindows()->window(slot), nullptr);
    auto* value = window->paramWindows()->window(slot)->findChild<QLineEdit*>(q("Text3"));
    ASSERT_NE(value, nullptr);
    value->selectAll();
    QTest::keyClicks(value, q("1,5"));
    QTest::keyClick(value, Qt::Key_Return);
    EXPECT_EQ(result(), q("12.0002")); // 6 + 6.00015
}

} // namespace
