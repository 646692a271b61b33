#include "core/defaults.h"
#include "core/state.h"

#include <gtest/gtest.h>

namespace {

TEST(State, DefaultsAfterStart) {
    core::State s;
    EXPECT_EQ(s.ranges.xMin, -10);
    EXPECT_EQ(s.ranges.xMax, 10);
    EXPECT_EQ(s.ranges.yMin, -10);
    EXPECT_EQ(s.ranges.yMax, 10);
    EXPECT_EQ(s.ranges.tMin, 0);
    EXPECT_EQ(s.ranges.tMax, 10);
    EXPECT_EQ(s.trigMode, 1);
    EXPECT_EQ(s.keyTable.size(), 23);
    EXPECT_EQ(s.keyTable[22], QStringLiteral("$"));
    for (int i = 0; i < core::lineCount; ++i) {
        EXPECT_TRUE(s.lines[i].name.isEmpty());
        EXPECT_EQ(s.lines[i].slot, i);
        EXPECT_EQ(s.lines[i].kind, core::kindFunction);
        EXPECT_EQ(s.lines[i].sampleCount, 499);
        EXPECT_EQ(s.lines[i].intervalText, QStringLiteral("-oo; +oo"));
    }
    for (const auto& p : s.params)
        EXPECT_EQ(p.handle, -1);
    // Red in the lowest byte: line 0 is blue, line 2 red.
    EXPECT_EQ(s.lineColours[0], 0xff0000u);
    EXPECT_EQ(s.lineColours[2], 0x0000ffu);
    EXPECT_EQ(s.lineColours[14], 0u);
}

TEST(State, NamePoolGivesNextFreeLetter) {
    core::State s;
    s.usename(QStringLiteral("f"));
    s.usename(QStringLiteral("h"));
    s.usename(QStringLiteral("foo")); // longer names never take a letter
    EXPECT_EQ(s.freeNames, QStringLiteral("gijklmnopqrstuvwxyz"));
    s.resetnames();
    EXPECT_EQ(s.freeNames, QStringLiteral("fghijklmnopqrstuvwxyz"));
}

TEST(State, FindparamSkipsFreeSlotsAndLowerBounds) {
    core::State s;
    s.params[3].label = QStringLiteral("a");
    s.params[3].handle = 7;
    s.params[30].label = QStringLiteral("a");
    s.params[31].label = QStringLiteral("b");
    s.params[31].handle = 9;
    EXPECT_EQ(s.findparam(QStringLiteral("a")), -1);
    EXPECT_EQ(s.findparam(QStringLiteral("b")), 31);
}

TEST(State, FactoryDefaultsKeepThePlotArea) {
    core::State s;
    s.scale.plotW = 24000;
    s.scale.plotH = 6000;
    s.scale.xGridStep = 3;
    s.lineColours[2] = 0x123456;
    core::defaults(s);
    EXPECT_EQ(s.scale.plotW, 24000);
    EXPECT_EQ(s.scale.plotH, 6000);
    EXPECT_EQ(s.scale.xGridStep, core::Scale{}.xGridStep);
    EXPECT_EQ(s.lineColours[2], 0x0000ffu);
    EXPECT_EQ(s.lineColours[13], core::gridColour(210));
}

} // namespace
