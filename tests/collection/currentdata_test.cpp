// The current state kept as an entry and drawn again: a state typed as a teacher would type it
// goes through aktpuff, the file writer and reader, and colget into a fresh state, and comes back
// the same.

#include "collection/currentdata.h"
#include "collection/reader.h"
#include "collection/writer.h"
#include "core/numbers.h"
#include "core/state.h"
#include "params/paramlogic.h"
#include "session/applydata.h"
#include "session/ranges.h"
#include "session/startup.h"

#include "support/printing.h"
#include "support/recordingmessages.h"
#include "support/termlines.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using collection::Field;

void prepare(core::State& state, std::shared_ptr<platform::RecordingMessages> messages) {
    state.messages = std::move(messages);
    session::startupState(state);
    state.busyFlag = 0;
}

void type(core::State& state, const QStringList& lines) {
    testsupport::typeLines(state, lines);
    ASSERT_TRUE(session::applydata(state));
}

void setParam(core::State& state, const char* name, double v) {
    const int k = state.findparam(QString::fromUtf8(name));
    ASSERT_GE(k, 0) << name;
    params::setpar(state, k, v);
}

// The state typed kept by aktpuff, written, read back and applied to a fresh state by tmpakt.
collection::ApplyStatus throughTheFile(core::State& typed, core::State& fresh,
                                       std::shared_ptr<platform::RecordingMessages> messages) {
    collection::Collection kept = collection::emptyCollection(typed);
    collection::aktpuff(kept, typed);
    const QByteArray bytes = collection::collectionBytes(kept, typed);
    prepare(fresh, std::move(messages));
    collection::Collection read = collection::emptyCollection(fresh);
    EXPECT_EQ(collection::readcollection(read, bytes, fresh), QString());
    EXPECT_TRUE(read.currentDataFound);
    return collection::tmpakt(read, fresh);
}

// What the user sees of the state, one line per item, so that a difference names itself.
QStringList picture(const core::State& state) {
    QStringList items;
    const auto n = [](double v) { return core::germanNumber(v); };
    items << QStringLiteral("lines %1").arg(state.linesInUse);
    for (int i = 0; i < state.linesInUse; ++i) {
        const auto& l = state.lines[i];
        items << QStringLiteral(
                     "%1: %2(%3)=%4 drawn %5 [%6;%7] kind %8 width %9 type %10 colour %11")
                     .arg(i)
                     .arg(l.name, l.variable, l.shownTerm)
                     .arg(l.drawn)
                     .arg(l.lowerText, l.upperText)
                     .arg(l.kind)
                     .arg(l.lineWidth)
                     .arg(l.lineType)
                     .arg(state.lineColours[l.slot])
              << QStringLiteral("   translated %1 integral %2")
                     .arg(state.lineSlots[l.slot].translated, state.lineSlots[l.slot].integralSpec);
    }
    for (int k = 0; k < core::paramCount; ++k) {
        const auto& p = state.params[k];
        if (p.handle == -1) continue;
        items << QStringLiteral("param %1 %2 = %3 in [%4;%5] step %6 mode %7")
                     .arg(k)
                     .arg(p.label, n(p.value), n(p.minimum), n(p.maximum), n(p.step))
                     .arg(p.timerMode);
    }
    const auto& r = state.ranges;
    items << QStringLiteral("x %1 %2 y %3 %4 t %5 %6")
                 .arg(n(r.xMin), n(r.xMax), n(r.yMin), n(r.yMax), n(r.tMin), n(r.tMax));
    for (const auto& row : state.rangeFields)
        items << QStringLiteral("typed [%1;%2]").arg(row[0], row[1]);
    items << QStringLiteral("lines text ") + state.extraLinesText
          << QStringLiteral("points text ") + state.pointsText
          << QStringLiteral("status ") + state.termEditor.statusText;
    return items;
}

struct Case {
    const char* what;
    std::function<void(core::State&)> typeState;
};

const std::vector<Case> teacherStates = {
    {"nothing typed", [](core::State& s) { type(s, {QString()}); }},
    {"the width and colour of a line not typed yet",
     [](core::State& s) {
         type(s, {QString()});
         s.lines[0].lineWidth = 2;
         s.lineSlots[0].width = 2;
         s.lineColours[0] = core::rgb(1, 2, 3);
     }},
    {"13 lines",
     [](core::State& s) {
         type(s,
              {QStringLiteral("f(x)=x^2"), QStringLiteral("g(x)=x^3-2*x"),
               QStringLiteral("h(x)=sin(x)"), QStringLiteral("i(x)=cos(x)"),
               QStringLiteral("j(x)=1/x"), QStringLiteral("k(x)=sqrt(x)"),
               QStringLiteral("l(x)=abs(x)"), QStringLiteral("m(x)=exp(x)"),
               QStringLiteral("n(x)=ln(x)"), QStringLiteral("o(x)=x+1"), QStringLiteral("p(x)=2*x"),
               QStringLiteral("q(x)=-x"), QStringLiteral("r(x)=x^4")});
     }},
    {"parameters moved, timer steps and bounds",
     [](core::State& s) {
         type(s, {QStringLiteral("f(x)=a*x^2+b"), QStringLiteral("g(x)=c*x")});
         setParam(s, "a", 2.5);
         setParam(s, "b", -1);
         setParam(s, "c", 0.125);
         const int b = s.findparam(QStringLiteral("b"));
         params::setparb(s, b, -5, 5);
         const int a = s.findparam(QStringLiteral("a"));
         s.params[a].step = 0.5;
         s.params[a].timerMode = 1;
         s.params[s.findparam(QStringLiteral("c"))].step = 0;
     }},
    {"a curve with its t range, a hidden line and definition intervals",
     [](core::State& s) {
         s.ranges.tMin = -3;
         s.ranges.tMax = 6.5;
         type(s, {QStringLiteral("xa(t)=cos(t)"), QStringLiteral("ya(t)=sin(t)"),
                  QStringLiteral("f(x)=x^2"), QStringLiteral("g(x)=x")});
         s.lines[2].lowerText = QStringLiteral("-2");
         s.lines[2].upperText = QStringLiteral("3,5");
         s.lines[3].drawn = false;
         ASSERT_TRUE(session::applydata(s));
     }},
    {"a definition interval whose bounds are parameters",
     [](core::State& s) {
         type(s, {QStringLiteral("f(x)=x^2")});
         s.lines[0].lowerText = QStringLiteral("a");
         s.lines[0].upperText = QStringLiteral("b+1");
         session::makedtxt(s);
         ASSERT_TRUE(session::applydata(s));
         setParam(s, "a", -1);
         setParam(s, "b", 2);
     }},
    {"ranges as numbers and as typed, colours, widths, line types",
     [](core::State& s) {
         s.ranges = {-4, 6, -2.5, 12, 0, 10};
         s.rangeFields[0] = {QStringLiteral("-4"), QStringLiteral("2*3")};
         type(s, {QStringLiteral("f(x)=x^2"), QStringLiteral("g(x)=2*x")});
         s.lineColours[0] = core::rgb(12, 34, 56);
         s.lineColours[1] = core::rgb(200, 0, 100);
         s.lines[0].lineWidth = 3;
         s.lineSlots[0].width = 3;
         s.lines[1].lineType = 4;
     }},
    {"an integral function with its lower bound, additional lines and points",
     [](core::State& s) {
         s.extraLinesText = QStringLiteral("x=1:y=d\r\nx=2:y=3");
         s.pointsText = QStringLiteral("P(1|2)");
         type(s, {QStringLiteral("f(x)=x"), QStringLiteral("G(x)=F(x)")});
         params::setpar(s, s.lines[1].slot, 1.5);
         setParam(s, "d", -2);
     }},
};

TEST(CurrentData, TeacherStatesComeBackThroughTheFile) {
    for (const Case& c : teacherStates) {
        SCOPED_TRACE(c.what);
        auto messages = std::make_shared<platform::RecordingMessages>();
        core::State typed;
        prepare(typed, messages);
        c.typeState(typed);

        core::State fresh;
        EXPECT_EQ(throughTheFile(typed, fresh, messages).text, QStringLiteral("O.k."));
        EXPECT_EQ(picture(fresh), picture(typed));
        EXPECT_EQ(fresh.busyFlag, 0);
        EXPECT_TRUE(messages->shown.empty());
    }
}

// Numbers go through the file with all their digits: a range of 2*pi or a parameter of 1/3 comes
// back as the very value, not one rounded to the 15 digits the windows show.
TEST(CurrentData, NumbersComeBackAsTheVeryValue) {
    const double pi = 3.14159265358979323846;
    for (const double v : {2 * pi, 1.0 / 3, 0.1 + 0.2, -1e-7, 9.87654321012345678}) {
        SCOPED_TRACE(v);
        auto messages = std::make_shared<platform::RecordingMessages>();
        core::State typed;
        prepare(typed, messages);
        type(typed, {QStringLiteral("f(x)=a*x")});
        setParam(typed, "a", v);
        typed.ranges.xMax = 10 + v;
        core::State fresh;
        throughTheFile(typed, fresh, messages);
        EXPECT_EQ(fresh.params[fresh.findparam(QStringLiteral("a"))].value, v);
        EXPECT_EQ(fresh.ranges.xMax, 10 + v);
        EXPECT_TRUE(messages->shown.empty());
    }
}

// Each faulty field names itself on dark red; the fields before it stay applied and busyFlag is
// given back.
TEST(CurrentData, AFaultyFieldStopsTheApplyingAndNamesTheField) {
    struct Fault {
        Field field;
        const char* text;
        const char* status;
    };
    const std::vector<Fault> faults = {
        {collection::termsField, "f x = x", "Eingabefeld \"Funktionsterme\": Ungültige Zeile!"},
        {collection::rangesField, "z[1;2]", "Eingabefeld \"Intervalle\": Ungültige Zeile!"},
        {collection::rangesField, "x[1 2]",
         "Eingabefeld \"Intervalle\": Ungültige Intervallangabe!"},
        {collection::boundsField, "a[1]",
         "Eingabefeld \"Parameter-Grenzen\": Ungültige Intervallangabe!"},
        {collection::coloursField, "f255,", "Eingabefeld \"Farben\": Syntax-Fehler!"},
        {collection::widthsField, "f:dick,", "Eingabefeld \"Dicke\": Syntax-Fehler!"},
        {collection::attribsField, "Unsinn",
         "Eingabefeld \"Andere\": Fehler in der Sammlungsdatei, in Attribut-Zeile!"},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.text);
        core::State state;
        prepare(state, std::make_shared<platform::RecordingMessages>());
        collection::Fields fields;
        fields[collection::termsField] = QStringLiteral("f(x)=a*x");
        fields[f.field] = QString::fromUtf8(f.text);
        const collection::ApplyStatus status = collection::colget(state, fields);
        EXPECT_EQ(status.text, QString::fromUtf8(f.status));
        EXPECT_EQ(status.colour, collection::applyErrorColour);
        EXPECT_EQ(state.busyFlag, 0);
        if (f.field != collection::termsField && f.field != collection::attribsField) {
            EXPECT_EQ(state.lines[0].name, QStringLiteral("f"));
        }
    }
}

// Thirteen term lines are the term window's whole table; only a fourteenth is too many.
TEST(CurrentData, ThirteenTermLinesAreDrawnAndAFourteenthIsRefused) {
    for (int count : {12, 13, 14}) {
        SCOPED_TRACE(count);
        core::State state;
        prepare(state, std::make_shared<platform::RecordingMessages>());
        QStringList lines;
        for (int i = 0; i < count; ++i)
            lines << QStringLiteral("f%1(x)=x+%1").arg(i);
        collection::Fields fields;
        fields[collection::termsField] = lines.join(QStringLiteral("\r\n"));
        const collection::ApplyStatus status = collection::colget(state, fields);
        if (count <= core::lineCount) {
            EXPECT_TRUE(status.ok()) << status.text.toStdString();
            EXPECT_EQ(state.linesInUse, count);
            EXPECT_FALSE(state.lineSlots[count - 1].translated.isEmpty());
        } else {
            EXPECT_EQ(status.text,
                      QStringLiteral(
                          "Eingabefeld \"Funktionsterme\": Mehr als 13 Funktionsgleichungen!"));
        }
    }
}

// Older files keep the widths in one "$" line and may name a parameter "u..."; an entry without
// typed ranges empties those of the range window.
TEST(CurrentData, OlderWidthLineAndParametersBeginningWithU) {
    core::State state;
    prepare(state, std::make_shared<platform::RecordingMessages>());
    collection::Fields fields;
    fields[collection::termsField] = QStringLiteral("f(x)=ub*x\r\ng(x)=x\r\n$f3$g2$");
    fields[collection::lowerBoundField] = QStringLiteral("ub=0,25");
    state.rangeFields[1] = {QStringLiteral("-1"), QStringLiteral("1")};
    EXPECT_TRUE(collection::colget(state, fields).ok());
    EXPECT_EQ(state.lines[0].lineWidth, 3);
    EXPECT_EQ(state.lines[1].lineWidth, 2);
    EXPECT_EQ(state.params[state.findparam(QStringLiteral("ub"))].value, 0.25);
    EXPECT_TRUE(state.rangeFields[1][0].isEmpty());
}

} // namespace
