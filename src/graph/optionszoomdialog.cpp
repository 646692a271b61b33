#include "graph/optionszoomdialog.h"

#include "core/controltips.h"
#include "core/state.h"
#include "engine/settingsfile.h"
#include "graph/zoomoptions.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace graph {

OptionsZoomDialog::OptionsZoomDialog(core::State& state, QWidget* parent)
    : QDialog(parent), state_(state), xField_(new QLineEdit(this)), yField_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("optionszoom"));
    setWindowTitle(QStringLiteral("Zoom-Einstellungen"));
    xField_->setObjectName(QStringLiteral("Text1"));
    yField_->setObjectName(QStringLiteral("Text2"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Zoom-Faktor in x-Richtung:"), xField_);
    form->addRow(QStringLiteral("Zoom-Faktor in y-Richtung:"), yField_);

    auto* take = new QPushButton(QStringLiteral("&Übernehmen"), this);
    take->setObjectName(QStringLiteral("Command1"));
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    close->setObjectName(QStringLiteral("Command2"));
    core::describe(xField_, QStringLiteral("Zoom-Faktor in x-Richtung"),
                   QStringLiteral("Um diesen Faktor ändert ein Zoom die Breite des Bereichs"));
    core::describe(yField_, QStringLiteral("Zoom-Faktor in y-Richtung"),
                   QStringLiteral("Um diesen Faktor ändert ein Zoom die Höhe des Bereichs"));
    core::describe(take, QStringLiteral("Übernehmen"),
                   QStringLiteral("Die Zoom-Faktoren übernehmen"));
    core::describe(close, QStringLiteral("Schließen"), QStringLiteral("Das Fenster schließen"));
    // Enter in a field takes the factors, as the first button does.
    take->setDefault(true);
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(take);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(take, &QPushButton::clicked, this, [this] { apply(); });
    connect(close, &QPushButton::clicked, this, [this] { hide(); });
    setval();
}

void OptionsZoomDialog::setval() {
    const auto texts = zoomFactorTexts(state_);
    xField_->setText(texts[0]);
    yField_->setText(texts[1]);
}

void OptionsZoomDialog::apply() {
    const QStringList refusals = applyZoomFactors(state_, xField_->text(), yField_->text());
    for (const QString& text : refusals)
        state_.messages->inform(QStringLiteral("Kurvatur 2"), text,
                                platform::MessageIcon::Information);
    engine::savesettings(state_);
}

} // namespace graph
