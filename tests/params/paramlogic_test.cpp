#include "params/paramlogic.h"

#include "core/state.h"

#include "support/paramreadback.h"
#include "support/qtapp.h"
#include "support/recordingmessages.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using platform::MessageIcon;
using platform::RecordingMessages;

constexpr int uf = 0;    // lower bound of the integral function of line 0
constexpr int anzf = 13; // sample count of line 0
constexpr int a = 28;    // first free parameter

class ParamLogic : public ::testing::Test {
protected:
    void SetUp() override {
        s.messages = recorder;
        s.busyFlag = 0;
        s.hooks.redrawall = [this] { ++redraws; };
        s.hooks.docalc = [this] { ++calcs; };
        s.hooks.paramChanged = [this](int k) { changed.push_back(k); };
        s.hooks.rangeRowsReread = [this] { ++rereads; };
        s.lines[0].name = QStringLiteral("f");
    }

    std::shared_ptr<RecordingMessages> recorder = std::make_shared<RecordingMessages>();
    RecordingMessages& messages() { return *recorder; }

    // A free parameter as the data-set assembly makes it.
    void makeFree(int k, const QString& label, double lo = -10, double hi = 10) {
        auto& p = s.params[k];
        p.label = label;
        p.handle = s.engine.defineVariable(label.toStdString());
        p.minimum = lo;
        p.maximum = hi;
        params::init(s, k);
    }
    void makeSampleCount() {
        auto& p = s.params[anzf];
        p.label = QStringLiteral("anzf");
        p.handle = s.engine.defineVariable("anzf");
        p.owner = 0;
        p.minimum = 2;
        p.maximum = 1002;
        params::init(s, anzf);
    }
    void makeLowerBound() {
        auto& p = s.params[uf];
        p.label = QStringLiteral("uf = untere Grenze für Integralfunktion in f");
        p.handle = s.engine.defineVariable("uf");
        p.owner = 0;
        params::init(s, uf);
    }
    void resetCounts() {
        redraws = calcs = rereads = 0;
        changed.clear();
    }

    core::State s;
    int redraws = 0, calcs = 0, rereads = 0;
    std::vector<int> changed;
};

TEST_F(ParamLogic, SliderGivesValueBetweenBounds) {
    struct Case {
        double lo, hi;
        int position;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {-10, 10, 750, 5, "5"},    {-10, 10, 0, -10, "-10"},  {-10, 10, 1000, 10, "10"},
        {0, 1, 500, 0.5, "0,5"},   {0, 1, 1, 0.001, "0,001"}, {2, 1002, 1000, 1002, "1002"},
        {-10, 10, 1500, 10, "10"}, // the slider has no place beyond its end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        makeFree(a, QStringLiteral("a"), c.lo, c.hi);
        resetCounts();
        params::moveSlider(s, a, c.position);
        EXPECT_DOUBLE_EQ(s.params[a].value, c.value);
        EXPECT_EQ(s.params[a].valueText, QString::fromUtf8(c.text));
        EXPECT_DOUBLE_EQ(s.engine.variable(s.params[a].handle), c.value);
        EXPECT_EQ(redraws, 1);
        EXPECT_EQ(calcs, 1);
        EXPECT_EQ(changed.back(), a);
    }
}

TEST(SliderMapping, PositionIsWholeAndLimited) {
    struct Case {
        double v, lo, hi;
        int position;
    };
    const Case cases[] = {
        {5, -10, 10, 750},
        {-20, -10, 10, 0},
        {20, -10, 10, 1000},
        {0.5, 0, 1000, 0},
        {1.5, 0, 1000, 2},
        {2.5, 0, 1000, 2},
        {5, 10, -10, 250}, // bounds the other way round
        {3, 3, 3, 0},      // no span: no division by 0
        {std::numeric_limits<double>::quiet_NaN(), -10, 10, 0},
        {1, -1.7e308, 1.7e308, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        EXPECT_EQ(params::sliderPosition(c.v, c.lo, c.hi), c.position);
    }
    EXPECT_DOUBLE_EQ(params::sliderValue(500, 3, 3), 3);
    EXPECT_TRUE(std::isfinite(params::sliderValue(1000, -1.7e308, 1.7e308)));
}

TEST_F(ParamLogic, WholeNumberParametersRoundDown) {
    struct Case {
        double typed, value;
        const char* text;
    };
    const Case cases[] = {{2.7, 2, "2"}, {-2.5, -3, "-3"}, {3, 3, "3"}, {-0.1, -1, "-1"}};
    makeFree(a, QStringLiteral("n_int"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        params::setpar(s, a, c.typed);
        EXPECT_EQ(s.params[a].value, c.value);
        EXPECT_EQ(s.params[a].valueText, QString::fromUtf8(c.text));
    }
    params::moveSlider(s, a, 760); // 5.2 on the slider
    EXPECT_EQ(s.params[a].value, 5);
    EXPECT_EQ(s.params[a].valueText, QStringLiteral("5"));
}

// One after the other on one slot within -10 ... 10: every value that is a number is taken as
// it is, beyond the bounds as well, with one redraw whether or not the slider moves; no number
// keeps what the slot has.
TEST_F(ParamLogic, SetparTakesEveryNumberAndRedrawsOnce) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double v, value;
        int position;
        const char* text;
    };
    const Case cases[] = {
        {5, 5, 750, "5"},     {5.001, 5.001, 750, "5,001"}, // the slider stays where it is
        {-3, -3, 350, "-3"}, // not the value of the slider position read back
        {25, 25, 1000, "25"}, {-25, -25, 0, "-25"},
        {4, 4, 700, "4"},     {std::numeric_limits<double>::quiet_NaN(), 4, 700, "4"},
        {inf, 4, 700, "4"},   {-inf, 4, 700, "4"},
    };
    makeFree(a, QStringLiteral("a"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        resetCounts();
        params::setpar(s, a, c.v);
        EXPECT_EQ(s.params[a].value, c.value);
        EXPECT_EQ(s.params[a].sliderPos, c.position);
        EXPECT_EQ(s.params[a].valueText, QString::fromUtf8(c.text));
        EXPECT_EQ(s.engine.variable(s.params[a].handle), c.value);
        EXPECT_EQ(redraws, std::isfinite(c.v) ? 1 : 0);
        EXPECT_EQ(calcs, redraws);
        EXPECT_FALSE(s.params[a].settingFlag);
    }
}

TEST_F(ParamLogic, TextsTheEngineCannotReadKeepTheValueAndTheBounds) {
    makeFree(a, QStringLiteral("a"));
    makeSampleCount();
    makeLowerBound();
    for (const int k : {a, anzf, uf}) {
        params::setpar(s, k, 4);
        for (const char* typed :
             {"x+", "1/0", "", "  ", "(", "2*)", "wurzel(-1)", "unbekannt+1", "10^400"}) {
            SCOPED_TRACE(std::to_string(k) + " " + typed);
            const core::ParamSlot before = s.params[k];
            resetCounts();
            params::enterValue(s, k, QString::fromUtf8(typed));
            EXPECT_EQ(s.params[k].value, before.value);
            EXPECT_EQ(s.params[k].valueText, before.valueText);
            EXPECT_EQ(s.params[k].sliderPos, before.sliderPos);
            EXPECT_EQ(s.engine.variable(s.params[k].handle), before.value);
            EXPECT_EQ(redraws, 0);
            // The failed text leaves no error behind for the next evaluation.
            EXPECT_EQ(s.engine.error(), 0);

            if (k == uf) continue; // its bounds are locked
            s.params[k].lowerText = QString::fromUtf8(typed);
            s.params[k].upperText = QStringLiteral("900");
            params::chpari(s, k);
            EXPECT_EQ(s.params[k].minimum, before.minimum);
            EXPECT_EQ(s.params[k].maximum, 900);
            EXPECT_EQ(s.params[k].lowerText, before.lowerText);
            s.params[k].lowerText = before.lowerText;
            s.params[k].upperText = QString::fromUtf8(typed);
            params::chpari(s, k);
            EXPECT_EQ(s.params[k].maximum, 900);
            EXPECT_EQ(s.params[k].upperText, QStringLiteral("900"));
            params::setparb(s, k, before.minimum, before.maximum);
        }
    }
    EXPECT_TRUE(messages().shown.empty());
    params::enterValue(s, a, QStringLiteral("0"));
    EXPECT_EQ(s.params[a].value, 0);
}

TEST_F(ParamLogic, SampleCountsAreWholeNumbersFromTwo) {
    struct Case {
        double typed, value;
        int lineCount;
    };
    const Case cases[] = {
        {1, 2, 1}, {0, 2, 1}, {-7.9, 7, 6}, {500.7, 500, 499}, {1e12, 20000, 19999}};
    makeSampleCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        params::setpar(s, anzf, c.typed);
        EXPECT_EQ(s.params[anzf].value, c.value);
        EXPECT_EQ(s.lines[0].sampleCount, c.lineCount);
        EXPECT_DOUBLE_EQ(s.lineSlots[0].stepWidth, s.scale.xRange / c.lineCount);
        EXPECT_EQ(s.engine.variable(s.params[anzf].handle), c.value);
    }
    params::moveSlider(s, anzf, 500); // 502 on the slider
    EXPECT_EQ(s.params[anzf].value, 502);
    EXPECT_EQ(s.lines[0].sampleCount, 501);
}

TEST_F(ParamLogic, InitTakesTheLineDataByKindOfSlot) {
    s.lines[0].sampleCount = 99;
    s.lines[0].lowerBound = 3;
    makeSampleCount();
    makeLowerBound();
    makeFree(a, QStringLiteral("a"));

    struct Case {
        int k;
        const char* caption;
        bool highlighted, locked;
        double value;
    };
    const Case cases[] = {
        {uf, "uf = untere Grenze für Integralfunktion in f", true, true, 3},
        {anzf, "Stützstellenanzahl für f", true, false, 100},
        {a, "Parameter: a", false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.k);
        const auto& p = s.params[c.k];
        EXPECT_EQ(p.caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(p.valueHighlighted, c.highlighted);
        EXPECT_EQ(p.boundsLocked, c.locked);
        EXPECT_EQ(p.value, c.value);
        EXPECT_EQ(s.engine.variable(p.handle), c.value);
    }
    EXPECT_EQ(s.params[uf].lowerText, QStringLiteral("-10"));
    EXPECT_EQ(s.params[uf].upperText, QStringLiteral("10"));
    EXPECT_EQ(s.params[uf].sliderPos, 650);
    EXPECT_EQ(s.params[anzf].lowerText, QStringLiteral("2"));
    EXPECT_EQ(s.params[anzf].upperText, QStringLiteral("1002"));
}

TEST_F(ParamLogic, LowerBoundOutsideItsRangeTakesTheMiddle) {
    struct Case {
        int kind;
        double from, to, typed, value;
    };
    const Case cases[] = {
        {core::kindFunction, 0, 0, 50, 0}, // the x range -10 ... 10
        {core::kindFunction, 0, 0, -4.5, -4.5},
        {1, 2, 2, 7, 2.5},           // an empty curve interval becomes 2 ... 3
        {1, 0, 6, 0.12345, 0.12345}, // kept exactly, not as the slider rounds it
        {1, 4, 0, 1, 1},             // an interval that runs downwards
        {1, 4, 0, 5, 2},
    };
    makeLowerBound();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        s.lines[0].kind = c.kind;
        s.lines[0].intervalFrom = c.from;
        s.lines[0].intervalTo = c.to;
        params::setpar(s, uf, c.typed);
        EXPECT_DOUBLE_EQ(s.params[uf].value, c.value);
        EXPECT_DOUBLE_EQ(s.lines[0].lowerBound, c.value);
        EXPECT_DOUBLE_EQ(s.engine.variable(s.params[uf].handle), c.value);
    }
}

TEST_F(ParamLogic, LowerBoundSliderFollowsTheCurrentXRange) {
    makeLowerBound();
    s.ranges.xMin = 0;
    s.ranges.xMax = 1;
    params::moveSlider(s, uf, 500);
    EXPECT_DOUBLE_EQ(s.params[uf].value, 0.5);
    EXPECT_DOUBLE_EQ(s.lines[0].lowerBound, 0.5);
    params::setpar(s, uf, 0.25);
    EXPECT_EQ(s.params[uf].sliderPos, 250);
    EXPECT_EQ(s.params[uf].upperText, QStringLiteral("1"));
}

TEST_F(ParamLogic, BadBoundsAreRefusedAndOldBoundsStay) {
    struct Case {
        int k;
        const char *lower, *upper;
    };
    // A free parameter's bounds must be in order, a sample count's within 2 ... 20000.
    const Case cases[] = {
        {a, "5", "5"}, {a, "7", "-7"}, {anzf, "1", "30000"}, {anzf, "2", "20001"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.upper);
        const char* title = c.k == a ? "Ungültige Parametergrenzen von a:" : "Fehlerhafte Eingabe";
        const char* text = c.k == a ? "Untere Grenze muss kleiner sein als obere Grenze!"
                                    : "Stützstellenanzahl muss im Bereich [2; 20000] liegen!";
        makeFree(a, QStringLiteral("a"));
        makeSampleCount();
        const double oldLo = s.params[c.k].minimum, oldHi = s.params[c.k].maximum;
        const QString oldLowerText = s.params[c.k].lowerText;
        messages().shown.clear();
        s.params[c.k].lowerText = QString::fromUtf8(c.lower);
        s.params[c.k].upperText = QString::fromUtf8(c.upper);
        params::chpari(s, c.k);
        ASSERT_EQ(messages().shown.size(), 1u);
        EXPECT_EQ(messages().shown[0].title, QString::fromUtf8(title));
        EXPECT_EQ(messages().shown[0].text, QString::fromUtf8(text));
        EXPECT_EQ(messages().shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(s.params[c.k].minimum, oldLo);
        EXPECT_EQ(s.params[c.k].maximum, oldHi);
        EXPECT_EQ(s.params[c.k].lowerText, oldLowerText);
    }
}

TEST_F(ParamLogic, ShownBoundsAndValuesReadBackUnchanged) {
    struct Case {
        int k;
        const char *lower, *upper, *value;                // as typed
        const char *lowerShown, *upperShown, *valueShown; // as the fields show them
    };
    const Case cases[] = {
        {a, "0,001", "0,002", "0,0015", "0,001", "0,002", "0,0015"},
        {a, "1e-7", "2e-7", "1,5e-7", "1e-07", "2e-07", "1,5e-07"},
        {a, "0", "123456,789", "123456,789", "0", "123456,789", "123456,789"},
        {a, "-0,1", "0", "-0,1", "-0,1", "0", "-0,1"},
        {a, "-1e15", "10^15", "1e15", "-1e+15", "1e+15", "1e+15"},
        {a, "1/3", "2/3", "1/3", "0,333333333333333", "0,666666666666667", "0,333333333333333"},
        {a, "0", "1", "1/3", "0", "1", "0,333333333333333"},
        {a, "0,1", "0,3", "0,1+0,2", "0,1", "0,3", "0,3"}, // above the bound by a binary hair
        {a, "2,5", "3*2,5", "5", "2,5", "7,5", "5"},       // a term with a decimal comma
        {anzf, "2", "20000", "1000", "2", "20000", "1000"},
    };
    makeSampleCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.k << ": " << c.lower << " ... " << c.upper);
        makeFree(a, QStringLiteral("a"));
        auto& p = s.params[c.k];
        p.lowerText = QString::fromUtf8(c.lower);
        p.upperText = QString::fromUtf8(c.upper);
        params::chpari(s, c.k);
        params::enterValue(s, c.k, QString::fromUtf8(c.value));
        EXPECT_EQ(p.lowerText, QString::fromUtf8(c.lowerShown));
        EXPECT_EQ(p.upperText, QString::fromUtf8(c.upperShown));
        EXPECT_EQ(p.valueText, QString::fromUtf8(c.valueShown));
        EXPECT_TRUE(testsupport::readsBackUnchanged(s, c.k));
        EXPECT_TRUE(testsupport::readsBackUnchanged(s, c.k)); // and again
    }
    EXPECT_TRUE(messages().shown.empty());

    // The lower bound of an integral function follows the x range, shown as finely.
    makeLowerBound();
    for (const auto& [xMin, xMax, shown] :
         {std::tuple{0.001, 0.002, "0,001"}, std::tuple{1e-7, 2e-7, "1e-07"},
          std::tuple{-1.0 / 3, 1.0 / 3, "-0,333333333333333"}}) {
        SCOPED_TRACE(shown);
        s.ranges.xMin = xMin;
        s.ranges.xMax = xMax;
        params::setpar(s, uf, xMin);
        EXPECT_EQ(s.params[uf].lowerText, QString::fromUtf8(shown));
        EXPECT_EQ(s.params[uf].value, xMin);
        EXPECT_EQ(s.params[uf].sliderPos, 0);
        EXPECT_TRUE(testsupport::readsBackUnchanged(s, uf));
    }
}

TEST_F(ParamLogic, EqualOrBrokenBoundsSetDirectlyCannotBreakTheSlider) {
    makeFree(a, QStringLiteral("a"));
    params::setpar(s, a, 3);
    params::setparb(s, a, 3, 3);
    EXPECT_EQ(s.params[a].sliderPos, 0);
    params::moveSlider(s, a, 500);
    EXPECT_EQ(s.params[a].value, 3);
    params::setparb(s, a, std::numeric_limits<double>::quiet_NaN(), 1);
    EXPECT_EQ(s.params[a].minimum, 3); // the bounds stay
    EXPECT_EQ(s.params[a].value, 3);
}

TEST_F(ParamLogic, RangeRowsAreRereadOnlyWhenTheyUseTheParameter) {
    makeFree(a, QStringLiteral("a"));
    resetCounts();
    params::moveSlider(s, a, 100);
    EXPECT_EQ(rereads, 0);
    s.params[a].rangeFlags = 2; // the y row uses it
    params::moveSlider(s, a, 200);
    EXPECT_EQ(rereads, 1);
}

TEST_F(ParamLogic, ASlotWithoutAnEngineVariableLeavesTheOthersAlone) {
    makeFree(a, QStringLiteral("a"));
    params::setpar(s, a, 5);
    s.params[a + 1].label = QStringLiteral("b");
    params::setpar(s, a + 1, 7);
    EXPECT_EQ(s.params[a + 1].value, 7);
    EXPECT_DOUBLE_EQ(s.engine.eval("a*2"), 10);
}

} // namespace
