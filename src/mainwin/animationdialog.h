#pragma once
// "Animation speichern ...": a dialog to choose the parameters that move, their ranges and steps
// and the frames per second, then the file, then the export with a progress bar that can cancel
// it. The frames are drawn and written by writeAnimation (animation.h).

#include "mainwin/animation.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace core {
struct State;
}

namespace mainwin {

class AnimationDialog : public QDialog {
public:
    explicit AnimationDialog(core::State& state, QWidget* parent = nullptr);

    // The parameters read from the rows, after OK.
    const std::vector<AnimatedParam>& params() const { return params_; }
    int fps() const;

    // OK: the rows are read; a wrong field is told in a message box and the dialog stays.
    void accept() override;

private:
    struct RowFields {
        QCheckBox* chosen;
        QLineEdit* from;
        QLineEdit* to;
        QLineEdit* step;
    };
    core::State& state_;
    std::vector<AnimationRow> rows_;
    std::vector<RowFields> fields_;
    QSpinBox* fps_;
    std::vector<AnimatedParam> params_;
};

// The whole command for a plot area of plotSize pixels: dialog, file dialog (state.fileDialogs),
// the export under a progress dialog, and a message when it fails. The caller redraws the
// screen afterwards. True when the animation was written.
bool saveAnimation(core::State& state, QWidget* parent, QSize plotSize);

} // namespace mainwin
