#pragma once
// The help window: the contents of all pages with a search field above them, and the page
// chosen. And the context help: F1 anywhere in the program shows the page of the window that
// holds the focus.

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace mainwin {

class HelpWindow : public QWidget {
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void showPage(const QString& file);
    // The file of the page shown ("taschenrechner.html").
    QString currentPage() const;

private:
    // The contents narrowed to the pages that hold every word of the search field.
    void filter();

    QLineEdit* search_;
    QListWidget* contents_;
    QTextBrowser* page_;
};

class ContextHelp : public QObject {
public:
    // Listens for F1 in every window of the program while mother lives.
    explicit ContextHelp(QWidget* mother);

    // Shows the help of the window that holds widget (the main window's when none).
    void showFor(QWidget* widget);
    // The help window of the program; made when first needed.
    HelpWindow* window();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* mother_;
    HelpWindow* window_ = nullptr;
};

} // namespace mainwin
