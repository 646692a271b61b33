#include "mainwin/animationdialog.h"

#include "core/controltips.h"
#include "core/state.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace mainwin {

namespace {

const QString title = QStringLiteral("Animation speichern");
const QString fileFilter = QStringLiteral("GIF-Animation (*.gif);;Nummerierte PNG-Bilder (*.png)");

} // namespace

AnimationDialog::AnimationDialog(core::State& state, QWidget* parent)
    : QDialog(parent), state_(state), rows_(animationRows(state)), fps_(new QSpinBox(this)) {
    setObjectName(QStringLiteral("animationDialog"));
    setWindowTitle(title);

    auto* grid = new QGridLayout;
    const QString heads[] = {QStringLiteral("Parameter"), QStringLiteral("von"),
                             QStringLiteral("bis"), QStringLiteral("Schrittweite")};
    for (int c = 0; c < 4; ++c)
        grid->addWidget(new QLabel(heads[c], this), 0, c);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const AnimationRow& row = rows_[i];
        RowFields f{new QCheckBox(row.name, this), new QLineEdit(row.from, this),
                    new QLineEdit(row.to, this), new QLineEdit(row.step, this)};
        const QString n = QString::number(i);
        f.chosen->setObjectName(QStringLiteral("chosen") + n);
        f.from->setObjectName(QStringLiteral("from") + n);
        f.to->setObjectName(QStringLiteral("to") + n);
        f.step->setObjectName(QStringLiteral("step") + n);
        f.chosen->setChecked(row.chosen);
        core::describe(f.chosen, row.name + QStringLiteral(" bewegen"),
                       QStringLiteral("Den Parameter %1 in der Animation verändern").arg(row.name));
        core::describe(f.from, QStringLiteral("Startwert von ") + row.name);
        core::describe(f.to, QStringLiteral("Endwert von ") + row.name);
        core::describe(f.step, QStringLiteral("Schrittweite von ") + row.name,
                       QStringLiteral("Um so viel ändert sich %1 von Bild zu Bild").arg(row.name));
        const int r = int(i) + 1;
        grid->addWidget(f.chosen, r, 0);
        grid->addWidget(f.from, r, 1);
        grid->addWidget(f.to, r, 2);
        grid->addWidget(f.step, r, 3);
        fields_.push_back(f);
    }
    if (rows_.empty())
        grid->addWidget(new QLabel(QStringLiteral("Kein Parameter in Gebrauch."), this), 1, 0, 1,
                        4);

    fps_->setObjectName(QStringLiteral("fps"));
    fps_->setRange(1, maxAnimationFps);
    fps_->setValue(defaultAnimationFps);
    auto* fpsLabel = new QLabel(QStringLiteral("Bilder pro Sekunde (GIF):"), this);
    fpsLabel->setBuddy(fps_);
    core::describe(fps_, QStringLiteral("Bilder pro Sekunde"),
                   QStringLiteral("Bilder pro Sekunde der GIF-Animation"));
    auto* fpsRow = new QHBoxLayout;
    fpsRow->addWidget(fpsLabel);
    fpsRow->addWidget(fps_);
    fpsRow->addStretch();

    auto* ok = new QPushButton(QStringLiteral("Speichern ..."), this);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    cancel->setObjectName(QStringLiteral("CancelButton"));
    core::describe(ok, QStringLiteral("Speichern"),
                   QStringLiteral("Die Datei wählen und die Animation speichern"));
    core::describe(cancel, QStringLiteral("Abbrechen"),
                   QStringLiteral("Schließen, ohne etwas zu speichern"));
    ok->setDefault(true);
    ok->setEnabled(!rows_.empty());
    connect(ok, &QPushButton::clicked, this, [this] { accept(); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(fpsRow);
    layout->addLayout(buttons);
}

int AnimationDialog::fps() const {
    return fps_->value();
}

void AnimationDialog::accept() {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        rows_[i].chosen = fields_[i].chosen->isChecked();
        rows_[i].from = fields_[i].from->text();
        rows_[i].to = fields_[i].to->text();
        rows_[i].step = fields_[i].step->text();
    }
    QString problem;
    const auto params = readAnimationRows(state_, rows_, problem);
    if (!params) {
        state_.messages->inform(QStringLiteral("Fehlerhafte Eingabe"), problem,
                                platform::MessageIcon::Critical);
        return;
    }
    params_ = *params;
    QDialog::accept();
}

bool saveAnimation(core::State& state, QWidget* parent, QSize plotSize) {
    AnimationDialog dialog(state, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    std::optional<QString> path =
        state.fileDialogs->saveFile(title, QStringLiteral("animation.gif"), fileFilter);
    if (!path) return false;
    // A name typed without an ending becomes an animated GIF.
    if (!animationFormat(*path)) *path += QStringLiteral(".gif");

    QProgressDialog progress(QStringLiteral("Die Animation wird gespeichert ..."),
                             QStringLiteral("Abbrechen"), 0, 1, parent);
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    const AnimationOutcome outcome = writeAnimation(
        state, {*path, plotSize, dialog.fps(), dialog.params()}, [&progress](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            return !progress.wasCanceled();
        });
    progress.close();
    if (outcome.result == AnimationResult::Failed)
        state.messages->inform(title, outcome.problem, platform::MessageIcon::Critical);
    return outcome.result == AnimationResult::Written;
}

} // namespace mainwin
