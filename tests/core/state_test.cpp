#include "core/defaults.h"
#include "core/state.h"

#include <gtest/gtest.h>

namespace {

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
    s.zoomX = 3;
    s.zoomY = 1;
    core::defaults(s);
    EXPECT_EQ(s.scale.plotW, 24000);
    EXPECT_EQ(s.scale.plotH, 6000);
    EXPECT_EQ(s.scale.xGridStep, core::Scale{}.xGridStep);
    EXPECT_EQ(s.lineColours[2], 0x0000ffu);
    EXPECT_EQ(s.lineColours[13], core::gridColour(210));
    EXPECT_EQ(s.zoomX, 1.5);
    EXPECT_EQ(s.zoomY, 1.5);
}

} // namespace
