// The main window's part in arranging its child windows: the docked layout, the size limits of
// the windows, the menu entries that steer them, and the parameter selection list.

#include "collection/collectionwindow.h"
#include "core/arrange.h"
#include "core/scopes.h"
#include "core/state.h"
#include "core/twips.h"
#include "graph/graphwindow.h"
#include "graph/navigation.h"
#include "mainwin/mainwindow.h"
#include "params/paramlist.h"
#include "params/paramselection.h"
#include "params/paramwindows.h"
#include "terms/termwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>
#include <vector>

namespace mainwin {

namespace {

// Size limits of the frames in twips.
constexpr int graphSmallestWidth = 2500;
constexpr int graphSmallestHeight = 4000;
constexpr int termSmallestWidth = 3315;
constexpr int collectionSmallestWidth = 3315;
constexpr int collectionSmallestHeight = 4165;
constexpr int collectionExtendedWidth = 7050; // the extended view has this one size
constexpr int collectionExtendedHeight = 8742;

core::ChildWindow childOf(const QWidget* frame) {
    core::ChildWindow child;
    child.rect = frame->geometry();
    child.visible = frame->isVisible();
    child.limits.minimum = frame->minimumSize();
    child.limits.maximum = frame->maximumSize();
    return child;
}

QAction* findEntry(const QObject* window, const char* name) {
    return window->findChild<QAction*>(QLatin1String(name));
}

QAction* addToggle(QMenu* menu, const char* name, const QString& caption, bool checked) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

} // namespace

void MainWindow::prepareArrangement() {
    // Before the windows note their sizes into the state: what the settings file holds.
    const core::WindowAttributes& w = state_.windowAttributes;
    if (w.graphInnerWidth > 0 && w.graphInnerHeight > 0)
        startGeometry_ = {w.graphInnerHeight, w.graphInnerWidth, w.graphLeft, w.termLeft};
    // Only the height of the graph window can be maximised (menu "Graphfenster-Höhe
    // maximieren"): a maximised frame would cover every other window.
    graphFrame_->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    area_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);

    paramList_ = new params::ParamList(state_, *params_);
    paramListFrame_ = area_->addSubWindow(paramList_);
    paramListFrame_->setObjectName(QStringLiteral("ParameterFrame"));
    paramListFrame_->setAttribute(Qt::WA_DeleteOnClose, false);
    paramListFrame_->hide();
    paramList_->activated = [this](int k) { graph_->navigation().coupledParameter = k; };
    paramList_->windowsChanged = [this] {
        if (state_.arrangeParamsOnApply) params_->arrange();
    };
    paramList_->resized = [this] { placeParamList(); };
    params_->graphGeometry = [this] {
        return graphFrame_->isVisible() ? graphFrame_->geometry() : QRect();
    };
    params_->windowClosed = [this](int k) { paramList_->schalt(k); };
    params_->keepClear = [this] {
        std::vector<QRect> shown;
        for (const QMdiSubWindow* f : {termFrame_, collectionFrame_})
            if (f->isVisible()) shown.push_back(f->geometry());
        return shown;
    };
    state_.hooks.paramListRefresh = [this] {
        if (paramListFrame_->isVisible()) paramList_->refpar();
    };

    // A term window of another height leaves other room below it for the collection window.
    term_->heightFitted = [this](int a) {
        if (a == 1 || !placed_) return;
        if (docked_) {
            arrange(1);
            return;
        }
        const int room = area_->viewport()->height() - termFrame_->height();
        collectionFrame_->resize(
            collectionFrame_->width(),
            std::max(room, core::twipsToPixels(collectionSmallestHeight, state_.tppY)));
    };
    applyWindowLimits();
    if (auto* extended = collectionWindow_->findChild<QCheckBox*>(QStringLiteral("Check1")))
        connect(extended, &QCheckBox::toggled, this, [this] {
            applyWindowLimits();
            if (docked_) arrange(0);
        });
    for (QObject* watched :
         {static_cast<QObject*>(area_->viewport()), static_cast<QObject*>(graphFrame_),
          static_cast<QObject*>(paramListFrame_)})
        watched->installEventFilter(this);
}

void MainWindow::applyWindowLimits() {
    const auto px = [this](int twipsX, int twipsY) {
        return QSize(core::twipsToPixels(twipsX, state_.tppX),
                     core::twipsToPixels(twipsY, state_.tppY));
    };
    graphFrame_->setMinimumSize(px(graphSmallestWidth, graphSmallestHeight));
    // The term window's height is fitted to its lines (TermWindow::fitheight).
    termFrame_->setMinimumWidth(
        std::max(termFrame_->minimumSizeHint().width(), px(termSmallestWidth, 0).width()));
    const auto* extended = collectionWindow_->findChild<QCheckBox*>(QStringLiteral("Check1"));
    if (extended && extended->isChecked()) {
        // One size, but never one that cuts off the window's own controls.
        collectionFrame_->setMinimumSize(QSize(0, 0));
        collectionFrame_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        const QSize size = px(collectionExtendedWidth, collectionExtendedHeight)
                               .expandedTo(collectionFrame_->minimumSizeHint());
        collectionFrame_->setFixedSize(size);
    } else {
        collectionFrame_->setMinimumSize(px(collectionSmallestWidth, collectionSmallestHeight));
        collectionFrame_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

void MainWindow::arrangeWindows() {
    const QSize area = area_->viewport()->size();
    if (!isVisible() || area.isEmpty()) return;
    if (!placed_) {
        placed_ = true;
        termFrame_->move(0, 0);
        if (startGeometry_[0] > 0) {
            // The sizes and places of the last run (settings file).
            core::WindowAttributes& w = state_.windowAttributes;
            w.graphInnerHeight = startGeometry_[0];
            w.graphInnerWidth = startGeometry_[1];
            w.graphLeft = startGeometry_[2];
            w.termLeft = startGeometry_[3];
            takeWindowAttributes(core::graphGeometryRead);
        } else {
            const int left = termFrame_->width();
            graphFrame_->setGeometry(left, 0, area.width() - left, area.height());
        }
    }
    arrange(0);
}

void MainWindow::arrange(int mode) {
    if (!placed_ || arranging_ || isMinimized()) return;
    const core::ScopedValue<bool> arranging(arranging_, true);
    core::DockedLayout layout;
    layout.area = area_->viewport()->size();
    layout.tppX = state_.tppX;
    layout.tppY = state_.tppY;
    layout.mode = mode;
    layout.maximiseGraphHeight = maximiseGraphHeight_;
    layout.graphOnLeft = graphOnLeft_;
    layout.graph = childOf(graphFrame_);
    layout.term = childOf(termFrame_);
    layout.collection = childOf(collectionFrame_);
    layout.list = childOf(paramListFrame_);
    if (!layout.graph.visible) return;
    layout = core::arrange(layout);
    graphOnLeft_ = layout.graphOnLeft;
    graphFrame_->setGeometry(layout.graph.rect);
    if (layout.term.visible) termFrame_->setGeometry(layout.term.rect);
    collectionFrame_->setGeometry(layout.collection.rect);
    paramListFrame_->setGeometry(layout.list.rect);
    if (state_.arrangeParamsOnApply) params_->arrange();
    // The other windows stay where the user put them, but where he can reach them.
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        if (!sub->isVisible() || sub == graphFrame_ || sub == termFrame_ ||
            sub == collectionFrame_ || sub == paramListFrame_)
            continue;
        sub->move(core::keepInside(sub->geometry(), layout.area).topLeft());
    }
}

bool MainWindow::arrangementEvent(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && docked_) {
        if (watched == area_->viewport()) arrange(0);
        // The user resized the graph window: the others make room around it.
        if (watched == graphFrame_) arrange(1);
    }
    if (watched == paramListFrame_ && event->type() == QEvent::Close)
        if (QAction* entry = findEntry(this, "mn_spal")) entry->setChecked(false);
    return false;
}

void MainWindow::buildArrangeEntries(QMenu* windows) {
    QAction* dock =
        addToggle(windows, "mn_dock", QStringLiteral("Haupt&fenster andocken"), docked_);
    QAction* individual =
        addToggle(windows, "mn_gri", QStringLiteral("Graphenfenster individuell änderbar"),
                  state_.windowAttributes.graphIndividual);
    QAction* maximise = addToggle(
        windows, "mn_ghm", QStringLiteral("Graphfenster-H&öhe maximieren"), maximiseGraphHeight_);
    connect(dock, &QAction::triggered, this, [this](bool checked) {
        docked_ = checked;
        // Undocked, the windows stay where they are; the area scrolls to those outside.
        const auto policy = checked ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
        area_->setHorizontalScrollBarPolicy(policy);
        area_->setVerticalScrollBarPolicy(policy);
        // Docked, nothing lies outside: the area shows its origin again.
        if (checked) {
            area_->horizontalScrollBar()->setValue(0);
            area_->verticalScrollBar()->setValue(0);
        }
        arrange(0);
    });
    connect(individual, &QAction::triggered, this, [this, maximise](bool checked) {
        state_.windowAttributes.graphIndividual = checked;
        if (!checked) return;
        maximise->setChecked(false);
        maximiseGraphHeight_ = false;
    });
    connect(maximise, &QAction::triggered, this, [this, individual](bool checked) {
        maximiseGraphHeight_ = checked;
        if (checked) {
            individual->setChecked(false);
            state_.windowAttributes.graphIndividual = false;
        }
        arrange(0);
    });
}

void MainWindow::buildParamListEntry(QMenu* param) {
    connect(addToggle(param, "mn_spal", QStringLiteral("Parameteraus&wahlliste anzeigen"), false),
            &QAction::triggered, this, [this](bool checked) { showParamList(checked); });
}

void MainWindow::showParamList(bool shown) {
    if (QAction* entry = findEntry(this, "mn_spal")) entry->setChecked(shown);
    if (!shown) {
        paramListFrame_->hide();
        return;
    }
    paramList_->refpar();
    paramListFrame_->show();
    paramListFrame_->raise();
    placeParamList();
}

void MainWindow::placeParamList() {
    const QSize area = area_->viewport()->size();
    if (!docked_ || !placed_) {
        paramListFrame_->move(core::keepInside(paramListFrame_->geometry(), area).topLeft());
        return;
    }
    core::DockedLayout layout;
    layout.area = area;
    layout.tppX = state_.tppX;
    layout.tppY = state_.tppY;
    layout.mode = 1; // only the list moves
    layout.graphOnLeft = graphOnLeft_;
    layout.graph = childOf(graphFrame_);
    layout.term = childOf(termFrame_);
    layout.collection = childOf(collectionFrame_);
    layout.list = childOf(paramListFrame_);
    paramListFrame_->setGeometry(core::arrange(layout).list.rect);
}

void MainWindow::showLowerBounds() {
    for (int k : params::integralLowerBoundSlots(state_)) {
        if (state_.params[std::size_t(k)].visible) continue;
        state_.params[std::size_t(k)].visible = true;
        params_->refresh(k);
    }
    state_.hooks.call(state_.hooks.paramListRefresh);
}

void MainWindow::buildParamFilterEntries() {
    const auto filter = [this](bool only) {
        params::showLineParams(state_, state_.termEditor.currentLine, only);
        for (int k = 0; k < core::paramCount; ++k)
            params_->refresh(k);
        if (state_.arrangeParamsOnApply) params_->arrange();
        showParamList(true);
    };
    QAction* only =
        popup_->addAction(QStringLiteral("Nur die Parameter zu dieser Funktion anzeigen"));
    only->setObjectName(QStringLiteral("mnp2"));
    connect(only, &QAction::triggered, this, [filter] { filter(true); });
    QAction* also =
        popup_->addAction(QStringLiteral("Auch die Parameter zu dieser Funktion anzeigen"));
    also->setObjectName(QStringLiteral("mnp7"));
    connect(also, &QAction::triggered, this, [filter] { filter(false); });
}

} // namespace mainwin
