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
constexpr int n = 29;    // a free parameter of whole numbers

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
    // Slot k made with the bounds lo ... hi; a lower bound takes them as the x range, a sample
    // count has its own.
    void prepare(int k, double lo, double hi) {
        if (k == uf) {
            s.ranges.xMin = lo;
            s.ranges.xMax = hi;
            makeLowerBound();
        } else if (k == anzf) {
            makeSampleCount();
        } else {
            makeFree(k, k == n ? QStringLiteral("n_int") : QStringLiteral("a"), lo, hi);
        }
    }
    // Slot k holds value, shows it as text and gives it to the engine and to its line.
    void expectShows(int k, double value, const char* text) {
        const core::ParamSlot& p = s.params[k];
        EXPECT_EQ(p.value, value);
        EXPECT_EQ(p.valueText, QString::fromUtf8(text));
        EXPECT_EQ(s.engine.variable(p.handle), value);
        if (k == uf) {
            EXPECT_EQ(s.lines[0].lowerBound, value);
        }
        if (k == anzf) {
            EXPECT_EQ(s.lines[0].sampleCount, value - 1); // the line draws one sample fewer
            EXPECT_DOUBLE_EQ(s.lineSlots[0].stepWidth, s.scale.xRange / (value - 1));
        }
    }

    core::State s;
    int redraws = 0, calcs = 0, rereads = 0;
    std::vector<int> changed;
};

// Slider and value on each kind of slot: free parameters take any value, those of whole numbers
// round down, sample counts are whole numbers from 2 and tell their line, lower bounds lie in
// the x range and go to their line.
TEST_F(ParamLogic, TheSliderGivesTheValueBetweenTheBounds) {
    struct Case {
        int k;
        double lo, hi;
        int position;
        double value;
        const char* text;
    };
    // 1500 lies beyond the slider's end; 760 is 5,2 for whole numbers.
    const Case cases[] = {
        {a, -10, 10, 750, 5, "5"},  {a, -10, 10, 0, -10, "-10"},      {a, -10, 10, 1000, 10, "10"},
        {a, 0, 1, 500, 0.5, "0,5"}, {a, 0, 1, 1, 0.001, "0,001"},     {a, -10, 10, 1500, 10, "10"},
        {n, -10, 10, 760, 5, "5"},  {anzf, 2, 1002, 500, 502, "502"}, {uf, 0, 1, 500, 0.5, "0,5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.k << ": " << c.position);
        prepare(c.k, c.lo, c.hi);
        resetCounts();
        params::moveSlider(s, c.k, c.position);
        expectShows(c.k, c.value, c.text);
        EXPECT_EQ(redraws, 1);
        EXPECT_EQ(calcs, 1);
        EXPECT_EQ(changed.back(), c.k);
    }
}

TEST(SliderMapping, PositionIsWholeAndLimited) {
    struct Case {
        double v, lo, hi;
        int position;
    };
    // 2,5 rounds to the even 2; the bounds may run the other way round, or have no span.
    const Case cases[] = {{5, -10, 10, 750},
                          {-20, -10, 10, 0},
                          {20, -10, 10, 1000},
                          {0.5, 0, 1000, 0},
                          {1.5, 0, 1000, 2},
                          {2.5, 0, 1000, 2},
                          {5, 10, -10, 250},
                          {3, 3, 3, 0},
                          {std::numeric_limits<double>::quiet_NaN(), -10, 10, 0},
                          {1, -1.7e308, 1.7e308, 500}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        EXPECT_EQ(params::sliderPosition(c.v, c.lo, c.hi), c.position);
    }
    EXPECT_DOUBLE_EQ(params::sliderValue(500, 3, 3), 3);
    EXPECT_TRUE(std::isfinite(params::sliderValue(1000, -1.7e308, 1.7e308)));
}

// One after the other on each slot: every number is taken, with one redraw whether or not the
// slider moves; free parameters keep values beyond their bounds, lower bounds take the middle of
// their range instead; no number keeps what the slot has.
TEST_F(ParamLogic, SetparTakesEveryNumberAndRedrawsOnce) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        int k;
        double v, value;
        int position;
        const char* text;
    };
    // 5,001 leaves the slider where it is; -3 is taken as it is, not as its slider position
    // reads back; the lower bound lies in the x range 0 ... 1.
    const Case cases[] = {{a, 5, 5, 750, "5"},
                          {a, 5.001, 5.001, 750, "5,001"},
                          {a, -3, -3, 350, "-3"},
                          {a, -25, -25, 0, "-25"},
                          {a, 4, 4, 700, "4"},
                          {a, nan, 4, 700, "4"},
                          {a, inf, 4, 700, "4"},
                          {n, 2.7, 2, 600, "2"},
                          {n, -2.5, -3, 350, "-3"},
                          {n, -0.1, -1, 450, "-1"},
                          {anzf, 1, 2, 0, "2"},
                          {anzf, -7.9, 7, 5, "7"},
                          {anzf, 500.7, 500, 498, "500"},
                          {anzf, 1e12, 20000, 1000, "20000"},
                          {uf, 0.25, 0.25, 250, "0,25"},
                          {uf, 5, 0.5, 500, "0,5"}};
    for (const int k : {a, n, anzf})
        prepare(k, -10, 10);
    prepare(uf, 0, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.k << ": " << c.v);
        resetCounts();
        params::setpar(s, c.k, c.v);
        expectShows(c.k, c.value, c.text);
        EXPECT_EQ(s.params[c.k].sliderPos, c.position);
        EXPECT_EQ(redraws, std::isfinite(c.v) ? 1 : 0);
        EXPECT_EQ(calcs, redraws);
        EXPECT_FALSE(s.params[c.k].settingFlag);
    }
    EXPECT_EQ(s.params[uf].upperText, QStringLiteral("1"));
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
        const char* text;
    };
    const Case cases[] = {
        {uf, "uf = untere Grenze für Integralfunktion in f", true, true, 3, "3"},
        {anzf, "Stützstellenanzahl für f", true, false, 100, "100"},
        {a, "Parameter: a", false, false, 0, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.k);
        EXPECT_EQ(s.params[c.k].caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(s.params[c.k].valueHighlighted, c.highlighted);
        EXPECT_EQ(s.params[c.k].boundsLocked, c.locked);
        expectShows(c.k, c.value, c.text);
    }
    EXPECT_EQ(s.params[uf].lowerText, QStringLiteral("-10"));
    EXPECT_EQ(s.params[uf].upperText, QStringLiteral("10"));
    EXPECT_EQ(s.params[uf].sliderPos, 650);
    EXPECT_EQ(s.params[anzf].lowerText, QStringLiteral("2"));
    EXPECT_EQ(s.params[anzf].upperText, QStringLiteral("1002"));
}

TEST_F(ParamLogic, ALowerBoundStaysWithinTheIntervalOfItsCurve) {
    struct Case {
        int kind;
        double from, to, typed, value;
        const char* text;
    };
    const Case cases[] = {
        {core::kindFunction, 0, 0, 50, 0, "0"}, // the x range -10 ... 10
        {core::kindFunction, 0, 0, -4.5, -4.5, "-4,5"},
        {1, 2, 2, 7, 2.5, "2,5"},               // an empty curve interval becomes 2 ... 3
        {1, 0, 6, 0.12345, 0.12345, "0,12345"}, // kept exactly, not as the slider rounds it
        {1, 4, 0, 1, 1, "1"},                   // an interval that runs downwards
        {1, 4, 0, 5, 2, "2"},
    };
    makeLowerBound();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        s.lines[0].kind = c.kind;
        s.lines[0].intervalFrom = c.from;
        s.lines[0].intervalTo = c.to;
        params::setpar(s, uf, c.typed);
        expectShows(uf, c.value, c.text);
    }
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

TEST_F(ParamLogic, CoupledParameterTakesTheMouseCoordinate) {
    struct Case {
        int slot;
        double v;
        QString format;
        double value;
        QString field;
    };
    const Case cases[] = {
        {a, 2.3456, QStringLiteral("0.##"), 2.3456, QStringLiteral("2,35")},
        {a, -1.5, QStringLiteral("0.#"), -1.5, QStringLiteral("-1,5")},
        {30, 4, QStringLiteral("0.##"), 0, QString()}, // no engine variable: not coupled
    };
    makeFree(a, QStringLiteral("a"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        const QString before = s.params[c.slot].valueText;
        params::couple(s, c.slot, c.v, c.format);
        EXPECT_DOUBLE_EQ(s.params[c.slot].value, c.value);
        EXPECT_EQ(s.params[c.slot].valueText, c.field.isNull() ? before : c.field);
    }
    params::couple(s, -1, 3, QStringLiteral("0.##")); // none coupled
}

} // namespace
