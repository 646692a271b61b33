// The graph window: its layout in twips, what a resize gives the logic, and the picture it shows.

#include "core/rounding.h"
#include "core/state.h"
#include "core/twips.h"
#include "graph/graphwindow.h"
#include "graph/navigation.h"
#include "graph/scale.h"
#include "session/startup.h"
#include "terms/termcheck.h"

#include "support/qtapp.h"
#include "support/termlines.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

[[maybe_unused]] const bool application = testsupport::useApplication<QApplication>();

// The colour of line 0, also where antialiasing blends it with white.
bool isLineBlue(QRgb p) {
    return qBlue(p) > 200 && qRed(p) < 140 && qGreen(p) < 140;
}

class GraphWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        session::startupState(state);
        state.busyFlag = 0;
        window = std::make_unique<graph::GraphWindow>(state);
        state.hooks.redrawall = [this] { window->redraw(); };
    }
    void TearDown() override { state.hooks = core::Hooks{}; }

    void apply(const QStringList& lines) {
        testsupport::typeLines(state, lines);
        terms::findandget(state, 0);
    }

    QWidget* child(const char* name) const {
        return window->findChild<QWidget*>(QString::fromLatin1(name));
    }

    // Row of the world value y in the plot area's pixels.
    double rowOf(double y) const {
        return (state.scale.plotH - (y - state.ranges.yMin) * state.scale.ymu) / state.tppY;
    }
    double xOf(double column) const {
        return state.ranges.xMin + column * state.tppX / state.scale.xmu;
    }

    core::State state;
    std::unique_ptr<graph::GraphWindow> window;
};

TEST_F(GraphWindowTest, ControlsAreLaidOutInTwips) {
    for (const char* name : {"Picture1", "VScroll1", "HScroll1", "Image1", "Label1", "Label2"})
        ASSERT_NE(child(name), nullptr) << name;
    const auto* oneToOneLabel = static_cast<QLabel*>(child("Label2"));
    window->resize(600, 450);
    window->show();
    const int tpp = core::twipsPerPixel(window->logicalDpiX());
    const QRect plot = child("Picture1")->geometry();
    const QRect vScroll = child("VScroll1")->geometry();
    const QRect hScroll = child("HScroll1")->geometry();
    const QRect zoom = child("Image1")->geometry();
    const QRect readout = child("Label1")->geometry();
    const QRect oneToOne = oneToOneLabel->geometry();
    const auto px = [tpp](double twips) { return core::twipsToPixels(twips, tpp); };

    EXPECT_EQ(plot.topLeft(), QPoint(0, 0));
    EXPECT_NEAR(plot.width(), 600 - px(50) - vScroll.width(), 1);
    EXPECT_NEAR(plot.height(), 450 - px(450) - hScroll.height(), 1);
    EXPECT_EQ(vScroll.left(), plot.right() + 1 + px(30));
    EXPECT_EQ(vScroll.height(), plot.height());
    EXPECT_EQ(hScroll.top(), plot.bottom() + 1 + px(30));
    EXPECT_EQ(hScroll.width(), plot.width());
    EXPECT_EQ(zoom.topLeft(), QPoint(vScroll.left(), hScroll.top()));
    EXPECT_EQ(readout.top(), hScroll.bottom() + 1 + px(30));
    EXPECT_EQ(readout.width(), plot.width());
    // At the scroll bar's column, or as far right as its text allows.
    EXPECT_LE(oneToOne.left(), vScroll.left());
    EXPECT_GE(oneToOne.left(), vScroll.left() - oneToOneLabel->sizeHint().width());
    EXPECT_LE(oneToOne.left() + oneToOneLabel->sizeHint().width(), 600);
    EXPECT_EQ(oneToOne.top(), readout.top() + px(120));
    EXPECT_LE(readout.bottom(), 449);

    // The plot size reaches the logic in twips.
    EXPECT_EQ(state.scale.plotW, plot.width() * tpp);
    EXPECT_EQ(state.scale.plotH, plot.height() * tpp);
    EXPECT_EQ(state.tppX, tpp);
}

TEST_F(GraphWindowTest, ResizeGivesOneSamplePerColumn) {
    apply({QStringLiteral("f(x) = x^2"), QStringLiteral("g(x) = x")});
    for (int width : {500, 731}) {
        SCOPED_TRACE(width);
        window->resize(width, 400);
        window->show();
        const int columns = child("Picture1")->width();
        for (const auto& line : state.lines)
            EXPECT_EQ(line.sampleCount, columns);
        // The sample-count parameters of the lines in use show one more.
        EXPECT_EQ(state.params[13].value, columns + 1);
        EXPECT_EQ(state.params[14].value, columns + 1);
        EXPECT_EQ(state.params[13].valueText, QString::number(columns + 1));
        EXPECT_DOUBLE_EQ(state.lineSlots[0].stepWidth, state.scale.xRange / columns);
    }

    // "Anzahl der x-Werte konstant lassen": a resize keeps them.
    state.keepSampleCount = true;
    const int kept = state.lines[0].sampleCount;
    window->resize(300, 300);
    EXPECT_EQ(state.lines[0].sampleCount, kept);
    EXPECT_EQ(state.params[13].value, kept + 1);
}

TEST_F(GraphWindowTest, ShowsTheParabola) {
    window->resize(500, 420);
    window->show();
    apply({QStringLiteral("f(x) = x^2")});
    window->redraw();
    const QImage image = window->picture();
    const QSize size = child("Picture1")->size();
    ASSERT_EQ(image.size(), size * image.devicePixelRatio());
    ASSERT_EQ(image.devicePixelRatio(), 1.0);

    int shown = 0;
    int columnsInRange = 0;
    for (int c = 2; c < size.width() - 2; ++c) {
        const double x = xOf(c);
        const int row = core::round32(rowOf(x * x));
        if (row < 2 || row >= size.height() - 2) continue;
        ++columnsInRange;
        bool found = false;
        for (int dr = -2; dr <= 2 && !found; ++dr)
            found = isLineBlue(image.pixel(c, row + dr));
        shown += found;
    }
    EXPECT_GT(columnsInRange, 50);
    EXPECT_EQ(shown, columnsInRange);
    int stray = 0;
    for (int r = 0; r < size.height(); ++r)
        for (int c = 0; c < size.width(); ++c) {
            if (!isLineBlue(image.pixel(c, r))) continue;
            bool near = false;
            for (int dc = -3; dc <= 3 && !near; ++dc)
                near = std::abs(rowOf(xOf(c + dc) * xOf(c + dc)) - r) <= 3;
            stray += !near;
        }
    EXPECT_EQ(stray, 0);

    // What the plot area paints is that picture.
    const QImage painted = child("Picture1")->grab().toImage();
    EXPECT_TRUE(isLineBlue(painted.pixel(size.width() / 2, core::round32(rowOf(0)) - 1)) ||
                isLineBlue(painted.pixel(size.width() / 2, core::round32(rowOf(0)))));
}

TEST_F(GraphWindowTest, RedrawFollowsTheParameterAndWaitsWhileBusy) {
    window->resize(400, 400);
    window->show();
    apply({QStringLiteral("f(x) = a")});
    const int a = 28;
    ASSERT_EQ(state.params[a].label, QStringLiteral("a"));
    const int column = child("Picture1")->width() / 3;
    const auto blueRow = [&] {
        const QImage image = window->picture();
        for (int r = 0; r < image.height(); ++r)
            if (isLineBlue(image.pixel(column, r))) return r;
        return -1;
    };
    EXPECT_NEAR(blueRow(), rowOf(1), 2); // a new parameter starts at 1

    state.engine.setVariable(state.params[a].handle, 5);
    window->redraw();
    EXPECT_NEAR(blueRow(), rowOf(5), 2);

    // While busy the old picture stays.
    state.busyFlag = 1;
    state.engine.setVariable(state.params[a].handle, -5);
    window->redraw();
    EXPECT_NEAR(blueRow(), rowOf(5), 2);
    state.busyFlag = 0;
    window->redraw();
    EXPECT_NEAR(blueRow(), rowOf(-5), 2);
}

// Navigation through the real window: clicks, keys, wheel, drag and the scroll bars.
class GraphNavigationTest : public GraphWindowTest {
protected:
    void SetUp() override {
        GraphWindowTest::SetUp();
        window->resize(600, 450);
        window->show();
        resetRange();
        state.hooks.redrawall = [this] {
            ++redraws;
            window->redraw();
        };
    }
    // The view back to -10 ... 10 on both axes.
    void resetRange() {
        state.ranges = {-10, 10, -10, 10, 0, 10};
        graph::setscale(state);
    }
    QWidget* plot() const { return child("Picture1"); }
    QPoint centre() const { return QPoint(plot()->width() / 2, plot()->height() / 2); }
    void expectRange(double xMin, double xMax, double yMin, double yMax, double tolerance) {
        EXPECT_NEAR(state.ranges.xMin, xMin, tolerance);
        EXPECT_NEAR(state.ranges.xMax, xMax, tolerance);
        EXPECT_NEAR(state.ranges.yMin, yMin, tolerance);
        EXPECT_NEAR(state.ranges.yMax, yMax, tolerance);
    }
    void wheel(int delta, Qt::KeyboardModifiers modifiers) {
        const QPointF at = centre();
        QWheelEvent e(at, plot()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot(), &e);
    }
    int redraws = 0;
};

TEST_F(GraphNavigationTest, ClicksOnThePlotZoomAboutThePointer) {
    struct Case {
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        double xMin, xMax, yMin, yMax;
    };
    const Case cases[] = {
        {Qt::RightButton, Qt::ControlModifier, -15, 15, -10, 10},
        {Qt::RightButton, Qt::AltModifier, -10, 10, -15, 15},
        {Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier, -10 / 1.5, 10 / 1.5, -10 / 1.5,
         10 / 1.5},
        {Qt::LeftButton, Qt::NoModifier, -10, 10, -10, 10},
        {Qt::LeftButton, Qt::ControlModifier, -10 / 1.5, 10 / 1.5, -10, 10},
        {Qt::LeftButton, Qt::AltModifier, -10, 10, -10 / 1.5, 10 / 1.5},
        {Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, -15, 15, -15, 15},
        // Shift beside Ctrl or Alt: a zoom, not a move.
        {Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier, -15, 15, -10, 10},
        {Qt::LeftButton, Qt::AltModifier | Qt::ShiftModifier, -10, 10, -10 / 1.5, 10 / 1.5},
        // The middle button zooms in like the left one; alone it does nothing.
        {Qt::MiddleButton, Qt::ControlModifier, -10 / 1.5, 10 / 1.5, -10, 10},
        {Qt::MiddleButton, Qt::NoModifier, -10, 10, -10, 10},
        {Qt::RightButton, Qt::NoModifier, -10, 10, -10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.modifiers));
        resetRange();
        QTest::mouseClick(plot(), c.button, c.modifiers, centre());
        // The centre pixel lies up to half a pixel off the world centre.
        expectRange(c.xMin, c.xMax, c.yMin, c.yMax, 0.2);
    }
}

TEST_F(GraphNavigationTest, ZoomPictureZoomsBothAxesAboutTheCentre) {
    QTest::mouseClick(child("Image1"), Qt::LeftButton);
    expectRange(-10 / 1.5, 10 / 1.5, -10 / 1.5, 10 / 1.5, 1e-9);
    QTest::mouseClick(child("Image1"), Qt::RightButton);
    QTest::mouseClick(child("Image1"), Qt::RightButton);
    expectRange(-15, 15, -15, 15, 1e-9);
}

TEST_F(GraphNavigationTest, ScrollBarsMoveTheViewAndRestAtZero) {
    auto* h = static_cast<QScrollBar*>(child("HScroll1"));
    auto* v = static_cast<QScrollBar*>(child("VScroll1"));
    h->setValue(5);
    EXPECT_EQ(h->value(), 0);
    expectRange(-9, 11, -10, 10, 1e-9);
    v->setValue(-10); // moved up
    EXPECT_EQ(v->value(), 0);
    expectRange(-9, 11, -8, 12, 1e-9);

    // Clicks on the bars: an arrow moves by 1 %, the trough beside the handle by 10 %.
    resetRange();
    const auto clickAt = [](QScrollBar* bar, double along) {
        const bool horizontal = bar->orientation() == Qt::Horizontal;
        const QPoint at = horizontal ? QPoint(int(bar->width() * along), bar->height() / 2)
                                     : QPoint(bar->width() / 2, int(bar->height() * along));
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, at);
    };
    clickAt(h, 0.995); // the right arrow
    expectRange(-9.8, 10.2, -10, 10, 1e-9);
    clickAt(h, 0.2); // left of the handle
    expectRange(-11.8, 8.2, -10, 10, 1e-9);
    clickAt(v, 0.005); // the arrow at the top: higher y
    expectRange(-11.8, 8.2, -9.8, 10.2, 1e-9);
    EXPECT_EQ(h->value(), 0);
    EXPECT_EQ(v->value(), 0);
}

TEST_F(GraphNavigationTest, EveryKeyOfTheKeyTable) {
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier,
                                keypad = Qt::KeypadModifier, none = Qt::NoModifier;
    const double in = 10 / 1.5;
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        double xMin, xMax, yMin, yMax;
    };
    const Case cases[] = {
        {Qt::Key_Up, none, -10, 10, -9.8, 10.2},    {Qt::Key_Up, shift, -10, 10, -9, 11},
        {Qt::Key_Down, none, -10, 10, -10.2, 9.8},  {Qt::Key_Down, shift, -10, 10, -11, 9},
        {Qt::Key_Left, none, -10.2, 9.8, -10, 10},  {Qt::Key_Left, shift, -11, 9, -10, 10},
        {Qt::Key_Right, none, -9.8, 10.2, -10, 10}, {Qt::Key_Right, shift, -9, 11, -10, 10},
        {Qt::Key_Up, ctrl, -10, 10, -in, in},       {Qt::Key_Down, ctrl, -10, 10, -15, 15},
        {Qt::Key_Left, ctrl, -15, 15, -10, 10},     {Qt::Key_Right, ctrl, -in, in, -10, 10},
        {Qt::Key_Plus, none, -in, in, -in, in},     {Qt::Key_Plus, keypad, -in, in, -in, in},
        {Qt::Key_Plus, ctrl, -in, in, -in, in},     {Qt::Key_Minus, none, -15, 15, -15, 15},
        {Qt::Key_Minus, keypad, -15, 15, -15, 15},  {Qt::Key_Minus, ctrl, -15, 15, -15, 15},
    };
    plot()->setFocus();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " " << int(c.modifiers));
        resetRange();
        redraws = 0;
        QTest::keyClick(plot(), c.key, c.modifiers);
        expectRange(c.xMin, c.xMax, c.yMin, c.yMax, 1e-9);
        EXPECT_EQ(redraws, 1);
    }

    // X fits the y range, Y the x range; with Ctrl alike.
    for (Qt::KeyboardModifiers m : {none, ctrl}) {
        state.ranges = {-10, 10, -3, 5, 0, 10};
        graph::setscale(state);
        QTest::keyClick(plot(), Qt::Key_X, m);
        EXPECT_TRUE(graph::isOneToOne(state));
        EXPECT_EQ(state.ranges.xMin, -10);
        EXPECT_NEAR(state.ranges.yMin + state.ranges.yMax, 2, 1e-9);
        state.ranges = {-10, 10, -3, 5, 0, 10};
        graph::setscale(state);
        QTest::keyClick(plot(), Qt::Key_Y, m);
        EXPECT_TRUE(graph::isOneToOne(state));
        EXPECT_EQ(state.ranges.yMin, -3);
        EXPECT_NEAR(state.ranges.xMin + state.ranges.xMax, 0, 1e-9);
    }
}

TEST_F(GraphNavigationTest, KeypadDigitsReachThePointsWindow) {
    std::vector<QPoint> moves;
    bool selected = true;
    state.hooks.movePointName = [&](int dx, int dy) {
        moves.emplace_back(dx, dy);
        return selected;
    };
    plot()->setFocus();
    const struct {
        Qt::Key key;
        QPoint move;
    } cases[] = {
        {Qt::Key_8, {0, -1}}, {Qt::Key_2, {0, 1}}, {Qt::Key_4, {-1, 0}}, {Qt::Key_6, {1, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        moves.clear();
        redraws = 0;
        QTest::keyClick(plot(), c.key, Qt::KeypadModifier);
        EXPECT_EQ(moves, std::vector<QPoint>{c.move});
        EXPECT_EQ(redraws, 1);
        expectRange(-10, 10, -10, 10, 0);
        // The digits of the main keyboard are no keypad keys.
        QTest::keyClick(plot(), c.key);
        EXPECT_EQ(moves.size(), 1u);
    }
    selected = false; // no point selected: nothing to draw anew
    redraws = 0;
    QTest::keyClick(plot(), Qt::Key_8, Qt::KeypadModifier);
    EXPECT_EQ(redraws, 0);
}

TEST_F(GraphNavigationTest, ShiftClicksMoveTheOriginOrTheCentre) {
    const QPoint at(plot()->width() / 4, plot()->height() / 4);
    const double mx = xOf(at.x());
    const double my =
        state.ranges.yMin + (state.scale.plotH - at.y() * state.tppY) / state.scale.ymu;
    QTest::mouseClick(plot(), Qt::LeftButton, Qt::ShiftModifier, at);
    expectRange(-10 - mx, 10 - mx, -10 - my, 10 - my, 1e-9); // the origin under the mouse

    resetRange();
    QTest::mouseClick(plot(), Qt::RightButton, Qt::ShiftModifier, at);
    // The clicked point in the middle, to a pixel.
    const double pixel = 20.0 / plot()->width();
    EXPECT_NEAR((state.ranges.xMin + state.ranges.xMax) / 2, mx, pixel);
    EXPECT_NEAR((state.ranges.yMin + state.ranges.yMax) / 2, my, 20.0 / plot()->height());
    EXPECT_NEAR(state.ranges.xMax - state.ranges.xMin, 20, 1e-9);
}

TEST_F(GraphNavigationTest, ZoomPictureWithShiftOrCtrlOpensTheWindows) {
    int rangeWindow = 0, zoomOptions = 0;
    window->showRangeWindow = [&] { ++rangeWindow; };
    window->showZoomOptions = [&] { ++zoomOptions; };
    QTest::mouseClick(child("Image1"), Qt::LeftButton, Qt::ShiftModifier);
    QTest::mouseClick(child("Image1"), Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(rangeWindow, 1);
    EXPECT_EQ(zoomOptions, 1);
    expectRange(-10, 10, -10, 10, 0);
}

TEST_F(GraphNavigationTest, MouseMoveUpdatesTheReadoutWithoutRedrawing) {
    redraws = 0;
    const QImage before = window->picture();
    const QPoint at(plot()->width() / 4, plot()->height() / 4);
    QTest::mouseMove(plot(), at);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), plot()->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(plot(), &move);
    const QString text = static_cast<QLabel*>(child("Label1"))->text();
    const double x = at.x() * state.tppX / state.scale.xmu + state.ranges.xMin;
    EXPECT_TRUE(text.startsWith(QStringLiteral("   x: "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("        y: "))) << text.toStdString();
    EXPECT_TRUE(text.contains(graph::numberText(x, state.scale.xNumberFormat)));
    EXPECT_EQ(redraws, 0);
    EXPECT_EQ(window->picture(), before);
}

TEST_F(GraphNavigationTest, WheelZoomsAndMiddleDragMoves) {
    wheel(-120, Qt::NoModifier);
    expectRange(-15, 15, -15, 15, 0.3);
    resetRange();
    wheel(120, Qt::ControlModifier);
    expectRange(-10 / 1.5, 10 / 1.5, -10, 10, 0.2);
    resetRange();
    wheel(-120, Qt::ShiftModifier);
    expectRange(-10, 10, -15, 15, 0.3);

    resetRange();
    const QPoint from = centre();
    const QPoint to = from + QPoint(40, 0);
    QTest::mousePress(plot(), Qt::MiddleButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), plot()->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(plot(), &move);
    QTest::mouseRelease(plot(), Qt::MiddleButton, Qt::NoModifier, to);
    const double dx = 40.0 * state.tppX / state.scale.xmu;
    expectRange(-10 - dx, 10 - dx, -10, 10, 1e-9); // the drag is no zoom click
}

TEST_F(GraphNavigationTest, OneToOneLabelEqualisesTheUnits) {
    auto* label = static_cast<QLabel*>(child("Label2"));
    state.ranges = {-10, 10, -3, 3, 0, 10};
    graph::setscale(state);
    window->redraw();
    EXPECT_FALSE(label->font().bold());
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_NEAR(state.scale.xmu / state.tppX, state.scale.ymu / state.tppY, 1e-9);
    EXPECT_NEAR(state.ranges.yMin + state.ranges.yMax, 0, 1e-9); // the middle stays
    EXPECT_TRUE(label->font().bold());

    // The right button fits the x range instead.
    state.ranges = {-10, 10, -3, 3, 0, 10};
    graph::setscale(state);
    QTest::mouseClick(label, Qt::RightButton);
    EXPECT_TRUE(graph::isOneToOne(state));
    EXPECT_EQ(state.ranges.yMax, 3);
    EXPECT_NEAR(state.ranges.xMin + state.ranges.xMax, 0, 1e-9);
}

// The smallest rectangle that holds every pixel of line colour 0.
QRect blueBox(const QImage& image) {
    QRect box;
    for (int r = 0; r < image.height(); ++r)
        for (int c = 0; c < image.width(); ++c)
            if (isLineBlue(image.pixel(c, r))) box |= QRect(c, r, 1, 1);
    return box;
}

TEST_F(GraphNavigationTest, ACircleIsRoundAfterOneToOneAtAnyWindowShape) {
    apply({QStringLiteral("xa(t) = cos(t)"), QStringLiteral("ya(t) = sin(t)")});
    for (const QSize size : {QSize(600, 450), QSize(380, 620), QSize(801, 333)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        window->resize(size);
        state.ranges = {-4, 4, -1, 1, 0, 10};
        graph::setscale(state);
        QTest::mouseClick(child("Label2"), Qt::LeftButton);
        const QRect box = blueBox(window->picture());
        ASSERT_FALSE(box.isEmpty());
        EXPECT_NEAR(box.width(), plot()->width() / 4, 3); // 2 units of 8 across
        EXPECT_LE(std::abs(box.width() - box.height()), 1) << box.width() << " " << box.height();
    }
}

} // namespace
