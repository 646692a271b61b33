#pragma once
// The dialog "Zoom-Einstellungen" (optionszoom): the zoom factors in x and y (Text1, Text2) and
// the buttons "&Übernehmen" and "&Schließen". It reads its fields and shows what
// graph/zoomoptions.h answers.

#include <QDialog>

class QLineEdit;

namespace core {
struct State;
}

namespace graph {

class OptionsZoomDialog : public QDialog {
public:
    explicit OptionsZoomDialog(core::State& state, QWidget* parent = nullptr);

    // Fills the fields from the state.
    void setval();

private:
    void apply();

    core::State& state_;
    QLineEdit* xField_;
    QLineEdit* yField_;
};

} // namespace graph
