// The docked layout and the stacks of parameter windows, in pixels at 15 twips per pixel.

#include "core/arrange.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

// The limits of the windows at 15 twips per pixel: term 3315 wide at least, graph 2500 x 4000,
// collection in its normal view 3315 x 4165, in its extended view 7050 x 8742 exactly.
const core::SizeLimits termLimits{QSize(221, 100), QSize(core::SizeLimits::bigSize, 100)};
const core::SizeLimits graphLimits{QSize(167, 267)};
const core::SizeLimits normalCollection{QSize(221, 278)};
const core::SizeLimits extendedCollection{QSize(470, 583), QSize(470, 583)};

struct LayoutCase {
    const char* name;
    QSize area;
    QRect graph;
    QRect term;
    int mode;
    bool maximise;
    core::SizeLimits collectionLimits;
    QRect wantGraph, wantTerm, wantCollection, wantList;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class DockedLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(DockedLayoutTest, PlacesEveryWindowInsideTheArea) {
    const LayoutCase& c = GetParam();
    core::DockedLayout in;
    in.area = c.area;
    in.mode = c.mode;
    in.maximiseGraphHeight = c.maximise;
    in.graph = {c.graph, true, graphLimits};
    in.term = {c.term, true, termLimits};
    in.collection = {QRect(50, 50, 300, 300), false, c.collectionLimits};
    in.list = {QRect(0, 0, 100, 150), true, {}};
    const core::DockedLayout out = core::arrange(in);
    EXPECT_EQ(out.graph.rect, c.wantGraph);
    EXPECT_EQ(out.term.rect, c.wantTerm);
    EXPECT_EQ(out.collection.rect, c.wantCollection);
    EXPECT_EQ(out.list.rect, c.wantList);
    for (const QRect& r : {out.graph.rect, out.term.rect, out.collection.rect, out.list.rect}) {
        EXPECT_GE(r.left(), 0);
        EXPECT_GE(r.top(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DockedLayoutTest,
    ::testing::Values(LayoutCase{"graph wider than the area is cut to it", QSize(500, 400),
                                 QRect(400, 0, 600, 600), QRect(0, 0, 400, 100), 0, false,
                                 normalCollection, QRect(0, 0, 500, 400), QRect(0, 0, 221, 100),
                                 QRect(0, 100, 221, 300), QRect(0, 100, 100, 150)},
                      LayoutCase{"graph on the left", QSize(1000, 600), QRect(30, 20, 600, 600),
                                 QRect(600, 0, 400, 100), 0, false, normalCollection,
                                 QRect(0, 0, 600, 600), QRect(600, 0, 400, 100),
                                 QRect(600, 100, 400, 500), QRect(600, 100, 100, 150)},
                      LayoutCase{"term window taller than the area: the collection stays inside",
                                 QSize(1000, 300), QRect(400, 0, 600, 600), QRect(0, 0, 400, 350),
                                 0, false, normalCollection, QRect(400, 0, 600, 300),
                                 QRect(0, 0, 400, 350), QRect(0, 0, 400, 300),
                                 QRect(300, 150, 100, 150)},
                      LayoutCase{"mode 1 leaves the graph where the user put it", QSize(1000, 600),
                                 QRect(300, 50, 500, 400), QRect(0, 0, 400, 100), 1, false,
                                 normalCollection, QRect(300, 50, 500, 400), QRect(0, 0, 300, 100),
                                 QRect(0, 100, 300, 500), QRect(200, 100, 100, 150)},
                      LayoutCase{"the extended collection keeps its one size", QSize(1000, 600),
                                 QRect(400, 0, 600, 600), QRect(0, 0, 400, 100), 0, false,
                                 extendedCollection, QRect(400, 0, 600, 600), QRect(0, 0, 400, 100),
                                 QRect(0, 17, 470, 583), QRect(300, 100, 100, 150)}));

TEST(DockedLayout, AGraphWindowAsWideAsTheAreaKeepsItsSide) {
    for (const bool left : {false, true}) {
        core::DockedLayout in;
        in.area = QSize(700, 600);
        in.graphOnLeft = left;
        in.graph = {QRect(0, 0, 686, 600), true, graphLimits};
        in.term = {QRect(0, 0, 229, 100), true, termLimits};
        const core::DockedLayout out = core::arrange(in);
        EXPECT_EQ(out.graphOnLeft, left);
        EXPECT_EQ(out.graph.rect, left ? QRect(0, 0, 686, 600) : QRect(14, 0, 686, 600));
        EXPECT_EQ(out.term.rect.x(), left ? 700 - 221 : 0); // narrowed to its smallest width
    }
}

TEST(DockedLayout, NothingMovesWhileTheGraphWindowIsHidden) {
    core::DockedLayout in;
    in.area = QSize(1000, 600);
    in.graph = {QRect(5, 5, 300, 300), false, {}};
    in.term = {QRect(7, 9, 300, 100), true, {}};
    const core::DockedLayout out = core::arrange(in);
    EXPECT_EQ(out.graph.rect, in.graph.rect);
    EXPECT_EQ(out.term.rect, in.term.rect);
}

struct StackCase {
    const char* name;
    QSize area;
    QRect graph;
    std::vector<int> slotNumbers;
    std::vector<QPoint> want; // in falling slot order
};

void PrintTo(const StackCase& c, std::ostream* os) {
    *os << c.name;
}

class ParamStackTest : public ::testing::TestWithParam<StackCase> {};

TEST_P(ParamStackTest, StacksBottomUpInFallingSlotOrder) {
    const StackCase& c = GetParam();
    std::vector<core::ParamFrame> frames;
    for (int slot : c.slotNumbers)
        frames.push_back({slot, QRect(5, 5, 316, 83)});
    const auto out = core::arrangeparams(c.area, c.graph, 15, frames);
    ASSERT_EQ(out.size(), c.want.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        SCOPED_TRACE(out[i].slot);
        EXPECT_EQ(out[i].rect.topLeft(), c.want[i]);
        EXPECT_EQ(out[i].rect.size(), QSize(316, 83));
        if (i > 0) {
            EXPECT_GT(out[i - 1].slot, out[i].slot);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParamStackTest,
    ::testing::Values(
        StackCase{"beside the graph window",
                  QSize(1000, 600),
                  QRect(0, 0, 600, 600),
                  {28, 30, 13, 29},
                  {QPoint(600, 517), QPoint(600, 434), QPoint(600, 351), QPoint(600, 268)}},
        StackCase{"a full column goes on at the bottom, shifted",
                  QSize(1000, 200),
                  QRect(0, 0, 600, 200),
                  {28, 29, 30, 31},
                  {QPoint(600, 117), QPoint(600, 34), QPoint(620, 117), QPoint(620, 34)}},
        StackCase{"no room beside the graph window: at the left edge",
                  QSize(1000, 600),
                  QRect(400, 0, 600, 600),
                  {28},
                  {QPoint(0, 517)}},
        StackCase{"shifted columns stay reachable",
                  QSize(330, 100),
                  QRect(),
                  {28, 29, 30},
                  {QPoint(0, 17), QPoint(14, 17), QPoint(14, 17)}}));

} // namespace
