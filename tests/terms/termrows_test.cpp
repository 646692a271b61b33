#include "terms/termrows.h"

#include "core/state.h"
#include "session/startup.h"
#include "terms/termcheck.h"

#include "support/printing.h"
#include "support/qtext.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace {

// A term window without the window: lines typed into the fields, applied as Enter applies them.
class TermRows : public ::testing::Test {
protected:
    std::optional<core::State> holder{std::in_place};
    core::State& st = *holder;
    int redraws = 0;
    int takeOvers = 0;

    void SetUp() override {
        session::startupState(st);
        st.busyFlag = 0;
        st.hooks.redrawall = [this] { ++redraws; };
        st.hooks.collectionTakeOver = [this] { ++takeOvers; };
    }
    // A state as at the start, for the next case of a table. The new state takes the place of
    // the old one, so st names it.
    void restart() {
        holder.emplace();
        SetUp();
    }

    void typeAndApply(const QStringList& lines) {
        for (int i = 0; i < core::lineCount; ++i)
            st.termEditor.texts[i] = lines.value(i);
        terms::setasein(st, int(lines.size()));
        terms::findandgetpre(st, 0);
    }
    void typeAndApply(std::initializer_list<const char*> lines) {
        QStringList typed;
        for (const char* line : lines)
            typed << q(line);
        typeAndApply(typed);
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

    // The commands of the rows, to be run later; each answers what the command returns.
    std::function<int()> deleting(int a) {
        return [this, a] { return int(terms::clr(st, a)); };
    }
    std::function<int()> inserting(int a, int j) {
        return [this, a, j] { return int(terms::add_before(st, a, j)); };
    }
    std::function<int()> pasting(int i, const QStringList& lines) {
        return [this, i, lines] { return terms::pasteLines(st, i, lines); };
    }
};

using Names = std::vector<QString>;
using Slots = std::vector<int>;

// Commands that have no line to work on, or no room, change nothing.
TEST_F(TermRows, CommandsWithoutALineOrRoomAreRefused) {
    struct Case {
        const char* what;
        int lines; // typed and applied before
        std::function<int()> command;
        int refused; // what the command answers
    };
    const Case cases[] = {
        {"deleting the only line", 1, deleting(0), 0},
        {"deleting below the lines in use", 2, deleting(2), 0},
        {"deleting line -1", 2, deleting(-1), 0},
        {"inserting below the lines in use", 2, inserting(2, 0), 0},
        {"inserting at line -1", 2, inserting(-1, 1), 0},
        {"inserting into 13 lines", 13, inserting(0, 0), 0},
        {"inserting after line 11 of 13", 13, inserting(11, 1), 0},
        {"pasting below the lines in use", 1, pasting(1, {q("g(x)=1"), q("h(x)=2")}), -1},
        {"pasting at line -1", 1, pasting(-1, {q("g(x)=1")}), -1},
        {"pasting nothing", 1, pasting(0, {}), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        QStringList typed;
        for (int i = 0; i < c.lines; ++i)
            typed << QStringLiteral("x+%1").arg(i);
        typeAndApply(typed);
        const auto texts = st.termEditor.texts;
        const Names before = names();

        EXPECT_EQ(c.command(), c.refused);
        EXPECT_EQ(st.linesInUse, c.lines);
        EXPECT_EQ(st.lastLine, c.lines - 1);
        EXPECT_EQ(names(), before);
        EXPECT_EQ(st.termEditor.texts, texts);
    }
}

// Deleting, inserting and pasting: each line keeps its record (name, slot) with its text, and
// the lines below move.
TEST_F(TermRows, LinesMoveWithTheirRecordsAndSlots) {
    struct Case {
        const char* what;
        int lines;                  // f(x)=x, g(x)=2*x, h(x)=3*x and empty ones, typed and applied
        bool intervalsView;         // switched to before the command
        const char* typedIntoLine1; // after the apply, not yet applied; or none
        std::function<int()> command;
        int result;        // true, or the last line pasted
        const char* texts; // the lines in use afterwards, joined by " | "
        const char* slotsInUse;
    };
    const Case cases[] = {
        {"deleting the first line", 3, false, nullptr, deleting(0), 1, "g(x) = 2*x | h(x) = 3*x",
         "1 2"},
        {"deleting the last line", 3, false, nullptr, deleting(2), 1, "f(x) = x | g(x) = 2*x",
         "0 1"},
        {"inserting before the second line", 2, false, nullptr, inserting(1, 0), 1,
         "f(x) = x |  | g(x) = 2*x", "0 2 1"},
        {"inserting after a line keeps the text typed below", 2, false, "g(x)=5*x", inserting(0, 1),
         1, "f(x) = x |  | g(x) = 5*x", "0 2 1"},
        {"inserting in the intervals view returns to it", 2, true, nullptr, inserting(0, 1), 1,
         "f: ] -oo; +oo [ |  | g: ] -oo; +oo [", "0 2 1"},
        {"pasting into a middle line overwrites the lines below and adds one", 3, false, nullptr,
         pasting(1, {q("p(x)=1"), q("q(x)=2"), q("r(x)=3")}), 3,
         "f(x) = x | p(x) = 1 | q(x) = 2 | r(x) = 3", "0 1 2 3"},
        {"pasting fewer lines than below leaves the rest", 3, false, nullptr,
         pasting(0, {q("u(x)=4"), q("v(x)=5")}), 1, "u(x) = 4 | v(x) = 5 | h(x) = 3*x", "0 1 2"},
        {"pasting in the intervals view fills only the lines in use", 2, true, nullptr,
         pasting(0, {q("0 ; 1"), q("-1 ; 2"), q("3 ; 4")}), 1, "f: ] 0 ; 1 [ | g: ] -1 ; 2 [",
         "0 1"},
        {"pasting beyond 13 lines leaves the rest out", 11, false, nullptr,
         pasting(10, {q("x+0"), q("x+1"), q("x+2"), q("x+3")}), 12,
         "f(x) = x | g(x) = 2*x | h(x) = 3*x |  |  |  |  |  |  |  | i(x) = x+0 | j(x) = x+1 | "
         "k(x) = x+2",
         "0 1 2 3 4 5 6 7 8 9 10 11 12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        QStringList typed = {q("f(x)=x"), q("g(x)=2*x"), q("h(x)=3*x")};
        typed.resize(c.lines);
        typeAndApply(typed);
        if (c.intervalsView) terms::setstate(st, 1);
        if (c.typedIntoLine1) st.termEditor.texts[1] = q(c.typedIntoLine1);
        const int redrawsBefore = redraws;

        EXPECT_EQ(c.command(), c.result);
        QStringList texts, slotsInUse;
        for (int i = 0; i < st.linesInUse; ++i) {
            texts << text(i);
            slotsInUse << QString::number(st.lines[i].slot);
            // The record's name is the one its text starts with.
            EXPECT_TRUE(text(i).startsWith(st.lines[i].name)) << i;
            EXPECT_EQ(st.lines[i].name.isEmpty(), text(i).isEmpty()) << i;
        }
        EXPECT_EQ(texts.join(QStringLiteral(" | ")), q(c.texts));
        EXPECT_EQ(slotsInUse.join(QLatin1Char(' ')), q(c.slotsInUse));
        EXPECT_EQ(st.lastLine, st.linesInUse - 1);
        EXPECT_EQ(st.termEditor.termState, c.intervalsView ? 1 : 0);
        // A record behind the lines in use holds no name that the next apply would still see.
        for (int i = st.linesInUse; i < core::lineCount; ++i)
            EXPECT_TRUE(st.lines[i].name.isEmpty()) << i;
        if (!c.intervalsView) {
            EXPECT_EQ(st.termEditor.statusText, q("Ok."));
            EXPECT_GT(redraws, redrawsBefore); // it applies
        }
    }
}

// A line that moves keeps its slot, and with it its colour, width and sample count; the deleted
// line's slot becomes the free one and goes, with its colour, to the next inserted line.
TEST_F(TermRows, SlotsCarryColourAndWidthWithTheirLines) {
    typeAndApply({"f(x)=x", "g(x)=2*x", "h(x)=3*x"});
    const core::Colour fColour = st.lineColours[0];
    const core::Colour gColour = st.lineColours[1];
    st.termEditor.currentLine = 1;
    terms::setlinewidth(st, 7); // entry "8"
    terms::setlinetype(st, 10);
    EXPECT_EQ(st.lineSlots[1].width, 7);
    EXPECT_EQ(st.lineSlots[0].width, 0);
    EXPECT_GE(takeOvers, 2);

    ASSERT_TRUE(terms::clr(st, 0));
    EXPECT_EQ(st.lines[0].slot, 1);
    EXPECT_EQ(st.lineColours[1], gColour);
    EXPECT_EQ(st.lines[0].lineWidth, 7);
    EXPECT_EQ(st.lineSlots[1].width, 7);
    EXPECT_EQ(st.lines[0].lineType, 10);
    EXPECT_EQ(st.params[core::firstSampleCountSlot + 1].label, q("anzg"));
    EXPECT_EQ(st.params[core::firstSampleCountSlot + 0].handle, -1);
    // f's slot is the free one now: the record behind the last line holds it.
    EXPECT_EQ(st.lines[2].slot, 0);

    // A chosen colour goes to the slot of the current line.
    const int redrawsBefore = redraws;
    st.termEditor.currentLine = 0;
    terms::setlinecolour(st, core::rgb(1, 2, 3));
    EXPECT_EQ(st.lineColours[1], core::rgb(1, 2, 3));
    EXPECT_EQ(st.storedColours[1], core::rgb(1, 2, 3));
    EXPECT_EQ(st.lineColours[0], fColour);
    EXPECT_GT(redraws, redrawsBefore);

    ASSERT_TRUE(terms::add_before(st, 1, 1));
    EXPECT_EQ(lineSlotsInUse(), (Slots{1, 2, 0}));
    EXPECT_EQ(st.lineColours[st.lines[2].slot], fColour);
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

TEST_F(TermRows, CopiedTermsOnePerLineWithOrWithoutParameterValues) {
    typeAndApply({"f(x)=a*x+ab", "", "g(t)=b*t-a", ""});
    st.params[st.findparam(q("a"))].value = -1.5;
    st.params[st.findparam(q("ab"))].value = 2;
    st.params[st.findparam(q("b"))].value = 0.25;
    EXPECT_EQ(terms::paracopy(st, 1), q("f(x)=(-1,5)*x+2\r\ng(t)=0,25*t-(-1,5)"));
    EXPECT_EQ(terms::paracopy(st, 0), q("f(x)=a*x+ab\r\ng(t)=b*t-a"));
    // A refused line is not copied with the term it had before.
    st.termEditor.texts[2] = q("sin(x)=x");
    terms::findandgetpre(st, 0);
    EXPECT_EQ(terms::paracopy(st, 0), q("f(x)=a*x+ab"));
    typeAndApply({""});
    EXPECT_EQ(terms::paracopy(st, 0), QString());
}

TEST(PastedText, SplitIntoLinesWithoutBlankOnes) {
    const std::pair<const char*, const char*> cases[] = {
        // text, its lines joined by " | "
        {"", ""},
        {"f(x)=x", "f(x)=x"},
        {" f(x) = x ", " f(x) = x "},
        {"f(x)=x\r\n", "f(x)=x"},
        {"f(x)=x\r\ng(x)=2", "f(x)=x | g(x)=2"},
        {"a\nb\rc\r\nd", "a | b | c | d"},
        {"\r\na\r\n\r\n  \r\nb\r\n\r\n\n", "a | b"},
        {"\r\n \t\n", ""},
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(terms::pastedLines(q(text)).join(QStringLiteral(" | ")), q(lines)) << text;
}

TEST_F(TermRows, CopiedTermsPastedBackGiveTheSameTerms) {
    typeAndApply({"f(x)=a*x^2", "", "x(t)=cos(t)", "y(t)=b*sin(t)", "g(x)=f(x)+1"});
    const QString copied = terms::paracopy(st, 0);
    terms::clrall(st);
    terms::setasein(st, 1);

    EXPECT_EQ(terms::pasteLines(st, 0, terms::pastedLines(copied)), 3);
    EXPECT_EQ(st.linesInUse, 4);
    EXPECT_EQ(lineSlotsInUse(), (Slots{0, 1, 2, 3}));
    EXPECT_EQ(st.termEditor.statusText, q("Ok."));
    EXPECT_GE(st.findparam(q("a")), core::firstFreeParamSlot);
    EXPECT_GE(st.findparam(q("b")), core::firstFreeParamSlot);
    EXPECT_EQ(terms::paracopy(st, 0), copied);
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

// The fitted window shows exactly the lines in use, at every font size of the pop-up menu: the
// last row lies inside it, no further row would, and no row overlaps the one above.
TEST(RowGeometry, TheFittedHeightHoldsExactlyTheRowsInUse) {
    for (int size = 8; size <= 26; size += 2) {
        const int h = terms::rowHeightTwips(size);
        for (int n = 1; n <= core::lineCount; ++n) {
            SCOPED_TRACE(testing::Message() << "size " << size << ", " << n << " lines");
            const int fitted = terms::fittedHeightTwips(size, n);
            EXPECT_LE(terms::rowTopTwips(n - 1, size) + h, fitted);
            EXPECT_GT(terms::rowTopTwips(n, size) + h, fitted);
            EXPECT_GE(terms::rowTopTwips(n, size), terms::rowTopTwips(n - 1, size) + h);
        }
    }
}

} // namespace
