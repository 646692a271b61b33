#include "mainwin/helpwindow.h"

#include "core/controltips.h"
#include "mainwin/help.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace mainwin {

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), search_(new QLineEdit(this)), contents_(new QListWidget(this)),
      page_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("hilfe"));
    setWindowTitle(QStringLiteral("Hilfe zu Kurvatur 2"));
    search_->setObjectName(QStringLiteral("Suche"));
    search_->setPlaceholderText(QStringLiteral("Suchen"));
    search_->setClearButtonEnabled(true);
    contents_->setObjectName(QStringLiteral("Inhalt"));
    page_->setObjectName(QStringLiteral("Seite"));
    page_->setOpenLinks(true);
    core::describe(search_, QStringLiteral("Suchen"),
                   QStringLiteral("Nur die Seiten zeigen, die alle diese Wörter enthalten"));
    core::describe(contents_, QStringLiteral("Inhalt"),
                   QStringLiteral("Die Seiten der Hilfe; ein Klick zeigt die Seite"));
    core::describe(page_, QStringLiteral("Hilfeseite"),
                   QStringLiteral("Die gewählte Seite der Hilfe; Verweise führen weiter"));

    auto* side = new QWidget(this);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(search_);
    column->addWidget(contents_);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(side);
    splitter->addWidget(page_);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    for (const HelpPage& page : helpPages()) {
        auto* item = new QListWidgetItem(page.title, contents_);
        item->setData(Qt::UserRole, page.file);
    }
    connect(search_, &QLineEdit::textChanged, this, [this] { filter(); });
    connect(contents_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showPage(item->data(Qt::UserRole).toString()); });
    connect(contents_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showPage(item->data(Qt::UserRole).toString()); });
    resize(760, 520);
}

void HelpWindow::showPage(const QString& file) {
    page_->setSource(QUrl(helpAddress(file)));
    // The first word searched for is found on the page as well.
    const QString word = search_->text().simplified().section(QLatin1Char(' '), 0, 0);
    if (!word.isEmpty()) page_->find(word);
}

QString HelpWindow::currentPage() const {
    return page_->source().fileName();
}

void HelpWindow::filter() {
    const QStringList found = searchHelp(search_->text());
    for (int i = 0; i < contents_->count(); ++i) {
        QListWidgetItem* item = contents_->item(i);
        item->setHidden(!found.contains(item->data(Qt::UserRole).toString()));
    }
}

ContextHelp::ContextHelp(QWidget* mother) : QObject(mother), mother_(mother) {
    qApp->installEventFilter(this);
}

void ContextHelp::showFor(QWidget* widget) {
    QStringList names;
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        // F1 on a help page keeps that page.
        if (w->objectName() == QStringLiteral("hilfe")) return;
        names << w->objectName();
    }
    const QString page = helpPageFor(names);
    // A modal dialog takes all input: its help must belong to it, or it could not be read.
    QWidget* modal = QApplication::activeModalWidget();
    HelpWindow* help = window();
    if (modal && modal != mother_) {
        help = new HelpWindow(modal);
        help->setAttribute(Qt::WA_DeleteOnClose);
    }
    help->showPage(page);
    help->show();
    help->raise();
    help->activateWindow();
}

HelpWindow* ContextHelp::window() {
    if (!window_) window_ = new HelpWindow(mother_);
    return window_;
}

bool ContextHelp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        watched->isWidgetType()) {
        // Only the windows of this main window and the dialogs that belong to them.
        for (auto* w = static_cast<QWidget*>(watched); w; w = w->parentWidget()) {
            if (w != mother_) continue;
            showFor(static_cast<QWidget*>(watched));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace mainwin
