#include "collection/collectionwindow.h"

#include "collection/entryops.h"
#include "collection/workingcopy.h"
#include "core/controltips.h"
#include "core/state.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

namespace collection {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

// The terms field shows its text without the final line break.
QString readandcut(QString text) {
    if (text.endsWith(QStringLiteral("\r\n"))) text.chop(2);
    return text;
}

// The detail fields show lines broken by LF; the entry keeps CR LF.
QString shown(const QString& field) {
    QString text = field;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString stored(const QString& text) {
    QString field = text;
    field.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return field.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

} // namespace

CollectionWindow::CollectionWindow(CollectionState& keeper, core::State& state, QWidget* parent)
    : QWidget(parent), keeper_(keeper), state_(state), list_(new QListWidget(this)),
      caption_(label(this, "Label3", noEntryCaption)),
      protectedNote_(label(this, "Label7", QStringLiteral("(geschützter Eintrag!)"))),
      status_(label(this, "Label9", QStringLiteral("Ok."))),
      extended_(new QCheckBox(QStringLiteral("Erweiterte Ansicht"), this)),
      sync_(
          new QCheckBox(QStringLiteral("Daten bei Änderung sofort in Auswahl übernehmen"), this)) {
    setObjectName(QStringLiteral("sammlung"));
    buildControls();
    showDescriptionFont();
    showCollection();
}

void CollectionWindow::showDescriptionFont() {
    QFont font = details_[0]->font();
    font.setPointSizeF(double(state_.windowAttributes.descriptionFontSize));
    details_[0]->setFont(font);
}

void CollectionWindow::buildControls() {
    list_->setObjectName(QStringLiteral("List1"));
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    extended_->setObjectName(QStringLiteral("Check1"));
    sync_->setObjectName(QStringLiteral("Check2"));
    status_->setAutoFillBackground(true);
    status_->setAccessibleName(QStringLiteral("Statuszeile"));
    core::tipWhenCut(status_);
    core::describe(list_, QStringLiteral("Einträge der Sammlung"),
                   QStringLiteral("Ein Klick zeichnet den Eintrag; rechte Maustaste: Befehle "
                                  "zum Eintrag"));
    core::describe(extended_, QStringLiteral("Erweiterte Ansicht"),
                   QStringLiteral("Auch Parameter, Grenzen und Intervalle des Eintrags zeigen"));
    core::describe(sync_, QStringLiteral("Änderungen sofort in die Auswahl übernehmen"),
                   QStringLiteral("Jede Änderung der Daten überschreibt sofort den ausgewählten "
                                  "Eintrag"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(label(this, "Label1", QStringLiteral("Auswahl:")), 0, 0);
    grid->addWidget(caption_, 0, 1);
    grid->addWidget(protectedNote_, 0, 2);
    grid->addWidget(list_, 1, 0, 6, 1);
    const std::array<const char*, 5> labelNames = {"Label2", "Label4", "Label5", "Label6",
                                                   "Label8"};
    const std::array<QString, 5> labelTexts = {
        QStringLiteral("Funktionsterme:"), QStringLiteral("Parameter:"),
        QStringLiteral("Parameter-Grenzen:"), QStringLiteral("Intervalle:"),
        QStringLiteral("Untere Integrationsgrenze:")};
    const std::array<const char*, 10> detailNames = {"Beschreibung", "Funktionsterme",
                                                     "Parameter",    "Parameter-Grenzen",
                                                     "Intervalle",   "Untere Integrationsgrenzen",
                                                     "Farben",       "Liniendicken",
                                                     "Linienarten",  "Attribute"};
    for (int i = 0; i < 10; ++i) {
        auto* field = new QPlainTextEdit(this);
        field->setObjectName(QStringLiteral("txt%1").arg(i));
        core::describe(field, QString::fromUtf8(detailNames[std::size_t(i)]),
                       QString::fromUtf8(detailNames[std::size_t(i)]) +
                           QStringLiteral(" des ausgewählten Eintrags; ein Klick hinein "
                                          "zeichnet ihn mit den Änderungen"));
        details_[std::size_t(i)] = field;
    }
    grid->addWidget(details_[0], 1, 1, 1, 2);
    for (int i = 0; i < 5; ++i) {
        detailLabels_[std::size_t(i)] =
            label(this, labelNames[std::size_t(i)], labelTexts[std::size_t(i)]);
        grid->addWidget(detailLabels_[std::size_t(i)], 2 + i, 1);
        grid->addWidget(details_[std::size_t(i) + 1], 2 + i, 2);
    }
    // Colours, widths, line types and attributes are kept but not edited by hand.
    for (int i = 6; i < 10; ++i)
        details_[std::size_t(i)]->hide();
    grid->addWidget(status_, 7, 0, 1, 3);
    grid->addWidget(extended_, 8, 0);
    grid->addWidget(sync_, 8, 1, 1, 2);

    QPushButton* draw = button(this, "Command1", QStringLiteral("Auswahl zeichnen"));
    QPushButton* close = button(this, "Command2", QStringLiteral("Sammlungsfenster schließen"));
    QPushButton* empty = button(this, "Command3", QStringLiteral("Neuen leeren Eintrag anhängen"));
    QPushButton* add = button(this, "Command4", QStringLiteral("Aktuelle Daten anhängen"));
    QPushButton* overwrite =
        button(this, "Command5",
               QStringLiteral("Momentan angewählten Eintrag mit aktuellen Daten "
                              "überschreiben"));
    core::describe(draw, QStringLiteral("Auswahl zeichnen"),
                   QStringLiteral("Den ausgewählten Eintrag mit den geänderten Feldern zeichnen"));
    core::describe(close, QStringLiteral("Sammlungsfenster schließen"),
                   QStringLiteral("Das Fenster schließen; die Arbeitskopie wird gespeichert"));
    core::describe(empty, QStringLiteral("Neuen leeren Eintrag anhängen"),
                   QStringLiteral("Einen leeren Eintrag an die Sammlung anhängen"));
    core::describe(add, QStringLiteral("Aktuelle Daten anhängen"),
                   QStringLiteral("Terme, Parameter und Bereiche als neuen Eintrag anhängen"));
    core::describe(overwrite, QStringLiteral("Eintrag überschreiben"),
                   QStringLiteral("Den ausgewählten Eintrag durch die aktuellen Daten ersetzen"));
    grid->addWidget(draw, 9, 0);
    grid->addWidget(add, 9, 1);
    grid->addWidget(empty, 9, 2);
    grid->addWidget(overwrite, 10, 0, 1, 2);
    grid->addWidget(close, 10, 2);

    // A new row is drawn as soon as it becomes current (by the mouse or the arrow keys); a click
    // on the row that already was current draws it again.
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_) listakt(row);
    });
    list_->viewport()->installEventFilter(this);
    for (QPlainTextEdit* field : details_)
        field->viewport()->installEventFilter(this);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = list_->row(item);
        if (row == rowAtPress_) listakt(row);
    });
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (entryMenu_) entryMenu_->popup(list_->viewport()->mapToGlobal(at));
    });
    connect(draw, &QPushButton::clicked, this, [this] { takeandsave(); });
    connect(close, &QPushButton::clicked, this, [this] {
        reportWriteFault(state_, writeWorkingCopy(keeper_.collection, state_, false));
        (parentWidget() ? parentWidget() : this)->hide();
    });
    connect(empty, &QPushButton::clicked, this, [this] {
        newentry(keeper_, state_, QDateTime::currentDateTime());
        showCollection();
    });
    connect(add, &QPushButton::clicked, this, [this] {
        addcol(keeper_, state_, QDateTime::currentDateTime());
        showCollection();
    });
    connect(overwrite, &QPushButton::clicked, this, [this] {
        allakt(keeper_, state_);
        showCollection();
    });
    connect(extended_, &QCheckBox::toggled, this, [this](bool on) { setExtendedView(on); });
    connect(sync_, &QCheckBox::toggled, this, [this](bool on) { keeper_.syncSelection = on; });
    extended_->setChecked(true);
}

bool CollectionWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) return QWidget::eventFilter(watched, event);
    if (watched == list_->viewport()) rowAtPress_ = list_->currentRow();
    for (QPlainTextEdit* field : details_)
        if (watched == field->viewport()) clickedIntoDetails();
    return QWidget::eventFilter(watched, event);
}

void CollectionWindow::clickedIntoDetails() {
    if (!editable()) return;
    // Braces mark the entries of the collection file; older versions of the program take a brace
    // in the description for the end of its entry.
    QString description = details_[0]->toPlainText();
    description.replace(QLatin1Char('{'), QLatin1Char('('))
        .replace(QLatin1Char('}'), QLatin1Char(')'));
    if (description != details_[0]->toPlainText()) details_[0]->setPlainText(description);
    // What was edited in the other fields is kept and drawn before the user edits this one.
    takeandsave();
}

bool CollectionWindow::editable() const {
    const auto& entries = keeper_.collection.entries;
    return keeper_.selected >= 0 && keeper_.selected < int(entries.size()) &&
           !entries[std::size_t(keeper_.selected)].isProtected();
}

void CollectionWindow::setExtendedView(bool on) {
    for (int i = 0; i < 5; ++i) {
        detailLabels_[std::size_t(i)]->setVisible(on);
        details_[std::size_t(i) + 1]->setVisible(on);
    }
}

void CollectionWindow::showCollection() {
    showing_ = true;
    list_->clear();
    for (const Entry& entry : keeper_.collection.entries)
        list_->addItem(entry.fields[shortField]);
    list_->setCurrentRow(keeper_.selected);
    showing_ = false;
    sync_->setChecked(keeper_.syncSelection);
    setWindowTitle(collection::windowTitle(keeper_.collection));
    showDetails();
    showStatus();
}

void CollectionWindow::showDetails() {
    const bool selected =
        keeper_.selected >= 0 && keeper_.selected < int(keeper_.collection.entries.size());
    caption_->setText(selectionCaption(keeper_));
    const Entry* entry =
        selected ? &keeper_.collection.entries[std::size_t(keeper_.selected)] : nullptr;
    protectedNote_->setVisible(entry && entry->isProtected());
    for (int i = 0; i < 10; ++i) {
        const int field = i + 1;
        QString text = entry ? entry->fields[field] : QString();
        if (field == termsField) text = readandcut(text);
        details_[std::size_t(i)]->setPlainText(shown(text));
        details_[std::size_t(i)]->setReadOnly(!entry || entry->isProtected());
    }
}

void CollectionWindow::showStatus() {
    status_->setText(keeper_.status.text);
    QPalette palette = status_->palette();
    const core::Colour c = keeper_.status.colour;
    palette.setColor(QPalette::Window,
                     c == 0 ? QWidget::palette().color(QPalette::Button)
                            : QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff)));
    palette.setColor(QPalette::WindowText, c == 0 ? Qt::black : Qt::white);
    status_->setPalette(palette);
}

Fields CollectionWindow::editedFields() const {
    Fields fields;
    for (int i = 0; i < 10; ++i)
        fields[i + 1] = stored(details_[std::size_t(i)]->toPlainText());
    return fields;
}

void CollectionWindow::takeandsave() {
    if (keeper_.selected < 0) return;
    intolist(keeper_, state_, editedFields());
    drawSelected(keeper_, state_);
    showCollection();
}

void CollectionWindow::listakt(int row) {
    keeper_.selected = row;
    drawSelected(keeper_, state_);
    showDetails();
    showStatus();
}

} // namespace collection
