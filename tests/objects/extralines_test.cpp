// The additional lines: their text form, the input line, and where they run on the plot.

#include "core/state.h"
#include "engine/enginedefs.h"
#include "engine/linedefs.h"
#include "graph/scale.h"
#include "objects/extralines.h"
#include "plotfixture.h"

#include "support/printing.h"
#include "support/qtext.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using objects::ExtraLine;
using objects::noOwnStyle;

constexpr core::Colour standard = 0x123456;

TEST(ExtraLinesText, ReadsEachLineOnItsOwn) {
    struct Case {
        const char* text;
        std::vector<ExtraLine> lines;
    };
    const Case cases[] = {
        {"c=255:x=2:3", {{q("x=2"), 255, 3}}},
        {"x=2", {{q("x=2"), standard, noOwnStyle}}},
        // The colour of the next line does not reach back into a line without one.
        {"x=2\r\nc=255:y=x", {{q("x=2"), standard, noOwnStyle}, {q("y=x"), 255, noOwnStyle}}},
        // ":" divides in a term: only a last digit 0 ... 6 behind a colour is a style, and an
        // empty last field says there is none.
        {"c=0:y=x:2:", {{q("y=x:2"), 0, noOwnStyle}}},
        {"c=0:y=x:7", {{q("y=x:7"), 0, noOwnStyle}}},
        {"c=0:y=x:2:5", {{q("y=x:2"), 0, 5}}},
        {"y=x:2", {{q("y=x:2"), standard, noOwnStyle}}},
        // Lines ended by a bare line feed, blank lines between.
        {"c=65280:y=1\n\nc=16711680:x=-1:0\r\n",
         {{q("y=1"), 65280, noOwnStyle}, {q("x=-1"), 16711680, 0}}},
        {"  \r\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(objects::text2list(q(c.text), standard), c.lines);
    }
}

TEST(ExtraLinesText, ReadsBackWhatItWrites) {
    const std::vector<ExtraLine> lines = {{q("x=2"), 255, 3},
                                          {q("y=x:2"), 0, noOwnStyle},
                                          {q("y=x:2"), 0, 1},
                                          {q("y=2*x+1"), 16711680, noOwnStyle}};
    const QString text = objects::readlist(lines);
    EXPECT_EQ(text, q("c=255:x=2:3\r\nc=0:y=x:2:\r\nc=0:y=x:2:1\r\nc=16711680:y=2*x+1"));
    EXPECT_EQ(objects::text2list(text, standard), lines);
}

TEST(ExtraLinesInput, ReplacesAnEqualOrSelectedLineAndAppendsOtherwise) {
    std::vector<ExtraLine> lines = {{q("x=2"), 255, 3}, {q("y=x"), 65280, noOwnStyle}};
    // Without "=" it is a "y=" line.
    EXPECT_EQ(objects::asytaste(lines, q(" 2*x+1 "), std::nullopt, standard), 2);
    EXPECT_EQ(lines[2], (ExtraLine{q("y=2*x+1"), standard, noOwnStyle}));
    // Equal but for blanks: replaced in place, colour and style kept.
    EXPECT_EQ(objects::asytaste(lines, q("x = 2"), std::nullopt, standard), 0);
    EXPECT_EQ(lines[0], (ExtraLine{q("x = 2"), 255, 3}));
    // One selected line is replaced.
    EXPECT_EQ(objects::asytaste(lines, q("y=-x"), 1, standard), 1);
    EXPECT_EQ(lines[1], (ExtraLine{q("y=-x"), 65280, noOwnStyle}));
    EXPECT_EQ(objects::asytaste(lines, q("   "), 1, standard), std::nullopt);
    EXPECT_EQ(lines.size(), 3u);
}

TEST(ExtraLinesInput, TakesOnlyOneDigitFromZeroToSixAsStyle) {
    EXPECT_EQ(objects::styleOf(q(" 4 ")), 4);
    for (const char* t : {"7", "-1", "12", "a", "", "1,5"})
        EXPECT_EQ(objects::styleOf(q(t)), noOwnStyle) << t;
}

class ExtraLinesDrawn : public PlotFixture {
protected:
    objects::LineDrawing draw(const char* text) {
        state.extraLinesText = q(text);
        return objects::interprete(state);
    }
};

TEST_F(ExtraLinesDrawn, RunAcrossThePlotAtTheirPlace) {
    struct Case {
        const char* text;
        QPoint from, to;
        core::Colour colour;
        int style;
    };
    const Case cases[] = {
        {"c=255:x=2:0", {480, 600}, {480, 0}, 255, 0},
        // Without an own style, the common one (2 at first).
        {"c=255:y=x", {0, 600}, {800, 0}, 255, 2},
        {"y=3", {0, 210}, {800, 210}, 0, 2},
        // A horizontal line above the plot is drawn where it is; the surface cuts it.
        {"y=20", {0, -300}, {800, -300}, 0, 2},
        // A steep line is cut where it leaves the plot area's height.
        {"c=7:y=4*x:1", {300, 600}, {500, 0}, 7, 1},
        // x may be written X, 2x as a product, ":" divides.
        {"y=2X:4", {0, 450}, {800, 150}, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const objects::LineDrawing d = draw(c.text);
        EXPECT_TRUE(d.errors.isEmpty()) << d.errors.join(q("; ")).toStdString();
        ASSERT_EQ(d.segments.size(), 1u);
        EXPECT_EQ(d.segments[0].from, c.from);
        EXPECT_EQ(d.segments[0].to, c.to);
        EXPECT_EQ(d.segments[0].colour, c.colour);
        EXPECT_EQ(d.segments[0].style, c.style);
    }
}

TEST_F(ExtraLinesDrawn, OutsideOrWrongLinesDrawNothing) {
    struct Case {
        const char* text;
        const char* error; // empty: silently not drawn
    };
    const Case cases[] = {
        {"x=-20", ""},         {"x=11", ""},
        {"y=4*x+100", ""},     {"y=(2", "Klammer"},
        {"y=1/0", "Division"}, {"z=3", "Gleichungen der Gestalt x=a oder y=m*x+t: z=3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const objects::LineDrawing d = draw(c.text);
        EXPECT_TRUE(d.segments.empty());
        if (*c.error == 0) {
            EXPECT_TRUE(d.errors.isEmpty());
            continue;
        }
        ASSERT_EQ(d.errors.size(), 1);
        EXPECT_TRUE(d.errors[0].contains(q(c.error))) << d.errors[0].toStdString();
        EXPECT_TRUE(d.errors[0].endsWith(q(c.text))) << d.errors[0].toStdString();
        // Nothing is left pending for the next evaluation.
        EXPECT_EQ(state.engine.error(), 0);
    }
    // A wrong line keeps no other from being drawn.
    EXPECT_EQ(draw("y=(2\r\nx=0").segments.size(), 1u);
}

TEST_F(ExtraLinesDrawn, GiveTheAssemblyTheTermsOfTheirRightSides) {
    EXPECT_EQ(objects::lineParameterTexts(q("c=255:x=a:3\r\ny=m*x+t:2\r\nc=0:y="), state),
              (QStringList{q("a"), q("m*_x+t/2")}));
}

} // namespace
