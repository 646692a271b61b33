#include "mainwin/picturesizedialog.h"

#include "core/controltips.h"
#include "mainwin/graphicexport.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

namespace mainwin {

namespace {

QSpinBox* sideBox(QWidget* parent, const char* name, int value, const QString& accessibleName) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(1, maxPictureSide);
    box->setSuffix(QStringLiteral(" Pixel"));
    box->setValue(value);
    core::describe(box, accessibleName, accessibleName + QStringLiteral(" in Pixeln"));
    return box;
}

} // namespace

PictureSizeDialog::PictureSizeDialog(QSize proposed, QWidget* parent)
    : QDialog(parent),
      width_(sideBox(this, "pictureWidth", proposed.width(), QStringLiteral("Breite der Graphik"))),
      height_(
          sideBox(this, "pictureHeight", proposed.height(), QStringLiteral("Höhe der Graphik"))) {
    setObjectName(QStringLiteral("pictureSize"));
    setWindowTitle(QStringLiteral("Größe der Graphik"));
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("&Breite:"), width_);
    layout->addRow(QStringLiteral("&Höhe:"), height_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    core::describe(buttons->button(QDialogButtonBox::Ok), QStringLiteral("OK"),
                   QStringLiteral("Die Graphik in dieser Größe speichern"));
    core::describe(buttons->button(QDialogButtonBox::Cancel), QStringLiteral("Abbrechen"),
                   QStringLiteral("Schließen, ohne zu speichern"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

QSize PictureSizeDialog::chosenSize() const {
    return QSize(width_->value(), height_->value());
}

std::optional<QSize> PictureSizeDialog::ask(QSize proposed) {
    PictureSizeDialog dialog(proposed, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosenSize();
}

} // namespace mainwin
