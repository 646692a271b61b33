#pragma once
// The small dialog that asks for the size of a saved picture in pixels.

#include <QDialog>
#include <QSize>

#include <optional>

class QSpinBox;

namespace mainwin {

class PictureSizeDialog : public QDialog {
public:
    explicit PictureSizeDialog(QSize proposed, QWidget* parent = nullptr);
    QSize chosenSize() const;

    // Shows the dialog over the active window; nothing when cancelled.
    static std::optional<QSize> ask(QSize proposed);

private:
    QSpinBox* width_;
    QSpinBox* height_;
};

} // namespace mainwin
