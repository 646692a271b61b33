#include "terms/termrows.h"

#include "core/state.h"
#include "session/startup.h"
#include "terms/termcheck.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

QString q(const char* s) {
    return QString::fromUtf8(s);
}

// A term window without the window: lines typed into the fields, applied as Enter applies them.
class TermRows : public ::testing::Test {
protected:
    core::State st;
    int redraws = 0;
    int takeOvers = 0;

    void SetUp() override {
        session::startupState(st);
        st.busyFlag = 0;
        st.hooks.redrawall = [this] { ++redraws; };
        st.hooks.collectionTakeOver = [this] { ++takeOvers; };
    }

    void typeAndApply(std::initializer_list<const char*> lines) {
        int i = 0;
        for (const char* line : lines)
            st.termEditor.texts[i++] = q(line);
        terms::setasein(st, i);
        terms::findandgetpre(st, 0);
    }

    std::vector<QString> names() const {
        std::vector<QString> out;
        for (int i = 0; i < st.linesInUse; ++i)
            out.push_back(st.lines[i].name);
        return out;
    }
    std::vector<int> lineSlotsInUse() const {
        std::vector<int> out;
        for (int i = 0; i < st.linesInUse; ++i)
            out.push_back(st.lines[i].slot);
        return out;
    }
    const QString& text(int i) const { return st.termEditor.texts[i]; }
};

using Names = std::vector<QString>;
using Slots = std::vector<int>;

TEST_F(TermRows, ThirteenLinesLeaveNoRoomToInsert) {
    for (int i = 0; i < core::lineCount; ++i)
        st.termEditor.texts[i] = QStringLiteral("x+%1").arg(i);
    terms::setasein(st, core::lineCount);
    terms::findandgetpre(st, 0);
    const auto before = st.termEditor.texts;

    EXPECT_FALSE(terms::add_before(st, 0, 0));
    EXPECT_FALSE(terms::add_before(st, 5, 1));
    EXPECT_FALSE(terms::add_before(st, 11, 1));
    EXPECT_EQ(st.linesInUse, 13);
    EXPECT_EQ(st.lastLine, 12);
    EXPECT_EQ(st.termEditor.texts, before);
}

TEST_F(TermRows, TheOnlyLineCannotBeDeleted) {
    typeAndApply({"f(x)=x"});
    EXPECT_FALSE(terms::clr(st, 0));
    EXPECT_EQ(st.linesInUse, 1);
    EXPECT_EQ(text(0), q("f(x) = x"));
    EXPECT_EQ(st.lines[0].name, q("f"));
}

TEST_F(TermRows, LinesOutsideTheLinesInUseAreNoTarget) {
    typeAndApply({"f(x)=x", "g(x)=2*x"});
    EXPECT_FALSE(terms::clr(st, 2));
    EXPECT_FALSE(terms::clr(st, -1));
    EXPECT_FALSE(terms::add_before(st, 2, 0));
    EXPECT_FALSE(terms::add_before(st, -1, 1));
    EXPECT_EQ(names(), (Names{q("f"), q("g")}));
}

TEST_F(TermRows, DeletingTheFirstLineMovesTheOthersUpWithTheirSlots) {
    typeAndApply({"f(x)=x", "g(x)=2*x", "h(x)=3*x"});
    ASSERT_EQ(lineSlotsInUse(), (Slots{0, 1, 2}));
    const core::Colour gColour = st.lineColours[1];

    ASSERT_TRUE(terms::clr(st, 0));
    EXPECT_EQ(names(), (Names{q("g"), q("h")}));
    EXPECT_EQ(lineSlotsInUse(), (Slots{1, 2}));
    EXPECT_EQ(st.lineColours[st.lines[0].slot], gColour);
    EXPECT_EQ(text(0), q("g(x) = 2*x"));
    EXPECT_EQ(text(1), q("h(x) = 3*x"));
    EXPECT_EQ(st.linesInUse, 2);
    EXPECT_EQ(st.lastLine, 1);
    // f's slot is the free one now: the record behind the last line holds it, empty.
    EXPECT_EQ(st.lines[2].slot, 0);
    EXPECT_TRUE(st.lines[2].name.isEmpty());
    EXPECT_TRUE(text(2).isEmpty());
    // The sample-count parameters went with their lines.
    EXPECT_EQ(st.params[core::firstSampleCountSlot + 1].label, q("anzg"));
    EXPECT_EQ(st.params[core::firstSampleCountSlot + 0].handle, -1);
    EXPECT_EQ(st.termEditor.statusText, q("Ok."));

    // The next inserted line takes the free slot, and with it f's colour.
    ASSERT_TRUE(terms::add_before(st, 1, 1));
    EXPECT_EQ(lineSlotsInUse(), (Slots{1, 2, 0}));
    EXPECT_TRUE(text(2).isEmpty());
}

TEST_F(TermRows, InsertingBeforeTheSecondLine) {
    typeAndApply({"f(x)=x", "g(x)=2*x"});
    const int redrawsBefore = redraws;
    ASSERT_TRUE(terms::add_before(st, 1, 0));
    EXPECT_EQ(names(), (Names{q("f"), QString(), q("g")}));
    EXPECT_EQ(lineSlotsInUse(), (Slots{0, 2, 1}));
    EXPECT_EQ(text(0), q("f(x) = x"));
    EXPECT_TRUE(text(1).isEmpty());
    EXPECT_EQ(text(2), q("g(x) = 2*x"));
    EXPECT_EQ(st.linesInUse, 3);
    EXPECT_GT(redraws, redrawsBefore); // it applies
    EXPECT_EQ(st.termEditor.statusText, q("Ok."));
}

TEST_F(TermRows, InsertingAfterALineKeepsUnappliedTextsWithTheirLines) {
    typeAndApply({"f(x)=x", "g(x)=2*x"});
    st.termEditor.texts[1] = q("g(x)=5*x"); // typed, not yet applied
    ASSERT_TRUE(terms::add_before(st, 0, 1));
    EXPECT_EQ(text(0), q("f(x) = x"));
    EXPECT_TRUE(text(1).isEmpty());
    EXPECT_EQ(text(2), q("g(x) = 5*x"));
}

TEST_F(TermRows, ANewLineIsEmptyWhateverTheLineItWasCopiedFrom) {
    typeAndApply({"f(x)=x"});
    st.termEditor.currentLine = 0;
    terms::swvis(st);
    terms::setlinetype(st, 4);
    st.lines[0].lowerText = q("1");
    ASSERT_TRUE(terms::add_before(st, 0, 0));
    const core::FuncLine& fresh = st.lines[0];
    EXPECT_TRUE(fresh.drawn);
    EXPECT_EQ(fresh.lineType, 0);
    EXPECT_TRUE(fresh.lowerText.isEmpty());
    EXPECT_EQ(fresh.intervalText, q("-oo; +oo"));
    EXPECT_EQ(fresh.slot, 1);
    // The old line below keeps what it had.
    EXPECT_FALSE(st.lines[1].drawn);
    EXPECT_EQ(st.lines[1].lineType, 4);
}

TEST_F(TermRows, InsertingInTheIntervalsViewReturnsToIt) {
    typeAndApply({"f(x)=x", "g(x)=2*x"});
    terms::setstate(st, 1);
    ASSERT_TRUE(terms::add_before(st, 0, 1));
    EXPECT_EQ(st.termEditor.termState, 1);
    EXPECT_EQ(text(0), q("f: ] -oo; +oo ["));
    EXPECT_TRUE(text(1).isEmpty());
    EXPECT_EQ(text(2), q("g: ] -oo; +oo ["));
    EXPECT_EQ(names(), (Names{q("f"), QString(), q("g")}));
}

TEST_F(TermRows, ADeletedOneLetterNameGoesBackToThePool) {
    typeAndApply({"f(x)=x", "k(x)=2*x", "x^3"});
    EXPECT_FALSE(st.freeNames.contains(QLatin1Char('k')));
    EXPECT_EQ(st.lines[2].name, q("g"));
    ASSERT_TRUE(terms::clr(st, 1));
    EXPECT_TRUE(st.freeNames.endsWith(QLatin1Char('k')));
    EXPECT_EQ(st.freeNames.count(QLatin1Char('k')), 1);

    // A longer name, or a letter still in the pool, changes nothing.
    typeAndApply({"f(x)=x", "abc(x)=2*x"});
    const QString pool = st.freeNames;
    ASSERT_TRUE(terms::clr(st, 1));
    EXPECT_EQ(st.freeNames, pool);
}

TEST_F(TermRows, DeletingTheLastLineLeavesNoNameBehind) {
    typeAndApply({"f(x)=x", "g(x)=a*x"});
    ASSERT_TRUE(terms::clr(st, 1));
    EXPECT_EQ(names(), (Names{q("f")}));
    EXPECT_EQ(st.findparam(q("a")), -1);
    EXPECT_EQ(st.findparam(q("anzg")), -1);
    EXPECT_TRUE(st.lines[1].name.isEmpty());
}

TEST_F(TermRows, CopiedTermsAreJoinedByLineBreaksOnly) {
    typeAndApply({"f(x)=x^2", "", "h(t)=2*t"});
    EXPECT_EQ(terms::paracopy(st, 0), q("f(x)=x^2\r\nh(t)=2*t"));
    typeAndApply({"f(x)=x^2", "g(x)=1", ""});
    EXPECT_EQ(terms::paracopy(st, 0), q("f(x)=x^2\r\ng(x)=1"));
    typeAndApply({""});
    EXPECT_EQ(terms::paracopy(st, 0), QString());
    // A refused line is not copied with the term it had before.
    typeAndApply({"f(x)=x", "g(x)=x"});
    st.termEditor.texts[1] = q("sin(x)=x");
    terms::findandgetpre(st, 0);
    EXPECT_EQ(terms::paracopy(st, 0), q("f(x)=x"));
}

TEST_F(TermRows, CopiedTermsWithParameterValues) {
    typeAndApply({"f(x)=a*x+ab", "g(x)=b-a"});
    const int a = st.findparam(q("a"));
    const int ab = st.findparam(q("ab"));
    const int b = st.findparam(q("b"));
    ASSERT_GE(a, core::firstFreeParamSlot);
    st.params[a].value = -1.5;
    st.params[ab].value = 2;
    st.params[b].value = 0.25;
    EXPECT_EQ(terms::paracopy(st, 1), q("f(x)=(-1,5)*x+2\r\ng(x)=0,25-(-1,5)"));
    EXPECT_EQ(terms::paracopy(st, 0), q("f(x)=a*x+ab\r\ng(x)=b-a"));
}

TEST(PastedText, SplitIntoLinesWithoutBlankOnes) {
    struct Case {
        const char* text;
        std::vector<const char*> lines;
    };
    const std::vector<Case> cases{
        {"", {}},
        {"f(x)=x", {"f(x)=x"}},
        {" f(x) = x ", {" f(x) = x "}},
        {"f(x)=x\r\n", {"f(x)=x"}},
        {"f(x)=x\r\ng(x)=2", {"f(x)=x", "g(x)=2"}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"\r\na\r\n\r\n  \r\nb\r\n\r\n\n", {"a", "b"}},
        {"\r\n \t\n", {}},
    };
    for (const Case& c : cases) {
        QStringList expected;
        for (const char* line : c.lines)
            expected << q(line);
        EXPECT_EQ(terms::pastedLines(q(c.text)), expected) << c.text;
    }
}

TEST_F(TermRows, CopiedTermsPastedBackGiveTheSameTerms) {
    typeAndApply({"f(x)=a*x^2", "", "x(t)=cos(t)", "y(t)=b*sin(t)", "g(x)=f(x)+1"});
    const QString copied = terms::paracopy(st, 0);
    terms::clrall(st);
    terms::setasein(st, 1);

    EXPECT_EQ(terms::pasteLines(st, 0, terms::pastedLines(copied)), 3);
    EXPECT_EQ(st.linesInUse, 4);
    EXPECT_EQ(names(), (Names{q("f"), q("x"), q("y"), q("g")}));
    EXPECT_EQ(lineSlotsInUse(), (Slots{0, 1, 2, 3}));
    EXPECT_EQ(text(0), q("f(x) = a*x^2"));
    EXPECT_EQ(st.termEditor.statusText, q("Ok."));
    EXPECT_GE(st.findparam(q("a")), core::firstFreeParamSlot);
    EXPECT_GE(st.findparam(q("b")), core::firstFreeParamSlot);
    EXPECT_EQ(terms::paracopy(st, 0), copied);
}

TEST_F(TermRows, PastingIntoAMiddleLineOverwritesTheLinesBelowAndAddsMore) {
    typeAndApply({"f(x)=x", "g(x)=2*x", "h(x)=3*x"});
    EXPECT_EQ(terms::pasteLines(st, 1, {q("p(x)=1"), q("q(x)=2"), q("r(x)=3")}), 3);
    EXPECT_EQ(names(), (Names{q("f"), q("p"), q("q"), q("r")}));
    // The added line takes the free slot, as an inserted line does.
    EXPECT_EQ(lineSlotsInUse(), (Slots{0, 1, 2, 3}));
    EXPECT_EQ(text(0), q("f(x) = x"));
    EXPECT_EQ(st.lastLine, 3);
    EXPECT_EQ(st.termEditor.statusText, q("Ok."));

    // Fewer lines than below: the rest stays.
    EXPECT_EQ(terms::pasteLines(st, 0, {q("u(x)=4"), q("v(x)=5")}), 1);
    EXPECT_EQ(names(), (Names{q("u"), q("v"), q("q"), q("r")}));
}

TEST_F(TermRows, PastedLinesBeyondThirteenAreLeftOut) {
    QStringList many;
    for (int i = 0; i < 5; ++i)
        many << QStringLiteral("x+%1").arg(i);
    typeAndApply({"f(x)=x", "", "", "", "", "", "", "", "", "", ""});
    EXPECT_EQ(terms::pasteLines(st, 10, many), 12);
    EXPECT_EQ(st.linesInUse, 13);
    EXPECT_EQ(text(10), q("g(x) = x+0"));
    EXPECT_EQ(text(12), q("i(x) = x+2"));
}

TEST_F(TermRows, PastingInTheIntervalsViewFillsOnlyTheLinesInUse) {
    typeAndApply({"f(x)=x", "g(x)=2*x"});
    terms::setstate(st, 1);
    EXPECT_EQ(terms::pasteLines(st, 0, {q("0 ; 1"), q("-1 ; 2"), q("3 ; 4")}), 1);
    EXPECT_EQ(st.linesInUse, 2);
    EXPECT_EQ(st.lines[0].lowerText, q("0"));
    EXPECT_EQ(st.lines[1].upperText, q("2"));
    EXPECT_EQ(st.termEditor.termState, 1);
}

TEST_F(TermRows, PastingNeedsALineInUseAndSomethingToPaste) {
    typeAndApply({"f(x)=x"});
    EXPECT_EQ(terms::pasteLines(st, 1, {q("g(x)=1"), q("h(x)=2")}), -1);
    EXPECT_EQ(terms::pasteLines(st, -1, {q("g(x)=1")}), -1);
    EXPECT_EQ(terms::pasteLines(st, 0, {}), -1);
    EXPECT_EQ(names(), (Names{q("f")}));
}

TEST_F(TermRows, LineWidthAndStyleBelongToTheLineAndItsSlot) {
    typeAndApply({"f(x)=x", "g(x)=2*x"});
    st.termEditor.currentLine = 1;
    terms::setlinewidth(st, 0); // entry "1"
    EXPECT_EQ(st.lines[1].lineWidth, 0);
    EXPECT_EQ(st.lineSlots[1].width, 0);
    terms::setlinewidth(st, 7); // entry "8"
    EXPECT_EQ(st.lines[1].lineWidth, 7);
    EXPECT_EQ(st.lineSlots[1].width, 7);
    terms::setlinetype(st, 10);
    EXPECT_EQ(st.lines[1].lineType, 10);
    EXPECT_EQ(st.lineSlots[0].width, 0);
    EXPECT_GE(takeOvers, 3);

    // Moving up, g keeps its width through its slot.
    ASSERT_TRUE(terms::clr(st, 0));
    EXPECT_EQ(st.lines[0].lineWidth, 7);
    EXPECT_EQ(st.lineSlots[st.lines[0].slot].width, 7);
    EXPECT_EQ(st.lines[0].lineType, 10);
}

TEST_F(TermRows, AChosenColourGoesToTheSlotOfTheCurrentLine) {
    typeAndApply({"f(x)=x", "g(x)=2*x"});
    ASSERT_TRUE(terms::clr(st, 0)); // g now in line 0 with slot 1
    st.termEditor.currentLine = 0;
    const int redrawsBefore = redraws;
    terms::setlinecolour(st, core::rgb(1, 2, 3));
    EXPECT_EQ(st.lineColours[1], core::rgb(1, 2, 3));
    EXPECT_EQ(st.storedColours[1], core::rgb(1, 2, 3));
    EXPECT_EQ(st.lineColours[0], core::rgb(0, 0, 255));
    EXPECT_GT(redraws, redrawsBefore);
}

TEST_F(TermRows, ClearingAllEmptiesEveryLineAndApplies) {
    typeAndApply({"f(x)=a*x", "g(x)=2*x", "k(x)=1"});
    st.termEditor.currentLine = 1;
    terms::swvis(st);
    terms::setlinewidth(st, 3);
    st.extraLinesText = q("x=1");
    st.pointsText = q("P(1;2)");
    st.rangeFields[0][0] = q("-5");
    terms::setstate(st, 1);

    terms::clrall(st);
    EXPECT_EQ(st.linesInUse, 3); // the rows stay, empty
    for (int i = 0; i < core::lineCount; ++i) {
        EXPECT_TRUE(text(i).isEmpty()) << i;
        EXPECT_TRUE(st.lines[i].name.isEmpty()) << i;
        EXPECT_TRUE(st.lines[i].drawn) << i;
        EXPECT_EQ(st.lines[i].lineWidth, 0) << i;
        EXPECT_EQ(st.lineSlots[i].width, 0) << i;
    }
    EXPECT_TRUE(st.extraLinesText.isEmpty());
    EXPECT_TRUE(st.pointsText.isEmpty());
    EXPECT_TRUE(st.rangeFields[0][0].isEmpty());
    EXPECT_EQ(st.freeNames, q("fghijklmnopqrstuvwxyz"));
    EXPECT_EQ(st.termEditor.termState, 0);
    EXPECT_EQ(st.findparam(q("a")), -1);
    EXPECT_EQ(st.termEditor.statusText, q("Ok."));
}

TEST_F(TermRows, SettingUpTheRowsForLoadedRecords) {
    st.lines[0].name = q("f");
    st.lines[0].variable = q("x");
    st.lines[0].shownTerm = q("x^2");
    st.lines[0].lowerText = q("0");
    st.lines[0].lineWidth = 4;
    st.lines[0].lowerBound = 25; // outside -10 ... 10
    st.lines[1].name = q("g");
    st.lines[1].variable = q("x");
    st.lines[1].shownTerm = q("1");
    st.lines[1].upperText = q("pi");
    st.lines[1].lowerBound = -3;
    terms::setstate(st, 1);

    terms::init(st, 2);
    EXPECT_EQ(st.linesInUse, 2);
    EXPECT_EQ(st.termEditor.termState, 0);
    EXPECT_EQ(st.lines[0].intervalText, q("0 ; +oo"));
    EXPECT_EQ(st.lines[1].intervalText, q("-oo ; pi"));
    EXPECT_EQ(st.lineSlots[0].width, 4);
    EXPECT_EQ(st.lines[0].lowerBound, -10);
    EXPECT_EQ(st.lines[1].lowerBound, -3);
    EXPECT_EQ(text(0), q("f(x) = x^2"));
    EXPECT_FALSE(st.termEditor.editTermsEnabled);
    EXPECT_TRUE(st.termEditor.editIntervalEnabled);

    terms::init(st, 0); // no lines: one empty line is shown
    EXPECT_EQ(st.linesInUse, 1);
    EXPECT_EQ(st.lastLine, 0);
}

TEST_F(TermRows, RowGeometryInTwips) {
    EXPECT_EQ(terms::rowHeightTwips(10), 395);
    EXPECT_EQ(terms::rowHeightTwips(8), 361);
    EXPECT_EQ(terms::rowTopTwips(0, 10), terms::rowsTopTwips);
    EXPECT_EQ(terms::rowTopTwips(3, 10), terms::rowsTopTwips + 3 * 410);
    // The fitted height holds every row with its gap and the margin below.
    EXPECT_EQ(terms::fittedHeightTwips(10, 1), 410 + terms::rowsTopTwips + 60);
    EXPECT_EQ(terms::fittedHeightTwips(12, 13), 13 * 444 + terms::rowsTopTwips + 60);
}

} // namespace
