#include "mainwin/mainwindow.h"

#include "calc/calcwindow.h"
#include "collection/collectionstate.h"
#include "collection/collectionwindow.h"
#include "collection/entryops.h"
#include "collection/filecommands.h"
#include "core/state.h"
#include "core/twips.h"
#include "engine/enginedefs.h"
#include "engine/settingsfile.h"
#include "graph/graphwindow.h"
#include "graph/optionsgraphdialog.h"
#include "graph/optionszoomdialog.h"
#include "graph/scale.h"
#include "mainwin/animationdialog.h"
#include "mainwin/clipboard.h"
#include "mainwin/graphicexport.h"
#include "mainwin/help.h"
#include "mainwin/helpwindow.h"
#include "mainwin/picturesizedialog.h"
#include "mainwin/printing.h"
#include "mainwin/programsetup.h"
#include "mainwin/undokeys.h"
#include "objects/linewindow.h"
#include "objects/pointwindow.h"
#include "params/paramlogic.h"
#include "params/paramwindow.h"
#include "params/paramwindows.h"
#include "params/timers.h"
#include "session/rangewindow.h"
#include "session/startup.h"
#include "terms/termcheck.h"
#include "terms/termrows.h"
#include "terms/termwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace mainwin {

namespace {

constexpr int startWidth = 1200;
constexpr int startHeight = 800;

// on(entry, handler) connects a menu entry to its command, in the window's context.
auto connector(QObject* context) {
    return [context](QAction* action, auto&& handler) {
        QObject::connect(action, &QAction::triggered, context,
                         std::forward<decltype(handler)>(handler));
    };
}

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QMenu* addSubmenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* addEntry(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction* addToggle(QMenu* menu, const char* name, const QString& caption, bool checked) {
    QAction* action = addEntry(menu, name, caption);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

} // namespace

MainWindow::MainWindow(core::State& state, QWidget* parent)
    : QMainWindow(parent), state_(state), area_(new QMdiArea(this)),
      collection_(std::make_unique<collection::CollectionState>()) {
    setObjectName(QStringLiteral("mother"));
    setWindowTitle(QString::fromUtf8(mainWindowTitle));
    // Every child window and dialog takes the icon from here.
    setWindowIcon(programIcon());
    setCentralWidget(area_);
    resize(startWidth, startHeight);

    copyText = [](const QString& text) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setText(text);
    };
    clipboard = std::make_shared<SystemClipboard>();
    printing = std::make_shared<PrintDialogBox>();
    choosePictureSize = &PictureSizeDialog::ask;

    session::StartupSteps steps;
    steps.prepareWindows = [this] { prepareWindows(); };
    steps.arrange = [this] { arrangeWindows(); };
    steps.drawKeptWork = [this] {
        keptWorkDrawn_ = collection::drawCurrentData(*collection_, state_);
        return keptWorkDrawn_;
    };
    session::startup(state_, core::twipsPerPixel(logicalDpiX()), core::twipsPerPixel(logicalDpiY()),
                     steps);
    term_->showState();
    term_->focusLine(0);
}

void MainWindow::prepareWindows() {
    // The settings are read; the working copy follows them, before any change is taken over.
    collection::openWorkingCopy(*collection_, state_);
    term_ = new terms::TermWindow(state_);
    termFrame_ = area_->addSubWindow(term_);
    termFrame_->setObjectName(QStringLiteral("termformFrame"));
    // Closing a child window only hides it; the window menu shows it again.
    termFrame_->setAttribute(Qt::WA_DeleteOnClose, false);
    graph_ = new graph::GraphWindow(state_);
    graphFrame_ = area_->addSubWindow(graph_);
    graphFrame_->setObjectName(QStringLiteral("graphformFrame"));
    graphFrame_->setAttribute(Qt::WA_DeleteOnClose, false);
    params_ = std::make_unique<params::ParamWindows>(state_, area_);
    collectionWindow_ = new collection::CollectionWindow(*collection_, state_);
    collectionFrame_ = area_->addSubWindow(collectionWindow_);
    collectionFrame_->setObjectName(QStringLiteral("sammlungFrame"));
    collectionFrame_->setAttribute(Qt::WA_DeleteOnClose, false);
    collectionFrame_->hide();
    range_ = new session::RangeWindow(state_);
    rangeFrame_ = area_->addSubWindow(range_);
    rangeFrame_->setObjectName(QStringLiteral("interformFrame"));
    rangeFrame_->setAttribute(Qt::WA_DeleteOnClose, false);
    rangeFrame_->hide();
    prepareObjectWindows();

    paramTimer_ = new QTimer(this);
    paramTimer_->setObjectName(QStringLiteral("Timer1"));
    paramTimer_->setInterval(params::timerIntervalMs(state_.timerTempo));
    undo_ = new UndoKeys(*collection_, state_, this);
    connect(paramTimer_, &QTimer::timeout, this, [this] {
        // The tempo may have changed while the timer ran (the factory settings, a settings file).
        const int interval = params::timerIntervalMs(state_.timerTempo);
        if (paramTimer_->interval() != interval) paramTimer_->setInterval(interval);
        params::timerTick(state_);
    });

    buildMenus();
    buildLinePopup();
    connectHooks();
    prepareArrangement();

    term_->init(0);
    termFrame_->resize(termFrame_->sizeHint());
    termFrame_->show();
    graphFrame_->show();
}

MainWindow::~MainWindow() {
    // The state outlives the windows; nothing may call into them any more.
    state_.hooks = core::Hooks{};
}

void MainWindow::connectHooks() {
    core::Hooks& hooks = state_.hooks;
    hooks.redrawall = [this] { redrawall(); };
    hooks.collectionTakeOver = [this] {
        collection::takeOver(*collection_, state_);
        // The selected entry took the change over: its details show it.
        if (collection_->syncSelection) collectionWindow_->showCollection();
        undo_->history().note();
    };
    undo_->restored = [this] {
        collectionWindow_->showCollection();
        state_.hooks.call(state_.hooks.rangeWindowUpdate);
        syncMarks();
    };
    hooks.paramChanged = [this](int slot) { params_->refresh(slot); };
    hooks.arrangeParams = [this] { params_->arrange(); };
    hooks.termStatusChanged = [this] { term_->showState(); };
    hooks.timersStopped = [this] {
        paramTimer_->stop();
        if (timerEntry_) timerEntry_->setText(state_.timerMenuCaption);
    };
    hooks.timerRunningChanged = [this](bool running) {
        if (!running)
            paramTimer_->stop();
        else if (!paramTimer_->isActive())
            paramTimer_->start(params::timerIntervalMs(state_.timerTempo));
        if (timerEntry_) timerEntry_->setText(state_.timerMenuCaption);
    };
    hooks.noteWindowAttributes = [this] { noteWindowAttributes(); };
    hooks.windowAttributesRead = [this](int read) { takeWindowAttributes(read); };
    term_->popupRequested = [this](QPoint globalPos) { showLinePopup(globalPos); };
    graph_->showRangeWindow = [this] { showRangeWindow(); };
    graph_->showZoomOptions = [this] { showZoomOptions(); };
    graph_->navigation().couple = [this](int slot, double v, bool xFormat) {
        params::couple(state_, slot, v,
                       xFormat ? state_.scale.xNumberFormat : state_.scale.yNumberFormat);
    };
    // The parameter window activated last is the one the mouse drives.
    connect(area_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* frame) {
        for (int k = 0; frame && k < core::paramCount; ++k)
            if (params_->window(k) && frame->widget() == params_->window(k))
                graph_->navigation().coupledParameter = k;
    });
}

void MainWindow::showRangeWindow() {
    range_->updateall();
    showFrame(rangeFrame_);
}

void MainWindow::showZoomOptions() {
    if (!zoomOptions_) zoomOptions_ = new graph::OptionsZoomDialog(state_, this);
    zoomOptions_->setval();
    zoomOptions_->show();
    zoomOptions_->raise();
    zoomOptions_->activateWindow();
}

void MainWindow::noteWindowAttributes() {
    core::WindowAttributes& w = state_.windowAttributes;
    w.graphInnerHeight = float(core::pixelsToTwips(graph_->height(), state_.tppY));
    w.graphInnerWidth = float(core::pixelsToTwips(graph_->width(), state_.tppX));
    w.graphLeft = float(core::pixelsToTwips(graphFrame_->x(), state_.tppX));
    w.termLeft = float(core::pixelsToTwips(termFrame_->x(), state_.tppX));
}

void MainWindow::takeWindowAttributes(int read) {
    syncMarks();
    pointWindow_->showDisplay();                // the point size
    if (graphOptions_) graphOptions_->setdef(); // the list may bring other values
    if (read & core::descriptionFontRead) collectionWindow_->showDescriptionFont();
    if (read & core::termFontRead) {
        term_->resizeRows(state_.termEditor.fontSize, false);
        term_->fitheight(0);
    }
    if (read & core::graphGeometryRead) {
        const core::WindowAttributes& w = state_.windowAttributes;
        // The frame's title bar and borders come on top of the inner size.
        const QSize frame = graphFrame_->size() - graph_->size();
        graphFrame_->setGeometry(
            core::twipsToPixels(w.graphLeft, state_.tppX), graphFrame_->y(),
            core::twipsToPixels(w.graphInnerWidth, state_.tppX) + frame.width(),
            core::twipsToPixels(w.graphInnerHeight, state_.tppY) + frame.height());
        termFrame_->move(core::twipsToPixels(w.termLeft, state_.tppX), termFrame_->y());
    }
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    buildFileMenu(bar);
    buildEditMenu(bar);
    buildParameterMenu(bar);
    buildSettingsMenu(bar);
    buildCollectionMenu(bar);
    buildWindowMenu(bar);
    buildHelpMenu(bar);
    collectionWindow_->setEntryMenu(findChild<QMenu*>(QStringLiteral("mn_samml")));
    syncMarks();
}

void MainWindow::buildFileMenu(QMenuBar* bar) {
    const auto on = connector(this);
    QMenu* file = addMenu(bar, "mn_file", QStringLiteral("&Datei"));
    buildCollectionFileEntries(file);
    buildPictureFileEntries(file);
    on(addEntry(file, "mn_animation", QStringLiteral("Animation speichern ...")), [this] {
        // Running timers would move parameters between the frames.
        paramTimer_->stop();
        saveAnimation(state_, this, graph_->plotArea()->size());
        if (params::timerShouldRun(state_)) paramTimer_->start();
        redrawall();
    });
    on(addEntry(file, "mn_saveopt", QStringLiteral("&Einstellungen speichern")),
       [this] { saveSettings(); });
    on(addEntry(file, "mn_optdef", QStringLiteral("&Voreinstellungen aktivieren")), [this] {
        session::restoreDefaults(state_);
        syncMarks();
        term_->showState();
        redrawall();
        saveSettings();
    });
    on(addEntry(file, "mn_close", QStringLiteral("&S&chließen")), [this] { close(); });
}

void MainWindow::buildEditMenu(QMenuBar* bar) {
    const auto on = connector(this);
    QMenu* edit = addMenu(bar, "mn_edit", QStringLiteral("&Bearbeiten"));
    QAction* undo = addEntry(edit, "mn_undo", QStringLiteral("&Rückgängig"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    on(undo, [this] { undo_->undo(); });
    QAction* redo = addEntry(edit, "mn_redo", QStringLiteral("&Wiederholen"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    on(redo, [this] { undo_->redo(); });
    edit->addSeparator();
    on(addEntry(edit, "mn_allclr", QStringLiteral("Alle Einträge löschen")),
       [this] { term_->clrall(); });
    on(addEntry(edit, "mn_std", QStringLiteral("Standardbereich verwenden")),
       [this] { range_->standardAll(); });
    on(addEntry(edit, "mn_copytoclip",
                QStringLiteral("Graphik als Bitmap in Zwischenablage &kopieren")),
       [this] { copyBitmap(state_, graph_->picture(), *clipboard); });
    on(addEntry(edit, "mn_emf",
                QStringLiteral("Graphik im &EMF-Format in Zwischenablage kopieren")),
       [this] {
           copyVector(state_, graph_->plotArea()->size(), graph_->picture(), *clipboard);
           // The export drew for a plot area of its own; the screen gets its picture back.
           redrawall();
       });
    on(addEntry(edit, "mn_copytermo", QStringLiteral("&Terme in Zwischenablage kopieren")),
       [this] { copyText(terms::paracopy(state_, 0)); });
    on(addEntry(edit, "mn_paracopy",
                QStringLiteral("Terme mit ersetzten &Parametern in Zwischenablage")),
       [this] { copyText(terms::paracopy(state_, 1)); });
}

void MainWindow::buildParameterMenu(QMenuBar* bar) {
    const auto on = connector(this);
    QMenu* param = addMenu(bar, "mn_pmw", QStringLiteral("&Parameter"));
    buildParamListEntry(param);
    on(addEntry(param, "mn_para", QStringLiteral("Alle &Parameter anzeigen")), [this] {
        params_->showAllFree();
        if (state_.arrangeParamsOnApply) params_->arrange();
        showParamList(true);
    });
    // Parameter coupling: which mouse button drives the parameter activated last.
    const auto coupling = [this](int button) {
        return [this, button](bool checked) {
            int& mask = graph_->navigation().couplingMask;
            mask = checked ? mask | button : mask & ~button;
        };
    };
    const int mask = graph_->navigation().couplingMask;
    on(addToggle(param, "mn_koppel",
                 QStringLiteral("Parameterkoppelung mit rechter &Maustaste und x-Koordinate"),
                 mask & graph::rightButton),
       coupling(graph::rightButton));
    on(addToggle(param, "mn_koppely",
                 QStringLiteral("Parameterkoppelung mit &linker Maustaste und y-Koordinate"),
                 mask & graph::leftButton),
       coupling(graph::leftButton));
    QAction* pardock = addToggle(param, "mn_pardock", QStringLiteral("&Parameterfenster anordnen"),
                                 state_.arrangeParamsOnApply);
    on(pardock, [this](bool checked) {
        state_.arrangeParamsOnApply = checked;
        if (checked) params_->arrange();
    });
    on(addEntry(param, "mn_ugr", QStringLiteral("&Untere Grenzen für Integralfunktionen anzeigen")),
       [this] { showLowerBounds(); });
    QAction* autoint = addToggle(param, "mn_autoint",
                                 QStringLiteral("automatische Erkennung von &Integralfunktionen"),
                                 state_.autoIntegralRecognition);
    on(autoint, [this](bool checked) {
        state_.autoIntegralRecognition = checked;
        if (!checked) return;
        term_->readFields();
        terms::findandget(state_, 1);
        term_->showState();
    });
    timerEntry_ = addEntry(param, "mn_timergo", state_.timerMenuCaption);
    on(timerEntry_, [this] { params::timergo(state_); });
    on(addEntry(param, "mn_tempo", QStringLiteral("T&empo der Timer ...")), [this] {
        if (params::asktempo(state_))
            paramTimer_->setInterval(params::timerIntervalMs(state_.timerTempo));
    });
}

void MainWindow::buildSettingsMenu(QMenuBar* bar) {
    const auto on = connector(this);
    QMenu* extra = addMenu(bar, "mn_extra", QStringLiteral("&Einstellungen"));
    on(addEntry(extra, "mn_groptions", QStringLiteral("Allgemeine  &Einstellungen")), [this] {
        if (!graphOptions_) graphOptions_ = new graph::OptionsGraphDialog(state_, this);
        graphOptions_->setdef();
        graphOptions_->show();
    });
    QMenu* objects =
        addSubmenu(extra, "mn_helpum", QStringLiteral("Verschiedene Objekte ein- und ausblenden"));
    core::GraphOptions& options = state_.graphOptions;
    on(addToggle(objects, "mn_helpline", QStringLiteral("Hilfs&linien sichtbar"),
                 options.gridShown),
       [this](bool checked) { toggleBackground(state_.graphOptions.gridShown, checked); });
    on(addToggle(objects, "mn_viewnumb", QStringLiteral("B&eschriftung sichtbar"),
                 options.labelsShown),
       [this](bool checked) { toggleBackground(state_.graphOptions.labelsShown, checked); });
    on(addToggle(objects, "mn_axevis", QStringLiteral("&Achsen sichtbar"), options.axesShown),
       [this](bool checked) { toggleBackground(state_.graphOptions.axesShown, checked); });
    on(addToggle(objects, "mn_axname", QStringLiteral("Achsen&name sichtbar"),
                 options.axisNamesShown),
       [this](bool checked) { toggleBackground(state_.graphOptions.axisNamesShown, checked); });
    on(addToggle(objects, "mn_asyvis", QStringLiteral("zu&sätzliche Geraden sichtbar"),
                 state_.extraLinesShown),
       [this](bool checked) {
           state_.extraLinesShown = checked;
           redrawall();
       });
    buildObjectEntries(objects, nullptr);

    QMenu* zoom = addSubmenu(extra, "mn_zoomum", QStringLiteral("Einstellungen für den Zoom"));
    on(addEntry(zoom, "mn_zoomoptions", QStringLiteral("&Zoom-Faktoren")),
       [this] { showZoomOptions(); });
    on(addToggle(zoom, "mn_zoomtoggle", QStringLiteral("Zoom sperren"), false),
       [this](bool checked) { graph_->navigation().zoomLocked = checked; });

    QMenu* angles = addSubmenu(extra, "mn_winkum", QStringLiteral("Einstellung der Winkelmaße"));
    radEntry_ =
        addToggle(angles, "mn_rad", QStringLiteral("&Bogenmaß (Vollwinkel = 2 pi rad)"), false);
    degEntry_ = addToggle(angles, "mn_deg", QStringLiteral("&Gradmaß (Vollwinkel = 360°)"), false);
    gradEntry_ =
        addToggle(angles, "mn_grad", QStringLiteral("Neugrad&maß (Vollwinkel = 400 grad)"), false);
    on(radEntry_, [this] { winkelmas(1); });
    on(degEntry_, [this] { winkelmas(2); });
    on(gradEntry_, [this] { winkelmas(3); });
    on(addEntry(extra, "mn_verhx", QStringLiteral("Verhältnis &x:y = x:1")),
       [this] { range_->einszueins(1); });
    on(addEntry(extra, "mn_verhy", QStringLiteral("Verhältnis x:&y = 1:y")),
       [this] { range_->einszueins(2); });
}

void MainWindow::buildWindowMenu(QMenuBar* bar) {
    const auto on = connector(this);
    QMenu* windows = addMenu(bar, "mn_win", QStringLiteral("&Fenster"));
    on(addEntry(windows, "mn_calc", QStringLiteral("&Taschenrechner")),
       [this] { showCalculator(); });
    on(addEntry(windows, "mn_graph", QStringLiteral("&Graphische Darstellung")),
       [this] { showFrame(graphFrame_); });
    on(addEntry(windows, "mn_term", QStringLiteral("Funktions&terme")),
       [this] { showFrame(termFrame_); });
    on(addEntry(windows, "mn_col", QStringLiteral("&Sammlung")),
       [this] { showFrame(collectionFrame_); });
    buildObjectEntries(nullptr, windows);
    on(addEntry(windows, "mn_inter", QStringLiteral("&Intervalle")), [this] { showRangeWindow(); });
    buildArrangeEntries(windows);
}

void MainWindow::prepareObjectWindows() {
    lineWindow_ = new objects::LineWindow(state_);
    lineFrame_ = area_->addSubWindow(lineWindow_);
    lineFrame_->setObjectName(QStringLiteral("AsymptotenFrame"));
    lineFrame_->setAttribute(Qt::WA_DeleteOnClose, false);
    lineFrame_->hide();
    pointWindow_ = new objects::PointWindow(state_);
    pointFrame_ = area_->addSubWindow(pointWindow_);
    pointFrame_->setObjectName(QStringLiteral("PunkteFrame"));
    pointFrame_->setAttribute(Qt::WA_DeleteOnClose, false);
    pointFrame_->hide();
}

void MainWindow::buildObjectEntries(QMenu* shown, QMenu* windows) {
    const auto on = connector(this);
    if (shown)
        on(addToggle(shown, "mn_puvis", QStringLiteral("zu&sätzliche Punkte sichtbar"),
                     state_.pointsShown || state_.pointNamesShown),
           [this](bool checked) {
               state_.pointsShown = state_.pointNamesShown = checked;
               pointWindow_->showDisplay();
               redrawall();
           });
    if (!windows) return;
    on(addEntry(windows, "mn_asy", QStringLiteral("G&eraden")), [this] {
        showFrame(lineFrame_);
        lineWindow_->focusInput();
    });
    on(addEntry(windows, "mn_punkt", QStringLiteral("Punkte")), [this] { showFrame(pointFrame_); });
    state_.hooks.extraObjectsRead = [this] {
        lineWindow_->text2list();
        pointWindow_->makeliste();
    };
    // The name's offset counts upwards, the keys' step downwards.
    state_.hooks.movePointName = [this](int dx, int dy) {
        return pointWindow_->moveSelectedName(dx, -dy);
    };
}

void MainWindow::showCalculator() {
    if (!calc_) {
        calc_ = new calc::CalcWindow(state_);
        calcFrame_ = area_->addSubWindow(calc_);
        calcFrame_->setObjectName(QStringLiteral("minicalcFrame"));
        calcFrame_->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    calc_->showPlaces();
    showFrame(calcFrame_);
    calc_->focusTerm();
}

void MainWindow::buildHelpMenu(QMenuBar* bar) {
    const auto on = connector(this);
    help_ = new ContextHelp(this);
    QMenu* help = addMenu(bar, "mn_help", QStringLiteral("&Hilfe"));
    // As F1 does: the help of the window that holds the focus.
    on(addEntry(help, "mn_hlpm", QStringLiteral("Hilfe zum markierten Objekt")), [this] {
        QWidget* focus = QApplication::focusWidget();
        QMdiSubWindow* active = area_->activeSubWindow();
        help_->showFor(focus ? focus : active ? active->widget() : this);
    });
    on(addEntry(help, "mn_about", QStringLiteral("über Kurvatur")), [this] {
        state_.messages->inform(aboutTitle(), aboutText(), platform::MessageIcon::Information);
    });
}

void MainWindow::collectionCommand(const std::function<void()>& command) {
    command();
    collectionWindow_->showCollection();
}

void MainWindow::buildCollectionFileEntries(QMenu* file) {
    const auto on = connector(this);
    collection::CollectionState& keeper = *collection_;
    on(addEntry(file, "mn_open", QStringLiteral("&Öffnen")), [this, &keeper] {
        const QString before = keeper.collection.path;
        collectionCommand([this, &keeper] { collection::opencollection(keeper, state_, false); });
        // Another file: the steps before belong to the collection that was closed.
        if (keeper.collection.path != before) undo_->history().restart();
    });
    on(addEntry(file, "mn_mrg", QStringLiteral("&Anhängen")), [this, &keeper] {
        collectionCommand([this, &keeper] { collection::opencollection(keeper, state_, true); });
    });
    on(addEntry(file, "mn_save", QStringLiteral("&Speichern")), [this, &keeper] {
        collectionCommand([this, &keeper] { collection::savecommand(keeper, state_, false); });
    });
    on(addEntry(file, "mn_saveas", QStringLiteral("Speichern &unter...")), [this, &keeper] {
        collectionCommand([this, &keeper] { collection::savecommand(keeper, state_, true); });
    });
}

void MainWindow::buildPictureFileEntries(QMenu* file) {
    const auto on = connector(this);
    on(addEntry(file, "mn_examples", QStringLiteral("&Beispiele öffnen")), [this] {
        collectionCommand([this] {
            if (collection::openExamples(*collection_, state_)) showFrame(collectionFrame_);
        });
    });
    file->addSeparator();
    // Both draw for a plot area of their own; the screen gets its picture back afterwards.
    on(addEntry(file, "mn_savepicture", QStringLiteral("&Graphik speichern unter ...")), [this] {
        savePictureAs(state_, graph_->plotArea()->size(), choosePictureSize);
        redrawall();
    });
    on(addEntry(file, "mn_print", QStringLiteral("&Drucken ...")), [this] {
        printCommand(state_, *printing, graph_->plotArea()->size());
        redrawall();
    });
    file->addSeparator();
}

void MainWindow::buildCollectionMenu(QMenuBar* bar) {
    const auto on = connector(this);
    collection::CollectionState& keeper = *collection_;
    QMenu* menu = addMenu(bar, "mn_samml", QStringLiteral("&Sammlung"));
    const auto command = [this, &on, menu](const char* name, const QString& caption,
                                           std::function<void()> run) {
        QAction* entry = addEntry(menu, name, caption);
        on(entry, [this, run] { collectionCommand(run); });
        return entry;
    };
    on(addEntry(menu, "mn_shc", QStringLiteral("Sammlung anzeigen")),
       [this] { showFrame(collectionFrame_); });
    on(addToggle(menu, "mn_ivar",
                 QStringLiteral("Schriftgröße der Beschreibung individuell änderbar"),
                 state_.windowAttributes.descriptionSizeIndividual),
       [this](bool checked) { state_.windowAttributes.descriptionSizeIndividual = checked; });
    QMenu* sizes =
        addSubmenu(menu, "mn_safo", QStringLiteral("Schriftgröße der Beschreibung ändern"));
    for (int size : {8, 10, 12, 14, 16, 18, 20, 22, 24})
        on(addEntry(sizes, "mnfs1", QString::number(size)), [this, size] {
            state_.windowAttributes.descriptionFontSize = float(size);
            collectionWindow_->showDescriptionFont();
            // The size belongs to the attribute list of the current data.
            state_.hooks.call(state_.hooks.collectionTakeOver);
        });
    command("mn_add", QStringLiteral("Aktuelle Daten &hinzfügen"), [this, &keeper] {
        showFrame(collectionFrame_);
        collection::addcol(keeper, state_, QDateTime::currentDateTime());
    });
    // The entry commands below act on the window's list: they come and go with the window.
    const auto entryCommand = [this, &command](const char* name, const QString& caption,
                                               std::function<void()> run) {
        selectionEntries_.push_back(command(name, caption, std::move(run)));
    };
    entryCommand("mn_newentry", QStringLiteral("&Neuen Eintrag hinzufügen"), [this, &keeper] {
        collection::newentry(keeper, state_, QDateTime::currentDateTime());
    });
    // Drawing the selected entry must not overwrite it with the state it is to replace.
    entryCommand("mn_einakt", QStringLiteral("Angewählten Eintrag &zeichnen"),
                 [this, &keeper] { collection::drawSelected(keeper, state_); });
    entryCommand("mn_rename", QStringLiteral("&Umbenennen"),
                 [this, &keeper] { collection::ren(keeper, state_); });
    entryCommand("mn_copy", QStringLiteral("&Kopieren"),
                 [&keeper] { collection::copyone(keeper, true); });
    entryCommand("mn_insert", QStringLiteral("&Einfügen"),
                 [this, &keeper] { collection::insert(keeper, state_, false); });
    entryCommand("mn_insaft", QStringLiteral("Einfügen &danach"),
                 [this, &keeper] { collection::insert(keeper, state_, true); });
    entryCommand("mn_cut", QStringLiteral("Aus&schneiden"), [this, &keeper] {
        collection::copyone(keeper, false);
        collection::clrone(keeper, state_);
    });
    entryCommand("mn_clr", QStringLiteral("&Löschen"),
                 [this, &keeper] { collection::clrone(keeper, state_); });
    ismenuvis(collectionFrame_->isVisible());
    collectionFrame_->installEventFilter(this);
}

void MainWindow::buildLinePopup() {
    popup_ = new QMenu(QStringLiteral("PopUp"), this);
    popup_->setObjectName(QStringLiteral("mn_pop1"));
    const auto on = connector(this);
    const auto current = [this] { return state_.termEditor.currentLine; };

    on(addEntry(popup_, "mnp10", QStringLiteral("zusätzliche Eingabezeile nach dieser")),
       [this, current] { term_->add_before(current(), 1); });
    on(addEntry(popup_, "mnp9", QStringLiteral("zusätzliche Eingabezeile vor dieser")),
       [this, current] { term_->add_before(current(), 0); });
    on(addEntry(popup_, "mnp8", QStringLiteral("Eingabezeile löschen")),
       [this, current] { term_->clr(current()); });
    visibilityEntry_ = addEntry(popup_, "mnp1", QStringLiteral("sichtbar"));
    on(visibilityEntry_, [this, current] {
        term_->swvis();
        visibilityEntry_->setText(terms::visibilityCaption(state_, current()));
    });
    on(addEntry(popup_, "mnp6", QStringLiteral("Farbe ändern")), [this] { term_->showcd(); });
    editTermsEntry_ = addEntry(popup_, "mnp3_0", QStringLiteral("Funktionsterme ändern"));
    editIntervalEntry_ = addEntry(popup_, "mnp3_1", QStringLiteral("Darstellungsintervall ändern"));
    on(editTermsEntry_, [this] {
        term_->setstate(0);
        state_.hooks.call(state_.hooks.collectionTakeOver);
    });
    on(editIntervalEntry_, [this] {
        term_->setstate(1);
        state_.hooks.call(state_.hooks.collectionTakeOver);
    });

    QMenu* widths = addSubmenu(popup_, "mpu15", QStringLiteral("Liniendicke ändern"));
    for (int k = 0; k < 8; ++k) {
        QAction* entry = addEntry(widths, "mnp151", QString::number(k + 1));
        entry->setData(k);
        on(entry, [this, k] { terms::setlinewidth(state_, k); });
    }
    QMenu* styles = addSubmenu(popup_, "mpua", QStringLiteral("Linie oder diskrete Punkte"));
    for (int k = 0; k <= 10; ++k) {
        QAction* entry = addEntry(styles, "mpua1",
                                  k == 0 ? QStringLiteral("Linie")
                                         : QStringLiteral("Punkt ") + QString::number(k));
        entry->setData(k);
        on(entry, [this, k] { terms::setlinetype(state_, k); });
    }
    on(addEntry(popup_, "mnp5", QStringLiteral("Stützstellenanzahl ändern")), [this, current] {
        const core::FuncLine& line = state_.lines[std::clamp(current(), 0, core::lineCount - 1)];
        if (line.name.isEmpty()) return;
        const int k = core::firstSampleCountSlot + std::clamp(line.slot, 0, core::lineCount - 1);
        state_.params[k].visible = true;
        params_->refresh(k);
        if (state_.arrangeParamsOnApply) params_->arrange();
    });
    on(addToggle(popup_, "mnp4b", QStringLiteral("Schriftgröße individuell änderbar"),
                 state_.windowAttributes.termFontIndividual),
       [this](bool checked) { state_.windowAttributes.termFontIndividual = checked; });
    QMenu* sizes = addSubmenu(popup_, "mnp4", QStringLiteral("Schriftgröße ändern"));
    for (int size = 8; size <= 26; size += 2) {
        QAction* entry = addEntry(sizes, "mnp41", QString::number(size));
        entry->setData(size);
        on(entry, [this, size] {
            terms::setfontsize(state_, size);
            term_->resizeRows(size, false);
            // Rows of the new size must fit into the window, or the lower ones are cut off.
            term_->fitheight(0);
        });
    }
    buildParamFilterEntries();
}

void MainWindow::showLinePopup(QPoint globalPos) {
    const core::TermEditor& editor = state_.termEditor;
    visibilityEntry_->setText(terms::visibilityCaption(state_, editor.currentLine));
    editTermsEntry_->setEnabled(editor.editTermsEnabled);
    editIntervalEntry_->setEnabled(editor.editIntervalEnabled);
    popup_->popup(globalPos);
}

void MainWindow::syncMarks() {
    const int mode = int(state_.trigMode);
    radEntry_->setChecked(mode == 1);
    degEntry_->setChecked(mode == 2);
    gradEntry_->setChecked(mode == 3);
    const core::GraphOptions& options = state_.graphOptions;
    const auto mark = [this](const char* name, bool checked) {
        if (auto* action = findChild<QAction*>(QLatin1String(name))) action->setChecked(checked);
    };
    mark("mn_helpline", options.gridShown);
    mark("mn_viewnumb", options.labelsShown);
    mark("mn_axevis", options.axesShown);
    mark("mn_axname", options.axisNamesShown);
    mark("mn_asyvis", state_.extraLinesShown);
    mark("mn_puvis", state_.pointsShown || state_.pointNamesShown);
    mark("mn_autoint", state_.autoIntegralRecognition);
    mark("mn_pardock", state_.arrangeParamsOnApply);
    mark("mn_gri", state_.windowAttributes.graphIndividual);
    mark("mnp4b", state_.windowAttributes.termFontIndividual);
    mark("mn_ivar", state_.windowAttributes.descriptionSizeIndividual);
}

void MainWindow::toggleBackground(bool& option, bool on) {
    option = on;
    state_.scale.backgroundValid = false;
    redrawall();
}

void MainWindow::winkelmas(int m) {
    if (!engine::setanglemode(state_, m)) return;
    radEntry_->setChecked(m == 1);
    degEntry_->setChecked(m == 2);
    gradEntry_->setChecked(m == 3);
    redrawall();
}

void MainWindow::redrawall() {
    if (graph_) graph_->redraw();
}

void MainWindow::showFrame(QMdiSubWindow* frame) {
    if (!frame) return;
    frame->show();
    frame->raise();
    area_->setActiveSubWindow(frame);
}

void MainWindow::ismenuvis(bool visible) {
    for (QAction* entry : selectionEntries_)
        entry->setVisible(visible);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    arrangementEvent(watched, event);
    if (watched == collectionFrame_ &&
        (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        ismenuvis(event->type() == QEvent::Show);
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (arranged_) return;
    arranged_ = true;
    arrangeWindows();
    // The parameter windows of the kept work appeared before the area had its size.
    params_->placeWaiting();
    // The graph window has its final size only now, and resizing it scaled the lines' sample
    // counts: the kept work is drawn once more with the counts it was saved with.
    if (keptWorkDrawn_) collection::drawCurrentData(*collection_, state_);
    undo_->history().restart();
    // The user starts by typing a term: the term window is the active one, not the graph window
    // that was shown last.
    area_->setActiveSubWindow(termFrame_);
    term_->focusLine(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (shutdown())
        event->accept();
    else
        event->ignore();
}

bool MainWindow::shutdown() {
    if (shutDown_) return true;
    // A folder that cannot be written was told at the start; the end does not say it again.
    if (state_.configFolderWritable) saveSettings();
    if (!collection::closeCollection(*collection_, state_)) return false;
    shutDown_ = true;
    // Pens and fonts belong to the graph window and go with it.
    return true;
}

void MainWindow::saveSettings() {
    engine::savesettings(state_);
}

} // namespace mainwin
