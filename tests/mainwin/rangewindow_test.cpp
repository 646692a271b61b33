// The window "Dargestellter Bereich" driven through its fields, buttons and the menu.

#include "graph/graphwindow.h"
#include "params/paramlogic.h"
#include "session/rangewindow.h"

#include "mainwindowfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

namespace {

using testsupport::q;

class RangeWindowTest : public testsupport::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ASSERT_NE(action("mn_inter"), nullptr);
        action("mn_inter")->trigger();
        range = window->rangeWindow();
        ASSERT_TRUE(window->rangeFrame()->isVisible());
    }
    template <class T> T* child(const char* name) const {
        T* w = range->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void type(const char* name, const char* text) { child<QLineEdit>(name)->setText(q(text)); }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    QString label(const char* name) const { return child<QLabel>(name)->text(); }
    QColor statusColour() const {
        return child<QLabel>("Label11")->palette().color(QPalette::Window);
    }
    session::RangeWindow* range = nullptr;
};

TEST_F(RangeWindowTest, ApplyTakesTheFieldsAndShowsTheBoundsInUse) {
    EXPECT_EQ(range->windowTitle(), q("Dargestellter Bereich"));
    type("von0", "5");
    type("bis0", "-2,5");
    type("von2", "0");
    type("bis2", "2 * pi°");
    click("Command2");
    EXPECT_DOUBLE_EQ(state.ranges.xMin, -2.5);
    EXPECT_DOUBLE_EQ(state.ranges.xMax, 5);
    EXPECT_EQ(label("nvon0"), q("-2,5"));
    EXPECT_EQ(label("nbis0"), q("5"));
    EXPECT_EQ(child<QLineEdit>("bis2")->text(), q("2*pi"));
    EXPECT_NE(statusColour(), QColor(150, 0, 0));
}

TEST_F(RangeWindowTest, TheFirstErrorOfAPassStaysOnDarkRed) {
    const double yMax = state.ranges.yMax;
    type("von1", "3");
    type("bis1", "3");
    type("von2", "0");
    type("bis2", "4");
    click("Command2");
    EXPECT_EQ(label("Label11"), q("y-Bereich: Grenzen müssen verschieden sein!"));
    EXPECT_EQ(statusColour(), QColor(150, 0, 0));
    EXPECT_DOUBLE_EQ(state.ranges.tMax, 4);
    EXPECT_EQ(state.ranges.yMax, yMax);
    type("von1", "");
    type("bis1", "");
    type("von0", "a+");
    type("bis0", "1");
    click("Command2");
    EXPECT_EQ(label("Label11"), q("x-Bereich: UntereGrenze unverständlich!"));
}

TEST_F(RangeWindowTest, EveryMessageOfTheStatusLine) {
    const struct {
        const char* field;
        const char* text;
        const char* message;
    } cases[] = {
        {"von0", "2+", "x-Bereich: UntereGrenze unverständlich!"},
        {"bis0", "wurzel(", "x-Bereich: Obere Grenze unverständlich!"},
        {"von1", "1/0", "y-Bereich: UntereGrenze unverständlich!"},
        {"bis1", "-1", "y-Bereich: Grenzen müssen verschieden sein!"},
        {"von2", "3", "Kurven- parameter- bereich: Grenzen müssen verschieden sein!"},
        {"bis2", "?", "Kurven- parameter- bereich: Obere Grenze unverständlich!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        for (const char* name : {"von0", "bis0", "von1", "bis1", "von2", "bis2"})
            type(name, "");
        const char row = c.field[3];
        type((std::string("von") + row).c_str(), "-1");
        type((std::string("bis") + row).c_str(), row == '2' ? "3" : "1");
        type(c.field, c.text);
        const core::Ranges before = state.ranges;
        // Enter in a field applies as the button does.
        QTest::keyClick(child<QLineEdit>(c.field), Qt::Key_Return);
        EXPECT_EQ(label("Label11"), q(c.message));
        EXPECT_EQ(statusColour(), QColor(150, 0, 0));
        EXPECT_EQ(state.ranges.xMin, before.xMin);
        EXPECT_EQ(state.ranges.yMax, before.yMax);
        EXPECT_EQ(state.ranges.tMax, before.tMax);
    }
}

TEST_F(RangeWindowTest, StandardButtonsAndOneToOne) {
    click("Command1_1");
    EXPECT_EQ(state.ranges.yMin, -5);
    EXPECT_EQ(state.ranges.yMax, 5);
    EXPECT_EQ(label("nbis1"), q("5"));
    click("Command1_2");
    EXPECT_EQ(state.ranges.tMax, 10);
    click("Command3");
    EXPECT_NEAR(state.scale.xmu / state.tppX, state.scale.ymu / state.tppY, 1e-9);
    action("mn_verhy")->trigger();
    EXPECT_NEAR(state.scale.xmu / state.tppX, state.scale.ymu / state.tppY, 1e-9);
    click("Command6");
    EXPECT_FALSE(window->rangeFrame()->isVisible());

    // Shift and a click on the zoom picture of the graph window open it again.
    auto* zoomPicture = window->graphWindow()->findChild<QLabel*>(q("Image1"));
    ASSERT_NE(zoomPicture, nullptr);
    QTest::mouseClick(zoomPicture, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_TRUE(window->rangeFrame()->isVisible());
}

TEST_F(RangeWindowTest, ARangeThatUsesAParameterFollowsIt) {
    enter(0, "f(x) = a*x");
    type("von0", "-a");
    type("bis0", "2*a");
    click("Command2");
    const int a = state.findparam(q("a"));
    ASSERT_GE(a, 0);
    EXPECT_EQ(state.params[a].rangeFlags, 1);
    params::setpar(state, a, 3);
    EXPECT_DOUBLE_EQ(state.ranges.xMin, -3);
    EXPECT_DOUBLE_EQ(state.ranges.xMax, 6);
    EXPECT_EQ(label("nbis0"), q("6"));
}

} // namespace

namespace {

TEST_F(RangeWindowTest, StandardRangeOfTheEditMenuWhateverTheRangesWere) {
    type("von0", "100");
    type("bis0", "200");
    type("von1", "-0,5");
    type("bis1", "0,25");
    type("von2", "3");
    type("bis2", "4");
    click("Command2");
    ASSERT_EQ(state.ranges.xMin, 100);
    action("mn_std")->trigger();
    EXPECT_EQ(action("mn_std")->text(), q("Standardbereich verwenden"));
    const core::Ranges& r = state.ranges;
    EXPECT_EQ(std::vector<double>({r.xMin, r.xMax, r.yMin, r.yMax, r.tMin, r.tMax}),
              std::vector<double>({-5, 5, -5, 5, 0, 10}));
    const char* const fields[] = {"von0", "bis0", "von1", "bis1", "von2", "bis2"};
    const char* const shown[] = {"-5", "5", "-5", "5", "0", "10"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(child<QLineEdit>(fields[i])->text(), q(shown[i])) << fields[i];
        EXPECT_EQ(label((QByteArray("n") + fields[i]).constData()), q(shown[i])) << fields[i];
    }
    EXPECT_NE(statusColour(), QColor(150, 0, 0));
}

TEST_F(RangeWindowTest, ANewNameInARangeFieldBecomesAParameter) {
    type("von0", "-b");
    type("bis0", "b");
    click("Command2");
    const int b = state.findparam(q("b"));
    ASSERT_GE(b, 0);
    EXPECT_EQ(state.ranges.xMin, -1); // a new parameter starts at 1
    EXPECT_EQ(state.ranges.xMax, 1);
    EXPECT_NE(statusColour(), QColor(150, 0, 0));

    // The parameter moves the range; what is typed meanwhile waits for "&Übernehmen".
    type("von0", "-7");
    params::setpar(state, b, 3);
    EXPECT_EQ(state.ranges.xMin, -3);
    EXPECT_EQ(state.ranges.xMax, 3);
    EXPECT_EQ(label("nvon0"), q("-3"));
    EXPECT_EQ(child<QLineEdit>("von0")->text(), q("-7"));
}

TEST_F(RangeWindowTest, NavigationShowsTheNewBoundsInTheWindow) {
    action("mn_std")->trigger();
    type("von0", "3"); // typed, not yet applied
    QWidget* plot = window->graphWindow()->plotArea();
    plot->setFocus();
    QTest::keyClick(plot, Qt::Key_Right, Qt::ShiftModifier); // 5 % of 10 to the right
    EXPECT_EQ(label("nvon0"), q("-4,5"));
    EXPECT_EQ(label("nbis0"), q("5,5"));
    EXPECT_EQ(child<QLineEdit>("von0")->text(), q("3")); // what is typed stays
    QTest::mouseClick(window->graphWindow()->findChild<QLabel*>(q("Image1")), Qt::RightButton);
    EXPECT_EQ(label("nvon1"), q("-7,5"));
    EXPECT_EQ(label("nbis1"), q("7,5"));
}

} // namespace
