#include "graph/navigation.h"

#include "core/state.h"
#include "graph/scale.h"

#include "support/qtapp.h"

#include <gtest/gtest.h>

#include <Qt>

#include <cmath>
#include <utility>
#include <vector>

namespace {

using graph::altKey;
using graph::ctrlKey;
using graph::leftButton;
using graph::rightButton;
using graph::shiftKey;

// A plot area of 12000 x 9000 twips showing -10 ... 10 on both axes: 600 and 450 twips per unit.
class NavigationTest : public ::testing::Test {
protected:
    void SetUp() override {
        s.hooks.rangeWindowUpdate = [this] { ++rangeUpdates; };
        s.hooks.redrawall = [this] { ++redraws; };
        nav.coupledParameter = 28;
        nav.couple = [this](int slot, double v, bool xFormat) {
            EXPECT_EQ(slot, 28);
            coupled.push_back({v, xFormat});
        };
        graph::setscale(s);
    }
    void setRange(double xMin, double xMax, double yMin, double yMax) {
        s.ranges = {xMin, xMax, yMin, yMax, 0, 10};
        graph::setscale(s);
    }
    void expectRange(double xMin, double xMax, double yMin, double yMax) {
        EXPECT_NEAR(s.ranges.xMin, xMin, 1e-9);
        EXPECT_NEAR(s.ranges.xMax, xMax, 1e-9);
        EXPECT_NEAR(s.ranges.yMin, yMin, 1e-9);
        EXPECT_NEAR(s.ranges.yMax, yMax, 1e-9);
    }
    struct Coupling {
        double value;
        bool xFormat;
    };
    core::State s;
    graph::Navigation nav;
    std::vector<Coupling> coupled;
    int rangeUpdates = 0, redraws = 0;
};

TEST_F(NavigationTest, ScrollBarsMoveByPercentOfTheSpan) {
    struct Case {
        bool horizontal;
        double v, xMin, xMax, yMin, yMax;
    };
    const Case cases[] = {
        {true, 1, -9.8, 10.2, -10, 10},  {true, -5, -11, 9, -10, 10},
        {false, 1, -10, 10, -9.8, 10.2}, {false, -50, -10, 10, -20, 0},
        {true, 100, 10, 30, -10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        setRange(-10, 10, -10, 10);
        redraws = 0;
        c.horizontal ? graph::scrlr(s, c.v) : graph::scrud(s, c.v);
        expectRange(c.xMin, c.xMax, c.yMin, c.yMax);
        EXPECT_EQ(redraws, 1);
        EXPECT_DOUBLE_EQ(s.scale.xmu, 600);
    }
    redraws = 0;
    graph::scrlr(s, 0);
    graph::scrud(s, 0);
    EXPECT_EQ(redraws, 0);
}

TEST_F(NavigationTest, ClicksZoomAndMove) {
    struct Case {
        int button, shift;
        double x, y; // twips, y from the top
        double xMin, xMax, yMin, yMax;
    };
    const Case cases[] = {
        // Ctrl and Alt: both axes about the centre; left in, right out (factor 1.5).
        {leftButton, ctrlKey | altKey, 6000, 4500, -10 / 1.5, 10 / 1.5, -10 / 1.5, 10 / 1.5},
        {rightButton, ctrlKey | altKey, 6000, 4500, -15, 15, -15, 15},
        {rightButton, ctrlKey, 6000, 4500, -15, 15, -10, 10},
        {rightButton, altKey, 6000, 4500, -10, 10, -15, 15},
        // About the point under the mouse: x = 0 at 6000, y = 10 at the top edge.
        {rightButton, ctrlKey | altKey, 6000, 0, -15, 15, -20, 10},
        // Shift, right: the clicked point (5, 5) to the centre.
        {rightButton, shiftKey, 9000, 2250, -5, 15, -5, 15},
        // Shift, left: the origin to the clicked point (5, 5).
        {leftButton, shiftKey, 9000, 2250, -15, 5, -15, 5},
        // A plain click leaves the range alone.
        {leftButton, 0, 9000, 2250, -10, 10, -10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " " << c.shift << " " << c.x);
        setRange(-10, 10, -10, 10);
        graph::zoom(s, nav, c.button, c.shift, c.x, c.y);
        expectRange(c.xMin, c.xMax, c.yMin, c.yMax);
    }
}

TEST_F(NavigationTest, ZoomStepsTakeTheFactorsOfTheSettings) {
    s.zoomX = 2;
    s.zoomY = 4;
    graph::zoom(s, nav, rightButton, ctrlKey | altKey, 6000, 4500);
    expectRange(-20, 20, -40, 40);
    graph::zoom(s, nav, leftButton, ctrlKey | altKey, 6000, 4500);
    expectRange(-10, 10, -10, 10);
    s.zoomX = s.zoomY = 1; // accepted, and zooming changes nothing
    graph::zoom(s, nav, rightButton, ctrlKey | altKey, 6000, 4500);
    expectRange(-10, 10, -10, 10);
}

TEST_F(NavigationTest, KeypadDigitsMoveTheSelectedPointName) {
    struct Case {
        int key, dx, dy;
    };
    const Case cases[] = {
        {Qt::Key_8, 0, -1}, {Qt::Key_2, 0, 1}, {Qt::Key_4, -1, 0}, {Qt::Key_6, 1, 0}};
    bool selected = true;
    std::vector<std::pair<int, int>> moves;
    s.hooks.movePointName = [&](int dx, int dy) {
        moves.emplace_back(dx, dy);
        return selected;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        for (bool sel : {true, false}) {
            selected = sel;
            moves.clear();
            redraws = 0;
            EXPECT_TRUE(graph::pointNameKey(s, c.key));
            ASSERT_EQ(moves.size(), 1u);
            EXPECT_EQ(moves[0], std::make_pair(c.dx, c.dy));
            EXPECT_EQ(redraws, sel ? 1 : 0); // nothing selected: nothing to draw anew
            expectRange(-10, 10, -10, 10);
        }
    }
    moves.clear();
    EXPECT_FALSE(graph::pointNameKey(s, Qt::Key_5));
    EXPECT_TRUE(moves.empty());
    s.hooks.movePointName = nullptr; // no points window: the keys do nothing
    EXPECT_TRUE(graph::pointNameKey(s, Qt::Key_8));
}

TEST_F(NavigationTest, ZoomLockOnlyRefreshes) {
    nav.zoomLocked = true;
    redraws = 0;
    EXPECT_FALSE(graph::zoom(s, nav, rightButton, ctrlKey, 1000, 1000));
    expectRange(-10, 10, -10, 10);
    EXPECT_EQ(redraws, 1);
}

TEST_F(NavigationTest, PlainClickCouplesTheParameter) {
    struct Case {
        int mask, button;
        std::vector<Coupling> expected;
    };
    const Case cases[] = {
        {2, rightButton, {{5, true}}},                                // x under the mouse
        {2, leftButton, {}},           {1, leftButton, {{5, false}}}, // y under the mouse
        {3, leftButton, {{5, false}}}, {0, rightButton, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        nav.couplingMask = c.mask;
        coupled.clear();
        redraws = 0;
        graph::zoom(s, nav, c.button, 0, 9000, 2250);
        ASSERT_EQ(coupled.size(), c.expected.size());
        graph::parkop(s, nav, c.button, 9000, 2250); // mouse down and moves alike
        ASSERT_EQ(coupled.size(), 2 * c.expected.size());
        for (size_t i = 0; i < coupled.size(); ++i) {
            EXPECT_DOUBLE_EQ(coupled[i].value, c.expected[i / 2].value);
            EXPECT_EQ(coupled[i].xFormat, c.expected[i / 2].xFormat);
        }
        EXPECT_EQ(redraws, 0);
    }
    nav.couplingMask = 3;
    nav.coupledParameter = -1; // no parameter window activated yet
    coupled.clear();
    graph::zoom(s, nav, rightButton, 0, 9000, 2250);
    EXPECT_TRUE(coupled.empty());
}

TEST_F(NavigationTest, ReadoutShowsWorldCoordinates) {
    EXPECT_EQ(graph::readoutText(s, 9000, 2250), QStringLiteral("   x: 5        y: 5"));
    EXPECT_EQ(graph::readoutText(s, 6300, 4500), QStringLiteral("   x: 0,5        y: 0"));
}

TEST_F(NavigationTest, KeysScrollAndZoom) {
    struct Case {
        int key, shift;
        double xMin, xMax, yMin, yMax;
    };
    const Case cases[] = {
        {Qt::Key_Up, 0, -10, 10, -9.8, 10.2},
        {Qt::Key_Up, shiftKey, -10, 10, -9, 11},
        {Qt::Key_Down, 0, -10, 10, -10.2, 9.8},
        {Qt::Key_Left, shiftKey, -11, 9, -10, 10},
        {Qt::Key_Right, 0, -9.8, 10.2, -10, 10},
        {Qt::Key_Up, ctrlKey, -10, 10, -10 / 1.5, 10 / 1.5},
        {Qt::Key_Down, ctrlKey, -10, 10, -15, 15},
        {Qt::Key_Left, ctrlKey, -15, 15, -10, 10},
        {Qt::Key_Right, ctrlKey, -10 / 1.5, 10 / 1.5, -10, 10},
        {Qt::Key_Plus, 0, -10 / 1.5, 10 / 1.5, -10 / 1.5, 10 / 1.5},
        {Qt::Key_Minus, ctrlKey, -15, 15, -15, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " " << c.shift);
        setRange(-10, 10, -10, 10);
        EXPECT_TRUE(graph::navigationKey(s, nav, c.key, c.shift));
        expectRange(c.xMin, c.xMax, c.yMin, c.yMax);
    }
    EXPECT_FALSE(graph::navigationKey(s, nav, Qt::Key_A, 0));
}

TEST_F(NavigationTest, WheelZoomsAboutThePointerAndDragMoves) {
    struct Case {
        int steps, shift;
        double xMin, xMax, yMin, yMax;
    };
    const Case cases[] = {
        {-1, 0, -15, 15, -20, 10}, // out about (0, 10)
        {-1, ctrlKey, -15, 15, -10, 10},
        {-1, shiftKey, -10, 10, -20, 10},
        {-2, 0, -22.5, 22.5, -35, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.steps << " " << c.shift);
        setRange(-10, 10, -10, 10);
        graph::wheelZoom(s, nav, c.steps, c.shift, 6000, 0);
        expectRange(c.xMin, c.xMax, c.yMin, c.yMax);
    }
    setRange(-10, 10, -10, 10);
    graph::pan(s, 600, 450); // one unit right and one down: the view moves left and up
    expectRange(-11, 9, -9, 11);
}

// However far the view is zoomed, the range stays finite, ordered and not empty.
TEST_F(NavigationTest, ExtremeZoomKeepsAUsableRange) {
    struct Case {
        double span;
        int button;
    };
    const Case cases[] = {
        {1e-12, leftButton}, {1e12, rightButton}, {1e-12, rightButton}, {1e12, leftButton}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.span << " " << c.button);
        setRange(3 - c.span / 2, 3 + c.span / 2, 3 - c.span / 2, 3 + c.span / 2);
        for (int i = 0; i < 3000; ++i) {
            graph::zoom(s, nav, c.button, ctrlKey | altKey, 4000, 3000);
            ASSERT_TRUE(std::isfinite(s.ranges.xMin) && std::isfinite(s.ranges.xMax));
            ASSERT_TRUE(std::isfinite(s.ranges.yMin) && std::isfinite(s.ranges.yMax));
            ASSERT_LT(s.ranges.xMin, s.ranges.xMax);
            ASSERT_LT(s.ranges.yMin, s.ranges.yMax);
            ASSERT_TRUE(std::isfinite(s.scale.xmu) && s.scale.xmu > 0);
            ASSERT_FALSE(graph::precisionLost(s));
        }
    }
}

TEST_F(NavigationTest, ZoomingInBeyondThePrecisionLeavesTheRange) {
    // Far from the grid start the grid index is large: its fraction runs out first.
    s.scale.xGridStart = -1e8;
    setRange(1e6 - 1e-3, 1e6 + 1e-3, -10, 10);
    ASSERT_FALSE(graph::precisionLost(s));
    int steps = 0;
    while (graph::zoom(s, nav, leftButton, ctrlKey, 6000, 4500))
        ASSERT_LT(++steps, 100);
    EXPECT_GT(steps, 0);
    const core::Ranges stopped = s.ranges;
    redraws = 0;
    EXPECT_FALSE(graph::zoom(s, nav, leftButton, ctrlKey, 6000, 4500));
    EXPECT_EQ(s.ranges.xMin, stopped.xMin);
    EXPECT_EQ(s.ranges.xMax, stopped.xMax);
    EXPECT_FALSE(graph::precisionLost(s));
    EXPECT_EQ(redraws, 1); // the picture is still refreshed
}

TEST_F(NavigationTest, OneToOneKeepsTheMiddleOfTheChangedAxis) {
    struct Case {
        int button;
        double xMin, xMax, yMin, yMax;
    };
    // 800 x 600 pixels: x gets 40 pixels per unit; y needs a span of 15 for the same.
    const Case cases[] = {
        {leftButton, -10, 10, -7.5 + 2, 7.5 + 2},
        {rightButton, -40 / 3.0, 40 / 3.0, -8, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        setRange(-10, 10, -8, 12);
        EXPECT_FALSE(graph::isOneToOne(s));
        graph::einszueins(s, c.button);
        expectRange(c.xMin, c.xMax, c.yMin, c.yMax);
        EXPECT_TRUE(graph::isOneToOne(s));
    }
    setRange(-10, 10, -8, 12);
    EXPECT_TRUE(graph::navigationKey(s, nav, Qt::Key_X, 0));
    EXPECT_TRUE(graph::isOneToOne(s));
}

} // namespace
