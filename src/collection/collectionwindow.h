#pragma once
// The collection window ("sammlung"): the entry list, the detail fields of the selected entry and
// the buttons of the entry operations. It only reads its controls, calls the logic of
// entryops.h and shows the outcome.

#include "collection/collectionstate.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace core {
struct State;
}

namespace collection {

class CollectionWindow : public QWidget {
public:
    CollectionWindow(CollectionState& keeper, core::State& state, QWidget* parent = nullptr);

    // Shows the collection as the logic left it: list, selection, details, status, title.
    void showCollection();
    // The description field takes the font size of the window attributes.
    void showDescriptionFont();
    // The menu that a right click on the entry list opens (the main window's collection menu).
    void setEntryMenu(QMenu* menu) { entryMenu_ = menu; }

    // "Auswahl zeichnen": the detail fields go back into an editable entry, which is drawn.
    void takeandsave();
    // The entry of that row is selected and drawn.
    void listakt(int row);

    QListWidget* entryList() const { return list_; }
    QPlainTextEdit* detailField(int i) const { return details_[std::size_t(i)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void showDetails();
    void showStatus();
    void setExtendedView(bool on);
    Fields editedFields() const;
    // A selected entry that is not protected: its detail fields may go back into it.
    bool editable() const;
    // A click into a detail field of an editable entry keeps and draws the fields as edited.
    void clickedIntoDetails();

    CollectionState& keeper_;
    core::State& state_;
    QListWidget* list_;
    std::array<QPlainTextEdit*, 10> details_{}; // txt0 ... txt9: fields 1 ... 10
    std::array<QLabel*, 5> detailLabels_{};     // of the terms ... lower bounds fields
    QLabel* caption_;                           // Label3
    QLabel* protectedNote_;                     // Label7
    QLabel* status_;                            // Label9
    QCheckBox* extended_;                       // Check1
    QCheckBox* sync_;                           // Check2
    QMenu* entryMenu_ = nullptr;
    bool showing_ = false; // the window fills its controls; their signals are not the user's
    int rowAtPress_ = -1;  // the current row when the mouse was pressed on the list
};

} // namespace collection
