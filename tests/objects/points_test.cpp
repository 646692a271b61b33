// The additional points: how a typed point is read, their list form, the input line, and what of
// them is drawn where.

#include "core/state.h"
#include "engine/enginedefs.h"
#include "engine/linedefs.h"
#include "graph/scale.h"
#include "objects/points.h"
#include "plotfixture.h"

#include "support/printing.h"
#include "support/qtext.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using objects::Mark;
using objects::NamePiece;
using objects::Point;

TEST(PointEntry, ReadsNameAndCoordinates) {
    struct Case {
        const char* typed;
        bool located;
        const char* name;
        const char* x;
        const char* y;
    };
    const Case cases[] = {
        {"P(2;3)", true, "P", "2", "3"},         {"(2;3)", true, "", "2", "3"},
        {"°A(1|1)", true, "°A", "1", "1"},       {"Q(a+1; log(2;8))", true, "Q", "a+1", "log(2;8)"},
        {"f(a)$(1;2)", true, "f(a)$", "1", "2"}, {"P 2;3", false, "", "", ""},
        {"P(2;3", false, "P", "", ""},           {"P(2)", false, "P", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Point p;
        p.typed = q(c.typed);
        objects::makeentry(p);
        EXPECT_EQ(p.located, c.located);
        EXPECT_EQ(p.name, q(c.name));
        EXPECT_EQ(p.xText, q(c.x));
        EXPECT_EQ(p.yText, q(c.y));
    }
}

TEST(PointList, ReadsBackWhatItWritesAndKeepsColonsInThePoint) {
    const QString text = q("P(2;3):255:0:30\r\nA:B(1;2):0:-4:12\r\n(x:2;1):65280:3:30");
    const std::vector<Point> points = objects::makeliste(text);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1].typed, q("A:B(1;2)"));
    EXPECT_EQ(points[1].name, q("A:B"));
    EXPECT_EQ(points[1].nameRight, -4);
    EXPECT_EQ(points[1].nameUp, 12);
    EXPECT_EQ(points[2].xText, q("x:2"));
    EXPECT_EQ(points[2].colour, 65280u);
    EXPECT_EQ(objects::getliste(points), text);
    // A point as typed takes black and the name 30 pixels up.
    const std::vector<Point> typed = objects::makeliste(q("P(2;3)\nQ(1;1):12"));
    ASSERT_EQ(typed.size(), 2u);
    EXPECT_EQ(objects::getliste(typed), q("P(2;3):0:0:30\r\nQ(1;1):12:0:0:30"));
}

TEST(PointInput, KeepsColourAndOffsetsOfTheRowItRewrites) {
    std::vector<Point> points = objects::makeliste(q("P(2;3):255:5:40\r\nQ(1;1):65280:0:30"));
    EXPECT_EQ(objects::taste(points, q(" P(2;3) "), std::nullopt), 0);
    EXPECT_EQ(points[0].colour, 255u);
    EXPECT_EQ(points[0].nameRight, 5);
    // The selected row rewritten without "(": no coordinates left to draw it with.
    EXPECT_EQ(objects::taste(points, q("Q"), 1), 1);
    EXPECT_EQ(points[1].colour, 65280u);
    EXPECT_FALSE(points[1].located);
    EXPECT_TRUE(points[1].xText.isEmpty());
    EXPECT_EQ(objects::taste(points, q("R(0;0)"), std::nullopt), 2);
    EXPECT_EQ(points[2].nameUp, objects::defaultNameUp);
    EXPECT_EQ(objects::taste(points, q(""), std::nullopt), std::nullopt);
}

TEST(PointName, IsWrittenInPiecesLowerAndHigher) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, int>> pieces;
    };
    const Case cases[] = {
        {"x_1", {{"x", 0}, {"1", 1}}},
        {"a^2_b", {{"a", 0}, {"2", -1}, {"b", 0}}},
        {"!P$", {{"P", 0}}},
        {"°A", {{"A", 0}}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<NamePiece> pieces = objects::namePieces(q(c.name));
        ASSERT_EQ(pieces.size(), c.pieces.size());
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i].text, q(c.pieces[i].first));
            EXPECT_EQ(pieces[i].shift, c.pieces[i].second);
        }
    }
}

class PointsDrawn : public PlotFixture {
protected:
    std::vector<objects::PointDrawing> draw(const char* text) {
        state.pointsText = q(text);
        return objects::drawpoints(state);
    }
};

TEST_F(PointsDrawn, StandAtTheirPlaceWithTheirMarkAndName) {
    struct Case {
        const char* text;
        QPoint centre;
        Mark mark;
        int radius;
        const char* firstPiece;
        QPoint nameAt;
    };
    const Case cases[] = {
        {"P(2;3)", {480, 210}, Mark::Disc, 4, "P", {480, 180}},
        {"(2;3):255:0:30", {480, 210}, Mark::Disc, 4, "", {480, 180}},
        {"°A(1;1):0:10:-5", {440, 270}, Mark::Ring, 5, "A", {450, 275}},
        {"!Q(0;pi):0:0:0", {400, 206}, Mark::None, 4, "Q", {400, 206}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto drawn = draw(c.text);
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(drawn[0].centre, c.centre);
        EXPECT_EQ(drawn[0].mark, c.mark);
        EXPECT_EQ(drawn[0].radius, c.radius);
        EXPECT_EQ(drawn[0].name.empty() ? QString() : drawn[0].name[0].text, q(c.firstPiece));
        EXPECT_EQ(drawn[0].nameAt, c.nameAt);
    }
}

TEST_F(PointsDrawn, OutsideWrongOrHiddenPointsShowNothing) {
    EXPECT_TRUE(draw("P(20;0)\r\nQ(1;1/0)\r\nR(wurzel(-1);0)\r\nS\r\nT(1;(2)").empty());
    EXPECT_EQ(state.engine.error(), 0);
    state.pointsShown = false;
    auto drawn = draw("P(2;3)");
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].mark, Mark::None);
    state.pointNamesShown = false;
    EXPECT_TRUE(draw("P(2;3)").empty());
    // The radius stays within what the size field takes.
    state.pointsShown = true;
    state.pointSize = 500;
    EXPECT_EQ(draw("P(2;3)")[0].radius, objects::largestRadius);
}

} // namespace
