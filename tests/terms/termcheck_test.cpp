#include "terms/termcheck.h"

#include "core/state.h"
#include "engine/enginedefs.h"
#include "engine/linedefs.h"
#include "engine/translate.h"
#include "session/applydata.h"
#include "support/printing.h"
#include "support/qtext.h"
#include "support/termlines.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

// What the stored term means to the engine, so that tests need not spell out the marker.
QString engineForm(const QString& stored) {
    return engine::translate(stored, true, QStringList{});
}

class TermCheck : public ::testing::Test {
protected:
    core::State st;

    void SetUp() override {
        st.busyFlag = 0;
        st.hooks.applydata = [this] { session::applydata(st); };
    }

    // Back to a term window that was never applied (State itself cannot be copied: it owns the
    // engine).
    void fresh() {
        st.initrecords();
        st.resetnames();
        st.termEditor = core::TermEditor{};
    }

    // The engine as the data-set assembly leaves it before the check: reset, fixed variables,
    // predefinitions.
    void prepareEngine() {
        engine::resetengine(st);
        st.engine.setVariable(st.handles.x, 1);
        engine::initengine(st.engine);
    }

    void type(std::initializer_list<const char*> lines) { testsupport::typeLines(st, lines); }

    QString check() {
        prepareEngine();
        return terms::checknames(st);
    }

    const QString& text(int i) const { return st.termEditor.texts[i]; }
    const core::FuncLine& line(int i) const { return st.lines[i]; }
};

// The lines typed at once, the message checknames returns, and what the records make of them.
struct LinesCase {
    std::vector<const char*> typed;
    const char* message;
    std::vector<const char*> rewritten; // each line's text afterwards; empty: not looked at
    const char* meaning = "";           // line 0's stored term as the engine reads it
    std::vector<int> kinds = {};        // each line's kind; empty: all plain functions
};

TEST_F(TermCheck, TypedLinesBecomeRecordsOrAreRefusedWithTheirMessage) {
    const char* tooManyEquals = "Zu viele Gleichheitszeichen!";
    const std::vector<LinesCase> cases{
        {{"  x ^ 2 + 1,5 "}, "", {"f(x) = x ^ 2 + 1,5"}, "_x^2+1.5"},
        {{"f(x)=a*x^2"}, "", {"f(x) = a*x^2"}, "a*_x^2"},
        {{" g ( t ) =  sin(t) + t2 + at "}, "", {"g(t) = sin(t) + t2 + at"}, "sin(_x)+t2+at"},
        {{"f(x)=a=b"}, "", {"f(x) = a=b"}, "a=b"},
        {{"f(x)==1"}, tooManyEquals, {"f(x)==1"}},
        {{"f(x)=1==2"}, tooManyEquals, {"f(x)=1==2"}},
        {{"(x)=x"}, "Funktionsname fehlt!", {"(x)=x"}},
        {{"f(x)="}, "Funktionsterm fehlt!", {"f(x)="}},
        {{"sin(x)=x"}, "Funktionsname sin wird bereits verwendet!", {"sin(x)=x"}},
        {{"wurzel(x)=x"}, "Funktionsname wurzel wird bereits verwendet!", {"wurzel(x)=x"}},
        // no variable: the running variable x, so that x is no parameter
        {{"f=x^2"}, "", {"f(x) = x^2"}, "_x^2"},
        {{"f()=x^2"}, "", {"f(x) = x^2"}, "_x^2"},
        // the variable in capitals is the same name to the engine
        {{"f(x)=X^2+x"}, "", {"f(x) = X^2+x"}, "_x^2+_x"},
        {{"f(X)=x"}, "", {"f(X) = x"}, "_x"},
        // a call written with blanks keeps its blanks in the line
        {{"sin x"}, "", {"f(x) = sin x"}, "sin(_x)"},
        // x and y lines of the same rest form a curve: the x line gets the y line's index
        {{"xa(t)=cos(t)", "", "", "ya(t)=sin(t)"}, "", {}, "", {3, -2, -2, -1}},
        {{"y(t)=t", "x(t)=t^2"}, "", {}, "", {-1, 0}},
        {{"ya(t)=t", "xa(t)=t"}, "", {}, "", {-1, 0}},
        {{"xy(t)=t", "yy(t)=t", "y(t)=t"}, "", {}, "", {1, -1, -2}},
        {{"f(x)=x", "", "xa(t)=t", "", "", "x(t)=t"}, "", {}},
        {{"xb(t)=t", "ya(t)=t"}, "", {}},
        {{"xA(t)=t", "ya(t)=t"}, "", {}}, // the rest must match exactly
        // heads without a variable take t where the line is the x or y part of a curve
        {{"xk = t", "yk = t^2"}, "", {"xk(t) = t", "yk(t) = t^2"}, "_x", {1, -1}},
        {{"x = cos(t)", "y = sin(t)"}, "", {"x(t) = cos(t)", "y(t) = sin(t)"}, "", {1, -1}},
        {{"ya = t", "", "xa = t^2"}, "", {"ya(t) = t", "", "xa(t) = t^2"}, "", {-1, -2, 0}},
        {{"xk = t", "yk(s) = s"}, "", {"xk(t) = t", "yk(s) = s"}, "", {1, -1}},
        // no partner: functions of x
        {{"xk = t", "yb = t"}, "", {"xk(x) = t", "yb(x) = t"}, "t"},
        {{"xk = t", "Yk = t"}, "", {"xk(x) = t", "Yk(x) = t"}},
        {{"xk = t", "yk"}, "", {"xk(x) = t", "f(x) = yk"}},
    };
    for (const auto& c : cases) {
        std::string lines;
        for (const char* typed : c.typed)
            lines += std::string(typed) + " | ";
        SCOPED_TRACE(lines);
        fresh();
        testsupport::typeLines(st, c.typed);
        EXPECT_EQ(check(), q(c.message));
        for (std::size_t k = 0; k < c.typed.size(); ++k) {
            const int i = int(k);
            EXPECT_EQ(line(i).name.isEmpty(), *c.message || !*c.typed[k]) << "line " << k;
            if (!c.rewritten.empty()) {
                EXPECT_EQ(text(i), q(c.rewritten[k])) << "line " << k;
            }
            EXPECT_EQ(line(i).kind, c.kinds.empty() ? core::kindFunction : c.kinds[k])
                << "line " << k;
        }
        if (*c.meaning) {
            EXPECT_EQ(engineForm(line(0).term), q(c.meaning));
        }
    }
}

// A letter taken by an unnamed line above is refused to a line that names itself with it.
TEST_F(TermCheck, LinesWithoutNameTakeTheNextFreeLetter) {
    type({"x^2", "2*x", "g(x)=1"});
    EXPECT_EQ(check(), QStringLiteral("Funktionsname g wird bereits verwendet!"));
    EXPECT_EQ(text(1), QStringLiteral("g(x) = 2*x"));
    EXPECT_EQ(line(2).name, QString());

    // Applied again, the lines keep their names: f and g now stand in the lines themselves.
    type({"f(x) = x^2", "g(x) = 2*x", "x+1"});
    EXPECT_EQ(check(), QString());
    EXPECT_EQ(text(2), QStringLiteral("h(x) = x+1"));
}

TEST_F(TermCheck, AnEmptyNamePoolIsRefilledWithoutTheNamesInUse) {
    st.freeNames.clear();
    type({"f(x)=1", "x^2", "i(x)=3", "x"});
    st.lines[2].name = QStringLiteral("i"); // left from the previous check
    EXPECT_EQ(check(), QString());
    EXPECT_EQ(line(1).name, QStringLiteral("g"));
    EXPECT_EQ(line(3).name, QStringLiteral("h"));
    EXPECT_FALSE(st.freeNames.contains(QLatin1Char('f')));
    EXPECT_FALSE(st.freeNames.contains(QLatin1Char('i')));
}

// A name in use is refused for a second line whatever its case; the messages of all refused
// lines run together in red.
TEST_F(TermCheck, RefusedLinesStayAsTypedAndTheirMessagesRunTogetherInRed) {
    int shown = 0;
    st.hooks.termStatusChanged = [&] { ++shown; };
    type({"f(x)=x", "f(x)==1", "x^2", "F(t)=2*t", "(x)=2", ""});
    const QString expected = QStringLiteral("Zu viele Gleichheitszeichen!") +
                             QStringLiteral("Funktionsname F wird bereits verwendet!") +
                             QStringLiteral("Funktionsname fehlt!");
    EXPECT_EQ(check(), expected);
    EXPECT_EQ(st.termEditor.statusText, expected);
    EXPECT_EQ(st.termEditor.statusColour, core::rgb(250, 0, 0));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(line(0).name, QStringLiteral("f"));
    EXPECT_EQ(line(2).name, QStringLiteral("g")); // the good line between is still taken
    EXPECT_EQ(line(3).name, QString());
    EXPECT_EQ(text(3), QStringLiteral("F(t)=2*t")); // left as typed for the user to mend

    type({"x^2", ""});
    EXPECT_EQ(check(), QString());
    EXPECT_EQ(st.termEditor.statusText, QStringLiteral("o.k."));
    EXPECT_EQ(st.termEditor.statusColour, terms::statusNormal);
}

TEST_F(TermCheck, EachViewLeavesTheLinesOfTheOtherAlone) {
    type({"g(x)=x"});
    st.lines[0].name = QStringLiteral("f");
    st.termEditor.termState = 1;
    EXPECT_EQ(check(), QString());
    EXPECT_EQ(line(0).name, QStringLiteral("f"));
    EXPECT_EQ(text(0), QStringLiteral("g(x)=x"));

    st.termEditor.texts[0] = QStringLiteral("f: ] 0 ; 1 [");
    st.termEditor.termState = 0;
    EXPECT_EQ(terms::readintervals(st), QString());
    EXPECT_EQ(line(0).lowerText, QString());
}

// Inputs a user may well type; none may crash, hang, or leave a rejected line with a name.
TEST_F(TermCheck, StrangeInputIsHandledWithoutFailure) {
    const char* const heads[] = {
        ")x(=1",      ")(=1",       "f)x(=1",     "f(x=1",   "fx)=1",    "((x))=1",
        "ä(x)=x",     "f(ä)=ä^2+ö", "größe(x)=x", "2f(x)=x", "f g(x)=x", "f(x)(y)=x",
        "f(_x)=_x^2", "f(x;y)=x",   "====",       "==",      "=",        "((((((",
        "f=",         "f()=",       "f( )=x",     "€(x)=1",  "xk=t",     "y=t"};
    const char* const terms[] = {"f(x)=ä*x+ü", "f(x)=x !_x! x", "f(x)=\t x",        "=sin x",
                                 "f(x)=sin ",  "f(x)=sin ((((", "Wurzel Betrag -x", "f(x)=x x x"};
    std::vector<QString> inputs;
    for (const char* t : heads)
        inputs.push_back(q(t));
    for (const char* t : terms)
        inputs.push_back(q(t));
    const QString longTerm = QStringLiteral("x+").repeated(5000) + QStringLiteral("1");
    inputs.push_back(QStringLiteral("f(x)=") + QStringLiteral("sin ").repeated(500) +
                     QStringLiteral("x"));
    inputs.push_back(QStringLiteral("f(x)=") + longTerm);
    inputs.push_back(longTerm);
    inputs.push_back(QStringLiteral("a").repeated(3000) + QStringLiteral("(x)=x"));
    for (const QString& input : inputs) {
        SCOPED_TRACE(input.left(60).toStdString());
        fresh();
        st.termEditor.texts[0] = input;
        st.linesInUse = 1;
        st.lastLine = 0;
        const QString message = check();
        EXPECT_EQ(message.isEmpty(), !line(0).name.isEmpty()) << message.toStdString();
        if (!line(0).name.isEmpty()) {
            // An accepted line reads back to itself: applying it twice changes nothing.
            const QString once = text(0);
            const QString term = line(0).term;
            EXPECT_EQ(check(), QString());
            EXPECT_EQ(text(0), once);
            EXPECT_EQ(line(0).term, term);
        }
        EXPECT_EQ(st.engine.error(), 0); // no error left pending for the next check
    }
}

// A last line beyond the table is not followed: all thirteen lines are checked, no more.
TEST_F(TermCheck, ThirteenLinesAtOnce) {
    type({"x", "x^2", "x^3", "x^4", "x^5", "x^6", "x^7", "x^8", "x^9", "x^10", "x^11", "x^12",
          "x^13"});
    st.lastLine = 40;
    EXPECT_EQ(check(), QString());
    const QString letters = QStringLiteral("fghijklmnopqr");
    for (int i = 0; i < core::lineCount; ++i)
        EXPECT_EQ(line(i).name, QString(letters[i]));
    EXPECT_EQ(st.freeNames, QStringLiteral("stuvwxyz"));
    st.lastLine = -1;
    EXPECT_EQ(check(), QString());
}

TEST_F(TermCheck, ACurveFallsApartWhenItsYLineIsGone) {
    type({"xa(t)=cos(t)", "ya(t)=sin(t)"});
    ASSERT_EQ(check(), QString());
    ASSERT_EQ(line(0).kind, 1);
    st.termEditor.texts[1] = QStringLiteral("ya(t)==1");
    EXPECT_EQ(check(), QStringLiteral("Zu viele Gleichheitszeichen!"));
    EXPECT_EQ(line(0).kind, core::kindFunction);
    EXPECT_EQ(line(1).kind, core::kindFunction);
}

TEST_F(TermCheck, TheViewsShowTermsOrIntervals) {
    type({"xa(t)=cos(t)", "f(x)=x^2", "", "ya(t)=sin(t)", "f(x)==2"});
    check();
    st.lines[1].intervalText = QStringLiteral("0 ; +oo");

    terms::setstate(st, 1);
    const auto& ed = st.termEditor;
    EXPECT_EQ(ed.termState, 1);
    EXPECT_EQ(ed.windowCaption, QStringLiteral("Darstellungsintervalle"));
    EXPECT_EQ(ed.backButtonCaption, QStringLiteral("Terme"));
    EXPECT_TRUE(ed.editTermsEnabled);
    EXPECT_FALSE(ed.editIntervalEnabled);
    EXPECT_EQ(text(0), q("Param. für xa: ] -oo; +oo ["));
    EXPECT_EQ(text(1), QStringLiteral("f: ] 0 ; +oo ["));
    EXPECT_EQ(text(3), QString()); // the y part of the curve
    EXPECT_EQ(text(4), QString()); // the rejected line has no record to show

    terms::setstate(st, -1); // redisplay keeps the view
    EXPECT_EQ(ed.termState, 1);

    terms::setstate(st, 0);
    EXPECT_EQ(ed.windowCaption, QStringLiteral("Funktionsterme"));
    EXPECT_EQ(ed.backButtonCaption, QStringLiteral("[ a ; b ]"));
    EXPECT_FALSE(ed.editTermsEnabled);
    EXPECT_TRUE(ed.editIntervalEnabled);
    EXPECT_EQ(text(0), QStringLiteral("xa(t) = cos(t)"));
    EXPECT_EQ(text(3), QStringLiteral("ya(t) = sin(t)"));
    EXPECT_EQ(text(4), QString());
}

class Intervals : public TermCheck {
protected:
    void SetUp() override {
        TermCheck::SetUp();
        prepareEngine();
    }
    // Named lines in the intervals view with the given texts.
    void typeIntervals(std::initializer_list<const char*> lines) {
        type(lines);
        int i = 0;
        for (auto& l : st.lines) {
            if (i < st.linesInUse && l.name.isEmpty()) l.name = QString(QChar(u'f' + i));
            ++i;
        }
        st.termEditor.termState = 1;
    }
};

struct IntervalCase {
    const char* typed;
    const char* lower;
    const char* upper;
    const char* rewritten;
};

TEST_F(Intervals, BoundsAreReadAndTheLineRewritten) {
    const std::vector<IntervalCase> cases{
        {"f: ] 0 ;", "0", "", "f: ] 0 ; +oo ["},
        {"f: ] -oo ; 3 [", "", "3", "f: ] -oo ; 3 ["},
        {"f: ] 1,5 ; 2*pi [", "1,5", "2*pi", "f: ] 1,5 ; 2*pi ["},
        {"]-1;1[", "-1", "1", "f: ] -1 ; 1 ["},
        {"-2 ; oo", "-2", "", "f: ] -2 ; +oo ["},
        {"f: [ a ; b ]", "a", "b", "f: ] a ; b ["},
        {"f: ] ; [", "", "", "f: ] -oo ; +oo ["},
        {"g: ] 0 ; 1 [", "0", "1", "f: ] 0 ; 1 ["}, // the name typed does not rename the line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        st.lines[0].lowerText = QStringLiteral("old");
        st.lines[0].upperText = QStringLiteral("old");
        typeIntervals({c.typed});
        EXPECT_EQ(terms::readintervals(st), QString());
        EXPECT_EQ(line(0).lowerText, q(c.lower));
        EXPECT_EQ(line(0).upperText, q(c.upper));
        EXPECT_EQ(text(0), q(c.rewritten));
        EXPECT_EQ(st.termEditor.statusText, QStringLiteral("o.k."));
    }
}

TEST_F(Intervals, ALineWithoutSemicolonKeepsItsBoundsAndTheOthersAreRead) {
    typeIntervals({"f: ] 0 [", "g: ] 1 ; 2 ["});
    st.lines[0].lowerText = QStringLiteral("-1");
    st.lines[0].upperText = QStringLiteral("1");
    EXPECT_EQ(terms::readintervals(st), QStringLiteral("Semikolon fehlt!"));
    EXPECT_EQ(line(0).lowerText, QStringLiteral("-1"));
    EXPECT_EQ(line(0).upperText, QStringLiteral("1"));
    EXPECT_EQ(text(0), QStringLiteral("f: ] 0 ["));
    EXPECT_EQ(text(1), QStringLiteral("g: ] 1 ; 2 ["));
    EXPECT_EQ(line(1).intervalText, QStringLiteral("1 ; 2"));
    EXPECT_EQ(st.termEditor.statusText, QStringLiteral("Semikolon fehlt!"));
    EXPECT_TRUE(st.termEditor.statusIsError());
}

TEST_F(Intervals, CurvesShowTheirPrefixAndTheirYPartIsLeftAlone) {
    typeIntervals({"Param. für xa: ] 0 ; 2*pi [", "", ""});
    st.lines[0].name = QStringLiteral("xa");
    st.lines[0].kind = 2;
    st.lines[2].name = QStringLiteral("ya");
    st.lines[2].kind = core::kindCurvePart;
    st.lines[2].intervalText = QStringLiteral("unchanged");
    st.lines[1].name.clear();
    st.lines[1].lowerText = QStringLiteral("5");
    EXPECT_EQ(terms::readintervals(st), QString());
    EXPECT_EQ(line(0).lowerText, QStringLiteral("0"));
    EXPECT_EQ(line(0).upperText, QStringLiteral("2*pi"));
    EXPECT_EQ(text(0), q("Param. für xa: ] 0 ; 2*pi ["));
    EXPECT_EQ(line(2).intervalText, QStringLiteral("unchanged"));
    EXPECT_EQ(text(2), QString());
    // An empty line keeps its bounds; a line without name is not rewritten.
    EXPECT_EQ(line(1).lowerText, QStringLiteral("5"));
    EXPECT_EQ(text(1), QString());
}

TEST_F(Intervals, TheBoundsAreEvaluatedAfterTheRangeWindowApplied) {
    int applied = 0;
    st.hooks.rangeApply = [&] { ++applied; };
    st.ranges.xMin = -4;
    st.ranges.xMax = 6;
    st.ranges.tMin = 1;
    st.ranges.tMax = 2;
    typeIntervals({"f: ] -1,5 ; ", "g: ] ; 2*pi [", "h: ] 1/0 ; qq+ ["});
    st.lines[1].kind = 2;
    st.lines[2].kind = core::kindFunction;
    EXPECT_EQ(terms::readintervals(st), QString());
    EXPECT_EQ(applied, 1);
    EXPECT_DOUBLE_EQ(line(0).intervalFrom, -1.5);
    EXPECT_DOUBLE_EQ(line(0).intervalTo, 6);   // open end: the x range
    EXPECT_DOUBLE_EQ(line(1).intervalFrom, 1); // a curve: the parameter range
    EXPECT_NEAR(line(1).intervalTo, 6.283185307179586, 1e-12);
    EXPECT_DOUBLE_EQ(line(2).intervalFrom, -4); // not a number: the range instead
    EXPECT_DOUBLE_EQ(line(2).intervalTo, 6);
    EXPECT_EQ(st.engine.error(), 0);
}

TEST(Entpara, ParametersInUseBecomeTheirValues) {
    core::State st;
    auto setParam = [&](int k, const char* label, int handle, double value) {
        st.params[k].label = QString::fromUtf8(label);
        st.params[k].handle = handle;
        st.params[k].value = value;
    };
    setParam(28, "a", 0, 2.5);
    setParam(29, "b", 1, -3);
    setParam(30, "c", -1, 7); // free slot: stays a name
    setParam(0, "uf = untere Grenze für Integralfunktion in f", 3, 1);
    setParam(13, "anzf", 4, 500);
    setParam(32, "", 5, 9);

    struct Case {
        const char* in;
        const char* out;
    };
    const std::vector<Case> cases{
        {"a*x^2+b*x+c", "2,5*x^2+(-3)*x+c"},
        {"ab+a2+ba+a(1)+a'", "ab+a2+ba+a(1)+a'"}, // only whole words
        {"uf+anzf", "1+500"},
        {"A*x+B", "2,5*x+(-3)"}, // names as the engine reads them, without regard to case
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(terms::entpara(st, QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST_F(TermCheck, ApplyingRunsTheAssemblyAndTellsTheWindows) {
    int arranged = 0, redrawn = 0, takenOver = 0, rangeApplied = 0;
    st.hooks.arrangeParams = [&] { ++arranged; };
    st.hooks.redrawall = [&] { ++redrawn; };
    st.hooks.collectionTakeOver = [&] { ++takenOver; };
    st.hooks.rangeApply = [&] { ++rangeApplied; };
    type({"a*x^2"});

    terms::findandgetpre(st, 0);
    EXPECT_EQ(st.termEditor.statusText, QStringLiteral("Ok.")); // the assembly's, not the check's
    EXPECT_EQ(arranged, 0);
    EXPECT_EQ(takenOver, 1);

    // The parameter windows may redraw on their own; the apply command adds one redraw for
    // line 0 and none otherwise.
    auto redrawsOf = [&](const std::function<void()>& run) {
        const int before = redrawn;
        run();
        return redrawn - before;
    };
    const int byAssembly = redrawsOf([&] { session::applydata(st); });
    EXPECT_EQ(redrawsOf([&] { terms::findandget(st, 0); }), byAssembly + 1);
    EXPECT_EQ(redrawsOf([&] { terms::findandget(st, 1); }), byAssembly);
    EXPECT_EQ(takenOver, 1);

    st.arrangeParamsOnApply = true;
    const int arrangedBefore = arranged;
    terms::findandget(st, 1);
    EXPECT_GT(arranged, arrangedBefore);

    terms::setstate(st, 1);
    st.termEditor.texts[0] = QStringLiteral("f: ] 0 ; 1 [");
    terms::findandgetpre(st, 0);
    EXPECT_EQ(rangeApplied, 1);
    EXPECT_EQ(takenOver, 2);
    EXPECT_EQ(line(0).upperText, QStringLiteral("1"));
    EXPECT_EQ(line(0).name, QStringLiteral("f")); // the terms were not checked again
}

} // namespace
