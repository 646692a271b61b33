#include "params/timerdialog.h"

#include "core/state.h"
#include "params/timers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace params {

TimerDialog::TimerDialog(core::State& state, QWidget* parent)
    : QDialog(parent), state_(state), mode_(new QComboBox(this)), step_(new QLineEdit(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Abbrechen"), this)) {
    setObjectName(QStringLiteral("Dialog"));
    mode_->setObjectName(QStringLiteral("Combo1"));
    step_->setObjectName(QStringLiteral("Text1"));
    ok_->setObjectName(QStringLiteral("OKButton"));
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    for (int mode = 0; mode < int(timerModeNames.size()); ++mode)
        mode_->addItem(timerModeNames[std::size_t(mode)], mode);

    auto* modeLabel = new QLabel(QStringLiteral("Art der Veränderung:"), this);
    auto* stepLabel = new QLabel(QStringLiteral("Schrittweite pro Takt:"), this);
    modeLabel->setObjectName(QStringLiteral("Label1"));
    stepLabel->setObjectName(QStringLiteral("Label2"));
    modeLabel->setBuddy(mode_);
    stepLabel->setBuddy(step_);
    mode_->setAccessibleName(QStringLiteral("Art der Veränderung"));
    mode_->setToolTip(QStringLiteral(
        "Schleife: an der Grenze neu beginnen - Richtungsumkehr: an der Grenze umkehren"));
    step_->setAccessibleName(QStringLiteral("Schrittweite pro Takt"));
    step_->setToolTip(
        QStringLiteral("Um so viel ändert sich der Wert bei jedem Takt; 0 hält den Timer an"));
    ok_->setAccessibleName(QStringLiteral("OK"));
    ok_->setToolTip(QStringLiteral("Art und Schrittweite übernehmen"));
    cancel_->setAccessibleName(QStringLiteral("Abbrechen"));
    cancel_->setToolTip(QStringLiteral("Schließen, ohne etwas zu ändern"));

    auto* fields = new QGridLayout;
    fields->addWidget(modeLabel, 0, 0);
    fields->addWidget(mode_, 0, 1);
    fields->addWidget(stepLabel, 1, 0);
    fields->addWidget(step_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] { accept(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

void TimerDialog::init(int k) {
    slot_ = k;
    const TimerDialogContents contents = timerDialogInit(state_, k);
    setWindowTitle(contents.caption);
    mode_->setCurrentIndex(mode_->findData(contents.mode));
    step_->setText(contents.stepText);
    step_->selectAll();
    step_->setFocus();
}

void TimerDialog::placeBeside(const QWidget* window) {
    if (!window) return;
    const QWidget* parent = window->isWindow() ? nullptr : window->parentWidget();
    const QRect frame = parent ? QRect(parent->mapToGlobal(window->pos()), window->frameSize())
                               : window->frameGeometry();
    move(frame.right() + 1, frame.top());
}

bool TimerDialog::run(core::State& state, int k, QWidget* paramWindow) {
    TimerDialog dialog(state, paramWindow);
    dialog.init(k);
    // Inside the main window the parameter window's edges are those of its sub-window.
    const QWidget* beside = paramWindow;
    if (auto* frame =
            paramWindow ? qobject_cast<QMdiSubWindow*>(paramWindow->parentWidget()) : nullptr)
        beside = frame;
    dialog.placeBeside(beside);
    return dialog.exec() == QDialog::Accepted;
}

void TimerDialog::accept() {
    // A refused step leaves the dialog open with the text as typed.
    if (timerDialogOk(state_, slot_, step_->text(), mode_->currentData().toInt()))
        QDialog::accept();
}

} // namespace params
