#include "calc/calcwindow.h"

#include "calc/pocketcalc.h"
#include "core/controltips.h"
#include "core/state.h"
#include "core/twips.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace calc {

namespace {

constexpr int openingWidth = 4000;  // twips
constexpr int smallestWidth = 3000; // twips

} // namespace

CalcWindow::CalcWindow(core::State& state, QWidget* parent)
    : QWidget(parent), state_(state), term_(new QLineEdit(this)), result_(new QLabel(this)),
      places_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("minicalc"));
    setWindowTitle(QStringLiteral("Taschenrechner"));
    term_->setObjectName(QStringLiteral("Text1"));
    result_->setObjectName(QStringLiteral("Label1"));
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    places_->setObjectName(QStringLiteral("Text2"));
    auto* compute = new QPushButton(QStringLiteral("="), this);
    compute->setObjectName(QStringLiteral("Command1"));
    auto* clear = new QPushButton(QStringLiteral("&Löschen"), this);
    clear->setObjectName(QStringLiteral("Command3"));
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("Command2"));
    auto* placesLabel = new QLabel(QStringLiteral("Genauigkeit:"), this);
    placesLabel->setObjectName(QStringLiteral("Label2"));
    core::describe(term_, QStringLiteral("Term"),
                   QStringLiteral("Term eingeben und mit der Eingabetaste berechnen"));
    core::describe(compute, QStringLiteral("Berechnen"));
    core::describe(clear, QStringLiteral("Löschen"), QStringLiteral("Term und Ergebnis löschen"));
    core::describe(close, QStringLiteral("Schließen"),
                   QStringLiteral("Den Taschenrechner schließen"));
    core::describe(places_, QStringLiteral("Genauigkeit"),
                   QStringLiteral("Anzahl der Stellen hinter dem Komma; mit der Eingabetaste "
                                  "übernehmen"));
    // A long result is cut at the window's edge; the mouse shows all of it.
    result_->setAccessibleName(QStringLiteral("Ergebnis"));
    core::tipWhenCut(result_);

    auto* grid = new QGridLayout(this);
    grid->addWidget(term_, 0, 0, 1, 3);
    grid->addWidget(compute, 0, 3);
    grid->addWidget(result_, 1, 0, 1, 3);
    grid->addWidget(clear, 1, 3);
    grid->addWidget(placesLabel, 2, 0);
    grid->addWidget(places_, 2, 1);
    grid->addWidget(close, 2, 3);
    grid->setColumnStretch(2, 1);

    // Enter computes; the field takes no new line and gives no beep.
    connect(term_, &QLineEdit::returnPressed, this, [this] { docalc(); });
    connect(compute, &QPushButton::clicked, this, [this] {
        docalc();
        term_->setFocus();
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        term_->clear();
        result_->clear();
        term_->setFocus();
    });
    connect(close, &QPushButton::clicked, this, [this] {
        if (parentWidget() && parentWidget()->inherits("QMdiSubWindow"))
            parentWidget()->hide();
        else
            hide();
    });
    places_->installEventFilter(this);
    state_.hooks.docalc = [this] {
        // New data may have brought other settings; a field being typed in is left alone.
        if (!places_->hasFocus()) showPlaces();
        docalc();
    };
    showPlaces();
    // The window grows only in width: the term and the result get the room.
    setMinimumWidth(core::twipsToPixels(smallestWidth, state_.tppX));
    setFixedHeight(sizeHint().height());
    resize(core::twipsToPixels(openingWidth, state_.tppX), height());
}

void CalcWindow::docalc() {
    result_->setText(calc::docalc(state_, term_->text()));
}

void CalcWindow::checkround() {
    // The message box of a wrong entry takes the focus, which would check the field again.
    if (checking_) return;
    checking_ = true;
    if (!calc::checkround(state_, places_->text())) showPlaces();
    checking_ = false;
    docalc();
}

void CalcWindow::focusTerm() {
    term_->setFocus();
}

void CalcWindow::showPlaces() {
    places_->setText(QString::number(state_.calcDecimals));
}

bool CalcWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == places_) {
        if (event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) checkround();
        } else if (event->type() == QEvent::FocusOut) {
            checkround();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace calc
