#include "graph/optionsgraphdialog.h"

#include "core/controltips.h"
#include "core/state.h"
#include "engine/settingsfile.h"
#include "graph/graphoptions.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace graph {

namespace {

const char* const labels[16] = {"x-Startwert:",
                                "x-Schrittweite:",
                                "y-Startwert:",
                                "y-Schrittweite:",
                                "x-Hilfslinien, minimale Anzahl:",
                                "x-Hilfslinien, maximale Anzahl:",
                                "y-Hilfslinien, minimale Anzahl:",
                                "y-Hilfslinien, maximale Anzahl:",
                                "Stellen hinter dem Komma, x-Werte:",
                                "Stellen hinter dem Komma, y-Werte:",
                                "Schriftgröße der Zahlen:",
                                "Schriftgröße von \"x\" / \"y\":",
                                "Hilfslinien-Helligkeit:",
                                "Beschriftung x-Achse:",
                                "Beschriftung y-Achse:",
                                "numerische Grenze für 1/(1+abs(x)):"};

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

OptionsGraphDialog::OptionsGraphDialog(core::State& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("optionsgraph"));
    setWindowTitle(QStringLiteral("Einstellungen zum Koordinatensystem"));
    auto* form = new QFormLayout;
    for (int i = 0; i < 16; ++i) {
        fields_[i] = new QLineEdit(this);
        fields_[i]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        form->addRow(QString::fromUtf8(labels[i]), fields_[i]);
        // The caption without its colon; "Übernehmen" makes the value count.
        const QString name = QString::fromUtf8(labels[i]).chopped(1);
        core::describe(fields_[i], name, name + QStringLiteral(" (gilt nach „Übernehmen“)"));
    }
    keepCount_ = new QCheckBox(QStringLiteral("Anzahl der x-Werte konstant lassen"), this);
    keepCount_->setObjectName(QStringLiteral("Check1"));
    core::describe(keepCount_, QStringLiteral("Anzahl der x-Werte konstant lassen"),
                   QStringLiteral("Beim Ändern der Fenstergröße bleibt die Zahl der berechneten "
                                  "x-Werte gleich"));
    form->addRow(keepCount_);
    // Read by the next resize of the graph window, with no button to wait for.
    connect(keepCount_, &QCheckBox::toggled, this,
            [this](bool checked) { state_.keepSampleCount = checked; });
    refine_ = new QCheckBox(QStringLiteral("Polstellen und Sprünge genau zeichnen"), this);
    refine_->setObjectName(QStringLiteral("Check2"));
    core::describe(refine_, QStringLiteral("Polstellen und Sprünge genau zeichnen"),
                   QStringLiteral("An Polstellen und Sprüngen wird nachgerechnet und der Graph "
                                  "ohne senkrechte Verbindungslinie gezeichnet (gilt nach "
                                  "„Übernehmen“)"));
    form->addRow(refine_);

    auto* buttons = new QHBoxLayout;
    QPushButton* take = button(this, "Command1", "&Übernehmen");
    QPushButton* close = button(this, "Command2", "&Schließen");
    QPushButton* defaults = button(this, "Command3", "&Voreinstellungen");
    core::describe(take, QStringLiteral("Übernehmen"),
                   QStringLiteral("Die Einstellungen übernehmen und neu zeichnen"));
    core::describe(close, QStringLiteral("Schließen"), QStringLiteral("Das Fenster schließen"));
    core::describe(defaults, QStringLiteral("Voreinstellungen"),
                   QStringLiteral("Die voreingestellten Werte wiederherstellen"));
    buttons->addWidget(take);
    buttons->addWidget(close);
    buttons->addWidget(defaults);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(take, &QPushButton::clicked, this, [this] { apply(); });
    connect(close, &QPushButton::clicked, this, [this] { hide(); });
    connect(defaults, &QPushButton::clicked, this, [this] { presets(); });
    setdef();
}

void OptionsGraphDialog::setdef() {
    const GraphOptionTexts texts = graphOptionTexts(state_);
    for (int i = 0; i < 16; ++i)
        fields_[i]->setText(texts[i]);
    keepCount_->setChecked(state_.keepSampleCount);
    refine_->setChecked(state_.graphOptions.refineSampling);
}

void OptionsGraphDialog::apply() {
    GraphOptionTexts texts;
    for (int i = 0; i < 16; ++i)
        texts[i] = fields_[i]->text();
    const auto result = readGraphOptions(state_.engine, texts);
    if (const auto* refusal = std::get_if<GraphOptionRefusal>(&result)) {
        state_.messages->inform(refusal->title, refusal->text, platform::MessageIcon::Critical);
        return;
    }
    GraphOptionValues values = std::get<GraphOptionValues>(result);
    values.refineSampling = refine_->isChecked();
    applyGraphOptions(state_, values);
    takeEffect();
}

void OptionsGraphDialog::presets() {
    applyGraphOptions(state_, defaultGraphOptions());
    setdef();
    takeEffect();
}

void OptionsGraphDialog::takeEffect() {
    state_.hooks.call(state_.hooks.redrawall);
    engine::savesettings(state_);
}

} // namespace graph
