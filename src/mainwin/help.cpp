#include "mainwin/help.h"

#include "core/version.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

// The pages are compiled into a static library; its resources are registered on first use.
static void registerHelpPages() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(hilfe);
        return true;
    }();
    (void)registered;
}

namespace mainwin {

namespace {

const QString mainPage = QStringLiteral("hauptfenster.html");

// Object names of the windows and their pages; "para*" stands for the parameter windows, whose
// names are "para" and their slot.
const QHash<QString, QString>& pageOfWindow() {
    static const QHash<QString, QString> pages{
        {QStringLiteral("mother"), mainPage},
        {QStringLiteral("termform"), QStringLiteral("funktionsterme.html")},
        {QStringLiteral("graphform"), QStringLiteral("graphik.html")},
        {QStringLiteral("para*"), QStringLiteral("parameterfenster.html")},
        {QStringLiteral("Dialog"), QStringLiteral("timer.html")},
        {QStringLiteral("interform"), QStringLiteral("bereich.html")},
        {QStringLiteral("optionsgraph"), QStringLiteral("einstellungen.html")},
        {QStringLiteral("optionszoom"), QStringLiteral("einstellungen.html")},
        {QStringLiteral("sammlung"), QStringLiteral("sammlung.html")},
        {QStringLiteral("Asymptoten"), QStringLiteral("geraden.html")},
        {QStringLiteral("Punkte"), QStringLiteral("punkte.html")},
        {QStringLiteral("minicalc"), QStringLiteral("taschenrechner.html")},
        {QStringLiteral("Parameter"), QStringLiteral("parameterliste.html")},
    };
    return pages;
}

QString windowKind(const QString& name) {
    static const QRegularExpression paramWindow(QStringLiteral("^para\\d+$"));
    return paramWindow.match(name).hasMatch() ? QStringLiteral("para*") : name;
}

// Tags dropped, the entities the pages use read, blanks and line breaks made single blanks.
QString withoutMarkup(QString html) {
    static const QRegularExpression head(QStringLiteral("<head>.*</head>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    html.remove(head);
    html.replace(tag, QStringLiteral(" "));
    html.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    html.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    html.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    html.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    html.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return html.simplified();
}

} // namespace

const std::vector<HelpPage>& helpPages() {
    static const std::vector<HelpPage> pages{
        {mainPage, QStringLiteral("Das Hauptfenster")},
        {QStringLiteral("funktionsterme.html"), QStringLiteral("Funktionsterme")},
        {QStringLiteral("schreibweise.html"), QStringLiteral("Schreibweise der Terme")},
        {QStringLiteral("graphik.html"), QStringLiteral("Graphische Darstellung")},
        {QStringLiteral("bereich.html"), QStringLiteral("Dargestellter Bereich")},
        {QStringLiteral("parameterfenster.html"), QStringLiteral("Parameterfenster")},
        {QStringLiteral("timer.html"), QStringLiteral("Timer für einen Parameter")},
        {QStringLiteral("parameterliste.html"), QStringLiteral("Parameterauswahlliste")},
        {QStringLiteral("einstellungen.html"),
         QStringLiteral("Einstellungen zum Koordinatensystem und zum Zoom")},
        {QStringLiteral("sammlung.html"), QStringLiteral("Sammlung")},
        {QStringLiteral("geraden.html"), QStringLiteral("Zusätzliche Geraden")},
        {QStringLiteral("punkte.html"), QStringLiteral("Punkte")},
        {QStringLiteral("taschenrechner.html"), QStringLiteral("Taschenrechner")},
    };
    return pages;
}

QString helpAddress(const QString& file) {
    registerHelpPages();
    return QStringLiteral("qrc:/hilfe/") + file;
}

QString helpPageFor(const QStringList& windowNames) {
    for (const QString& name : windowNames) {
        const auto page = pageOfWindow().constFind(windowKind(name));
        if (page != pageOfWindow().cend()) return *page;
    }
    return mainPage;
}

QString helpHtml(const QString& file) {
    registerHelpPages();
    QFile page(QStringLiteral(":/hilfe/") + file);
    if (file.isEmpty() || !page.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(page.readAll());
}

QString helpText(const QString& file) {
    return withoutMarkup(helpHtml(file));
}

QStringList searchHelp(const QString& query) {
    const QStringList words = query.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList found;
    for (const HelpPage& page : helpPages()) {
        const QString text = page.title + QLatin1Char(' ') + helpText(page.file);
        if (std::all_of(words.cbegin(), words.cend(), [&](const QString& word) {
                return text.contains(word, Qt::CaseInsensitive);
            }))
            found << page.file;
    }
    return found;
}

QString aboutTitle() {
    return QStringLiteral("Über Kurvatur 2");
}

QString aboutText() {
    return QStringLiteral("Kurvatur 2\nFunktionsgraphen und Kurven mit dynamischen Parametern\n\n"
                          "Version ") +
           core::programVersion();
}

} // namespace mainwin
