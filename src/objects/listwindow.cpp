#include "objects/listwindow.h"

#include "core/controltips.h"
#include "core/state.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace objects {

void setUpList(QListWidget* list, QLineEdit* input, QWidget* owner,
               const std::function<void()>& scrolled) {
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    list->setFixedHeight(listRows * rowHeight + 2 * list->frameWidth());
    list->installEventFilter(owner);
    QObject::connect(list, &QListWidget::itemClicked, owner,
                     [input](QListWidgetItem* item) { input->setText(item->text()); });
    QObject::connect(list->verticalScrollBar(), &QScrollBar::valueChanged, owner, scrolled);
}

QVBoxLayout* rowsColumn(const QListWidget* list) {
    auto* column = new QVBoxLayout;
    column->setSpacing(0);
    column->setContentsMargins(0, list->frameWidth(), 0, 0);
    return column;
}

QPushButton* colourButton(QWidget* owner, int r, const QString& what,
                          const std::function<void()>& clicked) {
    auto* b = new QPushButton(owner);
    b->setObjectName(QStringLiteral("Command4%1").arg(r));
    b->setFixedSize(28, rowHeight);
    core::describe(b, QStringLiteral("Farbe %1 in Zeile %2").arg(what).arg(r + 1),
                   QStringLiteral("Farbe ändern"));
    QObject::connect(b, &QPushButton::clicked, owner, clicked);
    return b;
}

void paintColourButton(QPushButton* button, core::Colour colour) {
    button->setStyleSheet(
        QStringLiteral("background-color: %1;").arg(core::toQColor(colour).name(QColor::HexRgb)));
}

QPushButton* button(QWidget* owner, const QString& caption, const QString& objectName,
                    const QString& name, const QString& tip, const std::function<void()>& clicked) {
    auto* b = new QPushButton(caption, owner);
    b->setObjectName(objectName);
    core::describe(b, name, tip);
    QObject::connect(b, &QPushButton::clicked, owner, clicked);
    return b;
}

QPushButton* closeButton(QWidget* owner) {
    return button(owner, QStringLiteral("&Schließen"), QStringLiteral("Command2"),
                  QStringLiteral("Schließen"), QStringLiteral("Das Fenster schließen"), [owner] {
                      QWidget* parent = owner->parentWidget();
                      (parent && parent->inherits("QMdiSubWindow") ? parent : owner)->hide();
                  });
}

void setUpStatus(QLabel* status) {
    status->setObjectName(QStringLiteral("Label3"));
    status->setWordWrap(true);
    status->setAutoFillBackground(true);
    status->setAccessibleName(QStringLiteral("Statuszeile"));
    core::tipWhenCut(status);
}

void fillList(QListWidget* list, const std::vector<std::pair<QString, core::Colour>>& rows,
              int current) {
    list->clear();
    for (const auto& [text, colour] : rows) {
        auto* item = new QListWidgetItem(text, list);
        item->setData(Qt::UserRole, qulonglong(colour));
        item->setSizeHint(QSize(0, rowHeight));
    }
    if (current >= 0 && current < list->count()) {
        list->setCurrentRow(current, QItemSelectionModel::NoUpdate);
        list->clearSelection();
        list->scrollToItem(list->item(current));
    }
}

int firstVisible(const QListWidget* list) {
    const QModelIndex top = list->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

std::optional<int> singleSelection(const QListWidget* list) {
    const auto chosen = list->selectedItems();
    if (chosen.size() != 1) return std::nullopt;
    return list->row(chosen.front());
}

bool rowSelected(const QListWidget* list, int row) {
    return list->item(row)->isSelected();
}

std::optional<core::Colour> chooseRowColour(core::State& state, QListWidget* list, int at,
                                            core::Colour current, const QString& title) {
    const auto c = state.colourDialogs->chooseColour(core::toQColor(current), title);
    if (!c) return std::nullopt;
    const core::Colour chosen = core::fromQColor(*c);
    list->item(at)->setData(Qt::UserRole, qulonglong(chosen));
    return chosen;
}

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool listKey(const QObject* watched, const QEvent* event, QLineEdit* input, const QListWidget* list,
             const std::function<void()>& take, const std::function<void()>& remove) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    if (watched == input && isEnter(event)) {
        take();
    } else if (watched == list && (key == Qt::Key_Delete || key == Qt::Key_Backspace)) {
        remove();
    } else if (watched == list && isEnter(event)) {
        input->setFocus();
    } else {
        return false;
    }
    return true;
}

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
