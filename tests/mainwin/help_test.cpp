#include "calc/terminalcalc.h"
#include "core/version.h"
#include "mainwin/help.h"
#include "support/printing.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QString q(const char* s) {
    return QString::fromUtf8(s);
}

QStringList allPages() {
    QStringList files;
    for (const mainwin::HelpPage& page : mainwin::helpPages())
        files << page.file;
    return files;
}

TEST(Help, EveryPageIsThereWithItsTitleAndLinksToPagesThatAreThere) {
    const QRegularExpression title(QStringLiteral("<title>(.*)</title>"));
    const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""));
    QSet<QString> files;
    for (const mainwin::HelpPage& page : mainwin::helpPages()) {
        SCOPED_TRACE(page.file.toStdString());
        files.insert(page.file);
        const QString html = mainwin::helpHtml(page.file);
        ASSERT_FALSE(html.isEmpty());
        EXPECT_EQ(title.match(html).captured(1), page.title);
        EXPECT_TRUE(html.contains(QStringLiteral("<h1>") + page.title + QStringLiteral("</h1>")));
        for (auto m = link.globalMatch(html); m.hasNext();) {
            const QString target = m.next().captured(1);
            EXPECT_TRUE(allPages().contains(target)) << target.toStdString();
        }
    }
    EXPECT_EQ(files.size(), qsizetype(mainwin::helpPages().size())); // each page once
    EXPECT_TRUE(mainwin::helpHtml(q("fehlt.html")).isEmpty());
    EXPECT_TRUE(mainwin::helpHtml(QString()).isEmpty());
}

// Names from the widget that has the focus outwards to the main window.
TEST(Help, TheWindowThatHoldsTheFocusChoosesThePage) {
    struct Case {
        QStringList names;
        const char* page;
    };
    const Case cases[] = {
        {{q("mother")}, "hauptfenster.html"},
        {{q("fnam3"), q("termform"), q("termformFrame"), q("mother")}, "funktionsterme.html"},
        {{q("Picture1"), q("graphform"), q("mother")}, "graphik.html"},
        {{q("HScroll1"), q("para28"), q("mother")}, "parameterfenster.html"},
        {{q("Text3"), q("para0")}, "parameterfenster.html"},
        {{q("Text1"), q("Dialog"), q("para28"), q("mother")}, "timer.html"},
        {{q("von0"), q("interform")}, "bereich.html"},
        {{q("optionsgraph")}, "einstellungen.html"},
        {{q("optionszoom")}, "einstellungen.html"},
        {{q("List1"), q("sammlung")}, "sammlung.html"},
        {{q("Asymptoten")}, "geraden.html"},
        {{q("Punkte")}, "punkte.html"},
        {{q("Text2"), q("minicalc"), q("minicalcFrame"), q("mother")}, "taschenrechner.html"},
        {{q("List1"), q("Parameter"), q("mother")}, "parameterliste.html"},
        {{q(""), q("parameter"), q("paraX"), q("para"), q("mother")}, "hauptfenster.html"},
        {{}, "hauptfenster.html"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mainwin::helpPageFor(c.names), q(c.page)) << c.names.join(q(" ")).toStdString();
}

TEST(Help, SearchFindsPagesThatHoldEveryWord) {
    struct Case {
        const char* query;
        QStringList pages; // empty: all pages
        bool none;
    };
    const Case cases[] = {
        {"", {}, false},
        {"STELLENZAHL", {q("taschenrechner.html")}, false},
        {"Schieberegler",
         {q("hauptfenster.html"), q("schreibweise.html"), q("parameterfenster.html")},
         false},
        {"wenn  Dezimalkomma", {q("schreibweise.html")}, false},
        {"Zoom Faktor", {q("graphik.html"), q("einstellungen.html")}, false},
        {"Wurzel(x) xyzzy", {}, true},
        {"href", {}, true}, // markup is not text
        {"&lt;", {}, true}, // entities are read as the characters they stand for
        {"richtungsumkehr", {q("timer.html")}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        const QStringList found = mainwin::searchHelp(q(c.query));
        if (c.none)
            EXPECT_TRUE(found.isEmpty()) << found.join(q(" ")).toStdString();
        else
            EXPECT_EQ(found, c.pages.isEmpty() ? allPages() : c.pages);
    }
    EXPECT_TRUE(mainwin::helpText(q("schreibweise.html")).contains(q("wenn(x > 0; wurzel(x); 0)")));
}

// The examples of the notation page give the values it shows.
TEST(Help, TheExamplesOfTheNotationWorkAsShown) {
    const QString html = mainwin::helpHtml(q("schreibweise.html"));
    const QRegularExpression row(
        QStringLiteral(R"(<tr class="beispiel"><td><code>(.*?)</code></td><td>(.*?)</td></tr>)"));
    calc::TerminalCalc calculator(false, 1, 10);
    int examples = 0;
    for (auto m = row.globalMatch(html); m.hasNext(); ++examples) {
        const auto match = m.next();
        QString term = match.captured(1);
        term.replace(q("&lt;"), q("<")).replace(q("&gt;"), q(">")).replace(q("&amp;"), q("&"));
        const QString shown = match.captured(2);
        EXPECT_EQ(calculator.processLine(term).replace(QLatin1Char('.'), QLatin1Char(',')), shown)
            << term.toStdString();
    }
    EXPECT_GE(examples, 20);
}

TEST(Help, TheAboutBoxNamesTheVersion) {
    EXPECT_EQ(mainwin::aboutTitle(), q("Über Kurvatur 2"));
    EXPECT_TRUE(mainwin::aboutText().contains(q("Version ") + core::programVersion()));
    EXPECT_TRUE(core::programVersion().contains(QRegularExpression(q("^\\d+\\.\\d+\\.\\d+$"))));
}

} // namespace
