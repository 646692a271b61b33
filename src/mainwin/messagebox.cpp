#include "mainwin/messagebox.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace mainwin {

namespace {

QMessageBox::Icon toIcon(platform::MessageIcon icon) {
    switch (icon) {
    case platform::MessageIcon::Critical:
        return QMessageBox::Critical;
    case platform::MessageIcon::Warning:
        return QMessageBox::Warning;
    case platform::MessageIcon::Question:
        return QMessageBox::Question;
    case platform::MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

void MessageBoxService::inform(const QString& title, const QString& text,
                               platform::MessageIcon icon) {
    QMessageBox box(toIcon(icon), title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool MessageBoxService::ask(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> MessageBoxService::input(const QString& title, const QString& prompt,
                                                const QString& preset) {
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                               QLineEdit::Normal, preset, &ok);
    if (!ok) return std::nullopt;
    return text;
}

} // namespace mainwin
