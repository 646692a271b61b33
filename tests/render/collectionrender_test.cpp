// Drawing a collection's entry from the command line, as the real program does it: the same
// picture as its lines, values and ranges typed in; the current data; values and lines given over
// the entry's; and the files and entries that are not there. The home folder stays empty.

#include "collection/collectionsupport.h"
#include "collection/reader.h"
#include "collection/writer.h"
#include "core/state.h"
#include "engine/attributes.h"

#include "support/emptyhome.h"
#include "support/picture.h"
#include "support/printing.h"

#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

using namespace collection;
using namespace Qt::StringLiterals;
using testsupport::entry;
using testsupport::Outcome;

constexpr QSize size(300, 200);

// The attribute list of a fresh state with the angle unit degrees.
QString degreesAttributes() {
    core::State fresh;
    QStringList items = engine::attrlist(fresh).split(QLatin1Char(':'));
    items[21] = u"2"_s;
    return items.join(QLatin1Char(':'));
}

// The current data and four entries: a parabola, two lines, a sine in degrees and an entry with a
// parameter line that cannot be read.
Collection sampleCollection(const core::State& state) {
    Collection c = emptyCollection(state);
    c.currentData[termsField] = u"g(x)=x/2"_s;
    c.currentData[rangesField] = u"y[-5;5]"_s;
    c.entries = {
        entry({{shortField, u"Gerade"_s}, {termsField, u"f(x)=x"_s}}),
        entry({{shortField, u"Parabel"_s},
               {termsField, u"f(x)=a*x^2\r\ng(x)=x"_s},
               {paramsField, u"a=0,5"_s},
               {rangesField, u"x[-4;4]\r\ny[-2;2]"_s}},
              true),
        entry({{shortField, u"Sinus in Grad"_s},
               {termsField, u"f(x)=sin(x)"_s},
               {rangesField, u"x[0;300]\r\ny[-2;2]"_s},
               {attribsField, degreesAttributes()}}),
        entry({{shortField, u"Kaputt"_s}, {termsField, u"f(x)=a*x"_s}, {paramsField, u"a"_s}}),
    };
    return c;
}

// A line of an entry that does not give its sample count draws 499 intervals, as in the window,
// where typed lines take one per pixel column: the typed lines of these names are given that.
QStringList entryCounts(const QStringList& names) {
    QStringList options;
    for (const QString& name : names)
        options << u"--set"_s << u"anz"_s + name + u"=500"_s;
    return options;
}

// The rows and the picture of a run that went well.
void expectDrawn(const Outcome& r, const QImage& image) {
    ASSERT_TRUE(r.finished) << r.err.constData();
    EXPECT_EQ(r.code, 0) << r.err.constData();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    EXPECT_EQ(image.size(), size);
}

class CollectionRender : public testsupport::EmptyHomeRun {
protected:
    void SetUp() override {
        EmptyHomeRun::SetUp();
        sample = fileWith(u"beispiele.kur"_s, collectionBytes(sampleCollection(state), state));
    }

    // A run that draws into the picture of that name at 300 x 200 pixels.
    Outcome render(const QString& picture, const QStringList& options) {
        return run(QStringList{u"--render"_s, files.filePath(picture), u"--size"_s, u"300x200"_s} +
                   options);
    }

    Outcome renderEntry(const QString& picture, const QString& which,
                        const QStringList& options = {}) {
        return render(picture,
                      QStringList{u"--collection"_s, sample, u"--entry"_s, which} + options);
    }

    QImage picture(const QString& name) const { return QImage(files.filePath(name)); }

    // The run with the collection's options prints the same rows and draws the same picture,
    // pixel by pixel, as the run with the options typed.
    void expectSamePicture(const QStringList& fromCollection, const QStringList& typed) {
        const Outcome drawn = render(u"eintrag.png"_s, fromCollection);
        expectDrawn(drawn, picture(u"eintrag.png"_s));
        const Outcome asTyped = render(u"getippt.png"_s, typed);
        expectDrawn(asTyped, picture(u"getippt.png"_s));
        EXPECT_EQ(drawn.out, asTyped.out);
        EXPECT_TRUE(picture(u"eintrag.png"_s) == picture(u"getippt.png"_s));
    }

    core::State state;
    QString sample;
};

TEST_F(CollectionRender, AnEntryDrawsAsItsLinesValuesAndRangesTyped) {
    struct Case {
        QString which;       // the entry, empty for the current data
        QStringList options; // given after the entry
        QStringList typed;   // the same picture, typed in
    };
    const QStringList parabola =
        QStringList{u"--term"_s,  u"f(x) = a*x^2"_s, u"--term"_s,  u"g(x) = x"_s,
                    u"--range"_s, u"x=-4:4"_s,       u"--range"_s, u"y=-2:2"_s} +
        entryCounts({u"f"_s, u"g"_s});
    const QStringList line = QStringList{u"--term"_s, u"f(x) = x"_s} + entryCounts({u"f"_s});
    // Which entry a name or position picks: collectionrun_test.cpp; here that the picked one draws.
    const std::vector<Case> cases{
        {u" 2"_s, {}, parabola + QStringList{u"--set"_s, u"a=0,5"_s}},
        // a value given overrides the entry's
        {u"Parabel"_s, {u"--set"_s, u"a=-1"_s}, parabola + QStringList{u"--set"_s, u"a=-1"_s}},
        // ranges given are applied after the entry's
        {u"Parabel"_s,
         {u"--range"_s, u"x=-1:1"_s},
         parabola + QStringList{u"--set"_s, u"a=0,5"_s, u"--range"_s, u"x=-1:1"_s}},
        // a line given takes the place of the entry's first; the second stays
        {u"Parabel"_s,
         {u"--term"_s, u"h(x) = 1"_s},
         QStringList{u"--term"_s, u"h(x) = 1"_s, u"--term"_s, u"g(x) = x"_s, u"--range"_s,
                     u"x=-4:4"_s, u"--range"_s, u"y=-2:2"_s} +
             entryCounts({u"h"_s, u"g"_s})},
        {u"Gerade"_s, {}, line},
        {{},
         {},
         QStringList{u"--term"_s, u"g(x) = x/2"_s, u"--range"_s, u"y=-5:5"_s} +
             entryCounts({u"g"_s})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.which + u" "_s + c.options.join(u" "_s)).toStdString());
        const QStringList from =
            (c.which.isEmpty() ? QStringList{u"--collection"_s, sample}
                               : QStringList{u"--collection"_s, sample, u"--entry"_s, c.which}) +
            c.options;
        expectSamePicture(from, c.typed);
    }
}

TEST_F(CollectionRender, ThirteenLinesDrawAsTyped) {
    QStringList typed;
    for (int i = 0; i < 13; ++i)
        typed << u"--term"_s << u"x+"_s + QString::number(i);
    const Outcome named = render(u"namen.png"_s, typed);
    ASSERT_EQ(named.code, 0) << named.err.constData();
    // The lines with the names the term window gave them, as the entry keeps them.
    QStringList lines;
    QStringList names;
    for (const QString& row : QString::fromUtf8(named.out).split(QLatin1Char('\n'))) {
        if (!row.startsWith(u"line\t"_s)) continue;
        lines << row.section(QLatin1Char('\t'), 2).remove(QLatin1Char(' '));
        names << lines.back().section(QLatin1Char('('), 0, 0);
    }
    ASSERT_EQ(lines.size(), 13) << named.out.constData();

    Collection c = emptyCollection(state);
    c.entries = {entry({{shortField, u"Dreizehn"_s}, {termsField, lines.join(u"\r\n"_s)}})};
    const QString file = fileWith(u"dreizehn.kur"_s, collectionBytes(c, state));
    expectSamePicture({u"--collection"_s, file, u"--entry"_s, u"Dreizehn"_s},
                      typed + entryCounts(names));
}

TEST_F(CollectionRender, TheEntrysAngleUnitApplies) {
    const Outcome r = renderEntry(u"grad.png"_s, u"Sinus in Grad"_s);
    const QImage image = picture(u"grad.png"_s);
    expectDrawn(r, image);
    // One degree per pixel across, 50 pixels per unit up.
    const auto rowAt = [](double c) { return 100 - 50 * std::sin(c * std::numbers::pi / 180); };
    EXPECT_GT(testsupport::expectOnlyTheLine(image, rowAt, 2), 250);
}

TEST_F(CollectionRender, AFieldThatCannotBeAppliedIsNamed) {
    const Outcome r = renderEntry(u"kaputt.png"_s, u"Kaputt"_s);
    ASSERT_TRUE(r.finished) << r.err.constData();
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "Eingabefeld \"Parameter\": Ungültige Zeile!\n");
    EXPECT_TRUE(r.out.contains("line\t0\tf(x) = a*x\n")) << r.out.constData();
    EXPECT_EQ(picture(u"kaputt.png"_s).size(), size);
}

// Nothing drawn and nothing printed: the reason alone, after "Fehler: ".
TEST_F(CollectionRender, MissingEntriesAndUnreadableFilesGiveTheReason) {
    const QString missing = files.filePath(u"fehlt.kur"_s);
    const QString broken = fileWith(u"kaputt.kur"_s, testsupport::fileOf({u"{short:A}"_s}));
    const QString cutShort = fileWith(
        u"kurz.kur"_s, testsupport::fileOf({u"[Funktionenplotter]"_s, u"{short:A"_s, u"a=1"_s}));
    struct Case {
        QStringList from;
        QString err;
    };
    const std::vector<Case> cases{
        {{u"--collection"_s, sample, u"--entry"_s, u"Kreis"_s},
         u"Eintrag \"Kreis\" nicht gefunden."_s},
        {{u"--collection"_s, sample, u"--entry=5"_s}, u"Eintrag \"5\" nicht gefunden."_s},
        {{u"--collection"_s, missing}, u"Die Datei \"%1\" gibt es nicht."_s.arg(missing)},
        {{u"--collection"_s, broken, u"--entry"_s, u"A"_s}, missingIdentification},
        {{u"--collection"_s, cutShort}, unexpectedEnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from.join(u" "_s).toStdString());
        const Outcome r = render(u"nichts.png"_s, c.from);
        ASSERT_TRUE(r.finished) << r.err.constData();
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
        EXPECT_EQ(r.err, (u"Fehler: "_s + c.err + u"\n"_s).toUtf8());
        EXPECT_FALSE(QFileInfo::exists(files.filePath(u"nichts.png"_s)));
    }
}

} // namespace
