#include "session/rangewindow.h"

#include "core/controltips.h"
#include "core/state.h"
#include "session/ranges.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace session {

namespace {

const char* const standardCaptions[rangeRowCount] = {"[ - 5 ; 5 ]", "[ - 5 ; 5 ]", "[ 0 ; 10 ]"};
// The rows as the tool tips name them ("Obere Grenze des x-Bereichs").
const char* const rowsOf[rangeRowCount] = {"des x-Bereichs", "des y-Bereichs",
                                           "des Kurvenparameter-Bereichs"};

QString numbered(const char* name, int row) {
    return QString::fromLatin1(name) + QString::number(row);
}

} // namespace

RangeWindow::RangeWindow(core::State& state, QWidget* parent)
    : QWidget(parent), state_(state), status_(new QLabel(this)) {
    setObjectName(QStringLiteral("interform"));
    setWindowTitle(QStringLiteral("Dargestellter Bereich"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("untere Grenze"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("obere Grenze"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Standard"), this), 0, 3);
    for (int row = 0; row < rangeRowCount; ++row) {
        const int line = 1 + 2 * row;
        auto* name = new QLabel(rangeRowName(row), this);
        name->setObjectName(numbered("Label", row));
        grid->addWidget(name, line, 0, 2, 1);
        for (int side = 0; side < 2; ++side) {
            auto* field = new QLineEdit(this);
            field->setObjectName(numbered(side == 0 ? "von" : "bis", row));
            const QString bound =
                (side == 0 ? QStringLiteral("Untere Grenze ") : QStringLiteral("Obere Grenze ")) +
                QString::fromUtf8(rowsOf[row]);
            core::describe(field, bound,
                           bound +
                               QStringLiteral("; auch ein Term, mit der Eingabetaste übernehmen"));
            connect(field, &QLineEdit::returnPressed, this, [this] { vonbis(); });
            grid->addWidget(field, line, 1 + side);
            fields_[row][side] = field;
            auto* shown = new QLabel(this);
            shown->setObjectName(numbered(side == 0 ? "nvon" : "nbis", row));
            grid->addWidget(shown, line + 1, 1 + side);
            shown_[row][side] = shown;
        }
        standard_[row] = new QPushButton(QString::fromLatin1(standardCaptions[row]), this);
        standard_[row]->setObjectName(numbered("Command1_", row));
        core::describe(standard_[row],
                       QStringLiteral("Standardwerte ") + QString::fromUtf8(rowsOf[row]),
                       QStringLiteral("Den Standardbereich %1 einstellen")
                           .arg(QString::fromUtf8(standardCaptions[row])));
        connect(standard_[row], &QPushButton::clicked, this, [this, row] { standard(row); });
        grid->addWidget(standard_[row], line, 3);
    }
    auto* hint = new QLabel(QStringLiteral("Werte aus unteren Zeilen übernehmen?"), this);
    hint->setObjectName(QStringLiteral("Label4"));
    grid->addWidget(hint, 7, 0, 1, 4);
    auto* oneToOne = new QPushButton(QStringLiteral("1:1"), this);
    oneToOne->setObjectName(QStringLiteral("Command3"));
    core::describe(oneToOne, QStringLiteral("Skalierungsverhältnis 1:1"),
                   QStringLiteral("Links oder rechts anklicken für Skalierungsverhältnis 1:1"));
    // The left button fits the y range, the right one the x range.
    oneToOne->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(oneToOne, &QPushButton::clicked, this, [this] { einszueins(1); });
    connect(oneToOne, &QPushButton::customContextMenuRequested, this, [this] { einszueins(2); });
    auto* apply = new QPushButton(QStringLiteral("&Übernehmen"), this);
    apply->setObjectName(QStringLiteral("Command2"));
    core::describe(apply, QStringLiteral("Übernehmen"),
                   QStringLiteral("Die eingegebenen Grenzen übernehmen und neu zeichnen"));
    connect(apply, &QPushButton::clicked, this, [this] {
        vonbis();
        state_.hooks.call(state_.hooks.collectionTakeOver);
    });
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    close->setObjectName(QStringLiteral("Command6"));
    core::describe(close, QStringLiteral("Schließen"), QStringLiteral("Das Fenster schließen"));
    connect(close, &QPushButton::clicked, this, [this] {
        if (parentWidget() && parentWidget()->inherits("QMdiSubWindow"))
            parentWidget()->hide();
        else
            hide();
    });
    grid->addWidget(oneToOne, 8, 0);
    grid->addWidget(apply, 8, 1);
    grid->addWidget(close, 8, 2);
    status_->setObjectName(QStringLiteral("Label11"));
    status_->setAutoFillBackground(true);
    status_->setAccessibleName(QStringLiteral("Statuszeile"));
    core::tipWhenCut(status_);
    grid->addWidget(status_, 9, 0, 1, 4);

    // New data (a collection entry, a start) may bring other fields along.
    state_.hooks.rangeWindowUpdate = [this] {
        stateToFields();
        updateall();
    };
    state_.hooks.rangeApply = [this] { vonbis(); };
    state_.hooks.rangeRowsReread = [this] { reread(); };
    stateToFields();
    updateall();
}

void RangeWindow::updateall() {
    for (int row = 0; row < rangeRowCount; ++row)
        for (int side = 0; side < 2; ++side)
            shown_[row][side]->setText(shownBound(state_, row, side));
}

void RangeWindow::vonbis() {
    fieldsToState();
    const RangeStatus status = applyRanges(state_);
    stateToFields(); // the fields without the characters the logic dropped
    updateall();
    showStatus(status);
}

void RangeWindow::standard(int row) {
    const RangeStatus status = standardRange(state_, row);
    updateall();
    showStatus(status);
}

void RangeWindow::standardAll() {
    const RangeStatus status = standardRanges(state_);
    stateToFields();
    updateall();
    showStatus(status);
}

void RangeWindow::reread() {
    // The fields as last applied: what the user types meanwhile waits for "&Übernehmen".
    const RangeStatus status = rereadRanges(state_);
    updateall();
    showStatus(status);
}

void RangeWindow::einszueins(int axis) {
    oneToOne(state_, axis);
    updateall();
}

void RangeWindow::showStatus(const RangeStatus& status) {
    status_->setText(status.text);
    QPalette palette = status_->palette();
    const QColor face = palette.color(QPalette::Button);
    palette.setColor(QPalette::Window, status.error ? rangeErrorColour() : face);
    palette.setColor(QPalette::WindowText, status.error ? QColor(Qt::white) : QColor(Qt::black));
    status_->setPalette(palette);
}

void RangeWindow::fieldsToState() {
    for (int row = 0; row < rangeRowCount; ++row)
        for (int side = 0; side < 2; ++side)
            state_.rangeFields[row][side] = synced_[row][side] = fields_[row][side]->text();
}

void RangeWindow::stateToFields() {
    for (int row = 0; row < rangeRowCount; ++row)
        for (int side = 0; side < 2; ++side) {
            const QString& text = state_.rangeFields[row][side];
            if (text == synced_[row][side]) continue;
            fields_[row][side]->setText(text);
            synced_[row][side] = text;
        }
}

} // namespace session
