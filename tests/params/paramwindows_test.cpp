// The parameter windows driven as a user drives them: slider, value field, bound fields.

#include "core/state.h"
#include "core/twips.h"
#include "params/paramwindow.h"
#include "params/paramwindows.h"
#include "session/startup.h"
#include "terms/termcheck.h"

#include "support/qtapp.h"
#include "support/recordingmessages.h"
#include "support/termlines.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

namespace {

[[maybe_unused]] const bool application = testsupport::useApplication<QApplication>();

constexpr int anzf = 13;
constexpr int a = 28;

class ParamWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.messages = messages;
        session::startupState(state);
        state.busyFlag = 0;
        area.resize(1000, 700);
        area.show();
        windows = std::make_unique<params::ParamWindows>(state, &area);
        state.hooks.paramChanged = [this](int k) { windows->refresh(k); };
        state.hooks.redrawall = [this] { ++redraws; };
    }
    void TearDown() override {
        state.hooks = core::Hooks{};
        // A modal dialog would have hung the test; none may be left open.
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    // The lines as Enter in the term window applies them.
    void apply(const QStringList& lines) {
        testsupport::typeLines(state, lines);
        terms::findandget(state, 0);
    }

    double engineValue(const char* name) { return state.engine.eval(name); }

    template <typename T> T* child(params::ParamWindow* w, const char* name) {
        return w ? w->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    }

    // Typing into a field: select all, type, then a key.
    static void type(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    static void leave(QLineEdit* field) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field, &out);
    }

    std::shared_ptr<platform::RecordingMessages> messages =
        std::make_shared<platform::RecordingMessages>();
    core::State state;
    QMdiArea area;
    std::unique_ptr<params::ParamWindows> windows;
    int redraws = 0;
};

TEST_F(ParamWindowsTest, NewParameterOpensItsWindow) {
    apply({QStringLiteral("f(x) = a*x^2")});
    params::ParamWindow* w = windows->window(a);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName(), QStringLiteral("para28"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Parameter: a"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(child<QLineEdit>(w, "Text3")->text(), QStringLiteral("1"));
    EXPECT_EQ(child<QLineEdit>(w, "Text1")->text(), QStringLiteral("-10"));
    EXPECT_EQ(child<QLineEdit>(w, "Text2")->text(), QStringLiteral("10"));
    auto* slider = child<QScrollBar>(w, "HScroll1");
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->value(), 550);
    EXPECT_EQ(slider->maximum(), 1000);
    // Lines' own slots stay hidden until asked for.
    EXPECT_EQ(windows->window(anzf), nullptr);
}

// A screen reader names every control after its role and parameter; each has a tip.
TEST_F(ParamWindowsTest, EveryControlIsNamedAndExplained) {
    apply({QStringLiteral("f(x) = a*x^2")});
    params::ParamWindow* w = windows->window(a);
    const struct {
        const char* control;
        const char* name;
    } controls[] = {{"HScroll1", "Schieberegler von a"},
                    {"Text3", "Wert von a"},
                    {"Text1", "Untere Grenze von a"},
                    {"Text2", "Obere Grenze von a"},
                    {"Image1", "Timer von a"}};
    for (const auto& c : controls) {
        auto* control = child<QWidget>(w, c.control);
        ASSERT_NE(control, nullptr) << c.control;
        EXPECT_EQ(control->accessibleName(), QString::fromUtf8(c.name));
        EXPECT_FALSE(control->toolTip().isEmpty()) << c.control;
    }
}

// The keys of a focused slider move it as a drag does; PageUp goes up as on any slider.
TEST_F(ParamWindowsTest, SliderKeys) {
    apply({QStringLiteral("f(x) = a*x^2")});
    auto* slider = child<QScrollBar>(windows->window(a), "HScroll1");
    auto* value = child<QLineEdit>(windows->window(a), "Text3");
    EXPECT_EQ(slider->focusPolicy(), Qt::StrongFocus);
    const struct {
        Qt::Key key;
        int position;
        const char* shown;
    } keys[] = {{Qt::Key_Right, 551, "1,02"},  {Qt::Key_Up, 552, "1,04"},
                {Qt::Key_PageUp, 562, "1,24"}, {Qt::Key_PageDown, 552, "1,04"},
                {Qt::Key_Down, 551, "1,02"},   {Qt::Key_Left, 550, "1"},
                {Qt::Key_End, 1000, "10"},     {Qt::Key_Home, 0, "-10"}};
    for (const auto& k : keys) {
        const int before = redraws;
        QTest::keyClick(slider, k.key);
        EXPECT_EQ(slider->value(), k.position) << k.shown;
        EXPECT_EQ(value->text(), QString::fromUtf8(k.shown));
        EXPECT_GT(redraws, before) << k.shown;
    }
    slider->setValue(750); // as a drag ends there
    EXPECT_EQ(value->text(), QStringLiteral("5"));
    EXPECT_DOUBLE_EQ(engineValue("a"), 5);
}

TEST_F(ParamWindowsTest, EnterInTheValueField) {
    apply({QStringLiteral("f(x) = a*x^2")});
    params::ParamWindow* w = windows->window(a);
    auto* value = child<QLineEdit>(w, "Text3");
    auto* slider = child<QScrollBar>(w, "HScroll1");

    struct Case {
        QString typed;
        QString shown;
        double engine;
        int slider;
    };
    const Case cases[] = {
        {QStringLiteral("2,5"), QStringLiteral("2,5"), 2.5, 625},
        {QStringLiteral("-2.5"), QStringLiteral("-2,5"), -2.5, 375},
        {QStringLiteral("40"), QStringLiteral("40"), 40, 1000}, // the slider stops at its end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        type(value, c.typed);
        QTest::keyClick(value, Qt::Key_Return);
        EXPECT_EQ(value->text(), c.shown);
        EXPECT_DOUBLE_EQ(engineValue("a"), c.engine);
        EXPECT_EQ(slider->value(), c.slider);
    }

    // Leaving the field applies what was typed; leaving it untouched changes nothing.
    type(value, QStringLiteral("1,25"));
    leave(value);
    EXPECT_DOUBLE_EQ(engineValue("a"), 1.25);
    const int before = redraws;
    leave(value);
    EXPECT_EQ(redraws, before);
}

TEST_F(ParamWindowsTest, BoundFields) {
    apply({QStringLiteral("f(x) = a*x^2")});
    params::ParamWindow* w = windows->window(a);
    auto* lower = child<QLineEdit>(w, "Text1");
    auto* upper = child<QLineEdit>(w, "Text2");
    auto* slider = child<QScrollBar>(w, "HScroll1");

    // New bounds: the value stays, the slider moves.
    type(lower, QStringLiteral("0"));
    leave(lower);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(state.params[a].minimum, 0);
    EXPECT_EQ(slider->value(), 100); // the value 1 stays
    type(upper, QStringLiteral("2,5"));
    QTest::keyClick(upper, Qt::Key_Return);
    EXPECT_EQ(upper->text(), QStringLiteral("2,5"));
    EXPECT_EQ(state.params[a].maximum, 2.5);

    // Refused bounds: a message (worded by the parameter logic), and the old bounds are shown.
    type(lower, QStringLiteral("5"));
    type(upper, QStringLiteral("5"));
    QTest::keyClick(upper, Qt::Key_Enter);
    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(lower->text(), QStringLiteral("0"));
    EXPECT_EQ(upper->text(), QStringLiteral("2,5"));
    // The refusal is not repeated when the focus leaves the field afterwards.
    leave(lower);
    leave(upper);
    EXPECT_EQ(messages->shown.size(), 1u);
}

TEST_F(ParamWindowsTest, SampleCountWindow) {
    apply({QStringLiteral("f(x) = x^2")});
    state.params[anzf].visible = true;
    windows->refresh(anzf);
    params::ParamWindow* w = windows->window(anzf);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Stützstellenanzahl für f"));
    auto* value = child<QLineEdit>(w, "Text3");
    EXPECT_EQ(value->palette().color(QPalette::Base), QColor(255, 192, 128));

    type(value, QStringLiteral("1"));
    QTest::keyClick(value, Qt::Key_Return);
    EXPECT_EQ(value->text(), QStringLiteral("2"));
    EXPECT_EQ(state.lines[0].sampleCount, 1);
}

// The bound fields of the x-range slots are read-only; a running timer disables the fields.
TEST_F(ParamWindowsTest, LockedFieldsTakeNoInput) {
    apply({QStringLiteral("f(x) = a*x")});
    state.params[0].visible = true;
    windows->refresh(0);
    params::ParamWindow* w = windows->window(0);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), state.params[0].label);
    EXPECT_TRUE(child<QLineEdit>(w, "Text1")->isReadOnly());
    EXPECT_TRUE(child<QLineEdit>(w, "Text2")->isReadOnly());
    QTest::keyClick(child<QLineEdit>(w, "Text1"), Qt::Key_Return);
    EXPECT_TRUE(messages->shown.empty());

    w = windows->window(a);
    state.timerList = QString(QChar(char16_t(a)));
    w->showSlot();
    EXPECT_FALSE(child<QLineEdit>(w, "Text3")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(w, "Text1")->isEnabled());
    EXPECT_EQ(child<QLabel>(w, "Image1")->frameShape(), QFrame::Box);
    state.timerList.clear();
    w->showSlot();
    EXPECT_TRUE(child<QLineEdit>(w, "Text3")->isEnabled());
    EXPECT_EQ(child<QLabel>(w, "Image1")->frameShape(), QFrame::NoFrame);
}

TEST_F(ParamWindowsTest, ShowHideAndPlacement) {
    apply({QStringLiteral("f(x) = a*x + b"), QStringLiteral("g(x) = c")});
    const int freeSlots[] = {a, a + 1, a + 2};
    std::vector<QRect> frames;
    const int right = area.viewport()->width();
    for (int k : freeSlots) {
        ASSERT_NE(windows->window(k), nullptr);
        const QWidget* frame = windows->window(k)->parentWidget();
        ASSERT_TRUE(frame->isVisible());
        // Stacked at the right side of the area without covering each other.
        EXPECT_EQ(frame->geometry().right(), right - 1);
        for (const QRect& other : frames)
            EXPECT_FALSE(other.intersects(frame->geometry()));
        frames.push_back(frame->geometry());
    }

    // Closed by the user: hidden, and the slot says so.
    auto* frame = qobject_cast<QMdiSubWindow*>(windows->window(a + 1)->parentWidget());
    ASSERT_NE(frame, nullptr);
    frame->close();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FALSE(state.params[a + 1].visible);
    ASSERT_NE(windows->window(a + 1), nullptr); // kept for the next time

    // "Show all" brings back every free parameter in use, in the free place.
    windows->showAllFree();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(state.params[a + 1].visible);
    EXPECT_EQ(frame->geometry(), frames[1]);

    // A parameter no longer used goes away.
    apply({QStringLiteral("f(x) = a*x")});
    EXPECT_TRUE(windows->window(a)->parentWidget()->isVisible());
    EXPECT_FALSE(windows->window(a + 1)->parentWidget()->isVisible());
    EXPECT_FALSE(windows->window(a + 2)->parentWidget()->isVisible());
}

TEST_F(ParamWindowsTest, WidthIsShared) {
    apply({QStringLiteral("f(x) = a*x + b")});
    params::ParamWindow* w = windows->window(a);
    const int tpp = core::twipsPerPixel(w->logicalDpiX());
    EXPECT_EQ(w->width(), core::twipsToPixels(4740, tpp));
    w->parentWidget()->resize(w->parentWidget()->width() + 60, w->parentWidget()->height());
    EXPECT_EQ(state.paramWindowWidth, core::pixelsToTwips(w->width(), tpp));
    // Narrower than the minimum is not possible; higher neither.
    w->parentWidget()->resize(50, 400);
    EXPECT_EQ(w->width(), core::twipsToPixels(4000, tpp));
    EXPECT_EQ(w->height(), core::twipsToPixels(1250, tpp));
}

TEST_F(ParamWindowsTest, WindowsWithoutAnArea) {
    params::ParamWindows loose(state, nullptr);
    state.hooks.paramChanged = [&loose](int k) { loose.refresh(k); };
    apply({QStringLiteral("f(x) = a*x")});
    ASSERT_NE(loose.window(a), nullptr);
    EXPECT_TRUE(loose.window(a)->isWindow());
    EXPECT_TRUE(loose.window(a)->isVisible());
    loose.window(a)->close();
    EXPECT_FALSE(state.params[a].visible);
}

} // namespace
