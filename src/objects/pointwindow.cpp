#include "objects/pointwindow.h"

#include "core/colours.h"
#include "core/controltips.h"
#include "core/numbers.h"
#include "core/rounding.h"
#include "core/state.h"
#include "objects/listwindow.h"
#include "objects/objectapply.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace objects {

PointWindow::PointWindow(core::State& state, QWidget* parent)
    : QWidget(parent), state_(state), list_(new QListWidget(this)), input_(new QLineEdit(this)),
      radius_(new QLineEdit(this)), fontSize_(new QLineEdit(this)),
      showPoints_(new QCheckBox(QStringLiteral("Punkte"), this)),
      showNames_(new QCheckBox(QStringLiteral("Namen"), this)), status_(new QLabel(this)) {
    setObjectName(QStringLiteral("Punkte"));
    setWindowTitle(QStringLiteral("Punkte"));
    const QString hint = QStringLiteral("Punkte der Gestalt P(x0;y0) oder nur (x0;y0)");
    setToolTip(hint);

    list_->setObjectName(QStringLiteral("List1"));
    core::describe(list_, QStringLiteral("Punkte"),
                   QStringLiteral("Ein Klick holt den Punkt in die Eingabezeile; Entf löscht die "
                                  "ausgewählten"));
    setUpList(list_, input_, this, [this] { activate(); });

    auto* buttons = rowsColumn(list_);
    for (int r = 0; r < rows; ++r) {
        colourButtons_[r] =
            colourButton(this, r, QStringLiteral("des Punktes"), [this, r] { chooseColour(r); });
        buttons->addWidget(colourButtons_[r]);
    }
    buttons->addStretch();

    auto* inputLabel = new QLabel(QStringLiteral("Eingabezeile:"), this);
    input_->setObjectName(QStringLiteral("Text4"));
    core::describe(input_, QStringLiteral("Eingabezeile"), hint);
    input_->installEventFilter(this);
    auto* take = button(this, QStringLiteral("&Übernehmen"), QStringLiteral("Command1"),
                        QStringLiteral("Übernehmen"), hint, [this] { taste(); });
    auto* close = closeButton(this);
    auto* erase = button(this, QStringLiteral("Zeile löschen"), QStringLiteral("Command5"),
                         QStringLiteral("Zeile löschen"),
                         QStringLiteral("Die ausgewählten Punkte löschen"), [this] { remove(); });

    auto* sizeLabel = new QLabel(QStringLiteral("Größe:"), this);
    radius_->setObjectName(QStringLiteral("Text1"));
    core::describe(radius_, QStringLiteral("Größe der Punkte"),
                   QStringLiteral("Radius der Punkte in Pixeln"));
    fontSize_->setObjectName(QStringLiteral("Text2"));
    core::describe(fontSize_, QStringLiteral("Schriftgröße der Namen"));
    for (QLineEdit* field : {radius_, fontSize_}) {
        field->setMaximumWidth(60);
        field->installEventFilter(this);
        connect(field, &QLineEdit::editingFinished, this, [this] { chsize(); });
    }
    auto* display = new QGroupBox(QStringLiteral("Anzeige"), this);
    auto* displayRows = new QVBoxLayout(display);
    showPoints_->setObjectName(QStringLiteral("Check1"));
    showNames_->setObjectName(QStringLiteral("Check2"));
    core::describe(showPoints_, QStringLiteral("Punkte anzeigen"),
                   QStringLiteral("Die Punkte in der Graphik zeigen"));
    core::describe(showNames_, QStringLiteral("Namen anzeigen"),
                   QStringLiteral("Die Namen der Punkte in der Graphik zeigen"));
    displayRows->addWidget(showPoints_);
    displayRows->addWidget(showNames_);
    connect(showPoints_, &QCheckBox::clicked, this, [this](bool on) {
        state_.pointsShown = on;
        state_.hooks.call(state_.hooks.redrawall);
    });
    connect(showNames_, &QCheckBox::clicked, this, [this](bool on) {
        state_.pointNamesShown = on;
        state_.hooks.call(state_.hooks.redrawall);
    });
    setUpStatus(status_);

    auto* grid = new QGridLayout(this);
    grid->addWidget(list_, 0, 0, 1, 4);
    grid->addLayout(buttons, 0, 4);
    grid->addWidget(inputLabel, 1, 0);
    grid->addWidget(input_, 1, 1, 1, 4);
    grid->addWidget(sizeLabel, 2, 0);
    grid->addWidget(radius_, 2, 1);
    grid->addWidget(fontSize_, 2, 2);
    grid->addWidget(display, 2, 3, 1, 2);
    grid->addWidget(take, 3, 0);
    grid->addWidget(erase, 3, 1);
    grid->addWidget(close, 3, 2, 1, 3);
    grid->addWidget(status_, 4, 0, 1, 5);
    showStatus(status_, {});
    showDisplay();
    makeliste();
}

void PointWindow::makeliste() {
    points_ = objects::makeliste(state_.pointsText);
    showList();
}

void PointWindow::showDisplay() {
    showPoints_->setChecked(state_.pointsShown);
    showNames_->setChecked(state_.pointNamesShown);
    radius_->setText(QString::number(state_.pointSize));
    fontSize_->setText(QString::number(state_.graphOptions.thirdFontSize));
}

void PointWindow::showList(int current) {
    std::vector<std::pair<QString, core::Colour>> rows;
    for (const Point& p : points_)
        rows.emplace_back(p.typed, p.colour);
    fillList(list_, rows, current);
    activate();
}

void PointWindow::activate() {
    const int first = firstVisible(list_);
    for (int r = 0; r < rows; ++r) {
        const int at = first + r;
        const bool shown = at < int(points_.size());
        colourButtons_[r]->setVisible(shown);
        if (shown) paintColourButton(colourButtons_[r], points_[std::size_t(at)].colour);
    }
}

void PointWindow::taste() {
    const auto at = objects::taste(points_, input_->text(), singleSelection(list_));
    if (!at) return;
    input_->clear();
    showList(*at);
    nimms();
}

void PointWindow::remove() {
    if (!removeSelected(list_, points_)) return;
    showList();
    nimms();
}

void PointWindow::chooseColour(int r) {
    const int at = firstVisible(list_) + r;
    if (at >= int(points_.size())) return;
    auto& row = points_[std::size_t(at)];
    const auto c =
        chooseRowColour(state_, list_, at, row.colour, QStringLiteral("Farbe des Punktes"));
    if (!c) return;
    row.colour = *c;
    activate();
    nimms();
}

void PointWindow::chsize() {
    const auto font = core::evalnum(state_.engine, fontSize_->text());
    const auto radius = core::evalnum(state_.engine, radius_->text());
    const bool fontOk = font && *font >= smallestNameFont && *font <= largestNameFont;
    const bool radiusOk =
        radius && std::abs(*radius) >= smallestRadius && std::abs(*radius) <= largestRadius;
    if (fontOk && radiusOk) {
        const int newFont = core::round16(*font);
        const int newRadius = core::round16(std::abs(*radius));
        if (newFont != state_.graphOptions.thirdFontSize || newRadius != state_.pointSize) {
            state_.graphOptions.thirdFontSize = newFont;
            state_.pointSize = newRadius;
            // The name font belongs to the fonts that are renewed with the background.
            state_.scale.backgroundValid = false;
            state_.hooks.call(state_.hooks.redrawall);
        }
    }
    showDisplay();
}

bool PointWindow::moveSelectedName(int dx, int dy) {
    if (!isVisible()) return false;
    QListWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) return false;
    const int row = list_->row(item);
    Point& p = points_[std::size_t(row)];
    p.nameRight += dx;
    p.nameUp += dy;
    state_.pointsText = getliste(points_);
    // The offsets belong to the current data, as after every change of the list.
    state_.hooks.call(state_.hooks.collectionTakeOver);
    return true;
}

void PointWindow::nimms() {
    state_.pointsText = getliste(points_);
    applyObjects(state_);
    QStringList messages;
    for (std::size_t i = 0; i < points_.size(); ++i)
        if (!points_[i].located)
            messages << QStringLiteral("Zeile %1 hat keine Koordinaten der Gestalt P(x0;y0) und "
                                       "wird nicht gezeichnet: ")
                                .arg(i + 1) +
                            points_[i].typed;
    showStatus(status_, messages);
}

bool PointWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == radius_ || watched == fontSize_) && isEnter(event)) {
        chsize();
        return true;
    }
    if (listKey(
            watched, event, input_, list_, [this] { taste(); }, [this] { remove(); }))
        return true;
    return QWidget::eventFilter(watched, event);
}

} // namespace objects
