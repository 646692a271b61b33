#pragma once
// The dialog "Einstellungen zum Koordinatensystem" (optionsgraph): sixteen fields, Text1 ...
// Text16, and the buttons "&Übernehmen", "&Schließen" and "&Voreinstellungen". It only reads
// its fields and shows what the checks of graph/graphoptions.h answer.

#include <QDialog>

#include <array>

class QCheckBox;
class QLineEdit;

namespace core {
struct State;
}

namespace graph {

class OptionsGraphDialog : public QDialog {
public:
    explicit OptionsGraphDialog(core::State& state, QWidget* parent = nullptr);

    // Fills the fields and the check box from the state (setdef).
    void setdef();

private:
    void apply();
    void presets();
    // Redraws everything and saves the settings file.
    void takeEffect();

    core::State& state_;
    std::array<QLineEdit*, 16> fields_{};
    QCheckBox* keepCount_ = nullptr;
    QCheckBox* refine_ = nullptr;
};

} // namespace graph
