#pragma once
// The main window ("mother"): the frame of all child windows in its MDI area, the menu bar, the
// pop-up menu of the term lines (mn_pop1), the start of the program and its shut-down.

#include "mainwin/graphicexport.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMdiArea;
class QTimer;
class QMdiSubWindow;
class QMenu;
class QMenuBar;

namespace calc {
class CalcWindow;
}
namespace collection {
struct CollectionState;
class CollectionWindow;
} // namespace collection
namespace core {
struct State;
}
namespace graph {
class GraphWindow;
class OptionsGraphDialog;
class OptionsZoomDialog;
} // namespace graph
namespace objects {
class LineWindow;
class PointWindow;
} // namespace objects
namespace params {
class ParamList;
class ParamWindows;
} // namespace params
namespace platform {
class ClipboardService;
}
namespace session {
class RangeWindow;
}
namespace terms {
class TermWindow;
}

namespace mainwin {

class ContextHelp;
class UndoKeys;
class PrintService;

inline constexpr const char* mainWindowTitle =
    "Kurvatur 2 - Funktionsgraphen und Kurven mit dynamischen Parametern";

class MainWindow : public QMainWindow {
public:
    // Starts the program on the state: builds the state with its defaults, makes the child
    // windows, connects the state's hooks to them, shows the term and graph windows side by
    // side and applies the (empty) lines once. Message boxes go through state.messages, which
    // the caller installs.
    explicit MainWindow(core::State& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    QMdiArea* mdiArea() const { return area_; }
    terms::TermWindow* termWindow() const { return term_; }
    graph::GraphWindow* graphWindow() const { return graph_; }
    params::ParamWindows* paramWindows() const { return params_.get(); }
    QMdiSubWindow* termFrame() const { return termFrame_; }
    QMdiSubWindow* graphFrame() const { return graphFrame_; }
    collection::CollectionWindow* collectionWindow() const { return collectionWindow_; }
    QMdiSubWindow* collectionFrame() const { return collectionFrame_; }
    session::RangeWindow* rangeWindow() const { return range_; }
    QMdiSubWindow* rangeFrame() const { return rangeFrame_; }
    collection::CollectionState& collectionState() const { return *collection_; }
    // The pop-up menu of the term lines.
    QMenu* linePopup() const { return popup_; }
    // The undo history and its keys.
    UndoKeys* undoKeys() const { return undo_; }
    // The parameter selection list ("Parameter").
    params::ParamList* paramList() const { return paramList_; }
    QMdiSubWindow* paramListFrame() const { return paramListFrame_; }
    objects::LineWindow* lineWindow() const { return lineWindow_; }
    objects::PointWindow* pointWindow() const { return pointWindow_; }

    // Puts text on the clipboard; tests replace it.
    std::function<void(const QString&)> copyText;
    // Takes the pictures of the graph export; tests replace it.
    std::shared_ptr<platform::ClipboardService> clipboard;
    // The print dialog and the size dialog of a saved picture; tests replace them.
    std::shared_ptr<PrintService> printing;
    PictureSizeChooser choosePictureSize;

    // Angle unit m (1 radians, 2 degrees, 3 grads): the one matching mark, the engine, a redraw.
    void winkelmas(int m);
    // The whole picture anew.
    void redrawall();
    // The start's arrangement: the graph and term windows where the settings put them (or the
    // term window at the top left and the graph window filling the rest), then docked.
    void arrangeWindows();
    // The docked layout (core::arrange) applied to the windows; mode 1 keeps the graph window's
    // place. Does nothing before the start has placed the windows.
    void arrange(int mode);
    // What closing the program does; runs once. False when the user keeps the program open (he
    // wanted to save the changed collection and cancelled the save dialog).
    bool shutdown();
    bool isShutDown() const { return shutDown_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildFileMenu(QMenuBar* bar);
    void buildEditMenu(QMenuBar* bar);
    void buildParameterMenu(QMenuBar* bar);
    void buildSettingsMenu(QMenuBar* bar);
    void buildWindowMenu(QMenuBar* bar);
    void buildCollectionMenu(QMenuBar* bar);
    void buildCollectionFileEntries(QMenu* file);
    // The examples, saving the picture as a file and printing it.
    void buildPictureFileEntries(QMenu* file);
    void buildHelpMenu(QMenuBar* bar);
    // The calculator, made when first asked for; it recomputes after every data-set assembly.
    void showCalculator();
    // The windows of the additional lines and points, their menu entries and hooks.
    void prepareObjectWindows();
    void buildObjectEntries(QMenu* shown, QMenu* windows);
    // Runs a command of the collection and shows the collection afterwards.
    void collectionCommand(const std::function<void()>& command);
    void buildLinePopup();
    void prepareWindows();
    void connectHooks();
    void showLinePopup(QPoint globalPos);
    void syncMarks();
    // The present sizes and places of the graph and term windows into the state (before an
    // attribute list is written), and those a list has set back into the windows.
    void showRangeWindow();
    // "Zoom-Einstellungen" with the present factors, in front.
    void showZoomOptions();
    void noteWindowAttributes();
    void takeWindowAttributes(int read);
    void toggleBackground(bool& option, bool on);
    void showFrame(QMdiSubWindow* frame);
    // The commands of the collection menu that act on the window's selection are offered only
    // while the collection window is shown.
    void ismenuvis(bool visible);

    // Writes the settings file; a failure is told to the user.
    void saveSettings();

    // Window arrangement and the parameter selection list (windowarrangement.cpp).
    void prepareArrangement();
    void buildArrangeEntries(QMenu* windows);
    void buildParamListEntry(QMenu* param);
    void buildParamFilterEntries();
    void applyWindowLimits();
    void showParamList(bool shown);
    void placeParamList();
    void showLowerBounds();
    bool arrangementEvent(QObject* watched, QEvent* event);

    core::State& state_;
    QMdiArea* area_;
    terms::TermWindow* term_ = nullptr;
    graph::GraphWindow* graph_ = nullptr;
    std::unique_ptr<params::ParamWindows> params_;
    std::unique_ptr<collection::CollectionState> collection_;
    QMdiSubWindow* termFrame_ = nullptr;
    QMdiSubWindow* graphFrame_ = nullptr;
    collection::CollectionWindow* collectionWindow_ = nullptr;
    QMdiSubWindow* collectionFrame_ = nullptr;
    session::RangeWindow* range_ = nullptr;
    QMdiSubWindow* rangeFrame_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* visibilityEntry_ = nullptr;   // mnp1
    QAction* editTermsEntry_ = nullptr;    // mnp3_0
    QAction* editIntervalEntry_ = nullptr; // mnp3_1
    QAction* radEntry_ = nullptr;
    QAction* degEntry_ = nullptr;
    QAction* gradEntry_ = nullptr;
    QAction* timerEntry_ = nullptr;
    std::vector<QAction*> selectionEntries_; // mn_newentry ... mn_clr, shown by ismenuvis
    QTimer* paramTimer_ = nullptr;           // drives every running parameter ("Timer1")
    UndoKeys* undo_ = nullptr;
    bool arranged_ = false;
    params::ParamList* paramList_ = nullptr;
    QMdiSubWindow* paramListFrame_ = nullptr;
    bool docked_ = true;               // "Haupt&fenster andocken"
    bool maximiseGraphHeight_ = false; // "Graphfenster-H&öhe maximieren"
    bool placed_ = false;              // the start has placed the windows
    bool graphOnLeft_ = false;         // the graph window's side in the docked layout
    // The graph window's inner height and width, its left edge and the term window's left edge
    // as the settings file had them at the start (twips); zero when it had none.
    std::array<float, 4> startGeometry_{};
    bool arranging_ = false;
    bool keptWorkDrawn_ = false; // start-up drew the current data of the working copy
    bool shutDown_ = false;

    graph::OptionsGraphDialog* graphOptions_ = nullptr; // made when first asked for
    calc::CalcWindow* calc_ = nullptr;
    QMdiSubWindow* calcFrame_ = nullptr;
    ContextHelp* help_ = nullptr;
    graph::OptionsZoomDialog* zoomOptions_ = nullptr; // likewise
    objects::LineWindow* lineWindow_ = nullptr;       // "Asymptoten"
    QMdiSubWindow* lineFrame_ = nullptr;
    objects::PointWindow* pointWindow_ = nullptr; // "Punkte"
    QMdiSubWindow* pointFrame_ = nullptr;
};

} // namespace mainwin
