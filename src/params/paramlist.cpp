#include "params/paramlist.h"

#include "core/controltips.h"
#include "core/state.h"
#include "core/twips.h"
#include "params/paramselection.h"
#include "params/paramwindows.h"

#include <QFontMetrics>
#include <QItemSelection>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>
#include <utility>

namespace params {

namespace {

// Sizes in twips.
constexpr int buttonHeight = 360;
constexpr int rowHeight = 237;
constexpr int listExtraHeight = 100;
constexpr int extraWidth = 800; // beside the widest label
constexpr int smallestWidth = 1100;

} // namespace

ParamList::ParamList(core::State& state, ParamWindows& windows, QWidget* parent)
    : QWidget(parent), state_(state), windows_(windows), list_(new QListWidget(this)),
      button_(new QPushButton(QStringLiteral("&Alle"), this)) {
    setObjectName(QStringLiteral("Parameter"));
    setWindowTitle(QStringLiteral("Parameter:"));
    list_->setObjectName(QStringLiteral("List1"));
    button_->setObjectName(QStringLiteral("Command1"));
    core::describe(list_, QStringLiteral("Parameter"),
                   QStringLiteral("Ein Klick zeigt oder verbirgt das Fenster des Parameters"));
    core::describe(button_, QStringLiteral("Alle oder keinen"),
                   QStringLiteral("Die Fenster aller Parameter zeigen oder alle verbergen"));
    // A click toggles its row and leaves the others as they are.
    list_->setSelectionMode(QAbstractItemView::MultiSelection);
    setMinimumWidth(px(smallestWidth));
    connect(
        list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this](const QItemSelection& on, const QItemSelection& off) { selectionChanged(on, off); });
    connect(button_, &QPushButton::clicked, this, [this] { allOrNone(); });
}

int ParamList::px(double twips) const {
    return core::twipsToPixels(twips, state_.tppX);
}

int ParamList::pxY(double twips) const {
    return core::twipsToPixels(twips, state_.tppY);
}

void ParamList::refpar() {
    updating_ = true;
    list_->clear();
    const QFontMetrics metrics(list_->font());
    int widest = 0;
    for (int k : listedSlots(state_)) {
        const core::ParamSlot& p = state_.params[std::size_t(k)];
        auto* item = new QListWidgetItem(p.label, list_);
        item->setData(Qt::UserRole, k);
        widest = std::max(widest, metrics.horizontalAdvance(p.label));
        item->setSelected(p.visible);
    }
    const int rows = list_->count();
    const int width = std::max(widest + px(extraWidth), px(smallestWidth));
    const int height = pxY(buttonHeight) + pxY(rowHeight * rows + listExtraHeight);
    wanted_ = QSize(width, height);
    resize(wanted_);
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->resize(frame->sizeHint());
    updating_ = false;
    showButtonCaption();
    if (resized) resized();
}

void ParamList::schalt(int k) {
    const bool was = std::exchange(updating_, true);
    for (int row = 0; row < list_->count(); ++row)
        if (list_->item(row)->data(Qt::UserRole).toInt() == k) list_->item(row)->setSelected(false);
    updating_ = was;
    showButtonCaption();
}

void ParamList::showSlot(int row, bool shown) {
    const int k = list_->item(row)->data(Qt::UserRole).toInt();
    state_.params[std::size_t(k)].visible = shown;
    windows_.refresh(k);
}

void ParamList::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    if (updating_) return;
    int last = -1;
    for (const QModelIndex& index : deselected.indexes()) {
        showSlot(index.row(), false);
        last = index.row();
    }
    for (const QModelIndex& index : selected.indexes()) {
        showSlot(index.row(), true);
        last = index.row();
    }
    showButtonCaption();
    if (last < 0) return;
    if (activated) activated(list_->item(last)->data(Qt::UserRole).toInt());
    if (windowsChanged) windowsChanged();
    // A window that was shown must not keep the focus: the user goes on choosing here.
    list_->setFocus(Qt::OtherFocusReason);
}

void ParamList::allOrNone() {
    const bool all = int(list_->selectedItems().size()) < list_->count();
    updating_ = true;
    for (int row = 0; row < list_->count(); ++row) {
        list_->item(row)->setSelected(all);
        showSlot(row, all);
    }
    updating_ = false;
    showButtonCaption();
    if (windowsChanged) windowsChanged();
}

void ParamList::showButtonCaption() {
    button_->setText(selectionButtonCaption(int(list_->selectedItems().size()), list_->count()));
}

void ParamList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int top = pxY(buttonHeight);
    button_->setGeometry(0, 0, width(), top);
    list_->setGeometry(0, top, width(), std::max(0, height() - top));
}

} // namespace params
