#include "engine/attributes.h"

#include "core/state.h"
#include "engine/enginedefs.h"
#include "support/printing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QString defaultList = QStringLiteral(
    "x:y:16:12:-1:210:0:0:0,5:0,5:10:10:40:40:2:2:-1:-1:-1:-1:-1:1:10:10:0:0:0:4:0:0:"
    "0:0:0:-1:");

// The default list with element k replaced.
QString withItem(int k, const QString& element) {
    QStringList items = defaultList.split(QLatin1Char(':'));
    items[k] = element;
    return items.join(QLatin1Char(':'));
}

QString item(core::State& state, int k) {
    return engine::attrlist(state).split(QLatin1Char(':')).value(k);
}

class Attributes : public ::testing::Test {
protected:
    void SetUp() override {
        state.engine.reset("35000,1000,1000,4000,300");
        engine::initengine(state.engine);
    }
    core::State state;
};

TEST_F(Attributes, DefaultListHasTheThirtyFourItemsInOrder) {
    EXPECT_EQ(engine::attrlist(state), defaultList);
}

TEST_F(Attributes, ListReadsBackByteAndValueIdentical) {
    core::State& s = state;
    s.graphOptions.xAxisName = QStringLiteral("Zeit, in s");
    s.graphOptions.yAxisName = QStringLiteral("Höhe");
    s.graphOptions.axisNameFontSize = 20;
    s.graphOptions.gridBrightness = 128;
    s.scale.xGridStart = -1.23456789012345;
    s.scale.yGridStart = 1e20;
    s.scale.xGridStep = 0.1;
    s.scale.yGridStep = 3.14159265358979;
    s.scale.xLinesMin = 3;
    s.scale.yLinesMax = 120;
    s.scale.yDigitsMin = 7;
    s.graphOptions.labelsShown = false;
    engine::setanglemode(s, 3);
    s.termEditor.fontSize = 14;
    s.windowAttributes.descriptionFontSize = 18;
    s.keepSampleCount = true;
    s.windowAttributes.graphIndividual = true;
    s.pointSize = 9;
    s.windowAttributes.graphInnerHeight = 6543.5f;
    s.windowAttributes.graphInnerWidth = 9000.25f;
    s.windowAttributes.graphLeft = 3300;
    s.windowAttributes.termLeft = 15;
    const QString written = engine::attrlist(s);

    core::State back;
    engine::readattrs(back, written, engine::fromSettings);
    EXPECT_EQ(engine::attrlist(back), written);
    EXPECT_EQ(back.graphOptions.xAxisName, s.graphOptions.xAxisName);
    EXPECT_EQ(back.scale.xGridStart, s.scale.xGridStart);
    EXPECT_EQ(back.scale.yGridStart, s.scale.yGridStart);
    EXPECT_EQ(back.scale.xGridStep, s.scale.xGridStep);
    EXPECT_EQ(back.scale.yGridStep, s.scale.yGridStep);
    EXPECT_EQ(back.trigMode, 3.0f);
    EXPECT_EQ(back.windowAttributes.graphInnerWidth, 9000.25f);
    EXPECT_EQ(back.lineColours[13], core::gridColour(128));
}

struct Accepted {
    int item;
    const char* element;
    const char* written; // the item as the list shows it afterwards
};

class AttributeItem : public Attributes, public ::testing::WithParamInterface<Accepted> {};

TEST_P(AttributeItem, IsReadInEitherDecimalForm) {
    const Accepted& c = GetParam();
    engine::readattrs(state, withItem(c.item, QString::fromUtf8(c.element)), engine::fromSettings);
    EXPECT_EQ(item(state, c.item), QString::fromUtf8(c.written));
}

INSTANTIATE_TEST_SUITE_P(Cases, AttributeItem,
                         ::testing::Values(Accepted{8, "0,5", "0,5"}, Accepted{8, "0.25", "0,25"},
                                           Accepted{6, "-2,5", "-2,5"}, Accepted{2, " 20 ", "20"},
                                           Accepted{3, "6", "6"}, Accepted{4, "1", "-1"},
                                           Accepted{16, "0", "0"}, Accepted{5, "0", "0"},
                                           Accepted{10, "1", "1"}, Accepted{14, "15", "15"},
                                           Accepted{21, "3", "3"}, Accepted{24, "1", "1"},
                                           Accepted{27, "-7", "7"}, Accepted{22, "26", "26"},
                                           Accepted{29, "4500,5", "4500,5"},
                                           Accepted{0, "a,b", "a,b"}, Accepted{33, "0", "0"}));

TEST_F(Attributes, EveryItemOutsideWhatTheDialogsAcceptIsRefusedAlone) {
    // Each refused element stands between items that are read.
    const std::vector<std::pair<int, const char*>> refused = {
        {2, "5"},    {3, "73"},   {4, "ja"},   {5, "256"}, {6, "1e400"}, {8, "0"},
        {9, "-0,5"}, {11, "0"},   {12, "201"}, {14, "16"}, {15, "-1"},   {21, "4"},
        {22, "5"},   {23, "100"}, {24, "2"},   {27, "0"},  {27, "51"},   {29, "0"},
        {30, "-3"},  {31, "-5"},  {33, "2"},   {7, "1x"},  {13, "5"}}; // maximum below the minimum
                                                                       // 10
    for (const auto& [k, element] : refused) {
        core::State s;
        QString list = withItem(k, QString::fromUtf8(element));
        QStringList items = list.split(QLatin1Char(':'));
        items[0] = QStringLiteral("u");
        items[20] = QStringLiteral("0");
        items[32] = QStringLiteral("30");
        engine::readattrs(s, items.join(QLatin1Char(':')), engine::fromSettings);
        QStringList expected = defaultList.split(QLatin1Char(':'));
        expected[0] = QStringLiteral("u");
        expected[32] = QStringLiteral("30");
        EXPECT_EQ(engine::attrlist(s), expected.join(QLatin1Char(':'))) << k << " " << element;
    }
}

TEST_F(Attributes, EmptyShortOrBrokenListsChangeNothingTheyDoNotHold) {
    for (const char* text :
         {"", ":", "::::", "x:y::", "x:y:16:12:-1:210:0:0:0,5", "x:y:\x01\xff:255:"}) {
        core::State s;
        engine::readattrs(s, QString::fromLatin1(text), engine::fromSettings);
        EXPECT_EQ(engine::attrlist(s), defaultList) << text;
    }
}

TEST_F(Attributes, DegreesMakeSineOfNinetyOne) {
    engine::readattrs(state, withItem(21, QStringLiteral("2")), engine::fromCollection);
    EXPECT_EQ(state.trigMode, 2.0f);
    EXPECT_NEAR(state.engine.eval("sin(90)"), 1.0, 1e-12);
}

TEST_F(Attributes, AdditionalObjectsShownAreNeverRead) {
    state.pointsShown = false;
    engine::readattrs(state, withItem(19, QStringLiteral("0")), engine::fromSettings);
    engine::readattrs(state, withItem(20, QStringLiteral("-1")), engine::fromSettings);
    EXPECT_TRUE(state.extraLinesShown);
    EXPECT_FALSE(state.pointsShown);
}

TEST_F(Attributes, ReadingRedrawsTheCoordinateSystem) {
    state.scale.backgroundValid = true;
    engine::readattrs(state, withItem(5, QStringLiteral("100")), engine::fromCollection);
    EXPECT_FALSE(state.scale.backgroundValid);
    EXPECT_EQ(state.lineColours[13], core::gridColour(100));
    EXPECT_EQ(state.storedColours[13], core::State().storedColours[13]);
}

struct WindowCase {
    const char* name;
    int mode;
    bool graphMarkBefore; // the user's mark "Graphenfenster individuell änderbar"
    bool termFontMarkBefore;
    float graphWidthAfter;
    int termFontAfter;
    int bitsTold;
    bool graphMarkAfter;
};

class WindowItems : public Attributes, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(WindowItems, FollowTheModeAndTheMarks) {
    const WindowCase& c = GetParam();
    state.windowAttributes.graphIndividual = c.graphMarkBefore;
    state.windowAttributes.termFontIndividual = c.termFontMarkBefore;
    state.windowAttributes.graphInnerWidth = 5000;
    int told = -1;
    state.hooks.windowAttributesRead = [&](int bits) { told = bits; };
    QStringList items = defaultList.split(QLatin1Char(':'));
    items[22] = QStringLiteral("20");
    items[28] = QStringLiteral("-1");
    items[30] = QStringLiteral("7000");
    engine::readattrs(state, items.join(QLatin1Char(':')), c.mode);
    EXPECT_EQ(state.windowAttributes.graphInnerWidth, c.graphWidthAfter);
    EXPECT_EQ(state.termEditor.fontSize, c.termFontAfter);
    EXPECT_EQ(told, c.bitsTold);
    EXPECT_EQ(state.windowAttributes.graphIndividual, c.graphMarkAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowItems,
    ::testing::Values(
        WindowCase{"collectionWithoutMarks", engine::fromCollection, false, false, 5000, 10, 0,
                   false},
        WindowCase{"collectionWithGraphMark", engine::fromCollection, true, false, 7000, 10,
                   core::graphGeometryRead, true},
        WindowCase{"collectionWithTermFontMark", engine::fromCollection, false, true, 5000, 20,
                   core::termFontRead, false},
        WindowCase{"settingsAlways", engine::fromSettings, false, false, 7000, 20,
                   core::termFontRead | core::descriptionFontRead | core::graphGeometryRead, true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
