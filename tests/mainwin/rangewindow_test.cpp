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
