#pragma once
// The program's help: German HTML pages built into the program, one per window and one on the
// notation of terms. F1 shows the page of the window that has the focus; the help window lists
// the pages and narrows the list to those that hold every word searched for.

#include <QString>
#include <QStringList>

#include <vector>

namespace mainwin {

struct HelpPage {
    QString file;  // "taschenrechner.html"
    QString title; // "Taschenrechner"
};

// All pages, in the order of the contents.
const std::vector<HelpPage>& helpPages();

// The address of a page for a text browser ("qrc:/hilfe/taschenrechner.html").
QString helpAddress(const QString& file);

// The page for the first of the windows that has one, given by their object names from the
// innermost outwards ("Text1", "minicalc", "mother"); the main window's page when none has.
QString helpPageFor(const QStringList& windowNames);

// A page's HTML; empty when there is no such page.
QString helpHtml(const QString& file);

// A page's text as the reader sees it, without markup.
QString helpText(const QString& file);

// The pages whose title or text holds every word of query, without regard to case, in the order
// of the contents; all pages when query has no word.
QStringList searchHelp(const QString& query);

// The about box: its title and its text with the program's version.
QString aboutTitle();
QString aboutText();

} // namespace mainwin
