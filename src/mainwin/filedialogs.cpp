#include "mainwin/filedialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QRegularExpression>

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
    QFileDialog dialog(QApplication::activeWindow(), title, proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks itself before it overwrites a file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // A name typed without ending takes that of the chosen kind of file ("Alle Dateien" none).
    const auto takeSuffix = [&dialog](const QString& kind) {
        static const QRegularExpression single(QStringLiteral("\\(\\*\\.(\\w+)\\)"));
        const QRegularExpressionMatch match = single.match(kind);
        dialog.setDefaultSuffix(match.hasMatch() ? match.captured(1) : QString());
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, takeSuffix);
    takeSuffix(dialog.selectedNameFilter());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return chosen(dialog.selectedFiles().first());
}

std::optional<QColor> ColourDialogBox::chooseColour(const QColor& initial, const QString& title) {
    const QColor c = QColorDialog::getColor(initial, QApplication::activeWindow(), title);
    if (!c.isValid()) return std::nullopt;
    return c;
}

} // namespace mainwin
