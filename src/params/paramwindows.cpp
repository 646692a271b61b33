#include "params/paramwindows.h"

#include "core/arrange.h"
#include "core/twips.h"
#include "params/paramwindow.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRect>
#include <QScreen>

#include <algorithm>
#include <utility>
#include <vector>

namespace params {

namespace {

constexpr int stackStep = 240; // twips between windows stacked by a double-click

bool validSlot(int slot) {
    return slot >= 0 && slot < core::paramCount;
}

} // namespace

ParamWindows::ParamWindows(core::State& state, QMdiArea* area) : state_(state), area_(area) {}

ParamWindows::~ParamWindows() {
    // Inside an area the area owns the windows; top-level windows are ours.
    if (area_) return;
    for (auto& window : windows_)
        delete window.data();
}

ParamWindow* ParamWindows::window(int slot) const {
    return validSlot(slot) ? windows_[std::size_t(slot)].data() : nullptr;
}

QWidget* ParamWindows::frame(int slot) const {
    if (!validSlot(slot)) return nullptr;
    if (QMdiSubWindow* sub = frames_[std::size_t(slot)]) return sub;
    return windows_[std::size_t(slot)].data();
}

QRect ParamWindows::bounds() const {
    if (area_) return area_->viewport()->rect();
    if (QWidget* w = windows_[core::firstFreeParamSlot].data()) {
        if (QScreen* screen = w->screen()) return screen->availableGeometry();
    }
    return QRect(0, 0, 1280, 1024);
}

void ParamWindows::refresh(int slot) {
    if (!validSlot(slot)) return;
    const core::ParamSlot& p = state_.params[std::size_t(slot)];
    const bool shown = p.handle != -1 && p.visible;
    auto& window = windows_[std::size_t(slot)];
    if (!shown) {
        if (QWidget* f = frame(slot)) f->hide();
        if (window) window->showSlot();
        return;
    }

    if (!window) {
        window = new ParamWindow(state_, slot);
        window->stackOthers = [this](int k) { stackBelow(k); };
        window->closed = [this](int k) {
            if (windowClosed) windowClosed(k);
        };
        if (area_) {
            auto* sub = new QMdiSubWindow;
            // Closing only hides the window; it is shown again when its slot is.
            sub->setAttribute(Qt::WA_DeleteOnClose, false);
            sub->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
            sub->setWidget(window);
            sub->setObjectName(QStringLiteral("para") + QString::number(slot) +
                               QStringLiteral("Frame"));
            area_->addSubWindow(sub);
            frames_[std::size_t(slot)] = sub;
        }
    }
    window->showSlot();

    QWidget* f = frame(slot);
    if (!f->isVisible()) {
        // Every window takes the shared width when it appears.
        window->resize(window->sizeHint());
        if (QMdiSubWindow* sub = frames_[std::size_t(slot)]) sub->resize(sub->sizeHint());
        place(slot);
        // A window that appears with a new parameter must not take the focus from the term line
        // the user is typing in; the area would make it the active one.
        const QPointer<QWidget> focus = QApplication::focusWidget();
        f->show();
        if (focus && focus->isVisible() && QApplication::focusWidget() != focus) {
            if (area_) {
                for (QWidget* w = focus; w; w = w->parentWidget()) {
                    if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
                        area_->setActiveSubWindow(sub);
                        break;
                    }
                }
            }
            focus->setFocus(Qt::OtherFocusReason);
        }
    }
    // Closing the frame closes the window inside it too; it must come back with its frame.
    if (window->isHidden()) window->show();
}

void ParamWindows::showAllFree() {
    for (int k = core::firstFreeParamSlot; k <= core::lastParamSlot; ++k) {
        if (state_.params[std::size_t(k)].handle == -1) continue;
        state_.params[std::size_t(k)].visible = true;
        refresh(k);
    }
}

void ParamWindows::placeWaiting() {
    for (int k = 0; k < core::paramCount; ++k) {
        if (!waiting_[std::size_t(k)]) continue;
        waiting_[std::size_t(k)] = false;
        QWidget* f = frame(k);
        if (f && f->isVisible() && !state_.arrangeParamsOnApply) place(k);
    }
    if (state_.arrangeParamsOnApply) arrange();
}

void ParamWindows::place(int slot) {
    QWidget* f = frame(slot);
    if (area_ && !area_->isVisible()) {
        waiting_[std::size_t(slot)] = true;
        return;
    }
    const QRect area = bounds();
    const QSize size = f->size();
    std::vector<QRect> taken = keepClear ? keepClear() : std::vector<QRect>{};
    for (int k = 0; k < core::paramCount; ++k) {
        QWidget* other = frame(k);
        if (k != slot && other && other->isVisible() && !waiting_[std::size_t(k)])
            taken.push_back(other->geometry());
    }
    // Columns from the right edge leftwards, rows from the top down; the first free place.
    for (int x = area.right() + 1 - size.width(); x >= area.left(); x -= size.width()) {
        for (int y = area.top(); y + size.height() <= area.bottom() + 1; y += size.height()) {
            const QRect candidate(QPoint(x, y), size);
            const bool free = std::none_of(taken.begin(), taken.end(),
                                           [&](const QRect& r) { return r.intersects(candidate); });
            if (free) {
                f->move(candidate.topLeft());
                return;
            }
        }
    }
    // A full area: at the top right, over the others.
    f->move(std::max(area.left(), area.right() + 1 - size.width()), area.top());
}

void ParamWindows::arrange() {
    const QRect area = bounds();
    std::vector<core::ParamFrame> frames;
    for (int k = 0; k < core::paramCount; ++k) {
        QWidget* f = frame(k);
        if (!f || !f->isVisible()) continue;
        if (k < core::firstSampleCountSlot) {
            f->move(
                area.topLeft() +
                core::keepInside(f->geometry().translated(-area.topLeft()), area.size()).topLeft());
            continue;
        }
        if (state_.params[std::size_t(k)].handle != -1)
            frames.push_back({k, f->geometry().translated(-area.topLeft())});
    }
    const QRect graph = graphGeometry ? graphGeometry() : QRect();
    for (const core::ParamFrame& placed :
         core::arrangeparams(area.size(), graph, state_.tppX, std::move(frames)))
        frame(placed.slot)->move(area.topLeft() + placed.rect.topLeft());
}

void ParamWindows::stackBelow(int slot) {
    QWidget* own = frame(slot);
    if (!own) return;
    const int step = core::twipsToPixels(stackStep, core::twipsPerPixel(own->logicalDpiY()));
    int y = own->y() + step;
    for (int k = 0; k < core::paramCount; ++k) {
        QWidget* f = frame(k);
        if (k == slot || !f || !f->isVisible() || state_.params[std::size_t(k)].handle == -1)
            continue;
        f->move(own->x(), y);
        f->show();
        f->raise();
        y += step;
    }
}

} // namespace params
