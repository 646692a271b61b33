#include "objects/statusline.h"

#include <QLabel>
#include <QPalette>

namespace objects {

void showStatus(QLabel* status, const QStringList& messages) {
    QPalette palette = status->parentWidget() ? status->parentWidget()->palette() : QPalette();
    if (messages.isEmpty()) {
        status->setText(QStringLiteral("Ok."));
    } else {
        status->setText(messages.join(QLatin1Char('\n')));
        palette.setColor(QPalette::Window, QColor(150, 0, 0));
        palette.setColor(QPalette::WindowText, Qt::white);
    }
    status->setPalette(palette);
}

} // namespace objects
