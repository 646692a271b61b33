#include "core/state.h"
#include "params/paramlogic.h"
#include "session/applydata.h"
#include "session/ranges.h"
#include "session/startup.h"
#include "support/recordingmessages.h"
#include "support/termlines.h"
#include "terms/termcheck.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Ranges : public ::testing::Test {
protected:
    core::State state;

    void SetUp() override {
        state.messages = std::make_shared<platform::RecordingMessages>();
        state.busyFlag = 0;
    }

    void type(int row, const char* lower, const char* upper) {
        state.rangeFields[row] = {QString::fromUtf8(lower), QString::fromUtf8(upper)};
    }
};

struct RowCase {
    int row;
    const char* lower;
    const char* upper;
    double min;
    double max;
};

TEST_F(Ranges, FieldsAreReadAsTypedNumbersAndTermsAndReversedBoundsAreSwapped) {
    const RowCase cases[] = {
        {0, "-2", "3", -2, 3},         {1, "5", "-5", -5, 5},     {2, "0", "2*3+1", 0, 7},
        {0, "2,5", "7,25", 2.5, 7.25}, {1, "-1,5", "1", -1.5, 1}, {2, " 1 ", "2#°", 1, 2},
    };
    for (const auto& c : cases) {
        type(c.row, c.lower, c.upper);
        const auto status = session::applyRanges(state);
        EXPECT_FALSE(status.error) << c.lower << " " << status.text.toStdString();
        const double min[] = {state.ranges.xMin, state.ranges.yMin, state.ranges.tMin};
        const double max[] = {state.ranges.xMax, state.ranges.yMax, state.ranges.tMax};
        EXPECT_DOUBLE_EQ(min[c.row], c.min) << c.lower;
        EXPECT_DOUBLE_EQ(max[c.row], c.max) << c.upper;
    }
}

TEST_F(Ranges, UnusableCharactersVanishFromTheFields) {
    type(0, "#~\"§$´`° -3", " 4 ");
    session::applyRanges(state);
    EXPECT_EQ(state.rangeFields[0][0], QStringLiteral("-3"));
    EXPECT_EQ(state.rangeFields[0][1], QStringLiteral("4"));
    EXPECT_DOUBLE_EQ(state.ranges.xMin, -3);
}

struct MessageCase {
    int row;
    const char* lower;
    const char* upper;
    const char* message;
};

TEST_F(Ranges, ARefusedRowKeepsItsRangeAndSaysWhy) {
    const MessageCase cases[] = {
        {1, "3", "3", "y-Bereich: Grenzen müssen verschieden sein!"},
        {0, "", "3", "x-Bereich: UntereGrenze unverständlich!"},
        {0, "1/0", "3", "x-Bereich: UntereGrenze unverständlich!"},
        {2, "1", "zz(", "Kurven- parameter- bereich: Obere Grenze unverständlich!"},
    };
    for (const auto& c : cases) {
        state.rangeFields = {};
        type(c.row, c.lower, c.upper);
        const core::Ranges before = state.ranges;
        const auto status = session::applyRanges(state);
        EXPECT_TRUE(status.error);
        EXPECT_EQ(status.text, QString::fromUtf8(c.message));
        EXPECT_EQ(state.ranges.xMin, before.xMin);
        EXPECT_EQ(state.ranges.yMax, before.yMax);
        EXPECT_EQ(state.ranges.tMax, before.tMax);
    }
}

TEST_F(Ranges, TheStatusKeepsTheFirstErrorWhileLaterRowsAreStillApplied) {
    type(0, "2", "2");
    type(1, "x+", "1");
    type(2, "0", "4");
    const auto status = session::applyRanges(state);
    EXPECT_TRUE(status.error);
    EXPECT_EQ(status.text, QStringLiteral("x-Bereich: Grenzen müssen verschieden sein!"));
    EXPECT_DOUBLE_EQ(state.ranges.tMax, 4);
    EXPECT_EQ(session::rangeErrorColour(), QColor(150, 0, 0));
}

TEST_F(Ranges, EmptyRowsChangeNothingAndTheStatusIsEmpty) {
    const auto status = session::applyRanges(state);
    EXPECT_FALSE(status.error);
    EXPECT_TRUE(status.text.isEmpty());
    EXPECT_EQ(state.ranges.xMin, -10);
}

TEST_F(Ranges, AStandardButtonSetsItsRowAndKeepsTheOthersExactly) {
    state.ranges.xMin = 1.0 / 3;
    state.ranges.xMax = 2.0 / 3 + 1e-13;
    state.ranges.tMin = 0.123456789012345;
    for (int row : {1, 2}) {
        const auto status = session::standardRange(state, row);
        EXPECT_FALSE(status.error);
        EXPECT_EQ(state.ranges.xMin, 1.0 / 3);
        EXPECT_EQ(state.ranges.xMax, 2.0 / 3 + 1e-13);
    }
    EXPECT_EQ(state.ranges.yMin, -5);
    EXPECT_EQ(state.ranges.yMax, 5);
    EXPECT_EQ(state.ranges.tMin, 0);
    EXPECT_EQ(state.ranges.tMax, 10);
    session::standardRange(state, 0);
    EXPECT_EQ(state.ranges.xMin, -5);
    EXPECT_EQ(state.ranges.xMax, 5);
}

TEST_F(Ranges, OneToOneGivesAUnitTheSameLengthInPixelsOnBothAxes) {
    struct Case {
        double plotW, plotH;
        int tppX, tppY;
        int axis;
    };
    const Case cases[] = {{12000, 9000, 15, 15, 1},
                          {12000, 9000, 15, 15, 2},
                          {6000, 9000, 12, 15, 1},
                          {9000, 4500, 15, 12, 2}};
    for (const auto& c : cases) {
        state.scale.plotW = c.plotW;
        state.scale.plotH = c.plotH;
        state.tppX = c.tppX;
        state.tppY = c.tppY;
        state.ranges = core::Ranges{};
        state.ranges.yMin = -2;
        state.ranges.yMax = 6;
        session::setRange(state, 0, -10, 10);
        const double xMid = (state.ranges.xMin + state.ranges.xMax) / 2;
        const double yMid = (state.ranges.yMin + state.ranges.yMax) / 2;
        session::oneToOne(state, c.axis);
        EXPECT_NEAR(state.scale.xmu / c.tppX, state.scale.ymu / c.tppY, 1e-9);
        EXPECT_DOUBLE_EQ((state.ranges.xMin + state.ranges.xMax) / 2, xMid);
        EXPECT_DOUBLE_EQ((state.ranges.yMin + state.ranges.yMax) / 2, yMid);
    }
}

TEST_F(Ranges, BoundsTextAndParameterFlagsFollowTheFields) {
    testsupport::typeLines(state, {"f(x) = a*x + b"});
    ASSERT_TRUE(session::applydata(state));
    const int a = state.findparam(QStringLiteral("a"));
    const int b = state.findparam(QStringLiteral("b"));
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    type(0, "-a", "a");
    type(2, "0", "2*b");
    session::makedtxt(state);
    EXPECT_TRUE(state.rangeText.contains(QStringLiteral("(a)")));
    session::checkp(state);
    EXPECT_EQ(state.params[a].rangeFlags, 1);
    EXPECT_EQ(state.params[b].rangeFlags, 4);
    type(0, "", "");
    session::checkp(state);
    EXPECT_EQ(state.params[a].rangeFlags, 0);
    session::clrvb(state);
    EXPECT_TRUE(state.rangeText.isEmpty());
    EXPECT_TRUE(state.rangeFields[2][1].isEmpty());
}

TEST_F(Ranges, ShownBoundsUseTheLabelFormats) {
    session::setRange(state, 0, -2.5, 3);
    EXPECT_EQ(session::shownBound(state, 0, 0), QStringLiteral("-2,5"));
    EXPECT_EQ(session::shownBound(state, 0, 1), QStringLiteral("3"));
}

// New names in the bounds of a definition interval or of a range become parameters when the
// intervals are applied, also without the range window; the range follows them.
TEST(RangesAfterIntervals, NewNamesInBoundsBecomeParameters) {
    core::State state;
    state.messages = std::make_shared<platform::RecordingMessages>();
    session::startupState(state);
    state.busyFlag = 0;
    testsupport::typeLines(state, {"f(x) = x"});
    terms::findandget(state, 0);
    state.rangeFields[1] = {QStringLiteral("-h"), QStringLiteral("h")};
    state.termEditor.termState = 1;
    state.termEditor.texts[0] = QStringLiteral("f: ] -c ; 2*c [");
    EXPECT_EQ(terms::readintervals(state), QString());

    const int c = state.findparam(QStringLiteral("c"));
    const int h = state.findparam(QStringLiteral("h"));
    ASSERT_GE(c, 0);
    ASSERT_GE(h, 0);
    EXPECT_DOUBLE_EQ(state.lines[0].intervalFrom, -1); // new parameters start at 1
    EXPECT_DOUBLE_EQ(state.lines[0].intervalTo, 2);
    EXPECT_EQ(state.ranges.yMin, -1);
    EXPECT_EQ(state.ranges.yMax, 1);
    EXPECT_EQ(state.lines[0].name, QStringLiteral("f")); // the terms stay as they were
    EXPECT_EQ(state.params[h].rangeFlags, 2);

    params::setpar(state, h, 4);
    EXPECT_EQ(state.ranges.yMax, 4);
}

} // namespace
