#include "mainwin/filedialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>

namespace mainwin {

namespace {

std::optional<QString> chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return path;
}

} // namespace

std::optional<QString> FileDialogBoxes::openFile(const QString& title, const QString& filter) {
    // The file need not exist: opening a new name offers to make it.
    QFileDialog dialog(QApplication::activeWindow(), title, QString(), filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return chosen(dialog.selectedFiles().first());
}

std::optional<QString> FileDialogBoxes::saveFile(const QString& title, const QString& proposed,
                                                 const QString& filter) {
    // The program asks itself before it overwrites a file.
    return chosen(QFileDialog::getSaveFileName(QApplication::activeWindow(), title, proposed,
                                               filter, nullptr, QFileDialog::DontConfirmOverwrite));
}

std::optional<QColor> ColourDialogBox::chooseColour(const QColor& initial, const QString& title) {
    const QColor c = QColorDialog::getColor(initial, QApplication::activeWindow(), title);
    if (!c.isValid()) return std::nullopt;
    return c;
}

} // namespace mainwin
