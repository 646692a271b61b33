#include "objects/linewindow.h"

#include "core/colours.h"
#include "core/controltips.h"
#include "core/state.h"
#include "engine/settingsfile.h"
#include "objects/listwindow.h"
#include "objects/objectapply.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace objects {

LineWindow::LineWindow(core::State& state, QWidget* parent)
    : QWidget(parent), state_(state), list_(new QListWidget(this)), input_(new QLineEdit(this)),
      commonStyle_(new QLineEdit(this)), standardColour_(new QLabel(this)),
      status_(new QLabel(this)) {
    setObjectName(QStringLiteral("Asymptoten"));
    setWindowTitle(QStringLiteral("Zusätzliche Geraden"));
    const QString hint = QStringLiteral("Gleichungen der Gestalt x=a oder y=m*x+t");
    setToolTip(hint);

    list_->setObjectName(QStringLiteral("List1"));
    core::describe(list_, QStringLiteral("Zusätzliche Geraden"),
                   QStringLiteral("Ein Klick holt die Gerade in die Eingabezeile; Entf löscht "
                                  "die ausgewählten"));
    setUpList(list_, input_, this, [this] { activate(); });

    auto* rowsColumn = objects::rowsColumn(list_);
    for (int r = 0; r < rows; ++r) {
        auto* row = new QHBoxLayout;
        row->setSpacing(2);
        styleFields_[r] = new QLineEdit(this);
        styleFields_[r]->setObjectName(QStringLiteral("Text1%1").arg(r));
        core::describe(styleFields_[r],
                       QStringLiteral("Linienart der Geraden in Zeile %1").arg(r + 1),
                       QStringLiteral("Linienart individuell einstellen"));
        styleFields_[r]->setFixedSize(28, rowHeight);
        connect(styleFields_[r], &QLineEdit::editingFinished, this, [this, r] { chli(r); });
        colourButtons_[r] =
            colourButton(this, r, QStringLiteral("der Geraden"), [this, r] { chooseColour(r); });
        row->addWidget(styleFields_[r]);
        row->addWidget(colourButtons_[r]);
        rowsColumn->addLayout(row);
    }
    rowsColumn->addStretch();

    auto* inputLabel = new QLabel(QStringLiteral("Eingabezeile:"), this);
    inputLabel->setObjectName(QStringLiteral("Label2"));
    input_->setObjectName(QStringLiteral("Text4"));
    core::describe(input_, QStringLiteral("Eingabezeile"), hint);
    input_->installEventFilter(this);
    auto* styleLabel = new QLabel(QStringLiteral("Linienart:     ( 0 - 6 )"), this);
    styleLabel->setObjectName(QStringLiteral("Label1"));
    commonStyle_->setObjectName(QStringLiteral("Text2"));
    commonStyle_->setText(QString::number(state_.linesLineType));
    core::describe(commonStyle_, QStringLiteral("Linienart"),
                   QStringLiteral("Linienart der Geraden ohne eigene Linienart (0 bis 6)"));
    commonStyle_->setMaximumWidth(60);
    connect(commonStyle_, &QLineEdit::editingFinished, this, [this] { chdicke(); });
    standardColour_->setObjectName(QStringLiteral("Picture1"));
    standardColour_->setFixedSize(rowHeight, rowHeight);
    standardColour_->setAutoFillBackground(true);
    standardColour_->setAccessibleName(QStringLiteral("Standardfarbe"));

    auto* take = button(this, QStringLiteral("&Übernehmen"), QStringLiteral("Command1"),
                        QStringLiteral("Übernehmen"), hint, [this] { asytaste(); });
    auto* close = closeButton(this);
    auto* standard = button(this, QStringLiteral("&Standardfarbe"), QStringLiteral("Command3"),
                            QStringLiteral("Standardfarbe"),
                            QStringLiteral("Die Farbe der Geraden ohne eigene Farbe wählen"),
                            [this] { chooseStandardColour(); });
    auto* erase = button(this, QStringLiteral("Zeile löschen"), QStringLiteral("Command5"),
                         QStringLiteral("Zeile löschen"),
                         QStringLiteral("Die ausgewählten Geraden löschen"), [this] { remove(); });
    setUpStatus(status_);

    auto* grid = new QGridLayout(this);
    grid->addWidget(list_, 0, 0, 1, 3);
    grid->addLayout(rowsColumn, 0, 3);
    grid->addWidget(inputLabel, 1, 0);
    grid->addWidget(input_, 1, 1, 1, 3);
    grid->addWidget(styleLabel, 2, 0);
    grid->addWidget(commonStyle_, 2, 1);
    grid->addWidget(standardColour_, 2, 2);
    grid->addWidget(standard, 2, 3);
    grid->addWidget(take, 3, 0);
    grid->addWidget(erase, 3, 1);
    grid->addWidget(close, 3, 2, 1, 2);
    grid->addWidget(status_, 4, 0, 1, 4);
    showStatus(status_, {});
    text2list();
}

void LineWindow::text2list() {
    lines_ = objects::text2list(state_.extraLinesText, state_.lineColours[14]);
    showList();
}

void LineWindow::showList(int current) {
    QPalette palette = standardColour_->palette();
    palette.setColor(QPalette::Window, core::toQColor(state_.lineColours[14]));
    standardColour_->setPalette(palette);
    std::vector<std::pair<QString, core::Colour>> rows;
    for (const ExtraLine& line : lines_)
        rows.emplace_back(line.equation, line.colour);
    fillList(list_, rows, current);
    activate();
}

void LineWindow::activate() {
    const int first = firstVisible(list_);
    for (int r = 0; r < rows; ++r) {
        const int at = first + r;
        const bool shown = at < int(lines_.size());
        styleFields_[r]->setVisible(shown);
        colourButtons_[r]->setVisible(shown);
        if (!shown) continue;
        styleFields_[r]->setText(styleText(lines_[std::size_t(at)].style));
        paintColourButton(colourButtons_[r], lines_[std::size_t(at)].colour);
    }
}

void LineWindow::asytaste() {
    const auto at =
        objects::asytaste(lines_, input_->text(), singleSelection(list_), state_.lineColours[14]);
    if (!at) return;
    input_->clear();
    showList(*at);
    nimms();
}

void LineWindow::remove() {
    if (!removeSelected(list_, lines_)) return;
    showList();
    nimms();
}

void LineWindow::chli(int r) {
    const int at = firstVisible(list_) + r;
    if (at >= int(lines_.size())) return;
    const int style = styleOf(styleFields_[r]->text());
    styleFields_[r]->setText(styleText(style));
    if (lines_[std::size_t(at)].style == style) return;
    lines_[std::size_t(at)].style = style;
    nimms();
}

void LineWindow::chdicke() {
    bool ok = false;
    const int v = commonStyle_->text().trimmed().toInt(&ok);
    if (!ok || v < 0 || v > largestStyle) {
        commonStyle_->setText(QString::number(state_.linesLineType));
        core::describe(commonStyle_, QStringLiteral("Linienart"),
                       QStringLiteral("Linienart der Geraden ohne eigene Linienart (0 bis 6)"));
        state_.messages->inform(QStringLiteral("Fehler:"),
                                QStringLiteral("Unerlaubter Wert für die Linienart!"),
                                platform::MessageIcon::Critical);
        return;
    }
    if (v == state_.linesLineType) return;
    state_.linesLineType = v;
    if (!state_.configFolder.isEmpty() && state_.configFolderWritable) engine::savesettings(state_);
    state_.hooks.call(state_.hooks.redrawall);
}

void LineWindow::chooseColour(int r) {
    const int at = firstVisible(list_) + r;
    if (at >= int(lines_.size())) return;
    auto& row = lines_[std::size_t(at)];
    const auto c =
        chooseRowColour(state_, list_, at, row.colour, QStringLiteral("Farbe der Geraden"));
    if (!c) return;
    row.colour = *c;
    activate();
    nimms();
}

void LineWindow::chooseStandardColour() {
    const auto c = state_.colourDialogs->chooseColour(core::toQColor(state_.lineColours[14]),
                                                      QStringLiteral("Standardfarbe"));
    if (!c) return;
    core::setcolour(state_, 14, core::fromQColor(*c));
    QPalette palette = standardColour_->palette();
    palette.setColor(QPalette::Window, *c);
    standardColour_->setPalette(palette);
    state_.hooks.call(state_.hooks.redrawall);
    if (!state_.configFolder.isEmpty() && state_.configFolderWritable) engine::savesettings(state_);
}

void LineWindow::focusInput() {
    input_->setFocus();
}

void LineWindow::nimms() {
    state_.extraLinesText = readlist(lines_);
    applyObjects(state_);
    // Said once here; the redraws that follow (a slider, every timer tick) say nothing.
    showStatus(status_, interprete(state_).errors);
}

bool LineWindow::eventFilter(QObject* watched, QEvent* event) {
    if (listKey(
            watched, event, input_, list_, [this] { asytaste(); }, [this] { remove(); }))
        return true;
    return QWidget::eventFilter(watched, event);
}

} // namespace objects
